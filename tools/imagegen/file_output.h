#pragma once
// Writing generated files so that an unchanged result keeps its old timestamp and
// nothing downstream is rebuilt for it.
#include <string>

namespace imagegen {

// Replaces the file's contents with `bytes` unless it holds exactly them already. The new
// contents go to a temporary file first, so a failure never leaves a half-written file.
[[nodiscard]] bool WriteFileIfChanged(const std::string& path, const std::string& bytes);

}  // namespace imagegen
