#include "settings/file_checks.h"

#include <cstdio>

#include "ui/open_file.h"

namespace settings {

bool FileHasContent(const std::string& path) {
  if (path.empty()) return false;
  std::FILE* file = ui::OpenFileUninherited(path, "rb");
  if (!file) return false;
  // Reading one byte also rules out folders, which some systems let fopen open.
  const bool has_byte = std::fgetc(file) != EOF;
  std::fclose(file);
  return has_byte;
}

}  // namespace settings
