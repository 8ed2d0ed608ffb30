#include <unistd.h>

#include <cstdio>

#include "ui/replace_file.h"

namespace ui {

bool FlushFileToDisk(std::FILE* file) { return fsync(fileno(file)) == 0; }

bool ReplaceFileWith(const std::string& temporary, const std::string& target) {
  return std::rename(temporary.c_str(), target.c_str()) == 0;  // atomic on POSIX
}

}  // namespace ui
