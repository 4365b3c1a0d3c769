// A table form loading and saving its file: 2,000 rows (the largest table)
// of twelve attributes, three of them check boxes, taken from a parsed
// document into the grid and written from the grid into a new document.
// Beside it in the same iteration, the bare loop: the same document walked
// into a vector of texts, and the texts written back into a new document
// ("ratio", ours over it). Worst case: a long, distinct mnemonic in every row
// and a hidden column in the grid. Above 2 times the bare loop the run fails.
#include "BenchPaired.h"
#include "app/core/UComon.h"
#include "app/tables/UHARTVariables.h"
#include "app/tables/UTable_Frame.h"
#include "controls/grid/ExGrid.h"
#include "platform/runtime/XmlDom.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr double Limit = 2.0;
constexpr int Rows = 2000;

// The HART variables columns on a 2,000-row grid, with a hidden column
// beyond them in the worst case.
class TBench_Table : public TTable_Frame {
public:
    explicit TBench_Table(bool hidden)
        : TTable_Frame(nullptr, QStringLiteral("FBench_Table"), 1150, 1200, 1248)
    {
        TTable_Def t;
        t.Grid = Create_Table_Grid("ESG");
        t.Element = QStringLiteral("HART_Variables");
        t.Columns = HART_Variables_Columns();
        TExStringGrid* g = t.Grid;
        g->SetColCount(hidden ? 14 : 13);
        g->SetRowCount(Rows + 1);
        for (int r = 1; r <= Rows; ++r)
            for (int c : { HART_Var_Col_Enable, HART_Var_Col_Swap, HART_Var_Col_ConvInt })
                g->AddCheckBox(c, r, false, false);
        if (hidden)
            g->HideColumn(13);
        Tables.push_back(std::move(t));
        Root_Name = QStringLiteral("HART");
        Version = QStringLiteral("1.102");
    }
};

QByteArray File_Of(bool worst)
{
    static const char* types[] = { "Var", "Var Burst", "Command" };
    static const char* ops[] = { "None", "x 10", "x 100", "x 1000000" };
    QByteArray xml = "<HART><HART_Variables>";
    for (int i = 0; i < Rows; ++i) {
        const QByteArray mnemonic
            = worst ? benchpaired::worst::LongText(12, i).toUtf8() : QByteArray("PV ") + QByteArray::number(i % 10);
        xml += "<row Enable=\"" + QByteArray(i % 7 ? "Y" : "N") + "\" Device_Address=\"0x"
            + QByteArray::number(0x1A2B000000LL + i, 16).toUpper() + "\" Preamble_Count=\""
            + QByteArray::number(5 + i % 16) + "\" Var_Cmd_Type=\"" + types[i % 3] + "\" Var_Cmd_Number=\""
            + QByteArray::number(i % 251) + "\" Cmd_Params=\"" + (i % 3 == 2 ? "0A0B0C" : "") + "\" Position=\""
            + QByteArray::number(i % 1440) + "\" Swap=\"" + (i % 2 ? "Y" : "N") + "\" ConvInt=\"" + (i % 5 ? "N" : "Y")
            + "\" Var_Operation=\"" + ops[i % 4] + "\" TimeOut=\"" + QByteArray::number(1000 + i) + "\" Mnemonic=\""
            + mnemonic + "\"/>";
    }
    return xml + "</HART_Variables></HART><!--SW_VERSION = 1.102-->";
}

// The bare loop: every row's attributes into texts, then written back.
void Bare(
    const TXmlDocument& in, TXmlDocument& out, const std::vector<TTable_Column>& cols, std::vector<QString>& texts)
{
    texts.clear();
    const TXmlNode table = in.DocumentElement().FindChild(QStringLiteral("HART_Variables"));
    int rows = 0;
    for (TXmlNode row = table.FirstChild(); row; row = row.NextSibling(), ++rows)
        for (const TTable_Column& c : cols)
            texts.push_back(row.AttributeOr(c.Attr));
    out.SetActive(true);
    out.Clear();
    TXmlNode root = out.AddChild(QStringLiteral("HART"));
    out.AddComment(QStringLiteral("SW_VERSION = 1.102"));
    TXmlNode t = root.AddChild(QStringLiteral("HART_Variables"));
    std::size_t i = 0;
    for (int r = 0; r < rows; ++r) {
        TXmlNode row = t.AddChild(QStringLiteral("row"));
        for (const TTable_Column& c : cols)
            row.SetAttribute(c.Attr, texts[i++]);
    }
}

void BM_TableFrameLoadSave(benchmark::State& state)
{
    const benchpaired::KeepFreedHeap keep;
    const bool worst = state.range(0) != 0;
    TBench_Table frame(worst);
    TXmlDocument in;
    if (!in.LoadFromBytes(File_Of(worst))) {
        state.SkipWithError("the file does not parse");
        return;
    }
    TXmlDocument ours;
    TXmlDocument bare;
    std::vector<QString> texts;
    QString error;
    // Both write the same document.
    if (!frame.Load_Document(in, error)) {
        state.SkipWithError("the table does not load");
        return;
    }
    frame.Build_Document(ours);
    Bare(in, bare, frame.Tables[0].Columns, texts);
    if (ours.SaveToBytes() != bare.SaveToBytes()) {
        state.SkipWithError("the frame and the bare loop write different files");
        return;
    }
    benchpaired::Paired(
        state,
        [&] {
            frame.Load_Document(in, error);
            frame.Build_Document(ours);
        },
        [&] { Bare(in, bare, frame.Tables[0].Columns, texts); });
    state.SetLabel(std::to_string(Rows) + " rows");
    benchpaired::Limit(state, Limit);
}

} // namespace

BENCHMARK(BM_TableFrameLoadSave)->Apply(benchpaired::BestAndWorst)->Iterations(40)->Unit(benchmark::kMillisecond);
