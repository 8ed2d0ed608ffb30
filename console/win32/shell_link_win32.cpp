// Shortcut files read through the shell's link object, one object for the whole run.
#include <vector>

#include "console/win32/system_win32.h"

namespace console {
namespace {

constexpr int kLinkTextCapacity = 1000;  // characters, terminating zero included

std::wstring Utf16FromAnsi(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 0) return L"";
  std::vector<wchar_t> wide(static_cast<std::size_t>(length));
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
  return wide.data();
}

}  // namespace

ShellLinkReader::~ShellLinkReader() {
  if (file_) file_->Release();
  if (link_) link_->Release();
  if (com_initialised_) CoUninitialize();
}

bool ShellLinkReader::Open() {
  com_initialised_ = SUCCEEDED(CoInitialize(nullptr));
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link_))) ||
      !link_) {
    link_ = nullptr;
    return false;
  }
  if (FAILED(link_->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file_))) || !file_) {
    file_ = nullptr;
    return false;
  }
  return true;
}

std::optional<ShortcutTarget> ShellLinkReader::Read(const std::string& path) {
  if (!link_ || !file_) return std::nullopt;
  const std::wstring wide_path = Utf16FromAnsi(path);
  if (wide_path.empty() || FAILED(file_->Load(wide_path.c_str(), STGM_READ))) return std::nullopt;
  char target[kLinkTextCapacity] = {};
  char arguments[kLinkTextCapacity] = {};
  // Both may fail for a shell item that is not a file; the buffers then stay empty.
  (void)link_->GetPath(target, kLinkTextCapacity, nullptr, 0);
  (void)link_->GetArguments(arguments, kLinkTextCapacity);
  target[kLinkTextCapacity - 1] = '\0';
  arguments[kLinkTextCapacity - 1] = '\0';
  return ShortcutTarget{target, arguments};
}

}  // namespace console
