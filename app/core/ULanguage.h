#pragma once
// The language table: every text the forms show, by index, filled with the
// built-in English texts and overlaid from the chosen language file.

#include <QString>
#include <QStringList>
#include <set>

extern QStringList LanguageTable;
extern int Lang_Count;

// Clears the table and fills the 2900 built-in texts.
void Init_Lang_Default();
// Overlays the table with the texts of one language file. False, with the
// reason and the table unchanged, when the file cannot be read (not a
// regular file, past the read limit, no access).
bool Load_Lang_File(const QString& fileName, QString* error = nullptr);
// Built-in texts, then the file of Language_Name; a missing file falls back
// to English (and Language_Name becomes "English"). A file that is there but
// cannot be read is reported, and the built-in texts stay.
void Load_Language();
// Writes LANGUAGE/English.lng from the built-in texts when it is missing, so
// that English can be picked again after another language; an existing one,
// perhaps the user's own, stays.
void Write_English_Lang_File();

// The text at an index; a blank for an index outside the table.
QString Lang(int index);

// When set, every index read through Lang is added to it (lets a check list
// the texts the forms really use).
extern std::set<int>* Lang_Use_Recorder;
