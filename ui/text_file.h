#pragma once
// 8-bit text files: whole-file reads with a size bound, and saves that never leave a
// truncated file behind (write a temporary file beside the target, then replace it).
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace ui {

constexpr std::size_t kMaxTextFileBytes = 16u * 1024 * 1024;

// The file's bytes, or nothing when it cannot be opened or is larger than max_bytes.
std::optional<std::string> ReadFileBytes(const std::string& path,
                                         std::size_t max_bytes = kMaxTextFileBytes);

// Whether the file can be read and holds exactly these bytes.
bool FileHolds(const std::string& path, const std::string& bytes);

// Writes the bytes to path + ".tmp", flushes, then replaces path with it. False on any
// failure, in which case the previous file is untouched. A file that already holds exactly these
// bytes is left as it is, which counts as written.
[[nodiscard]] bool WriteFileReplacing(const std::string& path, const std::string& bytes);

// Splits at CR LF, LF or a lone CR. A final terminator does not add an empty line.
std::vector<std::string> SplitLines(const std::string& text);

// Joins with CR LF after every line (the form of every file the program writes).
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace ui
