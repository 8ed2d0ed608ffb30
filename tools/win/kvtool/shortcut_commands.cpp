// lnk / readlnk / url: create and read the shortcut files the program lists and starts.
#include "kvtool.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstdio>

namespace kvtool {
namespace {

constexpr int kLinkFieldCapacity = 32768;

// COM for the lifetime of one command.
struct ComScope {
  bool ready = SUCCEEDED(CoInitialize(nullptr));
  ~ComScope() {
    if (ready) CoUninitialize();
  }
};

// Releases a COM interface at the end of the scope.
template <typename T>
struct Released {
  T* pointer = nullptr;
  ~Released() {
    if (pointer) pointer->Release();
  }
};

std::string hresult_text(HRESULT result) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(result));
  return text;
}

// Absolute path in UTF-16 for IPersistFile; nullopt when the path cannot be resolved.
std::optional<std::wstring> wide_full_path(const std::string& path) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  wchar_t wide[MAX_PATH];
  if (MultiByteToWideChar(CP_ACP, 0, full, -1, wide, MAX_PATH) == 0) return std::nullopt;
  return std::wstring(wide);
}

// A field of the TAB-separated readlnk line; refuses what would break the line.
bool fits_in_field(const std::string& text) {
  return text.find_first_of("\t\r\n") == std::string::npos;
}

// A new shell link object and its IPersistFile face.
HRESULT create_link(Released<IShellLinkA>& link, Released<IPersistFile>& file) {
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(&link.pointer));
  if (SUCCEEDED(result)) {
    result = link.pointer->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.pointer));
  }
  return result;
}

using LinkGetter = HRESULT (STDMETHODCALLTYPE IShellLinkA::*)(LPSTR, int);

std::optional<std::string> read_field(IShellLinkA* link, LinkGetter getter) {
  std::string text(kLinkFieldCapacity, '\0');
  if (FAILED((link->*getter)(text.data(), kLinkFieldCapacity))) return std::nullopt;
  text.resize(strnlen(text.c_str(), kLinkFieldCapacity));
  return text;
}

std::optional<std::string> read_target(IShellLinkA* link) {
  std::string text(kLinkFieldCapacity, '\0');
  if (FAILED(link->GetPath(text.data(), kLinkFieldCapacity, nullptr, 0))) return std::nullopt;
  text.resize(strnlen(text.c_str(), kLinkFieldCapacity));
  return text;
}

}  // namespace

int cmd_lnk(const Args& args) {
  if (args.size() < 2 || args.size() > 4) return usage_error("lnk <file.lnk> <target> [arguments] [workdir]");
  const auto path = wide_full_path(args[0]);
  if (!path) return fail("bad shortcut path '" + args[0] + "'");
  ComScope com;
  if (!com.ready) return fail("CoInitialize failed");

  Released<IShellLinkA> link;
  Released<IPersistFile> file;
  HRESULT result = create_link(link, file);
  if (FAILED(result)) return fail("cannot create a shell link: " + hresult_text(result));
  result = link.pointer->SetPath(args[1].c_str());
  if (SUCCEEDED(result) && args.size() > 2) result = link.pointer->SetArguments(args[2].c_str());
  if (SUCCEEDED(result) && args.size() > 3) result = link.pointer->SetWorkingDirectory(args[3].c_str());
  if (FAILED(result)) return fail("cannot fill the shell link: " + hresult_text(result));
  result = file.pointer->Save(path->c_str(), TRUE);
  if (FAILED(result)) return fail("cannot save '" + args[0] + "': " + hresult_text(result));
  return 0;
}

int cmd_readlnk(const Args& args) {
  const bool with_workdir = args.size() == 2 && args[1] == "--workdir";
  if (args.size() != 1 && !with_workdir) return usage_error("readlnk <file.lnk> [--workdir]");
  const auto path = wide_full_path(args[0]);
  if (!path) return fail("bad shortcut path '" + args[0] + "'");
  ComScope com;
  if (!com.ready) return fail("CoInitialize failed");

  Released<IShellLinkA> link;
  Released<IPersistFile> file;
  HRESULT result = create_link(link, file);
  if (FAILED(result)) return fail("cannot create a shell link: " + hresult_text(result));
  result = file.pointer->Load(path->c_str(), STGM_READ);
  if (FAILED(result)) return fail("cannot load '" + args[0] + "': " + hresult_text(result));

  std::vector<std::optional<std::string>> fields = {read_target(link.pointer),
                                                    read_field(link.pointer, &IShellLinkA::GetArguments)};
  if (with_workdir) fields.push_back(read_field(link.pointer, &IShellLinkA::GetWorkingDirectory));
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (!fields[i]) return fail("cannot read the shortcut's fields");
    if (!fits_in_field(*fields[i])) return fail("a field of the shortcut contains a TAB or line break");
    line += (i == 0 ? "" : "\t") + *fields[i];
  }
  print_line(line);
  return 0;
}

int cmd_url(const Args& args) {
  if (args.size() != 2) return usage_error("url <file.url> <address>");
  // A line break in the address would inject further keys into the file.
  if (args[1].find_first_of("\r\n") != std::string::npos) return fail("line break in the address");
  const std::string content = "[InternetShortcut]\r\nURL=" + args[1] + "\r\n";
  std::FILE* file = std::fopen(args[0].c_str(), "wb");
  if (!file) return fail("cannot create '" + args[0] + "'");
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) return fail("cannot write '" + args[0] + "'");
  return 0;
}

}  // namespace kvtool
