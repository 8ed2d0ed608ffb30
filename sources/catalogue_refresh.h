#pragma once
// The catalogue refresh: a background thread that lists the Start menu through the console
// helper and publishes the catalogue it read. The main loop starts it; at most one runs.
#include <cstdint>

namespace sources {

// Once a catalogue exists, a refresh starts at most this often.
constexpr std::int64_t kRefreshPeriodSeconds = 45;
// How long a menu build waits for the first catalogue, in polls of kCatalogueWaitPollMs.
constexpr int kCatalogueWaitPolls = 5;
constexpr int kCatalogueWaitPollMs = 1000;
// How long the exit waits for a running refresh before ending it.
constexpr int kRefreshExitWaitMs = 15000;

// Idle work of the main loop: starts a refresh (below-normal priority) when no catalogue exists
// yet or more than 45 seconds have passed since the last check, unless one is still running.
void RefreshCheck();

// The refresh itself, from start to end (the thread's body; tests and probes call it directly).
void RunCatalogueRefresh();

// True while a refresh thread runs.
bool RefreshRunning();

// Waits, polling once a second, until a catalogue is published; gives up after a few seconds
// (false) so that the menu can open without programs while refreshes go on.
bool WaitForCatalogue();

// Exit: gives a running refresh up to 15 seconds, then ends it.
void FinishRefreshAtExit();

// Back to the state of start-up (no thread, no check yet).
void ResetRefreshState();

}  // namespace sources
