#pragma once
// Resource number of the console helper's image inside the program (type RCDATA). Read by the
// resource compiler too: keep this file to preprocessor lines.
#define KV_CONSOLE_HELPER_RESOURCE 201
