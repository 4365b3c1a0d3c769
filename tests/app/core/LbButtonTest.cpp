#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QString>
#include <QWidget>
#include <QWindow>
#include <memory>

#include "app/core/LbButton.h"
#include "app/core/LbButtons.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Menus.h"
#include "platform/controls/ModalDriver.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/DrawText.h"
#include "platform/graphics/ImageList.h"

// The window system's entry for mouse input (what Qt's own test library
// uses): the event takes the whole way a real one takes.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
    Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);

namespace {

TColor PixelAt(const QImage& img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

// A strip of `cells` square cells, each filled with its own colour round a
// transparent (clFuchsia) border, so a painted cell tells which it was.
std::unique_ptr<TBitmap> MakeStrip(std::initializer_list<TColor> cells, int size = 12)
{
    auto strip = std::make_unique<TBitmap>(size * int(cells.size()), size);
    TBitmap& bmp = *strip;
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(Rect(0, 0, bmp.Width(), size));
    int i = 0;
    for (TColor color : cells) {
        c->Brush()->SetColor(color);
        c->FillRect(Rect(i * size + 2, 2, i * size + size - 2, size - 2));
        ++i;
    }
    return strip;
}

// Paints one face into a bitmap of its size over a neutral colour.
QImage PaintFace(const TLbButtonFace& face)
{
    TBitmap bmp(face.Width, face.Height);
    bmp.Canvas()->Brush()->SetColor(RGB(1, 2, 3));
    bmp.Canvas()->FillRect(Rect(0, 0, face.Width, face.Height));
    LbPaintButtonFace(bmp.Canvas(), face);
    return bmp.ToImage();
}

TLbButtonFace BaseFace(const TFont* font)
{
    TLbButtonFace f;
    f.Width = 100;
    f.Height = 30;
    f.Font = font;
    f.Color = RGB(248, 247, 237);
    f.LightColor = clWhite;
    f.ShadowColor = clGray;
    return f;
}

// A canvas with a default font to measure captions on.
struct TMeasuring {
    TFont Font;
    TBitmap Scratch { 10, 10 };
    TCanvas* Canvas = Scratch.Canvas();
    TMeasuring() { Canvas->SetFont(&Font); }
};

// The width the face painter fits a caption into, measured as it measures.
int LineWidth(TCanvas* c, const QString& s)
{
    TRect r = Rect(0, 0, 0, 0);
    DrawText(c, s, r, DT_CALCRECT | DT_SINGLELINE);
    return r.Width();
}

// A form shown offscreen; it owns and frees what a test puts on it.
struct TestForm {
    TForm* Form;
    TestForm()
    {
        Form = new TForm(nullptr);
        Form->SetBounds(30, 30, 360, 240);
        Form->Show();
    }
    ~TestForm() { delete Form; }
    template <class T> T* Add(int left, int top)
    {
        auto* c = new T(Form);
        c->SetParent(Form);
        c->SetLeft(left);
        c->SetTop(top);
        return c;
    }
};

// ---------------------------------------------------------------------------
// Properties

TEST(LbButton, ConstructionDefaults)
{
    TForm form(nullptr);
    form.Font()->SetName(QStringLiteral("Verdana"));
    TLbButton b(&form);
    EXPECT_EQ(b.Width(), 100);
    EXPECT_EQ(b.Height(), 23);
    EXPECT_EQ(b.ControlStyle(), TControlStyle(csCaptureMouse) | csSetCaption);
    EXPECT_TRUE(b.TabStop());
    EXPECT_EQ(b.Color(), clBtnFace);
    EXPECT_EQ(b.LightColor(), clWhite);
    EXPECT_EQ(b.ShadowColor(), clGray);
    EXPECT_EQ(b.ColorWhenDown(), clNone);
    EXPECT_EQ(b.HotTrackColor(), clNone);
    EXPECT_EQ(b.Style(), bsNormal);
    EXPECT_EQ(b.Kind(), bkCustom);
    EXPECT_EQ(b.NumGlyphs(), 0);
    EXPECT_EQ(b.HotTrackFont()->Name(), QStringLiteral("Verdana")); // the owner form's font
    ASSERT_NE(b.FadeThread(), nullptr);
    EXPECT_TRUE(b.FadeThread()->Suspended());
}

TEST(LbButton, ColorPresetsSetColoursAndReadBackCustom)
{
    struct Case {
        TLbColorStyle preset;
        TColor color, light, shadow, down, hot;
        bool flat;
        TLbButtonStyle style;
        TColor font;
    } cases[] = {
        { lcsGold, RGB(192, 192, 0), RGB(255, 255, 0), RGB(128, 128, 0), clNone, RGB(223, 223, 0), false, bsModern,
            clBlack },
        { lcsChrome, RGB(192, 192, 192), clWhite, clGray, clNone, clNone, false, bsModern, clBlack },
        { lcsBlue, RGB(0, 128, 255), RGB(0, 255, 255), RGB(0, 0, 255), clNone, clNone, false, bsModern, clBlack },
        { lcsRed, RGB(255, 0, 0), RGB(255, 192, 192), RGB(192, 0, 0), clNone, clNone, false, bsModern, clBlack },
        { lcsUltraFlat1, clBtnFace, RGB(132, 146, 181), RGB(132, 146, 181), RGB(132, 146, 181), RGB(214, 211, 222),
            true, bsNormal, clBlack },
        { lcsUltraFlat2, clBtnFace, clBlack, clBlack, RGB(188, 218, 36), RGB(228, 246, 140), true, bsNormal, clBlack },
        { lcsUltraFlatXP, RGB(219, 216, 209), RGB(132, 146, 181), RGB(133, 146, 181), RGB(133, 146, 181),
            RGB(182, 189, 210), true, bsNormal, clBlack },
        { lcsAqua, RGB(148, 206, 236), RGB(212, 230, 252), clBlack, clNone, clNone, false, bsModern, clBlack },
        { lcsDefault, clBtnFace, clWhite, clGray, clNone, clNone, false, bsNormal, clBlack },
        { lcsQuicken, RGB(0, 48, 96), RGB(192, 192, 192), RGB(192, 192, 192), RGB(41, 101, 173), RGB(156, 174, 206),
            false, bsQuicken, clWhite },
    };
    for (const Case& c : cases) {
        TLbButton b(nullptr);
        b.SetFlat(true);
        b.Font()->SetColor(clRed);
        b.SetColorStyle(c.preset);
        SCOPED_TRACE(int(c.preset));
        EXPECT_EQ(b.ColorStyle(), lcsCustom);
        EXPECT_EQ(b.Color(), c.color);
        EXPECT_EQ(b.LightColor(), c.light);
        EXPECT_EQ(b.ShadowColor(), c.shadow);
        EXPECT_EQ(b.ColorWhenDown(), c.down);
        EXPECT_EQ(b.HotTrackColor(), c.hot);
        EXPECT_EQ(b.Flat(), c.flat);
        EXPECT_EQ(b.Style(), c.style);
        EXPECT_EQ(b.Font()->Color(), c.font);
        // The style is written past its setter: the window stays opaque.
        EXPECT_FALSE(b.WindowTransparent());
    }

    TLbButton b(nullptr);
    b.SetColor(RGB(248, 247, 237));
    b.SetLightColor(clGray);
    b.SetColorStyle(lcsCustom);
    EXPECT_EQ(b.Color(), RGB(248, 247, 237));
    EXPECT_EQ(b.LightColor(), clGray);
}

TEST(LbButton, StockKindsSetCaptionResultAndGlyph)
{
    struct Case {
        TLbButtonKind kind;
        TModalResult result;
        const char16_t* caption;
        int glyphHeight;
    } cases[] = {
        { bkOK, mrOk, u"OK", 18 },
        { bkCancel, mrCancel, u"Abbrechen", 18 },
        { bkHelp, mrNone, u"Hilfe", 18 },
        { bkYes, mrYes, u"Ja", 18 },
        { bkNo, mrNo, u"Nein", 18 },
        { bkClose, mrNone, u"Schlie\u00DFen", 18 },
        { bkAbort, mrAbort, u"Abbrechen", 18 },
        { bkRetry, mrRetry, u"Wiederholen", 18 },
        { bkIgnore, mrIgnore, u"Ignorieren", 18 },
        { bkAll, mrAll, u"Alle", 19 },
    };
    for (const Case& c : cases) {
        TLbButton b(nullptr);
        b.SetKind(c.kind);
        SCOPED_TRACE(int(c.kind));
        EXPECT_EQ(b.Kind(), c.kind);
        EXPECT_EQ(b.Caption(), QString::fromUtf16(c.caption));
        EXPECT_EQ(b.ModalResult(), c.result);
        EXPECT_EQ(b.NumGlyphs(), 2);
        EXPECT_EQ(b.Glyph()->Width(), 36);
        EXPECT_EQ(b.Glyph()->Height(), c.glyphHeight);
    }

    // Writing the modal result or the glyph makes the button custom again.
    TLbButton b(nullptr);
    b.SetKind(bkCancel);
    b.SetModalResult(mrOk);
    EXPECT_EQ(b.Kind(), bkCustom);
    b.SetKind(bkOK);
    b.SetGlyph(MakeStrip({ clRed }).get());
    EXPECT_EQ(b.Kind(), bkCustom);
    EXPECT_EQ(b.Caption(), QStringLiteral("OK")); // the caption stays
}

TEST(LbButton, GlyphCellCountFollowsTheStrip)
{
    TLbButton b(nullptr);
    TBitmap strip(54, 18);
    b.SetGlyph(&strip);
    EXPECT_EQ(b.NumGlyphs(), 3);
    TBitmap flat(54, 0);
    b.SetGlyph(&flat);
    EXPECT_EQ(b.NumGlyphs(), 0);
    b.SetGlyph(&strip);
    b.SetGlyph(nullptr);
    EXPECT_EQ(b.NumGlyphs(), 0);
    EXPECT_EQ(b.Glyph()->Height(), 0);
}

TEST(LbButton, OnlyStyleSetterMakesTransparentWindows)
{
    TLbButton b(nullptr);
    for (TLbButtonStyle s : { bsModern, bsShape, bsQuicken }) {
        b.SetStyle(s);
        EXPECT_TRUE(b.WindowTransparent()) << s;
    }
    for (TLbButtonStyle s : { bsNormal, bsEncarta, bsOld }) {
        b.SetStyle(s);
        EXPECT_FALSE(b.WindowTransparent()) << s;
    }
}

// ---------------------------------------------------------------------------
// Face painting

TEST(LbButtonFace, HotTrackBlendStepsInEighths)
{
    const TColor c = RGB(248, 247, 237);
    EXPECT_EQ(LbHotTrackBlend(c, clYellow, 0), c);
    EXPECT_EQ(LbHotTrackBlend(c, clYellow, 8), clYellow);
    // trunc(248 * 0.5 + 255 * 0.5) = 251, trunc(237 * 0.5) = 118.
    EXPECT_EQ(LbHotTrackBlend(c, clYellow, 4), RGB(251, 251, 118));
    // System colours are resolved before mixing.
    EXPECT_EQ(LbHotTrackBlend(clBtnFace, clBlack, 0), ColorToRGB(clBtnFace));
}

TEST(LbButtonFace, GradientRunsFromFirstToSecondColour)
{
    TBitmap bmp(10, 64);
    LbGradientFill(bmp.Canvas(), Rect(0, 0, 10, 62), clBlack, clWhite);
    const QImage img = bmp.ToImage();
    EXPECT_EQ(PixelAt(img, 5, 0), clBlack);
    EXPECT_EQ(PixelAt(img, 5, 61), RGB(246, 246, 246)); // band 30 of 0..31
    for (int y = 1; y < 62; ++y)
        EXPECT_GE(qRed(img.pixel(5, y)), qRed(img.pixel(5, y - 1))) << y;
    EXPECT_EQ(PixelAt(img, 5, 62), clWhite); // untouched below the rectangle
    EXPECT_EQ(bmp.Canvas()->Pen()->Style(), TPenStyle::psSolid); // pen restored
}

TEST(LbButtonFace, GlyphCellFollowsState)
{
    TFont font;
    const auto four = MakeStrip({ clRed, clGray, clBlue, clGreen });
    const auto one = MakeStrip({ clRed });
    struct Case {
        const TBitmap* strip;
        int cells;
        bool enabled, hot, down;
        TColor shown;
    } cases[] = {
        { four.get(), 4, true, false, false, clRed }, // normal
        { four.get(), 4, false, true, true, clGray }, // disabled wins
        { four.get(), 4, true, false, true, clBlue }, // pressed
        { four.get(), 4, true, true, false, clGreen }, // hot
        { four.get(), 4, true, true, true, clBlue }, // pressed over hot
        { four.get(), 3, true, true, false, clRed }, // no hot cell with three
        { one.get(), 1, false, false, false, clRed }, // a one-cell strip shows its only cell
    };
    for (const Case& c : cases) {
        TLbButtonFace f = BaseFace(&font);
        f.Glyph = c.strip;
        f.NumGlyphs = c.cells;
        f.Enabled = c.enabled;
        f.Hot = c.hot;
        f.Down = c.down;
        TBitmap bmp(f.Width, f.Height);
        const TLbFaceLayout l = LbLayoutButtonFace(bmp.Canvas(), f);
        const QImage img = PaintFace(f);
        SCOPED_TRACE(testing::Message() << c.cells << c.enabled << c.hot << c.down);
        EXPECT_EQ(PixelAt(img, l.GlyphPos.X + 6, l.GlyphPos.Y + 6), c.shown);
        // The strip's border colour is transparent: the face shows there.
        EXPECT_EQ(PixelAt(img, l.GlyphPos.X, l.GlyphPos.Y), RGB(248, 247, 237));
    }
}

TEST(LbButtonFace, CaptionShortensToLongestFittingPrefix)
{
    TMeasuring m;
    TFont& font = m.Font;
    TCanvas* c = m.Canvas;
    auto width = [c](const QString& s) { return LineWidth(c, s); };
    const QString text = QStringLiteral("Delete Row");
    TLbButtonFace f = BaseFace(&font);
    f.Caption = text;
    f.Width = width(QStringLiteral("Delete")) + 8; // a = W - 8 without a glyph
    const TLbFaceLayout l = LbLayoutButtonFace(c, f);
    ASSERT_TRUE(text.startsWith(l.Caption));
    ASSERT_LT(l.Caption.size(), text.size());
    EXPECT_LE(width(l.Caption), f.Width - 8);
    EXPECT_GT(width(text.left(l.Caption.size() + 1)), f.Width - 8);

    f.WordWrap = true; // wraps instead of cutting
    EXPECT_EQ(LbLayoutButtonFace(c, f).Caption, text);

    // No room at all: nothing of the caption is drawn.
    f.WordWrap = false;
    f.Width = 8;
    EXPECT_TRUE(LbLayoutButtonFace(c, f).Caption.isEmpty());
    const QImage img = PaintFace(f);
    for (int y = 1; y < f.Height - 1; ++y)
        for (int x = 1; x < f.Width - 1; ++x)
            ASSERT_EQ(PixelAt(img, x, y), RGB(248, 247, 237)) << x << "," << y;
}

TEST(LbButtonFace, VeryLongCaptionIsCutToItsLongestFittingPrefix)
{
    // A language file may hold a text of any length; the button must still
    // paint, showing as much of it as fits.
    TMeasuring m;
    TFont& font = m.Font;
    TCanvas* c = m.Canvas;
    auto width = [c](const QString& s) { return LineWidth(c, s); };
    const auto glyph = MakeStrip({ clBlue });
    struct Case {
        QString text;
        int width;
        bool glyph;
    } cases[] = {
        { QString(100000, QLatin1Char('W')), 100, false },
        { QStringLiteral("Delete Row ").repeated(10000), 170, true },
        { QStringLiteral("&Save && go ").repeated(9000), 60, false },
        // A cut between the halves of a surrogate pair drops the whole pair.
        { QString::fromUtf16(u"\U0001D11E").repeated(50000), 100, false },
    };
    for (const Case& k : cases) {
        TLbButtonFace f = BaseFace(&font);
        f.Caption = k.text;
        f.Width = k.width;
        f.Glyph = k.glyph ? glyph.get() : nullptr;
        f.NumGlyphs = k.glyph ? 1 : 0;
        const int a = k.width - 8 - (k.glyph ? 12 + 4 : 0);
        const TLbFaceLayout l = LbLayoutButtonFace(c, f);
        SCOPED_TRACE(k.text.left(12).toStdString());
        ASSERT_FALSE(l.Caption.isEmpty());
        ASSERT_TRUE(k.text.startsWith(l.Caption));
        EXPECT_LE(width(l.Caption), a);
        qsizetype next = l.Caption.size() + 1;
        if (k.text[next - 1].isHighSurrogate())
            ++next;
        EXPECT_GT(width(k.text.left(next)), a);
        EXPECT_FALSE(l.Caption.back().isHighSurrogate());
    }

    // The control paints such a caption as well.
    TestForm form;
    auto* b = form.Add<TLbButton>(10, 10);
    b->SetCaption(cases[0].text);
    const QImage img = b->PaintToImage();
    EXPECT_EQ(img.width(), b->Width());
}

TEST(LbButtonFace, DisabledCaptionIsGrey)
{
    TFont font;
    font.SetColor(clBlack);
    TLbButtonFace f = BaseFace(&font);
    f.Caption = QStringLiteral("HIH");
    auto darkest = [](const QImage& img, const TRect& r) {
        int best = 255;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                best = std::min(best, qGreen(img.pixel(x, y)));
        return best;
    };
    TBitmap scratch(1, 1);
    const TRect r = LbLayoutButtonFace(scratch.Canvas(), f).CaptionRect;
    EXPECT_LT(darkest(PaintFace(f), r), 64);
    f.Enabled = false;
    EXPECT_EQ(darkest(PaintFace(f), r), 128); // clGray, never darker
}

TEST(LbButtonFace, PressedNormalShiftsContentEncartaTurnsBold)
{
    TFont font;
    const auto glyph = MakeStrip({ clBlue });
    TLbButtonFace f = BaseFace(&font);
    f.Glyph = glyph.get();
    f.NumGlyphs = 1;
    f.Caption = QStringLiteral("Save");

    TBitmap scratch(1, 1);
    for (TLbButtonStyle style : { bsNormal, bsEncarta }) {
        f.Style = style;
        f.Down = false;
        const TLbFaceLayout up = LbLayoutButtonFace(scratch.Canvas(), f);
        f.Down = true;
        const TLbFaceLayout down = LbLayoutButtonFace(scratch.Canvas(), f);
        const bool bold = scratch.Canvas()->Font()->Style().testFlag(TFontStyle::fsBold);
        const int shift = style == bsNormal ? 1 : 0;
        SCOPED_TRACE(int(style));
        EXPECT_EQ(down.CaptionRect.Left, up.CaptionRect.Left + shift);
        EXPECT_EQ(down.CaptionRect.Top, up.CaptionRect.Top + shift);
        EXPECT_EQ(bold, style == bsEncarta);
    }

    // In pixels: the pressed normal face's inside is the released one moved
    // one pixel right and down.
    f.Style = bsNormal;
    f.Down = false;
    const QImage up = PaintFace(f);
    f.Down = true;
    const QImage down = PaintFace(f);
    for (int y = 3; y < f.Height - 3; ++y)
        for (int x = 3; x < f.Width - 3; ++x)
            ASSERT_EQ(down.pixel(x + 1, y + 1), up.pixel(x, y)) << x << "," << y;
}

TEST(LbButtonFace, FlatFrameShowsOnlyWhileHotOrPressed)
{
    TFont font;
    TLbButtonFace f = BaseFace(&font);
    f.Flat = true;
    const TColor face = RGB(248, 247, 237);
    struct Case {
        bool hot, down, enabled;
        TColor topLeft, bottomRight;
    } cases[] = {
        { false, false, true, face, face }, { true, false, true, clWhite, clGray },
        { false, true, true, clGray, clWhite },
        { true, false, false, face, face }, // a disabled flat button stays frameless
    };
    for (const Case& c : cases) {
        f.Hot = c.hot;
        f.Down = c.down;
        f.Enabled = c.enabled;
        const QImage img = PaintFace(f);
        SCOPED_TRACE(testing::Message() << c.hot << c.down << c.enabled);
        EXPECT_EQ(PixelAt(img, 0, 5), c.topLeft);
        EXPECT_EQ(PixelAt(img, f.Width - 1, 5), c.bottomRight);
    }
}

TEST(LbButtonFace, FaceColourComesFromHotStepAndDownColour)
{
    TFont font;
    TLbButtonFace f = BaseFace(&font);
    f.HotTrackColor = clYellow;
    f.ColorWhenDown = RGB(255, 128, 0);
    f.HotTrackStep = 8;
    EXPECT_EQ(PixelAt(PaintFace(f), 10, 10), clYellow);
    f.HotTrackStep = 4;
    EXPECT_EQ(PixelAt(PaintFace(f), 10, 10), LbHotTrackBlend(f.Color, clYellow, 4));
    f.Down = true;
    EXPECT_EQ(PixelAt(PaintFace(f), 10, 10), RGB(255, 128, 0));
    f.Enabled = false; // no hot or down colour on a disabled button
    EXPECT_EQ(PixelAt(PaintFace(f), 10, 10), f.Color);
}

TEST(LbButtonFace, ShapeLeavesOnlyGlyphAndCaption)
{
    TFont font;
    const auto glyph = MakeStrip({ clBlue });
    TLbButtonFace f = BaseFace(&font);
    f.Style = bsShape;
    f.Glyph = glyph.get();
    f.NumGlyphs = 1;
    const QImage img = PaintFace(f);
    EXPECT_EQ(PixelAt(img, 0, 0), LbTransparentColor);
    EXPECT_EQ(PixelAt(img, f.Width - 1, f.Height - 1), LbTransparentColor);
    EXPECT_EQ(PixelAt(img, f.Width / 2, f.Height / 2), clBlue); // centred glyph
}

TEST(LbButtonFace, PopupMenuAddsTheDropArrow)
{
    TFont font;
    TLbButtonFace f = BaseFace(&font);
    const QImage plain = PaintFace(f);
    f.HasPopupMenu = true;
    const QImage withMenu = PaintFace(f);
    // The arrow's widest row is the top one, at (W-11, H/2-1), five pixels.
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(PixelAt(withMenu, f.Width - 11 + x, f.Height / 2 - 1), clBlack) << x;
    EXPECT_EQ(PixelAt(plain, f.Width - 11, f.Height / 2 - 1), f.Color);
}

// ---------------------------------------------------------------------------
// Input

TEST(LbButtonInput, ClickFiresOnceAndEndsTheModalForm)
{
    ModalDriver driver;
    TForm* form = new TForm(nullptr);
    form->SetBounds(40, 40, 300, 200);
    auto* ok = new TLbButton(form);
    ok->SetParent(form);
    ok->SetBounds(20, 20, 100, 25);
    ok->SetModalResult(mrOk);
    int clicks = 0;
    ok->OnClick = [&](TObject*) { ++clicks; };
    driver.OnForm(QStringLiteral("TForm"), [&](TCustomForm*) { input::Click(ok, { 10, 10 }); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(ok->Down());
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
    delete form;
}

// A press and release at a client point of `c`, delivered to its window as
// the window system delivers them: the pointer does not move before them.
void WindowClick(TControl* c, QPoint p, int& time)
{
    auto* wc = dynamic_cast<TWinControl*>(c);
    QWidget* top = wc->Widget()->window();
    QWindow* window = top->windowHandle();
    ASSERT_NE(window, nullptr);
    const QPoint at = wc->Widget()->mapTo(top, p);
    const QPoint global = top->mapToGlobal(at);
    qt_handleMouseEvent(
        window, at, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress, Qt::NoModifier, time += 10);
    qt_handleMouseEvent(
        window, at, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease, Qt::NoModifier, time += 10);
}

TEST(LbButtonInput, PressOnAFreshlyOpenedDialogClicks)
{
    // A button of the main form opens a dialog whose button appears under
    // the resting pointer; the next press and release come without a move,
    // soon enough to count as a double click or later.
    auto makeForm = [](TLbButton*& button) {
        auto* form = new TForm(nullptr);
        form->SetBounds(40, 40, 300, 200);
        button = new TLbButton(form);
        button->SetParent(form);
        button->SetBounds(20, 20, 100, 25);
        return form;
    };
    int time = 1000;
    for (int pause : { 100, 2000 }) {
        SCOPED_TRACE(pause);
        ModalDriver driver;
        TLbButton* open = nullptr;
        TLbButton* ok = nullptr;
        std::unique_ptr<TForm> main(makeForm(open));
        std::unique_ptr<TForm> dialog(makeForm(ok));
        main->Show();
        ok->SetModalResult(mrOk);
        int clicks = 0;
        TModalResult result = mrNone;
        ok->OnClick = [&](TObject*) { ++clicks; };
        auto* edit = new TEdit(dialog.get());
        edit->SetParent(dialog.get());
        edit->SetBounds(150, 20, 100, 21);
        dialog->OnShow = [&](TObject*) { dialog->SetActiveControl(edit); };
        open->OnClick = [&](TObject*) { result = dialog->ShowModal(); };
        driver.OnForm(QStringLiteral("TForm"), [&](TCustomForm*) {
            ASSERT_EQ(ok->ClientToScreen(Point(10, 10)), open->ClientToScreen(Point(10, 10)));
            time += pause;
            WindowClick(ok, QPoint(10, 10), time);
            if (clicks == 0)
                dialog->SetModalResult(mrCancel);
        });
        time += 5000;
        WindowClick(open, QPoint(10, 10), time);
        EXPECT_EQ(result, mrOk);
        EXPECT_EQ(clicks, 1);
        EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
    }
}

TEST(LbButtonInput, PressesCountEvenDoubleAndOutside)
{
    TestForm f;
    auto* b = f.Add<TLbButton>(20, 20);
    int clicks = 0, downs = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->OnMouseDown = [&](TObject*, TMouseButton, TShiftState s, int, int) {
        ++downs;
        EXPECT_FALSE(s.testFlag(ssDouble)); // never reported as a double click
    };

    input::DoubleClick(b, mbLeft, { 10, 10 });
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(downs, 2);

    // Pressed on the button, released far outside: the captured press clicks.
    input::MouseDown(b, mbLeft, { 10, 10 });
    EXPECT_TRUE(b->Down());
    EXPECT_TRUE(b->Focused());
    input::MouseUp(b, mbLeft, { 250, 150 });
    EXPECT_EQ(clicks, 3);
    EXPECT_FALSE(b->Down());

    // A right press does not press the button.
    input::Click(b, { 10, 10 }, mbRight);
    EXPECT_EQ(clicks, 3);

    b->SetEnabled(false);
    input::Click(b, { 10, 10 });
    EXPECT_EQ(clicks, 3);
    EXPECT_FALSE(b->Down());
}

TEST(LbButtonInput, SpaceAndEnterOnTheFocusedButtonClickOnRelease)
{
    TestForm f;
    auto* b = f.Add<TLbButton>(20, 20);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->SetFocus();
    for (WORD key : { VK_SPACE, VK_RETURN }) {
        const int before = clicks;
        input::KeyDown(b, key, {}, key == VK_SPACE ? u' ' : u'\r');
        EXPECT_TRUE(b->Down()) << key;
        EXPECT_EQ(clicks, before) << key;
        input::KeyUp(b, key);
        EXPECT_FALSE(b->Down()) << key;
        EXPECT_EQ(clicks, before + 1) << key;
    }
}

TEST(LbButtonInput, ReleaseOfAKeyPressedElsewhereDoesNotClick)
{
    // The Enter that confirms a dialog is released once the focus is back on
    // the button that opened it; clicking then would open the dialog again.
    TestForm f;
    auto* edit = f.Add<TEdit>(10, 10);
    auto* b = f.Add<TLbButton>(20, 60);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    for (WORD key : { VK_RETURN, VK_SPACE }) {
        edit->SetFocus();
        input::KeyDown(edit, key, {}, key == VK_SPACE ? u' ' : u'\r');
        b->SetFocus();
        input::KeyUp(b, key);
        EXPECT_EQ(clicks, 0) << key;
        EXPECT_FALSE(b->Down()) << key;
    }
    // Its own press still clicks on release.
    input::KeyDown(b, VK_RETURN, {}, u'\r');
    input::KeyUp(b, VK_RETURN);
    EXPECT_EQ(clicks, 1);
}

TEST(LbButtonInput, EnterAndEscapeReachDefaultAndCancel)
{
    TestForm f;
    auto* edit = f.Add<TEdit>(10, 10);
    auto* radio = f.Add<TRadioButton>(10, 40);
    auto* push = f.Add<TButton>(10, 70);
    auto* ok = f.Add<TLbButton>(150, 10);
    auto* cancel = f.Add<TLbButton>(150, 50);
    auto* other = f.Add<TLbButton>(150, 90);
    ok->SetDefault(true);
    cancel->SetCancel(true);
    QStringList log;
    ok->OnClick = [&](TObject*) { log << "ok"; };
    cancel->OnClick = [&](TObject*) { log << "cancel"; };
    other->OnClick = [&](TObject*) { log << "other"; };
    push->OnClick = [&](TObject*) { log << "push"; };

    struct Case {
        TWinControl* focus;
        WORD key;
        TShiftState shift;
        QStringList expected;
    } cases[] = {
        { edit, VK_RETURN, {}, { "ok" } },
        { radio, VK_RETURN, {}, { "ok" } },
        { edit, VK_ESCAPE, {}, { "cancel" } },
        { edit, VK_RETURN, ssShift, {} }, // a shift key held: not a dialog key
        { push, VK_RETURN, {}, { "push" } },
        { radio, VK_ESCAPE, {}, { "cancel" } },
        // While a push button has the focus the Default and Cancel buttons
        // stay out: Enter clicks the focused button, Escape passes on.
        { other, VK_RETURN, {}, { "other" } },
        { other, VK_ESCAPE, {}, {} },
        { push, VK_ESCAPE, {}, {} },
        { cancel, VK_ESCAPE, {}, {} },
        { ok, VK_RETURN, {}, { "ok" } },
    };
    for (const Case& c : cases) {
        log.clear();
        c.focus->SetFocus();
        input::Key(c.focus, c.key, c.shift);
        EXPECT_EQ(log, c.expected) << c.focus->ClassName().toStdString() << " key " << c.key;
    }

    // A disabled or hidden Default button ignores Enter.
    log.clear();
    ok->SetEnabled(false);
    edit->SetFocus();
    input::Key(edit, VK_RETURN);
    ok->SetEnabled(true);
    ok->SetVisible(false);
    input::Key(edit, VK_RETURN);
    EXPECT_TRUE(log.isEmpty()) << log.join(",").toStdString();
}

TEST(LbButtonInput, AcceleratorClicksItsButton)
{
    TestForm f;
    auto* edit = f.Add<TEdit>(10, 10);
    auto* apply = f.Add<TLbButton>(150, 10);
    auto* other = f.Add<TLbButton>(150, 50);
    apply->SetCaption(QStringLiteral("&Apply"));
    other->SetCaption(QStringLiteral("&Close"));
    int applied = 0, closed = 0;
    apply->OnClick = [&](TObject*) { ++applied; };
    other->OnClick = [&](TObject*) { ++closed; };

    edit->SetFocus();
    input::Key(edit, 'A', ssAlt, u'a');
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(closed, 0);
    // Where the focused control takes no characters, the plain letter does it.
    other->SetFocus();
    input::Key(other, 'A', {}, u'a');
    EXPECT_EQ(applied, 2);
    // A disabled button's accelerator does nothing.
    apply->SetEnabled(false);
    input::Key(edit, 'A', ssAlt, u'a');
    EXPECT_EQ(applied, 2);
}

TEST(LbButtonInput, HotTrackingStartsOnEnterAndEndsOnLeave)
{
    TestForm f;
    auto* b = f.Add<TLbButton>(20, 20);
    b->SetHotTrackColor(clYellow);
    QStringList log;
    b->OnMouseEnter = [&](TObject*) { log << "enter"; };
    b->OnMouseExit = [&](TObject*) { log << "exit"; };

    input::MouseMove(b, { 10, 10 });
    EXPECT_TRUE(b->CursorOnButton());
    EXPECT_EQ(b->HotTrackStep(), 8);
    EXPECT_EQ(PixelAt(b->PaintToImage(), 50, 3), clYellow);
    input::MouseMove(f.Form, { 300, 200 });
    EXPECT_FALSE(b->CursorOnButton());
    EXPECT_EQ(b->HotTrackStep(), 0); // at once without SlowDecease
    EXPECT_TRUE(b->FadeThread()->Suspended());
    EXPECT_EQ(PixelAt(b->PaintToImage(), 50, 3), ColorToRGB(clBtnFace));
    EXPECT_EQ(log, QStringList({ "enter", "exit" }));

    // A disabled button does not light up.
    b->SetEnabled(false);
    input::MouseMove(b, { 10, 10 });
    EXPECT_FALSE(b->CursorOnButton());
    EXPECT_EQ(b->HotTrackStep(), 0);
}

TEST(LbButtonInput, FlatButtonFramesWhileHoveredOrFocused)
{
    TestForm f;
    auto* edit = f.Add<TEdit>(200, 10);
    auto* b = f.Add<TLbButton>(20, 20);
    b->SetColor(RGB(248, 247, 237));
    b->SetLightColor(clWhite);
    b->SetFlat(true);
    edit->SetFocus();
    auto leftEdge = [&] { return PixelAt(b->PaintToImage(), 0, 5); };
    EXPECT_EQ(leftEdge(), RGB(248, 247, 237));
    input::MouseMove(b, { 10, 10 });
    EXPECT_EQ(leftEdge(), clWhite);
    input::MouseMove(f.Form, { 300, 200 });
    EXPECT_EQ(leftEdge(), RGB(248, 247, 237));
    b->SetFocus();
    EXPECT_EQ(leftEdge(), clWhite);
}

TEST(LbButtonInput, SlowDeceaseFadesInEightThirtyMillisecondSteps)
{
    TestForm f;
    auto* b = f.Add<TLbButton>(20, 20);
    b->SetColor(RGB(248, 247, 237));
    b->SetHotTrackColor(clYellow);
    b->SetSlowDecease(true);
    TLbButtonThread* fade = b->FadeThread();
    ASSERT_NE(fade, nullptr);
    EXPECT_EQ(fade->Timer()->Interval(), 30u);

    input::MouseMove(b, { 10, 10 });
    EXPECT_EQ(b->HotTrackStep(), 8);
    EXPECT_TRUE(fade->Suspended());
    input::MouseMove(f.Form, { 300, 200 });
    EXPECT_FALSE(fade->Suspended()); // leaving starts the fade
    EXPECT_TRUE(fade->Timer()->Enabled());
    EXPECT_EQ(b->HotTrackStep(), 8);

    // The timer is the test's clock: each expiry is one 30 ms step.
    int steps = 0;
    while (!fade->Suspended() && steps < 20) {
        fade->Timer()->Fire();
        ++steps;
        EXPECT_EQ(b->HotTrackStep(), 8 - steps);
        EXPECT_EQ(PixelAt(b->PaintToImage(), 50, 3), LbHotTrackBlend(RGB(248, 247, 237), clYellow, 8 - steps));
    }
    EXPECT_EQ(steps, 8);
    EXPECT_EQ(b->HotTrackStep(), 0);
    EXPECT_FALSE(fade->Timer()->Enabled());
    fade->Timer()->Fire(); // a stray expiry after the end changes nothing
    EXPECT_EQ(b->HotTrackStep(), 0);

    // Back on the button half way through a fade: the hot colour stays while
    // the mouse is there, and the next leave fades it from the full colour.
    input::MouseMove(b, { 10, 10 });
    input::MouseMove(f.Form, { 300, 200 });
    fade->Timer()->Fire();
    fade->Timer()->Fire();
    fade->Timer()->Fire();
    ASSERT_EQ(b->HotTrackStep(), 5);
    input::MouseMove(b, { 10, 10 });
    EXPECT_EQ(b->HotTrackStep(), 8);
    EXPECT_TRUE(fade->Suspended());
    EXPECT_FALSE(fade->Timer()->Enabled());
    input::MouseMove(f.Form, { 300, 200 });
    steps = 0;
    while (!fade->Suspended() && steps < 20) {
        fade->Timer()->Fire();
        ++steps;
    }
    EXPECT_EQ(steps, 8);

    // Switching the fade off stops and frees the stepper.
    input::MouseMove(b, { 10, 10 });
    input::MouseMove(f.Form, { 300, 200 });
    b->SetSlowDecease(false);
    EXPECT_EQ(b->FadeThread(), nullptr);
    EXPECT_EQ(b->HotTrackStep(), 0);
    b->SetSlowDecease(true);
    ASSERT_NE(b->FadeThread(), nullptr);
    EXPECT_TRUE(b->FadeThread()->Suspended());
}

TEST(LbButtonInput, ClickPopsTheMenuUnderTheButton)
{
    TestForm f;
    auto* b = f.Add<TLbButton>(20, 30);
    auto* menu = new TPopupMenu(f.Form);
    b->SetPopupMenu(menu);
    TPoint shownAt(-1, -1);
    const TPopupTracker previous = TPopupMenu::SetTracker([&](TPopupMenu*, int x, int y) -> TMenuItem* {
        shownAt = TPoint(x, y);
        return nullptr;
    });
    input::Click(b, { 10, 10 });
    TPopupMenu::SetTracker(previous);
    EXPECT_EQ(shownAt, b->ClientToScreen(Point(0, b->Height())));
    EXPECT_EQ(menu->PopupComponent(), b);
}

TEST(LbButtonInput, ActionLendsItsImageAndRunsOnClick)
{
    TestForm f;
    auto* b = f.Add<TLbButton>(20, 30);
    TImageList images(16, 16);
    const auto icon = MakeStrip({ clBlue }, 16);
    images.AddMasked(icon.get(), clFuchsia);
    auto* action = new TAction(f.Form);
    action->SetCaption(QStringLiteral("Run"));
    action->SetImages(&images);
    action->SetImageIndex(0);
    int runs = 0;
    action->OnExecute = [&](TObject*) { ++runs; };

    b->SetAction(action);
    EXPECT_EQ(b->Caption(), QStringLiteral("Run"));
    EXPECT_EQ(b->NumGlyphs(), 1);
    ASSERT_EQ(b->Glyph()->Width(), 16);
    EXPECT_EQ(PixelAt(b->Glyph()->Image(), 8, 8), clBlue);
    EXPECT_EQ(PixelAt(b->Glyph()->Image(), 0, 15), LbTransparentColor); // bottom-left: transparent

    input::Click(b, { 10, 10 });
    EXPECT_EQ(runs, 1);
    action->SetEnabled(false); // follows into the button, which then ignores clicks
    EXPECT_FALSE(b->Enabled());
    input::Click(b, { 10, 10 });
    EXPECT_EQ(runs, 1);

    // An action freed first leaves the button without one.
    delete action;
    EXPECT_EQ(b->Action(), nullptr);
}

TEST(LbButtonInput, ActionImageArrivingLaterFillsOnlyAnEmptyGlyph)
{
    TestForm f;
    auto* plain = f.Add<TLbButton>(20, 30);
    auto* own = f.Add<TLbButton>(20, 60);
    own->SetGlyph(MakeStrip({ clRed }, 16).get());
    TImageList images(16, 16);
    images.AddMasked(MakeStrip({ clBlue }, 16).get(), clFuchsia);
    auto* action = new TAction(f.Form);
    action->SetCaption(QStringLiteral("Run"));
    plain->SetAction(action);
    own->SetAction(action);

    action->SetImageIndex(0); // no list yet
    action->SetImages(&images);
    EXPECT_EQ(PixelAt(plain->Glyph()->Image(), 8, 8), clBlue);
    EXPECT_EQ(plain->NumGlyphs(), 1);
    EXPECT_EQ(PixelAt(own->Glyph()->Image(), 8, 8), clRed); // its own glyph wins

    auto* late = f.Add<TLbButton>(20, 90);
    action->SetImageIndex(1); // past the list's end: nothing to take
    late->SetAction(action);
    EXPECT_TRUE(late->Glyph()->Empty());
    EXPECT_EQ(late->NumGlyphs(), 0);

    // A caption changed by hand no longer follows the action.
    plain->SetCaption(QStringLiteral("Mine"));
    action->SetCaption(QStringLiteral("Go"));
    EXPECT_EQ(plain->Caption(), QStringLiteral("Mine"));
    EXPECT_EQ(own->Caption(), QStringLiteral("Go"));
}

TEST(LbButtonInput, HiddenButtonClickedByCodeDoesNotStayPressed)
{
    TestForm f;
    auto* b = f.Add<TLbButton>(20, 30);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->SetVisible(false);
    b->Click();
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(b->Down());
}

} // namespace
