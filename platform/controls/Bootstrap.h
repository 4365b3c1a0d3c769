#pragma once
#include <QString>
#include <functional>

// Starts the Qt application object (one that shows an exception reaching the
// event loop in an error box and goes on), initialises Application, calls
// `createForms` (which creates the forms with Application->CreateForm; the
// first is the main form), runs the event loop until the main form closes,
// frees the forms and returns the exit code.
int RunApplication(int argc, char** argv, const std::function<void()>& createForms);

// Runs an empty main form with the given caption until it is closed.
int RunEmptyMainWindow(int argc, char** argv, const QString& caption);
