// Column-aligned plain text for reading or printing in a fixed-pitch font,
// and the numeric value of a formatted cell text.

#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "controls/gridio/ExGridIO.h"
#include "platform/controls/Forms.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/SysUtils.h"

#include <vector>

namespace {

QString Aligned(const QString& Text, int Width, TAlignment Alignment)
{
    const qsizetype n = Text.size();
    if (n >= Width || (Alignment != taRightJustify && Alignment != taCenter))
        return Text;
    if (Alignment == taRightJustify)
        return QString(Width - n, QChar(u' ')) + Text;
    // Centred: the same blanks on both sides, one more in all when the
    // difference is odd.
    const QString pad((Width - n + 1) / 2, QChar(u' '));
    return pad + Text + pad;
}

// The text and the blanks that fill its column up to the next one.
void AppendPadded(QString& Line, const QString& Text, int Width)
{
    Line += Text;
    if (Text.size() <= Width)
        Line += QString(Width - Text.size() + 1, QChar(u' '));
}

// Shows the busy cursor while alive.
class TBusyCursor {
public:
    TBusyCursor()
        : FOld(Screen ? Screen->Cursor() : crDefault)
    {
        if (Screen)
            Screen->SetCursor(crHourGlass);
    }
    ~TBusyCursor()
    {
        if (Screen)
            Screen->SetCursor(FOld);
    }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    TCursor FOld;
};

} // namespace

void TExStringGrid::SaveToASCII(const QString& FileName, bool Unicode)
{
    WriteASCIIFile(FileName, false, Unicode);
}

void TExStringGrid::AppendToASCII(const QString& FileName, bool Unicode)
{
    WriteASCIIFile(FileName, true, Unicode);
}

void TExStringGrid::WriteASCIIFile(const QString& FileName, bool Append, bool Unicode)
{
    TBusyCursor busy;
    const int c0 = SaveFixedCells() || SaveFixedCols() ? 0 : FixedCols();
    const int r0 = SaveFixedCells() || SaveFixedRows() ? 0 : FixedRows();
    const int c1 = SaveHiddenCells() ? TotalColCount() - 1 : ColCount() - 1;
    std::vector<int> widths;
    for (int c = c0; c <= c1; ++c)
        widths.push_back(MaxColumnTextLength(c));

    QString out;
    if (Append && FileExists(FileName)) {
        out = DecodeText(gridio::ReadFileInBlocks(FileName));
        if (!out.isEmpty() && !out.endsWith(u'\n') && !out.endsWith(u'\r'))
            out += QLatin1String("\r\n");
    }
    TTextFileWriter writer(FileName, Unicode ? TTextEncoding::UTF16LE : TTextEncoding::Ansi);
    ExportNotification(esExportStart, r0);
    QStringList more;
    QStringList pieces;
    for (int r = r0; r < RowCount(); ++r) {
        ExportNotification(esExportNextRow, r);
        const qsizetype lineStart = out.size();
        more.clear();
        for (int c = c0; c <= c1; ++c) {
            const int w = widths[size_t(c - c0)];
            const int start = int(out.size() - lineStart);
            const int real = SaveHiddenCells() ? c : RealColFromDisplay(c);
            const auto alignment = TAlignment(ResolveCellAlignment(real, r) & 0xFF);
            const QString text = ExchangeCellText(c, r);
            // Only a text with a line break is taken apart.
            if (!text.contains(u'\r')) {
                AppendPadded(out, Aligned(text, w, alignment), w);
                continue;
            }
            pieces = text.split(QLatin1String("\r\n"));
            if (!Multilinecells())
                pieces = pieces.mid(0, 1);
            AppendPadded(out, Aligned(pieces[0], w, alignment), w);
            for (qsizetype k = 1; k < pieces.size(); ++k) {
                if (more.size() < k)
                    more.append(QString());
                QString& cont = more[k - 1];
                if (cont.size() < start)
                    cont += QString(start - cont.size(), QChar(u' '));
                cont += Aligned(pieces[k], w, alignment);
            }
        }
        out += QLatin1String("\r\n");
        for (const QString& cont : more) {
            out += cont;
            out += QLatin1String("\r\n");
        }
        writer.Feed(out);
    }
    ExportNotification(esExportDone, -1);
    gridio::CommitText(writer, out);
}

double TExStringGrid::CellToReal(int ACol, int ARow)
{
    const QString s = GetCellEx(ACol, ARow);
    if (s.isEmpty())
        return 0;
    double value = 0;
    const int stop = Val(UnformatNumberText(s), value);
    if (stop >= 0)
        throw EExGridError(QStringLiteral("Error at position: %1 in Cell [%2, %3].").arg(stop + 1).arg(ACol).arg(ARow));
    return value;
}
