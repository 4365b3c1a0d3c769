#pragma once
#include <QString>

// Starts the application object and shows an empty main window until it is
// closed; stands in until the configurator's own main window exists.
int RunEmptyMainWindow(int argc, char** argv, const QString& caption);
