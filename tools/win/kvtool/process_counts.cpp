// process-counts: what a running process holds, read from outside it, so that a long run can show
// whether windows, GDI objects or memory pile up.
//
// GetGuiResources is a stub under Wine 8 (it answers 0), so GDI objects are counted in the
// process's GDI handle table instead: the table its PEB points to (GdiSharedHandleTable), one
// entry per handle, live entries with a non-zero type. Wine and Windows both keep it there.
#include "kvtool.h"

#include <psapi.h>

#include <cstddef>
#include <cstdio>
#include <memory>

namespace kvtool {
namespace {

// --- windows -----------------------------------------------------------------------------------

struct WindowCounts {
  DWORD process = 0;
  int top_level = 0;
  int visible_top_level = 0;
  int children = 0;
};

BOOL CALLBACK count_child(HWND, LPARAM data) {
  ++reinterpret_cast<WindowCounts*>(data)->children;
  return TRUE;
}

BOOL CALLBACK count_top_level(HWND window, LPARAM data) {
  auto* counts = reinterpret_cast<WindowCounts*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != counts->process) return TRUE;
  ++counts->top_level;
  if (IsWindowVisible(window)) ++counts->visible_top_level;
  EnumChildWindows(window, count_child, data);  // all descendants, not only direct children
  return TRUE;
}

// --- GDI handle table --------------------------------------------------------------------------

// One entry of the table, as laid out by Windows and Wine alike (24 bytes in 32- and 64-bit
// processes: the pointers are stored as 64-bit fields).
#pragma pack(push, 1)
struct GdiHandleEntry {
  unsigned long long object;
  unsigned int owner;
  unsigned char full_type : 7;  // the object's type with its sub-type (pen, extended pen, ...)
  unsigned char stock : 1;
  unsigned char generation;
  unsigned char type;  // base type; 0 marks a free entry
  unsigned char flags;
  unsigned long long user_pointer;
};
#pragma pack(pop)
static_assert(sizeof(GdiHandleEntry) == 24, "GDI handle table entry layout");

constexpr std::size_t kGdiTableEntries = 0x10000;  // handles carry a 16-bit index
// Where the PEB keeps the table's address.
constexpr std::size_t kPebGdiTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;

struct GdiCounts {
  int total = 0;  // stock objects excluded: they are shared and never freed
  int dc = 0, region = 0, bitmap = 0, palette = 0, font = 0, brush = 0, pen = 0, other = 0;
};

struct ProcessBasicInformation {
  LONG_PTR exit_status;
  void* peb;
  ULONG_PTR affinity_mask;
  LONG_PTR base_priority;
  ULONG_PTR process_id;
  ULONG_PTR parent_process_id;
};
using QueryInformationProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);

void* peb_address(HANDLE process) {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  auto query = ntdll ? reinterpret_cast<QueryInformationProcess>(
                           reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationProcess")))
                     : nullptr;
  ProcessBasicInformation information = {};
  ULONG size = 0;
  if (!query || query(process, 0 /* ProcessBasicInformation */, &information, sizeof information, &size) != 0)
    return nullptr;
  return information.peb;
}

bool same_bitness(HANDLE process) {
  BOOL ours = FALSE, theirs = FALSE;
  return IsWow64Process(GetCurrentProcess(), &ours) && IsWow64Process(process, &theirs) && ours == theirs;
}

void count_entry(const GdiHandleEntry& entry, GdiCounts& counts) {
  if (entry.type == 0 || entry.stock) return;
  ++counts.total;
  switch (entry.full_type) {
    case 0x01: ++counts.dc; break;
    case 0x04: ++counts.region; break;
    case 0x05:  // a DIB section's surface
    case 0x09: ++counts.bitmap; break;
    case 0x08: ++counts.palette; break;
    case 0x0a: ++counts.font; break;
    case 0x10: ++counts.brush; break;
    case 0x30:
    case 0x50: ++counts.pen; break;
    default: ++counts.other; break;
  }
}

// nullopt when the table cannot be read (another bitness, or a system without it).
std::optional<GdiCounts> gdi_counts(HANDLE process) {
  if (!same_bitness(process)) return std::nullopt;
  auto* peb = static_cast<char*>(peb_address(process));
  void* table = nullptr;
  SIZE_T read = 0;
  if (!peb || !ReadProcessMemory(process, peb + kPebGdiTableOffset, &table, sizeof table, &read) || !table)
    return std::nullopt;
  auto entries = std::make_unique<GdiHandleEntry[]>(kGdiTableEntries);
  if (!ReadProcessMemory(process, table, entries.get(), kGdiTableEntries * sizeof(GdiHandleEntry), &read) ||
      read != kGdiTableEntries * sizeof(GdiHandleEntry))
    return std::nullopt;
  GdiCounts counts;
  for (std::size_t i = 0; i < kGdiTableEntries; ++i) count_entry(entries[i], counts);
  return counts;
}

void print_count(const char* name, unsigned long long value) {
  print_line(std::string(name) + "\t" + std::to_string(value));
}

}  // namespace

int cmd_process_counts(const Args& args) {
  if (args.size() != 1) return usage_error("process-counts <pid>");
  const auto pid = parse_integer(args[0], 1, 0xFFFFFFFF);
  if (!pid) return fail("not a process id: " + args[0]);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, static_cast<DWORD>(*pid));
  if (!process) return fail("cannot open process " + args[0] + ": " + last_error_text());

  WindowCounts windows;
  windows.process = static_cast<DWORD>(*pid);
  EnumWindows(count_top_level, reinterpret_cast<LPARAM>(&windows));
  const std::optional<GdiCounts> gdi = gdi_counts(process);
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  const bool memory_known = GetProcessMemoryInfo(process, &memory, sizeof memory);
  DWORD handles = 0;
  const bool handles_known = GetProcessHandleCount(process, &handles);
  const DWORD gui_gdi = GetGuiResources(process, GR_GDIOBJECTS);
  const DWORD gui_user = GetGuiResources(process, GR_USEROBJECTS);
  CloseHandle(process);

  print_count("windows", static_cast<unsigned long long>(windows.top_level + windows.children));
  print_count("top_level", static_cast<unsigned long long>(windows.top_level));
  print_count("visible_top_level", static_cast<unsigned long long>(windows.visible_top_level));
  print_count("child_windows", static_cast<unsigned long long>(windows.children));
  if (gdi) {
    print_count("gdi", static_cast<unsigned long long>(gdi->total));
    print_count("gdi_dc", static_cast<unsigned long long>(gdi->dc));
    print_count("gdi_region", static_cast<unsigned long long>(gdi->region));
    print_count("gdi_bitmap", static_cast<unsigned long long>(gdi->bitmap));
    print_count("gdi_palette", static_cast<unsigned long long>(gdi->palette));
    print_count("gdi_font", static_cast<unsigned long long>(gdi->font));
    print_count("gdi_brush", static_cast<unsigned long long>(gdi->brush));
    print_count("gdi_pen", static_cast<unsigned long long>(gdi->pen));
    print_count("gdi_other", static_cast<unsigned long long>(gdi->other));
  }
  if (memory_known) {
    print_count("private_bytes", memory.PagefileUsage);
    print_count("working_set", memory.WorkingSetSize);
  }
  if (handles_known) print_count("handles", handles);
  print_count("gui_gdi", gui_gdi);
  print_count("gui_user", gui_user);
  return 0;
}

}  // namespace kvtool
