// The process's environment rebuilt from the variables Windows composes for the user, after the
// user changed one. CreateEnvironmentBlock and DestroyEnvironmentBlock are looked up at run time:
// userenv.dll is loaded only when asked. The blocks are handled in UTF-16 as the system keeps
// them (the W functions), so that no value goes through the 8-bit code page.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/environment_block.h"
#include "platform/services.h"
#include "platform/win32/library_function_win32.h"

namespace services {

using win32::LibraryFunction;

namespace {

using CreateEnvironmentBlockFunction = BOOL(WINAPI*)(LPVOID*, HANDLE, BOOL);
using DestroyEnvironmentBlockFunction = BOOL(WINAPI*)(LPVOID);

// Far more than any real environment (a variable holds at most 32767 characters).
constexpr std::size_t kMaxBlockChars = 4u << 20;

// The block composed at start-up or at the last rebuild; none until one was composed.
std::optional<std::vector<platform::EnvironmentVariable>>& PreviouslyComposed() {
  static std::optional<std::vector<platform::EnvironmentVariable>> variables;
  return variables;
}

std::optional<std::vector<platform::EnvironmentVariable>> ParseWideBlock(const wchar_t* block) {
  const std::size_t length = platform::EnvironmentBlockLength(block, kMaxBlockChars);
  if (length == 0) return std::nullopt;
  return platform::ParseEnvironmentBlock(std::u16string(block, block + length));
}

// The user's and the system's variables as Windows composes them (without this process's own).
std::optional<std::vector<platform::EnvironmentVariable>> ComposedVariables() {
  HMODULE userenv = win32::SystemLibrary("userenv.dll");
  if (!userenv) return std::nullopt;
  auto create = LibraryFunction<CreateEnvironmentBlockFunction>(userenv, "CreateEnvironmentBlock");
  auto destroy = LibraryFunction<DestroyEnvironmentBlockFunction>(userenv, "DestroyEnvironmentBlock");
  std::optional<std::vector<platform::EnvironmentVariable>> variables;
  HANDLE token = nullptr;
  if (create && destroy &&
      OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_IMPERSONATE, &token)) {
    void* block = nullptr;
    if (create(&block, token, FALSE) && block) {
      variables = ParseWideBlock(static_cast<const wchar_t*>(block));
      destroy(block);
    }
    CloseHandle(token);
  }
  FreeLibrary(userenv);
  if (variables && variables->empty()) return std::nullopt;  // nothing composed: a failure
  return variables;
}

std::optional<std::vector<platform::EnvironmentVariable>> CurrentVariables() {
  wchar_t* block = GetEnvironmentStringsW();
  if (!block) return std::nullopt;
  auto variables = ParseWideBlock(block);
  FreeEnvironmentStringsW(block);
  return variables;
}

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

void RememberLogonEnvironment() {
  if (auto composed = ComposedVariables()) PreviouslyComposed() = std::move(composed);
}

void RefreshEnvironmentFromLogon() {
  const auto composed = ComposedVariables();
  const auto current = composed ? CurrentVariables() : std::nullopt;
  if (!composed || !current) return;
  const auto& previous = PreviouslyComposed();
  const platform::EnvironmentChanges changes =
      platform::MergeEnvironment(*current, *composed, previous ? &*previous : nullptr);
  for (const std::u16string& name : changes.remove) SetEnvironmentVariableW(Wide(name).c_str(), nullptr);
  for (const platform::EnvironmentVariable& variable : changes.set) {
    SetEnvironmentVariableW(Wide(variable.name).c_str(), Wide(variable.value).c_str());
  }
  PreviouslyComposed() = composed;
}

}  // namespace services
