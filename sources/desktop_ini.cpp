#include "sources/desktop_ini.h"

#include <algorithm>

#include "platform/text.h"
#include "settings/preferences_document.h"
#include "ui/text_file.h"

namespace sources {
namespace {

constexpr char kFolderSection[] = ".shellclassinfo";
constexpr char kFolderKey[] = "localizedresourcename";
constexpr char kFilesSection[] = "localizedfilenames";

// UTF-16 code units of the text after its byte-order mark; nothing when it is not whole UTF-16.
std::optional<std::u16string> Utf16Units(const std::string& bytes, bool little_endian) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::u16string units;
  units.reserve(bytes.size() / 2 - 1);
  for (std::size_t i = 2; i < bytes.size(); i += 2) {
    const auto low = static_cast<unsigned char>(bytes[little_endian ? i : i + 1]);
    const auto high = static_cast<unsigned char>(bytes[little_endian ? i + 1 : i]);
    units.push_back(static_cast<char16_t>(low | high << 8));
  }
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      ++i;  // a whole pair
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      return std::nullopt;
    }
  }
  return units;
}

// UTF-16 code units of UTF-8 text after its signature; nothing when the bytes are not UTF-8.
std::optional<std::u16string> Utf8Units(const std::string& bytes) {
  std::u16string units;
  for (std::size_t i = 3; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= bytes.size()) return std::nullopt;  // cut short
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      code = code << 6 | (next & 0x3F);
    }
    const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (code < smallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
    if (code >= 0x10000) {
      units.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(code));
    }
    i += static_cast<std::size_t>(extra) + 1;
  }
  return units;
}

// The lines of the file in the code page; a line that has no place in it is left out.
std::optional<std::vector<std::string>> CodePageLines(const std::string& bytes, const ToCodePage& to_code_page) {
  std::optional<std::u16string> units;
  if (bytes.compare(0, 2, "\xFF\xFE") == 0) {
    units = Utf16Units(bytes, true);
  } else if (bytes.compare(0, 2, "\xFE\xFF") == 0) {
    units = Utf16Units(bytes, false);
  } else if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    units = Utf8Units(bytes);
  } else {
    if (bytes.find('\0') != std::string::npos) return std::nullopt;
    return ui::SplitLines(bytes);
  }
  if (!units || units->find(u'\0') != std::u16string::npos) return std::nullopt;
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= units->size(); ++i) {
    if (i < units->size() && (*units)[i] != u'\r' && (*units)[i] != u'\n') continue;
    if (i > start) {
      if (std::optional<std::string> line = to_code_page(units->substr(start, i - start))) lines.push_back(*line);
    }
    start = i + 1;
  }
  return lines;
}

std::string Unquoted(std::string value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

std::optional<DesktopIni> ParseDesktopIni(const std::string& bytes, const ToCodePage& to_code_page) {
  if (bytes.size() > kMaxDesktopIniBytes) return std::nullopt;
  const std::optional<std::vector<std::string>> lines = CodePageLines(bytes, to_code_page);
  if (!lines) return std::nullopt;
  DesktopIni ini;
  std::string section;  // lower case; "" before the first
  std::vector<std::string> seen_sections, seen_files;
  bool in_first = false;  // inside the first section of its name
  bool folder_named = false;
  for (const std::string& raw : *lines) {
    const std::string line = settings::TrimBlanks(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[') {
      if (line.back() != ']') continue;  // malformed: skipped
      section = platform::LowerAscii(settings::TrimBlanks(line.substr(1, line.size() - 2)));
      in_first = std::find(seen_sections.begin(), seen_sections.end(), section) == seen_sections.end();
      if (in_first) seen_sections.push_back(section);
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || !in_first) continue;
    const std::string key = settings::TrimBlanks(line.substr(0, equals));
    const std::string value = Unquoted(settings::TrimBlanks(line.substr(equals + 1)));
    if (key.empty()) continue;
    if (section == kFolderSection && platform::LowerAscii(key) == kFolderKey && !folder_named) {
      ini.folder_name = value;
      folder_named = true;
    } else if (section == kFilesSection) {
      const std::string folded = platform::LowerAscii(key);
      if (std::find(seen_files.begin(), seen_files.end(), folded) != seen_files.end()) continue;
      seen_files.push_back(folded);
      ini.file_names.emplace_back(key, value);
    }
  }
  return ini;
}

std::optional<std::string> ShownFileName(const DesktopIni& ini, const std::string& file_name) {
  const std::string folded = platform::LowerAscii(file_name);
  for (const auto& [file, shown] : ini.file_names) {
    if (platform::LowerAscii(file) == folded) return shown.empty() ? std::nullopt : std::optional(shown);
  }
  return std::nullopt;
}

}  // namespace sources
