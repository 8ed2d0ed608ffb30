#include "settings/preferences_file.h"

#include <sys/stat.h>

#include <cstdio>

#include "platform/text.h"
#include "settings/latin1_utf8.h"
#include "ui/open_file.h"
#include "ui/text_file.h"

namespace settings {

namespace {

// Whether the file may be changed where it is: not marked read-only and openable for writing.
// A document that fails this is still read, but never written back over the file.
bool CanWriteInPlace(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0 || (status.st_mode & S_IWUSR) == 0) return false;
  std::FILE* file = ui::OpenFileUninherited(path, "r+b");
  if (!file) return false;
  std::fclose(file);
  return true;
}

bool CanBeOpened(const std::string& path) {
  std::FILE* file = ui::OpenFileUninherited(path, "rb");
  if (!file) return false;
  std::fclose(file);
  return true;
}

// Whether a new file can be made beside `path`: the temporary file a save goes through.
bool FolderTakesNewFile(const std::string& path) {
  const std::string probe = path + ".tmp";
  std::FILE* file = ui::OpenFileUninherited(probe, "wb");
  if (!file) return false;
  std::fclose(file);
  std::remove(probe.c_str());
  return true;
}

bool StartsWithSignature(const std::string& bytes) { return bytes.compare(0, 3, kUtf8Signature) == 0; }

}  // namespace

bool PreferencesFile::Open(const std::string& path) {
  Close();
  if (!CanBeOpened(path)) return false;
  path_ = path;
  open_ = true;
  writable_ = CanWriteInPlace(path);
  const std::optional<std::string> bytes = ui::ReadFileBytes(path);
  if (!bytes) {
    // Too large or unreadable: an empty document, and the file must not be replaced by it.
    writable_ = false;
    return true;
  }
  utf8_ = StartsWithSignature(*bytes);
  entries_ = ParsePreferences(utf8_ ? bytes->substr(3) : *bytes);
  return true;
}

bool PreferencesFile::Create(const std::string& path) {
  Close();
  if (!FolderTakesNewFile(path)) return false;
  path_ = path;
  open_ = writable_ = true;
  // The previous content is replaced on Close even if no key is written.
  modified_ = true;
  return true;
}

std::string PreferencesFile::Read(const std::string& key, const std::string& default_text) const {
  const std::size_t found = FindPair(key);
  if (found == entries_.size()) return default_text;
  const std::string value = TrimBlanks(entries_[found].value);
  return utf8_ ? Utf8ToLatin1(value) : value;
}

void PreferencesFile::Write(const std::string& key, const std::string& value) {
  if (!open_) return;
  const std::size_t found = FindPair(key);
  if (found == entries_.size()) {
    PreferenceEntry pair{PreferenceEntry::Kind::Pair, Encoded(key), Encoded(value)};
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(TopSectionEnd()), std::move(pair));
  } else {
    entries_[found].text = Encoded(key);
    entries_[found].value = Encoded(value);
  }
  modified_ = true;
}

bool PreferencesFile::Close() {
  bool written = true;
  if (open_ && modified_ && writable_) written = ui::WriteFileReplacing(path_, FormatPreferences(entries_, utf8_));
  path_.clear();
  open_ = writable_ = utf8_ = modified_ = false;
  entries_.clear();
  return written;
}

std::size_t PreferencesFile::FindPair(const std::string& key) const {
  const std::string wanted = platform::LowerAscii(Encoded(key));
  const std::size_t end = TopSectionEnd();
  for (std::size_t i = 0; i < end; ++i) {
    const PreferenceEntry& entry = entries_[i];
    if (entry.kind == PreferenceEntry::Kind::Pair && platform::LowerAscii(entry.text) == wanted) return i;
  }
  return entries_.size();
}

std::size_t PreferencesFile::TopSectionEnd() const {
  std::size_t end = 0;
  while (end < entries_.size() && entries_[end].kind != PreferenceEntry::Kind::GroupHeader) ++end;
  return end;
}

std::string PreferencesFile::Encoded(const std::string& text) const { return utf8_ ? Latin1ToUtf8(text) : text; }

}  // namespace settings
