#include <gtest/gtest.h>

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "controls/base/BaseGrid.h"
#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/base/ExUtil.h"
#include "controls/base/ExUtilDraw.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageList.h"
#include "platform/runtime/Classes.h"
#include "tests/common/GridOnForm.h"

namespace {

class TGraphicsGrid : public TExStringGrid {
public:
    using TExStringGrid::FNumNodes;
    using TExStringGrid::FSelectedRows;
    using TExStringGrid::TExStringGrid;
};

struct GraphicsFixture : ::testing::Test {
    TGridOnForm<TGraphicsGrid> f { 5, 6, 400, 200 };
    TGraphicsGrid& g = *f.Grid;
    TCustomImageList images { 16, 12 };
};

// A bitmap of the given size.
std::unique_ptr<TBitmap> Bmp(int w, int h)
{
    auto b = std::make_unique<TBitmap>();
    b->SetSize(w, h);
    return b;
}

// A picture record holding a 100 x 50 picture.
struct PictureRecord {
    TPicture pic;
    TCellGraphic rec;
    explicit PictureRecord(TStretchMode m, int padding = 0)
    {
        pic.Bitmap()->SetSize(100, 50);
        rec.SetPicture(&pic, false, m, padding, haLeft, vaTop);
    }
};

class TSizedCellGraphic : public TObject, public IGridCellGraphic {
public:
    TSizedCellGraphic(int w, int h)
        : W(w)
        , H(h)
    {
    }
    void Draw(TCanvas*, const TRect&, int, int, bool, TObject*) override { }
    int GetWidth() override { return W; }
    int GetHeight() override { return H; }
    bool IsBackground() override { return false; }
    int W, H;
};

} // namespace

TEST(CellGraphicRecord, SetAngleBringsTheAngleIntoRange)
{
    const struct {
        short in;
        int out;
    } cases[] = { { -30, 330 }, { 720, 360 }, { 360, 360 }, { 0, 0 }, { -400, 320 }, { 725, 5 } };
    for (const auto& c : cases) {
        TCellGraphic r;
        r.SetAngle(c.in);
        EXPECT_EQ(r.CellType(), ctRotated);
        EXPECT_EQ(r.CellAngle(), c.out) << c.in;
    }
}

TEST(CellGraphicRecord, PictureSizeInEachStretchMode)
{
    const struct {
        TStretchMode mode;
        TPoint size;
    } cases[] = {
        { TStretchMode::noStretch, { 100, 50 } },
        { TStretchMode::Stretch, { 50, 50 } },
        { TStretchMode::StretchWithAspectRatio, { 50, 25 } },
        { TStretchMode::Shrink, { 50, 50 } },
        { TStretchMode::ShrinkWithAspectRatio, { 50, 25 } },
    };
    for (const auto& c : cases) {
        PictureRecord p(c.mode);
        EXPECT_EQ(p.rec.GetPictureSize(50, 50, false), c.size) << int(c.mode);
        EXPECT_EQ(p.rec.GetPictureSize(50, 50, true), c.size) << "text changes nothing";
    }
    // Padding is taken off the room; a picture that fits is not shrunk, and
    // one stretched keeps its aspect up to the room.
    EXPECT_EQ(PictureRecord(TStretchMode::Stretch, 10).rec.GetPictureSize(50, 50, false), TPoint(40, 40));
    EXPECT_EQ(PictureRecord(TStretchMode::ShrinkWithAspectRatio).rec.GetPictureSize(200, 200, false), TPoint(100, 50));
    EXPECT_EQ(
        PictureRecord(TStretchMode::StretchWithAspectRatio).rec.GetPictureSize(400, 100, false), TPoint(200, 100));
    // Another kind leaves the result alone.
    TCellGraphic other;
    TPoint keep(7, 8);
    other.GetPictureSize(50, 50, false, keep);
    EXPECT_EQ(keep, TPoint(7, 8));
}

TEST(CellGraphicRecord, AssignCopiesValuesButNeverOwnership)
{
    TCellGraphic src;
    auto* bmp = new TBitmap();
    src.SetBitmap(bmp, true, haRight, vaBottom);
    src.SetCellCreated(true);
    src.SetCellText(QStringLiteral("t"));
    src.SetCellErrFrom(2);
    src.SetCellErrLen(3);
    src.SetCellColor(TColor(0x123456));
    src.SetCellCheckBoxState(cbGrayed);
    src.CellVar = 4;
    {
        TCellGraphic copy;
        // What the target owned before goes (the sanitizer sees a leak otherwise).
        copy.SetCellType(ctRadio);
        copy.CellBitmap = new TStringList();
        copy.SetCellCreated(true);
        copy.Assign(&src);
        EXPECT_EQ(copy.CellType(), ctBitmap);
        EXPECT_EQ(copy.CellHAlign(), haRight);
        EXPECT_EQ(copy.CellVAlign(), vaBottom);
        EXPECT_TRUE(copy.CellTransparent());
        EXPECT_EQ(copy.CellText(), QStringLiteral("t"));
        EXPECT_EQ(copy.CellErrFrom(), 2);
        EXPECT_EQ(copy.CellErrLen(), 3);
        EXPECT_EQ(copy.CellColor(), TColor(0x123456));
        EXPECT_FALSE(copy.CellCreated());
        EXPECT_EQ(copy.CellBitmap, nullptr);
        EXPECT_EQ(copy.CellCheckBoxState(), cbUnchecked);
        EXPECT_FALSE(copy.CellVar.isValid());
    } // the copy goes first: the bitmap is still the source's
    EXPECT_EQ(src.CellBitmap, bmp);
    EXPECT_EQ(bmp->Width(), 0);
}

TEST_F(GraphicsFixture, CellTypeOfForeignObjectsNegativeCellsAndRowCheckBoxes)
{
    TObject foreign;
    g.SetGraphicObjectEx(2, 2, &foreign);
    EXPECT_EQ(g.GetCellType(2, 2), ctEmpty);
    EXPECT_EQ(g.GetCellGraphic(2, 2), nullptr);
    EXPECT_FALSE(g.RemoveCellGraphic(2, 2));
    EXPECT_EQ(g.GetGraphicObjectEx(2, 2), &foreign);
    EXPECT_EQ(g.GetCellType(-1, 2), ctEmpty);
    EXPECT_EQ(g.GetCellType(2, -1), ctEmpty);
    EXPECT_EQ(g.GetCellType(3, 3), ctEmpty);

    g.CreateCellGraphic(0, 2)->SetCellType(ctNode);
    g.MouseActions()->SetHotmailRowSelect(true);
    for (int r : { 0, 1, 2, 3 })
        EXPECT_EQ(g.GetCellType(0, r), ctRowCheckBox) << r;
    EXPECT_EQ(g.GetCellGraphic(0, 3), g.CellGraphicScratch());
    EXPECT_EQ(g.GetCellType(1, 2), ctEmpty);
    // Removing through column 0 frees the cell's own record, never the scratch one.
    EXPECT_TRUE(g.RemoveCellGraphic(0, 2));
    EXPECT_EQ(g.GetGraphicObjectEx(0, 2), nullptr);
    EXPECT_EQ(g.GetCellGraphic(0, 2), g.CellGraphicScratch());
    g.SetGraphicObjectEx(2, 2, nullptr);
}

TEST_F(GraphicsFixture, ScratchRecordOfTheHeaderCountsTheSelectedRows)
{
    g.SetFixedRows(1); // 5 normal rows
    g.MouseActions()->SetHotmailRowSelect(true);
    const struct {
        int selected;
        int angle;
        bool all;
    } cases[] = { { 0, 0, false }, { 2, 1, false }, { 5, 0, true } };
    for (const auto& c : cases) {
        g.FSelectedRows->Clear();
        for (int i = 0; i < c.selected; ++i)
            g.FSelectedRows->Add(1 + i);
        const TCellGraphic* s = g.GetCellGraphic(0, 0);
        EXPECT_EQ(s->CellType(), ctRowCheckBox);
        EXPECT_EQ(s->CellAngle(), c.angle) << c.selected;
        EXPECT_EQ(s->CellBoolean(), c.all) << c.selected;
    }
    g.FSelectedRows->Clear();
    g.SetRowSelect(3, true);
    EXPECT_TRUE(g.GetCellGraphic(0, 3)->CellBoolean());
    EXPECT_EQ(g.GetCellGraphic(0, 3)->CellAngle(), 0);
    EXPECT_FALSE(g.GetCellGraphic(0, 2)->CellBoolean());
    g.ControlLook()->SetControlStyle(TGridControlStyle::csFlat);
    EXPECT_TRUE(g.GetCellGraphic(0, 2)->CellTransparent());
}

TEST_F(GraphicsFixture, CreatingARecordLeavesTheTextAlone)
{
    g.OnGetDisplText = [](TObject*, int, int, QString& v) { v = QString(); };
    g.SetCells(1, 1, QStringLiteral("kept"));
    g.CreateCellGraphic(1, 1);
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("kept"));
    g.OnGetDisplText = nullptr;
    TCellGraphic* r = g.CreateCellGraphic(2, 1);
    EXPECT_TRUE(g.HasCellProperties(2, 1));
    EXPECT_EQ(g.GetCellEx(2, 1), QString());
    EXPECT_EQ(r->CellType(), ctNone);
    EXPECT_EQ(g.GetCellGraphic(2, 1), r);
}

namespace {

// One adding and one removing operation per kind the grid adds.
struct KindOps {
    TCellType kind;
    std::function<void(TGraphicsGrid&, int, int)> add;
    std::function<void(TGraphicsGrid&, int, int)> remove;
};

std::vector<KindOps> AllKinds()
{
    return {
        { ctBitmap, [](TGraphicsGrid& g, int c, int r) { g.CreateBitmap(c, r, false, haLeft, vaTop); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveBitmap(c, r); } },
        { ctPicture,
            [](TGraphicsGrid& g, int c, int r) {
                g.CreatePicture(c, r, false, TStretchMode::noStretch, 0, haLeft, vaTop)->Bitmap()->SetSize(4, 4);
            },
            [](TGraphicsGrid& g, int c, int r) { g.RemovePicture(c, r); } },
        { ctFilePicture,
            [](TGraphicsGrid& g, int c, int r) {
                g.CreateFilePicture(c, r, false, TStretchMode::noStretch, 0, haLeft, vaTop);
            },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveFilePicture(c, r); } },
        { ctIcon, [](TGraphicsGrid& g, int c, int r) { g.CreateIcon(c, r, haLeft, vaTop); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveIcon(c, r); } },
        { ctImageList, [](TGraphicsGrid& g, int c, int r) { g.AddImageIdx(c, r, 1, haLeft, vaTop); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveImageIdx(c, r); } },
        { ctDataImage, [](TGraphicsGrid& g, int c, int r) { g.AddDataImage(c, r, 1, haLeft, vaTop); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveDataImage(c, r); } },
        { ctImages,
            [](TGraphicsGrid& g, int c, int r) {
                g.AddMultiImage(c, r, 0, haLeft, vaTop);
                g.GetCellImages(c, r)->Add(2);
            },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveMultiImage(c, r); } },
        { ctRotated, [](TGraphicsGrid& g, int c, int r) { g.AddRotated(c, r, 90, QStringLiteral("x")); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveRotated(c, r); } },
        { ctProgress, [](TGraphicsGrid& g, int c, int r) { g.AddProgress(c, r, TColor(0xFF), TColor(0xFF00)); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveProgress(c, r); } },
        { ctXPProgress, [](TGraphicsGrid& g, int c, int r) { g.AddExProgress(c, r, 0, 10); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveExProgress(c, r); } },
        { ctProgressPie, [](TGraphicsGrid& g, int c, int r) { g.AddProgressPie(c, r, TColor(0xFF), 30); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveProgressPie(c, r); } },
        { ctRangeIndicator,
            [](TGraphicsGrid& g, int c, int r) { g.AddRangeIndicator(c, r, 50, TColor(1), TColor(2), true); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveRangeIndicator(c, r); } },
        { ctComment, [](TGraphicsGrid& g, int c, int r) { g.AddComment(c, r, QStringLiteral("note")); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveComment(c, r); } },
        { ctShape,
            [](TGraphicsGrid& g, int c, int r) {
                g.AddShape(c, r, TCellShape::csCircle, TColor(1), TColor(2), haLeft, vaTop);
            },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveShape(c, r); } },
        { ctRating, [](TGraphicsGrid& g, int c, int r) { g.AddRating(c, r, 5, TColor(1), TColor(2)); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveRating(c, r); } },
        { ctScrollbar, [](TGraphicsGrid& g, int c, int r) { g.AddScrollBar(c, r, false); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveScrollBar(c, r); } },
        { ctButton,
            [](TGraphicsGrid& g, int c, int r) { g.AddButton(c, r, 30, 12, QStringLiteral("b"), haLeft, vaTop); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveButton(c, r); } },
        { ctBitButton,
            [](TGraphicsGrid& g, int c, int r) {
                g.CreateBitButton(c, r, 30, 12, QStringLiteral("b"), haLeft, vaTop)->SetSize(3, 3);
            },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveBitButton(c, r); } },
        { ctBalloon,
            [](TGraphicsGrid& g, int c, int r) {
                g.AddBalloon(c, r, QStringLiteral("t"), QStringLiteral("x"), biInfo);
            },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveBalloon(c, r); } },
        { ctRadio, [](TGraphicsGrid& g, int c, int r) { g.CreateRadio(c, r, 0, 0)->Add(QStringLiteral("a")); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveRadio(c, r); } },
        { ctEmpty, [](TGraphicsGrid& g, int c, int r) { g.AddMarker(c, r, 1, 2); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveMarker(c, r); } },
    };
}

} // namespace

TEST_F(GraphicsFixture, EachRemoveTakesOnlyItsOwnKind)
{
    g.SetGridImages(&images);
    const auto kinds = AllKinds();
    for (const auto& held : kinds) {
        held.add(g, 2, 2);
        ASSERT_EQ(g.GetCellType(2, 2), held.kind);
        for (const auto& other : kinds)
            // RemoveButton takes both button kinds.
            if (other.kind != held.kind && !(held.kind == ctBitButton && other.kind == ctButton)) {
                other.remove(g, 2, 2);
                ASSERT_EQ(g.GetCellType(2, 2), held.kind) << "removing " << other.kind << " took " << held.kind;
            }
        held.remove(g, 2, 2);
        EXPECT_EQ(g.GetCellGraphic(2, 2), nullptr) << held.kind;
    }
    kinds.back().add(g, 2, 2);
    g.CreateBitButton(2, 2, 5, 5, QString(), haLeft, vaTop);
    g.RemoveButton(2, 2);
    EXPECT_EQ(g.GetCellGraphic(2, 2), nullptr);
}

// Under the sanitizers: every kind replaces every other, records travel into
// hidden rows and back, and copies are made of each; nothing leaks or is
// freed twice.
TEST_F(GraphicsFixture, RecordsOfEveryKindReplacedMovedCopiedAndRemoved)
{
    g.SetGridImages(&images);
    const auto kinds = AllKinds();
    for (const auto& first : kinds)
        for (const auto& second : kinds) {
            g.RemoveCellGraphic(1, 3);
            first.add(g, 1, 3);
            second.add(g, 1, 3);
            // A balloon of its own and a marker go only where no other kind is.
            const bool replaces = second.kind != ctBalloon && second.kind != ctEmpty;
            ASSERT_EQ(g.GetCellType(1, 3), replaces ? second.kind : first.kind);
        }
    for (std::size_t i = 0; i < kinds.size(); ++i)
        kinds[i].add(g, int(i % 4) + 1, int(i % 5) + 1);
    for (const auto& k : kinds) {
        TCellGraphic copy;
        g.RemoveCellGraphic(4, 5);
        k.add(g, 4, 5);
        copy.Assign(g.GetCellGraphic(4, 5));
        EXPECT_EQ(copy.CellType(), k.kind);
        EXPECT_FALSE(copy.CellCreated());
    }
    g.HideRows(2, 4);
    g.SetRotated(1, 1, 45); // turns whatever is there into rotated text
    g.UnHideRows(2, 4);
    g.HideRows(1, 5);
    g.RemoveRows(1, 2);
    g.UnHideRowsAll();
    g.RemoveAllComments();
    g.RemoveAllMarkers();
    g.RemoveAllButtons();
    g.ClearRows(0, g.RowCount());
}
