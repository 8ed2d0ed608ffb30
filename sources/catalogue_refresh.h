#pragma once
// The catalogue refresh: a background thread that lists the Start menu through the console
// helper and publishes the catalogue it read. The main loop starts it; at most one runs.
#include <cstdint>

namespace sources {

// Once a catalogue exists, the Start menu is looked at this often: a refresh runs when it changed.
constexpr std::int64_t kRefreshPeriodSeconds = 45;
// A refresh runs at least this often, changed or not.
constexpr std::int64_t kSafetyNetSeconds = 30 * 60;

// How long the exit waits for a running refresh to end.
constexpr int kRefreshExitWaitMs = 15000;

// Idle work of the main loop: when no catalogue exists yet or more than 45 seconds have passed
// since the last check, starts a refresh (below-normal priority) unless one is still running or
// nothing changed: the watches of every Start-menu folder (made here, on the GUI thread) tell no
// change since the last refresh began, the safety net is not due, and the icons of the published
// catalogue are of the side the menu draws now.
void RefreshCheck();

// The refresh itself, from start to end (the thread's body; tests and probes call it directly).
// The first of a run publishes the kept catalogue, if there is a whole one. Then the helper
// lists the Start menu; where not every folder is watched, only when the Start menu's stamp
// changed since the last refresh began (or it has not published yet, or the safety net is
// due). Without anything published yet it lists without its pauses. What it read is published,
// and kept on disk when it differs from what is kept.
void RunCatalogueRefresh();

// True while a refresh thread runs.
bool RefreshRunning();

// How many refreshes have ended since the start, whichever way (any thread may ask).
std::uint32_t RefreshesEnded();
// How many due checks RefreshCheck has made since the start (GUI thread).
std::uint32_t RefreshChecksMade();

// Exit: ends the console helper a refresh runs, so that the refresh ends by itself, and waits up
// to 15 seconds for it. False when it still runs then (the program must then end at once).
bool FinishRefreshAtExit();

// Back to the state of start-up (no thread, no check yet).
void ResetRefreshState();

}  // namespace sources
