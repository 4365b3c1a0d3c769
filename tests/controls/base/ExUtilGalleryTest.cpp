// A gallery of every cell drawing: shapes, bars, pies, the underline, the
// cell buttons in every kind and state, the selection box in three styles
// and the gradients, kept as a golden picture.
#include "common/TestUtil.h"
#include "controls/base/ExUtilDraw.h"
#include "platform/graphics/Graphics.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

void Label(TCanvas& c, int x, int y, const QString& text)
{
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    c.Font()->SetColor(clGray);
    c.TextOut(x, y, text);
    c.Brush()->SetStyle(TBrushStyle::bsSolid);
    c.Pen()->SetWidth(1);
}

TColorTones OfficeTones()
{
    TColorTones t;
    t.Background = { RGB(240, 244, 250), RGB(150, 170, 200), RGB(40, 60, 90) };
    t.Hover = { RGB(255, 230, 160), RGB(220, 170, 80), clNone };
    t.Selected = { RGB(250, 190, 90), RGB(200, 130, 40), clNone };
    t.Disabled = { RGB(230, 230, 230), RGB(190, 190, 190), clNone };
    return t;
}

void Shapes(TCanvas& c, int y)
{
    for (int i = 0; i <= int(TCellShape::csHalfStar); ++i) {
        const int x = 8 + i * 30;
        DrawCellShape(&c, x, y, clNavy, i % 2 ? clYellow : RGB(120, 200, 120), TCellShape(i), 22, 24);
    }
}

void Bars(TCanvas& c, int y)
{
    c.Brush()->SetColor(clWhite);
    DrawProgressBar(
        &c, Rect(10, y, 110, y + 18), clNavy, false, clBlack, QString(), 100, 0, 0, 0, 40, clBlack, clWhite, clWhite);
    c.Brush()->SetColor(clWhite);
    DrawProgressBar(&c, Rect(120, y, 220, y + 18), RGB(0, 128, 0), false, clGray, QString(), 100, 0, 0, 0, 150, clBlack,
        clWhite, clWhite);
    c.Brush()->SetColor(clWhite);
    DrawProgressBar(&c, Rect(230, y, 330, y + 18), clMaroon, false, clNone, QStringLiteral("%d units"), 200, 100, 2, 2,
        170, clBlack, RGB(255, 240, 240), clWhite);

    TLevelProgressSettings s;
    s.Level0Color = RGB(0, 200, 0);
    s.Level0ColorTo = RGB(180, 255, 180);
    s.Level1Color = RGB(230, 200, 0);
    s.Level1ColorTo = RGB(255, 250, 180);
    s.Level2Color = RGB(255, 128, 0);
    s.Level2ColorTo = RGB(255, 210, 160);
    s.Level3Color = RGB(220, 0, 0);
    s.Level3ColorTo = RGB(255, 170, 170);
    s.Level1Perc = 50;
    s.Level2Perc = 80;
    s.BorderColor = clBlack;
    s.ShowBorder = true;
    s.UnCompleteColor = clWhite;
    s.Steps = 8;
    const int y2 = y + 26;
    s.CompletionSmooth = true;
    DrawLevelProgressBar(&c, Rect(10, y2, 110, y2 + 16), 45, s);
    s.CompletionSmooth = false;
    DrawLevelProgressBar(&c, Rect(120, y2, 220, y2 + 16), 85, s);
    s.Stacked = true;
    DrawLevelProgressBar(&c, Rect(230, y2, 330, y2 + 16), 100, s);
    s.ShowGradient = true;
    s.ShowPercentage = true;
    s.CompleteFontColor = clBlack;
    DrawLevelProgressBar(&c, Rect(340, y2, 440, y2 + 16), 90, s);
    s.Vertical = true;
    DrawLevelProgressBar(&c, Rect(450, y, 470, y + 60), 65, s);
    s.Stacked = false;
    s.ShowPercentage = false;
    DrawLevelProgressBar(&c, Rect(480, y, 500, y + 60), 95, s);

    const int y3 = y + 50;
    DrawBalanceBar(&c, Rect(10, y3, 110, y3 + 14), 60, RGB(0, 160, 0), RGB(200, 0, 0), false, 100);
    DrawBalanceBar(&c, Rect(120, y3, 220, y3 + 14), -35, RGB(0, 160, 0), RGB(200, 0, 0), true, 100);
    int x = 240;
    for (int p : { 0, 5, 30, 75, 100 }) {
        DrawProgressPie(&c, Rect(x, y3 - 4, x + 22, y3 + 18), RGB(70, 110, 220), false, p);
        x += 30;
    }
}

void Buttons(TCanvas& c, int y)
{
    const TColorTones tones = OfficeTones();
    for (int kind = 0; kind < 4; ++kind) {
        const int x0 = 60 + kind * 130;
        Label(c, x0, y, QStringLiteral("kind %1").arg(kind));
        for (int state = 0; state < 4; ++state) {
            const int yy = y + 16 + state * 24;
            DrawCellButton(&c, 0, Rect(x0, yy, x0 + 36, yy + 20), tones, state, kind);
            c.Pen()->SetColor(clSilver);
            c.Brush()->SetColor(clWhite);
            c.Rectangle(x0 + 40, yy, x0 + 80, yy + 20);
            DrawComboButton(&c, 0, Rect(x0 + 40, yy, x0 + 80, yy + 20), tones, state, kind);
            c.Pen()->SetColor(clSilver);
            c.Brush()->SetColor(clWhite);
            c.Rectangle(x0 + 84, yy, x0 + 124, yy + 21);
            DrawSpinButtons(&c, 0, Rect(x0 + 84, yy + 1, x0 + 124, yy + 21), tones, state, kind);
        }
    }
    for (int state = 0; state < 4; ++state)
        Label(c, 6, y + 18 + state * 24, QStringList { "normal", "hot", "down", "disabled" }[state]);
}

void Selections(TCanvas& c, int y)
{
    for (int endType = 0; endType < 4; ++endType) {
        const int x = 10 + endType * 70;
        DrawSelectionBox(&c, RGB(255, 244, 200), clNone, endType, Rect(x, y, x + 64, y + 20), clWhite,
            RGB(230, 200, 120), RGB(200, 160, 60), RGB(255, 230, 170), RGB(255, 250, 230), clNone, clNone);
        DrawSelectionBox(&c, RGB(250, 250, 255), RGB(200, 220, 250), endType, Rect(x, y + 24, x + 64, y + 44), clWhite,
            RGB(160, 190, 230), RGB(110, 150, 210), RGB(190, 210, 240), RGB(255, 255, 255), clNone, clNone);
        DrawSelectionBox(&c, RGB(255, 250, 230), RGB(255, 230, 160), endType, Rect(x, y + 48, x + 64, y + 68), clWhite,
            RGB(220, 180, 100), RGB(190, 140, 50), RGB(255, 220, 140), RGB(255, 255, 240), RGB(255, 240, 190),
            RGB(255, 210, 110));
    }
}

void Gradients(TCanvas& c, int y)
{
    DrawGradient(&c, clNavy, clAqua, true, Rect(300, y, 400, y + 20), 64);
    DrawGradient(&c, clRed, clYellow, false, Rect(410, y, 440, y + 68), 8);
    DrawGradient(&c, clGreen, clWhite, true, Rect(300, y + 24, 400, y + 44), 4);
    DrawMirrorGradient(&c, Rect(450, y, 500, y + 68), RGB(250, 250, 250), true, false, RGB(120, 140, 170), true,
        RGB(200, 215, 235), RGB(215, 225, 240), RGB(235, 240, 248));
    DrawMirrorGradient(&c, Rect(300, y + 48, 400, y + 68), RGB(255, 255, 255), true, true, clGray, false,
        RGB(200, 200, 200), RGB(220, 220, 220), RGB(240, 240, 240));
    DrawDropArrow(&c, TPoint(520, y + 8), clBlack);
}

TEST(ExUtilGallery, EveryCellDrawing)
{
    QImage img(600, 470, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas c;
    ASSERT_TRUE(c.BeginDraw(&img));
    Label(c, 4, 4, QStringLiteral("Shapes"));
    Shapes(c, 22);
    Label(c, 4, 52, QStringLiteral("Bars and pies"));
    Bars(c, 70);
    Label(c, 4, 146, QStringLiteral("Cell buttons"));
    Buttons(c, 162);
    Label(c, 4, 282, QStringLiteral("Selection boxes and gradients"));
    Selections(c, 300);
    Gradients(c, 300);
    Label(c, 4, 380, QStringLiteral("Error underline"));
    c.Font()->SetColor(clBlack);
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    c.TextOut(10, 400, QStringLiteral("Teh quick brown fox"));
    DrawErrorUnderline(nullptr, &c, QStringLiteral("Teh quick brown fox"), 3, 0, 12, Rect(10, 400, 300, 420));
    c.EndDraw();
    testutil::SaveImagePng(img, QStringLiteral("exutil_gallery"));
    EXPECT_TRUE(testutil::MatchesGolden(img, QStringLiteral("exutil_gallery")));
}

} // namespace
