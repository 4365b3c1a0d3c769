// The grid's date-time picker: the platform picker until the metro look is
// on, then an own frame that follows the focus and an own button. And the
// cell checker base, which leaves values as they are.

#include <gtest/gtest.h>

#include <QImage>

#include "controls/grid/EsgDateTimePicker.h"
#include "controls/grid/esgcheck.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/SysUtils.h"

namespace {

struct TPickerForm {
    TForm* Form;
    TPickerForm()
    {
        Form = new TForm(nullptr);
        Form->SetBounds(20, 20, 420, 200);
        Form->Show();
    }
    ~TPickerForm() { delete Form; }
    template <class T> T* Add(int top)
    {
        auto* p = new T(Form);
        p->SetParent(Form);
        p->SetBounds(10, top, 160, 24);
        p->SetFormat("dd/MM/yyyy");
        p->SetDateTime(EncodeDate(2024, 2, 29));
        return p;
    }
};

TColor PixelAt(const QImage& img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

TEST(EsgDateTimePicker, WithoutMetroItPaintsAsThePlatformPicker)
{
    TPickerForm f;
    auto* platform = f.Add<TDateTimePicker>(10);
    const QImage expected = platform->PaintToImage();
    struct Case {
        const char* name;
        void (*setup)(TEsgDateTimePicker*);
    } cases[] = {
        { "no colours", [](TEsgDateTimePicker*) {} },
        { "colours without metro",
            [](TEsgDateTimePicker* p) {
                p->SetBorderColor(clRed);
                p->SetFocusBorderColor(clBlue);
                p->SetButtonColor(clLime);
            } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* picker = f.Add<TEsgDateTimePicker>(60);
        c.setup(picker);
        const QImage got = picker->PaintToImage();
        ASSERT_EQ(got.size(), expected.size());
        EXPECT_TRUE(got.convertToFormat(QImage::Format_RGB32) == expected.convertToFormat(QImage::Format_RGB32));
        delete picker;
    }
}

TEST(EsgDateTimePicker, MetroFrameTakesTheBorderColourAndTheFocusColourWhileFocused)
{
    TPickerForm f;
    auto* other = f.Add<TEsgDateTimePicker>(100);
    auto* p = f.Add<TEsgDateTimePicker>(10);
    p->SetMetroStyle(true);
    p->SetBorderColor(clRed);
    const int h = p->Height();
    EXPECT_EQ(PixelAt(p->PaintToImage(), 0, h / 2), clRed);
    EXPECT_EQ(PixelAt(p->PaintToImage(), 60, h - 1), clRed);

    p->SetFocusBorderColor(clBlue);
    EXPECT_EQ(PixelAt(p->PaintToImage(), 0, h / 2), clRed); // not focused yet
    p->SetFocus();
    EXPECT_EQ(PixelAt(p->PaintToImage(), 0, h / 2), clBlue);
    other->SetFocus();
    EXPECT_EQ(PixelAt(p->PaintToImage(), 0, h / 2), clRed);

    // Only a focus colour: a frame while focused, none otherwise.
    p->SetBorderColor(clNone);
    const TColor unframed = PixelAt(p->PaintToImage(), 0, h / 2);
    EXPECT_NE(unframed, clBlue);
    p->SetFocus();
    EXPECT_EQ(PixelAt(p->PaintToImage(), 0, h / 2), clBlue);
}

TEST(EsgDateTimePicker, MetroButtonInOwnColoursForADateNotForATime)
{
    TPickerForm f;
    auto* p = f.Add<TEsgDateTimePicker>(10);
    p->SetMetroStyle(true);
    p->SetBorderColor(clGray);
    p->SetButtonColor(clLime);
    p->SetButtonBorderColor(clBlack);
    p->SetButtonTextColor(clBlack);
    const int w = p->Width();
    const TPoint inButton(w - 4, 4);
    EXPECT_EQ(PixelAt(p->PaintToImage(), inButton.X, inButton.Y), clLime);
    p->SetKind(dtkTime);
    EXPECT_NE(PixelAt(p->PaintToImage(), inButton.X, inButton.Y), clLime);
    EXPECT_EQ(p->Version(), "1.0.0.0");
}

TEST(ExStringGridCheck, TheBaseLeavesEveryValueUnchanged)
{
    TExStringGridCheck check(nullptr);
    check.SetAutoCorrect(true);
    check.SetAutoMarkError(true);
    check.StartCheck();
    for (const QString& v :
        { QString(), QStringLiteral(" 12,5 "), QStringLiteral("a\tb\r\nc"), QStringLiteral("µA") }) {
        EXPECT_EQ(check.Correct(1, 2, v), v);
        EXPECT_EQ(check.MarkError(3, 4, v), v);
    }
    check.StopCheck();
}

} // namespace
