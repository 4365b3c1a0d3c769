#include <gtest/gtest.h>

#include <QImage>

#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"

namespace {

// A button placed inside an edit must never have text under it: the text
// rectangle ends before it, whatever the text's length.
TEST(EditTextRect, KeepsTheTextClearOfTheRightEnd)
{
    TForm* form = new TForm(nullptr);
    form->SetBounds(0, 0, 300, 100);
    form->Show();
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 150, 22);
    EXPECT_EQ(edit->TextRect(), edit->ClientRect());
    edit->SetBorderStyle(bsNone);
    edit->SetText(QString(60, u'W'));
    // Dark text pixels right of x, inside the edit.
    auto inkRightOf = [&](int x) {
        const QImage img = edit->PaintToImage();
        int n = 0;
        for (int px = x; px < img.width(); ++px)
            for (int py = 0; py < img.height(); ++py)
                n += qGray(img.pixel(px, py)) < 128;
        return n;
    };
    EXPECT_GT(inkRightOf(111), 0);

    edit->SetTextRect(Rect(3, 3, 110, 23));
    EXPECT_EQ(edit->TextRect(), Rect(3, 3, 110, 23));
    edit->SetSelStart(0);
    EXPECT_EQ(inkRightOf(111), 0);
    edit->SetSelStart(60);
    EXPECT_EQ(inkRightOf(111), 0);
    // The rectangle stays where it was set when the edit grows.
    edit->SetWidth(250);
    EXPECT_EQ(inkRightOf(111), 0);

    // Enter adds no line.
    input::Key(edit, VK_RETURN, {}, 13);
    EXPECT_EQ(edit->Text(), QString(60, u'W'));
    delete form;
}

} // namespace
