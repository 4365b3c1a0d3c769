#pragma once
// Mark-up text helpers: entities, colour names and hex colours, plain text of
// a mark-up text, search-hit highlighting, and reading and rewriting the
// embedded-control (CONTROL) tags that the grid edits in place.

#include <QString>

#include "platform/graphics/Colors.h"
#include "platform/runtime/Types.h"

class TCanvas;
class TImageList;
class THTMLPictureCache;
class TPictureContainer;

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

// ---------------------------------------------------------------------------
// The mark-up renderer: measures, paints and hit-tests a mark-up text in one
// call.

struct THTMLDrawInput {
    TCanvas* Canvas = nullptr; // its font, pen and brush are used and restored
    QString Text;
    TRect Rect;
    const TImageList* Images = nullptr; // pictures for "IDX:" sources
    int XPos = -1, YPos = -1; // hit-test point
    int FocusLink = -1; // 0-based link drawn with a focus rectangle
    int HoverLink = -1; // 1-based link under the mouse (MouseLink of an earlier call)
    int ShadowOffset = 1;
    bool CheckHotSpot = false; // hit test only: the second pass measures
    bool CheckHeight = false; // measure only: no second pass
    bool Print = false;
    bool Selected = false; // keep the canvas font colour
    bool Blink = true; // blink phase on
    bool HoverStyle = false; // only the hovered link is styled
    bool WordWrap = false;
    bool ControlDown = false;
    double ResFactor = 1.0; // printing scale
    TColor URLColor = clBlue;
    TColor HoverColor = clNone;
    TColor HoverFontColor = clNone;
    TColor ShadowColor = clGray;
    THTMLPictureCache* PictureCache = nullptr;
    TPictureContainer* PictureContainer = nullptr;
    const void* WinHandle = nullptr; // window whose theme draws controls
    int BiDiMode = 0; // 0 left to right, 1 right to left, other: right-to-left reading
};

struct THTMLDrawOutput {
    QString Anchor; // HREF under the point, or "ctrl"; written only on a hit
    QString StripVal; // plain text, each line once
    QString FocusAnchor;
    QString AnchorHint; // TITLE under the point
    int XSize = 0, YSize = 0;
    int HyperLinks = 0;
    int MouseLink = -1;
    TRect HoverRect;
    TRect ControlRect;
    QString ControlID; // in hit-test-only mode also the control to locate
    QString ControlValue;
    QString ControlType;
};

bool DrawHTMLText(const THTMLDrawInput& In, THTMLDrawOutput& Out);
// The colours of HI text, for every caller in the process.
void SetHTMLHighlightColors(TColor Background, TColor Text);
bool DetectWinXP();
