#pragma once
// Small helpers shared by the test binaries.

#include <QImage>
#include <QString>
#include <functional>

class QWidget;

namespace testutil {

// Folder under the build tree for pictures and files the tests write.
QString OutputDir();
// tests/data in the source tree.
QString DataPath(const QString& name);
// A fresh, empty temporary folder for one test, removed at exit.
QString TempDir();
// Renders a widget (shown offscreen) to <OutputDir>/<name>.png; returns the path.
QString SaveWidgetPng(QWidget* w, const QString& name);
// Writes an image to <OutputDir>/<name>.png; returns the path.
QString SaveImagePng(const QImage& img, const QString& name);
// Compares an image with the golden picture tests/data/golden/<name>.png.
// When the golden file is missing, or MORV_UPDATE_GOLDEN is set, it writes it
// and returns true. Otherwise returns true when both are the same size and
// pixels differ by at most `tolerance` per channel in at most `maxBadPixels`.
bool MatchesGolden(const QImage& img, const QString& name, int tolerance = 0, int maxBadPixels = 0);

// Runs the event loop until `done` is true; false when `ms` passed first (a
// guard against a hanging run, not a measure).
bool PumpUntil(const std::function<bool()>& done, int ms = 30000);

} // namespace testutil
