// The console helper's command line of any bytes, with any answer about the path it names:
// one mode, and a path that matches it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "console/invocation.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  console::PathFacts facts;
  facts.exists = provider.ConsumeBool();
  facts.is_folder = provider.ConsumeBool();
  facts.size = provider.ConsumeIntegral<std::uint64_t>();
  const std::string command_line = provider.ConsumeRemainingBytesAsString();

  const std::optional<std::string> parameter = console::FirstParameter(command_line);
  if (parameter) {
    Check(parameter->find('"') == std::string::npos);
    Check(parameter->size() <= command_line.size());
  }
  int questions = 0;
  const console::Invocation invocation = console::SelectMode(parameter, [&](const std::string&) {
    ++questions;
    return facts;
  });
  switch (invocation.mode) {
    case console::Mode::None:
      break;
    case console::Mode::StartMenu:
      Check(parameter && *parameter == console::kStartMenuOption);
      break;
    case console::Mode::EinzelVerzeichnis:  // the folder as given, ending in one added "\" if it had none
      Check(parameter && (invocation.path == *parameter || invocation.path == *parameter + "\\"));
      Check(parameter->empty() || invocation.path.back() == '\\');
      break;
    case console::Mode::EinzelDatei:
      Check(parameter && invocation.path == *parameter);
      break;
  }
  Check(questions <= 2);
  return 0;
}
