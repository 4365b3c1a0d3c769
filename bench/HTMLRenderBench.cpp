// The mark-up renderer against the plain text it shows. Two ratios are read
// from one run:
// - a screen of 40 x 10 cells of short mark-up painted with DrawHTMLText,
//   against the same visible text drawn with DrawText (BM_CellsMarkup /
//   BM_CellsPlainText);
// - measuring a 100 KB mark-up text against a 10 KB one (BM_MeasureMarkup/100
//   against BM_MeasureMarkup/10): the layout must not grow faster than the text;
// - the same for 400 KB of words without a tag against 100 KB
//   (BM_MeasureUntagged/400 against BM_MeasureUntagged/100);
// - a word-wrapped cell holding one word of 100,000 characters against one of
//   50,000 (BM_WrapLongWord/100 against BM_WrapLongWord/50): about twice the
//   time, not four times.
#include "controls/base/EsgHTMLE.h"
#include "platform/graphics/DrawText.h"
#include "platform/graphics/Graphics.h"

#include <QImage>
#include <QString>
#include <benchmark/benchmark.h>

namespace {

constexpr int Cols = 10, Rows = 40, CellW = 80, CellH = 18;

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

QString CellMarkup(int i) { return QStringLiteral("<B>%1</B> <FONT COLOR=\"clRed\">abc</FONT>").arg(i); }
QString CellPlain(int i) { return QStringLiteral("%1 abc").arg(i); }

void BM_CellsMarkup(benchmark::State& state)
{
    Screen s;
    THTMLDrawInput in;
    in.Canvas = &s.Canvas;
    std::vector<QString> texts;
    for (int i = 0; i < Cols * Rows; ++i)
        texts.push_back(CellMarkup(i));
    THTMLDrawOutput out;
    for (auto _ : state) {
        for (int i = 0; i < Cols * Rows; ++i) {
            in.Text = texts[size_t(i)];
            in.Rect = Bounds((i % Cols) * CellW, (i / Cols) * CellH, CellW, CellH);
            out.Anchor.clear();
            benchmark::DoNotOptimize(DrawHTMLText(in, out));
        }
    }
    state.SetItemsProcessed(state.iterations() * Cols * Rows);
}

void BM_CellsPlainText(benchmark::State& state)
{
    Screen s;
    std::vector<QString> texts;
    for (int i = 0; i < Cols * Rows; ++i)
        texts.push_back(CellPlain(i));
    for (auto _ : state) {
        for (int i = 0; i < Cols * Rows; ++i) {
            TRect r = Bounds((i % Cols) * CellW + 1, (i / Cols) * CellH, CellW - 1, CellH);
            benchmark::DoNotOptimize(DrawText(&s.Canvas, texts[size_t(i)], r,
                DT_SINGLELINE | DT_BOTTOM | DT_EXPANDTABS | DT_EXTERNALLEADING | DT_END_ELLIPSIS));
        }
    }
    state.SetItemsProcessed(state.iterations() * Cols * Rows);
}

// Measures word-wrapped text made of `unit` repeated to range(0) KB.
void MeasureRepeated(benchmark::State& state, const QString& unit)
{
    Screen s;
    QString text;
    while (text.size() < state.range(0) * 1024)
        text += unit;
    THTMLDrawInput in;
    in.Canvas = &s.Canvas;
    in.Text = text;
    in.Rect = Rect(0, 0, 400, 100);
    in.WordWrap = true;
    in.CheckHeight = true;
    for (auto _ : state) {
        THTMLDrawOutput out;
        DrawHTMLText(in, out);
        benchmark::DoNotOptimize(out.YSize);
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_MeasureMarkup(benchmark::State& state)
{
    MeasureRepeated(state, QStringLiteral("word <B>bold</B> <A HREF=\"x\">link</A> &amp; more<BR>"));
}

void BM_MeasureUntagged(benchmark::State& state)
{
    MeasureRepeated(state, QStringLiteral("plain words without any tag "));
}

void BM_WrapLongWord(benchmark::State& state)
{
    Screen s;
    const QString word(int(state.range(0) * 1000), QLatin1Char('x'));
    for (auto _ : state) {
        TRect r = Rect(0, 0, CellW, CellH);
        benchmark::DoNotOptimize(DrawText(&s.Canvas, word, r, DT_WORDBREAK | DT_EDITCONTROL | DT_CALCRECT));
    }
    state.SetBytesProcessed(state.iterations() * word.size());
}

} // namespace

BENCHMARK(BM_CellsMarkup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CellsPlainText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeasureMarkup)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeasureUntagged)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WrapLongWord)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);
