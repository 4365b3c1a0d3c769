// A picture of the flat combo box in each frame state with its label around
// it, and of the grid's date-time picker plain and metro, focused and
// disabled, kept as a golden picture.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "common/TestUtil.h"
#include "controls/grid/EsgCombo.h"
#include "controls/grid/EsgDateTimePicker.h"
#include "platform/controls/Forms.h"
#include "platform/runtime/SysUtils.h"

namespace {

using P = TEsgCustomCombo;

TEST(EsgGallery, FlatComboStatesAndPickers)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 640, 400);
    form.Font()->SetName("Verdana");
    form.Font()->SetSize(8);
    form.SetColor(RGB(236, 233, 216));
    form.Show();

    auto combo = [&](int left, int top, const QString& caption, TEsgCustomCombo::TLabelPosition pos) {
        auto* c = new TEsgComboBox(&form);
        c->SetParent(&form);
        c->SetBounds(left, top, 130, 22);
        c->Items()->SetCommaText("9600,19200,38400");
        c->SetItemIndex(1);
        c->SetLabelPosition(pos);
        c->SetLabelCaption(caption);
        return c;
    };
    combo(90, 20, "Standard", P::lpLeftTop);
    combo(250, 30, "Flat", P::lpTopLeft)->SetFlat(true);
    auto* hot = combo(410, 30, "Hot", P::lpRightCenter);
    hot->SetFlat(true);
    hot->SetFocusBorder(true);
    auto* line = combo(90, 80, "Line", P::lpLeftBottom);
    line->SetFlat(true);
    line->SetFlatLineColor(clRed);
    combo(250, 80, "Border", P::lpBottomLeft)->SetBorderColor(clNavy);
    auto* focused = combo(410, 80, "Focus border", P::lpTopCenter);
    focused->SetBorderColor(clGray);
    focused->SetFocusBorderColor(clRed);
    auto* own = combo(90, 150, "Own button", P::lpBottomCenter);
    own->SetBorderColor(RGB(120, 150, 190));
    own->SetButtonColor(RGB(190, 210, 240));
    own->SetButtonColorHot(RGB(250, 220, 140));
    own->SetButtonBorderColor(RGB(120, 150, 190));
    own->SetButtonTextColor(clBlack);
    auto* disabled = combo(250, 150, "Disabled", P::lpTopLeft);
    disabled->SetFlat(true);
    disabled->SetEnabled(false);
    auto* themed = combo(410, 150, "Themed", P::lpRightTop);
    themed->SetIsWinXP(true);
    themed->SetFlat(true);
    auto* themedOff = combo(410, 200, "Themed off", P::lpRighBottom);
    themedOff->SetIsWinXP(true);
    themedOff->SetDisabledBorder(false);
    themedOff->SetEnabled(false);

    auto picker = [&](int left, int top) {
        auto* p = new TEsgDateTimePicker(&form);
        p->SetParent(&form);
        p->SetBounds(left, top, 150, 22);
        p->SetFormat("dd/MM/yyyy");
        p->SetDateTime(EncodeDate(2024, 2, 29));
        return p;
    };
    picker(20, 270);
    auto* metro = picker(190, 270);
    metro->SetMetroStyle(true);
    metro->SetBorderColor(RGB(120, 150, 190));
    metro->SetButtonColor(RGB(190, 210, 240));
    metro->SetButtonBorderColor(RGB(120, 150, 190));
    metro->SetButtonTextColor(clBlack);
    auto* metroFocus = picker(360, 270);
    metroFocus->SetMetroStyle(true);
    metroFocus->SetBorderColor(clGray);
    metroFocus->SetFocusBorderColor(clRed);
    auto* metroOff = picker(20, 320);
    metroOff->SetMetroStyle(true);
    metroOff->SetBorderColor(clGray);
    metroOff->SetEnabled(false);
    auto* classic = picker(190, 320);
    classic->SetMetroStyle(true);
    classic->SetBorderColor(clNavy);

    // The mouse over the hot combo and over the own button.
    hot->Perform(CM_MOUSEENTER);
    own->Perform(CM_MOUSEENTER);
    input::MouseMove(own, TPoint(own->Width() - 6, 10));
    focused->SetFocus();
    QImage picture = form.PaintToImage().convertToFormat(QImage::Format_RGB32);
    // One control has the focus at a time: the focused picker joins after.
    metroFocus->SetFocus();
    {
        QPainter painter(&picture);
        painter.drawImage(metroFocus->Left(), metroFocus->Top(), metroFocus->PaintToImage());
    }
    testutil::SaveImagePng(picture, "esg_combo_picker");
    EXPECT_TRUE(testutil::MatchesGolden(picture, "esg_combo_picker"));
}

} // namespace
