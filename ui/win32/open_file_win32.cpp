#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "ui/open_file.h"

namespace ui {
namespace {

// The flags of _open for the modes offered, or -1. _O_NOINHERIT makes the C runtime open the
// handle not inheritable from the start (no moment in which another thread's new process could
// take it), and every msvcrt.dll honours it, unlike fopen's "N", which not every one knows.
int OpenFlags(const char* mode) {
  if (std::strcmp(mode, "rb") == 0) return _O_RDONLY | _O_BINARY | _O_NOINHERIT;
  if (std::strcmp(mode, "r+b") == 0) return _O_RDWR | _O_BINARY | _O_NOINHERIT;
  if (std::strcmp(mode, "wb") == 0) return _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT;
  return -1;
}

}  // namespace

std::FILE* OpenFileUninherited(const std::string& path, const char* mode) {
  const int flags = OpenFlags(mode);
  if (flags < 0) return nullptr;
  // Shared for reading and writing like fopen's files; a new file is not read-only.
  const int descriptor = _open(path.c_str(), flags, _S_IREAD | _S_IWRITE);
  if (descriptor < 0) return nullptr;
  std::FILE* file = _fdopen(descriptor, mode);
  if (!file) _close(descriptor);
  return file;
}

}  // namespace ui
