// Numbered cursors: the program's own pictures and registered ones, shown
// through a control's Cursor, ShowWindowCursor and the screen cursor.

#include "platform/controls/Controls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/Resources.h"
#include "tests/common/TestUtil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

TEST(NumberedCursors, ShowTheirPicturesAndAnUnknownNumberTheDefault)
{
    TForm form(nullptr);
    form.SetBounds(20, 20, 120, 80);
    form.Show();
    auto* g = new TPanel(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 100, 60);
    for (int n : { 8000, 8001, 8002, 8003, 8004, 8005, 8006, 8007, 8008, 8010, 8011, 8012, 8014 }) {
        SCOPED_TRACE(n);
        QPoint hot;
        const QImage pic = resources::CursorPicture(n, &hot);
        ASSERT_FALSE(pic.isNull());
        EXPECT_EQ(qAlpha(pic.pixel(0, 0)), 0) << "transparent around";
        EXPECT_TRUE(CursorExists(n));
        ShowWindowCursor(g, n);
        EXPECT_EQ(WindowCursor(g), n);
        const QCursor shown = g->Widget()->cursor();
        EXPECT_EQ(shown.shape(), Qt::BitmapCursor);
        EXPECT_EQ(shown.hotSpot(), hot);
        EXPECT_EQ(shown.pixmap().toImage().convertToFormat(QImage::Format_ARGB32), pic);
    }
    EXPECT_NE(resources::CursorPicture(8001), resources::CursorPicture(8002)) << "one picture per direction";
    EXPECT_TRUE(resources::CursorPicture(8009).isNull());
    EXPECT_FALSE(CursorExists(8009));
    ShowWindowCursor(g, 8009);
    EXPECT_EQ(g->Widget()->cursor().shape(), Qt::ArrowCursor);
    g->SetCursor(8011);
    EXPECT_EQ(g->Widget()->cursor().shape(), Qt::BitmapCursor) << "through the control's Cursor";
    QImage own(16, 16, QImage::Format_ARGB32);
    own.fill(qRgba(0, 0, 255, 255));
    RegisterCursor(9100, own, TPoint(3, 4));
    ShowWindowCursor(g, 9100);
    EXPECT_EQ(g->Widget()->cursor().hotSpot(), QPoint(3, 4));
    RegisterCursor(9100, QImage(), TPoint());
    EXPECT_FALSE(CursorExists(9100));
    Screen->SetCursor(8012);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BitmapCursor) << "the screen cursor";
    Screen->SetCursor(crDefault);
}

TEST(NumberedCursors, Pictures)
{
    const int ns[] = { 8000, 8001, 8002, 8003, 8004, 8005, 8006, 8007, 8008, 8010, 8011, 8012, 8014 };
    QImage sheet(13 * 34, 34, QImage::Format_ARGB32);
    sheet.fill(qRgb(192, 192, 192));
    for (int i = 0; i < 13; ++i) {
        const QImage pic = resources::CursorPicture(ns[i]);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (qAlpha(pic.pixel(x, y)) != 0)
                    sheet.setPixel(i * 34 + 1 + x, 1 + y, pic.pixel(x, y));
    }
    testutil::SaveImagePng(sheet, "numbered_cursors");
    EXPECT_TRUE(testutil::MatchesGolden(sheet, "numbered_cursors"));
}
