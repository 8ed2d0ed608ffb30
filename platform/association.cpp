#include "platform/association.h"

#include "platform/services.h"
#include "platform/text.h"

namespace platform {

std::string ProgramOfCommand(const std::string& command) {
  const std::string marker = ".exe";
  const std::size_t found = platform::LowerAscii(command).find(marker);
  if (found == std::string::npos) return command;
  std::string program;
  for (char c : command.substr(0, found + marker.size())) {
    if (c != '"') program += c;
  }
  return program;
}

std::string AssociationLookup(const std::string& extension) {
  using services::RegistryRoot;
  const auto file_type = services::RegistryReadText(RegistryRoot::ClassesRoot, "." + extension, "");
  if (!file_type) return "";
  const auto command =
      services::RegistryReadText(RegistryRoot::ClassesRoot, *file_type + "\\Shell\\Open\\Command", "");
  return command ? ProgramOfCommand(*command) : "";
}

}  // namespace platform
