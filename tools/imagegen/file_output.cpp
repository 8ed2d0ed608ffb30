#include "tools/imagegen/file_output.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace imagegen {
namespace {

bool HoldsExactly(const std::string& path, const std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string current((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return !in.bad() && current == bytes;
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

bool WriteFileIfChanged(const std::string& path, const std::string& bytes) {
  if (HoldsExactly(path, bytes)) return true;
  const std::string temporary = path + ".tmp";
  std::error_code error;
  if (!WriteWhole(temporary, bytes)) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  std::filesystem::rename(temporary, path, error);
  if (!error) return true;
  std::filesystem::remove(temporary, error);
  return false;
}

}  // namespace imagegen
