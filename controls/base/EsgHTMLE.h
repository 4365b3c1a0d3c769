#pragma once
// Mark-up text helpers: entities, colour names and hex colours, plain text of
// a mark-up text, search-hit highlighting, and reading and rewriting the
// embedded-control (CONTROL) tags that the grid edits in place.

#include <QString>

#include "platform/graphics/Colors.h"

// "&lt;", "&gt;", "&amp;" and "&quot;", and with Named the accented letters
// and signs of the entity table; each reference is decoded once.
QString DecodeHTMLEntities(const QString& Text, bool Named);
QString EncodeHTMLEntities(const QString& Text, bool Named);
QString SpacesToNbsp(const QString& Text);

// A lower-case colour name ("clred", "clbtnface"); 0 (black) when unknown.
TColor HTMLColorFromName(const QString& Name);
// "#RRGGBB"; a missing or non-hex digit reads as 0.
TColor HTMLColorFromHex(const QString& Text);

// "<BR>" and "<HR>" become CR LF, every other tag is removed.
QString StripHTMLTags(const QString& Text);
// Wraps every hit of Search in the visible text in <Tag>…</Tag>.
QString HighlightHTMLText(const QString& Text, const QString& Search, const QString& Tag, bool CaseSensitive);
// Removes the <Tag> and </Tag> tags (any case) and turns "&lt;", "&gt;" back.
QString UnhighlightHTMLText(const QString& Text, const QString& Tag);

// The attributes of one CONTROL tag; PROP and VALUE decoded, TYPE upper-cased.
void ParseHTMLControlTag(const QString& TagText, QString& CType, QString& CID, QString& CMaxLen, QString& CProp,
    QString& CHeight, QString& CWidth, QString& CValue);
bool HasHTMLControls(const QString& Text);
// The ID of the next editable control (not BUTTON, CHECK or RADIO) after the
// one with CurrentID, from the start when CurrentID is empty; empty when none.
QString GetNextHTMLControlID(const QString& Text, const QString& CurrentID);
bool GetHTMLControlValue(const QString& Text, const QString& ID, QString& Value);
QString GetHTMLControlProp(const QString& Text, const QString& ID);
int GetHTMLControlMaxLen(const QString& Text, const QString& ID);
// Rewrites the first control with that ID with the new value; false, and Text
// unchanged, when there is none.
bool SetHTMLControlValue(QString& Text, const QString& ID, const QString& Value);
QString ClearHTMLRadioControls(const QString& Text);
