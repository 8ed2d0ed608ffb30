#pragma once
// Start-up: everything the GUI thread needs before the main loop, once and in a fixed order.
#include "shell/program_hooks.h"

namespace shell {

enum class StartupOutcome {
  EnterLoop,  // ready for the main loop
  End,        // refused to run; end through the normal end path without writing anything
};

// Font numbers (1 and 8 are reserved names of two bold Arial fonts nothing else refers to).
constexpr int kFontReserved1 = 1;
constexpr int kFontReserved8 = 8;
constexpr int kFontLargeTitle = 11;
constexpr int kFontInformation = 12;
constexpr int kFontSmallBold = 13;
constexpr int kFontControl = 14;
constexpr int kFontLink = 15;

constexpr char kWrongArchitectureText[] =
    "Veuillez utiliser la version appropriée du logiciel 64 bits pour ce système 64 bits.";
constexpr char kNoScreenTitle[] = "Erreur";
constexpr char kNoScreenText[] = "Impossible de lire les informations de l'écran.";

StartupOutcome RunStartup(const ProgramHooks& hooks);

// The normal end path: releases windows, images and fonts and the fatal error report.
void NormalEnd();

}  // namespace shell
