// catalogueprobe copied as the console helper, for the ways the real one never behaves:
//   stall     one group, then silence for a minute (the reader must give up after 3 s)
//   slow      five lines, one every 2 s, then the end (slow, but no stall)
//   halfline  one line and the start of another, then silence
//   burst     2000 entry lines written at once, then the end
//   silent    not a byte, then silence for a minute (hung before its first line)
//   endless   a line every half second, never ending (never stalls either)
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/win/catalogueprobe/probe.h"

namespace probe {
namespace {

void WriteLine(const std::string& text) {
  std::fputs((text + "\r\n").c_str(), stdout);
  std::fflush(stdout);
}

std::string Entry(int number) {
  return "Prog" + std::to_string(number) + ".lnk\tC:\\Menu\\\tC:\\windows\\notepad.exe\texe\t-n " +
         std::to_string(number);
}

}  // namespace

int PlayHelper(const std::string& how) {
  if (how == "stall") {
    WriteLine(">\t2\tLent\\\tC:\\Menu\\Lent\\");
    WriteLine(Entry(1));
    Sleep(60000);
  } else if (how == "slow") {
    WriteLine(">\t4\t\tC:\\Menu\\");
    for (int i = 1; i <= 4; ++i) {
      Sleep(2000);
      WriteLine(Entry(i));
    }
  } else if (how == "halfline") {
    WriteLine(">\t2\t\tC:\\Menu\\");
    std::fputs("Coupe.lnk\tC:\\Me", stdout);
    std::fflush(stdout);
    Sleep(60000);
  } else if (how == "silent") {
    Sleep(60000);
  } else if (how == "endless") {
    WriteLine(">\t1000000\t\tC:\\Menu\\");
    for (int i = 1;; ++i) {
      WriteLine(Entry(i));
      Sleep(500);
    }
  } else if (how == "burst") {
    WriteLine(">\t2000\t\tC:\\Menu\\");
    for (int i = 1; i <= 2000; ++i) std::fputs((Entry(i) + "\r\n").c_str(), stdout);
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace probe
