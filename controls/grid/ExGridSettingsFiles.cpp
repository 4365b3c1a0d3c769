// The string grid's settings outside its cells: the column-state text, the
// column sizes and positions in an INI file or the registry, the visual
// properties file and the print-settings section.
//
// Loading never writes a store: a read-only file or a missing folder must
// not keep a form from being created.

#include "controls/grid/ExGrid.h"

#include "controls/base/ExObjOptions.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/IniFiles.h"
#include "platform/runtime/Registry.h"
#include "platform/runtime/SysUtils.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <functional>

// ---------------------------------------------------------------------------
// Column-state text

namespace {

struct TColumnStates {
    int Count = 0;
    std::vector<int> Widths;
    std::vector<int> Order;
    std::vector<int> Flags;
};

[[noreturn]] void BadColumnStates(const QString& Why)
{
    throw EConvertError(QStringLiteral("Invalid column states: %1").arg(Why));
}

// The comma-separated integers of one part, split by the platform's comma
// text rules; anything else raises the integer conversion error.
std::vector<int> ReadIntegers(const QString& Part)
{
    TStringList items;
    items.SetCommaText(Part);
    std::vector<int> out;
    out.reserve(std::size_t(items.Count()));
    for (int i = 0; i < items.Count(); ++i)
        out.push_back(StrToInt(items.Strings(i)));
    return out;
}

// The order entries the reading takes: those below Count, -1 skipped.
std::vector<int> UsedOrder(const std::vector<int>& Order, int Count)
{
    std::vector<int> out;
    for (int i = 0; i < Count && i < int(Order.size()); ++i)
        if (Order[std::size_t(i)] != -1)
            out.push_back(Order[std::size_t(i)]);
    return out;
}

// Whether an order names the columns 0 to its size - 1 once each: a stored
// order may come from a grid with fewer columns, never with other ones.
bool NamesEachColumnOnce(const std::vector<int>& Order)
{
    std::vector<bool> seen(Order.size(), false);
    for (int e : Order) {
        if (e < 0 || e >= int(Order.size()) || seen[std::size_t(e)])
            return false;
        seen[std::size_t(e)] = true;
    }
    return true;
}

// Checks the whole text before anything changes: integers only, one flag
// (0 or 1) per column, a width for each shown column, an order naming each
// column once. The count is bounded by the flags the text carries.
TColumnStates ParseColumnStates(const QString& AValue)
{
    const QStringList parts = AValue.split(QLatin1Char('#'));
    if (parts.size() != 4)
        BadColumnStates(QStringLiteral("four parts separated by \"#\" expected"));
    TColumnStates st;
    st.Count = StrToInt(parts[0]);
    st.Widths = ReadIntegers(parts[1]);
    st.Order = ReadIntegers(parts[2]);
    st.Flags = ReadIntegers(parts[3]);
    if (st.Count < 1 || std::size_t(st.Count) != st.Flags.size())
        BadColumnStates(QStringLiteral("one visibility flag per column expected"));
    if (std::any_of(st.Flags.begin(), st.Flags.end(), [](int f) { return f != 0 && f != 1; }))
        BadColumnStates(QStringLiteral("visibility flags are 0 or 1"));
    // At least one column stays shown, whatever the flags say.
    const auto shown = std::max<std::ptrdiff_t>(1, std::count(st.Flags.begin(), st.Flags.end(), 1));
    if (std::ptrdiff_t(st.Widths.size()) < shown)
        BadColumnStates(QStringLiteral("a width for each shown column expected"));
    st.Order = UsedOrder(st.Order, st.Count);
    if (!NamesEachColumnOnce(st.Order))
        BadColumnStates(QStringLiteral("an order naming each column once expected"));
    return st;
}

// A stored width is taken only within these bounds; beyond them the column
// keeps its width.
constexpr int kMaxStoredColWidth = 32767;

bool IsStoredColWidth(int w)
{
    return w >= 0 && w <= kMaxStoredColWidth;
}

} // namespace

QString TExStringGrid::ColumnStatesToString()
{
    const int n = TotalColCount();
    QStringList widths, order, flags;
    // Beyond the shown columns the default width stands in: stored texts
    // carry it for the hidden columns.
    for (int i = 0; i < n; ++i)
        widths << QString::number(i < ColCount() ? ColWidths(i) : DefaultColWidth());
    for (int i = 0; i < FColumnOrder->Count(); ++i)
        order << QString::number(FColumnOrder->Integers(i));
    if (FColumnOrder->Count() == 0)
        for (int i = 0; i < n; ++i)
            order << QString::number(i);
    for (int c = 0; c < n; ++c)
        flags << (IsHiddenColumn(c) ? QStringLiteral("0") : QStringLiteral("1"));
    const QLatin1Char comma(','), hash('#');
    return QString::number(n) + hash + widths.join(comma) + hash + order.join(comma) + hash + flags.join(comma);
}

void TExStringGrid::ArrangeColumns(const std::vector<int>& Order)
{
    // One pass over the cells, whatever the number of columns; the columns
    // the order does not name stay behind those it does.
    FColumnOrder->Clear();
    if (!Order.empty())
        PermuteColumns(0, Order);
    for (int e : Order)
        FColumnOrder->Add(e);
    for (int c = int(Order.size()); c < TotalColCount(); ++c)
        FColumnOrder->Add(c);
}

void TExStringGrid::StringToColumnStates(const QString& AValue)
{
    if (!AValue.contains(QLatin1Char('#')))
        return;
    const TColumnStates st = ParseColumnStates(AValue);
    // A text stored while the grid had fewer columns names only the first
    // ones: the others keep their cells, place, width and visibility.
    std::vector<int> hide;
    for (int c = TotalColCount() - 1; c >= st.Count; --c)
        if (IsHiddenColumn(c))
            hide.push_back(c);
    FColumnOrder->Clear();
    UnHideColumnsAll();
    if (ColCount() < st.Count)
        SetColCount(st.Count);
    if (!st.Order.empty())
        ArrangeColumns(st.Order);
    for (int c = st.Count - 1; c >= 0; --c)
        if (st.Flags[std::size_t(c)] == 0)
            hide.push_back(c);
    HideColumnList(hide);
    // The named columns shown come first among the displayed ones.
    const int named = st.Count < TotalColCount() ? DisplayColFromReal(st.Count) : ColCount();
    const bool stretch = FColumnSize->Stretch();
    FColumnSize->SetStretch(false);
    if (stretch) {
        // A new default width resets every width: the others get theirs back.
        std::vector<int> others;
        for (int d = named; d < ColCount(); ++d)
            others.push_back(ColWidths(d));
        const int sc = FColumnSize->StretchColumn;
        SetDefaultColWidth(ColWidths(sc >= 0 && sc < ColCount() ? sc : ColCount() - 1));
        for (int d = named; d < ColCount(); ++d)
            SetColWidths(d, others[std::size_t(d - named)]);
    }
    for (int d = 0; d < named; ++d) {
        const int w = st.Widths[std::size_t(d)];
        if (IsStoredColWidth(w) && w != ColWidths(d))
            SetColWidths(d, w);
    }
    FColumnSize->SetStretch(stretch);
}

// ---------------------------------------------------------------------------
// Column sizes and positions in an INI file or the registry

namespace {

std::unique_ptr<TCustomIniFile> OpenColumnSizeStore(const TColumnSize& cs)
{
    if (cs.Location == TColumnSizeLocation::clIniFile)
        return std::make_unique<TMemIniFile>(cs.Key);
    return std::make_unique<TRegIniFile>(cs.Key);
}

QString ColKey(int i)
{
    return QStringLiteral("Col%1").arg(i);
}

QString PosKey(int i)
{
    return QStringLiteral("Pos%1").arg(i);
}

} // namespace

void TExStringGrid::SaveColSizes()
{
    if (FColumnSize->Key.isEmpty() || FColumnSize->Section.isEmpty() || IsDesigning())
        return;
    const std::unique_ptr<TCustomIniFile> store = OpenColumnSizeStore(*FColumnSize);
    for (int c = 0; c < ColCount(); ++c)
        store->WriteInteger(FColumnSize->Section, ColKey(c), ColWidths(c));
    store->UpdateFile();
}

void TExStringGrid::LoadColSizes()
{
    if (FColumnSize->Key.isEmpty() || FColumnSize->Section.isEmpty() || IsDesigning())
        return;
    const std::unique_ptr<TCustomIniFile> store = OpenColumnSizeStore(*FColumnSize);
    for (int c = 0; c < ColCount(); ++c) {
        const int w = store->ReadInteger(FColumnSize->Section, ColKey(c), ColWidths(c));
        if (IsStoredColWidth(w) && w != ColWidths(c))
            SetColWidths(c, w);
    }
}

void TExStringGrid::SaveColPositions()
{
    if (FColumnSize->Key.isEmpty() || FColumnSize->Section.isEmpty() || IsDesigning())
        return;
    const std::unique_ptr<TCustomIniFile> store = OpenColumnSizeStore(*FColumnSize);
    for (int i = 0; i < FColumnOrder->Count(); ++i)
        store->WriteInteger(FColumnSize->Section, PosKey(i), FColumnOrder->Integers(i));
    store->UpdateFile();
}

void TExStringGrid::LoadColPositions()
{
    if (FColumnSize->Key.isEmpty() || FColumnSize->Section.isEmpty() || IsDesigning())
        return;
    const std::unique_ptr<TCustomIniFile> store = OpenColumnSizeStore(*FColumnSize);
    const QString& section = FColumnSize->Section;
    if (store->ReadInteger(section, PosKey(0), -1) == -1)
        return;
    const int n = TotalColCount();
    std::vector<int> order;
    for (int i = 0; i < n; ++i) {
        const int e = store->ReadInteger(section, PosKey(i), -1);
        if (e != -1)
            order.push_back(e);
    }
    // An order that does not name each of its columns once is no order:
    // the arrangement stays as it is.
    if (!NamesEachColumnOnce(order))
        return;
    // The columns as they stand count as the natural order; a hidden one
    // stays hidden wherever the stored order puts it.
    std::vector<int> place(static_cast<std::size_t>(n));
    for (int c = 0; c < n; ++c)
        place[std::size_t(c)] = c;
    for (std::size_t p = 0; p < order.size(); ++p)
        place[std::size_t(order[p])] = int(p);
    std::vector<int> hidden;
    for (int c = 0; c < n; ++c)
        if (IsHiddenColumn(c))
            hidden.push_back(place[std::size_t(c)]);
    UnHideColumnsAll();
    ArrangeColumns(order);
    HideColumnList(hidden);
}

// ---------------------------------------------------------------------------
// Visual properties file

namespace {

const QLatin1String kTrue("true"), kFalse("false");

using TGetText = std::function<QString(TExStringGrid&)>;
using TSetText = std::function<void(TExStringGrid&, const QString&)>;

struct TPropLine {
    QString Name;
    TGetText Get;
    TSetText Set;
};

using TPropLines = std::vector<TPropLine>;

// Each value is read on its own: one that does not convert, or lies outside
// its range, leaves the setting as it is. An empty colour is no colour.
bool ReadColor(const QString& v, TColor& c)
{
    if (v.isEmpty()) {
        c = clNone;
        return true;
    }
    try {
        c = StringToColor(v);
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

void AddColor(TPropLines& L, const char* Name, std::function<TColor(TExStringGrid&)> Get,
    std::function<void(TExStringGrid&, TColor)> Set)
{
    L.push_back({ QLatin1String(Name), [Get](TExStringGrid& g) { return ColorToString(Get(g)); },
        [Set](TExStringGrid& g, const QString& v) {
            TColor c;
            if (ReadColor(v, c))
                Set(g, c);
        } });
}

void AddBool(TPropLines& L, const char* Name, std::function<bool(TExStringGrid&)> Get,
    std::function<void(TExStringGrid&, bool)> Set)
{
    L.push_back({ QLatin1String(Name), [Get](TExStringGrid& g) { return QString(Get(g) ? kTrue : kFalse); },
        [Set](TExStringGrid& g, const QString& v) {
            const QString up = v.toUpper();
            if (up == QLatin1String("TRUE") || up == QLatin1String("FALSE"))
                Set(g, up == QLatin1String("TRUE"));
        } });
}

struct TIntRange {
    int Min, Max;
};

// Sizes, widths and offsets a grid can paint with.
constexpr TIntRange kFontSizes { 1, 1000 }, kByte { 0, 255 }, kOffsets { -32768, 32767 };

void AddInt(TPropLines& L, const QString& Name, TIntRange Range, std::function<int(TExStringGrid&)> Get,
    std::function<void(TExStringGrid&, int)> Set)
{
    L.push_back({ Name, [Get](TExStringGrid& g) { return QString::number(Get(g)); },
        [Set, Range](TExStringGrid& g, const QString& v) {
            int i = 0;
            if (TryStrToInt(v, i) && i >= Range.Min && i <= Range.Max)
                Set(g, i);
        } });
}

// An enumeration by its value names, in the enumeration's order; a name
// that matches none leaves the setting as it is.
template <class E, std::size_t N>
void AddEnum(TPropLines& L, const char* Name, const std::array<const char*, N>& Names,
    std::function<E(TExStringGrid&)> Get, std::function<void(TExStringGrid&, E)> Set)
{
    L.push_back({ QLatin1String(Name),
        [Names, Get](TExStringGrid& g) {
            const std::size_t i = std::size_t(Get(g));
            return i < N ? QString::fromLatin1(Names[i]) : QString();
        },
        [Names, Set](TExStringGrid& g, const QString& v) {
            const QString up = v.toUpper();
            for (std::size_t i = 0; i < N; ++i)
                if (up == QString::fromLatin1(Names[i]).toUpper()) {
                    Set(g, E(i));
                    return;
                }
        } });
}

constexpr std::array<std::pair<TFontStyle, const char*>, 4> kFontStyles { {
    { TFontStyle::fsBold, "fsBold" },
    { TFontStyle::fsItalic, "fsItalic" },
    { TFontStyle::fsUnderline, "fsUnderline" },
    { TFontStyle::fsStrikeOut, "fsStrikeOut" },
} };

void AddFont(TPropLines& L, const char* Name, std::function<TFont*(TExStringGrid&)> Font)
{
    const QString n = QLatin1String(Name);
    L.push_back({ n + QLatin1String(".Color"), [Font](TExStringGrid& g) { return ColorToString(Font(g)->Color()); },
        [Font](TExStringGrid& g, const QString& v) {
            TColor c;
            if (ReadColor(v, c))
                Font(g)->SetColor(c);
        } });
    L.push_back({ n + QLatin1String(".Style"),
        [Font](TExStringGrid& g) {
            QStringList set;
            for (const auto& [style, text] : kFontStyles)
                if (Font(g)->Style().testFlag(style))
                    set << QLatin1String(text);
            return set.join(QLatin1Char(','));
        },
        [Font](TExStringGrid& g, const QString& v) {
            TFontStyles set;
            for (const auto& [style, text] : kFontStyles)
                if (v.contains(QLatin1String(text)))
                    set |= style;
            Font(g)->SetStyle(set);
        } });
    AddInt(
        L, n + QLatin1String(".Size"), kFontSizes, [Font](TExStringGrid& g) { return Font(g)->Size(); },
        [Font](TExStringGrid& g, int v) { Font(g)->SetSize(v); });
    L.push_back({ n + QLatin1String(".Name"), [Font](TExStringGrid& g) { return Font(g)->Name(); },
        [Font](TExStringGrid& g, const QString& v) {
            if (!v.isEmpty())
                Font(g)->SetName(v);
        } });
}

constexpr std::array<const char*, 7> kControlStyles { "csClassic", "csFlat", "csWinXP", "csKestrin", "csVRK", "csGlyph",
    "csTheme" };
constexpr std::array<const char*, 9> kLooks { "glStandard", "glSoft", "glClassic", "glVRK", "glXP", "glListView",
    "glVista", "glWin7", "glOffice2007" };
constexpr std::array<const char*, 4> kBackGroundDisplays { "bdTile", "bdFixed", "bdGradientHorz", "bdGradientVert" };
constexpr std::array<const char*, 3> kBackGroundCells { "bcNormal", "bcFixed", "bcAll" };

// Every line of the file in the order written. Settings with a setter go
// through it so that the grid repaints; the others are stored directly.
const TPropLines& VisualPropLines()
{
    static const TPropLines lines = [] {
        using G = TExStringGrid;
        TPropLines L;
        AddColor(
            L, "Color", [](G& g) { return g.Color(); }, [](G& g, TColor c) { g.SetColor(c); });
        AddColor(
            L, "HintColor", [](G& g) { return g.HintColor(); }, [](G& g, TColor c) { g.SetHintColor(c); });
        AddColor(
            L, "SelectionColor", [](G& g) { return g.SelectionColor(); },
            [](G& g, TColor c) { g.SetSelectionColor(c); });
        AddColor(
            L, "SelectionColorTo", [](G& g) { return g.SelectionColorTo(); },
            [](G& g, TColor c) { g.SetSelectionColorTo(c); });
        AddColor(
            L, "SelectionMirrorColor", [](G& g) { return g.SelectionMirrorColor(); },
            [](G& g, TColor c) { g.SetSelectionMirrorColor(c); });
        AddColor(
            L, "SelectionMirrorColorTo", [](G& g) { return g.SelectionMirrorColorTo(); },
            [](G& g, TColor c) { g.SetSelectionMirrorColorTo(c); });
        AddColor(
            L, "SelectionTextColor", [](G& g) { return g.SelectionTextColor(); },
            [](G& g, TColor c) { g.SetSelectionTextColor(c); });
        AddColor(
            L, "URLColor", [](G& g) { return g.URLColor(); }, [](G& g, TColor c) { g.SetURLColor(c); });
        AddBool(
            L, "URLShow", [](G& g) { return g.URLShow(); }, [](G& g, bool b) { g.SetURLShow(b); });
        AddBool(
            L, "URLShowInText", [](G& g) { return g.URLShowInText(); }, [](G& g, bool b) { g.SetURLShowInText(b); });
        AddColor(
            L, "ScrollColor", [](G& g) { return g.ScrollColor(); }, [](G& g, TColor c) { g.SetScrollColor(c); });
        AddColor(
            L, "ActiveRowColor", [](G& g) { return g.ActiveRowColor(); },
            [](G& g, TColor c) { g.SetActiveRowColor(c); });
        AddBool(
            L, "ActiveRowShow", [](G& g) { return g.ActiveRowShow(); }, [](G& g, bool b) { g.SetActiveRowShow(b); });
        AddBool(
            L, "ActiveCellShow", [](G& g) { return g.ActiveCellShow(); }, [](G& g, bool b) { g.SetActiveCellShow(b); });
        AddFont(L, "Font", [](G& g) { return g.Font(); });
        AddColor(
            L, "ActiveCellColor", [](G& g) { return g.ActiveCellColor(); },
            [](G& g, TColor c) { g.SetActiveCellColor(c); });
        AddColor(
            L, "ActiveCellColorTo", [](G& g) { return g.ActiveCellColorTo(); },
            [](G& g, TColor c) { g.SetActiveCellColorTo(c); });
        AddFont(L, "ActiveCellFont", [](G& g) { return g.ActiveCellFont(); });
        AddFont(L, "FixedFont", [](G& g) { return g.FixedFont(); });
        AddColor(
            L, "Balloon.BackgroundColor", [](G& g) { return g.Balloon()->BackgroundColor; },
            [](G& g, TColor c) { g.Balloon()->BackgroundColor = c; });
        AddColor(
            L, "Balloon.TextColor", [](G& g) { return g.Balloon()->TextColor; },
            [](G& g, TColor c) { g.Balloon()->TextColor = c; });
        AddInt(
            L, QLatin1String("Balloon.Transparency"), kByte, [](G& g) { return int(g.Balloon()->Transparency); },
            [](G& g, int v) { g.Balloon()->Transparency = std::uint8_t(v); });
        AddColor(
            L, "Bands.PrimaryColor", [](G& g) { return g.Bands()->PrimaryColor(); },
            [](G& g, TColor c) { g.Bands()->SetPrimaryColor(c); });
        AddColor(
            L, "Bands.SecondaryColor", [](G& g) { return g.Bands()->SecondaryColor(); },
            [](G& g, TColor c) { g.Bands()->SetSecondaryColor(c); });
        AddBool(
            L, "Bands.Active", [](G& g) { return g.Bands()->Active(); }, [](G& g, bool b) { g.Bands()->SetActive(b); });
        AddColor(
            L, "SortSettings.IndexColor", [](G& g) { return g.SortSettings()->IndexColor; },
            [](G& g, TColor c) { g.SortSettings()->IndexColor = c; });
        AddColor(
            L, "FloatingFooter.Color", [](G& g) { return g.FloatingFooter()->Color(); },
            [](G& g, TColor c) { g.FloatingFooter()->SetColor(c); });
        AddInt(
            L, QLatin1String("ControlLook.CheckSize"), kByte, [](G& g) { return g.ControlLook()->CheckSize(); },
            [](G& g, int v) { g.ControlLook()->SetCheckSize(v); });
        AddColor(
            L, "ControlLook.Color", [](G& g) { return g.ControlLook()->Color(); },
            [](G& g, TColor c) { g.ControlLook()->SetColor(c); });
        AddColor(
            L, "ControlLook.CommentColor", [](G& g) { return g.ControlLook()->CommentColor(); },
            [](G& g, TColor c) { g.ControlLook()->SetCommentColor(c); });
        AddEnum<TGridControlStyle>(
            L, "ControlLook.ControlStyle", kControlStyles, [](G& g) { return g.ControlLook()->ControlStyle(); },
            [](G& g, TGridControlStyle s) { g.ControlLook()->SetControlStyle(s); });
        AddColor(
            L, "ControlLook.FixedGradientFrom", [](G& g) { return g.ControlLook()->FixedGradientFrom(); },
            [](G& g, TColor c) { g.ControlLook()->SetFixedGradientFrom(c); });
        AddColor(
            L, "ControlLook.FixedGradientTo", [](G& g) { return g.ControlLook()->FixedGradientTo(); },
            [](G& g, TColor c) { g.ControlLook()->SetFixedGradientTo(c); });
        AddInt(
            L, QLatin1String("ControlLook.RadioSize"), kByte, [](G& g) { return g.ControlLook()->RadioSize(); },
            [](G& g, int v) { g.ControlLook()->SetRadioSize(v); });
        AddBool(
            L, "ControlLook.FlatButton", [](G& g) { return g.ControlLook()->FlatButton(); },
            [](G& g, bool b) { g.ControlLook()->SetFlatButton(b); });
        AddColor(
            L, "ControlLook.ProgressBorderColor", [](G& g) { return g.ControlLook()->ProgressBorderColor; },
            [](G& g, TColor c) { g.ControlLook()->ProgressBorderColor = c; });
        AddBool(
            L, "ControlLook.ProgressXP", [](G& g) { return g.ControlLook()->ProgressXP(); },
            [](G& g, bool b) { g.ControlLook()->SetProgressXP(b); });
        // glCustom has no name: it is written empty and read as no change.
        AddEnum<TGridLook>(
            L, "Look", kLooks, [](G& g) { return g.Look(); }, [](G& g, TGridLook l) { g.SetLook(l); });
        AddColor(
            L, "SearchFooter.Color", [](G& g) { return g.SearchFooter()->Color(); },
            [](G& g, TColor c) { g.SearchFooter()->SetColor(c); });
        AddColor(
            L, "SearchFooter.ColorTo", [](G& g) { return g.SearchFooter()->ColorTo(); },
            [](G& g, TColor c) { g.SearchFooter()->SetColorTo(c); });
        AddColor(
            L, "Grouping.HeaderColor", [](G& g) { return g.Grouping()->HeaderColor; },
            [](G& g, TColor c) { g.Grouping()->HeaderColor = c; });
        AddColor(
            L, "Grouping.HeaderColorTo", [](G& g) { return g.Grouping()->HeaderColorTo; },
            [](G& g, TColor c) { g.Grouping()->HeaderColorTo = c; });
        AddColor(
            L, "Grouping.HeaderTextColor", [](G& g) { return g.Grouping()->HeaderTextColor; },
            [](G& g, TColor c) { g.Grouping()->HeaderTextColor = c; });
        AddBool(
            L, "Grouping.HeaderUnderline", [](G& g) { return g.Grouping()->HeaderUnderline; },
            [](G& g, bool b) { g.Grouping()->HeaderUnderline = b; });
        AddColor(
            L, "Grouping.HeaderLineColor", [](G& g) { return g.Grouping()->HeaderLineColor; },
            [](G& g, TColor c) { g.Grouping()->HeaderLineColor = c; });
        AddInt(
            L, QLatin1String("Grouping.HeaderLineWidth"), kByte, [](G& g) { return g.Grouping()->HeaderLineWidth; },
            [](G& g, int v) { g.Grouping()->HeaderLineWidth = v; });
        AddColor(
            L, "Grouping.SummaryColor", [](G& g) { return g.Grouping()->SummaryColor; },
            [](G& g, TColor c) { g.Grouping()->SummaryColor = c; });
        AddColor(
            L, "Grouping.SummaryColorTo", [](G& g) { return g.Grouping()->SummaryColorTo; },
            [](G& g, TColor c) { g.Grouping()->SummaryColorTo = c; });
        AddColor(
            L, "Grouping.SummaryTextColor", [](G& g) { return g.Grouping()->SummaryTextColor; },
            [](G& g, TColor c) { g.Grouping()->SummaryTextColor = c; });
        AddBool(
            L, "Grouping.SummaryLine", [](G& g) { return g.Grouping()->SummaryLine; },
            [](G& g, bool b) { g.Grouping()->SummaryLine = b; });
        AddColor(
            L, "Grouping.SummaryLineColor", [](G& g) { return g.Grouping()->SummaryLineColor; },
            [](G& g, TColor c) { g.Grouping()->SummaryLineColor = c; });
        AddInt(
            L, QLatin1String("Grouping.SummaryLineWidth"), kByte, [](G& g) { return g.Grouping()->SummaryLineWidth; },
            [](G& g, int v) { g.Grouping()->SummaryLineWidth = v; });
        AddColor(
            L, "GridLineColor", [](G& g) { return g.GridLineColor(); }, [](G& g, TColor c) { g.SetGridLineColor(c); });
        AddColor(
            L, "GridFixedLineColor", [](G& g) { return g.GridFixedLineColor(); },
            [](G& g, TColor c) { g.SetGridFixedLineColor(c); });
        AddInt(
            L, QLatin1String("BackGround.Top"), kOffsets, [](G& g) { return g.BackGround()->Top(); },
            [](G& g, int v) { g.BackGround()->SetTop(v); });
        AddInt(
            L, QLatin1String("BackGround.Left"), kOffsets, [](G& g) { return g.BackGround()->Left(); },
            [](G& g, int v) { g.BackGround()->SetLeft(v); });
        AddEnum<TBackGroundDisplay>(
            L, "BackGround.Display", kBackGroundDisplays, [](G& g) { return g.BackGround()->Display(); },
            [](G& g, TBackGroundDisplay d) { g.BackGround()->SetDisplay(d); });
        AddEnum<TBackGroundCells>(
            L, "BackGround.Cells", kBackGroundCells, [](G& g) { return g.BackGround()->Cells(); },
            [](G& g, TBackGroundCells c) { g.BackGround()->SetCells(c); });
        AddColor(
            L, "BackGround.Color", [](G& g) { return g.BackGround()->Color(); },
            [](G& g, TColor c) { g.BackGround()->SetColor(c); });
        AddColor(
            L, "BackGround.ColorTo", [](G& g) { return g.BackGround()->ColorTo(); },
            [](G& g, TColor c) { g.BackGround()->SetColorTo(c); });
        return L;
    }();
    return lines;
}

// The reading order. The look goes first: its setter resets colours the
// file holds as well, which would otherwise be lost whenever the file's look
// differs from the grid's. The grid line colours come before the grouping
// values.
std::vector<const TPropLine*> VisualPropReadOrder()
{
    std::vector<const TPropLine*> order;
    for (const TPropLine& l : VisualPropLines())
        order.push_back(&l);
    auto named = [&order](const char* name) {
        return std::find_if(
            order.begin(), order.end(), [name](const TPropLine* l) { return l->Name == QLatin1String(name); });
    };
    const auto look = named("Look");
    std::rotate(order.begin(), look, look + 1);
    const auto grouping = std::find_if(
        order.begin(), order.end(), [](const TPropLine* l) { return l->Name.startsWith(QLatin1String("Grouping.")); });
    const auto lines = named("GridLineColor");
    std::rotate(grouping, lines, lines + 2);
    return order;
}

} // namespace

void TExStringGrid::SaveVisualProps(const QString& FileName)
{
    QString text;
    for (const TPropLine& l : VisualPropLines())
        text += l.Name + QLatin1Char('=') + l.Get(*this) + QLatin1String("\r\n");
    if (!SaveTextFile(FileName, text, TTextEncoding::Ansi))
        throw EFCreateError(QStringLiteral("Cannot Create ") + FileName);
}

void TExStringGrid::LoadVisualProps(const QString& FileName)
{
    TStringList lines;
    try {
        lines.LoadFromFile(FileName);
    } catch (const EStreamError&) {
        throw EFOpenError(QStringLiteral("Cannot open file ") + FileName);
    }
    // Names ignore letter case; the first line of a name counts. A setting
    // without a line keeps its value.
    QHash<QString, QString> values;
    for (int i = 0; i < lines.Count(); ++i) {
        const QString s = lines.Strings(i);
        const qsizetype eq = s.indexOf(QLatin1Char('='));
        const QString name = s.left(eq).toUpper();
        if (eq >= 0 && !values.contains(name))
            values.insert(name, s.mid(eq + 1));
    }
    for (const TPropLine* l : VisualPropReadOrder()) {
        const auto it = values.constFind(l->Name.toUpper());
        if (it != values.cend())
            l->Set(*this, *it);
    }
}

// ---------------------------------------------------------------------------
// Print settings section

namespace {

QString YN(bool b)
{
    return b ? QStringLiteral("Y") : QStringLiteral("N");
}

void WriteFont(TCustomIniFile& Ini, const QString& Section, const QString& Prefix, const TFont* Font)
{
    Ini.WriteString(Section, Prefix + QLatin1String("FontName"), Font->Name());
    Ini.WriteInteger(Section, Prefix + QLatin1String("FontSize"), Font->Size());
    Ini.WriteInteger(Section, Prefix + QLatin1String("FontStyle"), int(Font->Style().toInt()));
    Ini.WriteInteger(Section, Prefix + QLatin1String("FontColor"), int(Font->Color()));
}

// The stored styles are added to those the font has.
void ReadFont(const TCustomIniFile& Ini, const QString& Section, const QString& Prefix, TFont* Font)
{
    Font->SetName(Ini.ReadString(Section, Prefix + QLatin1String("FontName"), QStringLiteral("Arial")));
    Font->SetSize(Ini.ReadInteger(Section, Prefix + QLatin1String("FontSize"), 10));
    const int style = Ini.ReadInteger(Section, Prefix + QLatin1String("FontStyle"), 0);
    Font->SetStyle(Font->Style() | TFontStyles::fromInt(uint(style) & 0xF));
    Font->SetColor(TColor(Ini.ReadInteger(Section, Prefix + QLatin1String("FontColor"), 0)));
}

// An ordinal inside 0..Max, else the setting stays.
template <class E>
void ReadOrdinal(const TCustomIniFile& Ini, const QString& Section, const char* Key, int Max, E& Value)
{
    const int v = Ini.ReadInteger(Section, QLatin1String(Key), 0);
    if (v >= 0 && v <= Max)
        Value = E(v);
}

TPrintPosition ReadPosition(const TCustomIniFile& Ini, const QString& Section, const char* Key)
{
    const int v = Ini.ReadInteger(Section, QLatin1String(Key), 0);
    return v >= 1 && v <= 6 ? TPrintPosition(v) : TPrintPosition::ppNone;
}

} // namespace

void TExStringGrid::SavePrintSettings(const QString& FileName, const QString& Section)
{
    const TPrintSettings& p = *FPrintSettings;
    TMemIniFile ini(FileName);
    auto integer = [&](const char* key, int v) { ini.WriteInteger(Section, QLatin1String(key), v); };
    auto flag = [&](const char* key, bool v) { ini.WriteString(Section, QLatin1String(key), YN(v)); };
    auto text = [&](const char* key, const QString& v) { ini.WriteString(Section, QLatin1String(key), v); };
    integer("ColumnSpacing", p.ColumnSpacing);
    integer("RowSpacing", p.RowSpacing);
    integer("TitleSpacing", p.TitleSpacing);
    integer("FixedHeight", p.FixedHeight);
    integer("FixedWidth", p.FixedWidth);
    flag("Centered", p.Centered);
    flag("NoAutoSize", p.NoAutoSize);
    flag("UseFixedHeight", p.UseFixedHeight);
    flag("UseFixedWidth", p.UseFixedWidth);
    flag("RepeatFixedRows", p.RepeatFixedRows);
    flag("RepeatFixedCols", p.RepeatFixedCols);
    flag("UseDisplFont", p.UseDisplayFont);
    flag("UseDefOrientation", p.UseDefaultOrientation);
    integer("Borders", int(p.Borders));
    integer("BorderColor", int(p.BorderColor));
    integer("BorderStyle", int(p.BorderStyle));
    integer("Date", int(p.Date));
    integer("PageNr", int(p.PageNr));
    integer("Title", int(p.Title));
    integer("Time", int(p.Time));
    text("DateFormat", p.DateFormat);
    text("TitleText", p.TitleText);
    integer("FooterSize", p.FooterSize);
    integer("HeaderSize", p.HeaderSize);
    integer("LeftSize", p.LeftSize);
    integer("RightSize", p.RightSize);
    integer("FitToPage", int(p.FitToPage));
    WriteFont(ini, Section, QString(), p.Font());
    WriteFont(ini, Section, QStringLiteral("Header"), p.HeaderFont());
    WriteFont(ini, Section, QStringLiteral("Footer"), p.FooterFont());
    text("PageNumSep", p.PageNumSep);
    text("PageSuffix", p.PageSuffix);
    text("PagePrefix", p.PagePrefix);
    integer("Orientation", int(p.Orientation));
    text("TitleLines", CRToEscapedLineBreaks(p.TitleLines()->Text()));
    flag("PrintGraphics", p.PrintGraphics);
    ini.UpdateFile();
}

void TExStringGrid::LoadPrintSettings(const QString& FileName, const QString& Section)
{
    TPrintSettings& p = *FPrintSettings;
    const TMemIniFile ini(FileName);
    auto integer = [&](const char* key, int def) { return ini.ReadInteger(Section, QLatin1String(key), def); };
    auto flag = [&](const char* key, const char* def) {
        return ini.ReadString(Section, QLatin1String(key), QLatin1String(def)) == QLatin1String("Y");
    };
    auto text = [&](const char* key) { return ini.ReadString(Section, QLatin1String(key), QString()); };
    p.ColumnSpacing = integer("ColumnSpacing", 20);
    p.RowSpacing = integer("RowSpacing", 20);
    p.TitleSpacing = integer("TitleSpacing", 20);
    p.FixedHeight = integer("FixedHeight", 0);
    p.FixedWidth = integer("FixedWidth", 0);
    p.Centered = flag("Centered", "Y");
    p.NoAutoSize = flag("NoAutoSize", "N");
    p.UseFixedHeight = flag("UseFixedHeight", "N");
    p.UseFixedWidth = flag("UseFixedWidth", "N");
    p.RepeatFixedRows = flag("RepeatFixedRows", "N");
    p.RepeatFixedCols = flag("RepeatFixedCols", "N");
    p.UseDisplayFont = flag("UseDisplFont", "N");
    p.UseDefaultOrientation = flag("UseDefOrientation", "N");
    ReadOrdinal(ini, Section, "Borders", 8, p.Borders);
    p.BorderColor = TColor(integer("BorderColor", 0));
    ReadOrdinal(ini, Section, "BorderStyle", 6, p.BorderStyle);
    p.Date = ReadPosition(ini, Section, "Date");
    p.PageNr = ReadPosition(ini, Section, "PageNr");
    p.Title = ReadPosition(ini, Section, "Title");
    p.Time = ReadPosition(ini, Section, "Time");
    p.DateFormat = text("DateFormat");
    p.TitleText = text("TitleText");
    p.FooterSize = integer("FooterSize", 100);
    p.HeaderSize = integer("HeaderSize", 100);
    p.LeftSize = integer("LeftSize", 100);
    p.RightSize = integer("RightSize", 100);
    ReadOrdinal(ini, Section, "FitToPage", 4, p.FitToPage);
    ReadFont(ini, Section, QString(), p.Font());
    ReadFont(ini, Section, QStringLiteral("Header"), p.HeaderFont());
    ReadFont(ini, Section, QStringLiteral("Footer"), p.FooterFont());
    p.PageNumSep = text("PageNumSep");
    p.PageSuffix = text("PageSuffix");
    p.PagePrefix = text("PagePrefix");
    ReadOrdinal(ini, Section, "Orientation", 1, p.Orientation);
    p.TitleLines()->SetText(EscapedLineBreaksToCR(text("TitleLines")));
    p.PrintGraphics = flag("PrintGraphics", "N");
}
