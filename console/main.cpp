// The console helper lists Start-menu folders and resolves shortcuts for the main program.
// Its listing modes come with the catalogue; for now it only starts and ends cleanly.
int main() { return 0; }
