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
// Overlays the table with the texts of one language file.
void Load_Lang_File(const QString& fileName);
// Built-in texts, then the file of Language_Name; a missing file falls back
// to English (and Language_Name becomes "English").
void Load_Language();

// The text at an index; a blank for an index outside the table.
QString Lang(int index);

// When set, every index read through Lang is added to it (lets a check list
// the texts the forms really use).
extern std::set<int>* Lang_Use_Recorder;
