#pragma once
// Start-up writes the console helper the program carries into the data folder, fresh at every
// start, so that the helper always matches the program that runs it.

namespace shell {

// Creates or replaces data folder + "KestrivalumeConsole.exe". A failure is not reported; a
// program that carries no helper leaves the file as it is.
void WriteConsoleHelper();

}  // namespace shell
