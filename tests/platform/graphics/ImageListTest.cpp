#include "platform/graphics/ImageList.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/Exceptions.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// A strip of three 4 x 4 images on a fuchsia key: red, green and blue squares
// of 2 x 2 in each cell's top-left corner.
TBitmap* Strip()
{
    static TBitmap bmp;
    if (bmp.Empty()) {
        bmp.SetSize(12, 4);
        TCanvas* c = bmp.Canvas();
        c->Brush()->SetColor(clFuchsia);
        c->FillRect(Rect(0, 0, 12, 4));
        const TColor colors[] = { clRed, clLime, clBlue };
        for (int i = 0; i < 3; ++i) {
            c->Brush()->SetColor(colors[i]);
            c->FillRect(Rect(i * 4, 0, i * 4 + 2, 2));
        }
    }
    return &bmp;
}

QImage DrawOnWhite(const TImageList& list, int index, bool enabled)
{
    QImage target(4, 4, QImage::Format_RGB32);
    target.fill(0xFFFFFFFF);
    TCanvas c;
    c.BeginDraw(&target);
    list.Draw(&c, 0, 0, index, enabled);
    c.EndDraw();
    return target;
}

} // namespace

TEST(ImageListTest, MaskedStripDrawsEnabledAndDisabled)
{
    TImageList list(4, 4);
    EXPECT_EQ(list.AddMasked(Strip(), clDefault), 0);
    ASSERT_EQ(list.Count(), 3);

    const QImage green = DrawOnWhite(list, 1, true);
    EXPECT_EQ(green.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(green.pixel(3, 3), qRgb(255, 255, 255)) << "mask colour is not drawn";

    const QImage grey = DrawOnWhite(list, 1, false);
    const QRgb p = grey.pixel(1, 1);
    EXPECT_EQ(qRed(p), qGreen(p));
    EXPECT_EQ(qGreen(p), qBlue(p));
    EXPECT_NE(p, qRgb(255, 255, 255));
    EXPECT_EQ(grey.pixel(3, 3), qRgb(255, 255, 255));

    // Out of range draws nothing.
    EXPECT_EQ(DrawOnWhite(list, 7, true).pixel(0, 0), qRgb(255, 255, 255));

    // Unmasked lists show the key colour.
    list.SetMasked(false);
    EXPECT_EQ(DrawOnWhite(list, 0, true).pixel(3, 3), qRgb(255, 0, 255));
}

TEST(ImageListTest, EditingAndCopyingImages)
{
    TImageList list(4, 4);
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    list.AddMasked(Strip(), clFuchsia);

    // A mask bitmap: its white pixels are transparent.
    TBitmap image(4, 4);
    image.Canvas()->Brush()->SetColor(clYellow);
    image.Canvas()->FillRect(Rect(0, 0, 4, 4));
    TBitmap mask(4, 4);
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(0, 0, 4, 2));
    list.Replace(0, &image, &mask);
    QImage drawn = DrawOnWhite(list, 0, true);
    EXPECT_EQ(drawn.pixel(0, 0), qRgb(255, 255, 0));
    EXPECT_EQ(drawn.pixel(0, 3), qRgb(255, 255, 255));

    list.Delete(1);
    ASSERT_EQ(list.Count(), 2);
    TBitmap out;
    ASSERT_TRUE(list.GetBitmap(1, &out));
    EXPECT_EQ(out.Width(), 4);
    EXPECT_EQ(out.Image().pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(out.Image().pixel(3, 3), qRgb(255, 255, 255));
    EXPECT_FALSE(list.GetBitmap(2, &out));
    EXPECT_THROW(list.Replace(5, &image), EInvalidOperation);
    EXPECT_THROW(list.Delete(-1), EInvalidOperation);

    TImageList copy;
    copy.Assign(&list);
    EXPECT_EQ(copy.Width(), 4);
    EXPECT_EQ(copy.Count(), 2);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(copy.Count(), 2);
    EXPECT_GE(changes, 4);

    // A new size empties the list.
    copy.SetSize(8, 8);
    EXPECT_EQ(copy.Count(), 0);
}

TEST(ImageListTest, StripFromNamedResource)
{
    TImageList list(18, 18);
    ASSERT_TRUE(list.ResourceLoad("LBOK"));
    EXPECT_EQ(list.Count(), 2);
    // The key colour is transparent in both cells.
    EXPECT_EQ(qAlpha(list.ImageAt(0).pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(list.ImageAt(1).pixel(0, 17)), 0);
    EXPECT_FALSE(list.ResourceLoad("NOSUCHSTRIP"));
    EXPECT_EQ(list.Count(), 2);
}
