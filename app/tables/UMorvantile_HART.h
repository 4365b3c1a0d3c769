#pragma once
#include <functional>
// The program's start-up list: every form created once, in a fixed order,
// each into its singleton; the main window first, so that the shared state
// and the language table are filled before any other form reads them.

// Creates the 24 forms through Application->CreateForm and hands the
// mapping-table forms and file writers to the main window.
void Create_Forms();

// Hands the mapping-table forms (as far as they exist) to the main window.
void Register_Table_Forms();

// The program's whole run, as its entry runs it: the grids' process-wide
// state, every form (Create_Forms), then `started` when given, the message
// loop until the main window closes, and the grids' state released. Returns
// the exit code.
int Run_Morvantile_HART(int argc, char** argv, const std::function<void()>& started = {});
