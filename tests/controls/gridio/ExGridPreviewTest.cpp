#include <gtest/gtest.h>

#include <QImage>
#include <memory>

#include "common/TestUtil.h"
#include "controls/base/BaseGrid.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/ImageList.h"
#include "platform/runtime/Classes.h"

namespace {

// A styled grid: coloured header row, a merged title cell over two columns,
// a right-aligned column and a wide last column that forces a second strip.
std::unique_ptr<TExStringGrid> StyledGrid()
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(6);
    g->SetRowCount(40);
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    for (int r = 0; r < 40; ++r)
        for (int c = 0; c < 6; ++c)
            g->SetCells(c, r, r == 0 ? QStringLiteral("Head %1").arg(c) : QStringLiteral("Cell %1.%2").arg(c).arg(r));
    for (int r = 1; r < 40; ++r)
        g->SetCells(5, r, QStringLiteral("A long description of row %1 that needs its own strip").arg(r));
    for (int c = 0; c < 6; ++c)
        g->GetCellProperties(c, 0)->SetBrushColor(clSilver);
    g->GetCellProperties(2, 3)->SetBrushColor(clYellow);
    g->GetCellProperties(3, 4)->SetFontColor(clRed);
    g->SetCells(1, 2, QStringLiteral("Merged over two"));
    g->MergeCells(1, 2, 2, 1);
    auto* ps = g->PrintSettings();
    ps->Font()->SetName(QStringLiteral("DejaVu Sans"));
    ps->Font()->SetSize(9);
    ps->FixedFont()->SetName(QStringLiteral("DejaVu Sans"));
    ps->HeaderFont()->SetName(QStringLiteral("DejaVu Sans"));
    ps->HeaderFont()->SetSize(12);
    ps->FooterFont()->SetName(QStringLiteral("DejaVu Sans"));
    ps->TitleText = QStringLiteral("Preview of the styled grid");
    ps->Title = TPrintPosition::ppTopCenter;
    ps->PageNr = TPrintPosition::ppBottomRight;
    ps->HeaderSize = 100;
    ps->FooterSize = 100;
    ps->RepeatFixedCols = true;
    ps->RepeatFixedRows = true;
    return g;
}

QImage Preview(TExStringGrid* g, int page)
{
    // An A5 page at 96 dpi.
    QImage img(559, 794, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas c;
    c.BeginDraw(&img);
    g->SetPreviewPage(page);
    g->PrintPreview(&c, TRect(0, 0, img.width(), img.height()));
    c.EndDraw();
    return img;
}

// Page 1 of a grid printed with its graphics, left-aligned, kept as a golden.
QImage GraphicsPage(TExStringGrid* g, const QString& Golden)
{
    auto* ps = g->PrintSettings();
    ps->PrintGraphics = true;
    for (TFont* f : { ps->Font(), ps->FixedFont(), ps->HeaderFont(), ps->FooterFont() })
        f->SetName(QStringLiteral("DejaVu Sans"));
    ps->Centered = false;
    ps->LeftSize = 50;
    const QImage img = Preview(g, 1);
    testutil::SaveImagePng(img, Golden);
    EXPECT_TRUE(testutil::MatchesGolden(img, Golden, 40, 400));
    return img;
}

} // namespace

TEST(ExGridPreview, StyledGridPagesIntoACallersCanvas)
{
    auto g = StyledGrid();
    const QImage p1 = Preview(g.get(), 1);
    ASSERT_GE(g->PrintNrOfPages(), 2);
    testutil::SaveImagePng(p1, QStringLiteral("gridprint_preview_p1"));
    const QImage p2 = Preview(g.get(), 2);
    EXPECT_NE(p1, p2);
    // The third page starts the second strip: the fixed column again, then
    // the wide column alone.
    const QImage p3 = Preview(g.get(), 3);
    testutil::SaveImagePng(p3, QStringLiteral("gridprint_preview_p3"));
    EXPECT_FALSE(g->IsPrintPreview());
    EXPECT_TRUE(testutil::MatchesGolden(p1, QStringLiteral("gridprint_preview_p1"), 40, 400));
    EXPECT_TRUE(testutil::MatchesGolden(p3, QStringLiteral("gridprint_preview_p3"), 40, 400));
}

TEST(ExGridPreview, CellKindsOnThePage)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(4);
    g->SetRowCount(6);
    g->SetFixedRows(1);
    g->SetFixedCols(0);
    g->SetMultilinecells(true);
    for (int c = 0; c < 4; ++c)
        g->SetCells(c, 0, QStringLiteral("Kind %1").arg(c));
    g->AddCheckBox(0, 1, true, false);
    g->SetCells(0, 1, QStringLiteral("checked"));
    g->AddCheckBox(0, 2, false, false);
    g->SetCells(0, 2, QStringLiteral("clear"));
    g->AddCheckBox(1, 1, true, true);
    g->GetCellProperties(1, 1)->SetAlignment(taRightJustify);
    TBitmap bmp(24, 24);
    bmp.Canvas()->Brush()->SetColor(clBlue);
    bmp.Canvas()->FillRect(TRect(0, 0, 24, 24));
    g->AddBitmap(2, 1, &bmp, false, haLeft, vaTop);
    g->SetCells(2, 1, QStringLiteral("picture"));
    g->SetCells(3, 1, QStringLiteral("one\ntwo\nthree"));
    g->AddRotated(1, 3, 90, QStringLiteral("Rotated"));
    g->SetCells(2, 3, QStringLiteral("<b>Bold</b> and <font color=\"clRed\">red</font>"));
    GraphicsPage(g.get(), QStringLiteral("gridprint_preview_cells"));
}

namespace {
QImage Swatch(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(c);
    return img;
}

// The share of a page rectangle's pixels close to a colour.
double ShareOf(const QImage& img, const QRect& r, QColor c)
{
    int n = 0, hit = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor p = img.pixelColor(x, y);
            ++n;
            hit += std::abs(p.red() - c.red()) < 40 && std::abs(p.green() - c.green()) < 40
                && std::abs(p.blue() - c.blue()) < 40;
        }
    return n ? double(hit) / n : 0;
}
} // namespace

// The graphics the screen paints print as the screen shows them: image-list
// images, data images, icons, pictures, progress bars and pies, radio groups
// and the node glyph with its plus sign.
TEST(ExGridPreview, GraphicKindsPrintAsTheScreenShowsThem)
{
    TCustomImageList images(16, 16);
    images.AddImage(Swatch(16, 16, QColor(255, 128, 0)));
    images.AddImage(Swatch(16, 16, QColor(0, 160, 0)));
    TIcon icon;
    icon.SetImage(Swatch(16, 16, QColor(0, 0, 200)));
    TPicture picture;
    TBitmap pic;
    pic.SetImage(Swatch(18, 14, QColor(160, 0, 160)));
    picture.SetGraphic(&pic);
    TStringList radio;
    for (const char* s : { "A", "B", "C" })
        radio.Add(QString::fromLatin1(s));

    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(4);
    g->SetRowCount(5);
    g->SetFixedRows(1);
    g->SetFixedCols(0);
    g->SetDefaultColWidth(110);
    g->SetGridImages(&images);
    for (int c = 0; c < 4; ++c)
        g->SetCells(c, 0, QStringLiteral("Kind %1").arg(c));
    g->AddImageIdx(0, 1, 0, haLeft, vaTop);
    g->SetCells(0, 1, QStringLiteral("list"));
    g->SetCells(1, 1, QStringLiteral("1"));
    g->AddDataImage(1, 1, 0, haLeft, vaTop);
    g->AddIcon(2, 1, &icon, haLeft, vaTop);
    g->SetCells(2, 1, QStringLiteral("icon"));
    g->AddPicture(3, 1, &picture, false, TStretchMode::noStretch, 0, haLeft, vaTop);
    g->SetCells(0, 2, QStringLiteral("50"));
    g->AddProgress(0, 2, TColor(0xC08000), clWhite);
    g->AddProgressPie(1, 2, clGreen, 70);
    // Rich text prints through the rich-text painter, in its own colours.
    g->SetCells(
        3, 2, QStringLiteral("{\\rtf1\\ansi{\\colortbl;\\red200\\green0\\blue200;}\\cf1\\fs16 rich \\b bold\\b0}"));
    g->SetRowHeights(3, 52);
    g->AddRadio(2, 3, 1, 1, &radio);
    g->AddNode(3, 2);
    const QImage img = GraphicsPage(g.get(), QStringLiteral("gridprint_preview_graphics"));

    // Each swatch colour is on the page: the list image, the data image
    // (value 1: the second image), the icon and the picture.
    const QRect page(0, 0, img.width(), img.height());
    for (const QColor c : { QColor(255, 128, 0), QColor(0, 160, 0), QColor(0, 0, 200), QColor(160, 0, 160) })
        EXPECT_GT(ShareOf(img, page, c), 0.0003) << c.name().toStdString();
    // The rich text's own colour, in its cell only.
    const QImage rich = img.copy(QRect(280, 38, 50, 28));
    EXPECT_GT(ShareOf(rich, rich.rect(), QColor(200, 0, 200)), 0.01);
    // The progress bar's colour (0xC08000 is blue-green-red: rgb(0, 128, 192)).
    EXPECT_GT(ShareOf(img, page, QColor(0, 128, 192)), 0.0003);
}

// A mark-up title takes its room once: drawn below the header line, with the
// rows right under it on every page, and the counting pass leaves the same
// room (the page count matches the pages drawn).
TEST(ExGridPreview, MarkupTitleTakesItsRoomOnce)
{
    auto g = StyledGrid();
    auto* ps = g->PrintSettings();
    ps->TitleText.clear();
    ps->TitleLines()->SetText(
        QStringLiteral("<b>Plant 4</b> <font color=\"clRed\">pressure</font> loop<br>second line"));
    ps->Title = TPrintPosition::ppTopLeft;
    ps->PageNr = TPrintPosition::ppBottomRight;
    const QImage p1 = Preview(g.get(), 1);
    const int pages = g->PrintNrOfPages();
    testutil::SaveImagePng(p1, QStringLiteral("gridprint_preview_markup_title"));
    EXPECT_TRUE(testutil::MatchesGolden(p1, QStringLiteral("gridprint_preview_markup_title"), 40, 400));

    // Rows of the page: the first with a long dark run is the grid's top
    // line; the title's red ink lies above it, and close to it.
    auto darkRun = [&](int y) {
        int run = 0, best = 0;
        for (int x = 0; x < p1.width(); ++x) {
            run = qGray(p1.pixel(x, y)) < 100 ? run + 1 : 0;
            best = std::max(best, run);
        }
        return best;
    };
    int gridTop = -1;
    for (int y = 0; y < p1.height() && gridTop < 0; ++y)
        if (darkRun(y) > p1.width() / 3)
            gridTop = y;
    // (The grid's own red cell lies further right.)
    int redBottom = -1;
    for (int y = 0; y < p1.height(); ++y)
        for (int x = 0; x < 200; ++x) {
            const QColor c = p1.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 90 && c.blue() < 90)
                redBottom = y;
        }
    ASSERT_GT(gridTop, 0);
    ASSERT_GT(redBottom, 0);
    EXPECT_LT(redBottom, gridTop);
    // Under the title's last ink (left of the table) the grid follows within
    // a header gap, never the title's height again.
    int inkBottom = -1;
    for (int y = 0; y < gridTop; ++y)
        for (int x = 0; x < 120; ++x)
            if (qGray(p1.pixel(x, y)) < 100)
                inkBottom = y;
    EXPECT_GT(inkBottom, redBottom);
    EXPECT_LT(gridTop - inkBottom, 30);

    // Every counted page is drawn with rows on it, the last with the last row.
    const QImage last = Preview(g.get(), pages);
    EXPECT_NE(last, Preview(g.get(), 1));
    EXPECT_EQ(g->PrintNrOfPages(), pages);
}
