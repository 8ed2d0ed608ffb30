#pragma once
// The fatal error report: when a processor exception (invalid memory access, division by zero,
// ...) is handled nowhere, the program shows what happened and where (see location_marker.h),
// copies the report to the clipboard and ends. The user's choice in the report's message box:
//   No   the normal end path: the registered release function runs (only for a fault on the
//        thread that installed the report, which owns the windows), the previous handler is put
//        back and the process exits with code 0. Settings are not saved.
//   Yes  the process is terminated at once with code 0, releasing nothing.
// Execution never resumes at the failing instruction. The report is shown once per process.

#include "platform/fatal_error_text.h"

namespace platform {

// Registers the report as the process's handler of last resort; the previous one is kept.
// A second call does nothing.
void InstallFatalErrorReport();

// Names the program in the report (the main program unless told otherwise). `program` must
// live as long as the process.
void SetReportedProgram(const ReportedProgram& program);

// Puts the previous handler back (part of the normal end path).
void RemoveFatalErrorReport();

// What the normal end path releases (windows, images, fonts, ...). It must not save settings:
// they may be what the crash left half-changed. nullptr: nothing to release (the default).
void SetNormalEndPath(void (*release_resources)());

}  // namespace platform
