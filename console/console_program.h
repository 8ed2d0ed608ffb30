#pragma once
// How the console helper names itself in its fatal error report.
#include "platform/fatal_error_text.h"

namespace console {

constexpr platform::ReportedProgram kConsoleProgram = {"Kestrivalume Console", "Version 1.12.01.01",
                                                    "KestrivalumeConsole"};

}  // namespace console
