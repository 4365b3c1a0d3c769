// Fills a million rows of ten columns with one text per cell and prints the
// resident memory this took, in bytes, in a process of its own so that
// nothing measured before can lend or take pages:
//   MemoryProgram grid|view|empty short|long
// "grid": the string grid written through the cell writer; "view": a table
// view on a model keeping the texts in one vector; "empty": the grid with
// its rows and columns and no texts. "short" texts are "row:col", "long"
// ones a description line without tags. Exits 1 on a wrong argument.
#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFile>
#include <QTableView>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int Rows = 1000000;
constexpr int Cols = 10;

qint64 ResidentBytes()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}

class TVectorModel : public QAbstractTableModel {
public:
    std::vector<QString> Texts;
    int rowCount(const QModelIndex& = {}) const override { return Rows; }
    int columnCount(const QModelIndex& = {}) const override { return Cols; }
    QVariant data(const QModelIndex& i, int role) const override
    {
        if (role != Qt::DisplayRole || !i.isValid())
            return {};
        return Texts[std::size_t(i.row()) * Cols + std::size_t(i.column())];
    }
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString kind = args.value(1), texts = args.value(2);
    if ((kind != u"grid" && kind != u"view" && kind != u"empty") || (texts != u"short" && texts != u"long"))
        return 1;
    auto text = [&](int c, int r) {
        return texts == u"long" ? benchpaired::worst::LongText(c, r)
                                : QString::number(r) + QLatin1Char(':') + QString::number(c);
    };
    // The widgets' own first allocations are not the texts'.
    {
        QTableView warm;
        TExStringGrid g(nullptr);
    }
    const qint64 before = ResidentBytes();
    std::unique_ptr<TExStringGrid> grid;
    std::unique_ptr<TVectorModel> model;
    std::unique_ptr<QTableView> view;
    if (kind == u"view") {
        model = std::make_unique<TVectorModel>();
        model->Texts.reserve(std::size_t(Rows) * Cols);
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Cols; ++c)
                model->Texts.push_back(text(c, r));
        view = std::make_unique<QTableView>();
        view->setModel(model.get());
    } else {
        grid = std::make_unique<TExStringGrid>(nullptr);
        grid->SetColCount(Cols);
        grid->SetRowCount(Rows);
        grid->SetFixedRows(0);
        grid->SetFixedCols(0);
        if (kind == u"grid")
            for (int r = 0; r < Rows; ++r)
                for (int c = 0; c < Cols; ++c)
                    grid->SetCellEx(c, r, text(c, r));
    }
    std::printf("%lld\n", ResidentBytes() - before);
    return 0;
}
