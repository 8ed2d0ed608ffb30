// Text that other programs wrote for the shell: conversion to the program's 8-bit code page, and
// the string tables of modules named by a desktop.ini.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"

namespace services {

namespace {

// Longer than any path the loader accepts, so nothing is cut to fit.
constexpr DWORD kMaxExpandedChars = 32768;

std::wstring WideFromCodePage(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

std::wstring Expanded(const std::wstring& path) {
  std::vector<wchar_t> buffer(kMaxExpandedChars);
  const DWORD length = ExpandEnvironmentStringsW(path.c_str(), buffer.data(), kMaxExpandedChars);
  if (length == 0 || length > kMaxExpandedChars) return std::wstring();
  return std::wstring(buffer.data());
}

// Mapped as an image resource: the loader neither runs nor links anything of it, and the
// resource functions still find the strings of its language resource files. Systems that do not
// know that flag map it as a plain data file.
HMODULE MapAsData(const std::wstring& path) {
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  return module;
}

std::optional<std::u16string> TableString(HMODULE module, std::uint32_t id) {
  if (id > 0xFFFF) return std::nullopt;  // string numbers are 16-bit
  const wchar_t* text = nullptr;
  // A buffer size of 0 asks for the resource's own read-only text and its length.
  const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) return std::nullopt;
  return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length));
}

}  // namespace

std::optional<std::string> ToSystemCodePage(const std::u16string& units) {
  if (units.empty()) return std::string();
  const auto* wide = reinterpret_cast<const wchar_t*>(units.data());
  const int count = static_cast<int>(units.size());
  BOOL used_default = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, count, nullptr, 0, nullptr, &used_default);
  if (length <= 0 || used_default) return std::nullopt;
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, count, &text[0], length, nullptr, &used_default);
  if (used_default) return std::nullopt;
  return text;
}

std::vector<std::optional<std::u16string>> ModuleStrings(const std::string& module,
                                                         const std::vector<std::uint32_t>& ids) {
  std::vector<std::optional<std::u16string>> strings(ids.size());
  const std::wstring path = Expanded(WideFromCodePage(module));
  if (path.empty()) return strings;
  const HMODULE mapped = MapAsData(path);
  if (!mapped) return strings;
  for (std::size_t i = 0; i < ids.size(); ++i) strings[i] = TableString(mapped, ids[i]);
  FreeLibrary(mapped);
  return strings;
}

}  // namespace services
