// The grid's settings objects: their defaults, what each Assign copies and
// keeps, and which writes repaint the grid or announce themselves.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "common/GridOnForm.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/runtime/Exceptions.h"

namespace {

// Counts the live instances, so a test can tell what was freed.
class TLiveObject : public TObject {
public:
    explicit TLiveObject(int& Live)
        : FLive(Live)
    {
        ++FLive;
    }
    ~TLiveObject() override { --FLive; }

private:
    int& FLive;
};

// A grid that counts its repaints and stands in for the drop unit.
class TProbeGrid : public TExStringGrid {
public:
    using TExStringGrid::FFooterPanel;
    using TExStringGrid::FHideLastRow;
    using TExStringGrid::FOleDropTargetAssigned;
    using TExStringGrid::TExStringGrid;

    void Invalidate() override
    {
        ++Invalidates;
        TExStringGrid::Invalidate();
    }
    std::unique_ptr<TObject> CreateGridDropTarget() override { return std::make_unique<TLiveObject>(*LiveTargets); }
    bool RegisterGridDropTarget(TObject*) override
    {
        ++Registrations;
        return true;
    }
    void RevokeGridDropTarget() override { ++Revocations; }

    int Invalidates = 0;
    int Registrations = 0;
    int Revocations = 0;
    int* LiveTargets = nullptr;
};

class TCountingPanel : public TPanel {
public:
    using TPanel::TPanel;
    void Invalidate() override
    {
        ++Invalidates;
        TPanel::Invalidate();
    }
    int Invalidates = 0;
};

struct GridOptionsFixture : TGridOnForm<TProbeGrid> {
    GridOptionsFixture()
        : TGridOnForm(4, 6, 300, 160)
    {
    }
};

std::unique_ptr<TBitmap> Picture(int w, int h, TColor c)
{
    auto bmp = std::make_unique<TBitmap>(w, h);
    bmp->Canvas()->Brush()->SetColor(c);
    bmp->Canvas()->FillRect(TRect(0, 0, w, h));
    return bmp;
}

} // namespace

TEST(ExGridOptions, DefaultsOfTheNodeColumnHtmlAndPrintOptions)
{
    GridOptionsFixture f;
    TCellNode node(f.Grid);
    EXPECT_EQ(node.Color, TColor(0xC0C0C0));
    EXPECT_FALSE(node.ExpandOne);
    EXPECT_EQ(node.NodeType(), TNodeType::cnXP);
    EXPECT_EQ(node.NodeColor, TColor(0));
    EXPECT_EQ(node.NodeIndent(), 12);
    EXPECT_TRUE(node.ExpandGlyph()->Empty());
    EXPECT_TRUE(node.ContractGlyph()->Empty());
    EXPECT_TRUE(node.ShowTree());
    EXPECT_TRUE(node.ShowTreeFull());
    EXPECT_EQ(node.TreeColor(), TColor(0x808080));

    TSizeWhileTyping typing;
    EXPECT_FALSE(typing.Height);
    EXPECT_FALSE(typing.Width);

    TColumnSize cs(f.Grid);
    EXPECT_FALSE(cs.Save);
    EXPECT_TRUE(cs.Key.isEmpty());
    EXPECT_TRUE(cs.Section.isEmpty());
    EXPECT_FALSE(cs.Stretch());
    EXPECT_EQ(cs.StretchColumn, -1);
    EXPECT_FALSE(cs.SynchWithGrid);
    EXPECT_FALSE(cs.SynchNormalCellsOnly);
    EXPECT_EQ(cs.Location, TColumnSizeLocation::clRegistry);
    EXPECT_EQ(cs.Rows, TAutoSizeRows::arAll);

    THTMLSettings html;
    EXPECT_FALSE(html.AutoPreview);
    EXPECT_FALSE(html.ConvertSpecialChars);
    EXPECT_FALSE(html.NonBreakingText);
    EXPECT_TRUE(html.SaveColor);
    EXPECT_TRUE(html.SaveFonts);
    EXPECT_TRUE(html.FooterFile.isEmpty() && html.HeaderFile.isEmpty());
    EXPECT_EQ(html.BorderSize, 1);
    EXPECT_EQ(html.CellSpacing, 0);
    EXPECT_EQ(html.CellPadding, 0);
    EXPECT_TRUE(
        html.TableStyle.isEmpty() && html.PrefixTag.isEmpty() && html.SuffixTag.isEmpty() && html.Summary.isEmpty());
    EXPECT_EQ(html.Width, 100);
    EXPECT_FALSE(html.XHTML);
    EXPECT_TRUE(html.ExportImages);
    EXPECT_EQ(html.ColWidths()->Count(), 0);

    TPrintSettings ps(f.Grid);
    for (int size : { ps.FooterSize, ps.HeaderSize, ps.LeftSize, ps.RightSize, ps.ColumnSpacing, ps.RowSpacing,
             ps.TitleSpacing, ps.PageNumberOffset, ps.MaxPagesOffset, ps.FixedWidth, ps.FixedHeight })
        EXPECT_EQ(size, 0);
    for (TPrintPosition pos : { ps.Time, ps.Date, ps.PageNr, ps.Title })
        EXPECT_EQ(pos, TPrintPosition::ppNone);
    EXPECT_EQ(ps.DateFormat, "dd/mm/yyyy");
    EXPECT_EQ(ps.PageNumSep, "/");
    EXPECT_TRUE(ps.TitleText.isEmpty() && ps.PagePrefix.isEmpty() && ps.PageSuffix.isEmpty() && ps.JobName.isEmpty());
    EXPECT_EQ(ps.TitleLines()->Count(), 0);
    const TFont platformFont;
    for (TFont* font : { ps.Font(), ps.FixedFont(), ps.HeaderFont(), ps.FooterFont() })
        EXPECT_TRUE(font->SameAs(platformFont));
    EXPECT_EQ(ps.Borders, TPrintBorders::pbSingle);
    EXPECT_EQ(ps.BorderStyle, TPenStyle::psSolid);
    EXPECT_EQ(ps.BorderColor, clBlack);
    EXPECT_TRUE(ps.Centered);
    EXPECT_FALSE(ps.RepeatFixedRows || ps.RepeatFixedCols);
    EXPECT_EQ(ps.Orientation, TPrinterOrientation::poPortrait);
    EXPECT_FALSE(ps.UseFixedWidth || ps.UseFixedHeight);
    EXPECT_EQ(ps.FitToPage, TFitToPage::fpNever);
    EXPECT_FALSE(ps.NoAutoSize || ps.NoAutoSizeRow || ps.PrintGraphics);
    EXPECT_TRUE(ps.UseDisplayFont);
    EXPECT_FALSE(ps.UseDefaultOrientation);
    EXPECT_FALSE(ps.FixedCellsAlways);
}

TEST(ExGridOptions, DefaultsOfTheGridSettings)
{
    GridOptionsFixture f;
    TGrouping g;
    EXPECT_FALSE(g.MergeHeader || g.MergeSummary || g.Summary || g.HeaderUnderline || g.SummaryLine || g.ShowGroupCount
        || g.AutoSelectGroup || g.AutoCheckGroup);
    for (TColor c :
        { g.HeaderColor, g.SummaryColor, g.HeaderColorTo, g.HeaderTextColor, g.SummaryTextColor, g.SummaryColorTo })
        EXPECT_EQ(c, clNone);
    EXPECT_EQ(g.SummaryLineWidth, 2);
    EXPECT_EQ(g.HeaderLineWidth, 2);
    EXPECT_EQ(g.SummaryLineColor, clBlue);
    EXPECT_EQ(g.HeaderLineColor, clBlue);
    EXPECT_TRUE(g.GroupCountFormat.isEmpty());

    TDragDropSettings dd(f.Grid);
    EXPECT_TRUE(dd.OleAcceptText && dd.OleAcceptFiles && dd.OleAcceptURLs && dd.ShowCells);
    EXPECT_FALSE(dd.OleDropRTF() || dd.OleEntireRows || dd.OleDropSource || dd.OleRemoveRows || dd.OleDropTarget()
        || dd.OleInsertRows || dd.OleAppendRows || dd.OleCopyAlways || dd.OleColumnDragDrop || dd.OleColumnReorder
        || dd.OleColumnsOnly);

    TBalloonSettings b;
    EXPECT_FALSE(b.FInit);
    EXPECT_EQ(b.BackgroundColor, clNone);
    EXPECT_EQ(b.TextColor, clNone);
    EXPECT_EQ(b.ReshowDelay, -1);
    EXPECT_EQ(b.InitialDelay, -1);
    EXPECT_EQ(b.AutoHideDelay, -1);
    EXPECT_EQ(b.Transparency, 0);
    EXPECT_FALSE(b.Enable());

    TShowModified sm;
    EXPECT_FALSE(sm.Enabled);
    EXPECT_EQ(sm.Color(), clYellow);

    TDragScrollOptions ds;
    EXPECT_FALSE(ds.Active);
    EXPECT_EQ(ds.Delays()->InitialDelay, 1000);
    EXPECT_EQ(ds.Delays()->RepeatDelay, 250);
    for (int m :
        { ds.Margins()->TopMargin, ds.Margins()->BottomMargin, ds.Margins()->LeftMargin, ds.Margins()->RightMargin })
        EXPECT_EQ(m, 50);

    TGridProgressAppearance pa;
    EXPECT_EQ(pa.UnCompleteFontColor(), clWindowText);
    EXPECT_EQ(pa.CompleteColor(), clRed);
    EXPECT_EQ(pa.UnCompleteColor(), clNone);
    EXPECT_EQ(pa.CompleteFontColor(), clBlue);
    EXPECT_FALSE(pa.Stacked() || pa.ShowBorder());
    EXPECT_TRUE(pa.ShowPercentage() && pa.CompletionSmooth() && pa.ShowGradient());
    EXPECT_EQ(pa.Level2Perc(), 90);
    EXPECT_EQ(pa.Level1Perc(), 70);
    EXPECT_EQ(pa.Steps(), 11);
    EXPECT_EQ(pa.Level0Color(), clLime);
    EXPECT_EQ(pa.Level1Color(), clYellow);
    EXPECT_EQ(pa.Level2Color(), TColor(0x53A9FF));
    EXPECT_EQ(pa.Level3Color(), clRed);
    EXPECT_EQ(pa.Level0ColorTo(), TColor(0xE1FFE1));
    EXPECT_EQ(pa.Level1ColorTo(), TColor(0xCAFFFF));
    EXPECT_EQ(pa.Level2ColorTo(), TColor(0xA8D3FF));
    EXPECT_EQ(pa.Level3ColorTo(), TColor(0xCACAFF));
    EXPECT_EQ(pa.BorderColor(), clBlack);
    EXPECT_EQ(pa.Style(), TProgressStyle::psXP);

    TFloatingFooter ff(f.Grid);
    EXPECT_EQ(ff.Height(), 0);
    EXPECT_FALSE(ff.Visible());
    EXPECT_EQ(ff.Color(), clBtnFace);
    EXPECT_EQ(ff.FooterStyle(), TFooterStyle::fsFixedLastRow);
    EXPECT_EQ(ff.Column(), 0);
    EXPECT_TRUE(ff.CustomTemplate().isEmpty());
    EXPECT_TRUE(ff.CalculateHiddenRows);
    EXPECT_TRUE(ff.EnableCalculation);
    EXPECT_FALSE(ff.ShowHint());
    EXPECT_EQ(ff.BorderColor(), clNone);

    TFilterDropDown fd;
    EXPECT_FALSE(fd.AutoSize);
    EXPECT_EQ(fd.Height, 150);
    EXPECT_EQ(fd.Width, 150);
    EXPECT_EQ(fd.Color, clWindow);
    EXPECT_FALSE(fd.ColumnWidth);
    EXPECT_TRUE(fd.Font()->SameAs(TFont()));
    EXPECT_TRUE(fd.Glyph()->Empty() && fd.GlyphActive()->Empty());
}

// Each object copies its settings and keeps the ones its Assign leaves out.
TEST(ExGridOptions, AssignCopiesAllButItsOmissions)
{
    GridOptionsFixture f;
    const auto red = Picture(5, 4, clRed);

    {
        TCellNode src(f.Grid), dst(f.Grid);
        src.Color = clRed;
        src.NodeColor = clBlue;
        src.ExpandOne = true;
        src.SetNodeType(TNodeType::cnGlyph);
        src.SetShowTree(false);
        src.SetShowTreeFull(false);
        src.SetTreeColor(clLime);
        src.SetNodeIndent(20);
        src.SetExpandGlyph(red.get());
        src.SetContractGlyph(red.get());
        dst.Assign(&src);
        EXPECT_EQ(dst.Color, clRed);
        EXPECT_EQ(dst.NodeColor, clBlue);
        EXPECT_TRUE(dst.ExpandOne);
        EXPECT_EQ(dst.NodeType(), TNodeType::cnGlyph);
        EXPECT_FALSE(dst.ShowTree() || dst.ShowTreeFull());
        EXPECT_EQ(dst.TreeColor(), clLime);
        EXPECT_EQ(dst.NodeIndent(), 20);
        EXPECT_EQ(dst.ExpandGlyph()->ToImage(), red->ToImage());
        EXPECT_EQ(dst.ContractGlyph()->ToImage(), red->ToImage());
    }
    {
        TColumnSize src(f.Grid), dst(f.Grid);
        src.Save = true;
        src.Key = "k.ini";
        src.Section = "S";
        src.SetStretch(true);
        src.StretchColumn = 2;
        src.SynchWithGrid = true;
        src.SynchNormalCellsOnly = true;
        src.Location = TColumnSizeLocation::clIniFile;
        src.Rows = TAutoSizeRows::arFixed;
        dst.Assign(&src);
        EXPECT_TRUE(dst.Save && dst.Stretch() && dst.SynchWithGrid && dst.SynchNormalCellsOnly);
        EXPECT_EQ(dst.Key, "k.ini");
        EXPECT_EQ(dst.Section, "S");
        EXPECT_EQ(dst.StretchColumn, 2);
        EXPECT_EQ(dst.Location, TColumnSizeLocation::clIniFile);
        EXPECT_EQ(dst.Rows, TAutoSizeRows::arFixed);
    }
    {
        THTMLSettings src, dst;
        src.XHTML = true;
        src.Width = 80;
        src.Summary = "sum";
        src.SaveFonts = false;
        src.ExportImages = false;
        src.ColWidths()->Add(40);
        dst.ColWidths()->Add(7);
        dst.ColWidths()->Add(8);
        dst.Assign(&src);
        EXPECT_TRUE(dst.XHTML);
        EXPECT_EQ(dst.Width, 80);
        EXPECT_EQ(dst.Summary, "sum");
        EXPECT_FALSE(dst.SaveFonts);
        EXPECT_TRUE(dst.ExportImages);
        EXPECT_EQ(dst.ColWidths()->StrValue(), "7,8");
    }
    {
        TGrouping src, dst;
        src.GroupCountFormat = "(%d)";
        src.HeaderColor = src.HeaderColorTo = src.HeaderTextColor = clRed;
        src.SummaryColor = src.SummaryColorTo = src.SummaryTextColor = clLime;
        src.HeaderUnderline = src.MergeHeader = src.MergeSummary = src.ShowGroupCount = src.SummaryLine = true;
        src.AutoCheckGroup = src.AutoSelectGroup = true;
        src.Summary = true;
        src.SummaryLineWidth = src.HeaderLineWidth = 5;
        src.SummaryLineColor = src.HeaderLineColor = clGreen;
        dst.Assign(&src);
        EXPECT_EQ(dst.GroupCountFormat, "(%d)");
        EXPECT_EQ(dst.HeaderColor, clRed);
        EXPECT_EQ(dst.HeaderColorTo, clRed);
        EXPECT_EQ(dst.HeaderTextColor, clRed);
        EXPECT_EQ(dst.SummaryColor, clLime);
        EXPECT_EQ(dst.SummaryColorTo, clLime);
        EXPECT_EQ(dst.SummaryTextColor, clLime);
        EXPECT_TRUE(dst.HeaderUnderline && dst.MergeHeader && dst.MergeSummary && dst.ShowGroupCount && dst.SummaryLine
            && dst.AutoCheckGroup && dst.AutoSelectGroup);
        EXPECT_FALSE(dst.Summary);
        EXPECT_EQ(dst.SummaryLineWidth, 2);
        EXPECT_EQ(dst.HeaderLineWidth, 2);
        EXPECT_EQ(dst.SummaryLineColor, clBlue);
        EXPECT_EQ(dst.HeaderLineColor, clBlue);
    }
    {
        TBalloonSettings src, dst;
        int fired = 0;
        src.TextColor = clRed;
        src.BackgroundColor = clLime;
        src.InitialDelay = 10;
        src.AutoHideDelay = 20;
        src.ReshowDelay = 30;
        src.Transparency = 99;
        src.SetEnable(true);
        dst.OnEnableChange = [&](TObject*) { ++fired; };
        dst.Assign(&src);
        EXPECT_EQ(dst.TextColor, clRed);
        EXPECT_EQ(dst.BackgroundColor, clLime);
        EXPECT_EQ(dst.InitialDelay, 10);
        EXPECT_EQ(dst.AutoHideDelay, 20);
        EXPECT_EQ(dst.ReshowDelay, 30);
        EXPECT_TRUE(dst.Enable());
        EXPECT_EQ(dst.Transparency, 0);
        EXPECT_EQ(fired, 0);
    }
    {
        TShowModified src, dst;
        int fired = 0;
        src.Enabled = true;
        src.SetColor(clRed);
        dst.OnChange = [&](TObject*) { ++fired; };
        dst.Assign(&src);
        EXPECT_TRUE(dst.Enabled);
        EXPECT_EQ(dst.Color(), clRed);
        EXPECT_EQ(fired, 0);
    }
    {
        TDragScrollOptions src, dst;
        src.Active = true;
        src.Delays()->InitialDelay = 1;
        src.Delays()->RepeatDelay = 2;
        src.Margins()->TopMargin = 3;
        src.Margins()->BottomMargin = 4;
        src.Margins()->LeftMargin = 5;
        src.Margins()->RightMargin = 6;
        dst.Assign(&src);
        EXPECT_TRUE(dst.Active);
        EXPECT_EQ(dst.Delays()->InitialDelay, 1);
        EXPECT_EQ(dst.Delays()->RepeatDelay, 2);
        EXPECT_EQ(dst.Margins()->TopMargin, 3);
        EXPECT_EQ(dst.Margins()->BottomMargin, 4);
        EXPECT_EQ(dst.Margins()->LeftMargin, 5);
        EXPECT_EQ(dst.Margins()->RightMargin, 6);
    }
    {
        TFilterDropDown src, dst;
        src.AutoSize = true;
        src.Color = clRed;
        src.ColumnWidth = true;
        src.Height = 70;
        src.Width = 90;
        src.Font()->SetName("Courier New");
        src.SetGlyph(red.get());
        src.SetGlyphActive(red.get());
        dst.Assign(&src);
        EXPECT_FALSE(dst.AutoSize);
        EXPECT_EQ(dst.Color, clRed);
        EXPECT_TRUE(dst.ColumnWidth);
        EXPECT_EQ(dst.Height, 70);
        EXPECT_EQ(dst.Width, 90);
        EXPECT_EQ(dst.Font()->Name(), "Courier New");
        EXPECT_EQ(dst.Glyph()->ToImage(), red->ToImage());
        EXPECT_EQ(dst.GlyphActive()->ToImage(), red->ToImage());
    }
}

TEST(ExGridOptions, DragDropAssignCopiesEveryFlagWithoutRegistering)
{
    int live = 0;
    GridOptionsFixture f;
    f.Grid->LiveTargets = &live;
    TDragDropSettings src(nullptr), dst(f.Grid);
    src.OleAcceptText = src.OleAcceptFiles = src.OleAcceptURLs = src.ShowCells = false;
    src.OleEntireRows = src.OleDropSource = src.OleRemoveRows = src.OleInsertRows = src.OleAppendRows = true;
    src.OleCopyAlways = src.OleColumnDragDrop = src.OleColumnReorder = src.OleColumnsOnly = true;
    src.SetOleDropRTF(true);
    src.SetOleDropTarget(true);
    SetRtfDragDrop(false);
    dst.Assign(&src);
    EXPECT_FALSE(dst.OleAcceptText || dst.OleAcceptFiles || dst.OleAcceptURLs || dst.ShowCells);
    EXPECT_TRUE(dst.OleEntireRows && dst.OleDropSource && dst.OleRemoveRows && dst.OleInsertRows && dst.OleAppendRows
        && dst.OleCopyAlways && dst.OleColumnDragDrop && dst.OleColumnReorder && dst.OleColumnsOnly);
    EXPECT_TRUE(dst.OleDropRTF() && dst.OleDropTarget());
    EXPECT_FALSE(RtfDragDrop());
    EXPECT_EQ(live, 0);
    EXPECT_EQ(f.Grid->Registrations, 0);
}

TEST(ExGridOptions, PrintSettingsCopyFontsAndTitleByValueAndRefuseOtherSources)
{
    GridOptionsFixture f;
    TPrintSettings src(f.Grid), dst(f.Grid);
    src.Font()->SetName("Courier New");
    src.FixedFont()->SetSize(14);
    src.HeaderFont()->SetColor(clRed);
    src.FooterFont()->SetStyle(TFontStyles(TFontStyle::fsBold));
    src.TitleLines()->Add("Title");
    src.Orientation = TPrinterOrientation::poLandscape;
    src.Borders = TPrintBorders::pbAround;
    src.DateFormat = "yyyy";
    src.FixedCellsAlways = true;
    dst.Assign(&src);
    EXPECT_EQ(dst.Font()->Name(), "Courier New");
    EXPECT_EQ(dst.FixedFont()->Size(), 14);
    EXPECT_EQ(dst.HeaderFont()->Color(), clRed);
    EXPECT_TRUE(dst.FooterFont()->Style().testFlag(TFontStyle::fsBold));
    EXPECT_EQ(dst.TitleLines()->Text(), src.TitleLines()->Text());
    EXPECT_EQ(dst.Orientation, TPrinterOrientation::poLandscape);
    EXPECT_EQ(dst.Borders, TPrintBorders::pbAround);
    EXPECT_EQ(dst.DateFormat, "yyyy");
    EXPECT_FALSE(dst.FixedCellsAlways);

    // Copies, not shared objects: the source's later changes stay its own.
    src.Font()->SetName("Arial");
    src.TitleLines()->Add("More");
    EXPECT_EQ(dst.Font()->Name(), "Courier New");
    EXPECT_EQ(dst.TitleLines()->Count(), 1);
    TFont given;
    given.SetSize(20);
    dst.SetHeaderFont(&given);
    given.SetSize(6);
    EXPECT_EQ(dst.HeaderFont()->Size(), 20);

    TColumnSize other(f.Grid);
    EXPECT_THROW(dst.Assign(&other), EInvalidCast);
    EXPECT_THROW(dst.Assign(nullptr), EInvalidCast);
    dst.Assign(&dst);
    EXPECT_EQ(dst.TitleLines()->Count(), 1);
}

// Other sources leave every object as it was; TSizeWhileTyping copies nothing
// at all, having no Assign of its own.
TEST(ExGridOptions, AssignIgnoresSourcesOfAnotherClass)
{
    GridOptionsFixture f;
    TShowModified foreign;
    struct Case {
        const char* name;
        std::function<void()> assign;
    };
    TCellNode node(f.Grid);
    TColumnSize cs(f.Grid);
    THTMLSettings html;
    TGrouping grouping;
    TDragDropSettings dd(f.Grid);
    TBalloonSettings balloon;
    TShowModified sm;
    TDragScrollOptions ds;
    TGridProgressAppearance pa;
    TFloatingFooter ff(f.Grid);
    TFilterDropDown fd;
    TCellNode node2(f.Grid);
    const std::vector<Case> cases = {
        { "TCellNode", [&] { node.Assign(&foreign); } },
        { "TColumnSize", [&] { cs.Assign(&foreign); } },
        { "THTMLSettings", [&] { html.Assign(&foreign); } },
        { "TGrouping", [&] { grouping.Assign(&node2); } },
        { "TDragDropSettings", [&] { dd.Assign(&foreign); } },
        { "TBalloonSettings", [&] { balloon.Assign(&foreign); } },
        { "TShowModified", [&] { sm.Assign(&node2); } },
        { "TDragScrollOptions", [&] { ds.Assign(&foreign); } },
        { "TGridProgressAppearance", [&] { pa.Assign(&foreign); } },
        { "TFloatingFooter", [&] { ff.Assign(&foreign); } },
        { "TFilterDropDown", [&] { fd.Assign(&foreign); } },
    };
    for (const Case& c : cases)
        EXPECT_NO_THROW(c.assign()) << c.name;
    EXPECT_EQ(node.NodeIndent(), 12);
    EXPECT_EQ(sm.Color(), clYellow);
    EXPECT_EQ(pa.Steps(), 11);

    TSizeWhileTyping src, dst;
    src.Height = src.Width = true;
    dst.Assign(&src);
    EXPECT_FALSE(dst.Height || dst.Width);
}

// The node look repaints the grid for a new look value only; Assign repaints nothing.
TEST(ExGridOptions, CellNodeRepaintsOnlyOnChange)
{
    GridOptionsFixture f;
    TCellNode node(f.Grid);
    struct Case {
        const char* name;
        std::function<void()> same, other;
    };
    const std::vector<Case> cases = {
        { "NodeType", [&] { node.SetNodeType(TNodeType::cnXP); }, [&] { node.SetNodeType(TNodeType::cnFlat); } },
        { "ShowTree", [&] { node.SetShowTree(true); }, [&] { node.SetShowTree(false); } },
        { "ShowTreeFull", [&] { node.SetShowTreeFull(true); }, [&] { node.SetShowTreeFull(false); } },
        { "TreeColor", [&] { node.SetTreeColor(TColor(0x808080)); }, [&] { node.SetTreeColor(clRed); } },
        { "NodeIndent", [&] { node.SetNodeIndent(12); }, [&] { node.SetNodeIndent(16); } },
    };
    for (const Case& c : cases) {
        f.Grid->Invalidates = 0;
        c.same();
        EXPECT_EQ(f.Grid->Invalidates, 0) << c.name;
        c.other();
        EXPECT_EQ(f.Grid->Invalidates, 1) << c.name;
    }

    TCellNode src(f.Grid);
    src.SetNodeIndent(30);
    src.SetTreeColor(clBlue);
    f.Grid->Invalidates = 0;
    node.Assign(&src);
    EXPECT_EQ(node.NodeIndent(), 30);
    EXPECT_EQ(f.Grid->Invalidates, 0);

    // The glyph setters copy the picture.
    auto glyph = Picture(3, 3, clRed);
    node.SetExpandGlyph(glyph.get());
    glyph->SetSize(8, 8);
    EXPECT_EQ(node.ExpandGlyph()->Width(), 3);
}

// Every progress setter announces a new value once and an equal one never;
// Assign announces once.
TEST(ExGridOptions, ProgressAppearanceFiresOnChangeOnlyForNewValues)
{
    TGridProgressAppearance pa;
    int fired = 0;
    pa.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &pa);
        ++fired;
    };
    const std::vector<std::function<void()>> setters = {
        [&] { pa.SetUnCompleteFontColor(clRed); },
        [&] { pa.SetCompleteColor(clLime); },
        [&] { pa.SetUnCompleteColor(clRed); },
        [&] { pa.SetCompleteFontColor(clRed); },
        [&] { pa.SetStacked(true); },
        [&] { pa.SetShowPercentage(false); },
        [&] { pa.SetShowBorder(true); },
        [&] { pa.SetCompletionSmooth(false); },
        [&] { pa.SetShowGradient(false); },
        [&] { pa.SetLevel2Perc(95); },
        [&] { pa.SetLevel1Perc(50); },
        [&] { pa.SetSteps(5); },
        [&] { pa.SetLevel3Color(clBlue); },
        [&] { pa.SetLevel1Color(clBlue); },
        [&] { pa.SetLevel0Color(clBlue); },
        [&] { pa.SetLevel3ColorTo(clBlue); },
        [&] { pa.SetLevel2ColorTo(clBlue); },
        [&] { pa.SetLevel0ColorTo(clBlue); },
        [&] { pa.SetLevel1ColorTo(clBlue); },
        [&] { pa.SetBorderColor(clBlue); },
        [&] { pa.SetLevel2Color(clBlue); },
        [&] { pa.SetStyle(TProgressStyle::psClassic); },
    };
    for (std::size_t i = 0; i < setters.size(); ++i) {
        fired = 0;
        setters[i]();
        setters[i]();
        EXPECT_EQ(fired, 1) << "setter " << i;
    }

    TGridProgressAppearance src;
    src.SetLevel1Perc(40);
    src.SetStyle(TProgressStyle::psClassic);
    fired = 0;
    pa.Assign(&src);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(pa.Level1Perc(), 40);
    EXPECT_EQ(pa.Steps(), 11);
}

TEST(ExGridOptions, AnnouncingWrites)
{
    TShowModified sm;
    TBalloonSettings b;
    TFilterDropDown fd;
    int modified = 0, balloons = 0, filter = 0;
    sm.OnChange = [&](TObject* s) { modified += s == &sm; };
    b.OnEnableChange = [&](TObject* s) {
        EXPECT_TRUE(b.Enable());
        balloons += s == &b;
    };
    fd.OnChange = [&](TObject* s) { filter += s == &fd; };

    sm.SetColor(clYellow);
    sm.Enabled = true;
    EXPECT_EQ(modified, 1);
    b.SetEnable(true);
    EXPECT_EQ(balloons, 1);

    // The button pictures announce any change to them; the font does not.
    const auto red = Picture(4, 4, clRed);
    fd.SetGlyph(red.get());
    EXPECT_EQ(filter, 1);
    fd.GlyphActive()->SetSize(6, 6);
    EXPECT_EQ(filter, 2);
    fd.Font()->SetSize(12);
    TFont given;
    fd.SetFont(&given);
    EXPECT_EQ(filter, 2);
}

// The footer in fsFixedLastRow style takes the grid's last row as a footer
// row; the strip is sized from Height; the look repaints the strip.
TEST(ExGridOptions, FloatingFooterSteersTheGridAndItsPanel)
{
    GridOptionsFixture f;
    auto* panel = new TCountingPanel(f.Form);
    panel->SetParent(f.Form);
    panel->SetBounds(0, 170, 300, 30);
    f.Grid->FFooterPanel = panel;
    TFloatingFooter ff(f.Grid);

    ff.SetHeight(21);
    EXPECT_EQ(panel->Height(), 20);
    ff.SetVisible(false);
    EXPECT_EQ(panel->Height(), 0);
    EXPECT_FALSE(panel->Visible());

    f.Grid->Invalidates = 0;
    ff.SetVisible(true);
    EXPECT_EQ(panel->Height(), 20);
    EXPECT_TRUE(panel->Visible());
    EXPECT_EQ(f.Grid->FixedFooters(), 1);
    EXPECT_TRUE(f.Grid->FHideLastRow);
    EXPECT_GE(f.Grid->Invalidates, 1);

    ff.SetFooterStyle(TFooterStyle::fsColumnPreview);
    EXPECT_FALSE(f.Grid->FHideLastRow);
    ff.SetVisible(true);
    EXPECT_EQ(f.Grid->FixedFooters(), 0);
    ff.SetFooterStyle(TFooterStyle::fsFixedLastRow);
    EXPECT_TRUE(f.Grid->FHideLastRow);
    ff.SetVisible(false);
    EXPECT_EQ(f.Grid->FixedFooters(), 0);
    EXPECT_FALSE(f.Grid->FHideLastRow);

    struct Case {
        const char* name;
        std::function<void()> write;
        int repaints;
    };
    const std::vector<Case> cases = {
        { "Color", [&] { ff.SetColor(clBtnFace); }, 1 },
        { "Column", [&] { ff.SetColumn(0); }, 1 },
        { "CustomTemplate", [&] { ff.SetCustomTemplate(QString()); }, 1 },
        { "BorderColor unchanged", [&] { ff.SetBorderColor(clNone); }, 0 },
        { "BorderColor", [&] { ff.SetBorderColor(clRed); }, 1 },
        { "Invalidate", [&] { ff.Invalidate(); }, 1 },
    };
    for (const Case& c : cases) {
        panel->Invalidates = 0;
        c.write();
        EXPECT_EQ(panel->Invalidates, c.repaints) << c.name;
    }
    ff.SetShowHint(true);
    EXPECT_TRUE(panel->ShowHint());
    f.Grid->FFooterPanel = nullptr;
}

TEST(ExGridOptions, FloatingFooterColumnCalcLivesInTheLastRow)
{
    GridOptionsFixture f;
    TFloatingFooter ff(f.Grid);
    const int last = f.Grid->RowCount() - 1;
    EXPECT_EQ(ff.ColumnCalc(2), TColumnCalcType::acNONE);
    EXPECT_FALSE(f.Grid->HasCellProperties(2, last));
    ff.SetColumnCalc(2, TColumnCalcType::acAVG);
    EXPECT_EQ(ff.ColumnCalc(2), TColumnCalcType::acAVG);
    EXPECT_EQ(f.Grid->GetCellProperties(2, last)->CalcType(), TColumnCalcType::acAVG);
    EXPECT_EQ(ff.ColumnCalc(1), TColumnCalcType::acNONE);
}

TEST(ExGridOptions, FloatingFooterAssignKeepsHeightBorderAndCalculation)
{
    GridOptionsFixture f;
    TFloatingFooter src(f.Grid), dst(f.Grid);
    src.CalculateHiddenRows = false;
    src.EnableCalculation = false;
    src.SetColor(clRed);
    src.SetColumn(3);
    src.SetCustomTemplate("Total: <#2>");
    src.SetFooterStyle(TFooterStyle::fsFixedLastRow);
    src.SetVisible(true);
    src.SetShowHint(true);
    src.SetHeight(30);
    src.SetBorderColor(clBlue);
    src.OnCalcFooter = [](TObject*, int, int, QString&) {};
    f.Grid->SetFixedFooters(0);
    f.Grid->FHideLastRow = false;

    dst.Assign(&src);
    EXPECT_FALSE(dst.CalculateHiddenRows);
    EXPECT_EQ(dst.Color(), clRed);
    EXPECT_EQ(dst.Column(), 3);
    EXPECT_EQ(dst.CustomTemplate(), "Total: <#2>");
    EXPECT_EQ(dst.FooterStyle(), TFooterStyle::fsFixedLastRow);
    EXPECT_TRUE(dst.Visible());
    EXPECT_TRUE(dst.ShowHint());
    // Visible went through its setter.
    EXPECT_EQ(f.Grid->FixedFooters(), 1);
    EXPECT_TRUE(f.Grid->FHideLastRow);
    EXPECT_EQ(dst.Height(), 0);
    EXPECT_EQ(dst.BorderColor(), clNone);
    EXPECT_TRUE(dst.EnableCalculation);
    EXPECT_FALSE(dst.OnCalcFooter);
}

// Switching drops on makes a registered target; off revokes the registration
// and keeps the target; on again frees the first target when it makes the
// second. A grid being designed takes no drops.
TEST(ExGridOptions, OleDropTargetOnOffOn)
{
    int live = 0;
    {
        GridOptionsFixture f;
        TProbeGrid& g = *f.Grid;
        g.LiveTargets = &live;
        TDragDropSettings dd(&g);

        dd.SetOleDropTarget(true);
        EXPECT_EQ(live, 1);
        EXPECT_TRUE(g.FOleDropTargetAssigned);
        EXPECT_EQ(g.Registrations, 1);

        dd.SetOleDropTarget(false);
        EXPECT_FALSE(dd.OleDropTarget());
        EXPECT_EQ(g.Revocations, 1);
        EXPECT_FALSE(g.FOleDropTargetAssigned);
        EXPECT_EQ(live, 1);
        dd.SetOleDropTarget(false);
        EXPECT_EQ(g.Revocations, 1);

        dd.SetOleDropTarget(true);
        EXPECT_EQ(live, 1);
        EXPECT_EQ(g.Registrations, 2);
        EXPECT_TRUE(g.FOleDropTargetAssigned);
        // On while on: one registration at a time.
        dd.SetOleDropTarget(true);
        EXPECT_EQ(g.Revocations, 2);
        EXPECT_EQ(live, 1);

        dd.SetOleDropRTF(true);
        EXPECT_TRUE(RtfDragDrop());
        dd.SetOleDropRTF(false);
        EXPECT_FALSE(RtfDragDrop());
    }
    EXPECT_EQ(live, 0);

    GridOptionsFixture f;
    f.Grid->LiveTargets = &live;
    f.Grid->SetDesigning(true);
    TDragDropSettings dd(f.Grid);
    dd.SetOleDropTarget(true);
    EXPECT_TRUE(dd.OleDropTarget());
    EXPECT_EQ(live, 0);
    EXPECT_EQ(f.Grid->Registrations, 0);
}
