// Entry point of KestrivalumeConsole.exe. The first parameter decides the run:
//   -startmenu     every Start-menu folder, one group of lines per folder
//   a folder       that folder tree, in the same form
//   a shortcut     one line for that shortcut
// A second parameter "-nopause" makes a listing leave out its pauses.
// The exit code is always 0.
#include "console/console_program.h"
#include "console/listing.h"
#include "console/win32/system_win32.h"
#include "platform/fatal_error_report.h"
#include "platform/location_marker.h"

KV_MARKED_FILE(803);

int main() {
  const std::optional<std::string> parameter = console::FirstParameter(GetCommandLineA());
  if (!parameter) return 0;
  console::Invocation invocation = console::SelectMode(parameter, console::PathFactsOf);
  invocation.paced = console::SecondParameter(GetCommandLineA()) != std::string(console::kNoPauseOption);
  platform::SetReportedProgram(console::kConsoleProgram);
  platform::InstallFatalErrorReport();
  KV_MARK();
  const console::SpecialFolders folders = console::ResolveSpecialFolders();
  if (invocation.mode == console::Mode::None) return 0;
  KV_MARK();
  console::ShellLinkReader reader;
  if (!reader.Open()) return 0;
  const console::StandardOutput output;
  console::Run(invocation, folders, console::MakeSystem(reader, output));
  KV_MARK();
  return 0;
}
