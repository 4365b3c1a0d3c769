// The string grid's looks, colour schemes, colour tones and the simple
// appearance settings.

#include "controls/base/ExStyleIF.h"
#include "controls/base/ExUtilDraw.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/controls/Messages.h"
#include "platform/graphics/DrawText.h"

#include <algorithm>

namespace {

struct TLookName {
    const char* Identifier;
    const char* Display;
};

constexpr TLookName LookNames[] = {
    { "glStandard", "Standard" },
    { "glSoft", "Soft" },
    { "glClassic", "Classic" },
    { "glVRK", "VRK" },
    { "glXP", "Windows XP" },
    { "glListView", "ListView" },
    { "glVista", "Windows Vista" },
    { "glWin7", "Windows 7" },
    { "glOffice2007", "Office2007" },
};

// The colours every style with a fixed-cell gradient sets; Keep marks a
// value the style leaves as the look (or the earlier style) left it.
constexpr TColor Keep = clDefault;

struct TStyleColors {
    TExGridStyle Style;
    bool ChangesLook;
    TGridLook Look;
    TColor From, To, MirrorFrom, MirrorTo;
    TColor ActiveCell, ActiveCellTo;
    // Keep: the reset values stay.
    TColor Selection, SelectionTo, SelectionText;
    TColor GridLine, GridFixedLine;
    // The footer before it is written as From / MirrorTo.
    TColor FooterFrom, FooterTo;
};

using G = TGridLook;
using S = TExGridStyle;

constexpr TStyleColors StyleColors[] = {
    { S::gsOffice2003Blue, true, G::glXP, 0xFCE1CB, 0xE0A57D, clNone, clNone, 0x94E6FB, 0x1595EE, 0x94E6FB, 0x1595EE,
        Keep, 0xC0C0C0, 0x808080, 0xFCE1CB, 0xE0A57D },
    { S::gsOffice2003Silver, true, G::glXP, 0xECE2E1, 0xB39698, clNone, clNone, 0x94E6FB, 0x1595EE, 0x94E6FB, 0x1595EE,
        Keep, 0xC0C0C0, 0x808080, 0xECE2E1, 0xB39698 },
    { S::gsOffice2003Olive, true, G::glXP, 0xCFF0EA, 0x8CC0B1, clNone, clNone, 0x94E6FB, 0x1595EE, 0x94E6FB, 0x1595EE,
        Keep, 0xC0C0C0, 0x808080, 0xCFF0EA, 0x8CC0B1 },
    { S::gsOffice2003Classic, true, G::glXP, clWhite, 0xCCD4D8, clNone, clNone, 0xD8D5D4, 0xD8D5D4, Keep, Keep, Keep,
        0xC0C0C0, 0x808080, clWhite, 0xD8D5D4 },
    { S::gsOffice2007Luna, true, G::glOffice2007, 0xFBF9F6, 0xE8DBD2, clNone, clNone, 0x9DD8F9, 0x5EC1F1, 0x5EC1F1,
        Keep, clBlack, 0xF1EDEB, 0xD1BBA4, 0xFFEFE3, 0xFFD2AF },
    { S::gsOffice2007Obsidian, true, G::glOffice2007, 0xF7F7F7, 0xDEDEDE, clNone, clNone, 0x9DD8F9, 0x5EC1F1, 0x5EC1F1,
        Keep, clBlack, 0xE5D7D0, 0x808080, 0xF2F1F0, 0xC9C2BD },
    { S::gsWindowsXP, true, G::glXP, clBtnFace, clBtnFace, clNone, clNone, clBtnFace, clBtnFace, Keep, Keep, Keep,
        0xC0C0C0, 0x808080, clBtnFace, clBtnFace },
    { S::gsWhidbey, false, G::glXP, clWhite, clBtnFace, clNone, clNone, 0x94E6FB, 0x1595EE, Keep, Keep, Keep, 0xC0C0C0,
        0x808080, 0xEBEEEF, 0x7E9898 },
    { S::gsOffice2007Silver, true, G::glOffice2007, 0xF3F3F1, 0xCAC9C8, Keep, Keep, 0x99CCFF, 0x699CFF, 0x95C7F5, Keep,
        clBlack, 0xE5D7D0, 0x808080, 0xEEEEEE, 0xC1C1C1 },
    { S::gsWindowsVista, true, G::glVista, clWhite, clWhite, 0xFAF8F7, 0xF4F2F1, 0xFDF8F1, 0xFCEFD5, 0xEACAB6, Keep,
        clBlack, 0xECECF0, 0xD4D2D1, Keep, Keep },
    { S::gsWindows7, true, G::glWin7, 0xFDFCFA, 0xFAF0E6, 0xF4E6DC, 0xF7E9DD, 0xFCEBDC, 0xFCDBC1, 0xEACAB6, Keep,
        clBlack, 0xECECF0, 0xD4D2D1, Keep, Keep },
    { S::gsOffice2010Blue, true, G::glOffice2007, 0xF5E7DA, 0xF5E7DA, 0xF5E7DA, 0xF5E7DA, 0x5BD5FF, 0x71EFFF, 0xFFDBB7,
        Keep, clBlack, 0xC0C0C0, 0xC7B0A0, Keep, Keep },
    { S::gsOffice2010Silver, true, G::glOffice2007, 0xE8E3DF, 0xE8E3DF, 0xE8E3DF, 0xE8E3DF, 0x5BD5FF, 0x71EFFF,
        0xFFDBB7, Keep, clBlack, 0xC0C0C0, 0xBAB5B1, Keep, Keep },
    { S::gsOffice2010Black, true, G::glOffice2007, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x5BD5FF, 0x71EFFF, 0xFFDBB7,
        Keep, clBlack, 0xC0C0C0, 0x444444, Keep, Keep },
};

const TStyleColors* FindStyleColors(TExGridStyle AStyle)
{
    for (const TStyleColors& s : StyleColors)
        if (s.Style == AStyle)
            return &s;
    return nullptr;
}

// The fixed hover and down gradients a style hands to the control look.
struct TStateGradient {
    TColor From, To, MirrorFrom, MirrorTo, Border;
};

void SetHoverGradient(TControlLook* L, const TStateGradient& g)
{
    L->SetFixedGradientHoverFrom(g.From);
    L->SetFixedGradientHoverTo(g.To);
    L->SetFixedGradientHoverMirrorFrom(g.MirrorFrom);
    L->SetFixedGradientHoverMirrorTo(g.MirrorTo);
    L->SetFixedGradientHoverBorder(g.Border);
}

void SetDownGradient(TControlLook* L, const TStateGradient& g)
{
    L->SetFixedGradientDownFrom(g.From);
    L->SetFixedGradientDownTo(g.To);
    L->SetFixedGradientDownMirrorFrom(g.MirrorFrom);
    L->SetFixedGradientDownMirrorTo(g.MirrorTo);
    L->SetFixedGradientDownBorder(g.Border);
}

void SetSortHeaderColors(TSortSettings* S, TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo)
{
    S->SetHeaderColor(From);
    S->SetHeaderColorTo(To);
    S->SetHeaderMirrorColor(MirrorFrom);
    S->SetHeaderMirrorColorTo(MirrorTo);
}

bool IsGridLookBasic(TGridLook L)
{
    return L == TGridLook::glStandard || L == TGridLook::glSoft || L == TGridLook::glClassic;
}

} // namespace

void TExStringGrid::LookIdentifier(TGridLook ALook, QString& AText)
{
    const int i = int(ALook);
    if (i >= 0 && i < int(std::size(LookNames)))
        AText = QString::fromLatin1(LookNames[i].Identifier);
}

void TExStringGrid::LookDisplayName(TGridLook ALook, QString& AText)
{
    const int i = int(ALook);
    if (i >= 0 && i < int(std::size(LookNames)))
        AText = QString::fromLatin1(LookNames[i].Display);
}

void TExStringGrid::SetLook(TGridLook Value)
{
    if (Value == FLook)
        return;
    FLook = Value;
    ApplyLookColors(Value);
    SetScrollType(TScrollType::ssNormal);
    SetBorderStyle(bsSingle);
    SetBorderColor(TColor(0xB99D7F));
    Invalidate();
}

void TExStringGrid::ApplyLookColors(TGridLook Value)
{
    TControlLook* cl = FControlLook;
    if (Value != TGridLook::glCustom) {
        cl->SetFixedGradientMirrorFrom(clNone);
        cl->SetFixedGradientMirrorTo(clNone);
        cl->SetFixedGradientFrom(clNone);
        cl->SetFixedGradientTo(clNone);
        SetVRKGradientFrom(clNone);
        SetVRKGradientTo(clNone);
        SetVRKGradientMirrorFrom(clNone);
        SetVRKGradientMirrorTo(clNone);
        FSortSettings->SetHeaderColor(clNone);
    }
    switch (Value) {
    case TGridLook::glVista:
        SetStyle(TExGridStyle::gsWindowsVista);
        FStyle = TVRKStyle::tsWindowsVista;
        SetSelectionStyle(TGridSelectionStyle::ssVista);
        return;
    case TGridLook::glWin7:
        SetStyle(TExGridStyle::gsWindows7);
        FStyle = TVRKStyle::tsWindows7;
        SetSelectionStyle(TGridSelectionStyle::ssWin7);
        return;
    case TGridLook::glOffice2007:
        SetStyle(TExGridStyle::gsOffice2007Luna);
        FStyle = TVRKStyle::tsOffice2007Luna;
        SetSelectionStyle(TGridSelectionStyle::ssOffice2007);
        return;
    case TGridLook::glCustom:
        return;
    default:
        break;
    }
    if (!IsDesigning())
        SetDropDownStyles(TVRKStyle::tsWindowsXP);
    SetSelectionStyle(TGridSelectionStyle::ssDefault);
    if (IsLoading())
        return;
    if (IsGridLookBasic(Value)) {
        SetFixedColor(clBtnFace);
        cl->SetFixedGradientFrom(clBtnFace);
        cl->SetFixedGradientTo(clNone);
    } else {
        cl->SetFixedGradientFrom(clWhite);
        cl->SetFixedGradientTo(clBtnFace);
    }
    SetGridFixedLineColor(TColor(0x808080));
    cl->SetFixedGradientMirrorFrom(clNone);
    cl->SetFixedGradientMirrorTo(clNone);
    SetVRKGradientMirrorFrom(clNone);
    SetVRKGradientMirrorTo(clNone);
    SetGridLineColor(TColor(0xC0C0C0));
    if (Value == TGridLook::glVRK || Value == TGridLook::glXP) {
        FActiveCellColor = TColor(0xEACAB6);
        FActiveCellColorTo = clNone;
        SetSelectionColor(TColor(0xEACAB6));
        SetSelectionColorTo(clNone);
        SetSelectionTextColor(clBlack);
        FSearchFooter->SetColor(VRKGradientFrom());
        FSearchFooter->SetColorTo(VRKGradientTo());
        cl->SetFixedGradientFrom(clWhite);
        cl->SetFixedGradientTo(Value == TGridLook::glXP ? clBtnFace : TColor(0xC0C0C0));
        SetHoverGradient(cl, { 0xCFD0D1, 0xBEC6C8, 0xBEC6C8, 0xABBCBF, cl->FixedGradientHoverBorder() });
        SetDownGradient(cl, { 0x868788, 0x737C7E, 0x737C7E, 0x627376, cl->FixedGradientDownBorder() });
    } else {
        FActiveCellColor = TColor(0x808080);
        FActiveCellColorTo = clNone;
        SetSelectionColor(clHighlight);
        SetSelectionTextColor(clHighlightText);
        FSearchFooter->SetColor(clBtnFace);
        FSearchFooter->SetColorTo(clBtnFace);
    }
}

void TExStringGrid::SetStyle(TExGridStyle AStyle)
{
    SetSelectionColor(clHighlight);
    SetSelectionColorTo(clNone);
    SetSelectionTextColor(clHighlightText);
    SetSelectionStyle(TGridSelectionStyle::ssDefault);
    SetSortHeaderColors(FSortSettings, clNone, clNone, clNone, clNone);
    FControlLook->Init();
    ApplyStyleColors(AStyle);
    Invalidate();
}

void TExStringGrid::ApplyStyleColors(TExGridStyle AStyle)
{
    TControlLook* cl = FControlLook;
    if (AStyle == TExGridStyle::gsTerminal) {
        SetLook(TGridLook::glStandard);
        return;
    }
    const TStyleColors* s = FindStyleColors(AStyle);
    if (!s)
        return; // gsCustom: the reset only
    if (s->ChangesLook)
        SetLook(s->Look);

    const bool office2010 = AStyle == TExGridStyle::gsOffice2010Blue || AStyle == TExGridStyle::gsOffice2010Silver
        || AStyle == TExGridStyle::gsOffice2010Black;
    if (office2010) {
        SetVRKGradientHoverFrom(clNone);
        SetVRKGradientHoverTo(clNone);
        SetVRKGradientHoverMirrorFrom(clNone);
        SetVRKGradientHoverMirrorTo(clNone);
        SetVRKGradientHoverBorder(clNone);
        cl->SetFixedGradientMirrorFrom(s->MirrorFrom);
        cl->SetFixedGradientMirrorTo(s->MirrorTo);
    }
    SetVRKGradientFrom(s->From);
    SetVRKGradientTo(s->To);
    if (s->MirrorFrom != Keep)
        SetVRKGradientMirrorFrom(s->MirrorFrom);
    if (s->MirrorTo != Keep)
        SetVRKGradientMirrorTo(s->MirrorTo);
    cl->SetFixedGradientFrom(s->From);
    cl->SetFixedGradientTo(s->To);
    FActiveCellColor = s->ActiveCell;
    FActiveCellColorTo = s->ActiveCellTo;
    if (s->Selection != Keep)
        SetSelectionColor(s->Selection);
    if (s->SelectionTo != Keep)
        SetSelectionColorTo(s->SelectionTo);
    if (s->SelectionText != Keep)
        SetSelectionTextColor(s->SelectionText);
    SetGridLineColor(s->GridLine);
    SetGridFixedLineColor(s->GridFixedLine);
    if (s->FooterFrom != Keep) {
        FSearchFooter->SetColor(s->FooterFrom);
        FSearchFooter->SetColorTo(s->FooterTo);
    }

    bool clearLook = false;
    switch (AStyle) {
    case TExGridStyle::gsOffice2003Classic:
    case TExGridStyle::gsWindowsXP:
    case TExGridStyle::gsWhidbey:
        clearLook = true;
        break;
    case TExGridStyle::gsOffice2007Luna:
        SetHoverGradient(cl, { 0xE4E2DF, 0xDBD3CD, 0xDBD3CD, 0xD2C5BC, 0xB79F87 });
        SetDownGradient(cl, { 0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D });
        if (FLook == TGridLook::glOffice2007)
            SetSelectionStyle(TGridSelectionStyle::ssOffice2007);
        break;
    case TExGridStyle::gsWindowsVista:
        SetHoverGradient(cl, { 0xFFF7E3, 0xFFF7E3, 0xFFEDBD, 0xFBE7B7, 0xE3C993 });
        SetDownGradient(cl, { 0xF9E4BC, 0xF9E4BC, 0xF7D68D, 0xF5D18A, 0xAE904F });
        SetSortHeaderColors(FSortSettings, 0xFCF9F2, 0xFCF9F2, 0xF9F1E1, 0xF6ECD8);
        clearLook = true;
        SetSelectionStyle(TGridSelectionStyle::ssVista);
        break;
    case TExGridStyle::gsWindows7:
        SetVRKGradientHoverBorder(TColor(0xEEE8E3));
        cl->SetFixedGradientHoverFrom(TColor(0xFEFBF8));
        cl->SetFixedGradientHoverTo(TColor(0xFAF2ED));
        cl->SetFixedGradientHoverMirrorFrom(TColor(0xF4E4D7));
        cl->SetFixedGradientHoverMirrorTo(TColor(0xE8D2C1));
        SetDownGradient(cl, { 0xF1E8DD, 0xF1E4D8, 0xECDBCF, 0xEDDCCF, 0xD5BCAA });
        SetSortHeaderColors(FSortSettings, 0xFCF9F2, 0xFCF9F2, 0xF9F1E1, 0xF6ECD8);
        clearLook = true;
        SetSelectionStyle(TGridSelectionStyle::ssWin7);
        break;
    case TExGridStyle::gsOffice2010Blue:
    case TExGridStyle::gsOffice2010Silver:
    case TExGridStyle::gsOffice2010Black: {
        SetHoverGradient(cl, { 0x6BDFFF, 0xAFEFFF, 0xAFEFFF, 0xE6FCFF, 0x3ABFE8 });
        SetDownGradient(cl, { 0x5BD5FF, 0x64E0FF, 0x64E0FF, 0x71EFFF, 0x308AC2 });
        const TColor sort = AStyle == TExGridStyle::gsOffice2010Blue ? TColor(0xD6CEC7)
            : AStyle == TExGridStyle::gsOffice2010Silver             ? TColor(0xAAAAAA)
                                                                     : TColor(0xBABABA);
        SetSortHeaderColors(FSortSettings, sort, sort, sort, sort);
        clearLook = true;
        SetSelectionStyle(TGridSelectionStyle::ssDefault);
        break;
    }
    default:
        break;
    }
    if (clearLook) {
        // Only the control look's pair: the grid keeps the style's colours.
        cl->SetFixedGradientFrom(clNone);
        cl->SetFixedGradientTo(clNone);
    }
    FSearchFooter->SetColor(VRKGradientFrom());
    FSearchFooter->SetColorTo(VRKGradientMirrorTo());
    if (AStyle == TExGridStyle::gsWindowsXP)
        SetLook(TGridLook::glXP);
}

void TExStringGrid::SetComponentStyle(TVRKStyle AStyle)
{
    FStyle = AStyle;
    SetStyle(TExGridStyle(int(AStyle)));
    if (!IsDesigning())
        SetDropDownStyles(AStyle);
    if (AStyle != TVRKStyle::tsCustom && FScrollType == TScrollType::ssMetro)
        SetScrollType(TScrollType::ssNormal);
}

void TExStringGrid::SetDropDownStyles(TVRKStyle AStyle)
{
    // The grid creates no drop-down editors of its own yet; nothing to style.
    (void)AStyle;
}

void TExStringGrid::SetColorTones(const TColorTones& ATones)
{
    FTones = ATones;
    SetLook(TGridLook::glClassic);
    SetFlat(true);
    SetScrollType(TScrollType::ssMetro);

    SetFixedColor(ATones.Foreground.BrushColor);
    FFixedFont->SetColor(ATones.Foreground.TextColor);
    const QString uiFont = DefaultUIFontName();
    FFixedFont->SetName(uiFont);
    Font()->SetName(uiFont);
    SetColor(ATones.Background.BrushColor);
    Font()->SetColor(ATones.Background.TextColor);

    SetSelectionColor(ATones.Selected.BrushColor);
    SetSelectionTextColor(ATones.Selected.TextColor);
    SetSelectionColorTo(clNone);

    SetGridLineColor(TColor(0xE6E6E6));
    SetGridFixedLineColor(AdjustColorPercent(ATones.Foreground.BrushColor, -20));
    SetBorderStyle(bsNone);

    FControlLook->SetControlStyle(TGridControlStyle::csGlyph);
    TBitmap glyph;
    const auto load = [&glyph](const char* Name) {
        glyph.LoadFromResourceName(QString::fromLatin1(Name));
        return &glyph;
    };
    FControlLook->SetCheckedGlyph(load("metrocheckon"));
    FControlLook->SetUnCheckedGlyph(load("metrocheckoff"));
    FControlLook->SetRadioOffGlyph(load("metroradiooff"));
    FControlLook->SetRadioOnGlyph(load("metroradioon"));

    FControlLook->SetFlatButton(true);
    FFloatingFooter->SetColor(ATones.Foreground.BrushColor);
    FSearchFooter->SetColor(ATones.Foreground.BrushColor);
    FSearchFooter->SetColorTo(ATones.Foreground.BrushColor);
    FCellNode->SetNodeType(TNodeType::cnFlat);
    Invalidate();
}

void TExStringGrid::SetTheme(TXPColorScheme Scheme)
{
    struct TScheme {
        TColor From, To, MirrorFrom, MirrorTo, FooterFrom, FooterTo;
    };
    TScheme s {};
    switch (Scheme) {
    case TXPColorScheme::xpNone:
        FActiveCellColor = clWhite;
        FActiveCellColorTo = TColor(0xFFD9B3);
        SetVRKGradientFrom(clWhite);
        SetVRKGradientTo(clBtnFace);
        SetVRKGradientMirrorFrom(clNone);
        SetVRKGradientMirrorTo(clNone);
        FControlLook->SetFixedGradientFrom(clNone);
        FControlLook->SetFixedGradientTo(clNone);
        FSearchFooter->SetColor(clWhite);
        FSearchFooter->SetColorTo(TColor(0xFFD9B3));
        Invalidate();
        return;
    case TXPColorScheme::xpBlue:
        s = { 0xFCE1CB, 0xE0A57D, clNone, clNone, 0xFCE1CB, 0xE0A57D };
        break;
    case TXPColorScheme::xpGreen:
        s = { 0xCFF0EA, 0x8CC0B1, clNone, clNone, 0xCFF0EA, 0x8CC0B1 };
        break;
    case TXPColorScheme::xpGray:
        s = { 0xECE2E1, 0xB39698, clNone, clNone, 0xECE2E1, 0xB39698 };
        break;
    case TXPColorScheme::vistaAero:
        s = { clWhite, clWhite, 0xFAF8F7, 0xF4F2F1, 0xECE2E1, 0xB39698 };
        break;
    }
    SetVRKGradientFrom(s.From);
    SetVRKGradientTo(s.To);
    SetVRKGradientMirrorFrom(s.MirrorFrom);
    SetVRKGradientMirrorTo(s.MirrorTo);
    FActiveCellColor = TColor(0x94E6FB);
    FActiveCellColorTo = TColor(0x1595EE);
    FControlLook->SetFixedGradientFrom(s.From);
    FControlLook->SetFixedGradientTo(VRKGradientTo());
    FSearchFooter->SetColor(s.FooterFrom);
    FSearchFooter->SetColorTo(s.FooterTo);
    Invalidate();
}

void TExStringGrid::SyncOfficeTheme()
{
    if (IsDesigning())
        return;
    const TOfficeTheme theme = GetOfficeTheme();
    if (theme == FOldOfficeTheme)
        return;
    static constexpr TVRKStyle Follow[] = { TVRKStyle::tsOffice2003Blue, TVRKStyle::tsOffice2003Silver,
        TVRKStyle::tsOffice2003Olive, TVRKStyle::tsOffice2003Classic, TVRKStyle::tsOffice2007Luna,
        TVRKStyle::tsOffice2007Silver, TVRKStyle::tsOffice2007Obsidian, TVRKStyle::tsOffice2010Blue,
        TVRKStyle::tsOffice2010Silver, TVRKStyle::tsOffice2010Black };
    if (theme != TOfficeTheme::otUnknown)
        SetComponentStyle(Follow[int(theme)]);
    FOldOfficeTheme = theme;
}

// ---------------------------------------------------------------------------
// Appearance settings

namespace {
template <class T> bool Change(T& Field, const T& Value)
{
    if (Field == Value)
        return false;
    Field = Value;
    return true;
}
} // namespace

void TExStringGrid::SetSelectionColor(TColor v)
{
    if (Change(FSelectionColor, v))
        Invalidate();
}
void TExStringGrid::SetSelectionColorTo(TColor v)
{
    if (Change(FSelectionColorTo, v))
        Invalidate();
}
void TExStringGrid::SetSelectionMirrorColor(TColor v)
{
    if (Change(FSelectionMirrorColor, v))
        Invalidate();
}
void TExStringGrid::SetSelectionMirrorColorTo(TColor v)
{
    if (Change(FSelectionMirrorColorTo, v))
        Invalidate();
}
void TExStringGrid::SetSelectionTextColor(TColor v)
{
    if (Change(FSelectionTextColor, v))
        Invalidate();
}
void TExStringGrid::SetSelectionColorMixer(bool v)
{
    if (Change(FSelectionColorMixer, v))
        Invalidate();
}
void TExStringGrid::SetSelectionColorMixerFactor(int v)
{
    if (Change(FSelectionColorMixerFactor, std::clamp(v, 0, 100)))
        Invalidate();
}
void TExStringGrid::SetSelectionRectangle(bool v)
{
    if (Change(FSelectionRectangle, v))
        Invalidate();
}
void TExStringGrid::SetSelectionResizer(bool v)
{
    if (Change(FSelectionResizer, v))
        Invalidate();
}
void TExStringGrid::SetSelectionRTFKeep(bool v)
{
    if (Change(FSelectionRTFKeep, v))
        Invalidate();
}
void TExStringGrid::SetShowSelection(bool v)
{
    if (!Change(FShowSelection, v))
        return;
    FShowSel = v;
    Invalidate();
}
void TExStringGrid::SetURLColor(TColor v)
{
    if (Change(FURLColor, v) && FURLShow)
        Invalidate();
}
void TExStringGrid::SetURLShow(bool v)
{
    if (Change(FURLShow, v))
        Invalidate();
}
void TExStringGrid::SetURLFull(bool v)
{
    FURLFull = v;
    if (FURLShow)
        Invalidate();
}
void TExStringGrid::SetMaxEditLength(int v)
{
    FMaxEditLength = v;
    if (TInplaceEdit* ed = InplaceEditor())
        ed->SetMaxLength(v);
}
void TExStringGrid::SetSortSettings(const TSortSettings* Value)
{
    FSortSettings->Assign(Value);
}
void TExStringGrid::SetDragScrollOptions(const TDragScrollOptions* Value)
{
    FDragScrollOptions->Assign(Value);
}
void TExStringGrid::SetSyncGrid(const TSyncGrid* Value)
{
    FSyncGrid->Assign(Value);
}
void TExStringGrid::SetSpreadSheet(bool v)
{
    FSpreadSheet = v;
    SetSelectionRectangle(true);
    SetSelectionResizer(true);
    FNavigation->AllowSmartClipboard = true;
    SetOptions(Options() | goEditing | goRangeSelect);
    FMouseActions->RangeSelectAndEdit = true;
}
void TExStringGrid::SetVAlignment(TVAlignment v)
{
    FVAlignment = v;
    FVAlign = v == TVAlignment::vtaTop ? DT_TOP : v == TVAlignment::vtaBottom ? DT_BOTTOM : DT_VCENTER;
    if (FUpdateCount == 0)
        Invalidate();
}
void TExStringGrid::SetAutoSize(bool v)
{
    FAutoSize = v;
    if (v && !IsLoading())
        AutoSizeColumns(false, 10);
}
void TExStringGrid::SetFlat(bool v)
{
    FFlat = v;
    if (!IsLoading())
        Invalidate();
}
void TExStringGrid::SetAutoThemeAdapt(bool v)
{
    const bool was = FAutoThemeAdapt;
    FAutoThemeAdapt = v;
    if (IsLoading())
        return; // Loaded registers the window
    if (v != was)
        RegisterThemeWindow(v);
    if (v)
        SyncOfficeTheme();
}

void TExStringGrid::RegisterThemeWindow(bool ARegister)
{
    if (IsDesigning())
        return;
    if (ARegister)
        GetSharedThemeNotifier(this)->RegisterWindow(Handle());
    else if (HandleAllocated())
        GetSharedThemeNotifier(this)->UnRegisterWindow(Handle());
}

bool TExStringGrid::ThemeChangeMessage(const TMessage& Message)
{
    if (Message.Msg != WM_THEMECHANGED && Message.Msg != WM_OFFICETHEMECHANGE)
        return false;
    if (FAutoThemeAdapt)
        SyncOfficeTheme();
    return true;
}

void TExStringGrid::DestroyWnd()
{
    if (FAutoThemeAdapt)
        RegisterThemeWindow(false);
    TBaseGrid::DestroyWnd();
}
