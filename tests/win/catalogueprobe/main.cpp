// Test program for the Start-menu catalogue under Wine: runs the real refresh (thread, console
// helper through the pipe, icon lookups) against a data folder and prints what was published.
//   refresh <data folder> <n>   n refreshes, the first started by RefreshCheck; after each
//                               "published <CurrentCatalogue>", then "htm <handler>" and one line
//                               per record of the current catalogue (see PrintRecord)
//   find <data folder> <path>   one refresh, then FindByProgramPath: "<name> TAB <folder> TAB <target>"
//   thread                      "priority <n> com <0|1>" as seen inside a background thread
//   icons                       small-icon lookups: "<what> <0|1>" (1 = an icon came back)
//   bench <lines>               timings of parsing a listing with icons cached
//   names <data folder>         timings of naming its kept catalogue: "records <n> shown <n>
//                               first <ms> best <ms> mean <ms>" (first: the modules read)
//   inherit <folder>            what a helper holds of the program's open files (inheritance.cpp)
// Started as the console helper ("-startmenu") with CATALOGUEPROBE_HELPER set, it plays a
// misbehaving helper instead (see fake_helper.cpp).
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/environment.h"
#include "platform/services.h"
#include "sources/catalogue.h"
#include "sources/catalogue_find.h"
#include "sources/catalogue_refresh.h"
#include "sources/icon_cache.h"
#include "tests/win/catalogueprobe/probe.h"

namespace {

int Usage() {
  std::fprintf(stderr, "catalogueprobe: bad command line (see main.cpp)\n");
  return 2;
}

void UseDataFolder(const std::string& folder) {
  platform::MutableEnv().data_folder = folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
}

// Kind, Name, Count, Folder, Target, TargetExtension, Arguments, whether an icon is set.
void PrintRecord(const sources::CatalogueRecord& record) {
  std::printf("%d\t%s\t%ld\t%s\t%s\t%s\t%s\t%d\n", record.Kind, record.Name.c_str(), static_cast<long>(record.Count),
              record.Folder.c_str(), record.Target.c_str(), record.TargetExtension.c_str(), record.Arguments.c_str(),
              record.Icon != 0 ? 1 : 0);
}

// A refresh on the real background thread, waited for.
void RefreshOnThread(bool through_check) {
  if (through_check) {
    sources::RefreshCheck();
    while (sources::RefreshRunning()) Sleep(20);
    return;
  }
  const services::ThreadHandle thread = services::StartBackgroundThread(&sources::RunCatalogueRefresh);
  services::WaitForThread(thread, 60000);
  services::ReleaseThread(thread);
}

int Refresh(const std::string& folder, int count) {
  UseDataFolder(folder);
  for (int i = 0; i < count; ++i) {
    RefreshOnThread(i == 0);
    std::printf("published %ld\n", static_cast<long>(sources::CurrentCatalogue()));
  }
  std::printf("htm %s\n", platform::HtmHandler().c_str());
  if (const sources::SharedCatalogue catalogue = sources::TakeCurrentCatalogue()) {
    for (const sources::CatalogueRecord& record : *catalogue) PrintRecord(record);
  }
  return 0;
}

int Find(const std::string& folder, const std::string& path) {
  UseDataFolder(folder);
  RefreshOnThread(true);
  const auto match = sources::FindByProgramPath(path);
  if (!match) return 1;
  std::printf("%s\t%s\t%s\n", match->name.c_str(), match->folder.c_str(), match->target.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // scripts compare the bytes: no CR before LF
  const std::string command = argc > 1 ? argv[1] : "";
  const char* helper_role = std::getenv("CATALOGUEPROBE_HELPER");
  if (command == "-startmenu" && helper_role && std::string(helper_role) == "handles") return probe::PlayHandleHolder();
  if (command == "-startmenu" && helper_role) return probe::PlayHelper(helper_role);
  if (command == "inherit" && argc == 3) return probe::PrintInheritance(argv[2]);
  if (command == "refresh" && argc == 4) return Refresh(argv[2], std::atoi(argv[3]));
  if (command == "find" && argc == 4) return Find(argv[2], argv[3]);
  if (command == "thread" && argc == 2) return probe::PrintThreadState();
  if (command == "icons" && argc == 2) return probe::PrintIcons();
  if (command == "bench" && argc == 3) return probe::Bench(std::atoi(argv[2]));
  if (command == "names" && argc == 3) return probe::BenchNames(argv[2]);
  return Usage();
}
