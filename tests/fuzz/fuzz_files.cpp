#include "tests/fuzz/fuzz_files.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace fuzz {

const std::string& ScratchFolder() {
  static const std::string folder = [] {
    const std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    const std::filesystem::path own = base / ("kv_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(own);
    return own.string() + "/";
  }();
  return folder;
}

std::string WriteScratchFile(const std::string& name, const std::string& bytes) {
  const std::string path = ScratchFolder() + name;
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  return path;
}

}  // namespace fuzz
