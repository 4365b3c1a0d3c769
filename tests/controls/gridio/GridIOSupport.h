#pragma once
// Small helpers of the grid exchange tests: grids, their cells, file bytes.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

#include "common/TestFiles.h"
#include "common/TestUtil.h"
#include "controls/grid/ExGrid.h"

namespace gridiotest {

inline std::unique_ptr<TExStringGrid> MakeGrid(int cols, int rows, int fixedCols = 0, int fixedRows = 0)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(cols);
    g->SetRowCount(rows);
    g->SetFixedCols(fixedCols);
    g->SetFixedRows(fixedRows);
    return g;
}

// Row after row, cells joined by "|" (texts here hold no "|").
inline QStringList CellsOf(TExStringGrid& g, int firstCol = 0, int firstRow = 0)
{
    QStringList rows;
    for (int r = firstRow; r < g.RowCount(); ++r) {
        QStringList cells;
        for (int c = firstCol; c < g.TotalColCount(); ++c)
            cells << g.Cells(c, r);
        rows << cells.join(u'|');
    }
    return rows;
}

inline void Fill(TExStringGrid& g, const QStringList& rows, int firstCol = 0, int firstRow = 0)
{
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList cells = rows[r].split(u'|');
        for (int c = 0; c < cells.size(); ++c)
            g.SetCells(firstCol + c, firstRow + r, cells[c]);
    }
}

inline QString TempFile(const QString& name)
{
    return testutil::TempDir() + u'/' + name;
}

} // namespace gridiotest
