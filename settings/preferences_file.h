#pragma once
// A key = value document on disk: the preferences file and each skin's description. Only the
// top section (the entries before the first group header) is read or written.
//
// Use: Open, any number of Read, Close; or Create, Write for every key, Close. The file is
// replaced as a whole on Close (through a temporary file), so an interrupted save never leaves
// a half-written document behind.
#include <string>

#include "settings/preferences_document.h"

namespace settings {

class PreferencesFile {
 public:
  PreferencesFile() = default;
  ~PreferencesFile() { Close(); }
  PreferencesFile(const PreferencesFile&) = delete;
  PreferencesFile& operator=(const PreferencesFile&) = delete;

  // Closes the open document, then reads and parses the file. A file starting with the UTF-8
  // signature is a UTF-8 document (texts are converted on the way in and out). False when the
  // file cannot be opened: the document is then empty. A file that cannot be written is read
  // anyway but never written back.
  bool Open(const std::string& path);
  // Closes the open document and starts an empty plain one whose Close replaces the file, even
  // when nothing was written. False when the file's folder does not take the new file: Write
  // then changes nothing and Close writes nothing.
  bool Create(const std::string& path);
  // The value of the first pair of the top section whose key matches (ASCII letters compared
  // without regard to case), blanks removed at both ends; the default when there is none.
  std::string Read(const std::string& key, const std::string& default_text) const;
  // Replaces the value of the matching pair (taking this call's spelling of the key), or adds
  // the pair at the end of the top section.
  void Write(const std::string& key, const std::string& value);
  // Writes the document back if it was changed and may be written, then forgets it. False
  // only when writing back failed; the previous file is then untouched.
  bool Close();

 private:
  std::size_t FindPair(const std::string& key) const;
  std::size_t TopSectionEnd() const;
  std::string Encoded(const std::string& text) const;

  std::string path_;
  bool open_ = false;
  bool writable_ = false;
  bool utf8_ = false;
  bool modified_ = false;
  PreferenceEntries entries_;
};

}  // namespace settings
