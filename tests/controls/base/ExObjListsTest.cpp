#include "common/TestUtil.h"
#include "controls/base/ExObj.h"
#include "controls/base/TextTestSupport.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/Exceptions.h"

#include <QImage>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct ChangeLog {
    std::vector<std::pair<int, int>> calls;
    TObject* sender = nullptr;
    void Attach(TIntList& list)
    {
        list.OnChange = [this](TObject* s, int col, int row) {
            sender = s;
            calls.emplace_back(col, row);
        };
    }
};

std::vector<int> Items(const TIntList& list)
{
    std::vector<int> v;
    for (int i = 0; i < list.Count(); ++i)
        v.push_back(list.GetInteger(i));
    return v;
}

TEST(IntList, WhichOperationsReportChanges)
{
    TIntList list(4, 7);
    ChangeLog log;
    log.Attach(list);

    list.Add(1);
    ASSERT_EQ(log.calls.size(), 1u);
    EXPECT_EQ(log.calls[0], std::make_pair(4, 7));
    EXPECT_EQ(log.sender, &list);

    list.Insert(0, 5); // silent
    list.Insert(2, 9); // silent, at the end
    EXPECT_EQ(log.calls.size(), 1u);
    EXPECT_EQ(Items(list), (std::vector<int> { 5, 1, 9 }));

    list.SetInteger(1, 2);
    list.Delete(0);
    list.DeleteValue(9);
    EXPECT_EQ(log.calls.size(), 4u);
    list.DeleteValue(42); // absent: nothing
    list.Clear(); // silent
    EXPECT_EQ(log.calls.size(), 4u);
    EXPECT_EQ(list.Count(), 0);
}

TEST(IntList, IndexErrors)
{
    TIntList list(0, 0);
    list.Add(3);
    EXPECT_EQ(list.GetInteger(0), 3);
    EXPECT_TRUE(list.HasValue(3));
    EXPECT_FALSE(list.HasValue(4));
    EXPECT_THROW(list.GetInteger(1), EListError);
    EXPECT_THROW(list.GetInteger(-1), EListError);
    EXPECT_THROW(list.SetInteger(1, 0), EListError);
    EXPECT_THROW(list.Delete(1), EListError);
    EXPECT_THROW(list.Insert(2, 0), EListError);
}

TEST(IntList, StrValue)
{
    TIntList list(0, 0);
    EXPECT_EQ(list.StrValue(), "");
    list.Add(1);
    list.Add(-2);
    list.Add(3);
    EXPECT_EQ(list.StrValue(), "1,-2,3");

    ChangeLog log;
    log.Attach(list);
    list.SetStrValue("4, 5");
    EXPECT_EQ(Items(list), (std::vector<int> { 4, 5 }));
    EXPECT_EQ(log.calls.size(), 2u); // one per item, none for the clearing

    EXPECT_THROW(list.SetStrValue("7,x,9"), EConvertError);
    EXPECT_EQ(Items(list), (std::vector<int> { 7 }));
}

TEST(SortIndexList, KeysAndTextForm)
{
    TSortIndexList list;
    list.AddIndex(3, true);
    list.AddIndex(5, false);
    EXPECT_EQ(list.SaveToString(), "u3;d5");
    EXPECT_EQ(list.GetInteger(1), int(0x80000005u));
    EXPECT_EQ(list.FindIndex(5), 1);
    EXPECT_EQ(list.FindIndex(4), -1);
    EXPECT_EQ(list.GetSortColumns(1), 5);
    EXPECT_FALSE(list.GetSortDirections(1));

    TSortIndexList loaded;
    loaded.LoadFromString(list.SaveToString());
    EXPECT_EQ(Items(loaded), Items(list));

    list.SetSortColumns(1, 8); // keeps the direction
    EXPECT_EQ(list.SaveToString(), "u3;d8");
    list.SetSortDirections(0, false);
    list.SetSortDirections(1, true);
    EXPECT_EQ(list.SaveToString(), "d3;u8");

    // A column beyond 16 bits is kept, but written as its low 16 bits.
    TSortIndexList wide;
    wide.AddIndex(70000, true);
    EXPECT_EQ(wide.SaveToString(), "u4464");
    EXPECT_EQ(wide.GetSortColumns(0), 70000);
}

TEST(SortIndexList, LoadFromString)
{
    struct Case {
        const char* text;
        const char* saved;
    } cases[] = {
        { "", "" }, { "x", "" }, { "u", "" }, { "u3;", "u3" }, { "U3", "d3" }, // only a lower-case "u" is ascending
        { "d12x;u7", "d12;u7" }, { "uabc", "u0" }, { ";;u1;;d2", "u1;d2" },
        { "u99999999999", "u65535" }, // an oversized column saturates
    };
    for (const Case& c : cases) {
        TSortIndexList list;
        list.AddIndex(42, true);
        list.LoadFromString(c.text);
        EXPECT_EQ(list.SaveToString(), QString(c.saved)) << c.text;
    }
}

TEST(SortIndexList, ToggleIndex)
{
    TSortIndexList list;
    list.AddIndex(3, true);
    int changes = 0;
    list.OnChange = [&](TObject*, int, int) { ++changes; };
    list.ToggleIndex(9);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(list.SaveToString(), "u3");
    list.ToggleIndex(3);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.SaveToString(), "d3");
    list.ToggleIndex(3);
    EXPECT_EQ(list.SaveToString(), "u3");
}

TEST(ControlList, ItemsDoNotOwnTheirControls)
{
    TPanel panel(nullptr);
    TLabel label(nullptr);
    {
        TControlList list;
        list.AddControl(1, 2, &panel);
        list.AddControl(3, 4, &label);
        EXPECT_EQ(list.ControlIndex(3, 4), 1);
        EXPECT_EQ(list.ControlIndex(2, 1), -1);
        EXPECT_EQ(list.GetControl(0)->Control(), &panel);
        EXPECT_EQ(list.GetControl(0)->X(), 1);
        EXPECT_EQ(list.GetControl(0)->Y(), 2);
        EXPECT_THROW(list.GetControl(2), EListError);

        EXPECT_TRUE(list.HasHandle(panel.Handle()));
        EXPECT_FALSE(list.HasHandle(panel.Handle() + 1));

        list.RemoveControl(0);
        EXPECT_EQ(list.Count(), 1);
        EXPECT_EQ(list.ControlIndex(1, 2), -1);
        EXPECT_FALSE(list.HasHandle(panel.Handle()));
    }
    // Removing the items and destroying the list left both controls alive.
    panel.SetName("stillAlive");
    label.SetName("stillAlive");
    EXPECT_EQ(panel.Name(), "stillAlive");
}

TEST(FileStringList, WriteAndReadLines)
{
    TFileStringList list;
    list.Write("a");
    list.WriteLn("b");
    list.WriteLn("c");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(0), "ab");

    list.Reset();
    QString line;
    int reads = 0;
    while (!list.Eof()) {
        list.ReadLn(line);
        ++reads;
    }
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(line, "c");
    EXPECT_THROW(list.ReadLn(line), EStringListError);

    list.Reset();
    EXPECT_FALSE(list.Eof());
    EXPECT_EQ(list.ReadLn(), "ab");
}

TEST(FilePicture, KeepsTheSizeAndDrawsFromTheFile)
{
    QImage red(4, 3, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    const QString file = testutil::TempDir() + "/red.png";
    ASSERT_TRUE(red.save(file));

    TFilePicture picture;
    picture.SetFilename(file);
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_EQ(picture.Height(), 3);

    TBitmap target(20, 20);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(TRect(0, 0, 20, 20));
    picture.DrawPicture(target.Canvas(), TRect(5, 5, 15, 15));
    const QImage out = target.ToImage();
    EXPECT_EQ(out.pixel(10, 10) & 0xFFFFFF, 0xFF0000u); // stretched into the rectangle
    EXPECT_EQ(out.pixel(2, 2) & 0xFFFFFF, 0xFFFFFFu); // nothing outside it
}

TEST(FilePicture, MissingFileHasNoSize)
{
    TFilePicture picture;
    picture.SetFilename("/nonexistent/folder/picture.png");
    EXPECT_EQ(picture.Filename(), "/nonexistent/folder/picture.png");
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Height(), 0);

    TFilePicture copy;
    copy.Assign(&picture);
    EXPECT_EQ(copy.Filename(), picture.Filename());
}

} // namespace
