// Filters a small string grid with arbitrary conditions, prefixes, suffixes,
// operations and cell texts, then narrows it down along an arbitrary typed
// text and back. Input: fields separated by byte 1: the first field's first
// byte gives the row count (low nibble) and the item count (high bits), then
// the cell texts (two per row), then per item an option byte (operation,
// cell kind, method, case) followed by its condition, prefix and suffix, and
// last the typed text. Matching never raises and answers as the expression
// matcher does; a level hides exactly the rows that do not match, and
// removing levels gives back every row in its place.

#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"

#include <QApplication>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

struct TFields {
    QStringList list;
    int next = 0;
    QString Take() { return next < list.size() ? list[next++] : QString(); }
};

QStringList Column0(const TExStringGrid& g)
{
    QStringList names;
    for (int r = 0; r < g.RowCount(); ++r)
        names << g.Cells(0, r);
    return names;
}

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int rows = 1 + (data[0] & 15);
    const int items = (data[0] >> 4) & 7;
    TFields f;
    f.list = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)).split(QChar(1));

    TExStringGrid g(nullptr);
    g.SetColCount(3);
    g.SetRowCount(rows + 1);
    g.SetFixedRows(1);
    for (int r = 1; r <= rows; ++r) {
        g.SetCells(0, r, QString::number(r));
        g.SetCells(1, r, f.Take());
        g.SetCells(2, r, f.Take());
    }
    for (int i = 0; i < items; ++i) {
        const QString opt = f.Take();
        const uint o = opt.isEmpty() ? 0 : opt[0].unicode();
        TFilterData* d = g.Filter()->Add();
        d->Operation = TFilterOperation(o % 5);
        d->Data = TFilterCells((o / 5) % 5);
        d->Method = (o & 32) ? TFilterMethod::fmLiteral : TFilterMethod::fmExpression;
        d->CaseSensitive = (o & 64) != 0;
        d->Column = qint16(1 + ((o >> 7) & 1));
        d->Condition = f.Take();
        d->Prefix = f.Take();
        d->Suffix = f.Take();
    }

    // Each item's condition, compiled by the filter, answers for every cell
    // text as the expression matcher does.
    TExStringGrid h(nullptr);
    h.SetColCount(2);
    h.SetRowCount(rows + 1);
    h.SetFixedRows(1);
    for (int r = 1; r <= rows; ++r)
        h.SetCells(1, r, g.Cells(1, r));
    TFilterData* one = h.Filter()->Add();
    one->Column = 1;
    one->Data = TFilterCells::fcNormal;
    for (int i = 0; i < items; ++i) {
        const TFilterData* d = g.Filter()->Items(i);
        one->Condition = d->Condition;
        one->CaseSensitive = d->CaseSensitive;
        for (int r = 1; r <= rows; ++r) {
            QString text = h.Cells(1, r).trimmed();
            if (text.contains(QStringLiteral("|\\")))
                text = DecodeWideText(text);
            const bool expected
                = one->Condition.isEmpty() || MatchFilterExpression(one->Condition, text, one->CaseSensitive);
            Check(h.MatchFilter(r) == expected);
        }
    }

    const QStringList before = Column0(g);
    int matched = 0;
    for (int r = 1; r <= rows; ++r)
        matched += g.MatchFilter(r) ? 1 : 0;
    g.SetFilterNormalCellsOnly(false);
    g.ApplyFilter();
    Check(g.FilterLevel() == 1 && g.RowCount() == 1 + matched);
    g.RemoveAllFilters();
    Check(g.FilterLevel() == 0 && Column0(g) == before);

    // Typing one character at a time stacks one level each; deleting them
    // one by one removes them again.
    const QString typed = f.Take().left(12);
    const int column = typed.size() % 2 ? -1 : 1;
    for (int n = 1; n <= typed.size(); ++n) {
        g.NarrowDown(typed.left(n), column);
        Check(g.FilterLevel() == n);
    }
    for (int n = int(typed.size()) - 1; n >= 1; --n) {
        g.NarrowDown(typed.left(n), column);
        Check(g.FilterLevel() == n);
    }
    g.NarrowDown(QString(), column);
    Check(g.FilterLevel() == 0 && Column0(g) == before);
    return 0;
}
