#include "platform/paths.h"

#include "platform/text.h"

namespace platform {

namespace {

constexpr char kSeparators[] = "\\/";

}  // namespace

std::string FileNamePart(const std::string& path) {
  const std::size_t separator = path.find_last_of(kSeparators);
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string FolderPart(const std::string& path) {
  const std::size_t separator = path.find_last_of(kSeparators);
  return separator == std::string::npos ? "" : path.substr(0, separator + 1);
}

std::string LowerExtension(const std::string& path) {
  const std::string name = FileNamePart(path);
  const std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? "" : LowerAscii(name.substr(dot + 1));
}

std::string WithTrailingBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace platform
