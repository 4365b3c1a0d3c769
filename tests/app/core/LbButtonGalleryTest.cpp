// Every drawing style of the push button in its normal, hot, pressed,
// disabled and focused states, with glyph and caption, caption only and
// glyph only, on one picture. The states are reached through real input.

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>

#include "app/core/LbButton.h"
#include "common/TestUtil.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmaps.h"

namespace {

constexpr int CellW = 112;
constexpr int CellH = 40;
constexpr int LabelW = 150;
constexpr int HeaderH = 22;
constexpr int ButtonW = 100;
constexpr int ButtonH = 28;

// Four 16 x 16 cells (normal, disabled, pressed, hot): a disc in a colour
// of its own, so the picture shows which cell each state took.
void MakeGlyph(TBitmap& bmp)
{
    bmp.SetSize(64, 16);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(Rect(0, 0, 64, 16));
    const TColor colours[] = { RGB(0, 128, 0), RGB(160, 160, 160), RGB(192, 64, 0), RGB(0, 64, 192) };
    for (int i = 0; i < 4; ++i) {
        c->Pen()->SetColor(clBlack);
        c->Brush()->SetColor(colours[i]);
        c->Ellipse(i * 16 + 2, 2, i * 16 + 14, 14);
    }
}

TEST(LbButtonGallery, EveryStyleInEveryState)
{
    TForm host(nullptr);
    host.SetBounds(50, 50, 320, 60);
    host.SetColor(RGB(196, 212, 232)); // shows through the transparent styles
    auto* elsewhere = new TEdit(&host);
    elsewhere->SetParent(&host);
    elsewhere->SetBounds(200, 10, 80, 22);
    auto* b = new TLbButton(&host);
    b->SetParent(&host);
    b->SetBounds((CellW - ButtonW) / 2, (CellH - ButtonH) / 2, ButtonW, ButtonH);
    // The configurator's usual settings.
    b->SetColor(RGB(248, 247, 237));
    b->SetLightColor(clGray);
    b->SetColorWhenDown(RGB(255, 128, 0));
    b->SetHotTrackColor(clYellow);
    b->SetUseHotTrackFont(false);
    host.Show();
    elsewhere->SetFocus();

    TBitmap glyph;
    MakeGlyph(glyph);

    struct Style {
        TLbButtonStyle style;
        const char* name;
    } styles[] = {
        { bsNormal, "bsNormal" },
        { bsEncarta, "bsEncarta" },
        { bsModern, "bsModern" },
        { bsOld, "bsOld" },
        { bsShape, "bsShape" },
        { bsQuicken, "bsQuicken" },
    };
    struct Variant {
        bool glyph;
        QString caption;
        const char* name;
    } variants[] = {
        { true, QStringLiteral("&Apply"), "glyph+caption" },
        { false, QStringLiteral("&Apply"), "caption" },
        { true, QString(), "glyph" },
    };
    const QStringList states = { "normal", "hot", "pressed", "disabled", "focused" };

    const TPoint inside(10, 10);
    const TPoint away(300, 50);
    // Each state is set up, grabbed, and undone again.
    auto grab = [&] { return host.PaintToImage().copy(0, 0, CellW, CellH); };
    std::function<QImage()> shots[] = {
        [&] { return grab(); },
        [&] {
            input::MouseMove(b, inside);
            QImage img = grab();
            input::MouseMove(&host, away);
            return img;
        },
        [&] {
            input::MouseMove(b, inside);
            input::MouseDown(b, mbLeft, inside);
            QImage img = grab();
            // Released away from the button, which still clicks; nothing is wired to it.
            input::MouseUp(b, mbLeft, away);
            input::MouseMove(&host, away);
            elsewhere->SetFocus();
            return img;
        },
        [&] {
            b->SetEnabled(false);
            QImage img = grab();
            b->SetEnabled(true);
            return img;
        },
        [&] {
            b->SetFocus();
            QImage img = grab();
            elsewhere->SetFocus();
            return img;
        },
    };

    const int rows = int(std::size(styles) * std::size(variants));
    TBitmap gallery(LabelW + CellW * int(states.size()), HeaderH + CellH * rows);
    TCanvas* g = gallery.Canvas();
    g->Brush()->SetColor(clWhite);
    g->FillRect(Rect(0, 0, gallery.Width(), gallery.Height()));
    g->Font()->SetColor(clBlack);
    for (int s = 0; s < states.size(); ++s)
        g->TextOut(LabelW + s * CellW + 4, 4, states[s]);

    int row = 0;
    for (const Style& st : styles) {
        b->SetStyle(st.style);
        for (const Variant& v : variants) {
            b->SetGlyph(v.glyph ? &glyph : nullptr);
            b->SetCaption(v.caption);
            const int y = HeaderH + row * CellH;
            g->Brush()->SetColor(clWhite);
            g->TextOut(4, y + 12, QStringLiteral("%1 %2").arg(st.name, v.name));
            for (int s = 0; s < states.size(); ++s) {
                const QImage shot = shots[s]();
                ASSERT_FALSE(shot.isNull());
                g->Draw(LabelW + s * CellW, y, shot);
                // Nothing is left over from the state just shown.
                ASSERT_FALSE(b->Down());
                ASSERT_FALSE(b->CursorOnButton());
                ASSERT_EQ(b->HotTrackStep(), 0);
            }
            ++row;
        }
    }

    const QImage picture = gallery.ToImage();
    testutil::SaveImagePng(picture, QStringLiteral("lbbutton_gallery"));
    EXPECT_TRUE(testutil::MatchesGolden(picture, QStringLiteral("lbbutton_gallery")));
}

} // namespace
