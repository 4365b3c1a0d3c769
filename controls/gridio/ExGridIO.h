#pragma once
// What the grid's file formats share: reading a file in blocks (grid files
// may be far larger than the whole-file reader takes), saving bytes whole,
// splitting text into lines and the progress rule.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "platform/runtime/FileUtils.h"

class TStream;

namespace gridio {

// The rest of a stream from its position, read in blocks.
QByteArray ReadStreamBytes(TStream* Stream);
// The whole file through a file stream; EFOpenError when it cannot be opened.
QByteArray ReadFileInBlocks(const QString& FileName);
// Saves the bytes whole, the previous file kept on failure; raises
// EFCreateError with the file name and the reason.
void SaveBytes(const QString& FileName, const QByteArray& Bytes);
// Writes the rest of a piecewise text and puts the file in place; raises
// EFCreateError with the file name and the reason.
void CommitText(TTextFileWriter& Writer, QString& Rest);
// Lines ended by CR LF, LF or CR; a last line without an end counts.
QStringList SplitLines(const QString& Text);
// Lines joined with CR LF after each one.
QString JoinLines(const QStringList& Lines);
// Part * 100 / max(1, Whole), rounded.
int Percent(qint64 Part, qint64 Whole);

} // namespace gridio
