#include "platform/paths.h"

#include "platform/text.h"

namespace platform {

namespace {

constexpr char kSeparators[] = "\\/";

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// "X:" at the start: the drive letter in upper case, else 0.
char DriveLetter(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return 0;
  const char letter = path[0] >= 'a' && path[0] <= 'z' ? static_cast<char>(path[0] - 'a' + 'A') : path[0];
  return letter >= 'A' && letter <= 'Z' ? letter : 0;
}

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

bool IsNetworkPath(const std::string& path, bool (*network_drive)(char letter)) {
  std::string rest = path;
  if (!rest.empty() && rest[0] == '"') rest.erase(0, 1);  // a quoted path is judged by what it quotes
  if (rest.size() >= 4 && IsSeparator(rest[0]) && IsSeparator(rest[1]) && (rest[2] == '?' || rest[2] == '.') &&
      IsSeparator(rest[3])) {
    // The system's long form: "\\?\UNC\server\share\..." or "\\?\C:\...".
    rest.erase(0, 4);
    if (rest.size() >= 4 && LowerAscii(rest.substr(0, 3)) == "unc" && IsSeparator(rest[3])) return true;
  } else if (rest.size() >= 3 && IsSeparator(rest[0]) && IsSeparator(rest[1]) && !IsSeparator(rest[2])) {
    return true;
  }
  const char letter = DriveLetter(rest);
  return letter != 0 && network_drive != nullptr && network_drive(letter);
}

}  // namespace platform
