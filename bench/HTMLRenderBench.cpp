// The mark-up renderer against the plain text it shows, each pair timed in
// one run:
// - a screen of 40 x 10 cells painted with DrawHTMLText beside the same
//   visible text drawn with DrawText: short mark-up (worst 0), long distinct
//   texts without tags (worst 1), which need no mark-up pass at all, and long
//   distinct texts with a tag every few words (worst 2); within 4x;
// - measuring a 100 KB mark-up text beside a 10 KB one: the layout must not
//   grow faster than the text (within 12x);
// - measuring 400 KB of word-wrapped text without tags beside 40 KB, within
//   12x; Qt's text document laying out the same texts is the reference
//   ("doc_growth", and "vs_doc": ours over the document's at 400 KB);
// - a word-wrapped cell holding one word of 100,000 characters beside one of
//   10,000: the breaks are found in work that grows with the word, within 12x.
#include "bench/BenchPaired.h"
#include "controls/base/EsgHTMLE.h"
#include "platform/graphics/DrawText.h"
#include "platform/graphics/Graphics.h"

#include <QImage>
#include <QString>
#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace {

using benchpaired::Limit;
using benchpaired::Paired;

constexpr int Cols = 10, Rows = 40, CellW = 80, CellH = 18;
constexpr double MarkupLimit = 4;
constexpr double GrowthLimit = 12;

struct Screen {
    Screen()
        : Image(Cols * CellW, Rows * CellH, QImage::Format_RGB32)
    {
        Image.fill(0xFFFFFFFF);
        Canvas.BeginDraw(&Image);
        Canvas.Font()->SetName("Tahoma");
        Canvas.Font()->SetSize(8);
        Canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    }
    ~Screen() { Canvas.EndDraw(); }
    QImage Image;
    TCanvas Canvas;
};

QString CellMarkup(int i)
{
    return QStringLiteral("<B>%1</B> <FONT COLOR=\"clRed\">abc</FONT>").arg(i);
}
QString CellPlain(int i)
{
    return QStringLiteral("%1 abc").arg(i);
}

// A long description whose words change font and colour every few words.
QString LongMarkup(int Col, int Row)
{
    return QStringLiteral("<B>Holding register</B> %1 of <I>channel</I> %2: <FONT COLOR=\"clRed\">scaled</FONT> "
                          "process <B>value</B>, read <I>every cycle</I>")
        .arg(Row, 7, 10, QChar(u'0'))
        .arg(Col);
}

void BM_CellsMarkupVsPlainText(benchmark::State& state)
{
    const int worst = int(state.range(0));
    Screen s;
    THTMLDrawInput in;
    in.Canvas = &s.Canvas;
    // The mark-up cells and the texts they show.
    std::vector<QString> markup, plain;
    for (int i = 0; i < Cols * Rows; ++i) {
        const int col = i % Cols, row = i / Cols;
        const QString longText = benchpaired::worst::LongText(col, row);
        markup.push_back(worst == 0 ? CellMarkup(i) : worst == 1 ? longText : LongMarkup(col, row));
        plain.push_back(worst == 0 ? CellPlain(i) : worst == 1 ? longText : StripHTMLTags(markup.back()));
    }
    THTMLDrawOutput out;
    auto markupScreen = [&] {
        for (int i = 0; i < Cols * Rows; ++i) {
            in.Text = markup[size_t(i)];
            in.Rect = Bounds((i % Cols) * CellW, (i / Cols) * CellH, CellW, CellH);
            out.Anchor.clear();
            benchmark::DoNotOptimize(DrawHTMLText(in, out));
        }
    };
    auto plainScreen = [&] {
        for (int i = 0; i < Cols * Rows; ++i) {
            TRect r = Bounds((i % Cols) * CellW + 1, (i / Cols) * CellH, CellW - 1, CellH);
            benchmark::DoNotOptimize(DrawText(&s.Canvas, plain[size_t(i)], r,
                DT_SINGLELINE | DT_BOTTOM | DT_EXPANDTABS | DT_EXTERNALLEADING | DT_END_ELLIPSIS));
        }
    };
    // Painted once untimed: the bold and italic faces the mark-up asks for
    // are loaded once per process, which is no part of painting a screen.
    markupScreen();
    plainScreen();
    Paired(state, markupScreen, plainScreen);
    state.SetItemsProcessed(state.iterations() * Cols * Rows);
    Limit(state, MarkupLimit);
}

// Measures Text word-wrapped into 400 pixels, as a cell's height is found.
struct TMeasure {
    Screen S;
    THTMLDrawInput In;
    explicit TMeasure(const QString& Text)
    {
        In.Canvas = &S.Canvas;
        In.Text = Text;
        In.Rect = Rect(0, 0, 400, 100);
        In.WordWrap = true;
        In.CheckHeight = true;
    }
    int operator()()
    {
        THTMLDrawOutput out;
        DrawHTMLText(In, out);
        return out.YSize;
    }
};

QString Repeated(const QString& Unit, qsizetype Bytes)
{
    QString text;
    while (text.size() < Bytes)
        text += Unit;
    return text;
}

void BM_MeasureMarkup100VsTenKB(benchmark::State& state)
{
    const QString unit = QStringLiteral("word <B>bold</B> <A HREF=\"x\">link</A> &amp; more<BR>");
    TMeasure big(Repeated(unit, 100 * 1024)), small(Repeated(unit, 10 * 1024));
    Paired(
        state, [&] { benchmark::DoNotOptimize(big()); }, [&] { benchmark::DoNotOptimize(small()); });
    Limit(state, GrowthLimit);
}

void BM_MeasureTaglessMarkup400VsFortyKB(benchmark::State& state)
{
    // Words of distinct numbers, no tags and no breaks: one long paragraph.
    auto text = [](qsizetype Bytes) {
        QString t;
        for (int i = 0; t.size() < Bytes; ++i)
            t += QStringLiteral("value %1 of the register block, ").arg(i);
        return t;
    };
    const QString bigText = text(400 * 1024), smallText = text(40 * 1024);
    TMeasure big(bigText), small(smallText);
    const QFont font = big.S.Canvas.Font()->ToQFont();
    auto layout = [&](const QString& t) {
        QTextDocument doc;
        doc.setDefaultFont(font);
        doc.setPlainText(t);
        doc.setTextWidth(400);
        return doc.size().height();
    };
    double ours = 0, docBig = 0, docSmall = 0;
    Paired(
        state,
        [&] {
            const auto t = benchpaired::Clock::now();
            benchmark::DoNotOptimize(big());
            ours += benchpaired::Seconds(benchpaired::Clock::now() - t);
        },
        [&] { benchmark::DoNotOptimize(small()); },
        [&] {
            const auto t0 = benchpaired::Clock::now();
            benchmark::DoNotOptimize(layout(bigText));
            const auto t1 = benchpaired::Clock::now();
            benchmark::DoNotOptimize(layout(smallText));
            docBig += benchpaired::Seconds(t1 - t0);
            docSmall += benchpaired::Seconds(benchpaired::Clock::now() - t1);
        });
    state.counters["doc_growth"] = docBig / docSmall;
    state.counters["vs_doc"] = ours / docBig;
    Limit(state, GrowthLimit);
}

void BM_WrapLongWord100VsTenThousand(benchmark::State& state)
{
    Screen s;
    const QString big(100000, QLatin1Char('x')), small(10000, QLatin1Char('x'));
    auto measure = [&](const QString& Word) {
        TRect r = Rect(0, 0, CellW, CellH);
        return DrawText(&s.Canvas, Word, r, DT_WORDBREAK | DT_EDITCONTROL | DT_CALCRECT);
    };
    Paired(
        state, [&] { benchmark::DoNotOptimize(measure(big)); }, [&] { benchmark::DoNotOptimize(measure(small)); });
    Limit(state, GrowthLimit);
}

} // namespace

BENCHMARK(BM_CellsMarkupVsPlainText)->Apply(benchpaired::BestAndWorst)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeasureMarkup100VsTenKB)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeasureTaglessMarkup400VsFortyKB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WrapLongWord100VsTenThousand)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
