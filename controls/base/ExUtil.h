#pragma once
// Text helpers of the grid library: cell-text kinds, number and date texts,
// line-break conversions for storage, quoting, links, the wide-encoded cell
// text, the HTML clipboard block and the filter-expression matcher.
//
// Positions are 0-based and -1 means "not found". Number and date texts follow
// the process-wide format settings (decimal, thousand, date and time
// separators, short date format), read at call time.

#include <QString>
#include <QStringList>
#include <QStringView>

#include "platform/runtime/Types.h"

class TStrings;

// ---------------------------------------------------------------------------
// Kinds of cell text and numbers

// 0 plain, 1 mark-up (only with HTML allowed), 2 rich text, 3 formula,
// 5 wide-encoded text.
int CellTextType(const QString& Text, bool HTML);

// 0 integer, 1 decimal number in the locale's form, 2 text, 5 number with exponent.
int ClassifyCellNumber(const QString& Text);
// A formatted number reduced to digits, ".", sign and exponent; "(…)" and a
// leading "-" make it negative.
QString UnformatNumberText(const QString& Text);
// The locale's decimal separator turned into "." and its thousand separators dropped.
QString NormalizeNumberText(const QString& Text);

bool IsNumberChar(QChar Ch);
bool IsDigitOrMinus(QChar Ch);
bool IsNumberTextChar(QChar Ch);
bool IsNumberOrSignChar(QChar Ch);
bool IsUnformattedNumberChar(QChar Ch);

// ---------------------------------------------------------------------------
// Dates

// Month/day/year and day/month/year texts with "/", "." or "-" between the
// fields. A one- or two-digit year gets its century (up to 25: 20xx, else
// 19xx); a longer year is kept. 0 for a malformed or impossible date.
TDateTime ParseShortDateUS(const QString& Text);
TDateTime ParseShortDateEU(const QString& Text);
// The locale's date separator at position 1 or later and again at least two
// characters further on.
bool HasDateSeparators(const QString& Text);
// Moves the date by the one calendar part that is not 0 (a day count, whole
// years or whole months, clamping the day to the month's length); when none
// or more than one part is set it moves by ExtraDays. Raises EConvertError
// when the result leaves the calendar.
TDateTime AddToDate(int Years, int Months, int Days, double ExtraDays, TDateTime Date);
// A date (in the locale's short date order and separator) optionally followed
// by a blank and a time; false when malformed or impossible. A date whose time
// part has no time separator is still stored in DT, but the result is false.
bool ParseDateTimeText(const QString& Text, TDateTime& DT);

// ---------------------------------------------------------------------------
// Line breaks and control characters (CR 13, LF 10, VT 11)

QString LineBreaksToHTML(const QString& Text);
QString EscapedLineBreaksToCR(const QString& Text);
QString CRToEscapedLineBreaks(const QString& Text);
void QuoteMultiLineText(QString& Text);
void CRLFToLF(QString& Text);
void VTabToCRLF(QString& Text);
void LineBreaksToTilde(QString& Text);
void TildeToLineBreaks(QString& Text);
// Keeps a multi-line text on one line of a grid file: CR becomes 9, LF 8 and
// character 0 becomes 1, when the text holds a CR, an LF or a character 8.
// Such a text's own TAB, 8, 1 and 2 are written as pairs starting with 2,
// and one without an LF starts with the pair 2, 8, so that decoding gives
// every text back as it was.
QString EncodeControlChars(const QString& Text);
// The reverse, when the text holds character 8; the first line only unless Whole.
QString DecodeControlChars(const QString& Text, bool Whole);
// The text before the first CR; removes it, the CR and a following LF from
// Text, which is emptied unless a CR was found and KeepRest is set.
QString ExtractFirstLine(QString& Text, bool KeepRest);
int CountLines(const QString& Text, bool MultiLine);
QString RemoveCR(const QString& Text);
QString CRToLF(const QString& Text);

// ---------------------------------------------------------------------------
// Quoting and small text functions

QString DoubleQuoteChars(const QString& Text);
QString RemoveDoubledChar(QChar Ch, const QString& Text);
// Index of the last character of the first run of Ch of odd length that ends
// before the text's end, or of the last character when a run reaches the end;
// -1 when none. Also stored in Pos when found.
int FindUnpairedChar(QChar Ch, const QString& Text, int& Pos);
int CountUnpairedChars(QChar Ch, const QString& Text);
int CountChar(QChar Ch, const QString& Text);
void FillStringChar(QString& Text, QChar Ch);
// The text before the first Delimiter, removed from Text together with the
// delimiter's first character; empty (Text unchanged) when absent.
QString ExtractToDelimiter(QString& Text, const QString& Delimiter);
QString ConcatStrings(const QStringList& List);
QString ConcatStrings(const TStrings* List);
// Sub is expected in upper case.
int PosInUpperCase(const QString& Sub, const QString& Text);
int VarPos(const QString& Sub, const QString& Text, int& Pos);
int FindCharPos(QChar Ch, const QString& Text, int& Pos);
int CharPos(QChar Ch, const QString& Text);
int WidePos(const QString& Sub, const QString& Text);
// Between the ANSI code page (Windows-1252) and the OEM code page (437), each
// byte held as one character.
void AnsiToOemText(QString& Text);
void OemToAnsiText(QString& Text);
int IntMax(int A, int B);
int IntMin(int A, int B);
// A bound of 0 or less is not applied; equal bounds leave the value unchanged.
int ClampToLimits(int Value, int Lower, int Upper);
// A grid rectangle keeps its last column and row: both bounds are included.
bool CellInGridRect(const TRect& GridRect, int ACol, int ARow);
// "R<row>C<col>" (any case): row into P.Y, column into P.X.
bool ParseRowColRef(const QString& Text, TPoint& P);
QString CapitalizeName(const QString& Text);

// ---------------------------------------------------------------------------
// Links

bool IsURL(const QString& Text);
void StripURLProtocol(QString& Text);
// Escapes "<" and ">" and wraps the first link starting with Prefix (given in
// upper case) in an anchor; 0 (Result untouched) when there is none, else 1.
int TextToHTML(const QString& Text, const QString& Prefix, QString& Result);

// ---------------------------------------------------------------------------
// Wide-encoded cell text and the HTML clipboard block

// "|\" followed by the high and the low byte of every UTF-16 unit.
QString EncodeWideText(const QString& Wide);
// The wide text of an encoded cell text; any other text unchanged.
QString DecodeWideText(const QString& Text);
// Replaces an HTML fragment by the whole "HTML Format" clipboard block.
void WriteHTMLClipboardFragment(QString& Text);

// ---------------------------------------------------------------------------
// Filter expressions: wildcards ("*", "?"), negation ("!"), comparisons
// (">", ">=", "<", "<=" on numbers, dates or texts) and conditions joined by
// "&" (and) or ";", "^", "|" (or), left to right, with parentheses.

bool MatchFilterExpression(const QString& Expression, const QString& Value, bool CaseSensitive);
bool MatchFilterCondition(const QString& Condition, const QString& Value);
// Scanning helpers shared by the matchers: the first operator ("(", ";", "^",
// "&", "|") at or after From outside double quotes, and the ")" closing the "("
// at Open; -1 for none. Deeper group nesting than the limit is malformed.
qsizetype FindFilterOperator(QStringView Expression, qsizetype From);
qsizetype FindClosingParen(QStringView Expression, qsizetype Open);
inline constexpr int kMaxFilterGroupDepth = 64;
