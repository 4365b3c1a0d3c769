#include "platform/graphics/ThemePainter.h"

#include "platform/graphics/Graphics.h"
#include "platform/graphics/PlatformInfo.h"
#include "platform/graphics/RasterArt.h"

#include <QStringList>

#include <algorithm>

using art::TArrow;
using art::TRaster;

// ---------------------------------------------------------------------------
// Theme data: one static record per class, so handles never dangle or leak.

enum class TThemeClass { Button, ComboBox, Spin, Header, Progress, ScrollBar };

struct TThemeData {
    TThemeClass Class;
};

namespace {

const TThemeData kClasses[] = {
    { TThemeClass::Button },
    { TThemeClass::ComboBox },
    { TThemeClass::Spin },
    { TThemeClass::Header },
    { TThemeClass::Progress },
    { TThemeClass::ScrollBar },
};

const TThemeData* FindClass(const QString& name)
{
    static const char* const names[] = { "button", "combobox", "spin", "header", "progress", "scrollbar" };
    for (int i = 0; i < 6; ++i)
        if (name.trimmed().compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0)
            return &kClasses[i];
    return nullptr;
}

QRgb Rgb(int r, int g, int b)
{
    return qRgb(r, g, b);
}

// ---------------------------------------------------------------------------
// Themed looks

enum class TLook { Normal, Hot, Pressed, Disabled, Defaulted };

struct ButtonColors {
    QRgb Border, TopA, TopB, BottomA, BottomB, Inner;
};

ButtonColors ButtonLook(TLook look)
{
    switch (look) {
    case TLook::Hot:
        return { Rgb(60, 127, 177), Rgb(234, 246, 253), Rgb(217, 240, 252), Rgb(190, 230, 253), Rgb(167, 217, 245),
            Rgb(250, 253, 254) };
    case TLook::Pressed:
        return { Rgb(44, 98, 139), Rgb(229, 244, 252), Rgb(196, 229, 246), Rgb(152, 209, 239), Rgb(104, 179, 219),
            Rgb(158, 176, 186) };
    case TLook::Disabled:
        return { Rgb(173, 178, 181), Rgb(244, 244, 244), Rgb(244, 244, 244), Rgb(244, 244, 244), Rgb(244, 244, 244),
            Rgb(252, 252, 252) };
    case TLook::Defaulted:
        return { Rgb(60, 127, 177), Rgb(242, 242, 242), Rgb(235, 235, 235), Rgb(221, 221, 221), Rgb(207, 207, 207),
            Rgb(72, 216, 251) };
    case TLook::Normal:
        break;
    }
    return { Rgb(112, 112, 112), Rgb(242, 242, 242), Rgb(235, 235, 235), Rgb(221, 221, 221), Rgb(207, 207, 207),
        Rgb(252, 252, 252) };
}

TLook LookOf(int state)
{
    switch (state) {
    case 2:
        return TLook::Hot;
    case 3:
        return TLook::Pressed;
    case 4:
        return TLook::Disabled;
    case 5:
        return TLook::Defaulted;
    default:
        return TLook::Normal;
    }
}

// A button face filling the whole image: rounded border, a light inner
// frame and a face whose upper half is lighter than its lower half.
void ButtonFace(TRaster& r, TLook look)
{
    const int w = r.Width();
    const int h = r.Height();
    if (w <= 0 || h <= 0)
        return;
    const ButtonColors c = ButtonLook(look);
    const int upper = (h - 2) / 2;
    r.GradientV(1, 1, w - 2, upper, c.TopA, c.TopB);
    r.GradientV(1, 1 + upper, w - 2, h - 2 - upper, c.BottomA, c.BottomB);
    if (w > 4 && h > 4) {
        if (look == TLook::Pressed) {
            // Pressed faces sink: a shadow along the top and left only.
            r.HLine(1, 1, w - 2, c.Inner);
            r.VLine(1, 1, h - 2, c.Inner);
        } else {
            r.Frame(1, 1, w - 2, h - 2, c.Inner);
        }
    }
    r.RoundFrame(0, 0, w, h, c.Border);
}

QRgb GlyphColor(TLook look)
{
    return look == TLook::Disabled ? Rgb(161, 161, 161) : Rgb(0, 0, 0);
}

// Centres an arrow of the largest size that fits (at most `max` deep).
void CentredArrow(TRaster& r, TArrow dir, QRgb c, int max)
{
    const int w = r.Width();
    const int h = r.Height();
    const bool vertical = dir == TArrow::Up || dir == TArrow::Down;
    const int across = vertical ? w : h; // room for the arrow's base
    const int along = vertical ? h : w;
    int size = std::min({ max, (across - 2) / 2, along - 2 });
    if (size < 1)
        return;
    if (vertical)
        r.Arrow((w - 1) / 2, (h - size) / 2, dir, size, c);
    else
        r.Arrow((w - size) / 2, (h - 1) / 2, dir, size, c);
}

struct BoxColors {
    QRgb Border, FillA, FillB, Mark;
};

BoxColors BoxLook(TLook look)
{
    switch (look) {
    case TLook::Hot:
        return { Rgb(85, 134, 163), Rgb(222, 249, 250), Rgb(250, 254, 254), Rgb(33, 33, 33) };
    case TLook::Pressed:
        return { Rgb(44, 98, 139), Rgb(194, 228, 246), Rgb(216, 240, 251), Rgb(33, 33, 33) };
    case TLook::Disabled:
        return { Rgb(202, 202, 202), Rgb(252, 252, 252), Rgb(252, 252, 252), Rgb(141, 141, 141) };
    default:
        return { Rgb(112, 112, 112), Rgb(225, 225, 225), Rgb(255, 255, 255), Rgb(33, 33, 33) };
    }
}

constexpr int kBoxSize = 13;

// state 1..12: unchecked, checked, mixed, each normal, hot, pressed, disabled.
void CheckBox(TRaster& r, int state)
{
    const int x = (r.Width() - kBoxSize) / 2;
    const int y = (r.Height() - kBoxSize) / 2;
    const TLook look = LookOf((state - 1) % 4 + 1);
    const int kind = (state - 1) / 4;
    const BoxColors c = BoxLook(look);
    r.GradientV(x + 1, y + 1, kBoxSize - 2, kBoxSize - 2, c.FillA, c.FillB);
    r.Frame(x, y, kBoxSize, kBoxSize, c.Border);
    if (kind == 1) {
        r.Tick(x + 3, y + 3, c.Mark);
    } else if (kind == 2) {
        const QRgb mix = look == TLook::Disabled ? c.Mark : Rgb(47, 119, 183);
        r.Fill(x + 3, y + 3, kBoxSize - 6, kBoxSize - 6, mix);
    }
}

void RadioButton(TRaster& r, int state)
{
    const int x = (r.Width() - kBoxSize) / 2;
    const int y = (r.Height() - kBoxSize) / 2;
    const TLook look = LookOf((state - 1) % 4 + 1);
    const bool checked = state > 4;
    const BoxColors c = BoxLook(look);
    QImage disc = TRaster::Make(kBoxSize, kBoxSize, 0);
    TRaster d(disc);
    d.Disc(0, 0, kBoxSize, 0xFF000000);
    for (int py = 0; py < kBoxSize; ++py)
        for (int px = 0; px < kBoxSize; ++px)
            if (d.PixelAt(px, py))
                r.Pixel(x + px, y + py, art::Mix(c.FillA, c.FillB, py, kBoxSize - 1));
    r.Ring(x, y, kBoxSize, c.Border);
    if (checked) {
        const QRgb dot = look == TLook::Disabled ? c.Mark : Rgb(25, 74, 130);
        r.Disc(x + 4, y + 4, 5, dot);
    }
}

void HeaderItem(TRaster& r, int state)
{
    const int w = r.Width();
    const int h = r.Height();
    switch (LookOf((state - 1) % 3 + 1)) {
    case TLook::Hot:
        r.GradientV(0, 0, w, h, Rgb(227, 247, 255), Rgb(189, 237, 255));
        r.Frame(0, 0, w, h, Rgb(136, 203, 235));
        break;
    case TLook::Pressed:
        r.GradientV(0, 0, w, h, Rgb(188, 228, 249), Rgb(141, 214, 247));
        r.Frame(0, 0, w, h, Rgb(102, 162, 194));
        r.HLine(1, 1, w - 2, Rgb(128, 176, 201));
        break;
    default:
        r.GradientV(0, 0, w, h, Rgb(255, 255, 255), Rgb(241, 242, 244));
        r.HLine(0, h - 1, w, Rgb(213, 213, 213));
        r.GradientV(w - 1, 0, 1, h - 1, Rgb(255, 255, 255), Rgb(213, 213, 213));
        break;
    }
}

void ProgressBar(TRaster& r, bool vertical)
{
    const int w = r.Width();
    const int h = r.Height();
    if (vertical)
        r.GradientH(1, 1, w - 2, h - 2, Rgb(226, 226, 226), Rgb(243, 243, 243));
    else
        r.GradientV(1, 1, w - 2, h - 2, Rgb(226, 226, 226), Rgb(243, 243, 243));
    r.RoundFrame(0, 0, w, h, Rgb(188, 188, 188));
}

void ProgressChunk(TRaster& r, bool vertical)
{
    const int w = r.Width();
    const int h = r.Height();
    if (vertical) {
        r.GradientH(0, 0, w, h, Rgb(99, 214, 106), Rgb(6, 176, 37));
    } else {
        const int top = h / 2;
        r.GradientV(0, 0, w, top, Rgb(130, 226, 136), Rgb(56, 200, 74));
        r.GradientV(0, top, w, h - top, Rgb(6, 176, 37), Rgb(4, 150, 30));
    }
}

bool PartDefined(const TThemeData* t, int part, int state)
{
    if (!t)
        return false;
    switch (t->Class) {
    case TThemeClass::Button:
        if (part == BP_PUSHBUTTON)
            return state >= 1 && state <= 5;
        if (part == BP_CHECKBOX)
            return state >= 1 && state <= 12;
        if (part == BP_RADIOBUTTON)
            return state >= 1 && state <= 8;
        return false;
    case TThemeClass::ComboBox:
        return part == CP_DROPDOWNBUTTON && state >= 1 && state <= 4;
    case TThemeClass::Spin:
        return part >= SPNP_UP && part <= SPNP_DOWNHORZ && state >= 1 && state <= 4;
    case TThemeClass::Header:
        return part >= HP_HEADERITEM && part <= HP_HEADERITEMRIGHT && state >= 1 && state <= 3;
    case TThemeClass::Progress:
        return part >= PP_BAR && part <= PP_CHUNKVERT; // every state looks the same
    case TThemeClass::ScrollBar:
        return part == SBP_ARROWBTN && state >= 1 && state <= 16;
    }
    return false;
}

void PaintPart(TRaster& r, const TThemeData* t, int part, int state)
{
    switch (t->Class) {
    case TThemeClass::Button:
        if (part == BP_PUSHBUTTON)
            ButtonFace(r, LookOf(state));
        else if (part == BP_CHECKBOX)
            CheckBox(r, state);
        else
            RadioButton(r, state);
        return;
    case TThemeClass::ComboBox: {
        const TLook look = LookOf(state);
        ButtonFace(r, look);
        CentredArrow(r, TArrow::Down, GlyphColor(look), 4);
        return;
    }
    case TThemeClass::Spin: {
        static const TArrow dirs[] = { TArrow::Up, TArrow::Down, TArrow::Right, TArrow::Left };
        const TLook look = LookOf(state);
        ButtonFace(r, look);
        CentredArrow(r, dirs[part - 1], GlyphColor(look), 3);
        return;
    }
    case TThemeClass::Header:
        HeaderItem(r, state);
        return;
    case TThemeClass::Progress:
        if (part == PP_BAR || part == PP_BARVERT)
            ProgressBar(r, part == PP_BARVERT);
        else
            ProgressChunk(r, part == PP_CHUNKVERT);
        return;
    case TThemeClass::ScrollBar: {
        static const TArrow dirs[] = { TArrow::Up, TArrow::Down, TArrow::Left, TArrow::Right };
        const TLook look = LookOf((state - 1) % 4 + 1);
        ButtonFace(r, look);
        CentredArrow(r, dirs[(state - 1) / 4], look == TLook::Disabled ? Rgb(161, 161, 161) : Rgb(77, 97, 133), 4);
        return;
    }
    }
}

// The part of a picture for Rect that can show on the canvas (the device
// within the clip), in the canvas' drawing coordinates; and the same part in
// the picture's own coordinates, which run against them when the canvas
// draws mirrored (an image is placed mirrored, not flipped).
bool ShownPart(const TCanvas* canvas, const TRect& Rect, TRect& shown, TRect& inPicture)
{
    shown = Rect;
    if (const QPaintDevice* d = canvas->Device()) {
        const TPoint o = canvas->Origin();
        TRect reach = canvas->Oriented(TRect(-o.X, -o.Y, d->width() - o.X, d->height() - o.Y));
        if (canvas->HasClip())
            IntersectRect(reach, reach, canvas->ClipRect());
        if (!IntersectRect(shown, Rect, reach))
            return false;
    }
    const bool mirrored = canvas->DrawingOrientation().RightToLeft;
    inPicture = TRect(mirrored ? Rect.Right - shown.Right : shown.Left - Rect.Left, shown.Top - Rect.Top,
        mirrored ? Rect.Right - shown.Left : shown.Right - Rect.Left, shown.Bottom - Rect.Top);
    return true;
}

// Puts a rendered image on the canvas, clipped when asked.
void Blit(TCanvas* canvas, const TRect& rect, const QImage& img, const TRect* clip)
{
    if (clip) {
        const int saved = canvas->SaveDC();
        canvas->IntersectClipRect(*clip);
        canvas->Draw(rect.Left, rect.Top, img);
        canvas->RestoreDC(saved);
    } else {
        canvas->Draw(rect.Left, rect.Top, img);
    }
}

// ---------------------------------------------------------------------------
// Classic frame controls

QRgb Sys(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

// Two-colour frame: top and left in `tl`, bottom and right in `br`.
void Edge(TRaster& r, int x, int y, int w, int h, QRgb tl, QRgb br)
{
    if (w <= 0 || h <= 0)
        return;
    r.HLine(x, y, w, tl);
    r.VLine(x, y, h, tl);
    r.HLine(x, y + h - 1, w, br);
    r.VLine(x + w - 1, y, h, br);
}

// Face of a classic button over the whole image; returns the face inset.
int ClassicButton(TRaster& r, unsigned state)
{
    const int w = r.Width();
    const int h = r.Height();
    r.Fill(0, 0, w, h, Sys(clBtnFace));
    const bool pushed = state & (DFCS_PUSHED | DFCS_CHECKED);
    if (state & DFCS_FLAT) {
        // Flat and pushed: a darker frame, sunk by a shadow along its top
        // and left inside.
        r.Frame(0, 0, w, h, Sys(pushed ? cl3DDkShadow : clBtnShadow));
        if (pushed) {
            r.HLine(1, 1, w - 2, Sys(clBtnShadow));
            r.VLine(1, 1, h - 2, Sys(clBtnShadow));
        }
        return 1;
    }
    if (pushed) {
        r.Frame(0, 0, w, h, Sys(cl3DDkShadow));
        r.Frame(1, 1, w - 2, h - 2, Sys(clBtnShadow));
    } else {
        Edge(r, 0, 0, w, h, Sys(cl3DLight), Sys(cl3DDkShadow));
        Edge(r, 1, 1, w - 2, h - 2, Sys(clBtnHighlight), Sys(clBtnShadow));
    }
    return 2;
}

// A glyph drawn by `paint` in the text colour, or embossed when inactive.
template <class Paint> void ClassicGlyph(TRaster& r, unsigned state, Paint paint)
{
    const int shift = (state & DFCS_PUSHED) ? 1 : 0;
    if (state & DFCS_INACTIVE) {
        paint(shift + 1, shift + 1, Sys(clBtnHighlight));
        paint(shift, shift, Sys(clBtnShadow));
    } else {
        paint(shift, shift, Sys(clBtnText));
    }
}

void ClassicCheck(TRaster& r, unsigned state)
{
    const int s = std::min(r.Width(), r.Height());
    const int x = (r.Width() - s) / 2;
    const int y = (r.Height() - s) / 2;
    const bool grey
        = (state & DFCS_INACTIVE) || (state & DFCS_PUSHED) || ((state & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED));
    r.Fill(x, y, s, s, grey ? Sys(clBtnFace) : Sys(clWindow));
    if (state & DFCS_FLAT) {
        r.Frame(x, y, s, s, Sys(clBtnShadow));
    } else {
        Edge(r, x, y, s, s, Sys(clBtnShadow), Sys(clBtnHighlight));
        Edge(r, x + 1, y + 1, s - 2, s - 2, Sys(cl3DDkShadow), Sys(cl3DLight));
    }
    if (state & DFCS_CHECKED) {
        const QRgb mark = (state & (DFCS_INACTIVE | DFCS_BUTTON3STATE)) ? Sys(clBtnShadow) : Sys(clWindowText);
        r.Tick(x + (s - 7) / 2, y + (s - 7) / 2, mark);
    }
}

void ClassicRadio(TRaster& r, unsigned state)
{
    const int s = std::min(r.Width(), r.Height());
    const int x = (r.Width() - s) / 2;
    const int y = (r.Height() - s) / 2;
    const bool grey = (state & DFCS_INACTIVE) || (state & DFCS_PUSHED);
    r.Disc(x, y, s, grey ? Sys(clBtnFace) : Sys(clWindow));
    if (state & DFCS_FLAT) {
        r.Ring(x, y, s, Sys(clBtnShadow));
    } else {
        // Rings split along the anti-diagonal: upper left sunk, lower right lit.
        QImage ring = TRaster::Make(s, s, 0);
        TRaster o(ring);
        o.Ring(0, 0, s, 0xFF000001);
        if (s > 2)
            o.Ring(1, 1, s - 2, 0xFF000002);
        for (int py = 0; py < s; ++py)
            for (int px = 0; px < s; ++px) {
                const QRgb p = o.PixelAt(px, py);
                if (!p)
                    continue;
                const bool upper = px + py < s - 1;
                const bool outer = p == 0xFF000001;
                const QRgb c = outer ? (upper ? Sys(clBtnShadow) : Sys(clBtnHighlight))
                                     : (upper ? Sys(cl3DDkShadow) : Sys(cl3DLight));
                r.Pixel(x + px, y + py, c);
            }
    }
    if (state & DFCS_CHECKED) {
        const int d = std::max(2, s / 3);
        r.Disc(x + (s - d) / 2, y + (s - d) / 2, d, (state & DFCS_INACTIVE) ? Sys(clBtnShadow) : Sys(clWindowText));
    }
}

bool ClassicScroll(TRaster& r, unsigned state)
{
    const unsigned kind = state & 0x1F;
    if (kind == DFCS_SCROLLSIZEGRIP || kind == DFCS_SCROLLSIZEGRIPRIGHT) {
        const int w = r.Width();
        const int h = r.Height();
        r.Fill(0, 0, w, h, Sys(clBtnFace));
        // Three diagonal ridges in the lower right corner.
        const int s = std::min(w, h);
        for (int k = 0; k < 3; ++k) {
            const int off = 2 + 4 * k;
            for (int i = 0; i < s - off; ++i) {
                r.Pixel(w - 1 - i, h - s + off + i, Sys(clBtnHighlight));
                r.Pixel(w - 1 - i, h - s + off + i + 1, Sys(clBtnShadow));
                r.Pixel(w - 1 - i, h - s + off + i + 2, Sys(clBtnShadow));
            }
        }
        return true;
    }
    TArrow dir;
    switch (kind) {
    case DFCS_SCROLLUP:
        dir = TArrow::Up;
        break;
    case DFCS_SCROLLDOWN:
    case DFCS_SCROLLCOMBOBOX:
        dir = TArrow::Down;
        break;
    case DFCS_SCROLLLEFT:
        dir = TArrow::Left;
        break;
    case DFCS_SCROLLRIGHT:
        dir = TArrow::Right;
        break;
    default:
        return false;
    }
    // A pushed scroll button is drawn flat, with its arrow moved down-right.
    ClassicButton(r, (state & DFCS_PUSHED) ? ((state & ~(DFCS_PUSHED | DFCS_CHECKED)) | DFCS_FLAT) : state);
    const int w = r.Width();
    const int h = r.Height();
    const int size = std::max(1, (std::min(w, h) + 1) / 4);
    const bool vertical = dir == TArrow::Up || dir == TArrow::Down;
    ClassicGlyph(r, state, [&](int dx, int dy, QRgb c) {
        if (vertical)
            r.Arrow((w - 1) / 2 + dx, (h - size) / 2 + dy, dir, size, c);
        else
            r.Arrow((w - size) / 2 + dx, (h - 1) / 2 + dy, dir, size, c);
    });
    return true;
}

bool ClassicCaption(TRaster& r, unsigned state)
{
    const unsigned kind = state & 0xFF;
    if (kind > DFCS_CAPTIONHELP)
        return false;
    ClassicButton(r, state);
    const int w = r.Width();
    const int h = r.Height();
    const int s = std::max(4, std::min(w, h) - 6); // glyph box
    const int x = (w - s) / 2;
    const int y = (h - s) / 2;
    ClassicGlyph(r, state, [&](int dx, int dy, QRgb c) {
        switch (kind) {
        case DFCS_CAPTIONCLOSE:
            r.Cross(x + dx, y + dy, s, 2, c);
            break;
        case DFCS_CAPTIONMIN:
            r.Fill(x + dx, y + s - 2 + dy, s - 2, 2, c);
            break;
        case DFCS_CAPTIONMAX:
            r.Frame(x + dx, y + dy, s, s, c);
            r.HLine(x + dx, y + 1 + dy, s, c);
            break;
        case DFCS_CAPTIONRESTORE: {
            const int b = s * 2 / 3;
            r.Frame(x + s - b + dx, y + dy, b, b, c);
            r.HLine(x + s - b + dx, y + 1 + dy, b, c);
            r.Fill(x + dx, y + s - b + dy, b, b, Sys(clBtnFace));
            r.Frame(x + dx, y + s - b + dy, b, b, c);
            r.HLine(x + dx, y + s - b + 1 + dy, b, c);
            break;
        }
        default:
            r.Art(x + (s - 6) / 2 + dx, y + (s - 9) / 2 + dy,
                {
                    ".xxxx.",
                    "xx..xx",
                    "....xx",
                    "...xx.",
                    "..xx..",
                    "..xx..",
                    "......",
                    "..xx..",
                    "..xx..",
                },
                "x", { c });
            break;
        }
    });
    return true;
}

} // namespace

// ---------------------------------------------------------------------------

bool IsThemeActive()
{
    return PlatformInfo().ThemesActive;
}

HTHEME OpenThemeData(const void* Window, const QString& ClassList)
{
    (void)Window;
    return OpenThemeData(ClassList);
}

HTHEME OpenThemeData(const QString& ClassList)
{
    if (!IsThemeActive())
        return nullptr;
    for (const QString& name : ClassList.split(';'))
        if (const TThemeData* t = FindClass(name))
            return t;
    return nullptr;
}

void CloseThemeData(HTHEME Theme)
{
    (void)Theme;
}

bool IsThemePartDefined(HTHEME Theme, int PartId, int StateId)
{
    return PartDefined(Theme, PartId, StateId);
}

bool GetThemePartSize(HTHEME Theme, int PartId, int StateId, TSize& Size)
{
    if (!PartDefined(Theme, PartId, StateId))
        return false;
    const bool box = Theme->Class == TThemeClass::Button && (PartId == BP_CHECKBOX || PartId == BP_RADIOBUTTON);
    Size = box ? TSize(kBoxSize, kBoxSize) : TSize(0, 0);
    return true;
}

bool DrawThemeBackground(
    HTHEME Theme, TCanvas* Canvas, int PartId, int StateId, const TRect& Rect, const TRect* ClipRect)
{
    if (!Canvas || !PartDefined(Theme, PartId, StateId))
        return false;
    if (Rect.IsEmpty())
        return true;
    // Only what shows is painted: a header cell of a merged area of a
    // million rows is far taller than any screen.
    TRect shown, part;
    if (!ShownPart(Canvas, Rect, shown, part))
        return true;
    QImage img = TRaster::Make(part.Width(), part.Height());
    TRaster r(img, part.Left, part.Top, Rect.Width(), Rect.Height());
    PaintPart(r, Theme, PartId, StateId);
    Blit(Canvas, shown, img, ClipRect);
    return true;
}

bool DrawFrameControl(TCanvas* Canvas, TRect& Rect, unsigned Type, unsigned State)
{
    if (!Canvas)
        return false;
    TRect shown, part;
    const bool shows = !Rect.IsEmpty() && ShownPart(Canvas, Rect, shown, part);
    QImage img = TRaster::Make(shows ? part.Width() : 0, shows ? part.Height() : 0);
    TRaster r(img, shows ? part.Left : 0, shows ? part.Top : 0, std::max(Rect.Width(), 0), std::max(Rect.Height(), 0));
    int inset = 0;
    switch (Type) {
    case DFC_BUTTON:
        if (State & DFCS_BUTTONPUSH)
            inset = ClassicButton(r, State);
        else if (State & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK))
            ClassicRadio(r, State);
        else
            ClassicCheck(r, State);
        break;
    case DFC_SCROLL:
        if (!ClassicScroll(r, State))
            return false;
        break;
    case DFC_CAPTION:
        if (!ClassicCaption(r, State))
            return false;
        break;
    default:
        return false;
    }
    if (shows)
        Canvas->Draw(shown.Left, shown.Top, img);
    if ((State & DFCS_ADJUSTRECT) && inset > 0)
        InflateRect(Rect, -inset, -inset);
    return true;
}
