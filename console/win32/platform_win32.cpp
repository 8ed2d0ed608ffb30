// The platform of a real run: Windows folders, the shell link object, standard output, the
// 10 ms pause and the tick count.
#include "console/win32/system_win32.h"

namespace console {

Platform MakePlatform(ShellLinkReader& reader, const StandardOutput& output) {
  Platform platform;
  platform.list_folder = ListFolder;
  platform.read_shortcut = [&reader](const std::string& path) { return reader.Read(path); };
  platform.write_line = [&output](const std::string& line) { output.Write(line); };
  platform.pause = PauseBeforeEntry;
  platform.now_ms = MonotonicMilliseconds;
  return platform;
}

}  // namespace console
