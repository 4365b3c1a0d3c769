#pragma once
// The string grid's settings objects: node look, typing growth, column sizes,
// HTML export and print options, grouping, drag and drop, balloon hints,
// modified rows, scrolling while dragging, progress bars, the floating footer
// and the filter drop-down. They hold values; what the values steer is the
// grid's work. Settings that need nothing but storing are public fields.

#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Object.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class TExStringGrid;

enum class TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };
enum class TColumnSizeLocation { clRegistry, clIniFile };
enum class TAutoSizeRows { arAll, arNormal, arFixed };
enum class TPrintPosition { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
enum class TPrintBorders {
    pbNoborder,
    pbSingle,
    pbDouble,
    pbVertical,
    pbHorizontal,
    pbAround,
    pbAroundVertical,
    pbAroundHorizontal,
    pbCustom
};
enum class TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };
enum class TPrinterOrientation { poPortrait, poLandscape };
enum class TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };
enum class TProgressStyle { psXP, psClassic };

// Sender, column, row, the footer text to fill in.
using TFloatingFooterCalcEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;

// ---------------------------------------------------------------------------
// Look of node rows. The look setters repaint the grid only when the value
// changes; Color, NodeColor and ExpandOne are plain.

class TCellNode : public TPersistent {
public:
    explicit TCellNode(TExStringGrid* AGrid);
    ~TCellNode() override;

    TNodeType NodeType() const { return FNodeType; }
    void SetNodeType(TNodeType Value) { Store(FNodeType, Value); }
    bool ShowTree() const { return FShowTree; }
    void SetShowTree(bool Value) { Store(FShowTree, Value); }
    bool ShowTreeFull() const { return FShowTreeFull; }
    void SetShowTreeFull(bool Value) { Store(FShowTreeFull, Value); }
    TColor TreeColor() const { return FTreeColor; }
    void SetTreeColor(TColor Value) { Store(FTreeColor, Value); }
    // Pixels per node level.
    int NodeIndent() const { return FNodeIndent; }
    void SetNodeIndent(int Value) { Store(FNodeIndent, Value); }
    // The glyphs of cnGlyph nodes; the setters copy the picture.
    TBitmap* ExpandGlyph() const { return FExpandGlyph.get(); }
    void SetExpandGlyph(const TBitmap* Value) { FExpandGlyph->Assign(Value); }
    TBitmap* ContractGlyph() const { return FContractGlyph.get(); }
    void SetContractGlyph(const TBitmap* Value) { FContractGlyph->Assign(Value); }

    // Copies every setting of another node look, glyphs by value, without repainting.
    void Assign(const TPersistent* Source) override;

    TColor Color = TColor(0xC0C0C0);
    TColor NodeColor = clBlack;
    // Expanding a node first contracts all others.
    bool ExpandOne = false;

    TExStringGrid* Grid() const { return FGrid; }

private:
    template <class T> void Store(T& Field, const T& Value)
    {
        if (Field == Value)
            return;
        Field = Value;
        RepaintGrid();
    }
    void RepaintGrid();

    TExStringGrid* FGrid;
    TNodeType FNodeType = TNodeType::cnXP;
    bool FShowTree = true;
    bool FShowTreeFull = true;
    TColor FTreeColor = TColor(0x808080);
    int FNodeIndent = 12;
    std::unique_ptr<TBitmap> FExpandGlyph;
    std::unique_ptr<TBitmap> FContractGlyph;
};

// Grow the row height or the column width while the user types. Assign
// copies nothing.
class TSizeWhileTyping : public TPersistent {
public:
    bool Height = false;
    bool Width = false;
};

// ---------------------------------------------------------------------------
// Where column sizes are kept and which column is stretched.

struct TColumnSizeFields {
    bool Save = false;
    // Registry key or INI file name.
    QString Key;
    // Registry value prefix or INI section.
    QString Section;
    // -1: the last column.
    int StretchColumn = -1;
    bool SynchWithGrid = false;
    bool SynchNormalCellsOnly = false;
    TColumnSizeLocation Location = TColumnSizeLocation::clRegistry;
    TAutoSizeRows Rows = TAutoSizeRows::arAll;
};

class TColumnSize : public TPersistent, public TColumnSizeFields {
public:
    explicit TColumnSize(TExStringGrid* AGrid);

    // Storing also stretches StretchColumn when the grid has a parent.
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);

    // Copies all nine settings; stretches nothing.
    void Assign(const TPersistent* Source) override;

    TExStringGrid* Grid() const { return FGrid; }

private:
    TExStringGrid* FGrid;
    bool FStretch = false;
};

// ---------------------------------------------------------------------------
// Options of the HTML export.

struct THTMLSettingsFields {
    bool AutoPreview = false;
    bool ConvertSpecialChars = false;
    bool NonBreakingText = false;
    bool SaveColor = true;
    bool SaveFonts = true;
    QString FooterFile;
    QString HeaderFile;
    int BorderSize = 1;
    int CellSpacing = 0;
    int CellPadding = 0;
    QString TableStyle;
    QString PrefixTag;
    QString SuffixTag;
    QString Summary;
    // Percent of the page.
    int Width = 100;
    bool XHTML = false;
};

class THTMLSettings : public TPersistent, public THTMLSettingsFields {
public:
    THTMLSettings();
    ~THTMLSettings() override;

    // Widths of the exported columns.
    TIntList* ColWidths() const { return FColWidths.get(); }

    // Copies every setting but ExportImages and ColWidths.
    void Assign(const TPersistent* Source) override;

    bool ExportImages = true;

private:
    std::unique_ptr<TIntList> FColWidths;
};

// ---------------------------------------------------------------------------
// Options of the print engine. Sizes are in 0.1 mm.

struct TPrintSettingsFields {
    int FooterSize = 0;
    int HeaderSize = 0;
    int LeftSize = 0;
    int RightSize = 0;
    TPrintPosition Time = TPrintPosition::ppNone;
    TPrintPosition Date = TPrintPosition::ppNone;
    TPrintPosition PageNr = TPrintPosition::ppNone;
    TPrintPosition Title = TPrintPosition::ppNone;
    QString DateFormat = QStringLiteral("dd/mm/yyyy");
    QString TitleText;
    TPrintBorders Borders = TPrintBorders::pbSingle;
    TPenStyle BorderStyle = TPenStyle::psSolid;
    TColor BorderColor = clBlack;
    bool Centered = true;
    bool RepeatFixedRows = false;
    bool RepeatFixedCols = false;
    int ColumnSpacing = 0;
    int RowSpacing = 0;
    int TitleSpacing = 0;
    TPrinterOrientation Orientation = TPrinterOrientation::poPortrait;
    QString PagePrefix;
    QString PageSuffix;
    QString PageNumSep = QStringLiteral("/");
    int PageNumberOffset = 0;
    int MaxPagesOffset = 0;
    int FixedWidth = 0;
    int FixedHeight = 0;
    bool UseFixedWidth = false;
    bool UseFixedHeight = false;
    TFitToPage FitToPage = TFitToPage::fpNever;
    QString JobName;
    bool NoAutoSize = false;
    bool NoAutoSizeRow = false;
    bool PrintGraphics = false;
    bool UseDisplayFont = true;
    bool UseDefaultOrientation = false;
};

class TPrintSettings : public TPersistent, public TPrintSettingsFields {
public:
    explicit TPrintSettings(TExStringGrid* AGrid);
    ~TPrintSettings() override;

    // The fonts and the title lines are owned; the setters copy.
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* Value) { FFont->Assign(Value); }
    TFont* FixedFont() const { return FFixedFont.get(); }
    void SetFixedFont(const TFont* Value) { FFixedFont->Assign(Value); }
    TFont* HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(const TFont* Value) { FHeaderFont->Assign(Value); }
    TFont* FooterFont() const { return FFooterFont.get(); }
    void SetFooterFont(const TFont* Value) { FFooterFont->Assign(Value); }
    TStringList* TitleLines() const { return FTitleLines.get(); }
    void SetTitleLines(const TStrings* Value) { FTitleLines->Assign(Value); }

    // Copies every published setting (not FixedCellsAlways), fonts and title
    // lines by value. Any other source, none included, raises EInvalidCast.
    void Assign(const TPersistent* Source) override;

    bool FixedCellsAlways = false;

    TExStringGrid* Grid() const { return FGrid; }

private:
    TExStringGrid* FGrid;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TFont> FFixedFont;
    std::unique_ptr<TFont> FHeaderFont;
    std::unique_ptr<TFont> FFooterFont;
    std::unique_ptr<TStringList> FTitleLines;
};

// ---------------------------------------------------------------------------
// Look of group header and summary rows; clNone leaves a colour unset.

// What Assign copies.
struct TGroupingLook {
    QString GroupCountFormat;
    TColor HeaderColor = clNone;
    TColor HeaderColorTo = clNone;
    TColor HeaderTextColor = clNone;
    bool HeaderUnderline = false;
    bool MergeHeader = false;
    bool MergeSummary = false;
    bool ShowGroupCount = false;
    TColor SummaryColor = clNone;
    TColor SummaryColorTo = clNone;
    TColor SummaryTextColor = clNone;
    bool SummaryLine = false;
    bool AutoCheckGroup = false;
    bool AutoSelectGroup = false;
};

class TGrouping : public TPersistent, public TGroupingLook {
public:
    // Copies the look; keeps Summary and the line widths and colours.
    void Assign(const TPersistent* Source) override;

    bool Summary = false;
    int SummaryLineWidth = 2;
    int HeaderLineWidth = 2;
    TColor SummaryLineColor = clBlue;
    TColor HeaderLineColor = clBlue;
};

// ---------------------------------------------------------------------------
// OLE drag and drop.

struct TDragDropFlags {
    bool OleAcceptText = true;
    bool OleEntireRows = false;
    bool OleDropSource = false;
    bool OleRemoveRows = false;
    bool OleAcceptFiles = true;
    bool OleAcceptURLs = true;
    bool OleInsertRows = false;
    bool OleAppendRows = false;
    bool OleCopyAlways = false;
    bool OleColumnDragDrop = false;
    bool OleColumnReorder = false;
    bool OleColumnsOnly = false;
    bool ShowCells = true;
};

class TDragDropSettings : public TPersistent, public TDragDropFlags {
public:
    explicit TDragDropSettings(TExStringGrid* AGrid);

    // Tells the drop unit whether rich text is accepted, then stores.
    bool OleDropRTF() const { return FOleDropRTF; }
    void SetOleDropRTF(bool Value);
    // Stores; at run time True gives the grid a new drop target registered
    // for its window, False revokes the registration.
    bool OleDropTarget() const { return FOleDropTarget; }
    void SetOleDropTarget(bool Value);

    // Copies all fifteen flags as they are; registers nothing.
    void Assign(const TPersistent* Source) override;

    TExStringGrid* Grid() const { return FGrid; }

private:
    TExStringGrid* FGrid;
    bool FOleDropRTF = false;
    bool FOleDropTarget = false;
};

// The drop unit's rich-text switch: whether drops take rich text.
void SetRtfDragDrop(bool Value);
bool RtfDragDrop();

// ---------------------------------------------------------------------------
// Balloon hints on cells. Delays in milliseconds, -1 for the platform's.

class TBalloonSettings : public TPersistent {
public:
    // Stores, then fires OnEnableChange.
    bool Enable() const { return FEnable; }
    void SetEnable(bool Value);

    // Copies colours, delays and Enable, firing nothing; keeps Transparency.
    void Assign(const TPersistent* Source) override;

    TColor BackgroundColor = clNone;
    TColor TextColor = clNone;
    int ReshowDelay = -1;
    int InitialDelay = -1;
    int AutoHideDelay = -1;
    std::uint8_t Transparency = 0;
    // The grid's own: balloons are set up.
    bool FInit = false;
    TNotifyEvent OnEnableChange;

private:
    bool FEnable = false;
};

// ---------------------------------------------------------------------------
// Marking of modified rows (in column 0).

class TShowModified : public TPersistent {
public:
    // Stores, then fires OnChange.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);

    // Copies Color and Enabled, firing nothing.
    void Assign(const TPersistent* Source) override;

    bool Enabled = false;
    TNotifyEvent OnChange;

private:
    TColor FColor = clYellow;
};

// ---------------------------------------------------------------------------
// Scrolling while something is dragged over the grid.

class TDragScrollDelays : public TPersistent {
public:
    void Assign(const TPersistent* Source) override;
    int InitialDelay = 1000;
    int RepeatDelay = 250;
};

class TDragScrollMargins : public TPersistent {
public:
    void Assign(const TPersistent* Source) override;
    int TopMargin = 50;
    int BottomMargin = 50;
    int LeftMargin = 50;
    int RightMargin = 50;
};

class TDragScrollOptions : public TPersistent {
public:
    TDragScrollOptions();
    ~TDragScrollOptions() override;

    TDragScrollDelays* Delays() const { return FDelays.get(); }
    TDragScrollMargins* Margins() const { return FMargins.get(); }

    void Assign(const TPersistent* Source) override;

    bool Active = false;

private:
    std::unique_ptr<TDragScrollDelays> FDelays;
    std::unique_ptr<TDragScrollMargins> FMargins;
};

// ---------------------------------------------------------------------------
// Look of in-cell progress bars. Every setter stores a different value and
// fires OnChange; an equal value changes nothing.

struct TGridProgressLook {
    TColor UnCompleteFontColor = clWindowText;
    TColor CompleteColor = clRed;
    // clNone: the cell's brush.
    TColor UnCompleteColor = clNone;
    TColor CompleteFontColor = clBlue;
    bool Stacked = false;
    bool ShowPercentage = true;
    bool ShowBorder = false;
    bool CompletionSmooth = true;
    bool ShowGradient = true;
    int Level2Perc = 90;
    int Level1Perc = 70;
    int Steps = 11;
    TColor Level3Color = clRed;
    TColor Level1Color = clYellow;
    TColor Level0Color = clLime;
    TColor Level3ColorTo = TColor(0xCACAFF);
    TColor Level2ColorTo = TColor(0xA8D3FF);
    TColor Level0ColorTo = TColor(0xE1FFE1);
    TColor Level1ColorTo = TColor(0xCAFFFF);
    TColor BorderColor = clBlack;
    TColor Level2Color = TColor(0x53A9FF);
    TProgressStyle Style = TProgressStyle::psXP;
};

class TGridProgressAppearance : public TPersistent {
public:
    TColor UnCompleteFontColor() const { return F.UnCompleteFontColor; }
    void SetUnCompleteFontColor(TColor v) { Store(F.UnCompleteFontColor, v); }
    TColor CompleteColor() const { return F.CompleteColor; }
    void SetCompleteColor(TColor v) { Store(F.CompleteColor, v); }
    TColor UnCompleteColor() const { return F.UnCompleteColor; }
    void SetUnCompleteColor(TColor v) { Store(F.UnCompleteColor, v); }
    TColor CompleteFontColor() const { return F.CompleteFontColor; }
    void SetCompleteFontColor(TColor v) { Store(F.CompleteFontColor, v); }
    bool Stacked() const { return F.Stacked; }
    void SetStacked(bool v) { Store(F.Stacked, v); }
    bool ShowPercentage() const { return F.ShowPercentage; }
    void SetShowPercentage(bool v) { Store(F.ShowPercentage, v); }
    bool ShowBorder() const { return F.ShowBorder; }
    void SetShowBorder(bool v) { Store(F.ShowBorder, v); }
    bool CompletionSmooth() const { return F.CompletionSmooth; }
    void SetCompletionSmooth(bool v) { Store(F.CompletionSmooth, v); }
    bool ShowGradient() const { return F.ShowGradient; }
    void SetShowGradient(bool v) { Store(F.ShowGradient, v); }
    int Level2Perc() const { return F.Level2Perc; }
    void SetLevel2Perc(int v) { Store(F.Level2Perc, v); }
    int Level1Perc() const { return F.Level1Perc; }
    void SetLevel1Perc(int v) { Store(F.Level1Perc, v); }
    int Steps() const { return F.Steps; }
    void SetSteps(int v) { Store(F.Steps, v); }
    TColor Level3Color() const { return F.Level3Color; }
    void SetLevel3Color(TColor v) { Store(F.Level3Color, v); }
    TColor Level1Color() const { return F.Level1Color; }
    void SetLevel1Color(TColor v) { Store(F.Level1Color, v); }
    TColor Level0Color() const { return F.Level0Color; }
    void SetLevel0Color(TColor v) { Store(F.Level0Color, v); }
    TColor Level3ColorTo() const { return F.Level3ColorTo; }
    void SetLevel3ColorTo(TColor v) { Store(F.Level3ColorTo, v); }
    TColor Level2ColorTo() const { return F.Level2ColorTo; }
    void SetLevel2ColorTo(TColor v) { Store(F.Level2ColorTo, v); }
    TColor Level0ColorTo() const { return F.Level0ColorTo; }
    void SetLevel0ColorTo(TColor v) { Store(F.Level0ColorTo, v); }
    TColor Level1ColorTo() const { return F.Level1ColorTo; }
    void SetLevel1ColorTo(TColor v) { Store(F.Level1ColorTo, v); }
    TColor BorderColor() const { return F.BorderColor; }
    void SetBorderColor(TColor v) { Store(F.BorderColor, v); }
    TColor Level2Color() const { return F.Level2Color; }
    void SetLevel2Color(TColor v) { Store(F.Level2Color, v); }
    TProgressStyle Style() const { return F.Style; }
    void SetStyle(TProgressStyle v) { Store(F.Style, v); }

    // Copies every setting and fires OnChange once.
    void Assign(const TPersistent* Source) override;

    TNotifyEvent OnChange;

private:
    template <class T> void Store(T& Field, const T& Value)
    {
        if (Field == Value)
            return;
        Field = Value;
        Changed();
    }
    void Changed();

    TGridProgressLook F;
};

// ---------------------------------------------------------------------------
// The strip under the cells that stays while the rows scroll. It is drawn by
// the grid's footer panel; without one the settings still steer the grid.

class TFloatingFooter : public TPersistent {
public:
    explicit TFloatingFooter(TExStringGrid* AGrid);

    // Shows or hides the strip; with fsFixedLastRow the grid's last row moves
    // into it and counts as a footer row.
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle Value);
    // The strip's height; the grid keeps it at its default row height.
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // The previewed column, and the column handed to the paint event.
    int Column() const { return FColumn; }
    void SetColumn(int Value);
    // Text of fsCustomPreview; "<#n>" stands for column n of the current row.
    QString CustomTemplate() const { return FCustomTemplate; }
    void SetCustomTemplate(const QString& Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    // A line along the strip's top edge; clNone draws none.
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);

    // The calculation of a column's footer value, kept in the cell
    // properties of the grid's last row. Writing recalculates the column.
    TColumnCalcType ColumnCalc(int ACol) const;
    void SetColumnCalc(int ACol, TColumnCalcType Value);

    // Repaints the strip.
    void Invalidate();

    // Copies the look, the style, Visible (through its setter) and ShowHint;
    // keeps Height, BorderColor, EnableCalculation and OnCalcFooter.
    void Assign(const TPersistent* Source) override;

    // Totals include hidden rows.
    bool CalculateHiddenRows = true;
    bool EnableCalculation = true;
    TFloatingFooterCalcEvent OnCalcFooter;

    TExStringGrid* Grid() const { return FGrid; }

private:
    void InvalidatePanel();
    bool HidesLastRow() const;

    TExStringGrid* FGrid;
    int FHeight = 0;
    bool FVisible = false;
    TColor FColor = clBtnFace;
    TFooterStyle FFooterStyle = TFooterStyle::fsFixedLastRow;
    int FColumn = 0;
    QString FCustomTemplate;
    bool FShowHint = false;
    TColor FBorderColor = clNone;
};

// ---------------------------------------------------------------------------
// The list that drops down from a column header's filter button.

class TFilterDropDown : public TPersistent {
public:
    TFilterDropDown();
    ~TFilterDropDown() override;

    // Owned; the setters copy. A change of either button picture fires OnChange.
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* Value) { FFont->Assign(Value); }
    // The header's filter button, and the button of a column whose filter is in force.
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const TBitmap* Value) { FGlyph->Assign(Value); }
    TBitmap* GlyphActive() const { return FGlyphActive.get(); }
    void SetGlyphActive(const TBitmap* Value) { FGlyphActive->Assign(Value); }

    // Copies everything but AutoSize.
    void Assign(const TPersistent* Source) override;

    bool AutoSize = false;
    int Height = 150;
    int Width = 150;
    TColor Color = clWindow;
    bool ColumnWidth = false;
    TNotifyEvent OnChange;

private:
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TBitmap> FGlyph;
    std::unique_ptr<TBitmap> FGlyphActive;
};
