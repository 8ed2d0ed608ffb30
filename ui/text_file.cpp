#include "ui/text_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "ui/open_file.h"
#include "ui/replace_file.h"

namespace ui {
namespace {

// Large pieces: each read is a call into the system, and a usage list may be megabytes long.
constexpr std::size_t kCompareBufferBytes = 1024 * 1024;

// Closes the file on every return.
struct FileCloser {
  std::FILE* file;
  ~FileCloser() {
    if (file) std::fclose(file);
  }
};

bool WriteAndClose(std::FILE* file, const std::string& bytes) {
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = ok && std::fflush(file) == 0 && FlushFileToDisk(file);
  // fclose can report a late write error; it must close either way.
  return (std::fclose(file) == 0) && ok;
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path, std::size_t max_bytes) {
  FileCloser closer{OpenFileUninherited(path, "rb")};
  if (!closer.file) return std::nullopt;
  // Read in pieces rather than trusting a size asked in advance: the file may grow.
  std::string bytes;
  char buffer[16 * 1024];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, closer.file);
    if (got > max_bytes - bytes.size()) return std::nullopt;
    bytes.append(buffer, got);
    if (got < sizeof buffer) break;
  }
  if (std::ferror(closer.file)) return std::nullopt;
  return bytes;
}

bool FileHolds(const std::string& path, const std::string& bytes) {
  FileCloser closer{OpenFileUninherited(path, "rb")};
  if (!closer.file) return false;
  // Compared piece by piece as it is read; the first difference, or a file longer or shorter
  // than the bytes, ends the comparison.
  std::vector<char> buffer(std::min<std::size_t>(bytes.size() + 1, kCompareBufferBytes));
  std::size_t at = 0;
  for (;;) {
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), closer.file);
    if (got > bytes.size() - at || std::memcmp(buffer.data(), bytes.data() + at, got) != 0) return false;
    at += got;
    if (got < buffer.size()) return !std::ferror(closer.file) && at == bytes.size();
  }
}

bool WriteFileReplacing(const std::string& path, const std::string& bytes) {
  // The periodic save writes the same bytes again and again: reading a file costs far less than
  // writing and flushing it (seconds for usage lists of many thousand lines).
  if (FileHolds(path, bytes)) return true;
  const std::string temporary = path + ".tmp";
  std::FILE* file = OpenFileUninherited(temporary, "wb");
  if (!file) return false;  // nothing of ours to clean up (it may be someone else's folder)
  if (WriteAndClose(file, bytes) && ReplaceFileWith(temporary, path)) return true;
  std::remove(temporary.c_str());
  return false;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace ui
