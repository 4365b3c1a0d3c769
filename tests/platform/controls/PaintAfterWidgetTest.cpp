#include <gtest/gtest.h>

#include <QImage>

#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"

namespace {

// An edit that paints a mark after its widget and keeps the widget's own
// painting out of a band at its right end.
class TMarkedEdit : public TEdit {
public:
    using TEdit::TEdit;
    TRect Mark;
    TColor MarkColor = clRed;
    TRect Excluded;
    int AfterPaints = 0;

protected:
    void PaintAfterWidget(TCanvas* Canvas) override
    {
        ++AfterPaints;
        if (Mark.IsEmpty())
            return;
        Canvas->Brush()->SetColor(MarkColor);
        Canvas->FillRect(Mark);
    }
    TRect WidgetPaintExclusion() const override { return Excluded; }
};

QRgb Rgb(TColor c)
{
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

struct Fixture {
    TForm* Form = new TForm(nullptr);
    TMarkedEdit* Edit;
    Fixture()
    {
        Form->SetBounds(0, 0, 200, 80);
        Form->SetColor(clBlue);
        Edit = new TMarkedEdit(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(10, 10, 120, 22);
        Edit->SetColor(clYellow);
        Form->Show();
    }
    ~Fixture() { delete Form; }
};

TEST(PaintAfterWidget, DrawsOverTheWidgetsOwnPainting)
{
    Fixture f;
    f.Edit->Mark = Rect(40, 5, 50, 15);
    const QImage img = f.Edit->PaintToImage();
    EXPECT_GT(f.Edit->AfterPaints, 0);
    EXPECT_EQ(img.pixel(45, 10), Rgb(clRed));
    // Outside the mark the widget's own background stays.
    EXPECT_EQ(img.pixel(20, 10), Rgb(clYellow));
}

TEST(PaintAfterWidget, ExcludedAreaIsLeftToTheControl)
{
    Fixture f;
    // Without an exclusion the edit's background reaches its right end.
    EXPECT_EQ(f.Edit->PaintToImage().pixel(110, 11), Rgb(clYellow));

    f.Edit->Excluded = Rect(100, 0, 120, 22);
    const QImage bare = f.Edit->PaintToImage();
    EXPECT_NE(bare.pixel(110, 11), Rgb(clYellow));
    EXPECT_EQ(bare.pixel(50, 11), Rgb(clYellow));

    // The control's own drawing fills what the widget left out.
    f.Edit->Mark = f.Edit->Excluded;
    f.Edit->MarkColor = clLime;
    const QImage drawn = f.Edit->PaintToImage();
    EXPECT_EQ(drawn.pixel(110, 11), Rgb(clLime));
    EXPECT_EQ(drawn.pixel(50, 11), Rgb(clYellow));
}

} // namespace
