// A picture of every look of the search panel's button (looks 0 to 6 in each
// state, rounded, shaded, with the drop-down part, each glyph layout, raised)
// and of its check box (themed and classic, each state, both sides), kept as
// a golden picture.
#include "common/TestUtil.h"
#include "controls/base/ExObjButtonTestSupport.h"
#include "controls/base/ExObjCheckBox.h"
#include "controls/base/ExObjGridButton.h"
#include "platform/graphics/PlatformInfo.h"

#include <QImage>
#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct Gallery {
    TButtonTestForm F;
    QImage Picture { 650, 470, QImage::Format_RGB32 };
    QPainter Painter;
    Gallery()
    {
        Picture.fill(Qt::white);
        Painter.begin(&Picture);
    }
    ~Gallery()
    {
        if (Painter.isActive())
            Painter.end();
    }
    void Away() { input::MouseMove(F.Form, { 595, 395 }); }
    // Runs `setUp`, pastes the control's picture at (x, y), runs `tearDown`.
    void Shot(TControl* c, int x, int y, const std::function<void()>& setUp, const std::function<void()>& tearDown)
    {
        Away();
        setUp();
        Painter.drawImage(x, y, c->PaintToImage());
        tearDown();
        Away();
    }
};

enum class Look { Normal, Hot, Down, Checked, Disabled, DropDownHot };

void ShootButton(Gallery& g, TExGridButton* b, Look look, int x, int y)
{
    auto none = [] {};
    switch (look) {
    case Look::Normal:
        g.Shot(b, x, y, none, none);
        break;
    case Look::Hot:
        g.Shot(
            b, x, y,
            [&] {
                input::MouseMove(b, { 3, 3 });
            },
            none);
        break;
    case Look::Down:
        g.Shot(
            b, x, y,
            [&] {
                input::MouseDown(b, mbLeft, { 3, 3 });
            },
            [&] {
                input::MouseUp(b, mbLeft, { -40, -40 });
            });
        break;
    case Look::Checked:
        g.Shot(
            b, x, y,
            [&] {
                b->SetStyle(TExGridButtonStyle::tasCheck);
                b->SetDown(true);
            },
            [&] {
                b->SetDown(false);
                b->SetStyle(TExGridButtonStyle::tasButton);
            });
        break;
    case Look::Disabled:
        g.Shot(
            b, x, y, [&] { b->SetEnabled(false); }, [&] { b->SetEnabled(true); });
        break;
    case Look::DropDownHot:
        g.Shot(
            b, x, y,
            [&] {
                b->SetDropDownButton(true);
                input::MouseMove(b, { 3, 3 });
            },
            [&] { b->SetDropDownButton(false); });
        break;
    }
}

TEST(ExObjButtonGallery, MatchesGolden)
{
    Gallery g;
    auto glyph = MakeGlyph(12, RGB(40, 120, 220));
    auto big = MakeGlyph(16, RGB(220, 80, 40));

    // Looks 0..6 by state.
    auto* b = g.F.Add<TExGridButton>(10, 10, 84, 24);
    b->SetGlyph(glyph.get());
    for (int look = 0; look <= 6; ++look) {
        b->SetLook(look);
        b->SetCaption(QStringLiteral("Look %1").arg(look));
        for (int s = 0; s <= int(Look::DropDownHot); ++s)
            ShootButton(g, b, Look(s), 6 + s * 92, 6 + look * 30);
    }

    // Variants: rounded with a border, unshaded hot, raised (classic and themed).
    const int vy = 6 + 7 * 30;
    b->SetLook(1);
    b->SetCaption(QStringLiteral("Rounded"));
    b->SetRounded(true);
    b->SetBorderColor(RGB(0, 0, 160));
    ShootButton(g, b, Look::Normal, 6, vy);
    ShootButton(g, b, Look::Hot, 98, vy);
    b->SetRounded(false);
    b->SetBorderColor(clNone);
    b->SetCaption(QStringLiteral("Flat"));
    b->SetShaded(false);
    ShootButton(g, b, Look::Hot, 190, vy);
    b->SetShaded(true);
    b->SetFlat(false);
    b->SetCaption(QStringLiteral("Raised"));
    ShootButton(g, b, Look::Normal, 282, vy);
    ShootButton(g, b, Look::Down, 374, vy);
    b->SetAutoXPStyle(true);
    b->SetCaption(QStringLiteral("Themed"));
    ShootButton(g, b, Look::Normal, 466, vy);
    ShootButton(g, b, Look::Hot, 558, vy);
    b->SetAutoXPStyle(false);
    b->SetFlat(true);

    // Glyph layouts, with given and centred margins and spacing.
    auto* l = g.F.Add<TExGridButton>(10, 60, 80, 44);
    l->SetLook(2);
    l->SetGlyph(big.get());
    l->SetCaption(QStringLiteral("Find"));
    const int ly = vy + 30;
    int lx = 6;
    for (TButtonLayout layout : { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom }) {
        l->SetLayout(layout);
        l->SetMargin(-1);
        l->SetSpacing(4);
        ShootButton(g, l, Look::Normal, lx, ly);
        l->SetMargin(2);
        l->SetSpacing(-1);
        ShootButton(g, l, Look::Normal, lx, ly + 50);
        lx += 86;
    }
    auto* close = g.F.Add<TExGridButton>(10, 120, 14, 14); // glyph only, as the close button
    close->SetGlyph(MakeGlyph(14, clRed).get());
    ShootButton(g, close, Look::Normal, lx, ly);
    ShootButton(g, close, Look::Hot, lx + 20, ly);

    // Check boxes: themed and classic, both sides, each state.
    auto* cb = g.F.Add<TExCheckBox>(10, 150, 100, 22);
    cb->SetCaption(QStringLiteral("&Match case"));
    int row = 0;
    for (bool themed : { true, false }) {
        TPlatformInfo facts = PlatformInfo();
        facts.ThemesActive = themed;
        TPlatformInfoScope scope(facts);
        for (TAlignment side : { taLeftJustify, taRightJustify }) {
            cb->SetAlignment(side);
            cb->SetButtonVertAlign(row % 2 ? tlCenter : tlTop);
            const int y = ly + 110 + row * 28;
            auto none = [] {};
            int x = 6;
            auto shot = [&](const std::function<void()>& in, const std::function<void()>& out) {
                g.Shot(cb, x, y, in, out);
                x += 106;
            };
            shot([&] { cb->SetState(cbUnchecked); }, none);
            shot([&] { cb->SetState(cbChecked); }, none);
            shot([&] { cb->SetState(cbGrayed); }, [&] { cb->SetState(cbUnchecked); });
            shot([&] { input::MouseMove(cb, { 3, 3 }); }, none);
            shot([&] { input::MouseDown(cb, mbLeft, { 3, 3 }); }, [&] { input::MouseUp(cb, mbLeft, { -40, -40 }); });
            shot(
                [&] {
                    cb->SetChecked(true);
                    cb->SetEnabled(false);
                },
                [&] {
                    cb->SetEnabled(true);
                    cb->SetChecked(false);
                });
            ++row;
        }
    }
    g.Painter.end();
    testutil::SaveImagePng(g.Picture, QStringLiteral("exobj_buttons_gallery"));
    EXPECT_TRUE(testutil::MatchesGolden(g.Picture, QStringLiteral("exobj_buttons_gallery")));
}

} // namespace
