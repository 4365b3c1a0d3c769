#pragma once
// The RTF subset that cells and files meet, read into a plain model of
// paragraphs and formatted runs and written back from it. The rich edit
// (RichEdit.h) shows the model; nothing here needs a widget.
//
// The reader takes: groups; \ansicpg (Windows-1252 is the only code page)
// with \'hh; \u with \uc; the font and colour tables; \b \i \ul \strike \f
// \fs \cf \highlight \up \dn \super \sub \nosupersub \plain; \par \line \tab;
// \pard with \ql \qr \qc \qj. Unknown control words, {\* destinations and the
// known destinations without text (style sheet, document information,
// pictures, headers, ...) are skipped; braces missing at the end close there;
// groups nest at most RtfMaxDepth deep (a deeper group is skipped whole). It
// never raises, takes time and memory in proportion to its input, and reads
// only inside its text.
//
// The writer emits the same subset: characters outside Windows-1252 as \u
// with "?" for readers without Unicode, the rest as text or \'hh, so that
// what it writes is 7-bit and reads back to the same model.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <vector>

#include "platform/graphics/Colors.h"

enum class TRtfScript { None, Super, Sub };
enum class TRtfAlignment { Left, Right, Center, Justify };

// The look of a run of characters.
struct TRtfCharFormat {
    // The font table's name; empty when the document names none.
    QString FontName;
    // In half-points, as \fs counts (24: 12 points).
    int FontSize = 24;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    // clNone: the automatic colour; \highlight's colour behind the text.
    TColor Color = clNone;
    TColor BackColor = clNone;
    // Vertical offset in twips (\up and \dn count half-points, 10 twips
    // each): positive raises the characters.
    int Offset = 0;
    // \super and \sub, kept apart from the offset.
    TRtfScript Script = TRtfScript::None;
    friend bool operator==(const TRtfCharFormat&, const TRtfCharFormat&) = default;
};

// Characters of one look. The text holds no paragraph breaks; a line break
// (\line) is U+2028 and a tab (\tab) is "\t".
struct TRtfRun {
    QString Text;
    TRtfCharFormat Format;
    friend bool operator==(const TRtfRun&, const TRtfRun&) = default;
};

struct TRtfParagraph {
    TRtfAlignment Alignment = TRtfAlignment::Left;
    // Neighbouring runs differ in their look; none is empty.
    std::vector<TRtfRun> Runs;
    friend bool operator==(const TRtfParagraph&, const TRtfParagraph&) = default;
};

struct TRtfDocument {
    // At least one paragraph when read.
    std::vector<TRtfParagraph> Paragraphs;
    friend bool operator==(const TRtfDocument&, const TRtfDocument&) = default;
    // The text alone: paragraphs and line breaks as CR LF.
    QString PlainText() const;
};

inline constexpr int RtfMaxDepth = 100;

// Whether a run may hold the character: no control character but the tab,
// none of the text engine's paragraph and object marks.
bool IsRtfRunChar(char16_t c);

// Whether a text (or the bytes of one) is an RTF document: it starts with "{\rtf".
bool IsRtfText(QStringView Text);
bool IsRtfBytes(const QByteArray& Bytes);

// Reads characters as they stand (a cell's text): characters beyond 8 bits
// are taken as they are, \'hh is Windows-1252.
TRtfDocument ReadRtf(QStringView Text);
// Reads bytes: every byte is a Windows-1252 character.
TRtfDocument ReadRtf(const QByteArray& Bytes);

QByteArray WriteRtf(const TRtfDocument& Document);
