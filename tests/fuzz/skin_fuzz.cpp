// A skin description of any bytes: reading it sets every colour and never fails.
#include <cstdint>
#include <string>

#include "platform/environment.h"
#include "settings/settings.h"
#include "settings/skin_reading.h"
#include "tests/fuzz/fuzz_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool prepared = [] {
    platform::MutableEnv().program_folder = fuzz::ScratchFolder();
    fuzz::WriteScratchFile("Skins\\Fuzz\\background.jpg", "not empty");
    return true;
  }();
  static_cast<void>(prepared);
  // Paths keep the Windows separator; natively it is part of the file name.
  fuzz::WriteScratchFile("Skins\\Fuzz\\skininfo.txt", std::string(reinterpret_cast<const char*>(data), size));
  settings::ReadSkin("Fuzz");
  return 0;
}
