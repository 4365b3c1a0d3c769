// Cell graphics painting: every kind in each control style, radio groups,
// node glyphs, progress kinds, rating, comments, buttons and expand glyphs
// compared with golden pictures; the rules a picture cannot show probed.

#include "controls/base/ExObj.h"
#include "controls/base/ExUtilDraw.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/PlatformInfo.h"
#include "platform/runtime/Classes.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"
#include "tests/controls/grid/PaintProbe.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <functional>
#include <memory>

namespace {

// Puts the pointer over a cell button, as the mouse handling leaves it.
class TButtonGrid : public TExStringGrid {
public:
    using TExStringGrid::TExStringGrid;
    void SetHoverButton(int ACol, int ARow) { FHoverButton = TPoint(ACol, ARow); }
};

using Grid = TGridOnForm<TButtonGrid>;

TColor PixelAt(const QImage& img, int x, int y)
{
    const QRgb c = img.pixel(x, y);
    return TColor(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
}

TButtonGrid* PlainWhite(Grid& f)
{
    TButtonGrid* g = paintprobe::PlainWhite(f.Grid);
    // The current cell stays unmarked, so cells compare alike.
    g->SetShowSelection(false);
    // No window border, so edge cells compare alike with inner ones.
    g->SetBorderColor(clNone);
    return g;
}

// A square of one colour with a darker frame, so a drawn image shows where it sits.
QImage Swatch(int w, int h, QColor fill)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    QPainter p(&img);
    p.setPen(fill.darker(200));
    p.drawRect(0, 0, w - 1, h - 1);
    return img;
}

// Switches themed drawing off for one scope.
struct TNoThemes {
    bool saved = PlatformInfo().ThemesActive;
    TNoThemes() { PlatformInfo().ThemesActive = false; }
    ~TNoThemes() { PlatformInfo().ThemesActive = saved; }
};

// A graphic of the application's own: a filled bar over the cell.
class TBarGraphic : public TObject, public IGridCellGraphic {
public:
    void Draw(TCanvas* Canvas, const TRect& R, int, int, bool, TObject*) override
    {
        Canvas->Brush()->SetColor(TColor(0x80C0FF));
        Canvas->FillRect(TRect(R.Left + 4, R.Top + 6, R.Right - 4, R.Bottom - 6));
    }
    int GetWidth() override { return 0; }
    int GetHeight() override { return 0; }
    bool IsBackground() override { return true; }
};

// The objects a gallery grid's cells hold; they outlive the grid's painting.
struct TGalleryObjects {
    TBitmap bitmap, glyph;
    TIcon icon;
    TPicture picture;
    TCustomImageList images { 16, 16 };
    TStringList hRadio, vRadio;
    TBarGraphic bar;
    TGalleryObjects()
    {
        bitmap.SetImage(Swatch(16, 16, QColor(0, 160, 0)));
        glyph.SetImage(Swatch(10, 10, QColor(200, 0, 0)));
        icon.SetImage(Swatch(16, 16, QColor(0, 0, 200)));
        TBitmap pic;
        pic.SetImage(Swatch(18, 14, QColor(160, 0, 160)));
        picture.SetGraphic(&pic);
        const QColor colors[] = { QColor(255, 128, 0), QColor(0, 128, 255), QColor(128, 128, 0) };
        for (const QColor& c : colors)
            images.AddImage(Swatch(16, 16, c));
        for (const char* s : { "A", "B", "C" }) {
            hRadio.Add(QString::fromLatin1(s));
            vRadio.Add(QString::fromLatin1(s));
        }
    }
};

constexpr int kCols = 7, kRows = 4, kColW = 96, kRowH = 24, kRadioRowH = 52;
constexpr int kGridW = kCols * kColW + 4, kGridH = 3 * kRowH + kRadioRowH + 8;

// Every cell kind on one grid: the style-dependent controls first, then the
// bars, then the pictures, then the buttons and marks.
void FillGallery(TButtonGrid* g, TGalleryObjects& o)
{
    g->SetDefaultColWidth(kColW);
    g->SetRowHeights(1, kRadioRowH);
    g->SetGridImages(&o.images);
    g->OnCanEditCell = [](TObject*, int ARow, int ACol, bool& can) {
        if (ARow == 0 && (ACol == 4 || ACol == 6))
            can = false;
    };
    // Row 0: check boxes and radio buttons.
    g->SetCells(0, 0, "Off");
    g->AddCheckBox(0, 0, false, false);
    g->SetCells(1, 0, "On");
    g->AddCheckBox(1, 0, true, false);
    g->SetCells(2, 0, "Grayed");
    g->AddCheckBox(2, 0, cbGrayed);
    g->AddCheckBox(3, 0, true, true);
    g->SetCells(4, 0, "Locked");
    g->AddCheckBox(4, 0, true, false);
    g->SetCells(5, 0, "Radio");
    g->AddRadioButton(5, 0, true);
    g->SetCells(6, 0, "Locked");
    g->AddRadioButton(6, 0, false);
    // Row 1: radio groups, bars, pie and rating.
    g->AddRadio(0, 1, 1, 1, &o.hRadio);
    g->AddRadio(1, 1, 0, 2, &o.vRadio);
    g->SetCells(2, 1, "40");
    g->AddProgress(2, 1, TColor(0xC08000), clWhite);
    g->SetCells(3, 1, "15");
    g->AddExProgress(3, 1, 10, 20);
    g->SetCells(4, 1, "-30");
    g->AddRangeIndicator(4, 1, 100, clRed, clGreen, true);
    g->SetCells(5, 1, "Pie");
    g->AddProgressPie(5, 1, clGreen, 70);
    g->AddRotated(6, 1, 20, "Tilted");
    // Row 2: pictures of every source.
    g->SetCells(0, 2, "Bitmap");
    g->AddBitmap(0, 2, &o.bitmap, false, haBeforeText, vaCenter);
    g->SetCells(1, 2, "Icon");
    g->AddIcon(1, 2, &o.icon, haBeforeText, vaCenter);
    g->SetCells(2, 2, "Index");
    g->AddImageIdx(2, 2, 1, haBeforeText, vaCenter);
    g->SetCells(3, 2, "2");
    g->AddDataImage(3, 2, 0, haCenter, vaCenter);
    g->AddMultiImage(4, 2, 0, haLeft, vaCenter);
    for (int i : { 0, 1, 2 })
        g->GetCellImages(4, 2)->Add(i);
    g->SetCells(5, 2, "Pic");
    g->AddPicture(5, 2, &o.picture, false, TStretchMode::noStretch, 0, haAfterText, vaCenter);
    g->SetCells(6, 2, "3.7");
    g->AddRating(6, 2, 5, TColor(0x00C0FF), TColor(0xC0C0C0));
    // Row 3: buttons, expand glyph, shape, comment and an own graphic.
    g->AddButton(0, 3, 60, 20, "Go", haCenter, vaCenter);
    g->AddBitButton(1, 3, 70, 20, "Glyph", &o.glyph, haCenter, vaCenter);
    g->AddExpand(2, 3, 60);
    g->SetCells(3, 3, "Shape");
    g->AddShape(3, 3, TCellShape::csCircle, clYellow, clBlack, haBeforeText, vaCenter);
    g->SetCells(4, 3, "Note");
    g->AddComment(4, 3, "A comment");
    g->SetCells(5, 3, "Own");
    g->AddInterfacedCell(5, 3, &o.bar);
    g->SetCells(6, 3, "Diamond");
    g->AddShape(6, 3, TCellShape::csDiamond, TColor(0xFF8000), clNavy, haAfterText, vaCenter);
}

QImage PaintGallery(TGridControlStyle Style)
{
    Grid f(kCols, kRows, kGridW, kGridH);
    TButtonGrid* g = PlainWhite(f);
    TGalleryObjects o;
    g->ControlLook()->SetControlStyle(Style);
    g->ControlLook()->SetProgressXP(true);
    if (Style == TGridControlStyle::csGlyph) {
        auto load = [](const char* name) {
            auto b = std::make_unique<TBitmap>();
            b->LoadFromResourceName(QString::fromLatin1(name));
            return b;
        };
        g->ControlLook()->SetCheckedGlyph(load("metrocheckon").get());
        g->ControlLook()->SetUnCheckedGlyph(load("metrocheckoff").get());
        g->ControlLook()->SetRadioOnGlyph(load("metroradioon").get());
        g->ControlLook()->SetRadioOffGlyph(load("metroradiooff").get());
    }
    FillGallery(g, o);
    return g->PaintToImage();
}

// Pictures stacked with a caption each.
QImage Stack(const std::vector<std::pair<QString, QImage>>& parts, int labelW)
{
    int w = 0, h = 0;
    for (const auto& [name, img] : parts) {
        w = std::max(w, img.width());
        h += img.height() + 6;
    }
    QImage out(labelW + w, h, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    p.setFont(font);
    int y = 0;
    for (const auto& [name, img] : parts) {
        p.drawText(4, y + 14, name);
        p.drawImage(labelW, y, img);
        y += img.height() + 6;
    }
    return out;
}

} // namespace

TEST(ExGridGraphicsPaint, EveryCellKindInEachControlStyle)
{
    std::vector<std::pair<QString, QImage>> parts = {
        { "csClassic", PaintGallery(TGridControlStyle::csClassic) },
        { "csFlat", PaintGallery(TGridControlStyle::csFlat) },
        { "csWinXP", PaintGallery(TGridControlStyle::csWinXP) },
        { "csKestrin", PaintGallery(TGridControlStyle::csKestrin) },
        { "csVRK", PaintGallery(TGridControlStyle::csVRK) },
        { "csGlyph", PaintGallery(TGridControlStyle::csGlyph) },
        { "csTheme", PaintGallery(TGridControlStyle::csTheme) },
    };
    {
        TNoThemes off;
        parts.push_back({ "csTheme, no themes", PaintGallery(TGridControlStyle::csTheme) });
    }
    EXPECT_TRUE(testutil::MatchesGolden(Stack(parts, 130), "graphics_paint_styles"));
}

// The cell's pixels, for comparing two cells painted alike.
QImage CellImage(TExStringGrid* g, int ACol, int ARow)
{
    const TRect r = g->CellRect(ACol, ARow);
    return g->PaintToImage().copy(r.Left, r.Top, r.Width(), r.Height());
}

int CountColor(const QImage& img, const TRect& box, TColor c)
{
    int n = 0;
    for (int y = box.Top; y < box.Bottom; ++y)
        for (int x = box.Left; x < box.Right; ++x)
            if (PixelAt(img, x, y) == c)
                ++n;
    return n;
}

TEST(ExGridGraphicsPaint, ThemeStyleWithoutThemesLooksClassic)
{
    QImage classic;
    {
        TNoThemes off;
        classic = PaintGallery(TGridControlStyle::csClassic);
        EXPECT_EQ(PaintGallery(TGridControlStyle::csTheme), classic);
    }
    EXPECT_NE(PaintGallery(TGridControlStyle::csTheme), classic);
}

TEST(ExGridGraphicsPaint, RadioGroupsNodesAndButtons)
{
    std::vector<std::pair<QString, QImage>> parts;
    // The node glyph of every node type, one collapsed node among them.
    const std::pair<const char*, TNodeType> types[] = { { "cnFlat", TNodeType::cnFlat }, { "cn3D", TNodeType::cn3D },
        { "cnGlyph", TNodeType::cnGlyph }, { "cnLeaf", TNodeType::cnLeaf }, { "cnXP", TNodeType::cnXP } };
    for (const auto& [name, type] : types) {
        Grid f(2, 7, 200, 7 * 21 + 3);
        TButtonGrid* g = PlainWhite(f);
        g->SetDefaultColWidth(98);
        const char* texts[] = { "Plant", "Pump", "Valve", "Tank", "Motor", "Fan", "Heater" };
        for (int r = 0; r < 7; ++r)
            g->SetCells(1, r, texts[r]);
        g->CellNode()->SetShowTree(true);
        g->CellNode()->SetNodeType(type);
        if (type == TNodeType::cnGlyph) {
            TBitmap plus, minus;
            plus.SetImage(Swatch(9, 9, QColor(0, 150, 0)));
            minus.SetImage(Swatch(9, 9, QColor(200, 0, 0)));
            g->CellNode()->SetContractGlyph(&plus);
            g->CellNode()->SetExpandGlyph(&minus);
        }
        g->AddNode(0, 5);
        g->AddNode(1, 2);
        g->AddNode(5, 2);
        g->ContractNode(5);
        parts.push_back({ QString::fromLatin1(name), g->PaintToImage() });
    }
    // Buttons normal, hot, down and disabled, then the expand glyph both ways,
    // themed, classic and in the flat tones.
    for (int kind = 0; kind < 3; ++kind) {
        TNoThemes* off = kind == 1 ? new TNoThemes : nullptr;
        Grid f(6, 1, 6 * 70 + 4, 30);
        TButtonGrid* g = PlainWhite(f);
        g->SetDefaultColWidth(70);
        g->SetDefaultRowHeight(26);
        if (kind == 2)
            g->ControlLook()->SetFlatButton(true);
        const char* captions[] = { "Normal", "Hot", "Down", "Off" };
        for (int c = 0; c < 4; ++c)
            g->AddButton(c, 0, 60, 20, captions[c], haCenter, vaCenter);
        g->SetHoverButton(1, 0);
        g->PushButton(2, 0, true);
        g->OnCanEditCell = [](TObject*, int, int ACol, bool& can) { can = ACol != 3; };
        g->AddExpand(4, 0, 60);
        g->AddExpand(5, 0, 60);
        g->ToggleExpand(5, 0);
        parts.push_back({ kind == 0 ? QStringLiteral("themed")
                : kind == 1         ? QStringLiteral("classic")
                                    : QStringLiteral("flat"),
            g->PaintToImage() });
        delete off;
    }
    EXPECT_TRUE(testutil::MatchesGolden(Stack(parts, 70), "graphics_paint_nodes_buttons"));
}

// A button as tall as its row, or taller, keeps its whole frame: its bottom
// edge shows on the cell's last row, as the edge of a button with room to
// spare does, in every drawing kind.
TEST(ExGridGraphicsPaint, ButtonsTallerThanTheirCellKeepTheirBottomEdge)
{
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind);
        std::unique_ptr<TNoThemes> off(kind == 1 ? new TNoThemes : nullptr);
        Grid f(3, 2, 3 * 70 + 4, 2 * 40 + 4);
        TButtonGrid* g = PlainWhite(f);
        g->SetDefaultColWidth(70);
        g->SetRowHeights(0, 40);
        g->SetRowHeights(1, 20);
        if (kind == 2)
            g->ControlLook()->SetFlatButton(true);
        g->AddButton(0, 0, 60, 18, "Room", haCenter, vaCenter);
        for (const int h : { 18, 20, 30 })
            g->AddButton(h / 10 - 1, 1, 60, h, "Tight", haCenter, vaCenter);
        const QImage img = g->PaintToImage();
        // The roomy button's lowest row of ink is its bottom edge.
        const TRect room = g->CellRect(0, 0);
        const int x = room.Left + room.Width() / 2;
        int edge = room.Bottom - g->GridLineWidth() - 1;
        while (edge > room.Top && img.pixel(x, edge) == qRgb(255, 255, 255))
            --edge;
        for (int c = 0; c < 3; ++c) {
            const TRect cell = g->CellRect(c, 1);
            EXPECT_EQ(img.pixel(cell.Left + cell.Width() / 2, cell.Bottom - g->GridLineWidth() - 1), img.pixel(x, edge))
                << c;
        }
    }
}

TEST(ExGridGraphicsPaint, ProgressKinds)
{
    Grid f(4, 3, 4 * 100 + 4, 3 * 21 + 3);
    TButtonGrid* g = PlainWhite(f);
    g->SetDefaultColWidth(100);
    g->ControlLook()->SetControlStyle(TGridControlStyle::csTheme);
    g->ControlLook()->SetProgressXP(true);
    // Row 0 themed; row 1 in the grid's own colours; row 2 the level bar.
    const char* values[] = { "40", "150", "-20", "abc" };
    for (int c = 0; c < 4; ++c) {
        g->SetCells(c, 0, values[c]);
        g->AddProgress(c, 0, clBlue, clWhite);
        g->SetCells(c, 1, values[c]);
        g->AddProgressFormatted(c, 1, TColor(0x008000), clWhite, TColor(0xE0E0E0), clBlack, "%d units", 0, 200);
    }
    // 15 between 10 and 20 is half done; an empty range nothing.
    g->SetCells(0, 2, "15");
    g->AddExProgress(0, 2, 10, 20);
    g->SetCells(1, 2, "50");
    g->AddExProgress(1, 2, 0, 100);
    g->SetCells(2, 2, "9");
    g->AddExProgress(2, 2, 7, 7);
    g->SetCells(3, 2, "90");
    g->AddExProgress(3, 2, 0, 100);
    g->ControlLook()->SetControlStyle(TGridControlStyle::csClassic);
    const QImage plain = g->PaintToImage();
    g->ControlLook()->SetControlStyle(TGridControlStyle::csTheme);
    const QImage themed = g->PaintToImage();
    EXPECT_TRUE(
        testutil::MatchesGolden(Stack({ { "themed", themed }, { "classic", plain } }, 60), "graphics_paint_progress"));

    // The themed bar is limited to 0..100; the plain one shows the value
    // itself; a text that is no number counts as 0.
    EXPECT_EQ(CellImage(g, 1, 0), [&] {
        g->SetCells(1, 0, "100");
        return CellImage(g, 1, 0);
    }());
    g->SetCells(0, 0, "0");
    EXPECT_EQ(CellImage(g, 2, 0), CellImage(g, 0, 0));
    EXPECT_EQ(CellImage(g, 3, 0), CellImage(g, 0, 0));
    EXPECT_EQ(CellImage(g, 0, 2), CellImage(g, 1, 2));
    g->SetCells(3, 2, "0");
    EXPECT_EQ(CellImage(g, 2, 2), CellImage(g, 3, 2));
    EXPECT_NE(CellImage(g, 0, 2), CellImage(g, 3, 2));
}

TEST(ExGridGraphicsPaint, NoCellContentThrowsOutOfPainting)
{
    Grid f(6, 2, 6 * 60 + 4, 2 * 21 + 3);
    TButtonGrid* g = PlainWhite(f);
    g->SetDefaultColWidth(60);
    TCustomImageList images(16, 16);
    images.AddImage(Swatch(16, 16, QColor(255, 0, 0)));
    g->SetGridImages(&images);
    for (int r = 0; r < 2; ++r) {
        g->AddProgress(0, r, clBlue, clWhite);
        g->AddExProgress(1, r, 0, 10);
        g->AddRangeIndicator(2, r, 10, clRed, clGreen, false);
        g->AddRating(3, r, 3, clRed, clGray);
        g->AddDataImage(4, r, 0, haLeft, vaTop);
        g->AddProgressFormatted(5, r, clBlue, clWhite, clWhite, clBlue, "%d", 0, 10);
    }
    for (int c = 0; c < 6; ++c) {
        g->SetCells(c, 0, "not a number");
        g->SetCells(c, 1, "0");
    }
    QImage img;
    ASSERT_NO_THROW(img = g->PaintToImage());
    // Each reads as 0 (the data image shows image 0 + 0 either way).
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(CellImage(g, c, 0), CellImage(g, c, 1)) << "column " << c;
}

TEST(ExGridGraphicsPaint, DataImageNeedsAnIndexInsideTheList)
{
    Grid f(1, 3, 64, 3 * 21 + 3);
    TButtonGrid* g = PlainWhite(f);
    TCustomImageList images(16, 16);
    images.AddImage(Swatch(16, 16, QColor(255, 0, 0)));
    g->SetGridImages(&images);
    const struct {
        const char* text;
        int index;
        bool shown;
    } cases[] = { { "0", 0, true }, { "-1", 0, false }, { "1", -1, true }, { "1", 0, false } };
    for (const auto& k : cases) {
        g->SetCells(0, 0, k.text);
        g->AddDataImage(0, 0, k.index, haLeft, vaTop);
        const QImage cell = CellImage(g, 0, 0);
        EXPECT_EQ(CountColor(cell, TRect(0, 0, cell.width(), cell.height()), TColor(0x0000FF)) > 0, k.shown)
            << k.text << " + " << k.index;
    }
}

TEST(ExGridGraphicsPaint, DataCheckBoxIsCheckedExactlyByTheCheckTrueText)
{
    Grid f(2, 2, 2 * 50 + 4, 2 * 21 + 3);
    TButtonGrid* g = PlainWhite(f);
    // Plain boxes without text stand where a data box stands.
    g->AddCheckBox(0, 0, true, false);
    g->AddCheckBox(0, 1, false, false);
    const QImage checked = CellImage(g, 0, 0), unchecked = CellImage(g, 0, 1);
    ASSERT_NE(checked, unchecked);
    const struct {
        const char* text;
        bool checked;
    } cases[] = { { "Y", true }, { "N", false }, { "y", false }, { "Yes", false }, { "", false } };
    for (const auto& k : cases) {
        g->SetCells(1, 0, k.text);
        g->AddCheckBox(1, 0, false, true);
        g->SetCells(1, 0, k.text);
        EXPECT_EQ(CellImage(g, 1, 0), k.checked ? checked : unchecked) << k.text;
    }
    g->SetCheckTrue("yes");
    g->SetCells(1, 0, "yes");
    EXPECT_EQ(CellImage(g, 1, 0), checked);
}

TEST(ExGridGraphicsPaint, CheckBoxFollowsTheCellsVerticalAlignment)
{
    Grid f(2, 1, 2 * 50 + 4, 44);
    TButtonGrid* g = PlainWhite(f);
    g->SetDefaultRowHeight(40);
    g->ControlLook()->SetControlStyle(TGridControlStyle::csWinXP);
    g->AddCheckBox(0, 0, true, false);
    g->AddCheckBox(1, 0, true, false);
    g->OnGetAlignment = [](TObject*, int, int ACol, TAlignment&, TVAlignment& VAlign) {
        if (ACol == 1)
            VAlign = TVAlignment::vtaCenter;
    };
    // The box's ink rows: the graphic says top, the cell says centre.
    const QImage img = g->PaintToImage();
    auto inkRows = [&](int ACol) {
        const TRect r = g->CellRect(ACol, 0);
        int top = -1, bottom = -1;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (PixelAt(img, x, y) != clWhite) {
                    if (top < 0)
                        top = y - r.Top;
                    bottom = y - r.Top;
                    break;
                }
        return std::pair(top, bottom);
    };
    const auto [top0, bottom0] = inkRows(0);
    const auto [top1, bottom1] = inkRows(1);
    EXPECT_LT(top0, 6);
    EXPECT_EQ(bottom1 - top1, bottom0 - top0);
    // Centred: as much room above as below, to a pixel.
    EXPECT_LE(std::abs(top1 - (40 - 1 - bottom1)), 1);
}

TEST(ExGridGraphicsPaint, RatingShowsHalfSteps)
{
    Grid f(1, 1, 104, 24);
    TButtonGrid* g = PlainWhite(f);
    g->SetDefaultColWidth(100);
    const TColor fill = TColor(0x00C0FF), empty = TColor(0xC0C0C0);
    g->SetCells(0, 0, "3.7");
    g->AddRating(0, 0, 5, fill, empty);
    const QImage img = g->PaintToImage();
    // The stars stand 18 pixels apart from the cell's inner left edge.
    const TRect r = g->CellRect(0, 0);
    const int x0 = r.Left + g->XYOffset().X - 1, y0 = r.Top + g->XYOffset().Y;
    const bool fullExpected[] = { true, true, true, false, false };
    for (int i = 0; i < 5; ++i) {
        const TRect box(x0 + 18 * i, y0, x0 + 18 * i + 17, y0 + 17);
        const int f1 = CountColor(img, box, fill), e1 = CountColor(img, box, empty);
        if (fullExpected[i])
            EXPECT_TRUE(f1 > 20 && e1 == 0) << "star " << i;
        else if (i == 3)
            EXPECT_TRUE(f1 > 10 && e1 > 10) << "half star";
        else
            EXPECT_TRUE(f1 == 0 && e1 > 20) << "star " << i;
    }
}

TEST(ExGridGraphicsPaint, CommentTakesItsOwnColourUnlessNone)
{
    Grid f(3, 1, 3 * 50 + 4, 24);
    TButtonGrid* g = PlainWhite(f);
    g->ControlLook()->SetCommentColor(clRed);
    g->AddColorComment(0, 0, "own", clBlue);
    g->AddColorComment(1, 0, "none", clNone);
    g->AddComment(2, 0, "plain");
    auto mark = [&](int ACol) {
        const QImage img = g->PaintToImage();
        const TRect r = g->CellRect(ACol, 0);
        // Inside the triangle (right - 7, top), (right - 2, top), (right - 2, top + 5).
        return PixelAt(img, r.Right - 4, r.Top + 2);
    };
    EXPECT_EQ(mark(0), clBlue);
    EXPECT_EQ(mark(1), clRed);
    EXPECT_EQ(mark(2), clRed);
    g->ControlLook()->SetCommentColor(clNone);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(mark(c), clWhite) << c;
}

TEST(ExGridGraphicsPaint, ButtonBoxIsKeptForTheHitTest)
{
    Grid f(2, 1, 2 * 80 + 4, 30);
    TButtonGrid* g = PlainWhite(f);
    g->SetDefaultColWidth(80);
    g->SetDefaultRowHeight(26);
    g->AddButton(1, 0, 40, 16, "Go", haRight, vaBottom);
    const QImage img = g->PaintToImage();
    const TRect b = g->GetCellGraphicRect(1, 0);
    const TRect cell = g->CellRect(1, 0);
    EXPECT_EQ(b.Width(), 40);
    EXPECT_EQ(b.Height(), 16);
    EXPECT_TRUE(b.Left > cell.Left + 20 && b.Right <= cell.Right && b.Bottom <= cell.Bottom);
    // The face is drawn there: its edges are not the white cell.
    EXPECT_NE(PixelAt(img, b.Left, b.Top + 8), clWhite);
    EXPECT_NE(PixelAt(img, b.Right - 1, b.Top + 8), clWhite);
    EXPECT_EQ(PixelAt(img, b.Left - 2, b.Top + 8), clWhite);
}

TEST(ExGridGraphicsPaint, PaintingMakesNoCellProperties)
{
    Grid f(kCols, kRows, kGridW, kGridH);
    TButtonGrid* g = PlainWhite(f);
    TGalleryObjects o;
    FillGallery(g, o);
    g->AddNode(0, 2);
    auto count = [&] {
        int n = 0;
        for (int r = 0; r < g->RowCount(); ++r)
            for (int c = 0; c < g->ColCount(); ++c)
                n += g->HasCellProperties(c, r) ? 1 : 0;
        return n;
    };
    const int before = count();
    g->PaintToImage();
    EXPECT_EQ(count(), before);
}
