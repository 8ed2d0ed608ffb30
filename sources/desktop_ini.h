#pragma once
// The names Windows shows for a Start-menu folder and its shortcuts, as its desktop.ini states
// them: the folder's own in [.ShellClassInfo] LocalizedResourceName, each file's in
// [LocalizedFileNames] <file name>=<name>. Values are kept as written, plain text or an indirect
// string ("@%SystemRoot%\system32\shell32.dll,-21761"), for the caller to resolve.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sources {

// A desktop.ini larger than this is ignored whole.
constexpr std::size_t kMaxDesktopIniBytes = 64 * 1024;

struct DesktopIni {
  std::string folder_name;  // empty when none is given
  std::vector<std::pair<std::string, std::string>> file_names;  // file name, shown name, in file order
};

// Turns text Windows wrote in UTF-16 (or UTF-8 with its signature) into the system's 8-bit code
// page; nothing when a character has no place in it.
using ToCodePage = std::function<std::optional<std::string>(const std::u16string&)>;

// Reads a desktop.ini as Windows' profile functions do: sections and keys in any letter case,
// blanks around keys and values dropped, a value in double quotes unquoted, ';' starting a
// comment, the first of repeated sections and keys winning. The file is ANSI (the system's code
// page, taken as it is) or UTF-16 with its byte-order mark, either order, or UTF-8 with its
// signature; a line of those that cannot be written in the code page is skipped, as is any line
// that is no section, comment or key. Nothing for a file over kMaxDesktopIniBytes or one that is
// not text (a NUL in an ANSI file, an odd length or a lone surrogate in UTF-16, invalid UTF-8).
std::optional<DesktopIni> ParseDesktopIni(const std::string& bytes, const ToCodePage& to_code_page);

// The shown name of a file, its name matched in any letter case (A-Z); nothing without one or
// with an empty value.
std::optional<std::string> ShownFileName(const DesktopIni& ini, const std::string& file_name);

}  // namespace sources
