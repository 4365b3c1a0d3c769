// The string grid's typed views of a cell, the fills, the header lists and
// the automatically merged columns.

#include "controls/base/EsgHTMLE.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/SysUtils.h"

#include <QRandomGenerator>
#include <algorithm>

namespace {

// An empty text and a lone "-" (typing a negative number) read 0.
bool IsZeroText(const QString& Text)
{
    return Text.isEmpty() || Text == QLatin1String("-");
}

int IntOfText(const QString& Text)
{
    const QString s = Text.trimmed();
    if (IsZeroText(s))
        return 0;
    bool ok = false;
    const int value = s.toInt(&ok, 10);
    if (!ok)
        throw EExGridError(QStringLiteral("Cell does not contain integer value"));
    return value;
}

double FloatOfText(const QString& Text)
{
    const QString s = Text.trimmed();
    if (IsZeroText(s))
        return 0;
    bool ok = false;
    const double value = UnformatNumberText(s).toDouble(&ok);
    if (!ok)
        throw EExGridError(QStringLiteral("Cell does not contain a float value"));
    return value;
}

QString StrippedText(const QString& Text)
{
    return Text.contains(QLatin1Char('<')) ? StripHTMLTags(Text) : Text;
}

} // namespace

// ---------------------------------------------------------------------------
// Typed views

int TExStringGrid::Ints(int ACol, int ARow)
{
    return IntOfText(StrippedText(GetCellEx(ACol, ARow)));
}

void TExStringGrid::SetInts(int ACol, int ARow, int Value)
{
    SetCellEx(ACol, ARow, QString::number(Value));
    if (FNumHidden > 0)
        RepaintCell(DisplColIndex(ACol), ARow);
}

double TExStringGrid::Floats(int ACol, int ARow)
{
    return FloatOfDisplayText(GetCellEx(ACol, ARow));
}

double TExStringGrid::FloatOfDisplayText(const QString& Text)
{
    return FloatOfText(StrippedText(Text));
}

void TExStringGrid::SetFloats(int ACol, int ARow, double Value)
{
    SetCellEx(ACol, ARow, Format(GetFloatFormat(ACol, ARow), { Value }));
}

int TExStringGrid::AllInts(int ACol, int ARow)
{
    return IntOfText(AllCellText(ACol, ARow));
}

void TExStringGrid::SetAllInts(int ACol, int ARow, int Value)
{
    SetAllCellText(ACol, ARow, QString::number(Value));
}

double TExStringGrid::AllFloats(int ACol, int ARow)
{
    return FloatOfText(AllCellText(ACol, ARow));
}

void TExStringGrid::SetAllFloats(int ACol, int ARow, double Value)
{
    SetAllCellText(ACol, ARow, Format(FFloatFormat, { Value }));
}

TDateTime TExStringGrid::Dates(int ACol, int ARow)
{
    return StrToDate(GetCellEx(ACol, ARow));
}

void TExStringGrid::SetDates(int ACol, int ARow, TDateTime Value)
{
    SetCellEx(ACol, ARow, Value > 0 || FShowNullDates ? DateToStr(Value) : QString());
}

TDateTime TExStringGrid::Times(int ACol, int ARow)
{
    return StrToTime(GetCellEx(ACol, ARow));
}

void TExStringGrid::SetTimes(int ACol, int ARow, TDateTime Value)
{
    SetCellEx(ACol, ARow, TimeToStr(Value));
}

QString TExStringGrid::ControlValues(int ACol, int ARow, const QString& ID)
{
    QString value;
    return GetHTMLControlValue(GetCellEx(ACol, ARow), ID, value) ? value : QString();
}

void TExStringGrid::SetControlValues(int ACol, int ARow, const QString& ID, const QString& Value)
{
    QString text = GetCellEx(ACol, ARow);
    if (SetHTMLControlValue(text, ID, Value))
        SetCellEx(ACol, ARow, text);
}

TExStringGrid::THiddenRow* TExStringGrid::HiddenRecord(int ARow)
{
    const auto it = std::lower_bound(
        FHiddenRows.begin(), FHiddenRows.end(), ARow, [](const THiddenRow& h, int i) { return h.Idx < i; });
    return it != FHiddenRows.end() && it->Idx == ARow ? &*it : nullptr;
}

QString TExStringGrid::AllCellText(int ACol, int ARow)
{
    const THiddenRow* hidden = HiddenRecord(ARow);
    if (!hidden)
        return GetCellEx(ACol, DisplayRowFromReal(ARow));
    // A row hidden before columns were added keeps fewer texts.
    const std::vector<QString>& texts = hidden->Cells.Texts;
    return ACol >= 0 && ACol < int(texts.size()) ? texts[std::size_t(ACol)] : QString();
}

void TExStringGrid::SetAllCellText(int ACol, int ARow, const QString& Value)
{
    THiddenRow* hidden = HiddenRecord(ARow);
    if (!hidden) {
        SetCellEx(ACol, DisplayRowFromReal(ARow), Value);
        return;
    }
    if (ACol < 0 || ACol >= TotalColCount())
        throw EExGridError(QStringLiteral("Cell (%1, %2) lies outside the grid").arg(ACol).arg(ARow));
    std::vector<QString>& texts = hidden->Cells.Texts;
    if (ACol >= int(texts.size()))
        texts.resize(std::size_t(ACol) + 1);
    texts[std::size_t(ACol)] = Value;
}

// ---------------------------------------------------------------------------
// Fills

void TExStringGrid::ForFillCells(bool DoFixed, const std::function<void(int, int, int)>& Fill)
{
    const int c1 = DoFixed ? 0 : FixedCols();
    const int c2 = DoFixed ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
    const int r1 = DoFixed ? 0 : FixedRows();
    const int r2 = DoFixed ? RowCount() - 1 : RowCount() - FFixedFooters - 1;
    // The shown columns' real indices, looked up once for all rows.
    std::vector<int> real;
    for (int c = c1; c <= c2; ++c)
        real.push_back(RealColIndex(c));
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            Fill(real[std::size_t(c - c1)], c, r);
    RecalcFooter();
}

void TExStringGrid::TextFill(bool DoFixed, const QString& Txt)
{
    ForFillCells(DoFixed, [&](int real, int, int r) { SetCellEx(real, r, Txt); });
}

void TExStringGrid::FormatFill(bool DoFixed, const QString& Fmt)
{
    ForFillCells(DoFixed, [&](int real, int c, int r) { SetCellEx(real, r, Format(Fmt, { c, r })); });
}

void TExStringGrid::RandomFill(bool DoFixed, int Rnd)
{
    ForFillCells(DoFixed,
        [&](int real, int, int r) { SetInts(real, r, Rnd > 0 ? int(QRandomGenerator::global()->bounded(Rnd)) : 0); });
}

void TExStringGrid::LinearFill(bool DoFixed)
{
    ForFillCells(DoFixed, [&](int real, int c, int r) {
        SetCellEx(real, r, QString::number(c) + QLatin1Char(':') + QString::number(r));
    });
}

// ---------------------------------------------------------------------------
// Header lists

void TExStringGrid::SetColumnHeaders(const TStringList* Value)
{
    // Columns beyond the new list lose their old header too.
    if (FixedRows() > 0)
        for (int c = 0; c < TotalColCount(); ++c)
            SetCellEx(c, 0, QString());
    if (Value)
        FColumnHeaders->Assign(Value);
    else
        FColumnHeaders->Clear();
}

void TExStringGrid::SetRowHeaders(const TStringList* Value)
{
    if (IsDesigning() && FixedCols() > 0)
        for (int r = 0; r < RowCount(); ++r)
            SetCellEx(0, r, QString());
    if (Value)
        FRowHeaders->Assign(Value);
    else
        FRowHeaders->Clear();
}

void TExStringGrid::ShowColumnHeaders()
{
    if (FixedRows() < 1)
        return;
    const int n = std::min(FColumnHeaders->Count(), TotalColCount());
    for (int c = 0; c < n; ++c)
        SetCellEx(c, 0, EscapedLineBreaksToCR(FColumnHeaders->Strings(c)));
}

void TExStringGrid::ShowRowHeaders()
{
    if (FixedCols() < 1)
        return;
    const int n = std::min(FRowHeaders->Count(), RowCount());
    for (int r = 0; r < n; ++r)
        SetCellEx(0, r, EscapedLineBreaksToCR(FRowHeaders->Strings(r)));
}

void TExStringGrid::SetLookupItems(const TStringList* Value)
{
    if (Value)
        FLookupItems->Assign(Value);
}

void TExStringGrid::SetFixedFont(const TFont* Value)
{
    FFixedFont->Assign(Value);
    Invalidate();
}

// ---------------------------------------------------------------------------
// Merged columns

void TExStringGrid::SplitAllColumnCells()
{
    // Every real column, hidden ones included.
    for (int c = 0; c < TotalColCount(); ++c)
        SplitColumnCells(c);
}

void TExStringGrid::ApplyMergedColumns()
{
    for (int i = 0; i < FMergedColumns->Count(); ++i)
        MergeColumnCells(FMergedColumns->Integers(i), i == 0);
}

// ---------------------------------------------------------------------------
// Print layout and version

int TExStringGrid::PrintColWidth(int ACol) const
{
    if (ACol < 0 || ACol >= MaxPrintCols)
        throw EExGridError(QStringLiteral("Columns is not in valid range"));
    return FPrintColWidth[std::size_t(ACol)];
}

int TExStringGrid::PrintColOffset(int ACol) const
{
    if (ACol < 0 || ACol >= MaxPrintCols)
        throw EExGridError(QStringLiteral("Columns is not in valid range"));
    return FPrintColOffset[std::size_t(ACol)];
}

QString TExStringGrid::Version()
{
    const quint32 v = quint32(GetVersionNr());
    return QStringLiteral("%1.%2.%3.%4").arg(v >> 24).arg((v >> 16) & 0xFF).arg((v >> 8) & 0xFF).arg(v & 0xFF);
}
