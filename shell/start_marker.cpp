#include "shell/start_marker.h"

#include "platform/paths.h"
#include "platform/services.h"
#include "platform/text.h"
#include "ui/text_file.h"

namespace shell {

namespace {

// True when the process runs an executable of the same file name as ours.
bool RunsThisProgram(services::ProcessId id, const std::string& program_path) {
  const std::string ours = platform::LowerAscii(platform::FileNamePart(program_path));
  if (ours.empty()) return false;
  for (const services::RunningProcess& process : services::RunningProcesses()) {
    if (process.id == id) return platform::LowerAscii(platform::FileNamePart(process.file_name)) == ours;
  }
  return false;
}

}  // namespace

std::int32_t MarkerProcessId(const std::string& bytes) {
  std::uint32_t id = 0;
  for (std::size_t i = 0; i < 4 && i < bytes.size(); ++i) {
    id |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
  }
  return static_cast<std::int32_t>(id);
}

std::string MarkerBytes(std::uint32_t process_id) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((process_id >> (8 * i)) & 0xFF);
  return bytes;
}

void ReplaceEarlierInstance(const std::string& data_folder, const std::string& program_path) {
  const std::string marker = data_folder + kStartMarkerName;
  if (const auto bytes = ui::ReadFileBytes(marker, 4096)) {
    const std::int32_t id = MarkerProcessId(*bytes);
    const auto earlier = static_cast<services::ProcessId>(id);
    if (id > 0 && earlier != services::CurrentProcessId() && RunsThisProgram(earlier, program_path)) {
      services::TerminateProcessById(earlier, 1);
    }
  }
  (void)ui::WriteFileReplacing(marker, MarkerBytes(services::CurrentProcessId()));
}

}  // namespace shell
