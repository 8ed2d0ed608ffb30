#pragma once
// Scratch files for fuzz targets whose reader takes a path: one private folder per process in
// memory-backed storage, so a million runs do not wear a disk.
#include <string>

namespace fuzz {

// A folder of this process, created on first use, ending in "/".
const std::string& ScratchFolder();

// Replaces `name` in the scratch folder with `bytes`; its full path.
std::string WriteScratchFile(const std::string& name, const std::string& bytes);

}  // namespace fuzz
