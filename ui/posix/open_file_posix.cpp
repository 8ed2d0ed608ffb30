#include <cstdio>
#include <cstring>

#include "ui/open_file.h"

namespace ui {

std::FILE* OpenFileUninherited(const std::string& path, const char* mode) {
  if (std::strcmp(mode, "rb") != 0 && std::strcmp(mode, "r+b") != 0 && std::strcmp(mode, "wb") != 0) return nullptr;
  // "e": the descriptor is closed on exec (O_CLOEXEC), set as the file is opened.
  return std::fopen(path.c_str(), (std::string(mode) + "e").c_str());
}

}  // namespace ui
