#include "controls/grid/ExGridExchange.h"

#include <QStringTokenizer>

#include "controls/grid/ExGrid.h"
#include "platform/controls/Clipbrd.h"

namespace {

TGridExchange* gExchange = nullptr;

TGridExchange& DefaultExchange()
{
    static TGridExchange exchange;
    return exchange;
}

} // namespace

TGridExchange* GridExchange()
{
    return gExchange ? gExchange : &DefaultExchange();
}

TGridExchange* SetGridExchange(TGridExchange* NewExchange)
{
    TGridExchange* old = GridExchange();
    gExchange = NewExchange;
    return old;
}

void TGridExchange::CopySelection(TExStringGrid* Grid)
{
    const TGridRect s = Grid->Selection();
    QString text;
    for (int r = s.Top; r <= s.Bottom; ++r) {
        for (int c = s.Left; c <= s.Right; ++c) {
            if (c > s.Left)
                text += u'\t';
            text += Grid->GetCellEx(Grid->RealColIndex(c), r);
        }
        text += QLatin1String("\r\n");
    }
    Clipboard()->SetAsText(text);
}

void TGridExchange::CutSelection(TExStringGrid* Grid)
{
    CopySelection(Grid);
    Grid->ClearSelection();
}

void TGridExchange::PasteSelection(TExStringGrid* Grid)
{
    const QString text = Clipboard()->AsText();
    if (text.isEmpty())
        return;
    const TGridRect s = Grid->Selection();
    const int lastRow = Grid->RowCount() - Grid->FixedFooters() - 1;
    const int lastCol = Grid->ColCount() - Grid->FixedRightCols() - 1;
    // The text is walked line by line and cell by cell and left as soon as
    // the grid's edge is reached, so a huge text costs only what fits.
    const QStringView all(text);
    const QStringView body = all.endsWith(u'\n') ? all.chopped(1) : all;
    Grid->BeginUpdate();
    try {
        int r = s.Top;
        for (QStringView line : QStringTokenizer(body, u'\n')) {
            if (r > lastRow)
                break;
            if (line.endsWith(u'\r'))
                line.chop(1);
            int c = s.Left;
            for (QStringView cell : QStringTokenizer(line, u'\t')) {
                if (c > lastCol)
                    break;
                Grid->PasteCellText(Grid->RealColIndex(c), r, cell.toString());
                ++c;
            }
            ++r;
        }
    } catch (...) {
        Grid->EndUpdate();
        throw;
    }
    Grid->EndUpdate();
}
