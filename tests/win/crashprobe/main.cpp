// Test program for the fatal error report under Wine: installs the report, marks a known place,
// prints it as "line <n>" (the number the report must show) and then fails on purpose.
//   crashprobe.exe access    writes through a null pointer       (invalid memory access)
//   crashprobe.exe divide    divides an integer by zero
//   crashprobe.exe unknown   raises an exception code the report does not know (0xE0001234)
//   crashprobe.exe stack     recurses until the stack overflows
//   crashprobe.exe thread    writes through a null pointer on a second thread, the first waiting
// The report ends the process; "survived" on stdout means execution went on after the fault.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/fatal_error_report.h"
#include "platform/location_marker.h"

KV_MARKED_FILE(901);  // a block of its own, beside the programs' numbers

namespace {

constexpr DWORD kUnknownCode = 0xE0001234;

// Stands in for the program's release of windows and images: shows that the normal end path ran.
void ReleaseResources() {
  std::printf("released\n");
  std::fflush(stdout);
}

// Both volatile: the compiler must neither know the pointer is null nor drop the store
// (optimised builds drop a plain store through an unknown pointer here).
void WriteThroughNull() {
  volatile int* volatile target = nullptr;
  *target = 42;
}

int DivideByZero() {
  volatile int zero = 0;
  volatile int quotient = 100 / zero;
  return quotient;
}

volatile bool g_stop_recursion = false;  // never set; it only hides the endless recursion

// Each frame keeps a buffer alive so the recursion cannot be turned into a loop.
int Recurse(int depth) {
  if (g_stop_recursion) return 0;
  volatile char frame[4096];
  frame[depth % sizeof frame] = static_cast<char>(depth);
  return Recurse(depth + 1) + frame[0];
}

DWORD WINAPI FailOnThisThread(void*) {
  const int place = platform::MarkedPlace(kMarkedFile, __LINE__ + 1);
  KV_MARK();
  std::printf("line %d\n", place);
  std::fflush(stdout);
  WriteThroughNull();
  return 0;
}

// The fault on a thread that owns nothing the end path releases.
void FailOnAnotherThread() {
  HANDLE thread = CreateThread(nullptr, 0, FailOnThisThread, nullptr, 0, nullptr);
  if (thread) WaitForSingleObject(thread, INFINITE);
}

bool Fail(const char* how) {
  if (std::strcmp(how, "access") == 0) WriteThroughNull();
  else if (std::strcmp(how, "divide") == 0) DivideByZero();
  else if (std::strcmp(how, "unknown") == 0) RaiseException(kUnknownCode, 0, 0, nullptr);
  else if (std::strcmp(how, "stack") == 0) Recurse(0);
  else if (std::strcmp(how, "thread") == 0) FailOnAnotherThread();
  else return false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: crashprobe access|divide|unknown|stack|thread\n");
    return 2;
  }
  platform::InstallFatalErrorReport();
  platform::SetNormalEndPath(ReleaseResources);
  const int place = platform::MarkedPlace(kMarkedFile, __LINE__ + 1);
  KV_MARK();
  if (std::strcmp(argv[1], "thread") != 0) {  // that one prints the place on its own thread
    std::printf("line %d\n", place);
    std::fflush(stdout);
  }
  if (!Fail(argv[1])) {
    std::fprintf(stderr, "crashprobe: unknown failure '%s'\n", argv[1]);
    return 2;
  }
  std::printf("survived\n");
  return 1;
}
