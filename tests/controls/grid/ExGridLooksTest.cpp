#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>

#include "common/GridOnForm.h"
#include "controls/base/BaseGrid.h"
#include "controls/base/ExObjOptions.h"
#include "controls/base/ExUtilDraw.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/graphics/DrawText.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/SysUtils.h"

namespace {

// Opens the mouse state and the selected-cells list to the tests.
class TLooksGrid : public TExStringGrid {
public:
    using TExStringGrid::FMouseDown;
    using TExStringGrid::TExStringGrid;
    // A formula's value: 42.
    QString GetCellValueText(int ACol, int ARow) override
    {
        const QString s = GetCellEx(ACol, ARow);
        return s.startsWith(QLatin1Char('=')) ? QStringLiteral("42") : s;
    }
};

using TGrid = TGridOnForm<TLooksGrid>;

// One GetVisualProperties call with its outputs (a displayed column).
struct TVisual {
    TGridDrawState State;
    TBrush Brush;
    TFont Font;
    TColor To = clNone, Mirror = clNone, MirrorTo = clNone;
    TAlignment HA = taLeftJustify;
    TVAlignment VA = TVAlignment::vtaTop;
    bool WW = false;
    TCellGradientDirection GD {};
    void Get(TExStringGrid& g, int c, int r, bool Select = true, TGridDrawState s = {})
    {
        State = s;
        g.GetVisualProperties(c, r, State, false, Select, true, &Brush, To, Mirror, MirrorTo, &Font, HA, VA, WW, GD);
    }
};

TColor Rgb(TColor c)
{
    return c == clNone ? clNone : ColorToRGB(c);
}

// ---------------------------------------------------------------------------
// The style table

TColor ParseColor(const QString& s)
{
    static const std::map<QString, TColor> names = {
        { QStringLiteral("clNone"), clNone },
        { QStringLiteral("clWhite"), clWhite },
        { QStringLiteral("clBlack"), clBlack },
        { QStringLiteral("clBtnFace"), clBtnFace },
        { QStringLiteral("clHighlight"), clHighlight },
        { QStringLiteral("clHighlightText"), clHighlightText },
    };
    const auto it = names.find(s);
    if (it != names.end())
        return it->second;
    bool ok = false;
    const uint v = s.mid(2).toUInt(&ok, 16);
    EXPECT_TRUE(ok && s.startsWith(QStringLiteral("0x"))) << s.toStdString();
    return TColor(v);
}

const std::map<QString, TExGridStyle>& StyleNames()
{
    static const std::map<QString, TExGridStyle> m = {
        { QStringLiteral("gsOffice2003Blue"), TExGridStyle::gsOffice2003Blue },
        { QStringLiteral("gsOffice2003Silver"), TExGridStyle::gsOffice2003Silver },
        { QStringLiteral("gsOffice2003Olive"), TExGridStyle::gsOffice2003Olive },
        { QStringLiteral("gsOffice2003Classic"), TExGridStyle::gsOffice2003Classic },
        { QStringLiteral("gsOffice2007Luna"), TExGridStyle::gsOffice2007Luna },
        { QStringLiteral("gsOffice2007Obsidian"), TExGridStyle::gsOffice2007Obsidian },
        { QStringLiteral("gsWindowsXP"), TExGridStyle::gsWindowsXP },
        { QStringLiteral("gsWhidbey"), TExGridStyle::gsWhidbey },
        { QStringLiteral("gsCustom"), TExGridStyle::gsCustom },
        { QStringLiteral("gsOffice2007Silver"), TExGridStyle::gsOffice2007Silver },
        { QStringLiteral("gsWindowsVista"), TExGridStyle::gsWindowsVista },
        { QStringLiteral("gsWindows7"), TExGridStyle::gsWindows7 },
        { QStringLiteral("gsTerminal"), TExGridStyle::gsTerminal },
        { QStringLiteral("gsOffice2010Blue"), TExGridStyle::gsOffice2010Blue },
        { QStringLiteral("gsOffice2010Silver"), TExGridStyle::gsOffice2010Silver },
        { QStringLiteral("gsOffice2010Black"), TExGridStyle::gsOffice2010Black },
    };
    return m;
}

QString LookId(TGridLook l)
{
    QString s;
    TExStringGrid::LookIdentifier(l, s);
    return s;
}

QString SelectionStyleName(TGridSelectionStyle s)
{
    static const char* const n[] = { "ssDefault", "ssVista", "ssWin7", "ssOffice2007" };
    return QString::fromLatin1(n[int(s)]);
}

// What the grid shows for one column of the table, as colours.
std::vector<TColor> Actual(TLooksGrid& g, const QString& column)
{
    const TControlLook* cl = g.ControlLook();
    const TSortSettings* ss = g.SortSettings();
    const std::map<QString, std::function<std::vector<TColor>()>> read = {
        { "From", [&] { return std::vector<TColor> { g.VRKGradientFrom() }; } },
        { "To", [&] { return std::vector<TColor> { g.VRKGradientTo() }; } },
        { "MirrorFrom", [&] { return std::vector<TColor> { g.VRKGradientMirrorFrom() }; } },
        { "MirrorTo", [&] { return std::vector<TColor> { g.VRKGradientMirrorTo() }; } },
        { "ActiveCellColor", [&] { return std::vector<TColor> { g.ActiveCellColor() }; } },
        { "ActiveCellColorTo", [&] { return std::vector<TColor> { g.ActiveCellColorTo() }; } },
        { "SelectionColor", [&] { return std::vector<TColor> { g.SelectionColor() }; } },
        { "SelectionColorTo", [&] { return std::vector<TColor> { g.SelectionColorTo() }; } },
        { "SelectionTextColor", [&] { return std::vector<TColor> { g.SelectionTextColor() }; } },
        { "GridLineColor", [&] { return std::vector<TColor> { g.GridLineColor() }; } },
        { "GridFixedLineColor", [&] { return std::vector<TColor> { g.GridFixedLineColor() }; } },
        { "FooterColor", [&] { return std::vector<TColor> { g.SearchFooter()->Color() }; } },
        { "FooterColorTo", [&] { return std::vector<TColor> { g.SearchFooter()->ColorTo() }; } },
        { "Hover",
            [&] {
                return std::vector<TColor> { g.VRKGradientHoverFrom(), g.VRKGradientHoverTo(),
                    g.VRKGradientHoverMirrorFrom(), g.VRKGradientHoverMirrorTo(), g.VRKGradientHoverBorder() };
            } },
        { "Down",
            [&] {
                return std::vector<TColor> { g.VRKGradientDownFrom(), g.VRKGradientDownTo(),
                    g.VRKGradientDownMirrorFrom(), g.VRKGradientDownMirrorTo(), g.VRKGradientDownBorder() };
            } },
        { "Sort",
            [&] {
                return std::vector<TColor> { ss->HeaderColor(), ss->HeaderColorTo(), ss->HeaderMirrorColor(),
                    ss->HeaderMirrorColorTo() };
            } },
        { "CL",
            [&] {
                return std::vector<TColor> { cl->FixedGradientFrom(), cl->FixedGradientTo() };
            } },
    };
    const auto it = read.find(column);
    EXPECT_NE(it, read.end()) << column.toStdString();
    return it == read.end() ? std::vector<TColor> {} : it->second();
}

TEST(ExGridLooks, StylesApplyTheirTable)
{
    QFile f(QStringLiteral(MORV_TEST_DATA_DIR "/grid_styles.csv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList header;
    int styles = 0;
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList cells = line.split(QLatin1Char(','));
        if (header.isEmpty()) {
            header = cells;
            continue;
        }
        ASSERT_EQ(cells.size(), header.size()) << line.toStdString();
        const auto style = StyleNames().find(cells[0]);
        ASSERT_NE(style, StyleNames().end()) << cells[0].toStdString();
        TGrid t(5, 5, 300, 200);
        TLooksGrid& g = *t.Grid;
        ASSERT_EQ(g.Look(), TGridLook::glXP);
        g.SetStyle(style->second);
        ++styles;
        for (int i = 1; i < header.size(); ++i) {
            const QString& col = header[i];
            const QString& want = cells[i];
            const std::string where = (cells[0] + QLatin1Char(' ') + col).toStdString();
            if (want == QLatin1String("*"))
                continue;
            if (col == QLatin1String("look")) {
                EXPECT_EQ(LookId(g.Look()), want) << where;
                continue;
            }
            if (col == QLatin1String("SelectionStyle")) {
                EXPECT_EQ(SelectionStyleName(g.SelectionStyle()), want) << where;
                continue;
            }
            const QStringList parts = want.split(QLatin1Char(';'));
            const std::vector<TColor> got = Actual(g, col);
            ASSERT_EQ(got.size(), std::size_t(parts.size())) << where;
            for (int k = 0; k < parts.size(); ++k)
                EXPECT_EQ(Rgb(got[std::size_t(k)]), Rgb(ParseColor(parts[k]))) << where << " #" << k;
        }
    }
    EXPECT_EQ(styles, 16);
}

// ---------------------------------------------------------------------------
// Looks

TEST(ExGridLooks, NestedLookKeepsTheLooksOwnStyleColours)
{
    // Silver switches the look to glOffice2007, whose own style (Luna) runs
    // first: the hover and pressed colours Silver does not name stay Luna's.
    TGrid t(5, 5, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetStyle(TExGridStyle::gsOffice2007Silver);
    EXPECT_EQ(g.VRKGradientHoverFrom(), TColor(0xE4E2DF));
    EXPECT_EQ(g.VRKGradientHoverMirrorTo(), TColor(0xD2C5BC));
    EXPECT_EQ(g.VRKGradientHoverBorder(), TColor(0xB79F87));
    EXPECT_EQ(g.VRKGradientDownFrom(), TColor(0xE4C19D));
    EXPECT_EQ(g.ComponentStyle(), TVRKStyle::tsOffice2007Luna);
    // Silver's own colours win over the nested run.
    EXPECT_EQ(g.VRKGradientFrom(), TColor(0xF3F3F1));
    EXPECT_EQ(g.SelectionColor(), TColor(0x95C7F5));
}

TEST(ExGridLooks, StyleOnItsLookSkipsTheLookReset)
{
    // The grid is glXP already: the glXP reset (selection 0xEACAB6, black
    // text) does not run, the style's reset values stay.
    TGrid t(5, 5, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetSelectionTextColor(clRed);
    g.SetStyle(TExGridStyle::gsOffice2003Blue);
    EXPECT_EQ(g.SelectionTextColor(), clHighlightText);
    EXPECT_EQ(g.SelectionColor(), TColor(0x94E6FB));
}

TEST(ExGridLooks, LookWriter)
{
    TGrid t(5, 5, 300, 200);
    TLooksGrid& g = *t.Grid;

    // Set to itself: nothing is reset.
    g.SetVRKGradientFrom(TColor(0x123456));
    g.SetScrollType(TScrollType::ssFlat);
    g.SetBorderColor(clRed);
    g.SetLook(TGridLook::glXP);
    EXPECT_EQ(g.VRKGradientFrom(), TColor(0x123456));
    EXPECT_EQ(g.ScrollType(), TScrollType::ssFlat);
    EXPECT_EQ(g.BorderColor(), clRed);

    // glCustom keeps every colour; only scroll type and border are reset.
    g.SetVRKGradientMirrorTo(TColor(0x654321));
    g.ControlLook()->SetFixedGradientMirrorFrom(TColor(0x111111));
    g.SortSettings()->SetHeaderColor(TColor(0x222222));
    g.SetBorderStyle(bsNone);
    g.SetLook(TGridLook::glCustom);
    EXPECT_EQ(g.Look(), TGridLook::glCustom);
    EXPECT_EQ(g.VRKGradientFrom(), TColor(0x123456));
    EXPECT_EQ(g.VRKGradientMirrorTo(), TColor(0x654321));
    EXPECT_EQ(g.ControlLook()->FixedGradientMirrorFrom(), TColor(0x111111));
    EXPECT_EQ(g.SortSettings()->HeaderColor(), TColor(0x222222));
    EXPECT_EQ(g.ScrollType(), TScrollType::ssNormal);
    EXPECT_EQ(g.BorderStyle(), bsSingle);
    EXPECT_EQ(g.BorderColor(), TColor(0xB99D7F));

    // A basic look: button-face fixed cells, system selection colours.
    g.SetLook(TGridLook::glSoft);
    EXPECT_EQ(g.FixedColor(), clBtnFace);
    EXPECT_EQ(g.SelectionColor(), clHighlight);
    EXPECT_EQ(g.ActiveCellColor(), TColor(0x808080));
    EXPECT_EQ(g.VRKGradientMirrorTo(), clNone);
    EXPECT_EQ(g.SortSettings()->HeaderColor(), clNone);

    // glVRK: the footer takes the white / button-face gradient the look set
    // on its way, the control look ends on silver.
    g.SetLook(TGridLook::glVRK);
    EXPECT_EQ(g.SearchFooter()->Color(), clWhite);
    EXPECT_EQ(Rgb(g.SearchFooter()->ColorTo()), Rgb(clBtnFace));
    EXPECT_EQ(g.ControlLook()->FixedGradientTo(), TColor(0xC0C0C0));
    EXPECT_EQ(g.VRKGradientTo(), TColor(0xC0C0C0));
    EXPECT_EQ(g.VRKGradientHoverMirrorTo(), TColor(0xABBCBF));
    EXPECT_EQ(g.SelectionTextColor(), clBlack);
}

TEST(ExGridLooks, LookWhileLoadingKeepsStoredColours)
{
    TGrid t(5, 5, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetGridLineColor(clRed);
    g.SetSelectionColor(clLime);
    g.BeginLoading();
    g.SetLook(TGridLook::glStandard);
    g.EndLoading();
    EXPECT_EQ(g.GridLineColor(), clRed);
    EXPECT_EQ(g.SelectionColor(), clLime);
}

TEST(ExGridLooks, LookNames)
{
    const struct {
        TGridLook Look;
        const char* Id;
        const char* Display;
    } cases[] = {
        { TGridLook::glStandard, "glStandard", "Standard" },
        { TGridLook::glXP, "glXP", "Windows XP" },
        { TGridLook::glWin7, "glWin7", "Windows 7" },
        { TGridLook::glOffice2007, "glOffice2007", "Office2007" },
        { TGridLook::glCustom, "keep", "keep" },
    };
    for (const auto& c : cases) {
        QString id = QStringLiteral("keep"), display = QStringLiteral("keep");
        TExStringGrid::LookIdentifier(c.Look, id);
        TExStringGrid::LookDisplayName(c.Look, display);
        EXPECT_EQ(id, QLatin1String(c.Id));
        EXPECT_EQ(display, QLatin1String(c.Display));
    }
}

TEST(ExGridLooks, ComponentStyleAndMetroScrolling)
{
    TGrid t(5, 5, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetScrollType(TScrollType::ssMetro);
    g.SetComponentStyle(TVRKStyle::tsCustom);
    EXPECT_EQ(g.ScrollType(), TScrollType::ssMetro);
    EXPECT_EQ(g.ComponentStyle(), TVRKStyle::tsCustom);
    g.SetComponentStyle(TVRKStyle::tsWhidbey);
    EXPECT_EQ(g.ScrollType(), TScrollType::ssNormal);
    EXPECT_EQ(g.ActiveCellColor(), TColor(0x94E6FB));
}

TEST(ExGridLooks, ColorTones)
{
    TGrid t(5, 5, 300, 200);
    TLooksGrid& g = *t.Grid;
    TColorTones tones;
    tones.Background = { TColor(0xF0F0F0), TColor(0xAAAAAA), TColor(0x101010) };
    tones.Foreground = { TColor(0x646464), TColor(0x333333), TColor(0xFEFEFE) };
    tones.Selected = { TColor(0xC08000), clNone, clWhite };
    tones.Hover = { TColor(0xE0E0E0), clNone, clBlack };
    g.SetColorTones(tones);
    EXPECT_EQ(g.Look(), TGridLook::glClassic);
    EXPECT_TRUE(g.Flat());
    EXPECT_EQ(g.ScrollType(), TScrollType::ssMetro);
    EXPECT_EQ(g.BorderStyle(), bsNone);
    EXPECT_EQ(g.FixedColor(), TColor(0x646464));
    EXPECT_EQ(g.FixedFont()->Color(), TColor(0xFEFEFE));
    EXPECT_EQ(g.Color(), TColor(0xF0F0F0));
    EXPECT_EQ(g.Font()->Color(), TColor(0x101010));
    EXPECT_EQ(g.SelectionColor(), TColor(0xC08000));
    EXPECT_EQ(g.SelectionTextColor(), clWhite);
    EXPECT_EQ(g.GridLineColor(), TColor(0xE6E6E6));
    EXPECT_EQ(g.GridFixedLineColor(), AdjustColorPercent(TColor(0x646464), -20));
    EXPECT_EQ(g.GridFixedLineColor(), TColor(0x505050));
    EXPECT_EQ(g.ControlLook()->ControlStyle(), TGridControlStyle::csGlyph);
    EXPECT_FALSE(g.ControlLook()->CheckedGlyph()->Empty());
    EXPECT_TRUE(g.ControlLook()->FlatButton());
    EXPECT_EQ(g.SearchFooter()->ColorTo(), TColor(0x646464));
    EXPECT_EQ(g.CellNode()->NodeType(), TNodeType::cnFlat);
    EXPECT_EQ(g.ColorTones().Hover.BrushColor, TColor(0xE0E0E0));
    // The classic look paints no fixed-cell gradient.
    TVisual v;
    v.Get(g, 0, 0, false);
    EXPECT_EQ(v.Brush.Color(), TColor(0x646464));
    EXPECT_EQ(v.To, clNone);
}

TEST(ExGridLooks, Themes)
{
    TGrid t(5, 5, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetTheme(TXPColorScheme::vistaAero);
    EXPECT_EQ(g.VRKGradientMirrorTo(), TColor(0xF4F2F1));
    EXPECT_EQ(g.SearchFooter()->ColorTo(), TColor(0xB39698));
    EXPECT_EQ(g.ActiveCellColorTo(), TColor(0x1595EE));
    g.SetTheme(TXPColorScheme::xpNone);
    EXPECT_EQ(g.ActiveCellColorTo(), TColor(0xFFD9B3));
    EXPECT_EQ(g.ControlLook()->FixedGradientFrom(), clNone);
    EXPECT_EQ(g.VRKGradientMirrorFrom(), clNone);
}

TEST(ExGridLooks, AppearanceWriters)
{
    TGrid t(5, 5, 300, 200);
    TLooksGrid& g = *t.Grid;
    const struct {
        int Written, Read;
    } factors[] = { { 150, 100 }, { -5, 0 }, { 37, 37 } };
    for (const auto& f : factors) {
        g.SetSelectionColorMixerFactor(f.Written);
        EXPECT_EQ(g.SelectionColorMixerFactor(), f.Read) << f.Written;
    }

    g.SetOptions(g.Options() & ~TGridOptions(goEditing | goRangeSelect));
    g.SetSpreadSheet(false);
    EXPECT_FALSE(g.SpreadSheet());
    EXPECT_TRUE(g.SelectionRectangle());
    EXPECT_TRUE(g.SelectionResizer());
    EXPECT_TRUE(g.Navigation()->AllowSmartClipboard);
    EXPECT_TRUE(g.Options() & goEditing);
    EXPECT_TRUE(g.Options() & goRangeSelect);
    EXPECT_TRUE(g.MouseActions()->RangeSelectAndEdit);

    const struct {
        TVAlignment V;
        unsigned Flag;
    } valign[] = { { TVAlignment::vtaTop, DT_TOP }, { TVAlignment::vtaCenter, DT_VCENTER },
        { TVAlignment::vtaBottom, DT_BOTTOM } };
    for (const auto& v : valign) {
        g.SetVAlignment(v.V);
        EXPECT_EQ(g.VAlignFlag(), v.Flag);
    }
}

// ---------------------------------------------------------------------------
// Per-cell queries

TEST(ExGridQueries, NoEditorCellNeedsTheEvent)
{
    TGrid t(4, 4, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetDefaultEditor(TEditorType::edNone);
    EXPECT_FALSE(g.IsNoEditorCell(1, 1));
    g.OnGetEditorType = [](TObject*, int ACol, int, TEditorType& E) {
        EXPECT_EQ(E, TEditorType::edNormal);
        if (ACol == 2)
            E = TEditorType::edNone;
    };
    EXPECT_FALSE(g.IsNoEditorCell(1, 1));
    EXPECT_TRUE(g.IsNoEditorCell(2, 1));
}

TEST(ExGridQueries, HintsAndCheckTexts)
{
    TGrid t(4, 4, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.OnGridHint = [](TObject*, int ARow, int ACol, QString& H) { H = QStringLiteral("%1:%2").arg(ACol).arg(ARow); };
    QString wide, hint;
    g.GetCellHint(2, 1, wide, hint);
    EXPECT_EQ(hint, QStringLiteral("2:1"));
    // A wide hint replaces it in the wide-text cell encoding; an empty one does not.
    g.OnGridWideHint = [](TObject*, int ARow, int, QString& H) {
        if (ARow == 1)
            H = QString::fromUtf16(u"\u03A9x");
    };
    g.GetCellHint(2, 1, wide, hint);
    EXPECT_EQ(hint, QStringLiteral("|\\") + QString(QChar(0x03)) + QChar(0xA9) + QChar(0) + QChar('x'));
    wide.clear();
    g.GetCellHint(2, 2, wide, hint);
    EXPECT_EQ(hint, QStringLiteral("2:2"));

    g.SetCheckTrue(QStringLiteral("yes"));
    EXPECT_EQ(g.GetCheckTrue(1, 1), QStringLiteral("yes"));
    g.OnGetCheckFalse = [](TObject*, int ACol, int, QString& V) { V += QString::number(ACol); };
    EXPECT_EQ(g.GetCheckFalse(3, 1), QStringLiteral("N3"));
}

TEST(ExGridQueries, ActiveCellHeaders)
{
    TGrid t(4, 4, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetActiveCellShow(true);
    g.SetActiveCellColor(clYellow);
    g.ActiveCellFont()->SetColor(clRed);
    g.SetCol(2);
    g.SetRow(3);
    const struct {
        int C, R;
        bool Active;
    } cases[] = {
        { 0, 3, true }, // fixed cell of the current row
        { 2, 0, true }, // fixed cell above the current column
        { 0, 2, false },
        { 1, 0, false },
        { 2, 3, false },
        { 0, 0, false },
    };
    for (const auto& c : cases) {
        TBrush b;
        b.SetColor(clWhite);
        TFont f;
        f.SetColor(clBlack);
        g.GetCellColor(c.C, c.R, {}, &b, &f);
        EXPECT_EQ(b.Color() == clYellow, c.Active) << c.C << "," << c.R;
        EXPECT_EQ(f.Color() == clRed, c.Active) << c.C << "," << c.R;
    }
}

TEST(ExGridQueries, CellColorFromProperties)
{
    TGrid t(4, 4, 300, 200);
    TLooksGrid& g = *t.Grid;
    TCellProperties* p = g.GetCellProperties(1, 1);
    p->SetBrushColor(clAqua);
    p->SetFontColor(clRed);
    p->SetFontSize(0); // 0: the font keeps its size
    p->SetFontName(QString());
    TBrush b;
    b.SetColor(clWhite);
    TFont f;
    f.SetSize(11);
    f.SetName(QStringLiteral("Courier"));
    int events = 0;
    g.OnGetCellColor = [&](TObject*, int ARow, int ACol, TGridDrawState, TBrush* B, TFont*) {
        ++events;
        EXPECT_EQ(ACol, 1);
        EXPECT_EQ(ARow, 1);
        EXPECT_EQ(B->Color(), clAqua);
    };
    g.GetCellColor(1, 1, {}, &b, &f);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(f.Color(), clRed);
    EXPECT_EQ(f.Size(), 11);
    EXPECT_EQ(f.Name(), QStringLiteral("Courier"));

    // GetCellFont takes the stored values as they are; reads create nothing.
    TFont* cf = g.GetCellFont(1, 1);
    EXPECT_EQ(cf->Color(), clRed);
    EXPECT_EQ(g.GetCellFont(2, 2), g.Font());
    EXPECT_FALSE(g.HasCellProperties(2, 2));
}

TEST(ExGridQueries, CellColorByCellType)
{
    // Only cells without a control or picture of their own take the
    // properties' brush; every cell takes the properties' font colour.
    TGrid t(4, 4, 300, 200);
    TLooksGrid& g = *t.Grid;
    const struct {
        std::optional<TCellType> Type; // none: no graphic (ctEmpty)
        bool TakesBrush;
    } cases[] = {
        { std::nullopt, true },
        { ctNone, true },
        { ctIcon, true },
        { ctComment, true },
        { ctImages, true },
        { ctCheckBox, false },
        { ctButton, false },
        { ctRotated, false },
        { ctBitmap, false },
    };
    for (const auto& c : cases) {
        g.FreeCellProperties(1, 1);
        if (c.Type)
            g.CreateCellGraphic(1, 1)->SetCellType(*c.Type);
        TCellProperties* p = g.GetCellProperties(1, 1);
        p->SetBrushColor(clAqua);
        p->SetFontColor(clRed);
        TBrush b;
        b.SetColor(clWhite);
        TFont f;
        g.GetCellColor(1, 1, {}, &b, &f);
        const int type = c.Type ? int(*c.Type) : -1;
        EXPECT_EQ(b.Color() == clAqua, c.TakesBrush) << type;
        EXPECT_EQ(f.Color(), clRed) << type;
    }
}

TEST(ExGridQueries, HeaderAndSummaryBorders)
{
    TGrid t(4, 6, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetFixedRows(1);
    g.Grouping()->HeaderUnderline = true;
    g.Grouping()->HeaderLineColor = clRed;
    g.Grouping()->HeaderLineWidth = 3;
    g.Grouping()->SummaryLine = true;
    g.Grouping()->SummaryLineColor = clGreen;
    g.Grouping()->SummaryLineWidth = 4;
    g.AddNode(1, 3);
    g.CreateCellGraphic(0, 4)->SetCellType(ctSummary);
    using B = TExStringGrid::TCellBorders;
    const struct {
        int C, R;
        B Want;
        TColor Pen;
        int Width;
    } cases[] = {
        { 1, 1, B(TCellBorder::cbBottom), clRed, 3 }, // group header row
        { 0, 1, B(TCellBorder::cbLeft), clBlack, 1 }, // column 0 keeps its borders
        { 2, 4, B(TCellBorder::cbTop), clGreen, 4 }, // summary row
        { 2, 2, B(TCellBorder::cbLeft), clBlack, 1 },
    };
    int events = 0;
    g.OnGetCellBorder = [&](TObject*, int, int, TPen*, B&) { ++events; };
    for (const auto& c : cases) {
        TPen pen;
        pen.SetColor(clBlack);
        pen.SetWidth(1);
        B borders = TCellBorder::cbLeft;
        g.GetCellBorder(c.C, c.R, &pen, borders);
        EXPECT_EQ(borders, c.Want) << c.C << "," << c.R;
        EXPECT_EQ(pen.Color(), c.Pen) << c.C << "," << c.R;
        EXPECT_EQ(pen.Width(), c.Width) << c.C << "," << c.R;
    }
    EXPECT_EQ(events, 4);
}

TEST(ExGridQueries, IsFixedCell)
{
    TGrid t(4, 4, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetFixedRows(1);
    g.SetFixedCols(1);
    int events = 0;
    g.OnIsFixedCell = [&](TObject*, int ARow, int ACol, bool& F) {
        ++events;
        F = ACol == 3 && ARow == 3;
    };
    const struct {
        int C, R;
        bool Fixed;
        int Events;
    } cases[] = {
        { 0, 2, true, 0 },
        { 2, 0, true, 0 },
        { 2, 2, false, 1 },
        { 3, 3, true, 1 },
    };
    for (const auto& c : cases) {
        events = 0;
        bool fixed = false;
        g.IsFixedCell(c.C, c.R, fixed);
        EXPECT_EQ(fixed, c.Fixed) << c.C << "," << c.R;
        EXPECT_EQ(events, c.Events) << c.C << "," << c.R;
    }
    bool already = true;
    g.IsFixedCell(2, 2, already);
    EXPECT_TRUE(already);
}

TEST(ExGridQueries, CanEditCellAsksAboutTheBaseCell)
{
    TGrid t(5, 5, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetOptions(g.Options() | goEditing);
    g.MergeCells(1, 1, 2, 2);
    std::vector<TPoint> asked;
    g.OnCanEditCell = [&](TObject*, int ARow, int ACol, bool&) { asked.push_back(TPoint(ACol, ARow)); };
    bool can = true;
    g.CanEditCell(2, 2, can);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], TPoint(1, 1));
    EXPECT_TRUE(can);

    // A read-only base cell makes the whole area read-only; without goEditing
    // any cell with properties is.
    g.GetCellProperties(1, 1)->SetReadOnly(true);
    can = true;
    g.CanEditCell(2, 1, can);
    EXPECT_FALSE(can);
    g.GetCellProperties(3, 3)->SetReadOnly(false);
    g.SetOptions(g.Options() & ~TGridOptions(goEditing));
    can = true;
    g.CanEditCell(3, 3, can);
    EXPECT_FALSE(can);
    g.MouseActions()->RangeSelectAndEdit = true;
    can = true;
    g.CanEditCell(3, 3, can);
    EXPECT_TRUE(can);
}

TEST(ExGridQueries, SpinAndComboButtons)
{
    TGrid t(4, 4, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetFixedRows(1);
    g.SetFixedCols(1);
    g.OnHasSpinEdit = [](TObject*, int, int, bool& Has) { Has = true; };
    EXPECT_FALSE(g.HasSpinEdit(0, 2));
    EXPECT_FALSE(g.HasSpinEdit(2, 0));
    EXPECT_TRUE(g.HasSpinEdit(2, 2));

    g.OnHasSpinEdit = nullptr;
    EXPECT_FALSE(g.HasSpinEdit(2, 2));
    g.ControlLook()->SetSpinButtonsAlwaysVisible(true);
    g.ControlLook()->SetDropDownAlwaysVisible(true);
    g.SetDefaultEditor(TEditorType::edFloatSpinEdit);
    EXPECT_TRUE(g.HasSpinEdit(2, 2));
    EXPECT_FALSE(g.HasComboBox(2, 2));
    g.SetDefaultEditor(TEditorType::edComboList);
    EXPECT_FALSE(g.HasSpinEdit(2, 2));
    EXPECT_TRUE(g.HasComboBox(2, 2));
}

TEST(ExGridQueries, ColumnFilterValues)
{
    TGrid t(3, 7, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetFixedRows(1);
    g.SetFixedCols(1);
    const QStringList texts = { "beta", "Alpha", " two words ", "ALPHA", "beta", "gamma" };
    for (int r = 1; r < 7; ++r)
        g.SetCells(1, r, texts[r - 1]);

    // Off, without a handler: empty.
    EXPECT_FALSE(g.GetColumnFilterValues(1));
    EXPECT_EQ(g.FilterList()->Count(), 0);

    g.SetFilterDropDownAuto(true);
    g.HideRow(6); // "gamma" is kept aside and still listed
    g.SetCells(2, 1, QStringLiteral("x"));
    ASSERT_TRUE(g.GetColumnFilterValues(1));
    const QStringList want = { "(All)", "Alpha", "beta", "gamma", "two words=\"two words\"" };
    QStringList got;
    for (int i = 0; i < g.FilterList()->Count(); ++i)
        got << g.FilterList()->Strings(i);
    EXPECT_EQ(got, want);

    // A hidden row's texts end before a later column: it lists as "".
    ASSERT_TRUE(g.GetColumnFilterValues(2));
    EXPECT_TRUE(g.FilterList()->IndexOf(QString()) >= 0);

    // Fixed columns only with fdAll; the handler runs in every case.
    int handled = 0;
    g.OnGetColumnFilter = [&](TObject*, int Column, TStringList* L) {
        ++handled;
        EXPECT_EQ(Column, 0);
        L->Add(QStringLiteral("own"));
    };
    ASSERT_TRUE(g.GetColumnFilterValues(0));
    EXPECT_EQ(g.FilterList()->Count(), 1);
    EXPECT_EQ(handled, 1);
}

// ---------------------------------------------------------------------------
// Colour resolution

TEST(ExGridVisual, FixedCellsAndLookGradient)
{
    TGrid t(4, 4, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetFixedRows(1);
    g.SetFixedCols(1);
    g.SetFixedColor(clGray);
    g.SetVRKGradientFrom(TColor(0x111111));
    g.SetVRKGradientTo(TColor(0x222222));
    TVisual v;
    // A fixed cell with its own colour and no graphic keeps it.
    g.GetCellProperties(0, 2)->SetBrushColor(clAqua);
    v.Get(g, 0, 2);
    EXPECT_EQ(v.Brush.Color(), clAqua);
    EXPECT_FALSE(v.State.testFlag(gdFixed));
    // Without one: the look's gradient for glXP, FixedColor for glStandard.
    v.Get(g, 0, 3);
    EXPECT_EQ(v.Brush.Color(), TColor(0x111111));
    EXPECT_EQ(v.To, TColor(0x222222));
    EXPECT_TRUE(v.State.testFlag(gdFixed));
    g.SetLook(TGridLook::glCustom); // counts as a gradient look
    v.Get(g, 0, 3);
    EXPECT_EQ(v.Brush.Color(), TColor(0x111111));
    g.SetLook(TGridLook::glStandard);
    g.SetFixedColor(clGray);
    v.Get(g, 0, 3);
    EXPECT_EQ(v.Brush.Color(), clGray);
    EXPECT_EQ(v.To, clNone);
    EXPECT_EQ(v.Font.Name(), g.FixedFont()->Name());
}

TEST(ExGridVisual, OwnColourByCellType)
{
    TGrid t(4, 4, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetFixedCols(1);
    g.SetFixedRows(1);
    g.SetColor(clWhite);
    g.SetFixedColor(clGray);
    g.SetVRKGradientFrom(TColor(0x111111));
    const struct {
        int C, R;
        TCellType Type;
        TColor Own;
        TColor Want;
        bool Fixed;
    } cases[] = {
        { 2, 2, ctCheckBox, clAqua, clAqua, false }, // a control's own colour is kept
        { 2, 2, ctCheckBox, clNone, clWhite, false }, // without one: the grid colour
        { 0, 2, ctCheckBox, clNone, TColor(0x111111), true }, // fixed: the look's gradient
        { 0, 2, ctRotated, clAqua, clAqua, false }, // final: not even a fixed cell changes it
        { 0, 2, ctBitmap, clAqua, TColor(0x111111), true }, // plain: the fixed look wins
        { 2, 2, ctBitmap, clAqua, clAqua, false },
    };
    TVisual v;
    for (const auto& c : cases) {
        g.FreeCellProperties(c.C, c.R);
        g.CreateCellGraphic(c.C, c.R)->SetCellType(c.Type);
        g.GetCellProperties(c.C, c.R)->SetBrushColor(c.Own);
        v.Get(g, c.C, c.R, false);
        EXPECT_EQ(v.Brush.Color(), c.Want) << int(c.Type) << " at " << c.C;
        EXPECT_EQ(v.State.testFlag(gdFixed), c.Fixed) << int(c.Type) << " at " << c.C;
    }
}

TEST(ExGridVisual, ReadsCreateNoCellProperties)
{
    TGrid t(4, 4, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetAutoNumAlign(true);
    g.SetActiveCellShow(true);
    g.SetCells(2, 2, QStringLiteral("12"));
    TVisual v;
    TGridDrawState st;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            v.Get(g, c, r);
            g.GetFontProperties(c, c, r, st, &v.Font, &v.Brush, true);
            (void)g.GetCellFont(c, r);
            bool can = true;
            g.CanEditCell(c, r, can);
        }
    EXPECT_FALSE(g.HasCellProps());
}

TEST(ExGridVisual, HiddenColumnsResolveTheRealCell)
{
    TGrid t(5, 4, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetColor(clWhite);
    g.GetCellProperties(3, 2)->SetBrushColor(clAqua);
    g.GetCellProperties(3, 2)->SetAlignment(taRightJustify);
    g.HideColumn(2);
    std::vector<int> cols;
    g.OnGetCellColor = [&](TObject*, int, int ACol, TGridDrawState, TBrush*, TFont*) { cols.push_back(ACol); };
    g.OnGetWordWrap = [&](TObject*, int ACol, int, bool&) { cols.push_back(ACol); };
    TVisual v;
    v.Get(g, 2, 2, false); // displayed column 2 is real column 3
    EXPECT_EQ(v.Brush.Color(), clAqua);
    EXPECT_EQ(v.HA, taRightJustify);
    EXPECT_EQ(cols, (std::vector<int> { 3, 3 }));
}

TEST(ExGridVisual, Bands)
{
    TGrid t(3, 8, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetFixedRows(1);
    g.SetFixedCols(1);
    g.SetColor(clWhite);
    g.SetFixedFooters(1);
    g.Bands()->SetPrimaryColor(clYellow);
    g.Bands()->SetSecondaryColor(clLime);
    g.Bands()->SetPrimaryLength(2);
    g.Bands()->SetSecondaryLength(1);
    g.Bands()->SetActive(true);
    g.SetSelection(TGridRect { 2, 0, 2, 0 });
    TVisual v;
    const TColor want[] = { clYellow, clYellow, clLime, clYellow, clYellow, clLime };
    for (int r = 1; r <= 6; ++r) {
        v.Get(g, 1, r, false);
        EXPECT_EQ(v.Brush.Color(), want[r - 1]) << r;
    }
    v.Get(g, 1, 7, false); // footer row
    EXPECT_EQ(v.Brush.Color(), g.FixedColor());
    // No band length at all: the grid colour, no division by zero.
    g.Bands()->SetPrimaryLength(0);
    g.Bands()->SetSecondaryLength(0);
    ASSERT_EQ(g.Bands()->TotalLength(), 0);
    v.Get(g, 1, 2, false);
    EXPECT_EQ(v.Brush.Color(), clWhite);
}

TEST(ExGridVisual, MixerRounding)
{
    const struct {
        TColor Sel, Cell;
        bool Mixer;
        int Factor;
        TColor Want;
    } cases[] = {
        { RGB(200, 100, 0), RGB(100, 0, 255), true, 50, RGB(150, 50, 128) }, // 127.5 -> 128 (even)
        { RGB(1, 3, 5), RGB(0, 0, 0), true, 50, RGB(0, 2, 2) }, // 0.5 -> 0, 1.5 -> 2, 2.5 -> 2
        { RGB(200, 100, 0), RGB(100, 0, 255), true, 100, RGB(200, 100, 0) },
        { RGB(200, 100, 0), RGB(100, 0, 255), true, 0, RGB(100, 0, 255) },
        { RGB(200, 100, 0), clNone, true, 50, RGB(200, 100, 0) },
        { clNone, RGB(100, 0, 255), true, 50, RGB(100, 0, 255) },
        { RGB(200, 100, 0), RGB(100, 0, 255), false, 50, RGB(200, 100, 0) },
        { RGB(255, 255, 255), RGB(255, 255, 255), true, 99, RGB(255, 255, 255) },
    };
    for (const auto& c : cases)
        EXPECT_EQ(TExStringGrid::MixSelectionColor(c.Sel, c.Cell, c.Mixer, c.Factor), c.Want)
            << std::hex << c.Sel << " " << c.Cell << " " << c.Factor;
}

TEST(ExGridVisual, RangeSelectionMixesOwnColours)
{
    TGrid t(4, 4, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetColor(clWhite);
    g.SetSelectionColor(RGB(0, 0, 200));
    g.SetSelectionTextColor(clYellow);
    g.SetSelectionColorMixer(true);
    g.SetSelectionColorMixerFactor(50);
    g.SetOptions(g.Options() | goRangeSelect);
    g.SetSelection(TGridRect { 1, 1, 2, 2 });
    g.GetCellProperties(2, 2)->SetBrushColor(RGB(100, 100, 100));
    TVisual v;
    v.Get(g, 1, 1); // the grid colour: pure selection colour
    EXPECT_EQ(v.Brush.Color(), RGB(0, 0, 200));
    EXPECT_EQ(v.Font.Color(), clYellow);
    EXPECT_TRUE(v.State.testFlag(gdSelected));
    v.Get(g, 2, 2); // its own colour keeps a tint
    EXPECT_EQ(v.Brush.Color(), RGB(50, 50, 150));
    v.Get(g, 3, 3);
    EXPECT_EQ(v.Brush.Color(), clWhite);
    EXPECT_FALSE(v.State.testFlag(gdSelected));
    // Not asked to select (the content painter): no selection colours.
    v.Get(g, 1, 1, false);
    EXPECT_EQ(v.Brush.Color(), clWhite);
}

TEST(ExGridVisual, DisjunctRowsMouseHeldAndLighter)
{
    TGrid t(4, 6, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetColor(clWhite);
    g.SetSelectionColor(RGB(100, 150, 200));
    g.MouseActions()->SetDisjunctRowSelect(true);
    g.SetRow(2);
    g.SetRowSelect(2, true);
    g.SetRowSelect(4, true);
    TVisual v;
    // A selected row other than the current one is 7 % lighter.
    v.Get(g, 1, 4);
    EXPECT_EQ(v.State, TGridDrawState(gdSelected));
    EXPECT_EQ(v.Brush.Color(), AdjustColorPercent(RGB(100, 150, 200), 7));
    EXPECT_EQ(v.Brush.Color(), RGB(107, 160, 214)); // 160.5 rounds to even
    // The current selected row: plain selection colour.
    v.Get(g, 1, 2);
    EXPECT_EQ(v.Brush.Color(), RGB(100, 150, 200));
    // Pressing the mouse on the selected current row shows it unselected.
    g.FMouseDown = true;
    v.Get(g, 1, 2);
    EXPECT_FALSE(v.State.testFlag(gdSelected));
    EXPECT_EQ(v.Brush.Color(), clWhite);
    // An unselected row the mouse is selecting shows selected.
    v.Get(g, 1, 3, true, gdSelected);
    EXPECT_TRUE(v.State.testFlag(gdSelected));
    g.FMouseDown = false;
    v.Get(g, 1, 3, true, gdSelected);
    EXPECT_FALSE(v.State.testFlag(gdSelected));
    // With a gradient selection colour nothing is lightened.
    g.SetSelectionColorTo(clBlue);
    v.Get(g, 1, 4);
    EXPECT_EQ(v.Brush.Color(), RGB(100, 150, 200));
}

TEST(ExGridVisual, DisjunctCellsAndDisabledFont)
{
    TGrid t(4, 4, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetColor(clWhite);
    g.SetSelectionColor(clNavy);
    g.MouseActions()->SetDisjunctCellSelect(true);
    g.SetSelectedCells(2, 3, true);
    g.SetCol(1);
    g.SetRow(1);
    TVisual v;
    v.Get(g, 2, 3);
    EXPECT_EQ(v.Brush.Color(), clNavy);
    // The current cell, not in the list, shows unselected.
    v.Get(g, 1, 1, true, gdSelected);
    EXPECT_FALSE(v.State.testFlag(gdSelected));
    EXPECT_EQ(v.Brush.Color(), clWhite);

    g.SetDisabledFontColor(clGray);
    g.SetRowEnabled(2, false);
    v.Get(g, 3, 2);
    EXPECT_EQ(v.Font.Color(), clGray);
    v.Get(g, 3, 3);
    EXPECT_NE(v.Font.Color(), clGray);
    g.SetEnabled(false);
    v.Get(g, 3, 2);
    EXPECT_EQ(v.Font.Color(), clGray);
}

TEST(ExGridVisual, GradientEventAndDrawDefaults)
{
    TGrid t(4, 4, 300, 200);
    TLooksGrid& g = *t.Grid;
    g.SetColor(clWhite);
    g.OnGetCellGradient = [](TObject*, int, int, TColor& C, TColor& To, TColor&, TColor&, TCellGradientDirection& GD) {
        C = clLime;
        To = clGreen;
        GD = TCellGradientDirection::GradientHorizontal;
    };
    TVisual v;
    v.Get(g, 2, 2);
    EXPECT_EQ(v.Brush.Color(), clLime);
    EXPECT_EQ(v.To, clGreen);
    EXPECT_EQ(v.GD, TCellGradientDirection::GradientHorizontal);
    g.OnGetCellGradient = nullptr;

    // New properties of a normal cell take its colour; with bands on they
    // carry none, so the bands show through.
    EXPECT_EQ(g.GetCellProperties(2, 2)->BrushColor(), clWhite);
    g.Bands()->SetActive(true);
    EXPECT_EQ(g.GetCellProperties(3, 3)->BrushColor(), clNone);
}

TEST(ExGridVisual, AutoNumAlign)
{
    TGrid t(3, 10, 300, 200);
    TLooksGrid& g = *t.Grid;
    ResetFormatSettings(); // "." is the decimal separator
    g.SetAutoNumAlign(true);
    const struct {
        const char* Text;
        TAlignment Want;
    } cases[] = {
        { "12", taRightJustify },
        { "-3.5", taRightJustify },
        { "1E5", taRightJustify },
        { " 12 ", taRightJustify },
        { "12 kg", taLeftJustify },
        { "abc", taLeftJustify },
        { "", taLeftJustify },
    };
    int r = 1;
    for (const auto& c : cases) {
        g.SetCells(1, r, QString::fromLatin1(c.Text));
        EXPECT_EQ(TAlignment(g.ResolveCellAlignment(1, r) & 0xFF), c.Want) << c.Text;
        ++r;
    }
    // A cell's own alignment wins, except for a formula, which is aligned by
    // its value.
    g.SetCells(1, 8, QStringLiteral("12"));
    g.GetCellProperties(1, 8)->SetAlignment(taCenter);
    EXPECT_EQ(TAlignment(g.ResolveCellAlignment(1, 8) & 0xFF), taCenter);
    g.SetCells(1, 9, QStringLiteral("=A1+1"));
    g.GetCellProperties(1, 9)->SetAlignment(taCenter);
    EXPECT_EQ(TAlignment(g.ResolveCellAlignment(1, 9) & 0xFF), taRightJustify);
    // Vertical alignment in the high byte; the event sees the real column.
    g.SetVAlignment(TVAlignment::vtaBottom);
    g.OnGetAlignment = [](TObject*, int, int ACol, TAlignment& H, TVAlignment&) {
        if (ACol == 2)
            H = taCenter;
    };
    const int packed = g.ResolveCellAlignment(2, 1);
    EXPECT_EQ(TAlignment(packed & 0xFF), taCenter);
    EXPECT_EQ(TVAlignment(packed >> 8), TVAlignment::vtaBottom);
}

} // namespace
