#pragma once
// Whole-file reads and writes for test fixtures.

#include <QByteArray>
#include <QString>

namespace testutil {

// The file's bytes, or empty when it cannot be opened.
QByteArray ReadFile(const QString& path);
// Replaces the file with `bytes`; a file that cannot be opened fails the test.
void WriteFile(const QString& path, const QByteArray& bytes);

} // namespace testutil
