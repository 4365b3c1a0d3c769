// One edit of a cell on a million rows, through real keys: F2, five typed
// characters and Enter far down beside the same near the top (within 1.2x),
// and beside Qt's table view over a million-row model with its default item
// delegate, opened on the cell, typed into and committed with Enter (within
// 2x). Each pair is timed in one run, the queued events of the edit included.
#include "bench/BenchPaired.h"
#include "bench/ScreenGrid.h"
#include "controls/grid/ExGrid.h"
#include "platform/controls/Forms.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableView>
#include <benchmark/benchmark.h>

#include <unordered_map>

namespace {

using benchpaired::Clock;
using benchpaired::Limit;
using benchpaired::Seconds;
using namespace benchpaired::screen;

const QString Typed = QStringLiteral("abcde");

// A million rows on a shown form. The worst case has rows of mixed heights,
// a hidden column, hidden rows above both places and long texts in every
// cell of both screens.
struct TEditGrid : benchpaired::TScreenGrid {
    explicit TEditGrid(bool Worst)
        : TScreenGrid(MillionRows, Worst, { 1, MillionRows - 60 }, 60, 200, 300)
    {
        Grid->SetOptions(Grid->Options() | goEditing);
        Show();
        Grid->SetFocus();
        QCoreApplication::processEvents();
    }
    // The cell in row ARow emptied and made current outside the timing; the
    // edit itself timed.
    double Edit(int ARow)
    {
        Grid->SetCells(2, ARow, QString());
        Grid->SetTopRow(std::max(1, ARow - 9));
        Grid->SetCol(2);
        Grid->SetRow(ARow);
        const auto t = Clock::now();
        input::Key(Grid, VK_F2);
        input::Type(Grid->InplaceEditor(), Typed);
        input::Key(Grid->InplaceEditor(), VK_RETURN);
        QCoreApplication::processEvents();
        return Seconds(Clock::now() - t);
    }
    bool Stored(int ARow) { return Grid->Cells(2, ARow) == Typed && !Grid->EditorMode(); }
};

void BM_GridEditFarVsNear(benchmark::State& state)
{
    TEditGrid g(state.range(0) != 0);
    const int far = g.Grid->RowCount() - 3; // hidden rows are out of the grid
    // Both places edited once first: the editor is made on the first edit.
    g.Edit(far);
    g.Edit(10);
    double f = 0, n = 0;
    bool stored = true;
    for (auto _ : state) {
        const double tf = g.Edit(far);
        stored = stored && g.Stored(far);
        const double tn = g.Edit(10);
        stored = stored && g.Stored(10);
        f += tf;
        n += tn;
        state.SetIterationTime(tf);
    }
    state.counters["peer_us"] = n / double(state.iterations()) * 1e6;
    state.counters["ratio"] = f / n;
    if (!stored)
        state.SkipWithError("the edit did not store the typed text");
    else
        Limit(state, 1.2);
}

// A million-row model whose cells can be edited; edited values kept aside.
class TEditableModel : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex& = {}) const override { return MillionRows + 1; }
    int columnCount(const QModelIndex& = {}) const override { return Cols + 1; }
    QVariant data(const QModelIndex& Index, int Role) const override
    {
        if (Role != Qt::DisplayRole && Role != Qt::EditRole)
            return {};
        const auto it = FEdited.find(Key(Index));
        if (it != FEdited.end())
            return it->second;
        return FWorst ? benchpaired::worst::LongText(Index.column(), Index.row())
                      : QStringLiteral("%1").arg(Index.row() * 100 + Index.column());
    }
    bool setData(const QModelIndex& Index, const QVariant& Value, int Role) override
    {
        if (Role != Qt::EditRole)
            return false;
        FEdited[Key(Index)] = Value.toString();
        emit dataChanged(Index, Index);
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex& Index) const override
    {
        return QAbstractTableModel::flags(Index) | Qt::ItemIsEditable;
    }
    static qint64 Key(const QModelIndex& I) { return qint64(I.row()) * 64 + I.column(); }
    bool FWorst = false;
    std::unordered_map<qint64, QString> FEdited;
};

void SendKey(QWidget* W, int Key, const QString& Text)
{
    QKeyEvent press(QEvent::KeyPress, Key, Qt::NoModifier, Text);
    QCoreApplication::sendEvent(W, &press);
    QKeyEvent release(QEvent::KeyRelease, Key, Qt::NoModifier, Text);
    QCoreApplication::sendEvent(W, &release);
}

void BM_GridEditVsTableView(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    TEditGrid g(worst);
    TEditableModel model;
    model.FWorst = worst;
    QTableView view;
    view.setModel(&model);
    view.setItemDelegate(new QStyledItemDelegate(&view));
    view.resize(Width, Height);
    view.verticalHeader()->setDefaultSectionSize(RowHeight);
    view.horizontalHeader()->setDefaultSectionSize(ColWidth);
    view.show();
    QCoreApplication::processEvents();
    const int far = g.Grid->RowCount() - 3; // hidden rows are out of the grid
    const QModelIndex cell = model.index(far, 2);
    view.scrollTo(cell);
    const auto peerEdit = [&] {
        model.FEdited.erase(TEditableModel::Key(cell));
        view.setCurrentIndex(cell);
        const auto t = Clock::now();
        view.edit(cell);
        auto* editor = view.viewport()->findChild<QLineEdit*>();
        if (editor) {
            for (QChar c : Typed)
                SendKey(editor, Qt::Key_A + (c.unicode() - 'a'), QString(c));
            SendKey(editor, Qt::Key_Return, QStringLiteral("\r"));
        }
        QCoreApplication::processEvents();
        return Seconds(Clock::now() - t);
    };
    g.Edit(far);
    peerEdit();
    double s = 0, p = 0;
    bool stored = true;
    for (auto _ : state) {
        const double ts = g.Edit(far);
        stored = stored && g.Stored(far);
        const double tp = peerEdit();
        stored = stored && model.data(cell, Qt::DisplayRole).toString() == Typed;
        s += ts;
        p += tp;
        state.SetIterationTime(ts);
    }
    state.counters["peer_us"] = p / double(state.iterations()) * 1e6;
    state.counters["ratio"] = s / p;
    if (!stored)
        state.SkipWithError("an edit did not store the typed text");
    else
        Limit(state, 2.0);
}

} // namespace

BENCHMARK(BM_GridEditFarVsNear)->Apply(benchpaired::BestAndWorst)->Iterations(100);
BENCHMARK(BM_GridEditVsTableView)->Apply(benchpaired::BestAndWorst)->Iterations(100);
