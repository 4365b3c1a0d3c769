// Opening the grid's list combo editor on a cell and closing it with Enter,
// beside Qt's table view whose item delegate makes a combo box with the same
// 20 items. Best case (worst 0) and worst case (worst 1): a million rows of
// mixed heights, a hidden column and long texts without tags.
#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridCellEditors.h"
#include "platform/controls/Forms.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <benchmark/benchmark.h>

namespace {

using namespace benchpaired::screen;
using benchpaired::Limit;

constexpr double PeerLimit = 2;

QStringList TwentyItems()
{
    QStringList items;
    for (int i = 0; i < 20; ++i)
        items << QStringLiteral("Choice %1").arg(i);
    return items;
}

class TComboDelegate : public QStyledItemDelegate {
public:
    QStringList Items = TwentyItems();
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* cb = new QComboBox(parent);
        cb->addItems(Items);
        return cb;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* cb = static_cast<QComboBox*>(editor);
        cb->setCurrentIndex(cb->findText(index.data().toString()));
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText());
    }
};

void SendEnter(QWidget* w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(w, &release);
}

void BM_GridComboListEditVsTableView(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    const int rows = worst ? MillionRows : 1000;
    const QStringList items = TwentyItems();

    TForm form(nullptr);
    form.SetBounds(0, 0, Width + 20, Height + 20);
    auto* grid = new TExStringGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, Width, Height);
    grid->SetColCount(Cols + 1);
    grid->SetRowCount(rows + 1);
    grid->SetOptions(grid->Options() | goEditing);
    grid->OnGetEditorType = [&](TObject*, int c, int, TEditorType& k) {
        if (c != 1)
            return;
        k = TEditorType::edComboList;
        grid->ClearComboString();
        for (const QString& s : items)
            grid->AddComboString(s);
    };
    if (worst) {
        benchpaired::worst::MixedHeights(*grid, 1, std::min(rows, 2000));
        grid->HideColumn(4);
        for (int c = 2; c <= Cols; ++c)
            grid->SetCells(c, 1, benchpaired::worst::LongText(c, 1));
    }
    grid->SetCells(1, 1, items[3]);
    form.Show();
    grid->SetCol(1);
    grid->SetRow(1);
    grid->SetFocus();

    QStandardItemModel model(rows, Cols);
    model.setItem(0, 0, new QStandardItem(items[3]));
    QTableView view;
    TComboDelegate delegate;
    view.setItemDelegateForColumn(0, &delegate);
    view.setModel(&model);
    view.resize(Width, Height);
    view.show();
    const QModelIndex at = model.index(0, 0);
    view.setCurrentIndex(at);

    double g = 0, p = 0;
    for (auto _ : state) {
        auto t = benchpaired::Clock::now();
        input::Key(grid, VK_F2);
        TGridCombo* cb = grid->Combobox();
        if (!cb->Visible())
            state.SkipWithError("no combo editor");
        input::Key(cb, VK_RETURN);
        const double tg = benchpaired::Seconds(benchpaired::Clock::now() - t);

        t = benchpaired::Clock::now();
        view.edit(at);
        QWidget* editor = view.indexWidget(at);
        if (!editor)
            state.SkipWithError("no table editor");
        else
            SendEnter(editor);
        const double tp = benchpaired::Seconds(benchpaired::Clock::now() - t);
        g += tg;
        p += tp;
        state.SetIterationTime(tg);
    }
    if (grid->Cells(1, 1) != items[3])
        state.SkipWithError("the grid changed the cell");
    state.counters["peer_us"] = p / double(state.iterations()) * 1e6;
    state.counters["ratio"] = g / p;
    Limit(state, PeerLimit);
}

} // namespace

BENCHMARK(BM_GridComboListEditVsTableView)->Apply(benchpaired::BestAndWorst)->Iterations(100);
