// Shell icons of files and file types, and the generic document icon, at the size they are
// drawn at. At 16 pixels the shell's own small icons; at other sizes the icon is drawn anew from
// its source at that size, so that it is never a small icon stretched.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "platform/services.h"

namespace services {
namespace {

constexpr int kSmallSide = 16;

IconHandle AskShell(const std::string& path, DWORD attributes, UINT flags) {
  SHFILEINFOA info = {};
  if (!SHGetFileInfoA(path.c_str(), attributes, &info, sizeof info, flags)) return 0;
  return reinterpret_cast<IconHandle>(info.hIcon);
}

// The icon in a file of icons (a program, a library, an .ico) at the given size, or 0.
IconHandle ExtractAtSize(const char* file, int index, int side) {
  HICON icon = nullptr;
  if (SHDefExtractIconA(file, index, 0, &icon, nullptr, MAKELONG(side, side)) != S_OK) return 0;
  return reinterpret_cast<IconHandle>(icon);
}

// Where the shell takes the icon from, drawn at the size; else its large icon, which the
// control shrinks, or its small one for sizes below 16.
IconHandle AskShellAtSize(const std::string& path, DWORD attributes, UINT flags, int side) {
  SHFILEINFOA info = {};
  if (SHGetFileInfoA(path.c_str(), attributes, &info, sizeof info, flags | SHGFI_ICONLOCATION) &&
      info.szDisplayName[0] != '\0') {
    info.szDisplayName[sizeof info.szDisplayName - 1] = '\0';
    if (const IconHandle icon = ExtractAtSize(info.szDisplayName, info.iIcon, side)) return icon;
  }
  return AskShell(path, attributes, flags | SHGFI_ICON | (side < kSmallSide ? SHGFI_SMALLICON : SHGFI_LARGEICON));
}

}  // namespace

IconHandle FileIcon(const std::string& path, int side) {
  if (side == kSmallSide) return AskShell(path, 0, SHGFI_ICON | SHGFI_SMALLICON);
  return AskShellAtSize(path, 0, 0, side);
}

IconHandle TypeIcon(const std::string& dotted_extension, int side) {
  // With SHGFI_USEFILEATTRIBUTES the shell answers from the name alone; no file is opened.
  if (side == kSmallSide) {
    return AskShell(dotted_extension, FILE_ATTRIBUTE_NORMAL, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON);
  }
  return AskShellAtSize(dotted_extension, FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES, side);
}

IconHandle GenericIcon(int side) {
  if (side != kSmallSide) {
    if (const IconHandle icon = ExtractAtSize("shell32.dll", 0, side)) return icon;
  }
  HICON small_icon = nullptr;
  const UINT extracted = ExtractIconExA("shell32.dll", 0, nullptr, &small_icon, 1);
  return extracted == 0 || extracted == UINT_MAX ? 0 : reinterpret_cast<IconHandle>(small_icon);
}

}  // namespace services
