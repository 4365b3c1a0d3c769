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
#include "controls/grid/ExGridSort.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageList.h"
#include "platform/runtime/Classes.h"
#include "tests/common/GridOnForm.h"

namespace {

class TGraphicsGrid : public TExStringGrid {
public:
    using TExStringGrid::FNumNodes;
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
        g.ClearRowSelect();
        for (int i = 0; i < c.selected; ++i)
            g.SetRowSelect(1 + i, true);
        const TCellGraphic* s = g.GetCellGraphic(0, 0);
        EXPECT_EQ(s->CellType(), ctRowCheckBox);
        EXPECT_EQ(s->CellAngle(), c.angle) << c.selected;
        EXPECT_EQ(s->CellBoolean(), c.all) << c.selected;
    }
    g.ClearRowSelect();
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
    // A node sits in column 0, whatever column is asked for.
    bool firstCol = false;
    int Col(int c) const { return firstCol ? 0 : c; }
};

// The object behind the interfaced cells: the grid never owns it.
TSizedCellGraphic& SharedInterface()
{
    static TSizedCellGraphic i(4, 4);
    return i;
}

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
        { ctInterface, [](TGraphicsGrid& g, int c, int r) { g.AddInterfacedCell(c, r, &SharedInterface()); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveInterfacedCell(c, r); } },
        { ctExpand, [](TGraphicsGrid& g, int c, int r) { g.AddExpand(c, r, 40); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveExpand(c, r); } },
        // Summary records come with grouping; the record itself is all here.
        { ctSummary, [](TGraphicsGrid& g, int c, int r) { g.CreateCellGraphic(c, r)->SetCellType(ctSummary); },
            [](TGraphicsGrid& g, int c, int r) { g.RemoveCellGraphicOfType(c, r, ctSummary); } },
        { ctNode, [](TGraphicsGrid& g, int, int r) { g.AddNode(r, 1); },
            [](TGraphicsGrid& g, int, int r) { g.RemoveNode(r); }, true },
        // The marker stays last.
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
        const int c = held.Col(2);
        held.add(g, c, 2);
        ASSERT_EQ(g.GetCellType(c, 2), held.kind);
        for (const auto& other : kinds)
            // RemoveButton takes both button kinds.
            if (other.kind != held.kind && !(held.kind == ctBitButton && other.kind == ctButton)) {
                other.remove(g, c, 2);
                ASSERT_EQ(g.GetCellType(c, 2), held.kind) << "removing " << other.kind << " took " << held.kind;
            }
        held.remove(g, c, 2);
        EXPECT_EQ(g.GetCellGraphic(c, 2), nullptr) << held.kind;
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
            const int c = first.firstCol || second.firstCol ? 0 : 1;
            g.RemoveCellGraphic(c, 3);
            first.add(g, c, 3);
            second.add(g, c, 3);
            // A balloon of its own and a marker go only where no other kind is.
            const bool replaces = second.kind != ctBalloon && second.kind != ctEmpty;
            ASSERT_EQ(g.GetCellType(c, 3), replaces ? second.kind : first.kind);
        }
    for (std::size_t i = 0; i < kinds.size(); ++i)
        kinds[i].add(g, int(i % 4) + 1, int(i % 5) + 1);
    for (const auto& k : kinds) {
        TCellGraphic copy;
        const int c = k.Col(4);
        g.RemoveCellGraphic(c, 5);
        k.add(g, c, 5);
        copy.Assign(g.GetCellGraphic(c, 5));
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

TEST_F(GraphicsFixture, GraphicSizesComeFromTheKindAndTheCanvasMeasure)
{
    TCanvas* cv = g.Canvas();
    auto items = [&](int c, int r, int dir) {
        TStrings* sl = g.CreateRadio(c, r, dir, 0);
        sl->Add(QStringLiteral("one"));
        sl->Add(QStringLiteral("three"));
        sl->Add(QStringLiteral("gh"));
    };
    items(1, 1, 0);
    const int th = cv->TextHeight(QStringLiteral("gh"));
    const int widest = std::max({ cv->TextWidth(QStringLiteral("one")), cv->TextWidth(QStringLiteral("three")),
                           cv->TextWidth(QStringLiteral("gh")) })
        + 12;
    EXPECT_EQ(g.GetCellGraphicSize(1, 1), TPoint(widest, std::max(16, th) * 3));
    if (th <= 16) {
        EXPECT_EQ(g.GetCellGraphicSize(1, 1).Y, 48);
    }
    EXPECT_EQ(g.CalcCellGraphicSizeInRect(1, 1, 50, 20, 1.0), TPoint(widest, th * 3));
    items(2, 1, 1);
    const int sum = cv->TextWidth(QStringLiteral("one")) + cv->TextWidth(QStringLiteral("three"))
        + cv->TextWidth(QStringLiteral("gh")) + 36;
    EXPECT_EQ(g.GetCellGraphicSize(2, 1), TPoint(sum, th));
    // A font taller than 16 pixels sets the item height.
    g.Font()->SetSize(30);
    cv->Font()->Assign(g.Font());
    const int big = cv->TextHeight(QStringLiteral("gh"));
    ASSERT_GT(big, 16);
    EXPECT_EQ(g.GetCellGraphicSize(1, 1).Y, big * 3);
    g.Font()->SetSize(8);
    cv->Font()->Assign(g.Font());

    // Buttons: a cell with text keeps no room for a centred button.
    g.AddButton(1, 2, 60, 18, QStringLiteral("Go"), haCenter, vaCenter);
    EXPECT_EQ(g.GetCellGraphicSize(1, 2), TPoint(60, 18));
    g.SetCells(1, 2, QStringLiteral("text"));
    EXPECT_EQ(g.GetCellGraphicSize(1, 2), TPoint(0, 0));
    g.AddButton(2, 2, 60, 18, QStringLiteral("Go"), haLeft, vaUnderText);
    g.SetCells(2, 2, QStringLiteral("text"));
    EXPECT_EQ(g.GetCellGraphicSize(2, 2), TPoint(0, 18));
    // Full width: the caption's width, which a button without text keeps.
    g.AddButton(3, 2, 60, 18, QStringLiteral("Caption"), haFull, vaTop);
    EXPECT_EQ(g.GetCellGraphicSize(3, 2), TPoint(cv->TextWidth(QStringLiteral("Caption")) + 4, 18));

    g.AddRating(1, 3, 5, TColor(1), TColor(2));
    EXPECT_EQ(g.GetCellGraphicSize(1, 3), TPoint(90, 16));
    EXPECT_EQ(g.CalcCellGraphicSizeInRect(1, 3, 50, 20, 1.0), TPoint(0, 0));
    g.AddProgressPie(2, 3, TColor(1), 10);
    EXPECT_EQ(g.GetCellGraphicSize(2, 3), TPoint(20, 20));

    // Full placements take the cell rectangle.
    const TRect cr = g.CellRect(3, 3);
    auto bmp = Bmp(10, 8);
    g.AddBitmap(3, 3, bmp.get(), false, haFull, vaFull);
    EXPECT_EQ(g.GetCellGraphicSize(3, 3), TPoint(cr.Width(), cr.Height()));
    g.AddBitmap(3, 3, bmp.get(), false, haLeft, vaFull);
    EXPECT_EQ(g.GetCellGraphicSize(3, 3), TPoint(10, cr.Height()));
    g.AddBitmap(3, 3, bmp.get(), false, haLeft, vaTop);
    EXPECT_EQ(g.GetCellGraphicSize(3, 3), TPoint(10, 8));
    g.SetCells(3, 3, QStringLiteral("t"));
    EXPECT_EQ(g.GetCellGraphicSize(3, 3), TPoint(0, 0));
    g.AddBitmap(3, 3, bmp.get(), false, haBeforeText, vaUnderText);
    EXPECT_EQ(g.GetCellGraphicSize(3, 3), TPoint(10, 8));
    EXPECT_EQ(g.CalcCellGraphicSizeInRect(3, 3, 50, 20, 1.0), TPoint(10, 8));

    // A picture takes the cell less the text margins; printing divides.
    TCellGraphic* pg = g.CreateCellGraphic(4, 4);
    TPicture pic;
    pic.Bitmap()->SetSize(100, 50);
    pg->SetPicture(&pic, false, TStretchMode::Stretch, 0, haLeft, vaTop);
    const TPoint cs = g.CellSize(4, 4);
    EXPECT_EQ(g.CalcCellGraphicSize(4, 4, 3),
        TPoint(cs.X - g.HorizontalTextMargin() - 1, cs.Y - g.VerticalTextMargin() - 3 - 1));
    EXPECT_EQ(g.CalcCellGraphicSizeInRect(4, 4, 100, 60, 2.0), TPoint(50, 30));

    // An interfaced graphic sizes itself; a zero takes the cell's size.
    TSizedCellGraphic ig(7, 9), zero(0, 9);
    g.AddInterfacedCell(1, 4, &ig);
    EXPECT_EQ(g.GetCellGraphicSize(1, 4), TPoint(7, 9));
    g.AddInterfacedCell(2, 4, &zero);
    EXPECT_EQ(g.GetCellGraphicSize(2, 4), g.CellSize(2, 4));
    EXPECT_EQ(g.CalcCellGraphicSizeInRect(2, 4, 1, 1, 1.0), TPoint(g.CellRect(2, 4).Width(), 9));

    // Image kinds take the image list's size, nothing without one.
    g.SetGridImages(&images);
    g.AddMultiImage(0, 5, 1, haLeft, vaTop);
    g.GetCellImages(0, 5)->Add(1);
    g.GetCellImages(0, 5)->Add(2);
    EXPECT_EQ(g.GetCellGraphicSize(0, 5), TPoint(16, 24));
    g.SetGridImages(nullptr);
    EXPECT_EQ(g.GetCellGraphicSize(0, 5), TPoint(0, 0));
    EXPECT_EQ(g.GetCellGraphicSize(4, 5), TPoint(0, 0));
}

// Full placements and self-sizing graphics right of a hidden column take the
// room of the column the cell shows in.
TEST_F(GraphicsFixture, FullPlacementsRightOfAHiddenColumnTakeTheirOwnColumn)
{
    g.SetColWidths(3, 90);
    auto bmp = Bmp(10, 8);
    g.AddBitmap(3, 3, bmp.get(), false, haFull, vaFull);
    TSizedCellGraphic zero(0, 9);
    g.AddInterfacedCell(3, 4, &zero);
    g.HideColumn(1);
    const TRect cr = g.CellRect(g.DisplColIndex(3), 3);
    ASSERT_EQ(cr.Width(), 90);
    EXPECT_EQ(g.GetCellGraphicSize(3, 3), TPoint(90, cr.Height()));
    EXPECT_EQ(g.CalcCellGraphicSizeInRect(3, 4, 1, 1, 1.0), TPoint(90, 9));
}

TEST_F(GraphicsFixture, DisplayTextTurnsLinksAndShowsGroupCounts)
{
    g.SetURLShowInText(true);
    g.SetCells(2, 1, QStringLiteral("see www.example.com"));
    QString expected;
    ASSERT_EQ(TextToHTML(QStringLiteral("see www.example.com"), QStringLiteral("WWW."), expected), 1);
    EXPECT_EQ(g.GetCellEx(2, 1), expected);
    g.SetCells(2, 2, QStringLiteral("WwW.a.com or http://b.com"));
    ASSERT_EQ(TextToHTML(g.Cells(2, 2), QStringLiteral("HTTP://"), expected), 1);
    EXPECT_EQ(g.GetCellEx(2, 2), expected);
    g.SetCells(2, 3, QStringLiteral("plain"));
    EXPECT_EQ(g.GetCellEx(2, 3), QStringLiteral("plain"));
    g.SetURLShowInText(false);
    EXPECT_EQ(g.GetCellEx(2, 1), QStringLiteral("see www.example.com"));

    TCellGraphic* node = g.CreateCellGraphic(0, 2);
    node->SetCellType(ctNode);
    node->SetCellIndex(5);
    g.SetCells(1, 2, QStringLiteral("Group"));
    EXPECT_EQ(g.GetCellEx(1, 2), QStringLiteral("Group"));
    g.Grouping()->ShowGroupCount = true;
    const struct {
        int subNodes;
        QString format;
        QString shown;
    } cases[] = {
        { 0, QString(), QStringLiteral("Group (4)") },
        { 1, QString(), QStringLiteral("Group (3)") },
        { 0, QStringLiteral(" [%d rows]"), QStringLiteral("Group [4 rows]") },
        // A format that does not take one integer shows no count.
        { 0, QStringLiteral(" %s"), QStringLiteral("Group") },
    };
    for (const auto& c : cases) {
        node->SetCellErrFrom(c.subNodes);
        g.Grouping()->GroupCountFormat = c.format;
        EXPECT_EQ(g.GetCellEx(1, 2), c.shown);
    }
    EXPECT_EQ(g.GetCellEx(2, 2), g.Cells(2, 2)) << "only column 1";
    g.SetCells(1, 3, QStringLiteral("x"));
    EXPECT_EQ(g.GetCellEx(1, 3), QStringLiteral("x")) << "only node rows";
}

TEST_F(GraphicsFixture, RadioGroupsCycleThroughTheirItems)
{
    TStrings* sl = g.CreateRadio(1, 1, 0, 2);
    for (auto s : { "a", "b", "c" })
        sl->Add(QString::fromLatin1(s));
    EXPECT_FALSE(g.CycleRadioSelection(1, 1, false));
    int idx = -9;
    EXPECT_TRUE(g.GetRadioIdx(1, 1, idx));
    EXPECT_EQ(idx, 0);
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("a"));
    EXPECT_EQ(g.GetRadioStrings(1, 1), sl);

    // Index -1: the text tells the position, and the index follows from then on.
    g.SetRadioIdx(1, 1, -1);
    EXPECT_EQ(g.Cells(1, 1), QString());
    g.SetCells(1, 1, QStringLiteral("b"));
    g.CycleRadioSelection(1, 1, false);
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("c"));
    g.GetRadioIdx(1, 1, idx);
    EXPECT_EQ(idx, 2);
    // Below -1 the group keeps following its text.
    TStrings* sl2 = g.CreateRadio(2, 1, 0, -2);
    sl2->Add(QStringLiteral("x"));
    sl2->Add(QStringLiteral("y"));
    g.SetCells(2, 1, QStringLiteral("y"));
    g.CycleRadioSelection(2, 1, false);
    EXPECT_EQ(g.Cells(2, 1), QStringLiteral("x"));
    g.GetRadioIdx(2, 1, idx);
    EXPECT_EQ(idx, -2);
    EXPECT_EQ(g.GetCellGraphic(2, 1)->CellVar.toInt(), 0);

    // A group without items stays as it is.
    g.CreateRadio(3, 1, 0, 0);
    g.SetCells(3, 1, QStringLiteral("t"));
    g.CycleRadioSelection(3, 1, false);
    EXPECT_EQ(g.Cells(3, 1), QStringLiteral("t"));

    // Editing refused stops the cycle unless radios are always active.
    g.OnCanEditCell = [](TObject*, int, int, bool& can) { can = false; };
    g.CycleRadioSelection(1, 1, true);
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("c"));
    g.ControlLook()->RadioAlwaysActive = true;
    g.CycleRadioSelection(1, 1, true);
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("a"));

    // A button answers with its packed size but is no radio group, and keeps it.
    g.AddButton(1, 2, 30, 12, QStringLiteral("b"), haLeft, vaTop);
    idx = -9;
    EXPECT_FALSE(g.GetRadioIdx(1, 2, idx));
    EXPECT_EQ(idx, (12 << 16) | 30);
    EXPECT_FALSE(g.SetRadioIdx(1, 2, 1));
    EXPECT_EQ(g.GetCellGraphic(1, 2)->CellIndex(), (12 << 16) | 30);
    idx = -9;
    EXPECT_FALSE(g.GetRadioIdx(3, 3, idx));
    EXPECT_EQ(idx, -9);
}

TEST_F(GraphicsFixture, BalloonsOfTheirOwnAndAttached)
{
    QString title, text;
    TBalloonIcon icon = biNone;
    g.CreateCellGraphic(1, 1)->SetCheckBox(true, false, true, haBeforeText, vaCenter);
    g.AddBalloon(1, 1, QStringLiteral("T1"), QStringLiteral("X1"), biWarning);
    g.AddBalloon(1, 1, QStringLiteral("T2"), QStringLiteral("X2"), biError); // the first list is freed
    EXPECT_FALSE(g.HasBalloon(1, 1));
    ASSERT_TRUE(g.IsBalloon(1, 1, title, text, icon));
    EXPECT_EQ(title, QStringLiteral("T2"));
    EXPECT_EQ(text, QStringLiteral("X2"));
    EXPECT_EQ(icon, biError);
    g.RemoveBalloon(1, 1);
    EXPECT_EQ(g.GetCellType(1, 1), ctCheckBox);
    EXPECT_FALSE(g.IsBalloon(1, 1, title, text, icon));

    g.AddBalloon(2, 1, QStringLiteral("T"), QStringLiteral("X"), biInfo);
    EXPECT_TRUE(g.HasBalloon(2, 1));
    EXPECT_TRUE(g.IsBalloon(2, 1, title, text, icon));
    EXPECT_EQ(icon, biInfo);

    // Any other graphic gets no balloon.
    g.AddComment(3, 1, QStringLiteral("c"));
    g.AddBalloon(3, 1, QStringLiteral("T"), QStringLiteral("X"), biInfo);
    EXPECT_EQ(g.GetCellType(3, 1), ctComment);
    EXPECT_FALSE(g.IsBalloon(3, 1, title, text, icon));
    // Copies of a check box with a balloon leave the list with the cell.
    TCellGraphic copy;
    g.AddBalloon(1, 1, QStringLiteral("T"), QStringLiteral("X"), biInfo);
    copy.Assign(g.GetCellGraphic(1, 1));
    EXPECT_EQ(copy.CellBitmap, nullptr);
}

TEST_F(GraphicsFixture, GetterAnswersForOtherKindsAndEmptyCells)
{
    g.SetGridImages(&images);
    g.AddButton(1, 1, 30, 12, QStringLiteral("cap"), haLeft, vaTop);
    for (int r : { 1, 2 }) { // a button, then nothing
        int i = 77;
        QString s = QStringLiteral("z"), t, x;
        TBalloonIcon bi = biWarning;
        EXPECT_EQ(g.GetBitmap(1, r), nullptr);
        EXPECT_EQ(g.GetPicture(1, r), nullptr);
        EXPECT_EQ(g.GetFilePicture(1, r), nullptr);
        EXPECT_EQ(g.GetInterfacedCell(1, r), nullptr);
        EXPECT_EQ(g.GetCellImages(1, r), nullptr);
        EXPECT_EQ(g.GetRadioStrings(1, r), nullptr);
        EXPECT_EQ(g.GetShapeColor(1, r), clNone);
        EXPECT_EQ(g.GetScrollPosition(1, r), -1);
        EXPECT_EQ(g.GetScrollProp(1, r).PageSize, -1);
        EXPECT_EQ(g.GetScrollProp(1, r).Range, -1);
        EXPECT_FALSE(g.HasAutoRangeScrollBar(1, r));
        EXPECT_EQ(g.GetComment(1, r), QString());
        EXPECT_FALSE(g.IsComment(1, r, s));
        EXPECT_FALSE(g.IsRotated(1, r, i));
        EXPECT_FALSE(g.GetImageIdx(1, r, i));
        EXPECT_FALSE(g.IsBalloon(1, r, t, x, bi));
        EXPECT_EQ(i, 77);
        EXPECT_EQ(s, QStringLiteral("z"));
        EXPECT_EQ(g.CellImageSortValue(1, r), -1);
        EXPECT_FALSE(g.HasBitmap(1, r) || g.HasPicture(1, r) || g.HasProgress(1, r) || g.HasRating(1, r)
            || g.HasDataImage(1, r) || g.IsRadio(1, r) || g.HasScrollBar(1, r) || g.HasBalloon(1, r));
    }
    EXPECT_EQ(g.GetButtonText(1, 1), QStringLiteral("cap"));
    EXPECT_EQ(g.GetButtonText(1, 2), QString());
    EXPECT_TRUE(g.HasButton(1, 1));
}

TEST_F(GraphicsFixture, KindsReadBackWhatTheyStored)
{
    g.SetGridImages(&images);
    g.AddProgressFormatted(1, 1, TColor(0x11), TColor(0x22), TColor(0x33), TColor(0x44), QStringLiteral("%d%%"), 5, 50);
    const TCellGraphic* p = g.GetCellGraphic(1, 1);
    EXPECT_EQ(p->CellColor(), TColor(0x11));
    EXPECT_EQ(p->CellColor2(), TColor(0x33));
    EXPECT_EQ(p->CellIndex(), 0x22);
    EXPECT_EQ(p->CellAngle(), 0x44);
    EXPECT_EQ(p->CellErrFrom(), 5);
    EXPECT_EQ(p->CellErrLen(), 50);
    EXPECT_TRUE(p->CellBoolean());
    EXPECT_EQ(p->CellText(), QStringLiteral("%d%%"));
    g.AddProgress(2, 1, TColor(1), TColor(2));
    EXPECT_FALSE(g.GetCellGraphic(2, 1)->CellBoolean());
    EXPECT_EQ(g.GetCellGraphic(2, 1)->CellErrLen(), 100);
    g.SetAutoNumAlign(true);
    g.AddProgress(3, 1, TColor(1), TColor(2));
    EXPECT_EQ(g.GetCellProperties(3, 1)->Alignment(), taRightJustify);

    // A marker sits on any kind; removing it from a bar keeps the bar.
    g.AddMarker(1, 1, 2, 3);
    int pos = -1, len = -1;
    g.GetMarker(1, 1, pos, len);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(len, 3);
    g.RemoveMarker(1, 1);
    EXPECT_EQ(g.GetCellType(1, 1), ctProgress);
    g.GetMarker(1, 1, pos, len);
    EXPECT_EQ(pos + len, 0);
    g.AddMarker(4, 4, 1, 1);
    EXPECT_EQ(g.GetCellType(4, 4), ctEmpty);
    EXPECT_NE(g.GetCellGraphic(4, 4), nullptr);
    g.RemoveMarker(4, 4);
    EXPECT_EQ(g.GetCellGraphic(4, 4), nullptr);

    // Comments: a button is left alone, an empty cell takes the look's colour.
    g.ControlLook()->SetCommentColor(TColor(0xABCDEF));
    g.AddButton(1, 2, 5, 5, QString(), haLeft, vaTop);
    g.SetComment(1, 2, QStringLiteral("c"));
    EXPECT_EQ(g.GetCellType(1, 2), ctButton);
    g.SetComment(2, 2, QStringLiteral("c"));
    EXPECT_EQ(g.GetComment(2, 2), QStringLiteral("c"));
    EXPECT_EQ(TColor(g.GetCellGraphic(2, 2)->CellIndex()), TColor(0xABCDEF));
    g.SetComment(2, 2, QStringLiteral("d"));
    EXPECT_EQ(g.GetComment(2, 2), QStringLiteral("d"));

    // Rotated text takes over whatever graphic the cell had.
    g.CreateBitmap(3, 2, false, haLeft, vaTop);
    g.SetRotated(3, 2, -90);
    int angle = 0;
    EXPECT_TRUE(g.IsRotated(3, 2, angle));
    EXPECT_EQ(angle, 270);
    g.AddRotated(4, 2, 45, QStringLiteral("r"));
    EXPECT_EQ(g.Cells(4, 2), QStringLiteral("r"));

    g.AddShape(1, 3, TCellShape::csDiamond, TColor(0x10), TColor(0x20), haCenter, vaCenter);
    g.SetShapeColor(1, 3, TColor(0x30));
    EXPECT_EQ(g.GetShapeColor(1, 3), TColor(0x30));
    EXPECT_EQ(g.GetCellGraphic(1, 3)->CellColor(), TColor(0x20));

    g.AddScrollBar(2, 3, false);
    EXPECT_EQ(g.GetScrollProp(2, 3).Range, 100);
    g.SetScrollProp(2, 3, TScrollProp { 10, 400 });
    g.SetScrollPosition(2, 3, 33);
    EXPECT_EQ(g.GetScrollPosition(2, 3), 33);
    EXPECT_EQ(g.GetScrollProp(2, 3).PageSize, 10);
    EXPECT_EQ(g.GetScrollProp(2, 3).Range, 400);
    g.AddProgressPie(3, 3, TColor(5), 10);
    g.SetProgressPie(3, 3, 60);
    EXPECT_EQ(g.GetCellGraphic(3, 3)->CellAngle(), 60);

    g.AddImageIdx(4, 3, 3, haLeft, vaTop);
    g.SetImageIdx(4, 3, 5);
    int idx = 0;
    EXPECT_TRUE(g.GetImageIdx(4, 3, idx));
    EXPECT_EQ(idx, 5);
    EXPECT_EQ(g.CellImageSortValue(4, 3), 5);
    auto bmp = Bmp(2, 2);
    g.AddBitmap(4, 4, bmp.get(), true, haLeft, vaTop);
    EXPECT_EQ(g.CellImageSortValue(4, 4), qintptr(bmp.get()));
    g.RemoveBitmap(4, 4);
    EXPECT_EQ(bmp->Width(), 2) << "the caller's bitmap stays";

    double rate = 2.5;
    EXPECT_TRUE(g.DoRatingChange(1, 1, rate));
    g.OnRatingChange = [](TObject*, int, int, double& r, bool& allow) {
        r = 4;
        allow = false;
    };
    EXPECT_FALSE(g.DoRatingChange(1, 1, rate));
    EXPECT_EQ(rate, 4.0);
}

TEST_F(GraphicsFixture, PickerSelectionsReportTheCursorCellAndThePickedValue)
{
    g.DoColorSelect(); // no handler: nothing to call
    g.DoImageSelect();
    g.SetCol(3);
    g.SetRow(4);
    struct {
        int col = -1, row = -1, index = -2;
        TColor color = clNone;
        QString text;
    } seen;
    g.OnColorSelect = [&](TObject* s, int c, int r, TColor color, const QString& text) {
        EXPECT_EQ(s, &g);
        seen.col = c, seen.row = r, seen.color = color, seen.text = text;
    };
    g.OnImageSelect = [&](TObject* s, int c, int r, int index) {
        EXPECT_EQ(s, &g);
        seen.col = c, seen.row = r, seen.index = index;
    };
    g.SetPickedColor(TColor(0x00FF00), QStringLiteral("Lime"));
    g.DoColorSelect();
    EXPECT_EQ(seen.col, 3);
    EXPECT_EQ(seen.row, 4);
    EXPECT_EQ(seen.color, TColor(0x00FF00));
    EXPECT_EQ(seen.text, QStringLiteral("Lime"));
    EXPECT_EQ(seen.index, -2) << "the colour picker does not report an image";

    g.SetRow(2);
    g.SetPickedImage(7);
    g.DoImageSelect();
    EXPECT_EQ(seen.row, 2);
    EXPECT_EQ(seen.index, 7);
    EXPECT_EQ(seen.text, QStringLiteral("Lime")) << "the image picker does not report a colour";
}

TEST_F(GraphicsFixture, DataImagesTakeTheIndexOnlyIntoEmptyCells)
{
    g.AddDataImage(1, 1, 3, haLeft, vaTop);
    EXPECT_EQ(g.GetCellGraphic(1, 1), nullptr) << "no image list";
    g.SetGridImages(&images);
    g.AddDataImage(1, 1, 3, haLeft, vaTop);
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("3"));
    EXPECT_TRUE(g.HasDataImage(1, 1));
    g.SetCells(2, 1, QStringLiteral("7"));
    g.AddDataImage(2, 1, 3, haLeft, vaTop);
    EXPECT_EQ(g.Cells(2, 1), QStringLiteral("7"));
    g.RemoveDataImage(2, 1);
    EXPECT_EQ(g.Cells(2, 1), QString());
    g.SetCells(3, 1, QStringLiteral("keep"));
    g.RemoveDataImage(3, 1);
    EXPECT_EQ(g.Cells(3, 1), QStringLiteral("keep")) << "no data image, no change";
}

TEST_F(GraphicsFixture, GraphicRectUnpacksThePaintedPosition)
{
    g.AddButton(2, 2, 30, 12, QStringLiteral("b"), haLeft, vaTop);
    g.GetCellGraphic(2, 2)->SetCellValue((5 << 16) | 7);
    const TRect cr = g.CellRect(2, 2);
    const TRect r = g.GetCellGraphicRect(2, 2);
    EXPECT_EQ(r, TRect(cr.Left + 7, cr.Top + 5, cr.Left + 37, cr.Top + 17));
    g.GetCellGraphic(2, 2)->SetCellVAlign(vaFull);
    EXPECT_EQ(g.GetCellGraphicRect(2, 2), TRect(cr.Left + 7, cr.Top, cr.Left + 37, cr.Bottom));
    g.GetCellGraphic(2, 2)->SetCellHAlign(haFull);
    EXPECT_EQ(g.GetCellGraphicRect(2, 2), cr);
    EXPECT_EQ(g.GetCellGraphicRect(3, 3), TRect(0, 0, 0, 0));
    g.PushButton(2, 2, true);
    EXPECT_TRUE(g.GetCellGraphic(2, 2)->CellBoolean());
    g.SetButtonText(2, 2, QStringLiteral("new"));
    EXPECT_EQ(g.GetButtonText(2, 2), QStringLiteral("new"));
}

TEST_F(GraphicsFixture, NodeIndentAndSortIndicator)
{
    EXPECT_EQ(g.GetNodeIndent(1), 0);
    g.GetCellProperties(0, 1)->SetNodeLevel(2);
    EXPECT_EQ(g.GetNodeIndent(1), 0) << "no nodes";
    g.FNumNodes = 1;
    EXPECT_EQ(g.GetNodeIndent(1), 2 * g.CellNode()->NodeIndent());
    EXPECT_EQ(g.GetNodeIndent(2), 0);
    EXPECT_EQ(g.GetNodeIndent(-1), 0);
    g.FNumNodes = 0;

    g.SetFixedRows(2);
    g.SortSettings()->SetShow(true);
    g.SortSettings()->SetRow(1);
    EXPECT_TRUE(g.IsSortIndicatorCell(2, 1));
    EXPECT_FALSE(g.IsSortIndicatorCell(2, 0));
    g.MergeCells(3, 0, 1, 2);
    EXPECT_TRUE(g.IsSortIndicatorCell(3, 0));
    g.SortSettings()->SetShow(false);
    EXPECT_FALSE(g.IsSortIndicatorCell(2, 1));
}
