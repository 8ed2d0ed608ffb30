// Test program for the usage lists under Wine: runs the steps named on the command line in order,
// against the data folder given first, and prints what "dump" and "seconds" ask for.
//   usageprobe <data folder ending in \> <step>...
//   load | save                          LoadUsageLists / SaveUsageLists
//   label <label> <launch> <target>      RecordUseByLabel
//   target <label> <launch> <target> <lower-case program path>   RecordUseByTarget
//   clear-most | clear-last | clear-recent
//   add-recent <file>                    SHAddToRecentDocs of a file (to have something to clear)
//   dump                                 "most"/"last" TAB key TAB label TAB launch TAB target lines
//   seconds                              the clock the lists use
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/services.h"
#include "settings/usage_lists.h"

namespace {

using Args = std::vector<std::string>;

void Dump(const char* name, const settings::UsageList& list) {
  for (const settings::UsageEntry& entry : list) {
    std::printf("%s\t%ld\t%s\t%s\t%s\n", name, static_cast<long>(entry.SortKey), entry.Label.c_str(),
                entry.LaunchPath.c_str(), entry.TargetPath.c_str());
  }
}

// Runs the step at args[i]; returns how many arguments it used, 0 for a bad step.
std::size_t RunStep(const std::string& folder, const Args& args, std::size_t i) {
  const std::string& step = args[i];
  const std::size_t left = args.size() - i - 1;
  if (step == "load") return settings::LoadUsageLists(folder), 1;
  if (step == "save") return settings::SaveUsageLists(folder), 1;
  if (step == "clear-most") return settings::ClearMostUsed(), 1;
  if (step == "clear-last") return settings::ClearLastUsed(), 1;
  if (step == "clear-recent") return settings::ClearWindowsRecentDocuments(), 1;
  if (step == "dump") return Dump("most", settings::MostUsed()), Dump("last", settings::LastUsed()), 1;
  if (step == "seconds") return std::printf("%lld\n", static_cast<long long>(services::LocalSeconds())), 1;
  if (step == "add-recent" && left >= 1) return SHAddToRecentDocs(SHARD_PATHA, args[i + 1].c_str()), 2;
  if (step == "label" && left >= 3) return settings::RecordUseByLabel(args[i + 1], args[i + 2], args[i + 3]), 4;
  if (step == "target" && left >= 4) {
    settings::RecordUseByTarget(args[i + 1], args[i + 2], args[i + 3], args[i + 4]);
    return 5;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const Args args(argv + 1, argv + argc);
  if (args.size() < 2) {
    std::fprintf(stderr, "usageprobe: bad command line (see main.cpp)\n");
    return 2;
  }
  for (std::size_t i = 1; i < args.size();) {
    const std::size_t used = RunStep(args[0], args, i);
    if (used == 0) {
      std::fprintf(stderr, "usageprobe: bad step '%s'\n", args[i].c_str());
      return 2;
    }
    i += used;
  }
  return 0;
}
