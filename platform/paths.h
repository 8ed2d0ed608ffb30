#pragma once
// Cutting file paths into their parts. Windows takes "\" and "/" alike as the separator between
// folders, and so does every helper here; a dot counts only in the file-name part.
#include <string>

namespace platform {

// The text after the last separator; the whole path when it has none ("C:\A\b.txt" -> "b.txt").
std::string FileNamePart(const std::string& path);

// The text up to and including the last separator; "" when it has none ("C:\A\b.txt" -> "C:\A\").
std::string FolderPart(const std::string& path);

// The file-name part's text after its last dot, lower-cased (A-Z only), without the dot; "" when
// the file-name part has no dot ("C:\A.B\Setup.EXE" -> "exe", "C:\A.B\README" -> "").
std::string LowerExtension(const std::string& path);

// Appends "\" unless the text is empty or already ends with one.
std::string WithTrailingBackslash(std::string folder);

// True for a path the system reaches over the network, whose server may keep a question waiting
// for seconds when it is away: a UNC path ("\\server\share\...", "\\?\UNC\server\..."), or a
// path on a drive letter that `network_drive` tells is mapped to a share ('Z' for "z:\...").
bool IsNetworkPath(const std::string& path, bool (*network_drive)(char letter));

}  // namespace platform
