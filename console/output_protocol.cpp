#include "console/output_protocol.h"

#include <initializer_list>

namespace console {
namespace {

// A field holding a TAB or a line break would split the line for the reader and throw the
// group's count off. Only shortcut arguments can hold them (file names and paths cannot);
// they become blanks.
void AppendField(std::string& line, const std::string& field) {
  for (char c : field) line += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
}

std::string Joined(std::initializer_list<const std::string*> fields) {
  std::string line;
  bool first = true;
  for (const std::string* field : fields) {
    if (!first) line += '\t';
    AppendField(line, *field);
    first = false;
  }
  return line + "\r\n";
}

}  // namespace

std::string HeaderLine(std::size_t count, const std::string& relative_path, const std::string& folder) {
  const std::string marker = ">";
  const std::string number = std::to_string(count);
  return Joined({&marker, &number, &relative_path, &folder});
}

std::string EntryLine(const Entry& entry) {
  return Joined({&entry.name, &entry.folder, &entry.target, &entry.target_extension, &entry.arguments});
}

}  // namespace console
