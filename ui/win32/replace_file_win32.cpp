#include <windows.h>
#include <io.h>

#include "ui/replace_file.h"

namespace ui {

bool FlushFileToDisk(std::FILE* file) {
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
}

bool ReplaceFileWith(const std::string& temporary, const std::string& target) {
  // Unlike rename() in the C runtime, this replaces an existing target.
  return MoveFileExA(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace ui
