#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <vector>

#include "common/TestUtil.h"
#include "controls/grid/ESGEdit.h"
#include "controls/grid/esgspin.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/PlatformInfo.h"
#include "tests/controls/grid/EsgEditTestSupport.h"

namespace {

// The grid's colour tones as the grid hands them to its editors' buttons.
template <class Box> void Colour(Box* box)
{
    box->SetButtonColor(RGB(219, 234, 249));
    box->SetButtonColorHot(RGB(189, 216, 244));
    box->SetButtonColorDown(RGB(120, 172, 228));
    box->SetButtonBorderColor(RGB(86, 125, 170));
}

// One form of every spin and edit-button look, painted with the theme on or
// off (the themed controls fall back to the classic look without it).
QImage Gallery(bool themes)
{
    TPlatformInfo facts = PlatformInfo();
    facts.ThemesActive = themes;
    TPlatformInfoScope scope(facts);
    TLocaleScope locale(TLocale { u',', u'.', u'.', u':', QStringLiteral("dd.MM.yyyy") });

    TEditForm f;
    f.Form->SetBounds(0, 0, 470, 150);
    f.Form->SetColor(RGB(248, 247, 237));
    auto label = [&](int x, int y, const char* text) {
        auto* l = new TLabel(f.Form);
        l->SetParent(f.Form);
        l->SetBounds(x, y, 100, 14);
        l->SetCaption(text);
    };
    auto spin = [&](int x, int y, TSpinDirection dir, bool coloured) {
        auto* s = f.Add<TEsgSpinEdit>(x, y, 100);
        s->SetIsWinXP(true);
        s->SetDirection(dir);
        if (coloured)
            Colour(s->Button());
        s->SetValue(42);
        return s;
    };
    label(10, 4, themes ? "themed" : "classic");
    label(120, 4, "coloured");
    label(230, 4, "pressed");
    label(340, 4, "hot");
    // The mouse is over one control at a time: each pressed or hot spin is
    // pictured in that state on its own and laid over the form's picture.
    struct TShot {
        TPoint At;
        QImage Image;
    };
    std::vector<TShot> shots;
    const int rows[] = { 20, 48 };
    for (int r = 0; r < 2; ++r) {
        const TSpinDirection dir = r == 0 ? spVertical : spHorizontal;
        spin(10, rows[r], dir, false);
        spin(120, rows[r], dir, true);
        TEsgSpinEdit* pressed = spin(230, rows[r], dir, r == 1);
        TExTimerSpeedButton* up = pressed->Button()->UpButton();
        input::MouseDown(up, mbLeft, TPoint(2, 2));
        shots.push_back({ TPoint(pressed->Left(), pressed->Top()), pressed->PaintToImage() });
        input::MouseUp(up, mbLeft, TPoint(-50, -50)); // released off the button: no step
        TEsgSpinEdit* hot = spin(340, rows[r], dir, r == 1);
        input::MouseMove(hot->Button()->DownButton(), TPoint(2, 2));
        shots.push_back({ TPoint(hot->Left(), hot->Top()), hot->PaintToImage() });
        input::MouseMove(f.Form, TPoint(460, 140));
    }
    auto* edit = f.Add<TEsgEditBtn>(10, 84, 100);
    edit->SetButtonCaption("...");
    edit->SetIsWinXP(true);
    edit->SetText("Converter");
    auto* colouredEdit = f.Add<TEsgEditBtn>(120, 84, 100);
    colouredEdit->SetButtonCaption("...");
    Colour(colouredEdit->Button());
    colouredEdit->SetText("HART");
    auto* flatEdit = f.Add<TEsgEditBtn>(230, 84, 100);
    flatEdit->SetButtonCaption("...");
    flatEdit->Button()->SetFlat(true);
    flatEdit->SetText("flat");
    auto* unit = f.Add<TEsgUnitEditBtn>(10, 114, 120);
    unit->SetButtonCaption("...");
    unit->SetIsWinXP(true);
    TStringList units;
    units.Add("mA");
    units.Add("V");
    unit->SetUnits(&units);
    unit->SetTextAndUnit("12,5mA");
    auto* gridUnit = f.Add<TEsgUnitEditBtn>(140, 114, 120);
    gridUnit->SetBorderStyle(bsNone);
    gridUnit->SetButtonCaption("...");
    gridUnit->SetUnits(&units);
    gridUnit->SetTextAndUnit("230V");

    // No focus highlight in the picture.
    f.Form->SetFocus();
    QImage img = f.Form->PaintToImage();
    QPainter p(&img);
    for (const TShot& shot : shots)
        p.drawImage(shot.At.X, shot.At.Y, shot.Image);
    return img;
}

TEST(EsgEditGallery, SpinAndEditButtonLooks)
{
    const QImage themed = Gallery(true);
    const QImage classic = Gallery(false);
    QImage img(themed.width(), themed.height() + classic.height(), QImage::Format_RGB32);
    QPainter p(&img);
    p.drawImage(0, 0, themed);
    p.drawImage(0, themed.height(), classic);
    p.end();
    testutil::SaveImagePng(img, "esg_edit_gallery");
    EXPECT_TRUE(testutil::MatchesGolden(img, "esg_edit_gallery"));
}

} // namespace
