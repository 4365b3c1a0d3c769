#pragma once
// The language table written as a language file: one "STR<index> = <text>"
// line per slot, the form the loader reads, so that the English file made
// from the built-in texts reads back to the very same texts. Needs nothing but
// the texts, so the build can write the file beside the program as well.

#include <QByteArray>
#include <QString>
#include <QStringList>

// Slots of the language table.
inline constexpr int Lang_Table_Size = 2900;

// The language file of the built-in texts, in the LANGUAGE folder.
inline const QString English_Lang_File_Name = QStringLiteral("English.lng");

// The built-in English texts by index, every slot filled (" " where the table
// has no text).
QStringList Lang_Default_Table();

// The texts as a language file: UTF-8 with its byte-order mark, lines ending
// in CR LF, a text that the loader's trimming would change (blanks or control
// characters at either end, or an empty one) between two pilcrows.
QByteArray Lang_File_Bytes(const QStringList& texts);
