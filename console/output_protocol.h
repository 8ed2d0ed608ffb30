#pragma once
// The helper's output protocol: TAB-separated fields, every line ended by CR LF.
//   group header  ">" TAB count TAB relative path TAB folder scanned last
//   entry         file name TAB folder TAB target TAB target extension TAB arguments
#include <cstddef>
#include <string>

#include "console/entry.h"

namespace console {

std::string HeaderLine(std::size_t count, const std::string& relative_path, const std::string& folder);
std::string EntryLine(const Entry& entry);

}  // namespace console
