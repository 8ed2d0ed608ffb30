// The system of a real run: Windows folders, the shell link object, standard output, the
// 10 ms pause and the tick count.
#include "console/win32/system_win32.h"

namespace console {

System MakeSystem(ShellLinkReader& reader, const StandardOutput& output) {
  System system;
  system.list_folder = ListFolder;
  system.read_shortcut = [&reader](const std::string& path) { return reader.Read(path); };
  system.write_line = [&output](const std::string& line) { output.Write(line); };
  system.pause = PauseBeforeEntry;
  system.now_ms = MonotonicMilliseconds;
  return system;
}

}  // namespace console
