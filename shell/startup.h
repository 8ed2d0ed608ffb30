#pragma once
// Start-up: everything the GUI thread needs before the main loop, once and in a fixed order.
#include "shell/program_hooks.h"

namespace shell {

enum class StartupOutcome {
  EnterLoop,  // ready for the main loop
  End,        // refused to run; end through the normal end path without writing anything
};

constexpr char kWrongArchitectureText[] =
    "Veuillez utiliser la version appropriée du logiciel 64 bits pour ce système 64 bits.";
constexpr char kNoScreenTitle[] = "Erreur";
constexpr char kNoScreenText[] = "Impossible de lire les informations de l'écran.";

StartupOutcome RunStartup(const ProgramHooks& hooks);

// The normal end path: releases windows, images and fonts and the fatal error report.
void NormalEnd();

}  // namespace shell
