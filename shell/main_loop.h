#pragma once
// The program's one event loop: a 200 ms wait, dispatch by window and control number, and the
// idle work (focus-loss close, corner opening, periodic save, catalogue refresh, window scan).
#include <cstdint>

#include "shell/button_window.h"
#include "shell/program_hooks.h"
#include "shell/window_scan.h"
#include "ui/events.h"

namespace shell {

constexpr int kEventWaitMs = 200;
constexpr std::int64_t kSavePeriodSeconds = 60;
constexpr std::int64_t kScanPeriodSeconds = 7;
constexpr int kCornerSize = 5;

// Periods are measured in MonotonicSeconds: setting the clock neither stops nor bunches them.
struct LoopState {
  std::int64_t last_save = 0;
  std::int64_t last_scan = 0;
  bool corner_latch = false;
  bool launched_since_scan = false;
  KnownProcesses known_processes;
  std::uint32_t scans = 0;  // window scans made since the start
};

// The loop's state. Launching tells it when it started something (launched_since_scan).
LoopState& Loop();

// Handles one event; true when it asks to quit.
bool DispatchEvent(const ui::Event& event, const ProgramHooks& hooks);

// Idle work A-E, in this order, for a wait that ended without an event.
void IdleWork(const ProgramHooks& hooks);

// Opens the menu as a click on the button window does.
void OpenMenu(const ProgramHooks& hooks);

// Runs until a quit command, then the exit sequence; returns the exit code. While it runs, the end
// of the session saves at once (SaveForSessionEnd).
int RunMainLoop(const ProgramHooks& hooks);

// Save, record the install folder, stop the refresh and a running console helper. When the
// refresh does not end in its time, the process ends here, after saving.
void ExitSequence(const ProgramHooks& hooks);

// The session ends and the process may be ended any moment: an open settings window is applied
// as its close box would, then the exit's saving is done.
void SaveForSessionEnd(const ProgramHooks& hooks);

}  // namespace shell
