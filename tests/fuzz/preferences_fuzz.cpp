// The preferences format from a file of any bytes: every setting and colour is read, the
// document survives a write-back unchanged in meaning, and numbers read back as written.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/colours.h"
#include "settings/numbers.h"
#include "settings/preferences_document.h"
#include "settings/preferences_file.h"
#include "settings/settings.h"
#include "settings/settings_keys.h"
#include "tests/fuzz/fuzz_files.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Writing what was parsed and parsing it again gives the same entries: a save never changes
// what the user wrote.
void CheckDocumentRoundTrip(const std::string& text) {
  using settings::PreferenceEntries;
  const PreferenceEntries entries = settings::ParsePreferences(text);
  const PreferenceEntries again = settings::ParsePreferences(settings::FormatPreferences(entries, false));
  Check(again.size() == entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Check(again[i].kind == entries[i].kind);
    Check(again[i].text == entries[i].text);
    Check(again[i].value == entries[i].value);
  }
}

void CheckNumberRoundTrip(const std::string& text) {
  const std::int64_t value = settings::ParseNumber(text);
  Check(settings::ParseNumber(settings::FormatNumber(value)) == value);
  Check(settings::ParseNumber32(text) == static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

void CheckFile(const std::string& bytes) {
  const std::string path = fuzz::WriteScratchFile("Kestrivalume.ini", bytes);
  settings::Settings options;
  settings::ColourSet colours{};
  {
    settings::PreferencesFile file;
    file.Open(path);
    settings::ReadSettingsKeys(file, options, colours);
    file.Write("Fuzz", "-12345 ");
    Check(file.Close());
  }
  settings::PreferencesFile reread;
  Check(reread.Open(path));
  Check(reread.Read("fuzz", "") == "-12345");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckDocumentRoundTrip(bytes);
  CheckNumberRoundTrip(bytes.substr(0, 64));
  CheckFile(bytes);
  return 0;
}
