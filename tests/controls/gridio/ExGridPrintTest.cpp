#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <climits>
#include <memory>
#include <vector>

#include "common/TestUtil.h"
#include "controls/base/BaseGrid.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/gridio/ExGridPrint.h"
#include "platform/controls/Printers.h"
#include "platform/graphics/Bitmaps.h"

namespace {

// Fixed text metrics so the page arithmetic does not depend on the fonts
// installed: a glyph is half the font height wide, a line the height high.
class TRecordingCanvas : public TMetricCanvas {
public:
    TRecordingCanvas()
        : TMetricCanvas(nullptr)
    {
        FDpiX = FDpiY = 254;
    }
    struct TText {
        int X, Y;
        QString Text;
    };
    struct TLine {
        int X1, Y1, X2, Y2;
    };
    void SelectFont(const TFont&, int LogicalHeight, int) override { FH = std::abs(LogicalHeight); }
    int TextWidth(const QString& t) override { return int(t.size()) * FH / 2; }
    int TextHeight(const QString&) override { return FH; }
    void TextOut(int x, int y, const QString& t) override { Texts.push_back({ x, y, t }); }
    void TextRect(const TRect&, int x, int y, const QString& t) override { Texts.push_back({ x, y, t }); }
    void Line(int x1, int y1, int x2, int y2, TColor, int, TPenStyle) override { Lines.push_back({ x1, y1, x2, y2 }); }
    void FillRect(const TRect&, TColor) override { }
    bool Contains(const QString& t) const
    {
        for (const auto& x : Texts)
            if (x.Text.contains(t))
                return true;
        return false;
    }
    bool Has(const QString& t) const
    {
        for (const auto& x : Texts)
            if (x.Text == t)
                return true;
        return false;
    }
    const TText* Find(const QString& t) const
    {
        for (const auto& x : Texts)
            if (x.Text == t)
                return &x;
        return nullptr;
    }
    std::vector<TText> Texts;
    std::vector<TLine> Lines;
    int FH = 0;
};

std::unique_ptr<TExStringGrid> MakeGrid(int cols, int rows)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(cols);
    g->SetRowCount(rows);
    g->SetFixedRows(1);
    g->SetFixedCols(0);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            g->SetCells(c, r, QStringLiteral("c%1r%2").arg(c).arg(r));
    return g;
}

// A page of 2000 x 2970 (0.1 mm) on the recording canvas (1 unit a pixel).
int Count(TExStringGrid* g, TRecordingCanvas& rc, int w = 2000, int h = 2970)
{
    TGridPageEngine::Prepare(g, { 0, 0, g->ColCount() - 1, g->RowCount() - 1 }, TRect(0, 0, w, h), 1, 1);
    return TGridPageEngine(g, rc, TPrintPass::CountPreview, false, 0).Run();
}

int Draw(TExStringGrid* g, TRecordingCanvas& rc, int page, int pages, int w = 2000, int h = 2970)
{
    TGridPageEngine::Prepare(g, { 0, 0, g->ColCount() - 1, g->RowCount() - 1 }, TRect(0, 0, w, h), page, page);
    return TGridPageEngine(g, rc, TPrintPass::Preview, false, pages).Run();
}

} // namespace

TEST(ExGridPrint, MapFontHeightAndSize)
{
    auto g = MakeGrid(1, 2);
    struct {
        int Points;
        double Scale;
        int Height;
    } cases[] = { { 8, 1.0, -28 }, { 10, 1.0, -35 }, { 12, 1.0, -42 }, { 10, 0.5, -17 }, { 72, 1.0, -254 } };
    for (const auto& c : cases) {
        g->Fontscalefactor = c.Scale;
        EXPECT_EQ(g->MapFontHeight(c.Points), c.Height) << c.Points << " pt x " << c.Scale;
    }
    g->Fontscalefactor = 1.0;
    EXPECT_EQ(TExStringGrid::MapFontSize(254), 72);
    EXPECT_EQ(TExStringGrid::MapFontSize(35), 9);
    EXPECT_EQ(TExStringGrid::MapFontSize(-35), -9);
}

TEST(ExGridPrint, UnitsMarginAndGapFromTheCellFont)
{
    auto g = MakeGrid(3, 4);
    g->PrintSettings()->Font()->SetSize(8); // 28 high: U 3, M 7
    g->PrintSettings()->ColumnSpacing = 5;
    TRecordingCanvas rc;
    TGridPageEngine::Prepare(g.get(), { 0, 0, 2, 3 }, TRect(0, 0, 2000, 2970), 1, 1);
    TGridPageEngine e(g.get(), rc, TPrintPass::CountPreview, false, 0);
    EXPECT_EQ(e.Run(), 1);
    EXPECT_EQ(e.SpacingUnit(), 3);
    EXPECT_EQ(e.TextMargin(), 7);
    EXPECT_EQ(e.ColumnGap(), 25);
    // "c0r0": 4 glyphs of 14.
    EXPECT_EQ(e.MaxWidths()[0], 56);
    g->PrintSettings()->UseFixedWidth = true;
    g->PrintSettings()->FixedWidth = 300;
    TGridPageEngine f(g.get(), rc, TPrintPass::CountPreview, false, 0);
    f.Run();
    EXPECT_EQ(f.ColumnGap(), 0);
    EXPECT_EQ(f.MaxWidths()[1], 300);
}

TEST(ExGridPrint, RowsBreakIntoPagesAndTheLastPageHoldsTheLastRow)
{
    // Row height 28 + 3 = 31, row step 2 x 3 + 31 = 37; footer U + Hf.
    auto g = MakeGrid(3, 200);
    g->PrintSettings()->Font()->SetSize(8);
    g->PrintSettings()->FooterFont()->SetSize(8);
    g->PrintSettings()->HeaderFont()->SetSize(8);
    g->PrintSettings()->PageNr = TPrintPosition::ppBottomRight;
    TRecordingCanvas rc;
    const int n = Count(g.get(), rc);
    EXPECT_GT(n, 1);
    TRecordingCanvas last;
    Draw(g.get(), last, n, n);
    EXPECT_TRUE(last.Has(QStringLiteral("c2r199")));
    EXPECT_FALSE(last.Has(QStringLiteral("c2r0")));
    // The footer slot: " " + prefix + " " + "n/N" + " " + suffix.
    EXPECT_TRUE(last.Has(QStringLiteral("  %1/%1 ").arg(n)));
    // Every row prints exactly once over the pages.
    int rows = 0;
    for (int p = 1; p <= n; ++p) {
        TRecordingCanvas pc;
        Draw(g.get(), pc, p, n);
        for (const auto& t : pc.Texts)
            rows += t.Text.startsWith(QLatin1String("c0r")) ? 1 : 0;
    }
    EXPECT_EQ(rows, 200);
}

TEST(ExGridPrint, PageNumberTexts)
{
    auto g = MakeGrid(1, 2);
    auto* ps = g->PrintSettings();
    struct {
        QString Sep;
        int Count;
        int Offset, MaxOffset;
        QString Expect;
    } cases[] = { { QStringLiteral("/"), 5, 0, 0, QStringLiteral("1/5") },
        { QStringLiteral("/"), 1, 0, 0, QStringLiteral("1") }, { QString(), 5, 0, 0, QStringLiteral("1") },
        { QStringLiteral(" of "), 5, 10, 20, QStringLiteral("11 of 25") } };
    for (const auto& c : cases) {
        ps->PageNumSep = c.Sep;
        ps->PageNumberOffset = c.Offset;
        ps->MaxPagesOffset = c.MaxOffset;
        TRecordingCanvas rc;
        TGridPageEngine::Prepare(g.get(), { 0, 0, 0, 1 }, TRect(0, 0, 2000, 2970), 1, 1);
        TGridPageEngine e(g.get(), rc, TPrintPass::Preview, false, c.Count);
        EXPECT_EQ(e.PageNumberText(), c.Expect);
    }
}

TEST(ExGridPrint, SlotTextsJoinWithBlanks)
{
    auto g = MakeGrid(1, 2);
    auto* ps = g->PrintSettings();
    ps->Time = TPrintPosition::ppTopLeft;
    TRecordingCanvas rc;
    TGridPageEngine::Prepare(g.get(), { 0, 0, 0, 1 }, TRect(0, 0, 2000, 2970), 1, 1);
    TGridPageEngine e(g.get(), rc, TPrintPass::Preview, false, 1);
    auto s = e.SlotTexts();
    ASSERT_EQ(s[0].size(), 6);
    EXPECT_EQ(s[0][2], QLatin1Char(':'));
    EXPECT_EQ(s[0][5], QLatin1Char(' '));
    ps->Time = TPrintPosition::ppNone;
    ps->TitleText = QStringLiteral("Title");
    ps->Title = TPrintPosition::ppTopCenter;
    ps->PageNr = TPrintPosition::ppTopCenter;
    ps->PagePrefix = QStringLiteral("Page");
    s = e.SlotTexts();
    EXPECT_EQ(s[2], QStringLiteral(" Page 1  Title"));
}

TEST(ExGridPrint, WideGridPrintsInStripsNumberedPageDashStrip)
{
    auto g = MakeGrid(12, 120);
    g->SetFixedCols(1);
    auto* ps = g->PrintSettings();
    ps->Font()->SetSize(8);
    ps->RepeatFixedCols = true;
    ps->PageNr = TPrintPosition::ppBottomLeft;
    for (int r = 0; r < 120; ++r)
        g->SetCells(5, r, QString(40, QLatin1Char('w')));
    TRecordingCanvas rc;
    const int n = Count(g.get(), rc, 700, 2970);
    ASSERT_GE(n, 4);
    TRecordingCanvas p1, p2, p3;
    Draw(g.get(), p1, 1, n, 700, 2970);
    Draw(g.get(), p2, 2, n, 700, 2970);
    // Bottom-left slot: item + " " + slot, the item " " + number + " ".
    EXPECT_TRUE(p1.Has(QStringLiteral(" 1-1  ")));
    EXPECT_TRUE(p2.Has(QStringLiteral(" 2-1  ")));
    // The second strip starts its numbering again.
    bool strip2 = false;
    for (int p = 3; p <= n && !strip2; ++p) {
        TRecordingCanvas pc;
        Draw(g.get(), pc, p, n, 700, 2970);
        strip2 = pc.Has(QStringLiteral(" 1-2  "));
    }
    EXPECT_TRUE(strip2);
    // The 40-glyph column (560 + gap) is alone on its strip, with the fixed column repeated.
    int stripOf5 = 0;
    for (int p = 1; p <= n && !stripOf5; ++p) {
        TRecordingCanvas pc;
        Draw(g.get(), pc, p, n, 700, 2970);
        if (pc.Find(QString(40, QLatin1Char('w')))) {
            stripOf5 = p;
            EXPECT_TRUE(pc.Has(QStringLiteral("c0r1")));
            EXPECT_FALSE(pc.Has(QStringLiteral("c4r1")));
            EXPECT_FALSE(pc.Has(QStringLiteral("c6r1")));
        }
    }
    EXPECT_GT(stripOf5, 0);
}

TEST(ExGridPrint, FitFactorFollowsTheFitMode)
{
    auto g = MakeGrid(2, 2);
    auto* ps = g->PrintSettings();
    ps->Font()->SetSize(8);
    ps->UseFixedWidth = true; // no gap: T = 2 x width
    struct {
        TFitToPage Mode;
        int Width;
        double Expect;
    } cases[] = {
        { TFitToPage::fpShrink, 2000, 0.5 },
        { TFitToPage::fpShrink, 500, 1.0 },
        { TFitToPage::fpGrow, 500, 2.0 },
        { TFitToPage::fpGrow, 2000, 1.0 },
        { TFitToPage::fpAlways, 2000, 0.5 },
        { TFitToPage::fpAlways, 500, 2.0 },
        { TFitToPage::fpNever, 2000, 1.0 },
    };
    for (const auto& c : cases) {
        ps->FitToPage = c.Mode;
        ps->FixedWidth = c.Width;
        TRecordingCanvas rc;
        TGridPageEngine::Prepare(g.get(), { 0, 0, 1, 1 }, TRect(0, 0, 2000, 2970), 1, 1);
        TGridPageEngine e(g.get(), rc, TPrintPass::CountPreview, false, 0);
        e.Run();
        EXPECT_DOUBLE_EQ(e.FitFactor(), c.Expect) << int(c.Mode) << " " << c.Width;
        EXPECT_EQ(e.MaxWidths()[0], int(c.Width * c.Expect));
    }
    ps->FitToPage = TFitToPage::fpCustom;
    ps->FixedWidth = 2000;
    bool asked = false;
    g->OnFitToPage = [&](TObject*, double& f, bool& allow) {
        asked = true;
        EXPECT_DOUBLE_EQ(f, 0.5);
        allow = false;
    };
    TRecordingCanvas rc;
    TGridPageEngine e(g.get(), rc, TPrintPass::CountPreview, false, 0);
    e.Run();
    EXPECT_TRUE(asked);
    EXPECT_DOUBLE_EQ(e.FitFactor(), 1.0);
    // Margins leaving no room keep the measured widths.
    ps->FitToPage = TFitToPage::fpAlways;
    ps->LeftSize = 1500;
    ps->RightSize = 1500;
    TGridPageEngine m(g.get(), rc, TPrintPass::CountPreview, false, 0);
    m.Run();
    EXPECT_DOUBLE_EQ(m.FitFactor(), 1.0);
    EXPECT_EQ(m.MaxWidths()[0], 2000);
}

TEST(ExGridPrint, CenteredIgnoresLeftSize)
{
    auto g = MakeGrid(2, 2);
    auto* ps = g->PrintSettings();
    ps->UseFixedWidth = true;
    ps->FixedWidth = 400;
    ps->LeftSize = 100;
    TRecordingCanvas rc;
    TGridPageEngine::Prepare(g.get(), { 0, 0, 1, 1 }, TRect(0, 0, 2000, 2970), 1, 1);
    TGridPageEngine a(g.get(), rc, TPrintPass::CountPreview, false, 0);
    a.Run();
    EXPECT_EQ(a.Indents()[0], 600); // (2000 - 800) / 2
    ps->Centered = false;
    TGridPageEngine b(g.get(), rc, TPrintPass::CountPreview, false, 0);
    b.Run();
    EXPECT_EQ(b.Indents()[0], 100);
    EXPECT_EQ(b.Indents()[1], 500);
}

TEST(ExGridPrint, TallRowPrintsAloneAndPrintingEnds)
{
    auto g = MakeGrid(1, 3);
    g->SetMultilinecells(true);
    g->SetCells(0, 1, QString(QStringLiteral("x\n")).repeated(200));
    TRecordingCanvas rc;
    const int n = Count(g.get(), rc, 2000, 1000);
    EXPECT_EQ(n, 3);
}

TEST(ExGridPrint, RepeatFixedRowsOncePerPage)
{
    auto g = MakeGrid(2, 150);
    g->PrintSettings()->RepeatFixedRows = true;
    TRecordingCanvas rc;
    const int n = Count(g.get(), rc);
    ASSERT_GE(n, 2);
    for (int p = 1; p <= 2; ++p) {
        TRecordingCanvas pc;
        Draw(g.get(), pc, p, n);
        int headers = 0;
        for (const auto& t : pc.Texts)
            headers += t.Text == QStringLiteral("c0r0") ? 1 : 0;
        EXPECT_EQ(headers, 1) << "page " << p;
    }
}

TEST(ExGridPrint, PrintsToPdfReadBackByAReader)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        GTEST_SKIP() << "poppler-utils missing";
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("grid.pdf"));
    SetPrinter(std::make_unique<TPdfFilePrinter>(file, 300));
    auto g = MakeGrid(4, 300);
    g->PrintSettings()->PageNr = TPrintPosition::ppBottomRight;
    for (TFont* f : { g->PrintSettings()->Font(), g->PrintSettings()->FixedFont(), g->PrintSettings()->FooterFont() })
        f->SetName(QStringLiteral("DejaVu Sans"));
    g->Print();
    const int n = g->PrintNrOfPages();
    SetPrinter(nullptr);
    ASSERT_GT(n, 1);
    auto run = [](const QStringList& args) {
        QProcess p;
        p.start(args[0], args.mid(1));
        p.waitForFinished();
        return QString::fromUtf8(p.readAllStandardOutput());
    };
    const QString info = run({ QStringLiteral("pdfinfo"), file });
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(n)))) << info.toStdString();
    const QString last = run({ QStringLiteral("pdftotext"), QStringLiteral("-f"), QString::number(n),
        QStringLiteral("-l"), QString::number(n), QStringLiteral("-layout"), file, QStringLiteral("-") });
    EXPECT_TRUE(last.contains(QStringLiteral("c3r299"))) << last.toStdString();
    EXPECT_TRUE(last.contains(QStringLiteral("%1/%1").arg(n))) << last.toStdString();
    const QString first = run({ QStringLiteral("pdftotext"), QStringLiteral("-f"), QStringLiteral("1"),
        QStringLiteral("-l"), QStringLiteral("1"), file, QStringLiteral("-") });
    EXPECT_TRUE(first.contains(QStringLiteral("c0r0")));
    EXPECT_FALSE(first.contains(QStringLiteral("c3r299")));
    // Page 1 as the reader renders it.
    const QString stem = dir.filePath(QStringLiteral("page"));
    run({ QStringLiteral("pdftoppm"), QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"),
        QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
        QStringLiteral("-singlefile"), file, stem });
    const QImage page(stem + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());
    testutil::SaveImagePng(page, QStringLiteral("gridprint_pdf_p1"));
    EXPECT_TRUE(testutil::MatchesGolden(
        page.convertToFormat(QImage::Format_RGB32), QStringLiteral("gridprint_pdf_p1"), 40, 300));
}

namespace {
QString RunTool(const QStringList& args)
{
    QProcess p;
    p.start(args[0], args.mid(1));
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

int PdfPages(const QString& file)
{
    const QString info = RunTool({ QStringLiteral("pdfinfo"), file });
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}
} // namespace

TEST(ExGridPrint, PrintStartNarrowsOrStopsThePrint)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        GTEST_SKIP() << "poppler-utils missing";
    QTemporaryDir dir;
    auto g = MakeGrid(3, 300);
    struct {
        int From, To;
        int Pages; // 0: no file written
    } cases[] = { { 2, 3, 2 }, { 0, 3, 0 }, { 3, 2, 0 }, { 5, 0, 0 } };
    int i = 0;
    for (const auto& c : cases) {
        const QString file = dir.filePath(QStringLiteral("p%1.pdf").arg(i++));
        SetPrinter(std::make_unique<TPdfFilePrinter>(file, 150));
        int told = 0;
        g->OnPrintStart = [&](TObject*, int n, int& from, int& to) {
            told = n;
            from = c.From;
            to = c.To;
        };
        g->Print();
        SetPrinter(nullptr);
        EXPECT_GT(told, 3);
        if (c.Pages == 0) {
            EXPECT_FALSE(QFile::exists(file)) << c.From << ".." << c.To;
        } else {
            EXPECT_EQ(PdfPages(file), c.Pages);
            const QString p1 = RunTool({ QStringLiteral("pdftotext"), QStringLiteral("-f"), QStringLiteral("1"),
                QStringLiteral("-l"), QStringLiteral("1"), file, QStringLiteral("-") });
            EXPECT_FALSE(p1.contains(QStringLiteral("c0r1\n"))) << "page 1 was skipped";
        }
    }
}

TEST(ExGridPrint, CancelAfterAPageAndForcedPageBreaks)
{
    auto g = MakeGrid(2, 200);
    TRecordingCanvas rc;
    const int n = Count(g.get(), rc);
    ASSERT_GE(n, 3);
    std::vector<int> done;
    g->OnPrintPageDone = [&](TObject*, TCanvas*, int, int, int page, int, int) { done.push_back(page); };
    g->OnPrintCancel = [&](TObject*, int page, bool& cancel) { cancel = page == 2; };
    TGridPageEngine::Prepare(g.get(), { 0, 0, 1, 199 }, TRect(0, 0, 2000, 2970), 1, n);
    TRecordingCanvas all;
    TGridPageEngine(g.get(), all, TPrintPass::Preview, false, n).Run();
    EXPECT_EQ(done, (std::vector<int> { 1, 2 }));
    g->OnPrintPageDone = nullptr;
    g->OnPrintCancel = nullptr;

    // A break before every tenth row.
    g->OnPrintNewPage = [](TObject*, int row, bool& newPage) { newPage = row % 10 == 0; };
    EXPECT_EQ(Count(g.get(), rc), 20);
}

TEST(ExGridPrint, SelectedRowsAndColumnsWithFixedCells)
{
    auto g = MakeGrid(4, 30);
    g->SetFixedCols(1);
    g->SetSelection({ 2, 5, 3, 7 });
    for (bool always : { false, true }) {
        g->PrintSettings()->FixedCellsAlways = always;
        TRecordingCanvas rc;
        TGridPageEngine::Prepare(g.get(), { 0, 0, 3, 29 }, TRect(0, 0, 2000, 2970), 1, 1);
        TGridPageEngine(g.get(), rc, TPrintPass::Preview, true, 1).Run();
        EXPECT_TRUE(rc.Has(QStringLiteral("c2r5")));
        EXPECT_TRUE(rc.Has(QStringLiteral("c3r7")));
        EXPECT_FALSE(rc.Has(QStringLiteral("c1r5")));
        EXPECT_FALSE(rc.Has(QStringLiteral("c2r8")));
        EXPECT_EQ(rc.Has(QStringLiteral("c2r0")), always);
        EXPECT_EQ(rc.Has(QStringLiteral("c0r5")), always);
    }
}

TEST(ExGridPrint, SixHundredColumnsAndFastPrint)
{
    auto g = MakeGrid(600, 3);
    TRecordingCanvas rc;
    const int n = Count(g.get(), rc);
    EXPECT_GT(n, 1);
    TGridPageEngine::Prepare(g.get(), { 0, 0, 599, 2 }, TRect(0, 0, 2000, 2970), n, n);
    TRecordingCanvas last;
    TGridPageEngine e(g.get(), last, TPrintPass::Preview, false, n);
    e.Run();
    EXPECT_TRUE(last.Has(QStringLiteral("c599r2")));
    EXPECT_GT(e.Indents()[600], e.Indents()[599]);

    // Without a count the page number stands alone.
    auto f = MakeGrid(2, 200);
    f->FastPrint = true;
    f->PrintSettings()->PageNr = TPrintPosition::ppBottomCenter;
    TRecordingCanvas p2;
    Draw(f.get(), p2, 2, INT_MAX);
    EXPECT_TRUE(p2.Has(QStringLiteral("  2 ")));
}

TEST(ExGridPrint, MergedCellsPrintOneBox)
{
    auto g = MakeGrid(3, 4);
    g->PrintSettings()->UseFixedWidth = true;
    g->PrintSettings()->FixedWidth = 300;
    g->PrintSettings()->Centered = false;
    g->MergeCells(0, 1, 2, 1);
    TRecordingCanvas rc;
    Draw(g.get(), rc, 1, 1);
    // No vertical line at x = 300 (between the merged columns) below row 0.
    const auto* t = rc.Find(QStringLiteral("c0r1"));
    ASSERT_NE(t, nullptr);
    EXPECT_FALSE(rc.Has(QStringLiteral("c1r1")));
    const int rowTop = t->Y + 3; // text top is the row top less U
    for (const auto& l : rc.Lines)
        if (l.X1 == l.X2 && l.Y1 == rowTop)
            EXPECT_TRUE(l.X1 < 290 || l.X1 > 310 || l.X1 == 600) << l.X1;
    bool spans = false;
    for (const auto& l : rc.Lines)
        spans |= l.Y1 == rowTop && l.Y2 == rowTop && l.X1 == 0 && l.X2 == 600;
    EXPECT_TRUE(spans);
}

TEST(ExGridPrint, NoPrinterGivesAClearError)
{
    SetPrinter(std::make_unique<TPrinter>());
    auto g = MakeGrid(2, 3);
    if (!Printer()->Device()->printerName().isEmpty())
        GTEST_SKIP() << "a printer is installed";
    try {
        g->Print();
        FAIL() << "no error";
    } catch (const EPrinter& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("printer"))) << e.Message().toStdString();
    }
    SetPrinter(nullptr);
}

TEST(ExGridPrint, CheckBoxesGraphicsAndCellText)
{
    auto g = MakeGrid(2, 4);
    auto* ps = g->PrintSettings();
    ps->UseFixedWidth = true;
    ps->FixedWidth = 500;
    ps->Centered = false;
    ps->PrintGraphics = true;
    // The graphics go to the page as pictures.
    struct TImageCanvas : TRecordingCanvas {
        int Images = 0;
        std::vector<std::pair<TRect, QImage>> Drawn;
        void StretchDraw(const TRect& r, const QImage& i) override
        {
            ++Images;
            Drawn.emplace_back(r, i);
        }
    };
    // A right-aligned data check box: no text, its box at the column's right
    // edge, as the screen paints it (ticked).
    g->AddCheckBox(1, 1, true, true);
    g->GetCellProperties(1, 1)->SetAlignment(taRightJustify);
    TImageCanvas rc;
    Draw(g.get(), rc, 1, 1);
    EXPECT_FALSE(rc.Contains(QStringLiteral("c1r1")));
    const int right = 1000; // fixed widths have no gap
    ASSERT_EQ(rc.Drawn.size(), 1u);
    EXPECT_GT(rc.Drawn[0].first.Right, right - 10);
    EXPECT_LT(rc.Drawn[0].first.Left, right - 20);
    int inked = 0;
    const QImage box = rc.Drawn[0].second.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < box.height(); ++y)
        for (int x = 0; x < box.width(); ++x)
            inked += qAlpha(box.pixel(x, y)) > 0 && qGray(box.pixel(x, y)) < 200;
    EXPECT_GT(inked, 10);

    // Graphics off: a bitmap cell prints only its text.
    TBitmap bmp(16, 16);
    g->AddBitmap(0, 2, &bmp, false, haLeft, vaTop);
    TImageCanvas on, off;
    Draw(g.get(), on, 1, 1);
    EXPECT_EQ(on.Images, 2);
    // The text starts after the picture (16 px x 254 / 96 = 42).
    EXPECT_GE(on.Find(QStringLiteral("c0r2"))->X, 42);
    ps->PrintGraphics = false;
    Draw(g.get(), off, 1, 1);
    EXPECT_EQ(off.Images, 0);
    EXPECT_TRUE(off.Has(QStringLiteral("c0r2")));
    EXPECT_LT(off.Find(QStringLiteral("c0r2"))->X, 42);
}

TEST(ExGridPrint, ThreeLineCellCentredInATallRow)
{
    auto g = MakeGrid(2, 3);
    g->SetMultilinecells(true);
    auto* ps = g->PrintSettings();
    ps->Font()->SetSize(8); // gh 28, line 28 + 3 = 31
    g->SetCells(0, 1, QStringLiteral("a\nb\nc"));
    g->OnGetAlignment = [](TObject*, int row, int col, TAlignment&, TVAlignment& va) {
        if (row == 1 && col == 0)
            va = TVAlignment::vtaCenter;
    };
    ps->UseFixedHeight = true;
    ps->FixedHeight = 300; // Hr = 2 x 3 + 300
    TRecordingCanvas rc;
    Draw(g.get(), rc, 1, 1);
    const auto* a = rc.Find(QStringLiteral("a"));
    const auto* c = rc.Find(QStringLiteral("c"));
    ASSERT_TRUE(a && c);
    const auto* other = rc.Find(QStringLiteral("c1r1"));
    ASSERT_TRUE(other);
    const int rowTop = other->Y + 3;
    // Offset (Hr - 31 x 3) / 2 = (306 - 93) / 2 = 106.
    EXPECT_EQ(rowTop - a->Y, 106);
    EXPECT_EQ(a->Y - c->Y, 62);
}

TEST(ExGridPrint, MergedAreaIntoTheFooterIsCutWithoutItsBottomLine)
{
    auto g = MakeGrid(2, 40);
    g->PrintSettings()->Font()->SetSize(8); // row step 37
    g->MergeCells(0, 20, 1, 10);
    TRecordingCanvas rc;
    // A page that ends a few rows below the merged area's top.
    Draw(g.get(), rc, 1, 1, 2000, 22 * 37 + 20 + 28 + 3);
    const auto* t = rc.Find(QStringLiteral("c0r20"));
    ASSERT_NE(t, nullptr);
    const int top = t->Y + 3;
    for (const auto& l : rc.Lines)
        if (l.Y1 == l.Y2 && l.X1 < 50 && l.Y1 < top)
            EXPECT_GT(l.Y1, top - 37) << "a line below the cut merged cell";
}

TEST(ExGridPrint, HeaderFooterHeightsAndSizeEvents)
{
    auto g = MakeGrid(3, 5);
    auto* ps = g->PrintSettings();
    for (TFont* f : { ps->Font(), ps->HeaderFont(), ps->FooterFont() })
        f->SetSize(8); // gh 28, U 3
    ps->HeaderSize = 100;
    ps->FooterSize = 50;
    struct {
        TPrintPosition Time, PageNr;
        int Eh, Ef;
    } cases[] = {
        { TPrintPosition::ppNone, TPrintPosition::ppNone, 100, 3 + 28 + 50 },
        { TPrintPosition::ppTopLeft, TPrintPosition::ppNone, 3 + 28 + 100, 3 + 28 + 50 },
        { TPrintPosition::ppNone, TPrintPosition::ppBottomRight, 100, 6 + 56 + 50 },
    };
    for (const auto& c : cases) {
        ps->Time = c.Time;
        ps->PageNr = c.PageNr;
        TRecordingCanvas rc;
        TGridPageEngine::Prepare(g.get(), { 0, 0, 2, 4 }, TRect(0, 0, 2000, 2970), 1, 1);
        TGridPageEngine e(g.get(), rc, TPrintPass::CountPreview, false, 0);
        e.Run();
        EXPECT_EQ(e.HeaderHeight(), c.Eh);
        EXPECT_EQ(e.FooterHeight(), c.Ef);
    }
    ps->Centered = false;
    g->OnPrintSetColumnWidth = [](TObject*, int col, int& w) { w = col == 1 ? 777 : w; };
    g->OnPrintSetRowHeight = [](TObject*, int, int& h) { h = 600; };
    TRecordingCanvas rc;
    TGridPageEngine::Prepare(g.get(), { 0, 0, 2, 4 }, TRect(0, 0, 2000, 2970), 1, 1);
    TGridPageEngine e(g.get(), rc, TPrintPass::Preview, false, 1);
    const int pages = e.Run();
    EXPECT_EQ(e.Indents()[2] - e.Indents()[1], 777 + 20);
    // Rows of 2 x 3 + 600 between a header of 100 and a footer of 81: four a page.
    EXPECT_EQ(pages, 2);
}

TEST(ExGridPrint, WordWrapWithScreenWidthsBreaksAtBlanks)
{
    auto g = MakeGrid(2, 3);
    g->SetColWidths(0, 40); // 40 x 254 / 96 = 106
    g->SetCells(0, 1, QStringLiteral("aaa bbb ccc ddd"));
    g->OnGetWordWrap = [](TObject*, int col, int row, bool& ww) { ww = col == 0 && row == 1; };
    auto* ps = g->PrintSettings();
    ps->Font()->SetSize(8); // 14 a glyph: "aaa bbb" is 98
    ps->NoAutoSize = true;
    TRecordingCanvas rc;
    TGridPageEngine::Prepare(g.get(), { 0, 0, 1, 2 }, TRect(0, 0, 2000, 2970), 1, 1);
    TGridPageEngine e(g.get(), rc, TPrintPass::Preview, false, 1);
    e.Run();
    EXPECT_EQ(e.MaxWidths()[0], 106);
    EXPECT_EQ(e.RowPrintHeight(1), 56 + 7);
    const auto* a = rc.Find(QStringLiteral("aaa bbb"));
    const auto* b = rc.Find(QStringLiteral("ccc ddd"));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->X, b->X);
    EXPECT_GT(a->Y, b->Y);
    // Without the screen widths the cell is measured on one line.
    ps->NoAutoSize = false;
    TRecordingCanvas one;
    TGridPageEngine f(g.get(), one, TPrintPass::Preview, false, 1);
    f.Run();
    EXPECT_TRUE(one.Has(QStringLiteral("aaa bbb ccc ddd")));
}

TEST(ExGridPrint, PreviewFiresPageEventsWhileMarkedAsPreview)
{
    auto g = MakeGrid(2, 200);
    std::vector<int> pages;
    bool marked = true;
    g->OnPrintPage = [&](TObject*, TCanvas* c, int page, int w, int b) {
        pages.push_back(page);
        marked = marked && g->IsPrintPreview() && c != nullptr && w > 0 && b < 0;
    };
    QImage img(400, 560, QImage::Format_RGB32);
    TCanvas c;
    c.BeginDraw(&img);
    g->SetPreviewPage(2);
    g->PrintPreview(&c, TRect(0, 0, 400, 560));
    c.EndDraw();
    EXPECT_EQ(pages, (std::vector<int> { 2 }));
    EXPECT_TRUE(marked);
    EXPECT_FALSE(g->IsPrintPreview());
    EXPECT_GT(g->PrintNrOfPages(), 2);
}

// Columns print by their shown order and read their cells by real column: a
// hidden column prints nothing, and the columns after it print their own
// texts, looks and graphics.
TEST(ExGridPrint, HiddenColumnsPrintTheShownCells)
{
    auto g = MakeGrid(4, 3);
    g->GetCellProperties(2, 1)->SetAlignment(taRightJustify);
    g->HideColumn(1);
    ASSERT_EQ(g->ColCount(), 3);
    TRecordingCanvas rc;
    Draw(g.get(), rc, 1, 1);
    EXPECT_FALSE(rc.Contains(QStringLiteral("c1r")));
    for (const char* t : { "c0r1", "c2r1", "c3r1", "c2r2" })
        EXPECT_TRUE(rc.Has(QString::fromLatin1(t))) << t;
    // c2r1 is right-aligned in the second shown column: it ends at that
    // column's right edge, c2r2 starts at its left.
    const auto* right = rc.Find(QStringLiteral("c2r1"));
    const auto* left = rc.Find(QStringLiteral("c2r2"));
    ASSERT_TRUE(right && left);
    EXPECT_GT(right->X, left->X);
    // The widths follow the shown cells: the shown column 1 is as wide as
    // real column 2's longest text, not the hidden one's.
    g->SetCells(1, 1, QStringLiteral("a hidden text far longer than any shown one"));
    TRecordingCanvas wide;
    Draw(g.get(), wide, 1, 1);
    EXPECT_EQ(wide.Find(QStringLiteral("c3r1"))->X, rc.Find(QStringLiteral("c3r1"))->X);
}

// The size hook sees each measured cell (real column, printing) and its
// answer sets the column; a link prints without its protocol unless the
// grid shows full links; with EnhTextSize and fixed sizes a long line ends
// in an ellipsis.
TEST(ExGridPrint, SizeHookLinksAndShortenedLines)
{
    auto g = MakeGrid(2, 3);
    g->SetCells(0, 1, QStringLiteral("https://example.org/x"));
    std::vector<std::pair<int, int>> seen;
    g->OnCustomCellSize = [&](TObject*, TCanvas*, int ACol, int ARow, TPoint& Size, bool Printing) {
        EXPECT_TRUE(Printing);
        seen.emplace_back(ACol, ARow);
        if (ACol == 0)
            Size.X = 900;
    };
    g->SetURLShow(true);
    TRecordingCanvas rc;
    Draw(g.get(), rc, 1, 1);
    EXPECT_FALSE(seen.empty());
    EXPECT_TRUE(rc.Has(QStringLiteral("example.org/x")));
    // Column 0 is 900 wide: column 1 starts past it.
    EXPECT_GT(rc.Find(QStringLiteral("c1r1"))->X, 900);
    g->SetURLFull(true);
    TRecordingCanvas full;
    Draw(g.get(), full, 1, 1);
    EXPECT_TRUE(full.Has(QStringLiteral("https://example.org/x")));

    g->OnCustomCellSize = nullptr;
    g->SetCells(1, 1, QStringLiteral("a line much longer than its narrow column"));
    g->SetEnhTextSize(true);
    g->SetWordWrap(false);
    auto* ps = g->PrintSettings();
    ps->NoAutoSize = true;
    ps->UseFixedWidth = true;
    ps->FixedWidth = 300;
    TRecordingCanvas cut;
    Draw(g.get(), cut, 1, 1);
    bool elided = false;
    for (const auto& t : cut.Texts)
        if (t.Text.startsWith(QStringLiteral("a line")) && t.Text.endsWith(QStringLiteral("...")))
            elided = cut.TextWidth(t.Text) <= 300;
    EXPECT_TRUE(elided);
}

// A bitmap stretched onto the page: copied, or combined with what is there
// by the raster operation (exclusive or: white under red gives cyan).
TEST(ExGridPrint, StretchBitmapToRectCopiesOrCombines)
{
    TBitmap bmp(2, 2);
    bmp.Canvas()->Brush()->SetColor(clRed);
    bmp.Canvas()->FillRect(TRect(0, 0, 2, 2));
    struct Case {
        TCopyMode Op;
        QColor Expected;
    } cases[] = { { cmSrcCopy, QColor(255, 0, 0) }, { cmSrcInvert, QColor(0, 255, 255) } };
    for (const Case& c : cases) {
        QImage img(200, 200, QImage::Format_RGB32);
        img.setDotsPerMeterX(3780);
        img.setDotsPerMeterY(3780);
        img.fill(Qt::white);
        TCanvas cv;
        ASSERT_TRUE(cv.BeginDraw(&img));
        TMetricCanvas mc(&cv);
        // One inch square: 96 pixels at 96 dpi.
        StretchBitmapToRect(mc, TRect(0, 0, 254, -254), &bmp, c.Op);
        cv.EndDraw();
        EXPECT_EQ(img.pixelColor(48, 48), c.Expected) << std::hex << c.Op;
        EXPECT_EQ(img.pixelColor(150, 150), QColor(Qt::white));
    }
}
