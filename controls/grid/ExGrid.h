#pragma once
// The string grid: every grid of the program is one. This header declares the
// whole class; its method families live in their own sources (ExGrid*.cpp).

#include "controls/base/BaseGrid.h"
#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/base/ExStyleIF.h"
#include "controls/base/ExTextSearch.h"
#include "controls/grid/ExGridRowSelect.h"
#include "platform/runtime/Types.h"

#include <array>
#include <bitset>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <unordered_set>
#include <vector>

class TSortSettings;
enum class TSortDirection;
enum class TGridControlStyle;
class TControlLook;
class TFilter;
class TBackGround;
class TGridChangeNotifier;
class TCellNode;
class TSizeWhileTyping;
class TColumnSize;
class THTMLSettings;
class TPrintSettings;
class TGrouping;
class TDragDropSettings;
class TDragScrollOptions;
class TBalloonSettings;
class TShowModified;
class TGridProgressAppearance;
class TFloatingFooter;
class TXmlNode;
class TFilterDropDown;
class TFooterPanel;
class TSearchPanel;
class TDropList;
class TDropCheckList;
class THTMLHintWindow;
class THeaderDragButton;
struct THintInfo;
class TGridTransEdit;
class TGridTransCombo;
class TControlEdit;
class TControlCombo;
class TPictureContainer;
class TCustomImageList;
class TFont;
class TBitmap;
class TStringList;
class TCustomForm;
class TScrollBar;
class TScrollControl;
class TTimer;
class TCollection;
class THTMLPictureCache;
class TControlList;
class TFocusHelper;
class TBands;
class TSyncGrid;
class TArrowWindow;
class TGridFocusWindow;
class TExInplaceEdit;
class TExRichEdit;
class TRichEdit;
class ITExStringGridSelect;

// How the fixed cells are painted; the identifier texts are what the
// visual-properties file stores.
enum class TGridLook {
    glStandard,
    glSoft,
    glClassic,
    glVRK,
    glXP,
    glListView,
    glVista,
    glWin7,
    glOffice2007,
    glCustom
};
// The grid's colour schemes, in the order of the component styles.
enum class TExGridStyle {
    gsOffice2003Blue,
    gsOffice2003Silver,
    gsOffice2003Olive,
    gsOffice2003Classic,
    gsOffice2007Luna,
    gsOffice2007Obsidian,
    gsWindowsXP,
    gsWhidbey,
    gsCustom,
    gsOffice2007Silver,
    gsWindowsVista,
    gsWindows7,
    gsTerminal,
    gsOffice2010Blue,
    gsOffice2010Silver,
    gsOffice2010Black
};
enum class TXPColorScheme { xpNone, xpBlue, xpGreen, xpGray, vistaAero };
enum class THoverFixedCells { hfNone, hfAll, hfFixedRows, hfFixedColumns };
enum class TScrollType { ssNormal, ssFlat, ssEncarta, ssMetro };
enum class TScrollBarAlways { saNone, saVert, saHorz, saBoth };
enum class TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
enum class TFilterDropDownColumns { fdNormal, fdAll };
enum class THintShowLargeTextPos { hpCell, hpMouse };
enum class TInvalidEntryIcon { ieNone, ieInfo, ieWarning, ieError };
enum class TIntelliPan { ipVertical, ipHorizontal, ipBoth, ipNone };

// Cell events take (Sender, column, row) unless named otherwise.
using TClickCellEvent = std::function<void(TObject* Sender, int ARow, int ACol)>;
using TCellButtonEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;
using TCellValidateEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value, bool& Valid)>;
using TCanEditCellEvent = std::function<void(TObject* Sender, int ARow, int ACol, bool& CanEdit)>;
using TRowChangedEvent = std::function<void(TObject* Sender, int OldRow, int NewRow)>;
using TCellsChangedEvent = std::function<void(TObject* Sender, const TRect& R)>;
using TUnitChangedEvent = std::function<void(TObject* Sender, int ACol, int ARow, const QString& NewUnit)>;
using TDateTimeChangeEvent = std::function<void(TObject* Sender, int ACol, int ARow, TDateTime Value)>;
using TEditCellChangeEvent = std::function<void(TObject* Sender, int ACol, int ARow, const QString& Value)>;
using TDatePickerEvent = std::function<void(TObject* Sender, int ARow, int ACol)>;
using TRowSizeEvent = std::function<void(TObject* Sender, int ARow)>;

// A plain published setting: the field, a reader and a writer that only stores.
#define EXGRID_PLAIN(T, Name, Init)                                                                                    \
public:                                                                                                                \
    T Name() const                                                                                                     \
    {                                                                                                                  \
        return F##Name;                                                                                                \
    }                                                                                                                  \
    void Set##Name(T v)                                                                                                \
    {                                                                                                                  \
        F##Name = v;                                                                                                   \
    }                                                                                                                  \
                                                                                                                       \
protected:                                                                                                             \
    T F##Name = Init;                                                                                                  \
                                                                                                                       \
public:

// A published setting whose change repaints the whole grid.
#define EXGRID_REPAINTED(T, Name, Init)                                                                                \
public:                                                                                                                \
    T Name() const                                                                                                     \
    {                                                                                                                  \
        return F##Name;                                                                                                \
    }                                                                                                                  \
    void Set##Name(T v)                                                                                                \
    {                                                                                                                  \
        if (F##Name == v)                                                                                              \
            return;                                                                                                    \
        F##Name = v;                                                                                                   \
        Invalidate();                                                                                                  \
    }                                                                                                                  \
                                                                                                                       \
protected:                                                                                                             \
    T F##Name = Init;                                                                                                  \
                                                                                                                       \
public:

class TExStringGrid : public TBaseGrid, public IVRKStyle, public IVRKTones {
public:
    explicit TExStringGrid(TComponent* AOwner);
    ~TExStringGrid() override;
    QString ClassName() const override { return QStringLiteral("TExStringGrid"); }

    void SetComponentStyle(TVRKStyle AStyle) override;
    void SetColorTones(const TColorTones& ATones) override;

    // Owned settings objects.
    TSortSettings* SortSettings() const { return FSortSettings; }
    TControlLook* ControlLook() const { return FControlLook; }
    TFilter* Filter() const { return FFilter; }
    TBackGround* BackGround() const { return FBackGround; }
    TCellNode* CellNode() const { return FCellNode; }
    TSizeWhileTyping* SizeWhileTyping() const { return FSizeWhileTyping; }
    TColumnSize* ColumnSize() const { return FColumnSize; }
    THTMLSettings* HTMLSettings() const { return FHTMLSettings; }
    TPrintSettings* PrintSettings() const { return FPrintSettings; }
    TGrouping* Grouping() const { return FGrouping; }
    TDragDropSettings* DragDropSettings() const { return FDragDropSettings; }
    TDragScrollOptions* DragScrollOptions() const { return FDragScrollOptions; }
    TBalloonSettings* Balloon() const { return FBalloon; }
    TShowModified* ShowModified() const { return FShowModified; }
    TGridProgressAppearance* ProgressAppearance() const { return FProgressAppearance; }
    TFloatingFooter* FloatingFooter() const { return FFloatingFooter; }
    TFilterDropDown* FilterDropDown() const { return FFilterDropDown; }
    TSearchFooter* SearchFooter() const { return FSearchFooter; }
    TNavigation* Navigation() const { return FNavigation; }
    TMouseActions* MouseActions() const { return FMouseActions; }
    TSortIndexList* SortIndexes() const { return FSortIndexes; }

    // Images and pictures that mark-up cells and hints refer to.
    TCustomImageList* GridImages() const { return FGridImages; }
    TPictureContainer* PictureContainer() const { return FPictureContainer; }

    // The fixed-cell gradient of the looks from glVRK on: normal, hovered
    // and pressed. The first four repaint the grid.
    TColor VRKGradientFrom() const { return FVRKGradFrom; }
    void SetVRKGradientFrom(TColor v);
    TColor VRKGradientTo() const { return FVRKGradTo; }
    void SetVRKGradientTo(TColor v);
    TColor VRKGradientMirrorFrom() const { return FVRKGradMirrorFrom; }
    void SetVRKGradientMirrorFrom(TColor v);
    TColor VRKGradientMirrorTo() const { return FVRKGradMirrorTo; }
    void SetVRKGradientMirrorTo(TColor v);
    TColor VRKGradientHoverFrom() const { return FVRKGradHoverFrom; }
    void SetVRKGradientHoverFrom(TColor v) { FVRKGradHoverFrom = v; }
    TColor VRKGradientHoverTo() const { return FVRKGradHoverTo; }
    void SetVRKGradientHoverTo(TColor v) { FVRKGradHoverTo = v; }
    TColor VRKGradientHoverMirrorFrom() const { return FVRKGradHoverMirrorFrom; }
    void SetVRKGradientHoverMirrorFrom(TColor v) { FVRKGradHoverMirrorFrom = v; }
    TColor VRKGradientHoverMirrorTo() const { return FVRKGradHoverMirrorTo; }
    void SetVRKGradientHoverMirrorTo(TColor v) { FVRKGradHoverMirrorTo = v; }
    TColor VRKGradientHoverBorder() const { return FVRKGradHoverBorder; }
    void SetVRKGradientHoverBorder(TColor v) { FVRKGradHoverBorder = v; }
    TColor VRKGradientDownFrom() const { return FVRKGradDownFrom; }
    void SetVRKGradientDownFrom(TColor v) { FVRKGradDownFrom = v; }
    TColor VRKGradientDownTo() const { return FVRKGradDownTo; }
    void SetVRKGradientDownTo(TColor v) { FVRKGradDownTo = v; }
    TColor VRKGradientDownMirrorFrom() const { return FVRKGradDownMirrorFrom; }
    void SetVRKGradientDownMirrorFrom(TColor v) { FVRKGradDownMirrorFrom = v; }
    TColor VRKGradientDownMirrorTo() const { return FVRKGradDownMirrorTo; }
    void SetVRKGradientDownMirrorTo(TColor v) { FVRKGradDownMirrorTo = v; }
    TColor VRKGradientDownBorder() const { return FVRKGradDownBorder; }
    void SetVRKGradientDownBorder(TColor v) { FVRKGradDownBorder = v; }

    // ---- life cycle ----
    void Loaded() override;
    void Assign(const TPersistent* Source) override;
    // Copies only the cells of another string grid, through the stream form.
    virtual void AssignCells(const TPersistent* Source);
    // Display column widths under ColumnSize.Key and Section, one key "Col<i>"
    // each; nothing without both or while designing. Loading sets only the
    // widths that differ and never writes the store.
    virtual void SaveColSizes();
    virtual void LoadColSizes();
    // Sizes the columns (the normal ones unless DoFixedCols) to their
    // contents plus Padding (ExGridSizing.cpp).
    void AutoSizeColumns(bool DoFixedCols, int Padding);
    // The search panel takes the search footer's settings.
    void UpdateSearchFooter();
    // Balloon tool tips: set up once while Balloon.Enable is on, released
    // when it goes off and at destruction.
    void BalloonInit();
    void BalloonDone();
    // Every column's width and the grid's width, the base of proportional sizing.
    void InitOrigColSizes();
    void Invalidate() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // Shows, hides or enables the scroll bars from what fits (ScrollBarAlways).
    void UpdateScrollBars(bool HideWhenAllFit);
    // The control itself when it is a form, else the nearest form among its parents.
    static TCustomForm* FindParentForm(TControl* AControl);
    // The edit mask of a cell: EditMask, then OnGetEditMask.
    virtual QString QueryEditMask(int ACol, int ARow);
    // Whether visual themes are in use for the in-cell controls.
    bool IsThemed() const { return FIsThemed; }
    bool IsWinXP() const { return FIsWinXP; }
    bool IsWin7() const { return FIsWin7; }
    bool IsVista() const { return FIsVista; }
    bool IsComCtl6() const { return FIsComCtl6; }
    // The wheel step: lines per notch (the visible rows for page scrolling)
    // and the message the wheel arrives with.
    int WheelScrollLineCount() const { return FWheelScrollLines; }
    UINT WheelMessage() const { return FWheelMsg; }
    // The form resize handler the grid took over (run before its own work).
    bool HasOwnerFormResize() const { return FHasOwnerFormResize; }
    // The settings objects, lists and fonts owned by the grid.
    TStringList* ColumnHeaders() const { return FColumnHeaders.get(); }
    TStringList* RowHeaders() const { return FRowHeaders.get(); }
    TStringList* LookupItems() const { return FLookupItems.get(); }
    TStringList* FilterList() const { return FFilterList.get(); }
    TFont* FixedFont() const { return FFixedFont.get(); }
    TFont* ActiveCellFont() const { return FActiveCellFont.get(); }
    TBitmap* RowIndicator() const { return FRowIndicator.get(); }
    TFocusHelper* FocusHelper() const { return FFocusHelper; }
    TBands* Bands() const { return FBands; }
    TSyncGrid* SyncGrid() const { return FSyncGrid; }
    TIntList* MergedColumns() const { return FMergedColumns.get(); }
    TIntList* IgnoreColumns() const { return FIgnoreColumns.get(); }
    TCollection* GridItems() const { return FGridItems.get(); }
    TControlList* ControlList() const { return FControlList.get(); }
    THTMLHintWindow* ScrollHintWindow() const { return FScrollHintWnd; }
    TCellGraphic* CellGraphicScratch() const { return FCellGraphic; }
    // The in-place controls made at run time (none while designing).
    TGridFocusWindow* FocusWindow() const { return FFocusWindow; }
    TArrowWindow* ArrowWindow(TArrowDirection d) const { return FArrows[int(d)]; }
    TGridTransEdit* TransEdit() const { return FTransEdit; }
    TGridTransCombo* TransCombo() const { return FTransCombo; }
    TControlEdit* ControlEditor() const { return FControlEdit; }
    TControlCombo* ControlComboEditor() const { return FControlCombo; }
    TScrollBar* CellScrollBar() const { return FCellScrollBar; }
    TScrollBar* PaintScrollBar() const { return FPaintScrollBar; }

    // ---- size ----
    void SetDefaultRowHeight(int v);
    // Heights of the fixed rows: writing sizes them (not while loading).
    int FixedRowHeight() const { return FFixedRowHeight; }
    void SetFixedRowHeight(int v);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    EXGRID_PLAIN(int, MinRowHeight, 0)
    EXGRID_PLAIN(int, MaxRowHeight, 0)
    EXGRID_PLAIN(int, MinColWidth, 0)
    EXGRID_PLAIN(int, MaxColWidth, 0)
    EXGRID_PLAIN(int, ZoomFactor, 0)
    EXGRID_REPAINTED(TPoint, XYOffset, TPoint(2, 2))
    EXGRID_PLAIN(bool, IntelliZoom, true)
    EXGRID_PLAIN(bool, SizeGrowOnly, false)
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool v);
    EXGRID_PLAIN(TBorderStyle, BorderStyle, bsSingle)
    EXGRID_PLAIN(bool, FixedRowAlways, false)
    EXGRID_PLAIN(bool, FixedColAlways, false)
    EXGRID_PLAIN(TIntelliPan, IntelliPan, TIntelliPan::ipVertical)
    int UpdateCount() const override { return FUpdateCount; }
    bool ScrollRangeDeferred() const override { return FUpdateCount > 0; }

    // ---- look ----
    TGridLook Look() const { return FLook; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    TColor SelectionColor() const { return FSelectionColor; }
    TColor SelectionColorTo() const { return FSelectionColorTo; }
    TColor SelectionMirrorColor() const { return FSelectionMirrorColor; }
    TColor SelectionMirrorColorTo() const { return FSelectionMirrorColorTo; }
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    int SelectionColorMixerFactor() const { return FSelectionColorMixerFactor; }
    EXGRID_PLAIN(TColor, SelectionRectangleColor, TColor(0))
    bool ShowSelection() const { return FShowSelection; }
    EXGRID_PLAIN(bool, HideFocusRect, false)
    EXGRID_PLAIN(bool, FixedAsButtons, false)
    EXGRID_PLAIN(TColor, HintColor, clInfoBk)
    TColor URLColor() const { return FURLColor; }
    EXGRID_REPAINTED(TColor, ActiveCellColor, TColor(0x808080))
    EXGRID_REPAINTED(TColor, ActiveCellColorTo, clNone)
    EXGRID_REPAINTED(bool, ActiveCellShow, false)
    EXGRID_PLAIN(TColor, DisabledFontColor, TColor(0xC0C0C0))
    EXGRID_PLAIN(bool, UseDisabledFont, true)
    TVAlignment VAlignment() const { return FVAlignment; }
    EXGRID_PLAIN(TAlignment, DefaultAlignment, taLeftJustify)
    EXGRID_PLAIN(bool, EnableHTML, true)
    EXGRID_PLAIN(THoverFixedCells, HoverFixedCells, THoverFixedCells::hfNone)
    EXGRID_REPAINTED(bool, ShowDesignHelper, true)
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    EXGRID_PLAIN(bool, AutoNumAlign, false)
    EXGRID_PLAIN(bool, AnchorHint, false)
    bool UseHTMLHints() const { return FUseHTMLHints; }
    void SetUseHTMLHints(bool v);
    const TColorTones& ColorTones() const { return FTones; }
    TVRKStyle ComponentStyle() const { return FStyle; }
    TOfficeTheme OldOfficeTheme() const { return FOldOfficeTheme; }

    // ---- scrolling ----
    TScrollType ScrollType() const { return FScrollType; }
    void SetScrollType(TScrollType v);
    TColor ScrollColor() const { return FScrollColor; }
    void SetScrollColor(TColor v);
    int ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int v);
    TScrollBarAlways ScrollBarAlways() const { return FScrollBarAlways; }
    void SetScrollBarAlways(TScrollBarAlways v);
    EXGRID_PLAIN(bool, ScrollSynch, false)
    EXGRID_PLAIN(TScrollHintType, ScrollHints, TScrollHintType::shNone)

    // ---- editing ----
    EXGRID_PLAIN(TEditorType, DefaultEditor, TEditorType::edNormal)
    EXGRID_PLAIN(QString, EditMask, QString())
    EXGRID_PLAIN(bool, EditWithTags, false)
    TEditorType CurrentEditor() const { return EditControl; }

    // ---- text ----
    EXGRID_PLAIN(QString, FloatFormat, QStringLiteral("%.2f"))
    EXGRID_PLAIN(QString, CheckTrue, QStringLiteral("Y"))
    EXGRID_PLAIN(QString, CheckFalse, QStringLiteral("N"))
    EXGRID_PLAIN(char16_t, PasswordChar, u'*')
    EXGRID_PLAIN(char16_t, Delimiter, u'\0')
    EXGRID_PLAIN(bool, JavaCSV, false)
    EXGRID_PLAIN(bool, AlwaysQuotes, false)
    EXGRID_PLAIN(bool, QuoteEmptyCells, true)
    EXGRID_PLAIN(QString, XMLEncoding, QStringLiteral("ISO-8859-1"))
    EXGRID_PLAIN(bool, ShowNullDates, true)

    // ---- filter ----
    EXGRID_PLAIN(QString, FilterDropDownClear, QStringLiteral("(All)"))
    EXGRID_PLAIN(TFilterDropDownColumns, FilterDropDownColumns, TFilterDropDownColumns::fdNormal)
    EXGRID_PLAIN(bool, FilterNormalCellsOnly, true)
    EXGRID_PLAIN(bool, AutoFilterUpdate, true)
    EXGRID_PLAIN(bool, FilterIncremental, false)
    int FilterLevel() const { return FFilterLevel; }
    int FilterCol() const { return FFilterCol; }

    // ---- hints ----
    EXGRID_PLAIN(bool, UseInternalHintClass, true)
    EXGRID_PLAIN(THintShowLargeTextPos, HintShowLargeTextPos, THintShowLargeTextPos::hpCell)
    EXGRID_PLAIN(TInvalidEntryIcon, InvalidEntryIcon, TInvalidEntryIcon::ieWarning)
    EXGRID_PLAIN(QString, InvalidEntryTitle, QString())
    EXGRID_PLAIN(QString, InvalidEntryText, QString())

    // ---- behaviour ----
    EXGRID_PLAIN(bool, EnableWheel, true)
    EXGRID_PLAIN(bool, EnhRowColMove, true)
    EXGRID_PLAIN(bool, FitCellsInGrid, true)
    EXGRID_PLAIN(bool, LoadFirstRow, true)
    EXGRID_PLAIN(bool, SaveHiddenCells, false)
    EXGRID_PLAIN(bool, ClearTextOnly, false)
    int GroupColumn() const { return FGroupColumn; }
    void SetGroupColumn(int Value);
    EXGRID_PLAIN(bool, PrinterDriverFix, false)
    EXGRID_PLAIN(bool, ExcelClipboardFormat, false)
    EXGRID_PLAIN(int, PreviewPage, 1)
    EXGRID_PLAIN(int, PrintNrOfPages, 0)

    // ---- the window-position hook's target ----
    // Moves the focus frame over the current cell (grown 4 left and top, 5
    // right and bottom), when it is shown.
    void FollowFocusWindow();

    // ---- events ----
    TCellValidateEvent OnCellValidate;
    TNotifyEvent OnEditingDone;
    TCanEditCellEvent OnCanEditCell;
    TRowChangedEvent OnRowChanged;
    TUnitChangedEvent OnUnitChanged;
    TCellButtonEvent OnButtonClick;
    TDateTimeChangeEvent OnDateTimeChange;
    TEditCellChangeEvent OnEditChange;
    TDatePickerEvent OnDatePickerCloseUp;
    TDatePickerEvent OnDatePickerDropDown;
    TRowSizeEvent OnEndRowSize;

    // The states the file readers report to ImportNotification.
    enum TGridImportState { isImportStart, isImportNewRow, isImportDone, isImportSelRow };

    // ---- the string grid's own overridable operations, in the order they
    // were introduced; the method families that own them fill them in ----
    virtual void CalcFooterColumn(int ACol);
    virtual void DoClickSort(int ACol);
    virtual void F2KeyPressed() { }
    virtual void SetEditedCellText(int ACol, int ARow, const QString& Value);
    virtual void SelectionKeyed(const TGridRect& R) { (void)R; }
    virtual void PasteCellText(int ACol, int ARow, const QString& Value);
    virtual QString GetCurrentCell();
    virtual void SetCurrentCell(const QString& Value);
    virtual QString GetCurrentWideCell();
    virtual void SetCurrentWideCell(const QString& Value);
    virtual void RestoreCellCache();
    virtual bool ClickCheckBoxCell(int ACol, int ARow, bool CheckEdit);
    virtual bool ClickRadioButtonCell(int ACol, int ARow, bool CheckEdit);
    virtual QString GetFormattedCell(int ACol, int ARow);
    virtual QString GetFloatFormat(int ACol, int ARow) { return (void)ACol, (void)ARow, FFloatFormat; }
    virtual TCellGraphic* GetCellGraphic(int ACol, int ARow);
    virtual void DoPrintGetPageNum(int PageNum, int PageColNum, QString& PageNumString);
    virtual void DoCheckBoxClick(int ACol, int ARow, bool State);
    // AEditor starts as the editor the settings give; the handler may change
    // it and fill Values with the combo's items.
    virtual void DoFixedEdit(int ACol, int ARow, TGridFixedCellEditor& AEditor, TStringList* Values);
    virtual void DoSelectionChanged(int ALeft, int ATop, int ARight, int ABottom);
    virtual void EditorTextChanged(const QString& Text, int CaretPos) { (void)Text, (void)CaretPos; }
    virtual void InsertGridRow(int ARow);
    virtual void RemoveGridRow(int ARow);
    virtual void DoFilterDone();
    virtual void UpdateColumnSize(int ACol, int& AWidth);
    virtual void UpdateAutoColumnSize(int ACol, int& AWidth);
    virtual void UpdateColumnHeaders() { }
    // The edit-button editors' button: OnEllipsClick for the current cell
    // (real column) may change the text.
    virtual void DoEllipsClick(QString& Text);
    virtual bool MatchFilter(int ARow);
    virtual void PasteStarting() { }
    virtual void PasteDone() { }
    virtual QString GetCellValueText(int ACol, int ARow) { return GetCellEx(ACol, ARow); }
    virtual void RecalcFooterColumn(int ACol, int ARow);
    virtual void RememberCellValue(int ACol, int ARow);
    virtual void DoCanEditCell(int ACol, int ARow, bool& CanEdit);
    virtual void DoCellButtonClick(int ACol, int ARow);
    virtual void DoComboCloseUp(int ARow, int ACol);
    virtual void DoComboDropDown(int ARow, int ACol);
    virtual void RecalcFooter();
    virtual void DoGetAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign);
    virtual void DoGetFormat(int ACol, TSortStyle& AStyle, QString& APrefix, QString& ASuffix);
    virtual void GetEditorType(int ACol, int ARow, TEditorType& AEditor);
    virtual bool IsNoEditorCell(int ACol, int ARow);
    virtual void IsFixedCell(int ACol, int ARow, bool& IsFixed);
    virtual void CanEditCell(int ACol, int ARow, bool& CanEdit);
    virtual void DoIsPasswordCell(int ACol, int ARow, bool& IsPassword);
    virtual void DoGetWordWrap(int ACol, int ARow, bool& WordWrap);
    virtual bool HasComboBox(int ACol, int ARow);
    virtual bool HasSpinEdit(int ACol, int ARow);
    virtual QString GetCheckTrue(int ACol, int ARow);
    virtual QString GetCheckFalse(int ACol, int ARow);
    virtual bool GetColumnFilterValues(int ACol);
    virtual void DeleteGridRows(int RowIndex, int RCount);
    virtual void DoCanAddRow(bool& Allow);
    virtual void DoCanInsertRow(int ARow, bool& CanInsert);
    virtual void ScrollNotify(int RowDelta, bool& Handled) { (void)RowDelta, (void)Handled; }
    virtual void AddEmptyRow();
    virtual void CellSelectorClick(int ACol, int ARow) { (void)ACol, (void)ARow; }
    virtual void FormulaEditNotify() { }
    virtual void SelectAllNotify(const TGridRect& R) { (void)R; }
    virtual void MouseActionsChanged() { }
    virtual bool IsDesigningGrid() const { return IsDesigning(); }
    // Takes goEditing out of Options.
    virtual void DisableEditing();
    virtual void EditorKeyNotify(WORD& Key, TShiftState Shift) { (void)Key, (void)Shift; }
    virtual void EditorMessageNotify(TMessage& Message) { (void)Message; }
    virtual void NavigationChanged() { }
    virtual void GotoFirstRow();
    virtual bool AllowFormattedClipboard() { return false; }
    virtual void FilterDropDownSelect(TObject* Sender, int ItemIndex);
    virtual void FilterDropDownCheck(TObject* Sender, int ItemIndex);
    virtual void DoCheckBoxChange(int ACol, int ARow, bool State);
    virtual bool DoRatingChange(int ACol, int ARow, double& NewRate);
    virtual void DoColorSelect();
    virtual void DoImageSelect();
    virtual void DoCellChanging(int NewCol, int NewRow, bool& Allow);
    virtual void DoScrollCell(int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax);
    virtual bool CanShowFixedDropDown(int ACol);
    virtual void DoStartBlockFocus();
    virtual void DoEndBlockFocus();
    virtual TCustomImageList* GetGridImageList() { return FGridImages; }
    virtual void ExportNotification(int AState, int ARow) { (void)AState, (void)ARow; }
    virtual void ImportNotification(TGridImportState AState, int ARow) { (void)AState, (void)ARow; }
    // 6.2.1.3: major version in the highest byte; the text adds the date.
    virtual int GetVersionNr();
    virtual QString GetVersionString();
    virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);

    // Events the operations above fire.
    std::function<void(TObject* Sender, int ACol)> OnClickSort;
    std::function<void(TObject* Sender, int PageNum, int PageColNum, QString& PageNumString)> OnPrintGetPageNum;
    std::function<void(TObject* Sender, int ACol, int ARow, bool State)> OnCheckBoxClick;
    std::function<void(TObject* Sender, int ACol, int ARow, bool State)> OnCheckBoxChange;
    std::function<void(TObject* Sender, int ALeft, int ATop, int ARight, int ABottom)> OnSelectionChanged;
    std::function<void(TObject* Sender, int ACol, int ARow, TGridFixedCellEditor& AEditor, TStringList* Values)>
        OnFixedEdit;
    TNotifyEvent OnFilterDone;
    TNotifyEvent OnStartBlockFocus;
    TNotifyEvent OnEndBlockFocus;
    std::function<void(TObject* Sender, int ARow, int ACol, bool& IsFixed)> OnIsFixedCell;

    // Repaints the whole grid.
    virtual void RepaintGrid();
    // Stretches a column (-1: the last) so that all columns fill the client width.
    void ApplyColumnStretch(int ACol);
    virtual void QSort();
    virtual void QSortIndexed();

    // ---- rows: hidden rows, counts, insertion and removal ----
    // Two row indices: displayed (what RowCount, Row and TopRow count) and
    // real (all rows in order, hidden ones included). A hidden row leaves the
    // grid with its cells, height and flags and is kept aside under its real
    // index, level 0 for rows hidden directly, k >= 1 for the k-th filter
    // level; the mappings are binary searches over the hidden rows.
    void SetRowCount(int Value);
    int FixedRows() const;
    void SetFixedRows(int Value);
    int GetRowEx() const { return TCustomGrid::Row(); }
    void SetRowEx(int Value);
    void SetRow(int Value) { SetRowEx(Value); }
    void SetTopRow(int Value);
    int TotalRowCount() const;
    int NumHiddenRows() const;
    bool IsHiddenRow(int Rowindex) const;
    int RealRowIndex(int ARow) const { return RealRowFromDisplay(ARow); }
    int DisplRowIndex(int ARow) const { return DisplayRowFromReal(ARow); }
    int RealRowFromDisplay(int ARow) const;
    int DisplayRowFromReal(int ARow) const;
    int RealRow() const { return RealRowFromDisplay(GetRowEx()); }
    // Real indices; rows already hidden are passed over.
    void HideRow(int ARow) { HideRows(ARow, ARow); }
    void HideRows(int FromRow, int ToRow);
    void HideRowsEx(int FromRow, int ToRow);
    // One filter level: the displayed rows listed go, under the next level.
    void HideRowList(const std::vector<int>& RowList);
    void UnHideRow(int Rowindex) { UnHideRows(Rowindex, Rowindex); }
    // Nothing unless FromRow itself is hidden; every hidden row of the range
    // comes back at the place its real index gives.
    void UnHideRows(int FromRow, int ToRow);
    void UnHideRowsAll();
    // Brings back the rows of the level FilterLevel only; the filter lowers
    // the level itself.
    void UnHideRowList();
    // The filter level of a hidden row; -1 for a displayed one.
    int HiddenRowLevel(int Rowindex) const;
    // Count rows from FromIndex go to ToIndex, counted before they leave.
    void MoveRows(int FromIndex, int ToIndex, int Count);
    void HideSelection();
    void UnHideSelection();
    bool SelectionHidden() const { return FSelHidden; }
    // Runs the grid's select-cell handling for the current cell.
    void UpdateEditMode();
    // Columns the find and sort pass over (IgnoreColumns).
    bool IsIgnoredColumn(int ACol) const;

    virtual void RemoveRows(int RowIndex, int RCount);
    // Removes without freeing the rows' cell properties: the caller keeps them.
    virtual void RemoveRowsEx(int RowIndex, int RCount);
    void DeleteRowRange(int ARow, int Count, bool ForRemoval);
    virtual void InsertRows(int RowIndex, int RCount, bool UpdateCellControls = true);
    void InsertRowRange(int RowIndex, int RCount, bool UpdateCellControls);
    void AddRow();
    void RemoveSelectedRows();
    void RemoveUnSelectedRows();
    // Keeps the first normal row of each text in displayed column ACol.
    void RemoveDuplicates(int ACol, bool DoCase);
    void HideSelectedRows();
    void HideUnSelectedRows();

    // Disjunct row selection flags (real index with RowSelectPersistent);
    // a row outside RowCount + hidden rows raises EExGridError, a read grows
    // the list. Outside disjunct mode a read tells whether the row lies in
    // the selection.
    bool RowSelect(int ARow) const;
    void SetRowSelect(int ARow, bool Value);
    void ClearRowSelect();

    std::function<void(TObject* Sender, bool& CanAdd)> OnCanAddRow;
    std::function<void(TObject* Sender, int ARow, bool& CanInsert)> OnCanInsertRow;
    std::function<void(TObject* Sender, int ARow)> OnAutoDeleteRow;

protected:
    // A hidden row: the cells own their cell properties while kept here.
    struct THiddenRow {
        int Idx = 0;
        int Level = 0;
        int Height = 0;
        TGridStoredRow Cells;
        // Entries of the modified, enabled and selection lists; -1: none.
        int Modified = -1;
        int Enabled = -1;
        int Selected = -1;
        THiddenRow() = default;
        THiddenRow(THiddenRow&& o) noexcept;
        THiddenRow& operator=(THiddenRow&& o) noexcept;
        ~THiddenRow();
    };
    // Hidden rows by ascending real index, in blocks: a level of half a
    // million rows needs no single block of memory.
    using THiddenRows = std::deque<THiddenRow>;
    THiddenRows FHiddenRows;
    // The disjunct row selection, by displayed row (hidden rows carry their
    // flags in their records), by real row while RowSelectPersistent is on;
    // RowSelectIndex maps. The one record of the selected rows.
    mutable TRowSelectFlags FRowSelect;
    bool FSelHidden = false;
    TGridRect FHiddenSelection;
    // A linked grid following the row must not hand the move back.
    bool FSyncingRow = false;
    // Displayed rows out of the grid (ascending), their cells, heights and
    // flags into records (dropping a record frees its cell properties);
    // Removal: the rows leave for good, selection flags kept by real index too.
    THiddenRows TakeDisplayedRows(const std::vector<int>& Rows, bool Removal);
    // Records back into the grid at the displayed places given (ascending).
    void PutDisplayedRows(const std::vector<int>& Places, THiddenRows& Records);
    // Hidden rows follow displayed rows removed (real indices, ascending) or
    // Count rows inserted at a real index.
    void ShiftHiddenForRemoval(const std::vector<int>& RealRows);
    void ShiftHiddenForInsertion(int RealIndex, int Count);
    // Displayed rows (ascending) removed for good; the caller may keep the
    // rows' cell properties.
    void RemoveDisplayedRows(const std::vector<int>& Rows, bool KeepProperties = false);
    void HideDisplayedRows(const std::vector<int>& Rows, int Level);
    void UnHideRecords(THiddenRows&& Records);
    // Splits every merged area that covers both row ARow - 1 and row ARow,
    // so that no covered cell of a cut area reads another row.
    void SplitAreasAcross(int ARow);
    // Splits the areas cut by taking the rows (ascending) out.
    void SplitAreasAround(const std::vector<int>& Rows);
    // The controls placed in cells follow their real rows: NewRow gives a
    // control's new real row, -1 when its row is gone (it is hidden and dropped).
    void ShiftCellControls(const std::function<int(int)>& NewRow);
    void ShiftCellControlsForRemoval(const std::vector<int>& RealRows);
    // Shows or hides the controls placed on the real rows (ascending).
    void ShowCellControls(const std::vector<int>& RealRows, bool Show);

public:
    // ---- columns: hidden columns, counts, insertion and removal ----
    // A column has a real index (where its cells are stored, hidden columns
    // counted) and, while shown, a displayed one: ColCount, Col, ColWidths
    // and painting count shown columns, every cell operation takes real
    // columns. Hidden columns keep their cells at their real index. The
    // mappings are table lookups; an index beyond the grid passes through.
    void HideColumn(int ACol) { HideColumns(ACol, ACol); }
    // Real columns; at least one column stays shown.
    void HideColumns(int FromCol, int ToCol);
    void UnHideColumn(int ACol) { UnHideColumns(ACol, ACol); }
    void UnHideColumns(int FromCol, int ToCol);
    void UnHideColumnsAll();
    bool IsHiddenColumn(int ACol) const;
    int NumHiddenColumns() const { return FNumHidden; }
    int TotalColCount() const override { return ColCount() + FNumHidden; }
    int RealColIndex(int ACol) const override { return RealColFromDisplay(ACol); }
    int DisplColIndex(int ACol) const override { return DisplayColFromReal(ACol); }
    // A hidden real column maps to the displayed index of the next shown one.
    int RealColFromDisplay(int ACol) const;
    int DisplayColFromReal(int ACol) const;
    int RealCol() const { return RealColFromDisplay(Col()); }
    // Displayed indices; cells, width, the hidden columns between, the column
    // order list and the in-cell controls move along.
    void MoveColumn(int FromIndex, int ToIndex) override;
    // Brings the cell near the middle of the view; with the search footer
    // shown the row is lifted above it.
    void ScrollInView(int ColIndex, int RowIndex) override;
    // Shown columns: growing adds shown columns at the end, shrinking drops
    // the last shown ones (hidden columns after them move down).
    virtual void SetColCount(int Value);
    int MaxColCount() const { return FMaxColCount; }
    // FixedColAlways keeps one fixed column; the last count asked for comes
    // back when the grid grows.
    int FixedCols() const;
    void SetFixedCols(int Value);
    // A linked grid with SelectionColumn follows.
    void SetCol(int Value);
    // The width of column 0; writing sizes every fixed column.
    int FixedColWidth() const;
    void SetFixedColWidth(int Value);
    // Real columns: inserted ones are shown and empty; removal counts hidden
    // columns. Merged areas the run cuts are split first, the others move.
    virtual void InsertCols(int ColIndex, int CCount);
    virtual void RemoveCols(int ColIndex, int CCount);
    void AddColumn() { InsertCols(TotalColCount(), 1); }
    // The displayed column ACol with its cells.
    void DeleteColumn(int ACol) override;
    // By the disjunct column flags, else by the selection rectangle.
    void RemoveSelectedCols();
    void RemoveUnSelectedCols();
    // Records the real column order (0 .. TotalColCount - 1).
    void SetColumnOrder();
    TIntList* ColumnOrder() const { return FColumnOrder.get(); }

protected:
    void ColumnMoved(int FromIndex, int ToIndex) override;
    // Displayed columns; the hidden ones keep their real places, the shown
    // ones take theirs in the new order with their cells, order entries,
    // selection flags and controls.
    void ColumnsPermuted(int First, const std::vector<int>& Order) override;
    // Hides the real columns in the order listed, in one pass; once a single
    // shown column is left, the rest of the list is refused.
    void HideColumnList(const std::vector<int>& Cols);
    // The height the search panel takes below the cells.
    virtual int SearchPanelHeight() const;

    int FFixedColWidth = 64;
    // Per real column while columns are hidden, empty otherwise.
    std::vector<bool> FVisibleCol;
    std::vector<int> FAllColWidths;
    int FNumHidden = 0;

private:
    std::vector<int> FDisplToReal;
    std::vector<int> FRealToDispl;
    bool FSyncingCol = false;
    // Moves the linked grid when Wanted, unless the linked grid is the one
    // moving this grid (Busy).
    void FollowLinkedGrid(bool& Busy, bool Wanted, const std::function<void(TExStringGrid&)>& Move);
    void RebuildColMaps();
    void EnsureColTables();
    // Sets the toolkit grid's shown columns and their widths.
    void ApplyShownColumns(const std::vector<int>& Widths);
    std::vector<int> ShownColWidths() const;
    // Splits the merged areas that reach column ACol from its left (Right:
    // that reach beyond it to the right).
    void SplitAreasAcross(int ACol, bool Right);
    bool ColSelected(int ADisplCol) const;
    void RemoveRealCols(std::vector<int> Reals);

public:
    // ---- cells: clearing, merging runs, used range, change reports ----

    // Clearing empties texts and frees cell properties (ClearTextOnly keeps
    // them); every form ends in ClearRect, which reports the cleared cells.
    // Rows and counts outside the grid are cut to it, nothing raises.
    void ClearRows(int RowIndex, int RCount);
    void ClearNormalRows(int RowIndex, int RCount);
    void ClearCols(int ColIndex, int CCount);
    void ClearNormalCols(int ColIndex, int CCount);
    void ClearNormalCells();
    void ClearSelection();
    void Clear();
    // Clear, then the texts of the hidden rows too.
    void ClearAll();
    // Takes leading and trailing blanks and control characters off the stored
    // text of each cell's base cell; reports the cells when a text changed.
    virtual void TrimRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void TrimColumn(int ACol);
    void TrimRow(int ARow);
    void TrimAll();
    // Storage columns.
    void ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor);
    // Merges runs of equal texts among the normal cells; without MainMerge a
    // run stays inside the merged areas of the neighbouring columns (rows).
    void MergeColumnCells(int ColIndex, bool MainMerge);
    void MergeRowCells(int RowIndex, bool MainMerge);
    void SplitColumnCells(int ColIndex);
    void SplitRowCells(int RowIndex);
    void SplitAllCells();
    // The first cell, row by row, whose stored text is SubStr.
    bool IsCell(const QString& SubStr, int& ACol, int& ARow);
    // The cell holds wide-encoded text.
    bool IsWideCell(int ACol, int ARow);
    // Appends ColIndex2's text, after Separator, to ColIndex1's in the normal
    // and footer rows, then removes ColIndex2 (real columns).
    void MergeCols(int ColIndex1, int ColIndex2, const QString& Separator);
    // The smallest block of displayed cells holding every non-empty text;
    // (0, 0, 0, 0) also when none does.
    virtual TGridRect UsedCells();
    // Notifiers are not owned; one freed while registered leaves the list.
    void RegisterNotifier(TGridChangeNotifier* ANotifier);
    void UnRegisterNotifier(TGridChangeNotifier* ANotifier);
    int NotifierCount() const { return int(FNotifierList.size()); }
    // One selection listener at a time.
    void RegisterSelListener(ITExStringGridSelect* AListener) { FISelect = AListener; }
    void UnRegisterSelListener(ITExStringGridSelect* AListener) { (void)AListener, FISelect = nullptr; }
    ITExStringGridSelect* SelListener() const { return FISelect; }

    // Opens and drops every node (ExGridNodes.cpp); least bodies until the
    // disjunct column selection and the incremental search land.
    virtual void RemoveAllNodes();
    // A shown column's disjunct selection flag.
    bool GetColSelect(int ACol) const
    {
        return ACol >= 0 && ACol < int(FColSelection.size()) && FColSelection[std::size_t(ACol)];
    }
    QString SearchInc;

protected:
    // While set, ClearRect drops property objects without freeing them (they
    // belong to another row now).
    bool FNilObjects = false;
    // While set, ClearRect reports nothing.
    bool FBlockCellChange = false;
    int FFixedRowHeight = 22;
    ITExStringGridSelect* FISelect = nullptr;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // Cuts the block to the grid; Map tells whether its columns are displayed
    // ones to map to real ones (SaveHiddenCells, block among the displayed
    // columns). False when nothing is left.
    bool CutCellRect(int& ACol1, int& ARow1, int& ACol2, int& ARow2, bool& Map) const;
    // No property object is left outside the real columns Cleared.
    bool NoCellPropsBeside(const std::vector<bool>& Cleared) const;

public:
    // ---- typed views, fills, headers, merged columns ----

    // Typed views of a cell by real column and displayed row, written through
    // SetCellEx. Reads take the text without mark-up, trimmed; an empty text
    // or "-" reads 0, any other text that is no number raises EExGridError.
    int Ints(int ACol, int ARow);
    int GetInts(int ACol, int ARow) { return Ints(ACol, ARow); }
    void SetInts(int ACol, int ARow, int Value);
    // The formatted number's leading signs, currency and thousand separators
    // are passed over; written with the cell's float format.
    double Floats(int ACol, int ARow);
    double GetFloats(int ACol, int ARow) { return Floats(ACol, ARow); }
    // The number a display text reads as, by Floats' rules (throws as it does).
    static double FloatOfDisplayText(const QString& Text);
    void SetFloats(int ACol, int ARow, double Value);
    // By real row, hidden rows included; the text is read as stored (mark-up
    // kept) and floats are written with FloatFormat.
    int AllInts(int ACol, int ARow);
    void SetAllInts(int ACol, int ARow, int Value);
    double AllFloats(int ACol, int ARow);
    double GetAllFloats(int ACol, int ARow) { return AllFloats(ACol, ARow); }
    void SetAllFloats(int ACol, int ARow, double Value);
    // Short date and time texts of the format settings; a text that is no
    // date or time raises EConvertError. A date of 0 or below empties the
    // cell unless ShowNullDates.
    TDateTime Dates(int ACol, int ARow);
    void SetDates(int ACol, int ARow, TDateTime Value);
    TDateTime Times(int ACol, int ARow);
    void SetTimes(int ACol, int ARow, TDateTime Value);
    // The value of the mark-up form control with that ID; empty when there is
    // none, and writing to a missing control changes nothing.
    QString ControlValues(int ACol, int ARow, const QString& ID);
    void SetControlValues(int ACol, int ARow, const QString& ID, const QString& Value);

    // Fills of every shown cell (DoFixed) or of the normal cells, row by row,
    // then the footer is recalculated. FormatFill's format takes the column
    // and the row; one that does not fit them raises EConvertError.
    void TextFill(bool DoFixed, const QString& Txt);
    void FormatFill(bool DoFixed, const QString& Fmt);
    // 0 .. Rnd - 1; 0 for Rnd <= 0.
    void RandomFill(bool DoFixed, int Rnd);
    // "column:row".
    void LinearFill(bool DoFixed);

    // Copies of the lists; the headers land in the first row and column.
    void SetColumnHeaders(const TStringList* Value);
    void SetRowHeaders(const TStringList* Value);
    void SetLookupItems(const TStringList* Value);
    void SetFixedFont(const TFont* Value);
    // Splits the merged cells of every column, then merges equal cells again
    // in MergedColumns, each later column only inside the earlier ones' areas.
    void SplitAllColumnCells();
    void ApplyMergedColumns();

    // The printed width and left offset of columns 0 to 511 as the print
    // engine laid them out; another column raises EExGridError.
    int PrintColWidth(int ACol) const;
    int PrintColOffset(int ACol) const;
    // GetVersionNr's four bytes, highest first, joined by ".".
    QString Version();
    void SetVersion(const QString& Value) { (void)Value; }

protected:
    static constexpr int MaxPrintCols = 512;
    std::array<int, MaxPrintCols> FPrintColWidth {};
    std::array<int, MaxPrintCols> FPrintColOffset {};

private:
    THiddenRow* HiddenRecord(int ARow);
    // The text of a real row, from the hidden rows' records when it is hidden.
    QString AllCellText(int ACol, int ARow);
    void SetAllCellText(int ACol, int ARow, const QString& Value);
    // The fill range's cells, row by row, as (real column, displayed column, row).
    void ForFillCells(bool DoFixed, const std::function<void(int, int, int)>& Fill);

public:
    // ---- stream form and its save range ----

    // The states the file writers report to ExportNotification.
    enum TGridExportState {
        esExportStart,
        esExportNewRow,
        esExportDone,
        esExportSelRow,
        esExportFail,
        esExportNextRow
    };

    // The grid's own text form in a byte stream: UTF-16 lines, coordinates
    // relative to the first saved cell. Loading reads from the position and
    // stops before the first line that is not one of its own, so the form can
    // sit inside a larger stream. A malformed number, or a header announcing
    // more columns than the stream has width lines for or more than
    // 10,000,000 rows, raises EConvertError (cells read so far stay); a width
    // line beyond the grid raises the grid's index error. Widths are taken up
    // to 65535, cell lines beyond the grid are skipped.
    void SaveToStream(TStream* Stream);
    void LoadFromStream(TStream* Stream);

    // The cells the file writers save, by SaveFixedCells, SaveFixedCols,
    // SaveFixedRows, FixedRightCols and FixedFooters.
    int SaveStartCol() const;
    int SaveEndCol() const;
    int SaveColCount() const;
    int SaveStartRow() const;
    int SaveEndRow() const;
    int SaveRowCount() const;
    // The text a writer saves for a cell and the way a reader stores one.
    virtual QString GetSaveCellText(int ACol, int ARow);
    virtual void SetLoadCellText(int ACol, int ARow, const QString& Value);
    virtual void DoCellsChanged(const TRect& R);

    bool SaveFixedCells() const { return FSaveFixedCells; }
    void SetSaveFixedCells(bool v) { FSaveFixedCells = v; }
    bool SaveFixedCols() const { return FSaveFixedCols; }
    void SetSaveFixedCols(bool v) { FSaveFixedCols = v; }
    bool SaveFixedRows() const { return FSaveFixedRows; }
    void SetSaveFixedRows(bool v) { FSaveFixedRows = v; }
    bool SaveVirtCells() const { return FSaveVirtCells; }
    void SetSaveVirtCells(bool v) { FSaveVirtCells = v; }
    bool SaveWithHTML() const { return FSaveWithHTML; }
    void SetSaveWithHTML(bool v) { FSaveWithHTML = v; }
    bool SaveWithRTF() const { return FSaveWithRTF; }
    void SetSaveWithRTF(bool v) { FSaveWithRTF = v; }
    bool Multilinecells() const { return FMultilinecells; }
    void SetMultilinecells(bool v) { FMultilinecells = v; }
    int FixedRightCols() const { return FFixedRightCols; }
    void SetFixedRightCols(int v);

    // Value may be changed by the handler.
    TGetDisplTextEvent OnSaveCell;
    TGetDisplTextEvent OnLoadCell;
    TCellsChangedEvent OnCellsChanged;

protected:
    bool FSaveFixedCells = true;
    bool FSaveFixedCols = false;
    bool FSaveFixedRows = false;
    bool FSaveVirtCells = true;
    bool FSaveWithHTML = true;
    bool FSaveWithRTF = false;
    bool FMultilinecells = false;
    int FFixedRightCols = 0;

    // ==== cell access and per-cell looks (ExGridAccess.cpp) ====
public:
    // Texts by real column and real row, hidden rows included: a hidden
    // row's kept texts read "" beyond their end, and writes extend them.
    // Reads of negative indexes give "". A write on a shown row also repaints
    // the cell where it is shown, right of hidden columns.
    QString AllCells(int ACol, int ARow);
    void SetAllCells(int ACol, int ARow, const QString& Value);
    QString GetCellsEx(int ACol, int ARow) { return AllCells(ACol, ARow); }
    void SetCellsEx(int ACol, int ARow, const QString& Value) { SetAllCells(ACol, ARow, Value); }
    // The same, raw: the stored text without merging or display hooks.
    QString AllGridCells(int ACol, int ARow);
    void SetAllGridCells(int ACol, int ARow, const QString& Value);
    // Wide-encoded cells read as their wide text.
    QString AllWideCells(int ACol, int ARow);
    void SetAllWideCells(int ACol, int ARow, const QString& Value) { SetAllCells(ACol, ARow, Value); }
    QString WideCells(int ACol, int ARow);
    // The user object by real row; on a hidden row the one held in the kept
    // cell properties (a write without them gives the kept cell properties).
    quintptr AllObjects(int ACol, int ARow);
    void SetAllObjects(int ACol, int ARow, quintptr Value);
    // The raw object slot by real row; nil beyond a hidden row's kept objects.
    TObject* GetGridObjectsEx(int ACol, int ARow);
    TObject* RealRowCellObject(int ACol, int ARow) { return GetGridObjectsEx(ACol, ARow); }
    // The kept cells of a hidden real row; nil for a shown row.
    TGridStoredRow* HiddenRowItems(int ARow);
    // By the column's place before columns were moved.
    QString OriginalCells(int ACol, int ARow);
    void SetOriginalCells(int ACol, int ARow, const QString& Value);
    // By the row's place before the grid was sorted.
    QString UnSortedCells(int ACol, int ARow);
    void SetUnSortedCells(int ACol, int ARow, const QString& Value);
    QString DisplCells(int ACol, int ARow) { return GetFormattedCell(ACol, ARow); }
    QString StrippedCells(int ACol, int ARow);
    QString GetStrippedCell(int ACol, int ARow) { return StrippedCells(ACol, ARow); }
    int LinesInCell(int ACol, int ARow);

    // Per-cell looks by real column and displayed row. Reads create no cell
    // properties (except WordWraps) and give the default without them;
    // writes create them and repaint the cell where it is shown.
    TColor Colors(int ACol, int ARow);
    void SetColors(int ACol, int ARow, TColor Value);
    TColor ColorsTo(int ACol, int ARow);
    void SetColorsTo(int ACol, int ARow, TColor Value);
    TCellGradientDirection Gradients(int ACol, int ARow);
    void SetGradients(int ACol, int ARow, TCellGradientDirection Value);
    bool ReadOnly(int ACol, int ARow);
    void SetReadOnly(int ACol, int ARow, bool Value);
    bool WordWraps(int ACol, int ARow);
    void SetWordWraps(int ACol, int ARow, bool Value);
    TColor FontColors(int ACol, int ARow);
    void SetFontColors(int ACol, int ARow, TColor Value);
    TFontStyles FontStyles(int ACol, int ARow);
    void SetFontStyles(int ACol, int ARow, TFontStyles Value);
    int FontSizes(int ACol, int ARow);
    void SetFontSizes(int ACol, int ARow, int Value);
    QString FontNames(int ACol, int ARow);
    void SetFontNames(int ACol, int ARow, const QString& Value);
    TAlignment Alignments(int ACol, int ARow);
    void SetAlignments(int ACol, int ARow, TAlignment Value);
    // The grid's Font for a cell without properties, else the grid's scratch
    // font (the same object on every read) with the cell's font.
    TFont* GetCellFont(int ACol, int ARow);
    void SetCellFont(int ACol, int ARow, const TFont* Value);
    TFont* Fonts(int ACol, int ARow) { return GetCellFont(ACol, ARow); }
    void SetFonts(int ACol, int ARow, const TFont* Value) { SetCellFont(ACol, ARow, Value); }
    // A control placed on the cell, listed in ControlList by displayed column
    // and real row; clearing neither frees nor hides it.
    TControl* CellControls(int ACol, int ARow);
    void SetCellControls(int ACol, int ARow, TControl* Value);
    int NumCellControls() const { return FNumCellControls; }
    // Every cell of the displayed row from FixedCols on, hidden columns
    // included. clNone frees the cells' properties (RowColor: of the cells
    // without a graphic; RowFontColor: of the cells without a colour).
    void SetRowColor(int ARow, TColor Value);
    void SetRowColorTo(int ARow, TColor Value);
    void SetRowFontColor(int ARow, TColor Value);

    // The current cell's base cell: raw text (CurrentCell) or as displayed.
    QString CurrentCell() { return GetCurrentCell(); }
    int AllColCount() const { return TotalColCount(); }
    int AllRowCount() const { return TotalRowCount(); }
    // By real column; a hidden column's width is the one it had when shown.
    int AllColWidths(int ACol) const;
    void SetAllColWidths(int ACol, int Value);
    // Between sorted positions and the places rows had before sorting.
    int SortedRowIndex(int ARow) const;
    int UnSortedRowIndex(int ARow) const;
    // The cursor set here is the one hover cursors go back to; the grid's
    // own hover cursors go through TBaseGrid::SetCursor.
    void SetCursor(TCursor v) override;
    void SetFocusHelper(const TFocusHelper* Value);
    // Adds Step to every shown column width and row height that stays above
    // 0; ZoomFactor stays within -10..10 (a step beyond does nothing).
    void Zoom(int Step);
    // The wheel-pan marker at wheelpanpos.
    void DrawIntelliPanMarker();
    void InvalidateIntelliPanMarker();

    // Asked while the mouse is over a fixed cell's sizing border.
    std::function<void(TObject* Sender, int ACol, bool& Allow)> OnColumnSize;
    std::function<void(TObject* Sender, int ARow, bool& Allow)> OnRowSize;

    // While set, an editor change is not reported as OnEditChange; every
    // edit-text fetch sets it, the editor clears it.
    bool FNoEditChange = false;
    // Where wheel panning started.
    TPoint wheelpanpos;

protected:
    void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
        const TGridDrawInfo& info) const override;

    bool FIntegralHeight = false;
    bool FUseHTMLHints = false;
    int FNumCellControls = 0;
    bool FScrollLock = false;
    // A fixed cell is being sized; a refused column sizing clears it.
    mutable bool FSizeFixed = false;

    // An automatic-range in-cell scroll bar follows its cell's text: page
    // the row's height, range the wrapped text's height. Only cells with
    // properties get here, and others are left unmeasured.
    void CellTextChanged(int ACol, int ARow) override;

private:
    TCellProperties* ExistingCellProperties(int ACol, int ARow);
    // Repaints the cell of a real column where it is shown.
    void RepaintShownCell(int ACol, int ARow);
    void WriteRealRowCell(int ACol, int ARow, const QString& Value, bool Raw);
    // Frees a cell's properties; a control placed on it leaves ControlList.
    void FreeLookProperties(int ACol, int ARow);
    // ==== end of cell access and per-cell looks ====

    // ==== combo item lists and editability queries (ExGridComboList.cpp) ====
public:
    // The combo editor's items, one list shared by every combo cell: the
    // application fills it per cell (in OnGetEditorType or the editor-property
    // event), the grid never sorts it. Items compare ignoring case.
    TStringList* ComboItems() const { return FComboItems.get(); }
    // Empties the list; the combo's current text stays.
    void ClearComboString();
    void AddComboString(const QString& S);
    void AddComboStringObject(const QString& S, TObject* AObject);
    // Deletes the first item equal to S; false when there is none.
    bool RemoveComboString(const QString& S);
    // The item to preselect when the combo opens on a text that is none of
    // its items: the first equal to S (false, and no change, when none), or
    // an index taken as it is.
    bool SetComboSelectionString(const QString& S);
    void SetComboSelection(int Index);
    int GetComboCount() const;
    // Writes item Index's text into the cell, -1 the empty text; any other
    // index outside the list, or a cell outside the grid, changes nothing.
    // The list is filled for that cell first; a merged cell's covered part
    // stands for its base cell.
    void SetComboIndex(int ACol, int ARow, int Index);
    // The index of the cell's text among the items, -1 when absent.
    int GetComboIndex(int ACol, int ARow);
    // Whether the cell (display column) may be edited: editing on (goEditing,
    // range select and edit, or switched off for the current cell only), and
    // the cell's base cell editable and not fixed.
    bool IsEditable(int ACol, int ARow);
    bool IsEditableCell(int ACol, int ARow);
    // Whether the cell (display column; a merged cell by its base cell) is
    // fixed: a fixed footer row, a fixed right column, or as IsFixedCell says.
    // The painting keeps asking TBaseGrid::IsFixed, which handles footers
    // and right columns itself.
    bool IsFixedDisplayCell(int ACol, int ARow);
    // Whether the cell's text is shown masked.
    bool CheckPasswordCell(int ACol, int ARow);

protected:
    // Lets the application fill the combo list for the cell before
    // SetComboIndex and GetComboIndex use it: the editor-property hook.
    virtual void ComboListForCell(int ACol, int ARow) { (void)ACol, (void)ARow; }
    std::unique_ptr<TStringList> FComboItems = std::make_unique<TStringList>();
    // ==== end of combo item lists and editability queries ====

    // ==== rich text and the rich edit (ExGridRich.cpp) ====
public:
    // The two rich edits, made on first use with the grid as owner and
    // parent, hidden: the converter and measurer of rich-text cells (at 0, 0,
    // size 0 by 0, no border, transparent for the mouse) and the in-place
    // editor of rich-text cells (its selection changes fire
    // OnRichEditSelectionChange).
    TExRichEdit* RichEdit();
    TExRichEdit* GetRichEdit() { return RichEdit(); }
    TExRichEdit* InplaceRichEdit();
    // The cell's text (display text, real column) goes into the rich edit
    // whole: an RTF document shows formatted, any other text as it is; an
    // empty cell clears it.
    void CellToRich(int ACol, int ARow, TRichEdit* ARichEdit);
    // The rich edit's content as an RTF document in 8-bit characters (its
    // bytes); empty while the grid is being destroyed.
    QString RichToString(TRichEdit* ARichEdit);
    void RichToCell(int ACol, int ARow, TRichEdit* ARichEdit);
    // The plain text of a rich text, through the hidden rich edit.
    QString RichToPlainText(const QString& RichText);

    TNotifyEvent OnRichEditSelectionChange;

    // While InvokedFocusChange is set the grid moves the focus itself and
    // the editors' focus handlers end nothing.
    bool InvokedFocusChange = false;
    // Stores and hides the open in-place rich editor; false when none is open.
    bool HideInplaceRichEdit();

protected:
    friend class TExRichEdit;
    TExRichEdit* FRichEdit = nullptr;
    TExRichEdit* FInplaceRichEdit = nullptr;

private:
    bool FStoringRichEdit = false;

public:
    // ==== end of rich text and the rich edit ====

    // ==== selection lists, per-row state, column order and small services (ExGridSelection.cpp) ====
public:
    // The stored disjunct flag of a row as RowSelect indexes it; no range
    // test, nothing grows.
    bool RowSelectFlag(int ARow) const;
    // The index RowSelect takes for a displayed row (its real row while the
    // selection is persistent), and back (-1 for a hidden row).
    int RowSelectIndex(int ADisplRow) const;
    int RowSelectDisplRow(int AIndex) const;
    // The selection of a real row, also while it is hidden.
    bool RealRowSelected(int ARealRow);
    void SetRealRowSelected(int ARealRow, bool Value);
    // Disjunct column flags by displayed column; out of range raises
    // EExGridError. Reading grows the list (also outside disjunct mode).
    bool ColSelect(int ACol);
    void SetColSelect(int ACol, bool Value);
    int RowSelectCount() const;
    int ColSelectCount() const;
    void ClearColSelect();
    // Disjunct mode sets the flags of the rows (columns) of the run, else the
    // selection becomes those whole rows (columns).
    void SelectRows(int RowIndex, int RCount);
    void UnSelectRows(int RowIndex, int RCount);
    void SelectCols(int ColIndex, int CCount);
    void UnSelectCols(int ColIndex, int CCount);
    void SelectRange(int FromCol, int ToCol, int FromRow, int ToRow);
    void FocusCell(int ACol, int ARow);
    void GotoCell(int ACol, int ARow);
    void EditCell(int ACol, int ARow);
    // Exchanges the stored texts and property objects (real columns), without
    // hooks or repaint.
    void SwapCells(TGridCoord FromCell, TGridCoord ToCell);
    // Per displayed row (hidden rows carry their entries in their records);
    // the lists grow on write.
    bool RowModified(int ARow) const;
    void SetRowModified(int ARow, bool Value);
    int ModifiedRowCount() const;
    void ClearModifiedRows();
    bool RowEnabled(int ARow) const;
    // Disabling the current row moves the cursor to the first other enabled
    // normal row, when there is one.
    void SetRowEnabled(int ARow, bool Value);
    bool UseEnabledRows() const { return FUseEnabledRows; }
    // Repaints: the visible band of a row (column), a block of cells (the
    // whole grid when a corner is off screen), a block's corners' union.
    void RepaintRow(int ARow);
    void RepaintCol(int ACol);
    void RepaintRect(const TGridRect& R);
    void RepaintGridRect(const TGridRect& R);
    // Copies the selection rectangle into the disjunct flags; without All
    // only the rows (columns) inside it are written.
    void SelectionToRowSelect(bool All);
    void SelectionToColSelect(bool All);
    bool LastRowAboveSearchPanel();
    void ScrollAboveSearchPanel();
    // Scrolls until the displayed row shows whole above the search panel.
    void ScrollRowAboveSearchPanel(int ARow);

    // Disjunctly selected cells, by the indices they were selected with, in
    // the order selected.
    TGridCoord GetSelectedCell(int i) const;
    bool GetSelectedCells(int i, int j) const;
    void SetSelectedCells(int i, int j, bool Value);
    // Without disjunct cell selection the list is rebuilt from Selection.
    int SelectedCellsCount();
    void ClearSelectedCells();
    int SelectedColCount() const;
    int SelectedRowCount() const;
    // The selected normal rows in the order selected, indexed as RowSelect
    // takes them; -1 beyond them.
    int GetSelectedRow(int i) const;

    // The column order: entry p is the real column that was at position p.
    void ResetColumnOrder();
    int ColumnPosition(int ACol) const;
    int ColumnAtPosition(int ACol);
    // The first real column whose row-0 text is AValue; -1 when none.
    int ColumnByHeader(const QString& AValue);
    QString GetWideCells(int i, int j) { return GetCellEx(i, j); }
    void SetWideCells(int i, int j, const QString& Value) { SetCellEx(i, j, Value); }

    // Takes the grid's colours from the platform's active visual style, when
    // that is another than the system's own.
    void ApplyVCLStyleColors();
    bool UseVCLStyles() const { return FUseVCLStyles; }
    // Change handler of the fixed-cell editors: OnEditChange for the fixed
    // cell being edited, with the fixed-cell edit's text.
    void FixedEditChange(TObject* Sender);
    // Moves R's Left and Top to the origin of Text drawn at Angle degrees
    // with the canvas font, aligned inside R less 2 pixels.
    void PlaceRotatedCellText(TRect& R, int Angle, const QString& Text, TAlignment HAlign, TVAlignment VAlign);
    // The same from the text's rotated extents: E = |cos * cy|, F = |sin * cx|,
    // G = |sin * cy|, K = |cos * cx|.
    static void PlaceRotatedText(
        TRect& R, TAlignment HAlign, TVAlignment VAlign, int E, int F, int G, int K, int Angle);

    // Asked before a disjunct row flag changes, told after.
    std::function<void(TObject* Sender, int ARow, bool AState, bool& Allow)> OnRowDisjunctSelect;
    std::function<void(TObject* Sender, int ARow)> OnRowDisjunctSelected;

protected:
    using TCustomGrid::FocusCell;
    void HandleChangeScale(int M, int D) override;
    // The selected normal rows in the order selected.
    const std::vector<int>& SelectedRowList() const;
    bool FUseEnabledRows = false;
    // Set by every selection change report.
    bool FSelChange = false;
    bool FUseVCLStyles = false;
    // The fixed cell being edited by the fixed-cell edit or combo.
    int FFixedColEdit = 0;
    int FFixedRowEdit = 0;
    // Disjunctly selected cells as (row << 32 | column), in selection order,
    // and the same keys for lookups while painting.
    std::vector<qint64> FSelectedCellKeys;
    std::unordered_set<qint64> FSelectedCellSet;
    // ==== end of selection lists, per-row state, column order and small services ====

    // ==== cell graphics and in-cell graphics (ExGridGraphics.cpp) ====
public:
    // The cell's graphic record kinds: one per cell, in its properties. Column
    // 0 answers with the grid's scratch row check box while HotmailRowSelect
    // is on. A slot holding another object answers no graphic (ctEmpty).
    virtual TCellType GetCellType(int ACol, int ARow);
    // A new ctNone record in place of the cell's own one; the cell's
    // properties are made and its text is left alone.
    TCellGraphic* CreateCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphicOfType(int ACol, int ARow, TCellType AType);
    // Of the base cell of a merged area.
    bool HasCellGraphicOfType(int ACol, int ARow, std::initializer_list<TCellType> Types);
    // Width and height the graphic takes in its cell, measured with the
    // grid's canvas; ExtraHeight is taken off what a picture may use.
    virtual TPoint GetCellGraphicSize(int ACol, int ARow);
    virtual TPoint CalcCellGraphicSize(int ACol, int ARow, int ExtraHeight);
    // For a given rectangle (printing): pictures are divided by Factor.
    virtual TPoint CalcCellGraphicSizeInRect(int ACol, int ARow, int W, int H, double Factor);
    TIntList* GetCellImages(int ACol, int ARow);
    // The value image sorting compares: the bitmap or icon reference, the
    // image index, else -1.
    qintptr CellImageSortValue(int ACol, int ARow);
    void DoGetDisplText(int ACol, int ARow, QString& Value) override;
    bool HasNodes() const override { return FNumNodes > 0; }
    int GetNodeIndent(int ARow) const override;
    bool IsSortIndicatorCell(int ACol, int ARow);

    // Settings the display text and the graphic sizes read.
    bool URLShowInText() const { return FURLShowInText; }
    void SetURLShowInText(bool v) { FURLShowInText = v; }
    bool XYOffsetTopLeftOnly() const { return FXYOffsetTopLeftOnly; }
    void SetXYOffsetTopLeftOnly(bool v) { FXYOffsetTopLeftOnly = v; }
    int HorizontalTextMargin() const { return FXYOffsetTopLeftOnly ? FXYOffset.X : 2 * FXYOffset.X; }
    int VerticalTextMargin() const { return FXYOffsetTopLeftOnly ? FXYOffset.Y : 2 * FXYOffset.Y; }

    // The image list of the image-index kinds; only the reference is kept.
    void SetGridImages(TCustomImageList* Value) { FGridImages = Value; }

    // ---- in-cell graphics, one family per kind ----
    // Add takes an object the caller keeps; Create makes one the cell owns
    // and returns it. Adding replaces whatever graphic the cell had, removing
    // takes only the family's own kind. Get, Is and Has answer nil, False or
    // -1 for another kind; those marked "base" look at the merged area's base
    // cell.
    void AddBitmap(int ACol, int ARow, TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    TBitmap* CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val);
    TBitmap* GetBitmap(int ACol, int ARow);
    bool HasBitmap(int ACol, int ARow) { return GetBitmap(ACol, ARow) != nullptr; }
    void RemoveBitmap(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctBitmap); }
    void AddPicture(int ACol, int ARow, TPicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
        TCellHAlign hal, TCellVAlign val);
    TPicture* CreatePicture(
        int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val);
    TPicture* GetPicture(int ACol, int ARow);
    bool HasPicture(int ACol, int ARow) { return GetPicture(ACol, ARow) != nullptr; }
    void RemovePicture(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctPicture); }
    void AddFilePicture(int ACol, int ARow, TFilePicture* AFilePicture, bool Transparent, TStretchMode StretchMode,
        int Padding, TCellHAlign hal, TCellVAlign val);
    TFilePicture* CreateFilePicture(
        int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val);
    TFilePicture* GetFilePicture(int ACol, int ARow);
    void RemoveFilePicture(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctFilePicture); }
    void AddIcon(int ACol, int ARow, TIcon* AIcon, TCellHAlign hal, TCellVAlign val);
    TIcon* CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val);
    void RemoveIcon(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctIcon); }

    // The image kinds do nothing while GridImages is not set.
    void AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
    bool GetImageIdx(int ACol, int ARow, int& idx);
    void SetImageIdx(int ACol, int ARow, int Idx);
    void RemoveImageIdx(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctImageList); }
    // The image shown is the cell's integer value; an empty cell takes Aidx.
    void AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
    // Empties the cell text too.
    void RemoveDataImage(int ACol, int ARow);
    bool HasDataImage(int ACol, int ARow) { return HasCellGraphicOfType(ACol, ARow, { ctDataImage }); } // base
    // An empty list filled through GetCellImages; Dir 0 lays it out horizontally.
    void AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val);
    void RemoveMultiImage(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctImages); }

    void AddRotated(int ACol, int ARow, short AAngle, const QString& s);
    // Whatever graphic the cell had becomes rotated text.
    void SetRotated(int ACol, int ARow, short AAngle);
    void RemoveRotated(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRotated); }
    bool IsRotated(int ACol, int ARow, int& aAngle);

    // AObject implements IGridCellGraphic and stays the caller's.
    void AddInterfacedCell(int ACol, int ARow, TObject* AObject);
    TObject* GetInterfacedCell(int ACol, int ARow);
    void RemoveInterfacedCell(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctInterface); }

    void AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor);
    void AddProgressEx(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor, TColor BKTextColor);
    // AutoNumAlign right-aligns the cell.
    void AddProgressFormatted(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
        TColor BKTextColor, const QString& Fmt, int Min, int Max);
    bool HasProgress(int ACol, int ARow) { return HasCellGraphicOfType(ACol, ARow, { ctProgress }); } // base
    void RemoveProgress(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctProgress); }
    void AddExProgress(int ACol, int ARow, int Min, int Max);
    void RemoveExProgress(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctXPProgress); }
    void AddProgressPie(int ACol, int ARow, TColor Color, int Value);
    void SetProgressPie(int ACol, int ARow, int Value);
    void RemoveProgressPie(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctProgressPie); }
    void AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor, bool ShowValue);
    void RemoveRangeIndicator(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRangeIndicator); }

    // The mark takes ControlLook.CommentColor.
    void AddComment(int ACol, int ARow, const QString& Comment);
    void AddColorComment(int ACol, int ARow, const QString& Comment, TColor Color);
    bool IsComment(int ACol, int ARow, QString& comment);
    QString GetComment(int ACol, int ARow);
    // Adds a comment to a cell without graphic; a cell with another kind is left alone.
    void SetComment(int ACol, int ARow, const QString& Value);
    void RemoveComment(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctComment); }
    void RemoveAllComments();

    void AddShape(
        int ACol, int ARow, TCellShape Shape, TColor FillColor, TColor LineColor, TCellHAlign hal, TCellVAlign val);
    // No repaint.
    void SetShapeColor(int ACol, int ARow, TColor FillColor);
    TColor GetShapeColor(int ACol, int ARow);
    void RemoveShape(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctShape); }
    void AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor);
    bool HasRating(int ACol, int ARow) { return HasCellGraphicOfType(ACol, ARow, { ctRating }); } // base
    void RemoveRating(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRating); }

    // Page size 0, range 100, position 0; AutoRange fits the range to the
    // cell text at once. The queries after RemoveScrollBar look at the base cell.
    void AddScrollBar(int ACol, int ARow, bool AutoRange);
    void RemoveScrollBar(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctScrollbar); }
    bool HasScrollBar(int ACol, int ARow) { return HasCellGraphicOfType(ACol, ARow, { ctScrollbar }); }
    bool HasAutoRangeScrollBar(int ACol, int ARow);
    void SetScrollPosition(int ACol, int ARow, int Pos);
    int GetScrollPosition(int ACol, int ARow);
    void SetScrollProp(int ACol, int ARow, const TScrollProp& Prop);
    TScrollProp GetScrollProp(int ACol, int ARow);

    // An error marker under a run of the cell text; it sits on any kind, a
    // cell without graphic gets a ctEmpty record for it.
    void AddMarker(int ACol, int ARow, int ErrPos, int ErrLen);
    void GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen);
    void RemoveMarker(int ACol, int ARow);
    void RemoveAllMarkers();

    // Sizes in pixels, 16 bits each.
    void AddButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TCellHAlign hal, TCellVAlign val);
    void AddBitButton(
        int ACol, int ARow, int bw, int bh, const QString& Caption, TBitmap* Glyph, TCellHAlign hal, TCellVAlign val);
    TBitmap* CreateBitButton(
        int ACol, int ARow, int bw, int bh, const QString& Caption, TCellHAlign hal, TCellVAlign val);
    // These three take a displayed column and act on any graphic kind.
    void SetButtonText(int ACol, int ARow, const QString& Caption);
    QString GetButtonText(int ACol, int ARow);
    void PushButton(int ACol, int ARow, bool push);
    bool HasButton(int ACol, int ARow) { return HasCellGraphicOfType(ACol, ARow, { ctButton, ctBitButton }); }
    void RemoveButton(int ACol, int ARow);
    void RemoveBitButton(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctBitButton); }
    void RemoveAllButtons();
    // Where a button or expand glyph was last painted; empty without graphic.
    TRect GetCellGraphicRect(int ACol, int ARow);

    // A balloon of its own on a cell without graphic, or attached to a check
    // box or radio button; any other graphic gets none.
    void AddBalloon(int ACol, int ARow, const QString& Title, const QString& Text, TBalloonIcon Icon);
    void RemoveBalloon(int ACol, int ARow);
    // A balloon of its own only (base).
    bool HasBalloon(int ACol, int ARow) { return HasCellGraphicOfType(ACol, ARow, { ctBalloon }); }
    bool IsBalloon(int ACol, int ARow, QString& Title, QString& Text, TBalloonIcon& Icon);

    // A radio group: one of the items selected, DirRadio <> 0 horizontal.
    void AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, TStrings* sl);
    TStrings* CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio);
    // IdxRadio gets the index value of any graphic; True only for a radio group.
    bool GetRadioIdx(int ACol, int ARow, int& IdxRadio);
    // Radio groups only; -1 also empties the cell text.
    bool SetRadioIdx(int ACol, int ARow, int IdxRadio);
    TStrings* GetRadioStrings(int ACol, int ARow); // base
    bool IsRadio(int ACol, int ARow) { return HasCellGraphicOfType(ACol, ARow, { ctRadio }); }
    void RemoveRadio(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRadio); }
    // The next item, wrapping; a group set up with an index below -1 follows
    // its text. Always False.
    bool CycleRadioSelection(int ACol, int ARow, bool CheckEdit);

    std::function<void(TObject* Sender, int ACol, int ARow, double& NewRate, bool& Allow)> OnRatingChange;
    // The pickers report through DoColorSelect and DoImageSelect; their
    // editors store what was picked here first.
    void SetPickedColor(TColor Color, const QString& ColorText)
    {
        FPickedColor = Color;
        FPickedColorText = ColorText;
    }
    void SetPickedImage(int ItemIndex) { FPickedImage = ItemIndex; }
    std::function<void(TObject* Sender, int ACol, int ARow, TColor Color, const QString& ColorText)> OnColorSelect;
    std::function<void(TObject* Sender, int ACol, int ARow, int ItemIndex)> OnImageSelect;

protected:
    // The cell's own record, never the scratch row check box.
    TCellGraphic* OwnCellGraphic(int ACol, int ARow);
    void RepaintGraphicCell(int ACol, int ARow);

    // The number of nodes; the node operations keep it.
    int FNumNodes = 0;
    bool FURLShowInText = false;
    bool FXYOffsetTopLeftOnly = false;
    TColor FPickedColor = clNone;
    QString FPickedColorText;
    int FPickedImage = -1;

public:
    // ==== end of cell graphics and in-cell graphics ====

    // ==== nodes (ExGridNodes.cpp) ====
public:
    // Outline rows. A node row holds a ctNode record in column 0 and owns its
    // span of rows, itself included (span 0: up to the next node row); the
    // levels live in column 0's cell properties. Operations marked "real"
    // take real rows (hidden rows counted), the queries displayed ones.
    using TNodeClickEvent = std::function<void(TObject* Sender, int ARow, int ARowreal)>;
    using TNodeAllowEvent = std::function<void(TObject* Sender, int ARow, int ARowReal, bool& Allow)>;

    // Real row. Every ancestor node counts the new node as a sub-node.
    void AddNode(int ARow, int Span);
    void RemoveNode(int ARow); // real row
    bool IsNode(int ARow);
    bool IsSummary(int ARow);
    bool GetNodeState(int ARow);
    void SetNodeState(int ARow, bool Value);
    int GetNodeLevel(int ARow);
    int GetNodeSpan(int ARow);
    void SetNodeSpan(int ARow, int Span);
    void UpdateNodeSpan(int ARow, int Delta);
    int GetSubNodeCount(int ARow);
    // Never below 0.
    void UpdateSubNodeCount(int ARow, int Delta);
    // 0: node row; 1: the row ends its branch; 2: the branch goes on below.
    int GetNodeSpanType(int ARow);
    // The nearest node above whose span covers the row; a node without
    // parent answers itself, a row under no node -1.
    int GetParentRow(int ARow);
    // Whether a click at X in column 0 hits the node glyph.
    bool IsNodeGlyphHit(int ARow, int X);
    // Real rows.
    void ExpandNode(int ARow);
    void ContractNode(int ARow);
    void ExpandAll();
    // Every node's rows leave as one block of plain hidden rows.
    void ContractAll();
    // Rows the user inserts and removes beside nodes: real rows, but
    // RemoveNormalRow takes a displayed one.
    void InsertNormalRow(int ARow);
    void RemoveNormalRow(int ARow);
    // The spans of the row's group and its ancestors follow; sub-node counts
    // change only with the nodes themselves.
    void InsertChildRow(int ARow, int InsertAt);
    void RemoveChildRow(int ARow);
    int NumNodes() const { return FNumNodes; }

    // Expand cells: a glyph that switches the row between two heights. They
    // act on the base cell's record, whatever its kind.
    void AddExpand(int ACol, int ARow, int ExpandedHeight);
    void RemoveExpand(int ACol, int ARow);
    bool HasExpand(int ACol, int ARow);
    bool ToggleExpand(int ACol, int ARow);
    bool GetExpandState(int ACol, int ARow);
    int GetExpandHeight(int ACol, int ARow, bool Expanded);
    // Takes the shown column, as CellRect does.
    TRect GetExpandRect(int ACol, int ARow);

    TNodeClickEvent OnExpandNode;
    TNodeClickEvent OnContractNode;
    TNodeAllowEvent OnBeforeExpandNode;
    TNodeAllowEvent OnBeforeContractNode;

private:
    // The node record of a displayed row, null for another row.
    TCellGraphic* NodeAt(int ARow);
    // NodeLevel of column 0; 0 without properties.
    int RowLevel(int ARow) const;
    // Adds Delta to the levels of the real rows FromRow .. ToRow - 1; the
    // node rows after the first are counted.
    int ShiftLevels(int FromRow, int ToRow, int Delta);
    // The displayed row after the node's rows (span 0: the next node row).
    int NodeEnd(int ARow, int Span);
    // The nodes above the displayed row that hold it, nearest first.
    std::vector<int> AncestorNodes(int ARow);
    void ExpandStep(int ARow);

protected:
    // A forced selection: while set, the cursor may go to any cell (rows
    // leaving the display take it along, without the user's checks).
    bool FForceSel = false;
    // ==== end of nodes ====

    // ==== looks, per-cell queries and colour resolution (ExGridLooks.cpp) ====
public:
    // ---- looks, styles and tones ----
    // A look resets the basic colours (not while loading: stored colours
    // win); a style applies a whole colour scheme; SetColorTones makes a flat
    // grid coloured from five tones.
    void SetLook(TGridLook Value);
    // The identifier (stored) and display name of a look; glCustom has
    // neither and leaves the text as it is.
    static void LookIdentifier(TGridLook ALook, QString& AText);
    static void LookDisplayName(TGridLook ALook, QString& AText);
    virtual void SetStyle(TExGridStyle AStyle);
    void SetTheme(TXPColorScheme Scheme);
    // Follows the user's Office colour scheme when it changed.
    void SyncOfficeTheme();
    // The window is told of Office scheme changes while AutoThemeAdapt is on.
    void RegisterThemeWindow(bool ARegister);
    // A theme change (the platform's or the Office scheme's) reaching the
    // window; true when it was one.
    bool ThemeChangeMessage(const TMessage& Message);
    void DestroyWnd() override;
    // Hands a component style to the drop-down editors that exist.
    void SetDropDownStyles(TVRKStyle AStyle);

    // ---- appearance settings ----
    void SetSelectionColor(TColor v);
    void SetSelectionColorTo(TColor v);
    void SetSelectionMirrorColor(TColor v);
    void SetSelectionMirrorColorTo(TColor v);
    void SetSelectionTextColor(TColor v);
    // Limited to 0..100.
    void SetSelectionColorMixerFactor(int v);
    void SetShowSelection(bool v);
    void SetURLColor(TColor v);
    void SetVAlignment(TVAlignment v);
    bool SelectionColorMixer() const { return FSelectionColorMixer; }
    void SetSelectionColorMixer(bool v);
    bool SelectionRectangle() const { return FSelectionRectangle; }
    void SetSelectionRectangle(bool v);
    bool SelectionResizer() const { return FSelectionResizer; }
    void SetSelectionResizer(bool v);
    // A selected rich-text cell keeps its own text colours.
    bool SelectionRTFKeep() const { return FSelectionRTFKeep; }
    void SetSelectionRTFKeep(bool v);
    bool URLShow() const { return FURLShow; }
    void SetURLShow(bool v);
    bool URLFull() const { return FURLFull; }
    void SetURLFull(bool v);
    int MaxEditLength() const { return FMaxEditLength; }
    void SetMaxEditLength(int v);
    // Whatever the value, turns on the spreadsheet-like selection and editing.
    bool SpreadSheet() const { return FSpreadSheet; }
    void SetSpreadSheet(bool v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    // Switching it on follows the Office colour scheme at once.
    void SetAutoThemeAdapt(bool v);
    void SetSortSettings(const TSortSettings* Value);
    void SetDragScrollOptions(const TDragScrollOptions* Value);
    void SetSyncGrid(const TSyncGrid* Value);
    // The text-drawing vertical flag of VAlignment.
    UINT VAlignFlag() const { return FVAlign; }

    // ---- per-cell queries; each ends in its event ----
    // The filter drop-down lists a column's values by itself.
    EXGRID_PLAIN(bool, FilterDropDownAuto, false)
    enum class TSearchAction { saFindFirst, saFindPrevious, saFindNext };
    using TCellBorders = QFlags<TCellBorder>;
    virtual void DoSearchFooterAction(const QString& Value, int ACol, int ARow, TSearchAction Action);
    virtual void DoExpandClick(int ACol, int ARow, bool Expanded);
    virtual void DoGetCellCursor(int ACol, int ARow, int X, int Y);
    virtual void GetCellHint(int ACol, int ARow, QString& AWideHint, QString& AHint);
    virtual void GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
    virtual void DoGetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
    virtual void GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
    virtual void DoGetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
    virtual void QueryEditorType(int ACol, int ARow, TEditorType& AEditor);
    void GetCellDrawDefaults(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& ColorTo, TColor& MirrorColor,
        TColor& MirrorColorTo, TAlignment& HAlign, TVAlignment& VAlign, bool& WW, TCellGradientDirection& GD) override;

    // ---- colour resolution ----
    // ACol is a displayed column (a real one without Remap).
    void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select, bool Remap,
        TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA,
        TVAlignment& VA, bool& WW, TCellGradientDirection& GD) override;
    // The font and colour query only: no banding, selection or look colours.
    void GetFontProperties(
        int ACol, int RCol, int ARow, TGridDrawState& AState, TFont* AFont, TBrush* ABrush, bool Remap);
    // Low byte the horizontal, high byte the vertical alignment.
    int ResolveCellAlignment(int RCol, int ARow);
    static TColor MixSelectionColor(TColor ASelectionColor, TColor ACellColor, bool Mixer, int Factor);
    static TColor BlendSelectionColor(TColor ASelectionColor, TColor ACellColor, int Factor);

    using TGridHintEvent = std::function<void(TObject* Sender, int ARow, int ACol, QString& HintStr)>;
    using TGridColorEvent
        = std::function<void(TObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush* ABrush, TFont* AFont)>;
    using TGridBorderEvent
        = std::function<void(TObject* Sender, int ARow, int ACol, TPen* APen, TCellBorders& Borders)>;
    using TCellFlagEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& Value)>;
    using TCellTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;
    TGridHintEvent OnGridHint;
    TGridHintEvent OnGridWideHint;
    TGridColorEvent OnGetCellColor;
    TGridColorEvent OnGetCellPrintColor;
    TGridBorderEvent OnGetCellBorder;
    TGridBorderEvent OnGetCellPrintBorder;
    std::function<void(TObject* Sender, int ARow, int ACol, TAlignment& HAlign, TVAlignment& VAlign)> OnGetAlignment;
    std::function<void(TObject* Sender, int ACol, TSortStyle& AStyle, QString& APrefix, QString& ASuffix)> OnGetFormat;
    std::function<void(TObject* Sender, int ACol, int ARow, TEditorType& AEditor)> OnGetEditorType;
    std::function<void(TObject* Sender, int ARow, int ACol, bool& IsPassword)> OnIsPasswordCell;
    TCellFlagEvent OnGetWordWrap;
    TCellFlagEvent OnHasComboBox;
    TCellFlagEvent OnHasSpinEdit;
    TCellTextEvent OnGetCheckTrue;
    TCellTextEvent OnGetCheckFalse;
    std::function<void(TObject* Sender, int Column, TStringList* Filter)> OnGetColumnFilter;
    std::function<void(TObject* Sender, int ACol, int ARow, int X, int Y, TCursor& ACursor)> OnGetCellCursor;
    std::function<void(TObject* Sender, const QString& Value, int ACol, int ARow, TSearchAction SearchAction)>
        OnSearchFooterAction;
    std::function<void(TObject* Sender, int ACol, int ARow, bool Expanded)> OnExpandClick;
    std::function<void(TObject* Sender, int ARow, int ACol)> OnComboCloseUp;
    std::function<void(TObject* Sender, int ARow, int ACol)> OnComboDropDown;
    std::function<void(TObject* Sender, int ARow, int ACol, TColor& Color, TColor& ColorTo, TColor& ColorMirror,
        TColor& ColorMirrorTo, TCellGradientDirection& GD)>
        OnGetCellGradient;

protected:
    TGridLook FLook = TGridLook::glXP;
    bool FAutoThemeAdapt = false;
    TColor FSelectionColor = TColor(0xEACAB6);
    TColor FSelectionColorTo = clNone;
    TColor FSelectionMirrorColor = clNone;
    TColor FSelectionMirrorColorTo = clNone;
    TColor FSelectionTextColor = TColor(0);
    int FSelectionColorMixerFactor = 50;
    bool FShowSelection = true;
    TColor FURLColor = TColor(0xFF0000);
    TVAlignment FVAlignment = TVAlignment::vtaTop;
    bool FSelectionColorMixer = false;
    bool FSelectionRectangle = false;
    bool FSelectionResizer = false;
    bool FSelectionRTFKeep = false;
    bool FURLShow = true;
    bool FURLFull = false;
    int FMaxEditLength = 0;
    bool FSpreadSheet = false;
    bool FFlat = false;
    UINT FVAlign = 0;
    // A mouse button is down in the grid.
    bool FMouseDown = false;
    // Set while an edit is suspended for a read-only cell.
    bool FEditingSuspended = false;

private:
    // Which cell types take a cell's own brush colour, and how.
    enum class TBrushRule { Final, Control, Plain };
    TBrushRule CellBrushRule(int ACol, int ARow);
    // The cell types GetCellColor gives the properties' brush colour.
    bool TakesPropertyBrush(int ACol, int ARow);
    // The selection and row state GetVisualProperties reads.
    bool CellInSelection(int ACol, int ARow) const;
    void ApplySelectedColors(
        TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo, TFont* AFont) const;
    // The look's colour resets of a look change; SetStyle's per-style writes.
    void ApplyLookColors(TGridLook Value);
    void ApplyStyleColors(TExGridStyle AStyle);
    // ==== end of looks, per-cell queries and colour resolution ====

    // ==== sorting, compares and calculations (ExGridSorting.cpp) ====
public:
    // Cell compare of two rows in one column: -1, 0 or +1, +1 when ARow1
    // belongs after ARow2 in ascending order. Never raises for cell content.
    int CompareCellsInColumn(int ACol, int ARow1, int ARow2, TSortDirection Direction);
    // Ties fall through to the columns on the right with Full.
    int CompareRowsFull(int ACol, int ARow1, int ARow2);
    // From entry Index of SortIndexes, each entry with its own direction.
    int CompareRowsIndexed(int Index, int ARow1, int ARow2);

    // Sorts the normal rows: the compare values are read once, row indexes
    // are stable-sorted and the rows then move once, whole.
    // Inside every expanded group of the deepest node level only: node rows,
    // the order of the groups and the rows outside groups stay.
    virtual void QSortGroup();
    virtual void QSortGroupIndexed();
    virtual void QUnSort();
    void Sort(int Column, TSortDirection Direction);
    void SortByColumn(int Col);
    void QuickSort(int Col, int Left, int Right);
    void QuickSortIndexed(int Left, int Right);
    // One bubble step over Col and every later real column.
    bool SortLine(int Col, int ARow1, int ARow2);
    void InitSortXRef();
    // The place of the unsorted row ARow in FSortRowXRef, -1 when absent.
    int SortRowPlace(int ARow) const;
    int UnSortedPlace(int ARow) const;
    void SortRowXRefChanged() { FSortRowPlaceValid = false; }
    virtual void SortSwapRows(int ARow1, int ARow2);

    // Counters of cell compares and row moves; the grid never resets them.
    int Compares = 0;
    int Swaps = 0;
    int SortDir = 1;
    int SortRow = -1;
    quint32 SortTime = 0;

    std::function<void(TObject* Sender, const QString& str1, const QString& str2, int& Res)> OnCustomCompare;
    std::function<void(TObject* Sender, int ACol, int Row1, int Row2, int& Res)> OnRawCompare;

    // Aggregates; FromRow or ToRow -1 stands for the normal rows.
    double ColumnSum(int ACol, int FromRow, int ToRow);
    double ColumnAvg(int ACol, int FromRow, int ToRow);
    double ColumnMin(int ACol, int FromRow, int ToRow);
    double ColumnMax(int ACol, int FromRow, int ToRow);
    double ColumnStdDev(int ACol, int FromRow, int ToRow);
    double ColumnDistinct(int ACol, int FromRow, int ToRow);
    double ColumnCustomCalc(int ACol, int FromRow, int ToRow);
    double GroupCustomCalc(int ACol, int FromRow, int ToRow);
    double RowSum(int ARow, int fromCol, int toCol);
    double RowAvg(int ARow, int fromCol, int toCol);
    double RowMin(int ARow, int fromCol, int toCol);
    double RowMax(int ARow, int fromCol, int toCol);
    void SelectCells(int FromCol, int FromRow, int ToCol, int ToRow);
    // Cells joined by tabs, rows by CR LF.
    QString SelectedText();
    bool IsSelected(int ACol, int ARow);
    void AutoNumberCol(int ACol);
    void AutoNumberRow(int ARow);
    EXGRID_PLAIN(int, AutoNumberStart, 0)
    EXGRID_PLAIN(int, AutoNumberOffset, 0)
    EXGRID_PLAIN(TSortDirection, AutoNumberDirection, TSortDirection(0)) // ascending
    std::function<void(TObject* Sender, int ACol, int FromRow, int ToRow, double& Res)> OnColumnCalc;
    std::function<void(TObject* Sender, int ACol, int FromRow, int ToRow, double& Res)> OnGroupCalc;

private:
    struct TSortKeys;
    // The sort's values, read once per sort; null outside a sort.
    TSortKeys* FSortKeys = nullptr;
    int CompareKeys(int ACol, int ARow1, int ARow2, TSortDirection Direction);
    // Makes the column's compare values ready, its format asked once per sort.
    void KeyColumn(int ACol);
    // The plain sort on one array of keys when the column allows it.
    bool SortPlainColumn(std::vector<int>& Order, int Left, int ACol);
    // Orders the rows Left..Right (inclusive) and moves them once.
    void SortRange(int Left, int Right, bool Indexed, int ACol);
    // Where the runs of equal texts start (offsets from Left) after the last
    // sort that put the rows of each text of its column together, as long as
    // the store's texts stand as that sort left them.
    struct TSortRuns {
        int Col = -1;
        int Left = 0;
        int Count = 0;
        quint64 Edits = 0;
        std::vector<int> Starts;
    };
    TSortRuns FSortRuns;
    // The rows among First..End - 1 where the texts of ACol change, from the
    // last sort's runs when they still hold; the runs are dropped either way.
    bool TakeSortRuns(int ACol, int First, int End, std::vector<int>& Starts);

protected:
    // New order of Left..Right: Order[k] is the row that goes to Left + k.
    void ApplyRowOrder(int Left, const std::vector<int>& Order);

private:
    // The frame of the sorts around Body.
    void SortFrame(bool Indexed, bool Group, const std::function<void()>& Body);
    void SortGroups(bool Indexed);
    bool FSortingIndexed = false;
    // Rows the column aggregates read, and how.
    bool CalcRange(int& FromRow, int& ToRow, bool& RealRows);
    bool CalcValue(int ACol, int ARow, bool RealRows, double& Value);
    // The values of the counted cells in order, each row reported to
    // ExportNotification between the start and the end.
    void ForCountedCells(int ACol, int FromRow, int ToRow, const std::function<void(double)>& Use);
    // ==== end of sorting, compares and calculations ====

    // ==== filtering (ExGridFilter.cpp) ====
public:
    // Switching on adds a filter level, switching off removes the top one.
    bool FilterActive() const { return FFilterActive; }
    void SetFilterActive(bool Value);
    // The fixed row showing the filter drop-down buttons; only fixed rows are taken.
    int FilterDropDownRow() const { return FFilterDropDownRow; }
    void SetFilterDropDownRow(int Value);
    // The last condition NarrowDown was given.
    QString LastFilter() const { return FLastFilter; }
    // Hides the displayed row ARow when the filter does not match it.
    void FilterRow(int ARow);
    // Hides every normal row the filter does not match as one new level.
    void ApplyFilter();
    // Brings back the top level; answers whether more than one level remains.
    bool RemoveLastFilter();
    void RemoveAllFilters();
    // Filters on text typed one character at a time: a character more stacks
    // a level, one less removes the top level, anything else starts over.
    // AColumn -1 looks at the whole row.
    void NarrowDown(const QString& ACondition, int AColumn);
    // The checks of the drop-down check list, by entry of FilterList.
    bool FilterChecked(int Index) const;
    void SetFilterChecked(int Index, bool Value);
    void ClearFilterChecks() { FFilterChecks.clear(); }

    std::function<void(TObject* Sender, int ARow, bool& AcceptRow)> OnCustomFilter;
    std::function<void(TObject* Sender, qint16 Progress)> OnFilterProgress;
    std::function<void(
        TObject* Sender, int Column, int ItemIndex, const QString& FriendlyName, QString& FilterCondition)>
        OnFilterSelect;
    std::function<void(TObject* Sender, int Column, int ItemIndex, const QString& FriendlyName,
        QString& FilterCondition, TStrings* CheckList)>
        OnFilterCheck;

protected:
    // Whether item Index of Filter matches the displayed row ARow.
    bool MatchFilterItem(int Index, int ARow);
    void RestoreAfterFilterLevel();
    // Filter := one case-insensitive item looking for Text in AColumn.
    void SetNarrowFilter(const QString& Text, int AColumn, bool Quote);
    bool FFilterActive = false;
    int FFilterFixedRows = 0;
    int FFilterDropDownRow = 0;
    QString FLastFilter;
    std::vector<bool> FFilterChecks;

public:
    // ==== end of filtering ====

    // ==== grouping and group calculations (ExGridGroup.cpp) ====
public:
    // Rows grouped by one column's values: each group a node row showing the
    // value, its rows, and with Grouping.Summary a summary row; the grouped
    // column leaves the grid until UnGroup. -1 ungroups, above 0 groups.
    virtual void SubGroup(int Colindex);
    virtual void SubUnGroup(int Colindex);
    virtual void Group(int Colindex);
    virtual void UnGroup();
    // One value per expanded group into its summary row (its header row
    // without summaries): 1 sum, 2 average, 3 minimum, 4 maximum, 5 count,
    // 6 OnGroupCalc, 7 distinct, 8 standard deviation.
    void GroupCalc(int Colindex, int method);
    // These five also give the floating footer's column the same calculation.
    void GroupSum(int Colindex);
    void GroupAvg(int Colindex);
    void GroupMin(int Colindex);
    void GroupMax(int Colindex);
    void GroupCount(int Colindex);
    void GroupCustomCalc(int Colindex);
    void GroupDistinct(int Colindex);
    void GroupStdDev(int Colindex);
    // Real row.
    void MarkSummaryRow(int ARow);
    bool IsGrouping() const { return FIsGrouping; }

protected:
    int FGroupColumn = -1;
    int FGroupWidth = 0;
    QString FGroupCaption;
    QString FGroupFooter;
    bool FIsGrouping = false;

private:
    // Empty rows into the grid at the displayed places (ascending, counted
    // after the insertion) in one pass.
    void InsertRowSetAt(const std::vector<int>& Places);
    // A header's or summary row's colours: on the cell ACol, or on the row
    // when ACol is -1; Convert resolves system colours first.
    void SetGroupLook(int ACol, int ARow, bool Header, bool Convert);
    void GroupFooterCalc(int Colindex, int method, TColumnCalcType Calc);
    // ==== end of grouping and group calculations ====

    // ==== check boxes and radio buttons (ExGridCheck.cpp) ====
public:
    // Adding raises "Invalid cell" outside the grid, hidden columns and rows
    // counted. A data box's cell text becomes CheckTrue or CheckFalse by
    // State unless it already is one of them.
    void AddCheckBox(int ACol, int ARow, bool State, bool Data);
    void AddCheckBox(int ACol, int ARow, TCheckBoxState State);
    // From row 0 with CheckAllCheck, else from the first normal row; node
    // rows get an unchecked three-state box, summary rows none.
    void AddCheckBoxColumn(int ACol, bool DefaultState = false, bool DataCheckBox = false);
    void AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State);
    // Plain, data and three-state boxes only.
    void RemoveCheckBox(int ACol, int ARow);
    void RemoveCheckBoxColumn(int ACol);
    void AddRadioButton(int ACol, int ARow, bool State);
    void RemoveRadioButton(int ACol, int ARow);
    void AddRadioButtonColumn(int ACol);
    void RemoveRadioButtonColumn(int ACol);

    // Of the base cell of a merged area.
    bool HasCheckBox(int ACol, int ARow);
    bool HasDataCheckBox(int ACol, int ARow);
    bool IsDataGraphicCell(int ACol, int ARow);
    bool HasCellControl(int ACol, int ARow);
    bool HasRadioButton(int ACol, int ARow);
    bool IsRadioButtonChecked(int ACol, int ARow);
    // The first checked row of the column's normal rows; -1 for none.
    int GetRadioButtonColumnIndex(int ACol);
    static TCheckBoxState BoolToCheckBoxState(bool bChecked) { return bChecked ? cbChecked : cbUnchecked; }
    bool IsChecked(int ACol, int ARow);
    // Whether a client point hits the cell's box (anywhere in the cell
    // unless PreciseCheckBoxCheck).
    bool IsInCheckBox(int ACol, int ARow, int XPos, int YPos);

    // While rows are hidden, ARow is a real row. False when the cell holds
    // no box of a kind the form handles; State is then left alone.
    bool GetCheckBoxState(int ACol, int ARow, bool& State);
    bool GetCheckBoxState(int ACol, int ARow, TCheckBoxState& State);
    bool SetCheckBoxState(int ACol, int ARow, bool State);
    bool SetCheckBoxState(int ACol, int ARow, TCheckBoxState State);
    // Fires OnCheckBoxChange when the state changes; ARow is displayed.
    bool SetCheckBoxStateAndNotify(int ACol, int ARow, bool Value);
    bool ToggleCheckBox(int ACol, int ARow) { return ClickCheckBoxCell(ACol, ARow, false); }
    void CheckAll(int ACol);
    void UnCheckAll(int ACol);
    bool SetRadioButtonState(int ACol, int ARow, bool State);
    // Checks the button of row Index and unchecks the other normal rows.
    void SetRadioButtonColumnIndex(int ACol, int Index);
    // Removes the rows below the fixed rows, footers included, whose box in
    // the column reads RemoveChecked.
    void RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked);

private:
    // The record of a state operation: by real row while rows are hidden
    // (ViaRealRow set), else, or when that has none, the cell's own.
    TCellGraphic* CheckRecord(int ACol, int ARow, bool& ViaRealRow);
    // Drops the row states of the rows past a smaller row count.
    void CutRowStates(int ARowCount);
    // The scratch record as column 0's row check box.
    TCellGraphic* RowCheckRecord(bool Checked, int Angle);
    int CheckColumnStart() const;
    void RaiseIfOutside(int ACol, int ARow);
    void PlaceInCell(TCellHAlign& hal, TCellVAlign& val) const;
    void UpdateCheckGroup(int ACol, int ARow, bool State);

public:
    // ==== end of check boxes and radio buttons ====

    // ==== find, replace and incremental search (ExGridFind.cpp) ====
public:
    enum TFindParameter : quint16 {
        fnMatchCase = 1 << 0,
        fnMatchFull = 1 << 1,
        fnMatchRegular = 1 << 2,
        fnDirectionLeftRight = 1 << 3,
        fnMatchStart = 1 << 4,
        fnFindInCurrentRow = 1 << 5,
        fnFindInCurrentCol = 1 << 6,
        fnIncludeFixed = 1 << 7,
        fnAutoGoto = 1 << 8,
        fnIgnoreHTMLTags = 1 << 9,
        fnBackward = 1 << 10,
        // Columns are walked as real indexes, hidden ones included.
        fnIncludeHiddenColumns = 1 << 11,
        fnFindInPresetCol = 1 << 12,
        fnFindInPresetRow = 1 << 13,
        fnSelectedCells = 1 << 14,
        // Rows are walked as real indexes, hidden ones included.
        fnIncludeHiddenRows = 1 << 15
    };
    using TFindParams = QFlags<TFindParameter>;
    friend constexpr TFindParams operator|(TFindParameter a, TFindParameter b) noexcept { return TFindParams(a) | b; }
    friend constexpr TFindParams operator|(TFindParameter a, TFindParams b) noexcept { return b | a; }

    // The next matching cell after StartCell in the walk's own index space,
    // or (-1, -1); StartCell (-1, -1) starts at the first cell of the walk.
    // The walk never wraps round. A search text of two double quotes finds
    // empty cells; an empty search text finds nothing.
    QPoint Find(QPoint StartCell, const QString& s, TFindParams FindParams);
    QPoint FindWide(QPoint StartCell, const QString& ws, TFindParams FindParams);
    QPoint FindFirst(const QString& s, TFindParams FindParams);
    QPoint FindNext();
    // Replaces OrigStr in the stored text of every matching cell, whatever
    // the case; returns the number of cells changed.
    int Replace(const QString& OrigStr, const QString& NewStr, TFindParams FindParams);
    // The first row from FixedRows whose text in the sort column starts
    // with s (upper case); -1 when none.
    int Search(const QString& s);

    int FindCol() const { return FFindCol; }
    void SetFindCol(int Value) { FFindCol = Value; }
    int FindRow() const { return FFindRow; }
    void SetFindRow(int Value) { FFindRow = Value; }
    // Set while a walk runs.
    bool FindBusy() const { return FFindBusy; }
    TFindParams FindParams() const { return FFindParams; }
    QPoint SearchCellPos() const { return SearchCell; }
    QString IncrSearchText() const { return SearchInc; }
    int IncrSearchTics() const { return SearchTics; }

    // A typed key of the incremental search (Backspace: QChar(8)); the found
    // row becomes current. Returns the row or -1.
    int IncrementalSearchKey(QChar Key);
    // The grid timer's tick: the typed text is forgotten after four ticks
    // without a key.
    void IncrementalSearchTick();

    // What the search panel shows; the panel keeps it current before it
    // calls a handler and shows EditColor afterwards.
    struct TSearchPanelState {
        QString Text;
        bool HighlightDown = false;
        bool MatchCase = false;
        TColor EditColor = clWindow;
    };
    TSearchPanelState& SearchPanelState() { return FSearchPanelState; }

    // The handlers the grid installs on its search panel.
    void SearchFooterEditChange(TObject* Sender);
    void SearchFooterFindPrevious(TObject* Sender);
    void SearchFooterFindNext(TObject* Sender);
    void SearchFooterClose(TObject* Sender);
    void SearchFooterHighlight(TObject* Sender);

    std::function<void(TObject* Sender, const QString& Value, bool& DefaultSearch)> OnSearchEditChange;
    TNotifyEvent OnSearchFooterClose;

protected:
    void FindInGrid(
        QPoint StartCell, const QString& s, QPoint& Result, TFindParams FindParams, bool Wide, const QString& ws);
    bool MatchFindCell(int ACol, int ARow, bool Wide);
    // Marks the search text in the cells the search panel searches (all
    // normal cells, or SearchColumn), and takes the marks away.
    virtual void SearchHighlight(const QString& Text, bool DoCase);
    virtual void SearchUnHighlight();
    virtual void RepaintSearchPanel();

    TFindParams FFindParams;
    QString SearchCache;
    QString SearchCacheWide;
    // The key of the find under way, built once for all its cells.
    TTextMatcher FFindMatcher;
    QPoint SearchCell { -1, -1 };
    int FFindCol = 0;
    int FFindRow = 0;
    bool FFindBusy = false;
    int SearchTics = 0;
    TSearchPanelState FSearchPanelState;

private:
    // Opens the collapsed nodes that hold the real row.
    void ExpandNodesOver(int ARealRow);
    QPoint FindFooterStep(bool Backward);
    TFindParams FooterFindParams(bool Backward);
    // ==== end of find, replace and incremental search ====

    // ==== cell painting (ExGridPaint.cpp) ====
public:
    // The working record of one painted cell; the text and graphic painters
    // read and update it. ACol is the displayed column, RCol the real one.
    struct TCellPaintContext {
        TExStringGrid* Grid = nullptr;
        TCanvas* Canvas = nullptr;
        int ACol = 0, RCol = 0, ARow = 0, SelRow = 0;
        TGridDrawState State;
        TRect Rect;
        bool FilterGlyph = false;
        int ScrollOffset = 0;
        bool WordWrap = false;
        TAlignment HAlign = taLeftJustify;
        TVAlignment VAlign = TVAlignment::vtaTop;
        TCellGradientDirection GradientDirection = TCellGradientDirection::GradientVertical;
        TColor ColorTo = clNone, MirrorColor = clNone, MirrorColorTo = clNone;
        TCellGraphic* Graphic = nullptr;
        int GraphicWidth = 0, GraphicHeight = 0;
        TCellHAlign GraphicHAlign = haLeft;
        TCellVAlign GraphicVAlign = vaTop;
        bool TextAllowed = true;
        TColor BrushColor = clNone, FontColor = clNone;
        bool FixedLook = false, Styled = false;
        int TextWidth = 0, TextHeight = 0, SortGlyphY = 0;
        int TextLeft = -1; // where the drawn text begins; -1 when none is drawn
    };
    using TCustomCellDrawEvent = std::function<void(TObject* Sender, TCanvas* Canvas, int ACol, int ARow,
        TGridDrawState AState, const TRect& ARect, bool Printing)>;
    using TCellBorderPropEvent = std::function<void(
        TObject* Sender, int ARow, int ACol, TPen* LeftPen, TPen* TopPen, TPen* RightPen, TPen* BottomPen)>;
    // Before the text, and after everything but the focus rectangle; both
    // with the real column.
    TCustomCellDrawEvent OnCustomCellBkgDraw;
    TCustomCellDrawEvent OnCustomCellDraw;
    // A cell's measured size may be changed (printing: in 0.1 mm; ACol real).
    std::function<void(TObject* Sender, TCanvas* Canvas, int ACol, int ARow, TPoint& ASize, bool Printing)>
        OnCustomCellSize;
    TCellBorderPropEvent OnGetCellBorderProp;
    std::function<void(TObject* Sender, int ACol, int ARow, bool& IsFloat, QString& FloatFormat)> OnGetFloatFormat;

    void DrawSortIndicator(TCanvas* Canvas, int ACol, int Y, int X);
    void DrawRichTextCell(int ACol, int ARow, const TRect& R, TCanvas* Canvas);
    // ACol real; its displayed index is derived.
    TSize GetCellTextSize(int ACol, int ARow, bool VS, bool SB);
    // ACol real, DCol displayed; VS wraps inside the cell width, SB leaves
    // room for an in-cell scroll bar.
    TSize MeasureCellText(int ACol, int DCol, int ARow, bool VS, bool SB);
    // A cell with a graphic shows no text.
    EXGRID_PLAIN(bool, NoImageAndText, false)
    // The drawing events paint the content instead of the grid.
    EXGRID_PLAIN(bool, NoDefaultDraw, false)
    // A text too long for its cell ends in an ellipsis.
    EXGRID_PLAIN(bool, EnhTextSize, false)

protected:
    // Fixed-cell mouse state the mouse handling keeps: the mouse held on a
    // fixed cell, the fixed drop-down button pressed, the displayed column
    // being moved (-1 when none), column numbers shown while designing.
    bool FMouseDownMove = false;
    bool FDropDownDown = false;
    int Movecell = -1;
    bool FShowColNrs = false;
    // ACol is the real column the base painter hands over.
    void PaintGridCell(TCanvas* ACanvas, int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void PaintCellText(TCellPaintContext& C);
    void PaintCellBorders(TCellPaintContext& C, int RCol, int ARow, TRect R);

private:
    void PaintFixedLook(TCellPaintContext& C);
    void PaintFixedEdges(TCellPaintContext& C);
    void PaintTreeLines(TCellPaintContext& C);
    void PaintCellBackGround(TCellPaintContext& C, const TRect& R);
    void PaintSelectionRectangle(TCellPaintContext& C, const TRect& R);
    void PaintPlainText(
        TCellPaintContext& C, QString& Text, TRect R, int Indent, int ErrPos, int ErrLen, TColor URLColor);
    void PaintHTMLText(TCellPaintContext& C, const QString& Text, TRect R, TColor URLColor);
    bool IsSortedHeaderCell(int RCol, int ARow);
    // With the glyph's automatic transparent colour, its own setting kept.
    static void DrawGlyphTransparent(TCanvas* Canvas, TBitmap* Glyph, int X, int Y);
    // Grid-owned, so that painting a cell allocates nothing.
    TPen FPaintPenCopy;
    TPen FBorderPens[4];
    TFont FPaintFont;
    // ==== end of cell painting ====

    // ==== column stretching, footer values and view properties (ExGridView.cpp) ====
public:
    // Stretches the last column.
    void StretchRightColumn() { ApplyColumnStretch(-1); }
    // Recalculates the footer row's calculated cells of a real column, or of
    // every column (hidden ones too) for -1.
    virtual void CalcFooter(int ACol);
    void RecalcFooterColumn(int ACol) { CalcFooter(ACol); }
    // Repaints the footer strip.
    void UpdateFooter();
    void LastRowChanged() override;
    bool UsesToolkitStyles() const override;
    // Stores the text offset without repainting.
    void UpdateXYOffset(int X, int Y) { FXYOffset = TPoint(X, Y); }

    // View property writers that do more than store.
    TGridRect Selection() const { return TBaseGrid::Selection(); }
    void SetSelection(const TGridRect& R);
    void SetRowIndicator(const TBitmap* Value);
    void SetBackGround(const TBackGround* Value);
    void SetShowModified(const TShowModified* Value);
    void SetBalloon(const TBalloonSettings* Value);
    void SetProgressAppearance(const TGridProgressAppearance* Value);
    void SetActiveCellFont(const TFont* Value);
    bool Hovering() const { return FHovering; }
    void SetHovering(bool v) { FHovering = v; }
    // The colour of the four scroll arrow windows (clNone without them).
    TColor ArrowColor() const;
    void SetArrowColor(TColor Value);

    // Column and row size events.
    std::function<void(TObject* Sender, int ACol)> OnEndColumnSize;
    std::function<void(TObject* Sender, int ACol, int& AWidth)> OnUpdateColumnSize;
    // Value of an acCUSTOM footer cell (before FloatingFooter.OnCalcFooter).
    std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)> OnFooterCalc;

    // What the mouse handling records while the user sizes a column or row:
    // the column or row (-1 when none), its size when the drag began, and
    // whether the drag's end applied the new size (set just before it).
    struct TUserResize {
        int Col = -1;
        int Row = -1;
        int StartSize = 0;
        bool ColSized = false;
        bool RowSized = false;
    };
    TUserResize& UserResize() { return FUserResize; }

protected:
    void SizeChanged(int OldColCount, int OldRowCount) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    virtual void HandleSizeChanged(int OldColCount, int OldRowCount);
    virtual void HandleColWidthsChange();
    virtual void HandleRowHeightsChange();

    TUserResize FUserResize;
    bool FHovering = false;
    // Set while a stretch runs; its own width changes start no other one.
    bool FColChanging = false;
    bool FStretchAllowed = true;

private:
    // Every normal column or row other than the sized one scaled by the sized one's factor.
    void ScaleOtherColumns(int ASized, double AFactor);
    void ScaleOtherRows(int ASized, double AFactor);
    void WriteFooterValue(int ACol, int AFooterRow, int AHidden);
    // Drops the references to a component that is going away.
    void ForgetRemovedComponent(TComponent* AComponent);
    // A scroll hint left open at design time goes when sizes change.
    void CloseDesignScrollHint();
    // ==== end of column stretching, footer values and view properties ====

    // ==== graphics painting, check box and radio button drawing (ExGridGraphicsPaint.cpp) ====
public:
    // The cell's graphic as the cell painter lays it out (real column): its
    // box, whether the text shows beside it, and where it sits. Without a
    // graphic: 0 x 0, text shown, haLeft and vaTop.
    TCellGraphic* GetCellGraphicLayout(
        int RCol, int ARow, int& W, int& H, bool& TextAllowed, TCellHAlign& HAlign, TCellVAlign& VAlign);
    // Draws the cell's graphic into Rect, which it may move (the node glyph
    // and the progress kinds work on it); VA is the cell's resolved vertical
    // text alignment.
    void PaintCellGraphic(TRect& Rect, TCellGraphic* Graphic, TVAlignment VA, TCellPaintContext& C);
    // One check box in a control style, on ACanvas or else the grid canvas;
    // with TriState the state decides checked and grayed.
    void DrawCheckBox(const TRect& R, bool Checked, bool Enabled, bool Grayed, TGridControlStyle Style,
        bool TriState = false, TCheckBoxState TriStateValue = cbUnchecked, TCanvas* ACanvas = nullptr);
    // Count buttons, the one of Index checked (-1: the item equal to the text
    // of cell (ACol, ARow), real column), with Items' texts beside them.
    void DrawRadioButton(TCanvas* ACanvas, const TRect& R, int Count, int Index, bool Horizontal, bool Disabled,
        const TStrings* Items, bool Selected, int ACol, int ARow, TGridControlStyle Style, double Zoom, bool Upward);
    static double ClampPercent(double Value) { return Value < 0 ? 0 : Value > 100 ? 100 : Value; }

protected:
    // The displayed cell whose button or expand glyph is under the pointer;
    // the mouse handling keeps it, the button painter shows it hot.
    TPoint FHoverButton { -1, -1 };

private:
    void PaintNodeGlyph(TRect& R, TCellPaintContext& C);
    void PaintCellButton(TRect R, TRect G, TCellGraphic* Graphic, TCellPaintContext& C);
    void PaintRotatedText(TRect R, const TRect& G, TCellGraphic* Graphic, TCellPaintContext& C);
    void PaintProgress(TRect R, TCellGraphic* Graphic, TCellPaintContext& C);
    // Number reads that never throw: a text that is no number counts as 0.
    int LenientInts(int ACol, int ARow);
    double LenientFloats(int ACol, int ARow);
    // ==== end of graphics painting, check box and radio button drawing ====

    // ==== mouse press, movement and release (ExGridMouseDown.cpp, ExGridMouseMove.cpp, ExGridMouseUp.cpp) ====
public:
    using TCanClickCellEvent = std::function<void(TObject* Sender, int ARow, int ACol, bool& Allow)>;
    using TSizingEvent = std::function<void(TObject* Sender, int Index, int Size)>;
    using TMovingEvent = std::function<void(TObject* Sender, int Index, bool& Allow)>;
    using TAnchorEvent = std::function<void(TObject* Sender, int ARow, int ACol, const QString& Anchor)>;
    using TSelectionResizeEvent
        = std::function<void(TObject* Sender, const TGridRect& OrigSelection, const TGridRect& NewSelection)>;

    // The mouse's window messages; true when the grid took the message.
    bool MouseMessage(TMessage& Message);
    void HandleWMLButtonDown(TMessage& Message);
    void HandleWMLButtonUp(TMessage& Message);
    void HandleWMLButtonDblClk(TMessage& Message);
    void HandleWMRButtonDown(TMessage& Message);
    void HandleWMRButtonUp(TMessage& Message);
    // The hooks the toolkit grid's own processing calls, for every button.
    virtual void HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void HandleMouseMove(TShiftState Shift, int X, int Y);
    virtual void HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    void HandleMouseLeave();
    // Fills the hint of the cell under HintInfo.CursorPos (client point).
    void BuildCellHint(QString& HintStr, THintInfo& HintInfo);
    // Milliseconds the last header-click sort took.
    quint32 LastSortTime() const { return SortTime; }
    // The target of a running enhanced move and whether the last moving
    // event allowed it.
    bool MoveAllowed() const { return FMoveAllowed; }
    THeaderDragButton* MoveDragButton() const { return FMoveButton; }
    // The text of the sizing hint last shown.
    QString SizingHintText() const { return FScrollHintText; }
    // The drop side tells where a drop on this grid wrote its cells, so that
    // a move dragged from this same grid leaves them.
    void SetOleDropTarget(const TGridRect& Target);

    EXGRID_PLAIN(bool, HintShowCells, false)
    EXGRID_PLAIN(bool, HintShowLargeText, false)
    EXGRID_PLAIN(bool, HintShowSizing, false)
    EXGRID_PLAIN(bool, HTMLHint, false)
    EXGRID_PLAIN(bool, URLUnderlineOnHover, false)
    EXGRID_PLAIN(bool, URLEdit, false)

    TCanClickCellEvent OnCanClickCell;
    TClickCellEvent OnRightClickCell;
    TSizingEvent OnColumnSizing;
    TSizingEvent OnRowSizing;
    TMovingEvent OnColumnMoving;
    TMovingEvent OnRowMoving;
    TMovingEvent OnColumnMove;
    TMovingEvent OnRowMove;
    std::function<void(TObject* Sender, int ARow, int ACol, const QString& Data, bool& Allow)> OnOleDrag;
    std::function<void(TObject* Sender, int ARow, int ACol)> OnOleDragStart;
    std::function<void(TObject* Sender, int OLEEffect)> OnOleDragStop;
    TAnchorEvent OnAnchorEnter;
    TAnchorEvent OnAnchorExit;
    std::function<void(TObject* Sender, int ARow, int ACol, const QString& Anchor, bool& AutoHandle)> OnAnchorClick;
    std::function<void(TObject* Sender, int ACol, int ARow)> OnRadioButtonClick;
    std::function<void(TObject* Sender, int ACol, int ARow, int AIdx)> OnRadioClick;
    std::function<void(TObject* Sender, int ACol, int ARow, bool State)> OnCheckBoxMouseUp;
    std::function<void(TObject* Sender, int ACol, bool& DoSort)> OnCanSort;
    TSelectionResizeEvent OnSelectionResize;
    TSelectionResizeEvent OnSelectionResized;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    // Press and release state.
    bool FDoOnClick = false;
    bool FMouseKeepDown = false;
    bool FSelectionClick = false;
    bool FDeselectState = false;
    // The cell's always-visible spin button was clicked: the editor steps
    // once when it opens.
    bool FSpinUpClick = false;
    bool FSpinDnClick = false;
    bool FDblClk = false;
    bool ColMoveFlg = false;
    bool ColSizeFlg = false;
    bool ColSized = false;
    bool Rowsized = false;
    TPoint FPushedCellButton { -1, -1 };
    int Clickposx = 0, Clickposy = 0;
    int Colclicked = -1, Rowclicked = -1;
    int Colclickedsize = 0, Rowclickedsize = 0;
    int Clickposdx = 0, Clickposdy = 0;
    int MoveOfsX = 0, MoveOfsY = 0;
    int FMoveColInd = -1, FMoveRowInd = -1;
    bool FMoveAllowed = true;
    bool FMoveRunning = false;
    TGridRect FDropSelection {};
    TGridRect FPressSelection {};
    int FHoverlink = -1;
    TPoint FHoverCell { -1, -1 };
    bool FScrollHintShow = false;

private:
    // The press's single modifier: Alt, else Shift, else Ctrl.
    static TShiftState PressShift(TShiftState Shift);
    // The toolkit grid's processing of a message, bypassing the grid's own.
    void DefaultMouseMessage(TMessage& Message);
    // A link in a cell was clicked: "CELL://" references jump, http, https
    // and mailto links open; anything else is ignored.
    void FollowLink(const QString& Link);
    // Where the press's sort click may land.
    void HeaderSortClick(int ACol, int ARow, int X, int Y, TShiftState Shift);
    void StartOleDrag(int ACol, int ARow);
    void EnhancedMoveStep(int X, int Y);
    void EndEnhancedMove(int X, int Y);
    void ShowSizingHint(int X, int Y);
    bool HeaderBorderAt(int ACol, int ARow, int X) const;
    THeaderDragButton* FMoveButton = nullptr;
    bool FMoveEnded = false;
    TGridRect FOleDropTarget { -1, -1, -2, -2 };
    QString FScrollHintText;
    // ==== end of mouse press, movement and release ====

    // ==== scroll bars and scrolling (ExGridScroll.cpp) ====
public:
    // The cell under a screen point by the toolkit grid's rule; -1 outside the cells.
    void ScreenToCell(TPoint pt, int& ACol, int& ARow);
    // Whether a press at the client point starts sizing a column or a row.
    bool IsSizingPosition(int x, int y);

    TScrollStyle ScrollBars() const { return FScrollBarsEx; }
    void SetScrollBars(TScrollStyle Value);
    bool ScrollProportional() const { return FScrollProportional; }
    void SetScrollProportional(bool Value);
    // The mark-up renderer's shared highlight colours follow these two.
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor Value);
    TColor HighlightTextColor() const { return FHighlightTextColor; }
    void SetHighlightTextColor(TColor Value);

    // The flat scroll bars: the toolkit grid's two bars in the regular,
    // flat or Encarta-like look. Every operation but the initialiser does
    // nothing until the bars were initialised.
    void InitFlatScrollBars();
    void DoneFlatScrollBars();
    bool FlatScrollInit() const { return FFlatScrollInit; }
    // The flat scroll bar properties and styles by their window-system values.
    static constexpr int WSB_PROP_CYHSCROLL = 4;
    static constexpr int WSB_PROP_CXVSCROLL = 8;
    static constexpr int WSB_PROP_VBKGCOLOR = 64;
    static constexpr int WSB_PROP_HBKGCOLOR = 128;
    static constexpr int WSB_PROP_VSTYLE = 256;
    static constexpr int WSB_PROP_HSTYLE = 512;
    static constexpr int FSB_REGULAR_MODE = 0;
    static constexpr int FSB_ENCARTA_MODE = 1;
    static constexpr int FSB_FLAT_MODE = 2;
    void SetFlatScrollProp(int Index, int Value);
    void SetFlatScrollInfo(int Code, const TGridScrollInfo& ScrollInfo);
    void ShowFlatScrollBar(int Code, bool Show);
    void UpdateFlatVertScroll();
    void UpdateFlatHorzScroll();
    void ApplyFlatScrollStyle();
    void ApplyFlatScrollColor();
    void ApplyFlatScrollWidth();
    void UpdateFlatScrollBars();
    // Thumbs sized to the part of the cells in view (ScrollProportional).
    void UpdateProportionalHorzScroll();
    void UpdateProportionalVertScroll();

    // The thin scroll controls of the metro scroll type.
    void CreateMetroScrollControls();
    TScrollControl* vscrlctrl = nullptr;
    TScrollControl* hscrlctrl = nullptr;

    // Scrolling while something is dragged over the grid: the directions
    // the timer scrolls in.
    enum TDragScrollDirection { dsdUp = 1, dsdDown = 2, dsdLeft = 4, dsdRight = 8 };
    int DragScrollDir() const { return FDragScrollDir; }
    TTimer* DragScrollTimer() const { return FDragScrollTimer.get(); }

    std::function<void(TObject* Sender, int ARow, QString& hintstr)> OnScrollHint;
    std::function<void(TObject* Sender, int TopRow, int LeftCol, int& DragScrollDir, bool& CanScroll)> OnDragScroll;
    std::function<void(TObject* Sender, int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax)>
        OnScrollCell;

protected:
    // The grid's window procedure hands the scroll messages, the dialog
    // code and the drag notices here first; true when nothing more is to run.
    bool ScrollWndProc(TMessage& Message);
    // The window was created: flat bars and metro controls for the scroll type.
    void ScrollWindowCreated();
    // The cell the in-cell scroll bar serves while it is shown.
    int FCellScrollCol = -1;
    int FCellScrollRow = -1;
    bool FScrollProportional = false;
    TColor FHighlightColor = clHighlight;
    TColor FHighlightTextColor = clHighlightText;

private:
    void WMScroll(TMessage& Message, bool Horz);
    bool CellScrollBarMessage(TMessage& Message);
    void ShowScrollHint(const QString& Prefix, int Index);
    // The cells under the fixed background bitmap (empty without one).
    TGridRect FixedBackgroundCells() const;
    void RepaintFixedBackground(const TGridRect& Old);
    void DragOver(TMessage& Message);
    void DragScrollTimerTick();
    void StopDragScroll();
    void InvalidateMetroScrollControls();

    TScrollStyle FScrollBarsEx = ssBoth;
    bool FFlatScrollInit = false;
    int FDragScrollDir = 0;
    std::unique_ptr<TTimer> FDragScrollTimer;
    // ==== end of scroll bars and scrolling ====

    // ==== automatic sizing and swapping (ExGridSizing.cpp) ====
public:
    // Every width and height computed here is held between MinColWidth and
    // MaxColWidth (MinRowHeight and MaxRowHeight); a limit of 0 is not applied.
    // Columns are displayed ones, measured on their real columns; a non-zero
    // Padding is added to the result and held between the limits again.
    void AutoSizeCol(int ACol, int Padding);
    void AutoSizeRow(int ARow, int Padding);
    // DoFixedRows: from row 0, else from FixedRows.
    void AutoSizeRows(bool DoFixedRows, int Padding);
    // Every cell's text and graphic plus the padding and the text offset:
    // rows only grow, columns start from nothing unless SizeGrowOnly; one
    // repaint.
    void AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY);
    // Stretches or shrinks the columns (the normal ones unless DoFixedCells)
    // so that they fill the control's width.
    void AutoFitColumns(bool DoFixedCells);
    // The control's client width (height) becomes the sum of the column
    // widths (row heights); SizeToCells does both without scroll bars.
    void SizeToCols();
    void SizeToRows();
    void SizeToCells();
    // The sizing cores: SizeColumnToContent measures the rows ColumnSize.Rows
    // names; GrowOnly never narrows (lowers).
    void SizeColumnToContent(int ACol, bool GrowOnly);
    void SizeRowToContent(int ARow, bool GrowOnly, int Padding);
    // Padding + Lines times the line height of the row's first normal cell.
    void SetRowHeightForLines(int ARow, int Lines, int Padding);
    // The most lines a displayed cell of the row holds (1 without Multilinecells).
    int MaxRowLineCount(int ARow);
    // Two real columns (with no hidden columns the displayed ones) exchange
    // their cells, widths, visibility and in-cell controls; the sort column
    // follows. Two displayed rows exchange their cells, heights and in-cell
    // controls; selection, modified flags and sort order stay.
    void SwapColumns(int ACol1, int ACol2);
    void SwapRows(int ARow1, int ARow2);

private:
    // What every cell measured in one sizing pass shares: the canvas fonts of
    // plain cells, set up once, so that a cell without properties, events or
    // mark-up is measured with no more than the canvas' own text width.
    struct TSizingFonts;
    // The text extent MeasureCellText gives without wrapping or scroll bar.
    TSize CellTextExtent(TSizingFonts& F, int RCol, int DCol, int ARow);
    // What a cell of displayed column DCol needs in width by SizeColumnToContent.
    int CellWidthNeed(TSizingFonts& F, int RCol, int DCol, int ARow);
    void SetAutoColWidth(int ACol, int Width);
    // ==== end of automatic sizing and swapping ====

    // ==== settings files and column states (ExGridSettingsFiles.cpp) ====
public:
    // Count, widths, order and visibility of the columns as one text,
    // "count#widths#order#flags" ("3#64,64,64#0,1,2#1,1,1"); hidden columns
    // count, their widths are the default width. Reading a text without "#"
    // does nothing; a malformed one (an order that does not name each column
    // once included) raises EConvertError and changes nothing. A text stored
    // with fewer columns than the grid has leaves the others as they are; a
    // width beyond 0 to 32767 leaves the column's width.
    QString ColumnStatesToString();
    void StringToColumnStates(const QString& AValue);
    // The column order list under ColumnSize.Key and Section, one key
    // "Pos<i>" per entry; nothing without both or while designing. Loading
    // never writes the store and keeps the hidden columns hidden; stored
    // widths beyond 0 to 32767, and an order that does not name each of its
    // columns once, leave the grid as it is.
    virtual void SaveColPositions();
    virtual void LoadColPositions();
    // The grid's colours, fonts and looks as Name=value lines. A file that
    // cannot be created or opened raises "Cannot Create " / "Cannot open
    // file " with its name. Each line is read on its own: a missing line, or
    // a value that does not convert or lies outside its range, leaves that
    // setting as it is.
    void SaveVisualProps(const QString& FileName);
    void LoadVisualProps(const QString& FileName);
    // PrintSettings as keys of a section of an INI file; loading takes the
    // defaults for what is missing and never writes the file.
    void SavePrintSettings(const QString& FileName, const QString& Section);
    void LoadPrintSettings(const QString& FileName, const QString& Section);

private:
    // Moves the columns so that the one at natural index Order[p] stands at
    // position p (Order names the columns 0 to its size - 1); the order list
    // holds Order, then the columns it does not name.
    void ArrangeColumns(const std::vector<int>& Order);
    // ==== end of settings files and column states ====

    // ==== highlight, marks and cell checks (ExGridHighlight.cpp) ====
public:
    // Occurrences of a text in the cells wrapped in mark-up tags: "hi" for
    // highlighting, "e" for marking errors. The cells' stored texts change
    // (with OnGetDisplText assigned, the display text is stored); covered
    // cells of merged areas are skipped. Columns are real indices.
    QString HilightText(bool DoCase, const QString& S, const QString& Text);
    QString UnHilightText(const QString& S);
    QString MarkText(bool DoCase, const QString& S, const QString& Text);
    QString UnMarkText(const QString& S);
    void HilightInCell(bool DoCase, int Col, int Row, const QString& HiText);
    void HilightInCol(bool DoFixed, bool DoCase, int Col, const QString& HiText);
    void HilightInRow(bool DoFixed, bool DoCase, int Row, const QString& HiText);
    void HilightInGrid(bool DoFixed, bool DoCase, const QString& HiText);
    void UnHilightInCell(int Col, int Row);
    void UnHilightInCol(bool DoFixed, int Col);
    void UnHilightInRow(bool DoFixed, int Row);
    void UnHilightInGrid(bool DoFixed);
    void MarkInCell(bool DoCase, int Col, int Row, const QString& HiText);
    void MarkInCol(bool DoFixed, bool DoCase, int Col, const QString& HiText);
    void MarkInRow(bool DoFixed, bool DoCase, int Row, const QString& HiText);
    void MarkInGrid(bool DoFixed, bool DoCase, const QString& HiText);
    void UnMarkInCell(int Col, int Row);
    void UnMarkInCol(bool DoFixed, int Col);
    void UnMarkInRow(bool DoFixed, int Row);
    void UnMarkInGrid(bool DoFixed);

    // The checker linked to the grid; forgotten when it is freed.
    class TExStringGridCheck* CellChecker() const { return FCellChecker; }
    void SetCellChecker(TExStringGridCheck* Value);
    // Runs the checker over cells: its corrections and error marks are
    // written back; true when no cell changed (always without a checker).
    bool CheckCell(int Col, int Row);
    bool CheckCells(int FromCol, int FromRow, int ToCol, int ToRow);
    bool CheckCol(bool DoFixed, int Col);
    bool CheckRow(bool DoFixed, int Row);
    bool CheckGrid(bool DoFixed);

private:
    // Hears of the checker's destruction.
    class TCheckerLink;
    struct TCheckerLinkFree {
        void operator()(TCheckerLink* Link) const;
    };
    TExStringGridCheck* FCellChecker = nullptr;
    std::unique_ptr<TCheckerLink, TCheckerLinkFree> FCheckerLink;
    // Tags (or untags) the cells of a block, rows top to bottom.
    void TagCells(
        const QString& Tag, bool DoCase, const QString& HiText, int FromCol, int FromRow, int ToCol, int ToRow);
    void UntagCells(const QString& Tag, int FromCol, int FromRow, int ToCol, int ToRow);
    // The block's first and last normal row and column (all with DoFixed);
    // Hidden: the last column counts the hidden columns.
    TRect TagRange(bool DoFixed, bool Hidden) const;
    // ==== end of highlight, marks and cell checks ====

    // ==== footer and search panels (ExGridPanels.cpp) ====
public:
    // The strip of the floating footer and the search bar, both docked at
    // the bottom; the lists the filter buttons drop down.
    TFooterPanel* FooterPanel() const;
    TSearchPanel* SearchPanel() const { return FSearchPanel; }
    TDropList* FilterDropList() const { return FFilterDropList; }
    TDropCheckList* FilterDropCheckList() const { return FFilterDropCheckList; }
    // The filter column of the dropped list, -1 when none is down.
    int FilterColumn() const { return FFilterCol; }

    using TFooterPaintEvent = std::function<void(TObject* Sender, int ACol, const TRect& ARect, TCanvas* Canvas)>;
    // Paints a footer cell (or the whole strip with fsCustomPaint).
    TFooterPaintEvent OnFooterPaint;
    TNotifyEvent OnCreatedFloatingFooter;
    TNotifyEvent OnCreatedSearchFooter;
    // A cell clicked, the footer strip's included (row first).
    TClickCellEvent OnClickCell;

protected:
    // Esc, Enter's advance and the incremental search typed on the grid.
    void KeyPress(char16_t& Key) override;
    // Ctrl+F and keeping the last row above the search bar.
    void KeyDown(WORD& Key, TShiftState Shift) override;

private:
    friend class TFooterPanel;
    friend class TSearchPanel;
    friend void DropListCancelMode(TWinControl* List);
    // The panels and lists exist from the grid's construction on.
    void CreatePanels();
    // The search bar's state goes to the grid before a handler runs; the
    // edit shows the colour the handler chose.
    void SearchPanelEvent(void (TExStringGrid::*Handler)(TObject*));

    TSearchPanel* FSearchPanel = nullptr;
    TDropList* FFilterDropList = nullptr;
    TDropCheckList* FFilterDropCheckList = nullptr;
    // ==== end of footer and search panels ====

    // ==== surface painting, focus frame and tool tips (ExGridSurface.cpp) ====
public:
    // The window border in BorderColor for the looks glSoft, glVRK, glXP,
    // glListView, glVista, glWin7 and glOffice2007, when the grid has a border,
    // BorderColor is set and Flat is off. The grid's window has no frame of its
    // own, so the border lies on its outermost pixels, drawn last in every
    // paint; called outside painting it asks for that paint.
    void PaintNCBorder();
    // The background picture or gradient where the cells leave the client
    // area free (right of the last column, below the last row).
    void PaintGridBackground();
    // The lines that follow a column or row resize: black, dotted, drawn by
    // exclusive or on the grid's paint canvas, so drawing one twice removes it.
    void DrawColSizingLine(int X);
    void DrawRowSizingLine(int Y);
    // The translucent frame around a cell (R in client coordinates): 9 pixels
    // wider and higher than R, 4 up and left of it, shaped as a frame, never
    // activated. Hiding it forgets the grid that showed it.
    void ShowFocusWindow(const TRect& R);
    void MoveFocusWindow() { FollowFocusWindow(); }
    void HideFocusWindow();
    // The balloon tool tip window, from BalloonInit to BalloonDone.
    class TBalloonTip* ToolTip() const { return FHToolTip; }
    // The cell (real column) of the last balloon text handed out; (-1, -1) none.
    TPoint LastBalloonPos() const { return FLastBalloonPos; }
    // The text of the last balloon handed out.
    QString ToolTipBuffer() const { return FToolTipBuffer; }

    TNotifyEvent OnPainted;
    std::function<void(TObject* Sender, int ACol, int ARow, QString& ATitle, QString& AText, TBalloonIcon& AIcon)>
        OnCellBalloon;

    // ---- the custom editor of edCustom cells ----
    // Not owned; forgotten when that component goes.
    class TEditLink* EditLink() const { return FEditLink; }
    void SetEditLink(class TEditLink* Value);
    // Least forms of the editing members the custom editor link reaches,
    // until the in-place editing family takes them over. EditMode is on while
    // a special editor is open.
    bool EditMode() const { return FEditMode; }
    // Stores the open custom editor's value into the cell (ACol displayed) and
    // leaves edit mode; a second store for the same edit stores nothing.
    virtual void StoreEditorValue(int ACol, int ARow);

protected:
    friend class TEditLink;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    // WM_NOTIFY: balloon texts (only with Balloon.Enable) and date-time
    // changes of child pickers; everything else goes on.
    void HandleNotify(TMessage& Message);
    // The balloon window's life (BalloonInit, BalloonDone): one tool, the
    // grid's client area, whose text the grid gives when the tip shows.
    void CreateToolTipWindow();
    void DestroyToolTipWindow();
    void AddBalloonTool(int Icon, const QString& Title);
    void PaintNCBorder(TCanvas* ACanvas);

    class TBalloonTip* FHToolTip = nullptr;
    QString FToolTipBuffer;
    TPoint FLastBalloonPos { -1, -1 };
    class TEditLink* FEditLink = nullptr;
    bool FEditMode = false;
    // Cleared when a cell validation refused a value.
    bool FLastValidation = true;
    // The cell's text when its editor opened.
    QString FCellCache;

private:
    void DrawSizingLine(int X1, int Y1, int X2, int Y2);
    // The balloon text of a cell: tags stripped, rich text as plain text,
    // wide text decoded, tabs as blanks, at most 2048 characters.
    QString BalloonCellText(int ACol, int ARow);
    // ==== end of surface painting, focus frame and tool tips ====

    // ==== right-to-left painting and paint services (ExGridPaintRtl.cpp) ====
protected:
    // Parts the grid lays out right to left itself (cell texts): R moves to
    // device coordinates and the canvas draws left to right until
    // EndLeftToRight; returns the orientation to restore.
    TCanvas::TOrientation BeginLeftToRight(TCanvas* Canvas, TRect& R) const;
    static void EndLeftToRight(TCanvas* Canvas, TCanvas::TOrientation Saved);
    // Text format flags for this control's reading order: right to left the
    // horizontal alignment mirrors and the text reads right to left.
    unsigned BiDiTextFlags(unsigned Flags) const;
    // Whether a column header shows the filter drop-down glyph: the column
    // offers filter values. Painting asks it per header cell, so values the
    // grid collects itself are only known to exist, never collected.
    bool ColumnOffersFilter(int ACol);

    // ==== end of right-to-left painting and paint services ====

    // ==== key press, advance after an edit, validation and cell cursor moves
    // (ExGridValidate.cpp, ExGridSelectCell.cpp) ====
public:
    // The default text editor.
    TInplaceEdit* NormalEdit() const { return InplaceEditor(); }
    // The content was changed by an edit.
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    // Validates an edit even when its text did not change.
    EXGRID_PLAIN(bool, AlwaysValidate, false)

    // Runs the cell checker and OnCellValidate on the edited cell's new text:
    // an accepted value is written, a refused one puts the old (or the
    // corrected) value back and reopens the editor. True when accepted.
    virtual bool ValidateCell(const QString& NewValue);
    virtual bool ValidateCellWide(const QString& NewValue);
    // The footers' rows and columns of the old and new current cells
    // repainted, for the active-cell header highlight.
    void RepaintActiveCellHeaders(int Col1, int Row1, int Col2, int Row2);
    void Click() override;

    // The text of the edited cell as the last validation left it.
    QString NewCellText() const { return FNewCellText; }
    // The cell an edit started on and its text then.
    QString OldCellText() const { return FOldCellText; }

    std::function<void(TObject* Sender, int OldRow, int OldCol, int& NewRow, int& NewCol, bool& Allow)> OnAutoAdvance;
    std::function<void(TObject* Sender, int OldRow, int OldCol, int NewRow, int NewCol, bool& Allow)> OnCellChanging;
    std::function<void(TObject* Sender, int OldRow, int NewRow, bool& Allow)> OnRowChanging;
    std::function<void(TObject* Sender, int OldCol, int NewCol, bool& Allow)> OnColChanging;
    std::function<void(TObject* Sender, int ARow)> OnAutoAddRow;
    std::function<void(TObject* Sender, int ACol)> OnAutoInsertCol;
    TCellValidateEvent OnCellValidateWide;
    std::function<void(TObject* Sender, int ACol, bool& CanShow)> OnCanShowFixedDropDown;

protected:
    bool HandleSelectCell(int ACol, int ARow) override;
    // The balloon of a refused value, on the editor that holds it.
    void ShowInvalidEntryBalloon();
    class TBalloonTip* InvalidEntryBalloon() const { return FInvalidEntryBalloon; }

    // The cell remembered for validation (display column), its stored text
    // and wide text then, and FModified then.
    int FOldCol = -1;
    int FOldRow = -1;
    QString FOldCellText;
    QString FOldCellTextWide;
    bool FOldModifiedValue = false;
    QString FNewCellText;
    // A validation, or a write it makes, is running.
    bool FValidating = false;
    // The cell an advance started from, reported as the old cell.
    int FAECol = -1;
    int FAERow = -1;
    // Set while an advance moves the cursor: no OnCellChanging then.
    bool FDisableChange = false;
    // The character that opened the editor; an advance forgets it.
    char16_t FStartEditChar = 0;
    bool FModified = false;
    // The target cell's text while a cursor move is asked.
    QString FEditText;

private:
    // One step of an advance from (ACol, ARow); false when the cursor cannot
    // go on (the cell stays). Inserted, when it added a row or column.
    bool AdvanceStep(int& ACol, int& ARow, bool Forward, bool Insert, bool& Inserted, bool& Stop);
    // Puts the cursor on the edited cell again and reopens its editor with
    // the cell holding Value.
    void ReopenRefusedEdit(int ACol, int ARow, const QString& Value, bool Wide);
    bool RememberedCellInGrid() const;
    class TBalloonTip* FInvalidEntryBalloon = nullptr;
    // ==== end of key press, advance after an edit, validation and cell cursor moves ====

    // ==== editor kinds, preparing and storing the cell editor
    // (ExGridEditorPrepare.cpp, ExGridEditorStore.cpp, ExGridCellEditorBranches.cpp) ====
public:
    // The kinds the default text editor serves.
    static bool IsDefaultTextKind(TEditorType Kind);
    // Whether Tab belongs to an open editor: the grid moves by Tab or a
    // validation handler is assigned.
    bool EditorWantsTab() const;
    // Loads, places and shows the editor of a kind other than the text kinds
    // over (ACol, ARow), the base cell of the current cell (display column).
    virtual void PrepareCellEditor(int ACol, int ARow);
    // Stores the open special editor's value (the current cell).
    void HideCellEdit();
    // Opens the current cell's editor as F2 on the grid does.
    void ShowCellEdit();
    // OnGetEditorProp, then OnGetEditorPropInt, for the cell (real column).
    virtual void DoGetEditorProp(int ACol, int ARow, class TEditLink* AEditLink);
    // The cell's text when its editor opened; Esc gives it back.
    QString OriginalCellValue() const { return FCellCache; }
    // The control that edits the cell now; none for the text editor.
    TWinControl* EditingControl() const { return EditCtrl; }

    std::function<void(TObject* Sender, int ACol, int ARow, class TEditLink* AEditLink)> OnGetEditorProp;
    std::function<void(TObject* Sender, int ARow, int ACol)> OnGetEditorPropInt;

    // ---- the default text editor's settings and events ----
    // Lookup completion from LookupItems while typing; LookupHistory adds
    // each edited text to the items.
    EXGRID_PLAIN(bool, Lookup, false)
    EXGRID_PLAIN(bool, LookupCaseSensitive, false)
    EXGRID_PLAIN(bool, LookupHistory, false)
    // The characters an edValidChars cell takes; when empty, those of
    // ValidCharSet (codes up to 255).
    EXGRID_PLAIN(QString, ValidChars, QString())
    std::bitset<256> ValidCharSet;
    // The keypad's decimal key types the locale decimal separator.
    EXGRID_PLAIN(bool, ExcelStyleDecimalSeparator, false)
    // Set when a click started the edit: the caret goes where it was clicked.
    bool LButFlg = false;
    // Each with Allow starting true; the editor acts only when it stays true.
    std::function<void(TObject* Sender, bool& Allow)> OnClipboardCopy;
    std::function<void(TObject* Sender, bool& Allow)> OnClipboardCut;
    std::function<void(TObject* Sender, bool& Allow)> OnClipboardPaste;
    std::function<void(TObject* Sender, int ACol, int ARow, QString& Value, bool& Allow)> OnClipboardBeforePasteCell;
    std::function<void(TObject* Sender, int ACol, int ARow, const QString& Value)> OnClipboardAfterPasteCell;
    TClickCellEvent OnDblClickCell;

protected:
    friend class TExInplaceEdit;
    bool CanEditShow() override;
    // The editor covers the cell (a merged area whole) less one pixel at the
    // right and bottom, keeping the grid line.
    TRect EditorRect() override;
    // Whether the toolkit's text editor may show for the current cell, and
    // which kind the cell has; other kinds are prepared here instead.
    virtual bool HandleCanEditShow();
    // The rectangle an editor takes over (ACol, ARow): one pixel less than
    // the cell at the right and bottom, keeping the grid line; right to left
    // one pixel further right.
    TRect CellEditorRect(int ACol, int ARow);
    // The cell's look (display column) into the grid's canvas: the brush
    // colour and font an editor takes; answers the horizontal alignment.
    TAlignment EditorVisuals(int ACol, int ARow);
    // The character that opened the edit, posted to the control as typed
    // (nothing when there is none).
    void PostStartEditChar(TWinControl* AControl);

    // The kind-specific part of preparing and storing the combo, check-box
    // and spin kinds: the common steps run around them. A prepare hook
    // answers whether it showed a control; it runs the kind's own steps in
    // full (place, load, show, colour with the canvas brush EditorVisuals
    // left, focus, PostStartEditChar, EditCtrl), with EditMode already set.
    bool PrepareSpinCellEditor(int ACol, int ARow);  // edSpinEdit, edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit
    bool PrepareComboCellEditor(int ACol, int ARow); // edComboEdit, edComboList
    bool PrepareCheckCellEditor(int ACol, int ARow); // edCheckBox
    void StoreSpinEditorValue();
    void StoreComboEditorValue();
    void StoreCheckEditorValue();

    // The grid took goEditing away for the current cell while editing is
    // wanted in principle.
    bool FEditDisable = false;
    // An editor was entered; the edit uses a special editor; a special editor
    // is showing.
    bool FEntered = false;
    bool FSpecialEditor = false;
    bool FEditActive = false;
    // The control editing the cell (none for the text editor).
    TWinControl* EditCtrl = nullptr;
    // The value the date-and-time editor was loaded with (its Esc).
    TDateTime FOriginalDateTime = 0;
    // ==== end of editor kinds, preparing and storing the cell editor ====

    // ==== the check-box, spin and combo cell editors (ExGridCellEditors.cpp,
    // ExGridCellEditorBranches.cpp) ====
public:
    // The combo editor of edComboEdit and edComboList cells, made with the grid.
    class TGridCombo* Combobox() const { return EditCombo; }
    // The check-box editor of edCheckBox cells, made with the grid.
    class TGridCheckBox* CheckBoxEditor() const { return EditCheck; }
    // The spin editor of the spin kinds, made on first use.
    class TGridSpin* SpinEdit();
    // The spin editor stepped by its buttons (the integer one also by Page
    // Up, Page Down, Home and End): current column and row, the new value,
    // true for up.
    std::function<void(TObject* Sender, int ACol, int ARow, int AValue, bool UpDown)> OnSpinClick;
    std::function<void(TObject* Sender, int ACol, int ARow, double AValue, bool UpDown)> OnFloatSpinClick;
    std::function<void(TObject* Sender, int ACol, int ARow, TDateTime AValue, bool UpDown)> OnDateSpinClick;
    std::function<void(TObject* Sender, int ACol, int ARow, TDateTime AValue, bool UpDown)> OnTimeSpinClick;
    // Longest text the editable combo takes; 0: no limit.
    EXGRID_PLAIN(int, MaxComboLength, 0)

protected:
    friend class TGridCombo;
    friend class TGridSpin;
    friend class TGridCheckBox;
    class TGridCombo* EditCombo = nullptr;
    class TGridCheckBox* EditCheck = nullptr;
    class TGridSpin* FSpinEdit = nullptr;
    // A refused value: no advance follows the key that was refused.
    bool FNoAutoAdvance = false;
    // ==== end of the check-box, spin and combo cell editors ====

    // ==== window procedure, in-place editing, cell controls, focus, update lock and sizing
    // (ExGridWndProc.cpp, ExGridFocus.cpp, ExGridSize.cpp) ====
public:
    // Update lock. BeginUpdate and EndUpdate pair up and nest; while the
    // grid is shown the outermost bracket also switches the window's redraw
    // off and back on, then repaints once. StartUpdate counts without
    // touching redraw, for the grid's own short operations; ResetUpdate ends
    // any lock at once.
    void BeginUpdate();
    void StartUpdate() { ++FUpdateCount; }
    void EndUpdate();
    void ResetUpdate();
    bool LockUpdate() const { return FUpdateCount != 0; }
    void SetLockUpdate(bool Value);

    // The grid's side of the in-place editor.
    // Opens the editor of the current cell (none on a cell control), after
    // scrolling the cell into view at the top and left.
    virtual void ShowInplaceEdit();
    // Only in edit mode: closes the editor, stores its value, leaves edit
    // mode and selects the current cell again.
    virtual void HideInplaceEdit();
    // Every editor ends an edit by a key here: Tab and the arrows move on,
    // Enter advances, Down on the last row may append one.
    virtual void DoneInplaceEdit(WORD Key, TShiftState Shift);
    // An editor stored its value: OnEditingDone at once, OnEditCellDone when
    // the posted "GridEditDone" arrives.
    void NotifyEditingDone(int ACol, int ARow);
    // The select-cell handling for the current cell.
    void Select();

    // The in-place combo's notifications (it calls them itself).
    void InplaceComboChange(bool EditChange);
    void InplaceComboCloseUp();
    void InplaceComboDropDown();
    // The combo the in-place combo notifications come from; none until the
    // combo editor exists.
    class TCustomComboBox* InplaceCombo() const { return FInplaceCombo; }
    void SetInplaceCombo(class TCustomComboBox* Value) { FInplaceCombo = Value; }

    // Places the controls that live in cells on their cells, hiding those
    // out of view; with Rebuild the list is first checked against the cells
    // (only the listed cells are visited).
    void CellControlsUpdate(bool Rebuild);
    // A form showing the picture of a block of cells (the caller owns it).
    class TNoActiveForm* SelectionToForm(const TGridRect& R);
    // The cells of the block as painted, with the crossed fixed-line rule.
    TBitmap* SelectionPicture(const TGridRect& R);

    // Focus, cursor and change handling.
    void ResetFixedCellHighlight();
    int GetEditLimit() override { return FMaxEditLength; }

    // Sizing and scrolling.
    TCanvas* FooterCanvas() const;
    bool HasCellBorderEvent() const { return bool(OnGetCellBorder); }
    void OleColumnDragStart(int ACol, int AIndex, class TListBox* AList);
    int OleDragCol() const { return FOleDragCol; }
    int OleDragIndex() const { return FOleDragIndex; }
    class TListBox* OleDragList() const { return FOleDragList; }

    // Wheel panning: active, where it started, and the numbered cursor it shows.
    bool WheelPanning() const { return FWheelPan; }
    TCursor PanCursor() const { return FPanCursor; }
    // One step of panning (every tick of the panning timer).
    void WheelPanStep();
    // The mouse-position state the cursor follows.
    enum class TMouseSelectMode { msNormal, msColumn, msRow, msAll, msURL, msResize };
    TMouseSelectMode FMouseSelectMode = TMouseSelectMode::msNormal;
    bool Invokedchange = false;
    bool FCellSelectorMode = false;
    bool FSizingFixed = false;
    bool FSizeFixedR = false;
    bool FSizingFixedR = false;
    bool FNoMouseLeave = false;
    bool FCtrlDown = false;
    TPoint FCtrlXY { -1, -1 };

    EXGRID_PLAIN(bool, ShowEditProcess, false)

    TCellButtonEvent OnEditCellDone;
    std::function<void(TObject* Sender, int ACol, int ARow, int AItemIndex, const QString& ASelection)> OnComboChange;
    std::function<void(
        TObject* Sender, int ACol, int ARow, int AItemIndex, const QString& ASelection, TObject* AObject)>
        OnComboObjectChange;
    std::function<void(TObject* Sender, int ACol, int ARow, QString& S)> OnEllipsClick;
    TNotifyEvent OnGridResize;

protected:
    // The grid's window procedure: its own behaviour around the toolkit
    // grid's message handling.
    virtual void HandleWindowMessage(TMessage& Message);
    bool HandleMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool HandleMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void HandleTopLeftChanged() override;
    void DoEnter() override;
    void DoExit() override;

    // Set while the grid hands the focus itself (editors and the grid).
    bool FBlockFocus = false;
    bool FBlockKill = false;
    // Set while an edit is being ended; while an editor is being prepared.
    bool FEditing = false;
    bool FEditStart = false;
    int FPaintCount = 0;
    bool FDisableSize = false;
    int FOleDragIndex = -1;
    class TListBox* FOleDragList = nullptr;
    class TCustomComboBox* FInplaceCombo = nullptr;
    // The redraw switch the outermost BeginUpdate turned off.
    bool FRedrawLocked = false;
    // Panning: the timer, the cursor shown before it and the one shown now.
    static constexpr UINT WheelPanTimerId = 999;
    TCursor FPanPrevCursor = crDefault;
    TCursor FPanCursor = crDefault;
    bool FPanHints = false;
    // The selection when the message being handled arrived.
    TGridRect FMsgSelection;
    // What a turn of less than a notch left over, for the next turn.
    int FWheelRest = 0;
    // Guards the top-left handling against its own scrolling.
    bool FInTopLeftChanged = false;

private:
    void WheelMessage(TMessage& Message);
    void StartWheelPan(TPoint At);
    void EndWheelPan();
    void CommandMessage(TMessage& Message);
    bool SetCursorMessage(TMessage& Message);
    void SetFocusMessage(TMessage& Message);
    void KillFocusMessage(TMessage& Message);
    bool DialogCharMessage(TMessage& Message);
    bool FocusMessage(TMessage& Message);
    void PaintMessage(TMessage& Message);
    void SizeMessage(TMessage& Message);
    void CancelEnhancedMove();
    // Fires OnMouseWheelDown or OnMouseWheelUp; false when no handler took it.
    bool FireWheelEvent(bool Down, TShiftState Shift, TPoint MousePos);
    bool WheelUpDown(bool Down, TShiftState Shift, TPoint MousePos);
    // The real column whose cell holds the entry's control, -1 when none.
    int CellControlColumn(class TControlItem* Item);
    // ==== end of window procedure, in-place editing, cell controls, focus, update lock and sizing ====

    // ==== speed of filtering and grouping (ExGridFilter.cpp) ====
private:
    // TakeDisplayedRows with the records' level set as they are made: a
    // level of many rows is walked once.
    THiddenRows TakeRowsAtLevel(const std::vector<int>& Rows, bool Removal, int Level);
    // UnHideRecords with the displayed places already known.
    void UnHideRecordsAt(THiddenRows&& Records, const std::vector<int>& Places);
    // The filter items' conditions as compiled for matching, kept per item
    // and compiled again when an item's condition or case flag changes.
    struct TFilterPlan;
    struct TFilterPlanFree {
        void operator()(TFilterPlan* Plan) const;
    };
    std::unique_ptr<TFilterPlan, TFilterPlanFree> FFilterPlan;
    // MatchFilterItem with the item at hand.
    bool MatchFilterData(int Index, const class TFilterData& Item, int ARow);
    // ==== end of speed of filtering and grouping ====

    // ==== file exchange: native file, CSV, fixed width, plain text and XML (controls/gridio) ====
public:
    // Sender, progress in percent.
    using TFileProgressEvent = std::function<void(TObject* Sender, short Progress)>;
    TFileProgressEvent OnFileProgress;
    // CSV texts are written and read in the OEM code page.
    EXGRID_PLAIN(bool, OemConvert, false)

    // The native file form: absolute coordinates, ANSI or UTF-16 (FF FE).
    // Loading raises EExGridError for a header without data or counts
    // beyond what the grid holds, before anything changes; cell and width
    // lines outside the grid are skipped.
    void SaveToFile(const QString& FileName, bool Unicode = false);
    void LoadFromFile(const QString& FileName);

    // Delimiter-separated files; Unicode writes UTF-8 with a byte-order mark.
    // A failed save leaves the previous file and raises EFCreateError.
    void SaveToCSV(const QString& FileName, bool Unicode = false);
    // The file must exist (EFOpenError otherwise).
    void AppendToCSV(const QString& FileName, bool Unicode = false);
    void WriteCSVFile(const QString& FileName, bool Append, bool Unicode);
    // MaxRows 0 or less reads every line. An empty file changes nothing.
    void LoadFromCSV(const QString& FileName, int MaxRows = 0);
    void InsertFromCSV(const QString& FileName, int MaxRows = 0);
    void LoadFromCSVStream(TStream* Stream, int MaxRows = 0);
    // An empty stream raises Exception "File is empty".
    void ReadCSVStream(TStream* Stream, bool Insert, int MaxRows);
    // Widths in characters per saved column; missing ones are appended.
    void SaveToFixed(const QString& FileName, TIntList* Positions);
    // 1-based positions, N + 1 of them bound N columns; sorted first.
    // MaxRows -1 reads every line.
    void LoadFromFixed(const QString& FileName, TIntList* Positions, bool DoTrim = true, int MaxRows = -1);
    // Longest line of the column's save texts, in characters.
    int MaxColumnTextLength(int ACol);

    // Column-aligned plain text; Unicode writes UTF-16 with FF FE.
    void SaveToASCII(const QString& FileName, bool Unicode = false);
    void AppendToASCII(const QString& FileName, bool Unicode = false);
    void WriteASCIIFile(const QString& FileName, bool Append, bool Unicode);
    // 0 for an empty cell; EExGridError when the number text is malformed.
    double CellToReal(int ACol, int ARow);

    // Record-oriented XML in the declared XMLEncoding. Names that are no XML
    // names raise EExGridError before the file is made.
    void SaveToXML(const QString& FileName, const QString& ListDescr, const QString& RecordDescr,
        const QStringList* FieldDescr = nullptr, bool ExportEmptyCells = false);
    // Raises Exception "XML file not found" or "XMLDOM Parsing error N on
    // line L"; the grid is unchanged until the parse succeeds.
    void LoadFromXML(const QString& FileName, bool LevelToRow = false, bool LoadFieldDescr = false);

protected:
    struct TXMLReadState;
    // Reads a record and the nodes under it (walked without recursion).
    void ReadXMLNodes(TXMLReadState& State, const TXmlNode& Node);

private:
    // The save text of a saved column: real columns with SaveHiddenCells,
    // displayed ones mapped otherwise.
    QString ExchangeCellText(int ACol, int ARow);
    // Last saved column, the hidden ones included with SaveHiddenCells.
    int ExchangeEndCol() const;
    // The width of a real column, hidden or shown.
    int RealColWidth(int ARealCol) const;
    void FireFileProgress(int Percent, int& Last);
    // ==== end of file exchange ====

public:
    // ---- members the settings objects use ----
    // Used by TFloatingFooter and TDragDropSettings (ExGridOptions):
    // Rows at the bottom kept as footer rows.
    int FixedFooters() const { return FFixedFooters; }
    void SetFixedFooters(int Value);

protected:
    friend class TFloatingFooter;
    friend class TDragDropSettings;
    int FFixedFooters = 0;
    // The strip that paints the floating footer; null until the grid makes one.
    TCustomPanel* FFooterPanel = nullptr;
    // The drop target of the grid's window, registered while FOleDropTargetAssigned.
    std::unique_ptr<TObject> FGridDropTarget;
    bool FOleDropTargetAssigned = false;
    virtual std::unique_ptr<TObject> CreateGridDropTarget();
    // False when the window refuses the target.
    virtual bool RegisterGridDropTarget(TObject* ATarget);
    virtual void RevokeGridDropTarget();

public:
    // ---- members the grid's own windows use ----
    // The identifier of the mark-up control being edited in the current cell.
    QString FCtrlID;
    // Moves the cell cursor on after an edit (display column, row).
    virtual void AdvanceToNextCell(
        int ACol, int ARow, bool Force, bool AutoEdit, bool Forward, bool Internal, bool ShowEditor);
    // Moves editing to the next mark-up control of the cell after ControlID.
    virtual void FocusNextCellControl(int ACol, int ARow, const QString& ControlID);

protected:
    TSortSettings* FSortSettings = nullptr;
    TControlLook* FControlLook = nullptr;
    TFilter* FFilter = nullptr;
    TBackGround* FBackGround = nullptr;
    TCellNode* FCellNode = nullptr;
    TSizeWhileTyping* FSizeWhileTyping = nullptr;
    TColumnSize* FColumnSize = nullptr;
    THTMLSettings* FHTMLSettings = nullptr;
    TPrintSettings* FPrintSettings = nullptr;
    TGrouping* FGrouping = nullptr;
    TDragDropSettings* FDragDropSettings = nullptr;
    TDragScrollOptions* FDragScrollOptions = nullptr;
    TBalloonSettings* FBalloon = nullptr;
    TShowModified* FShowModified = nullptr;
    TGridProgressAppearance* FProgressAppearance = nullptr;
    TFloatingFooter* FFloatingFooter = nullptr;
    TFilterDropDown* FFilterDropDown = nullptr;
    TSearchFooter* FSearchFooter = nullptr;
    TNavigation* FNavigation = nullptr;
    TMouseActions* FMouseActions = nullptr;
    TSortIndexList* FSortIndexes = nullptr;
    TCustomImageList* FGridImages = nullptr;
    TPictureContainer* FPictureContainer = nullptr;

    TColor FVRKGradFrom = TColor(0xFFFFFF);
    TColor FVRKGradTo = clBtnFace;
    TColor FVRKGradMirrorFrom = clNone;
    TColor FVRKGradMirrorTo = clNone;
    TColor FVRKGradHoverFrom = clGray;
    TColor FVRKGradHoverTo = clWhite;
    TColor FVRKGradHoverMirrorFrom = clNone;
    TColor FVRKGradHoverMirrorTo = clNone;
    TColor FVRKGradHoverBorder = clSilver;
    TColor FVRKGradDownFrom = clGray;
    TColor FVRKGradDownTo = clSilver;
    TColor FVRKGradDownMirrorFrom = clNone;
    TColor FVRKGradDownMirrorTo = clNone;
    TColor FVRKGradDownBorder = clGray;

    void Resize() override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    TInplaceEdit* CreateEditor() override;
    // The toolkit grid paints and edits shown columns; the cells live at
    // their real columns.
    void HandleDrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    QString HandleGetEditText(int ACol, int ARow) override;
    void HandleSetEditText(int ACol, int ARow, const QString& Value) override;
    void RestoreEditText(int ACol, int ARow, const QString& LoadedText) override;
    QString GetEditMask(int ACol, int ARow) override;

    // Owned objects (the settings objects above are freed in the destructor).
    std::unique_ptr<TStringList> FColumnHeaders;
    std::unique_ptr<TStringList> FRowHeaders;
    std::unique_ptr<TStringList> FSortList;
    std::unique_ptr<TStringList> FLookupItems;
    std::unique_ptr<TStringList> FFilterList;
    std::unique_ptr<TFont> FCellFont;
    std::unique_ptr<TFont> FFixedFont;
    std::unique_ptr<TFont> FActiveCellFont;
    std::unique_ptr<TBitmap> FRowIndicator;
    std::unique_ptr<THTMLPictureCache> FPictureCache;
    std::unique_ptr<TIntList> FOrigColSizes;
    std::unique_ptr<TIntList> FSortRowXRef;
    // The inverse of FSortRowXRef (unsorted row -> first place holding it,
    // -1 if none), built on the first look-up after each change of it.
    mutable std::vector<int> FSortRowPlace;
    mutable bool FSortRowPlaceValid = false;
    std::unique_ptr<TIntList> FUnSortRowXRef;
    std::unique_ptr<TIntList> FMergedColumns;
    std::unique_ptr<TIntList> FModifiedRows;
    std::unique_ptr<TIntList> FEnabledRows;
    std::unique_ptr<TIntList> FColumnOrder;
    std::unique_ptr<TIntList> FIgnoreColumns;
    std::unique_ptr<TControlList> FControlList;
    std::unique_ptr<TCollection> FGridItems;
    std::vector<TObject*> FRowSelection;
    std::vector<TObject*> FColSelection;
    std::vector<TGridChangeNotifier*> FNotifierList;
    TFocusHelper* FFocusHelper = nullptr;
    TBands* FBands = nullptr;
    TSyncGrid* FSyncGrid = nullptr;
    THTMLHintWindow* FScrollHintWnd = nullptr;
    TCellGraphic* FCellGraphic = nullptr;

    // Run-time children (none while designing).
    TGridFocusWindow* FFocusWindow = nullptr;
    TArrowWindow* FArrows[4] = { nullptr, nullptr, nullptr, nullptr };
    TGridTransEdit* FTransEdit = nullptr;
    TGridTransCombo* FTransCombo = nullptr;
    TControlEdit* FControlEdit = nullptr;
    TControlCombo* FControlCombo = nullptr;
    TScrollBar* FCellScrollBar = nullptr;
    TScrollBar* FPaintScrollBar = nullptr;

    // Published settings with setters of their own.
    TColor FBorderColor = TColor(0xB99D7F);
    bool FAutoSize = false;
    TScrollType FScrollType = TScrollType::ssNormal;
    TColor FScrollColor = clNone;
    int FScrollWidth = 17;
    TScrollBarAlways FScrollBarAlways = TScrollBarAlways::saNone;
    TColorTones FTones;
    TVRKStyle FStyle = TVRKStyle::tsOffice2003Blue;
    TOfficeTheme FOldOfficeTheme = TOfficeTheme::otUnknown;

    // State.
    int FUpdateCount = 0;
    // A footer recalculation asked for inside an update bracket, run when the
    // outermost bracket closes.
    bool FFooterPending = false;
    int FFilterLevel = 0;
    int FFilterCol = -1;
    TEditorType EditControl = TEditorType::edNormal;
    bool FIsThemed = true;
    bool FIsWinXP = true;
    bool FIsWin7 = true;
    bool FIsVista = true;
    bool FIsComCtl6 = true;
    bool FGridLoaded = false;
    bool FEditChange = false;
    bool FShowScrollHint = false;
    TCursor FOldCursor = crDefault;
    int FOldLeftCol = 0;
    int FOldTopRow = 0;
    int FMinFixedRows = 0;
    int FMinFixedCols = 0;
    int FSizeMinRowHeight = 0;
    int FSizeMinColWidth = 10;
    int FMaxRowCount = 0;
    int FMaxColCount = 0;
    // The grid's width when the column widths were last taken as the base of
    // proportional sizing.
    int FOldSize = 0;
    // Remembered cells, -1 when none.
    int FLastTabCol = -1, FLastTabRow = -1;
    int FHoverLinkCol = -1, FHoverLinkRow = -1;
    int FOleDragCol = -1;
    int FClickCol = -1, FClickRow = -1;
    int FComboIdx = -1;
    int FMouseSelectStart = -1;
    int FOldRowSel = -1;
    int FDesignHelperChoice = -1;
    TPoint FHoverFixedCell { -1, -1 };
    TPoint FCellButtonPushed { -1, -1 };
    TPoint FClipTopLeft { -1, -1 };
    TPoint FLastHintPos { -1, -1 };
    // Mouse wheel: lines per notch and the message it comes with.
    int FWheelScrollLines = 3;
    UINT FWheelMsg = 0;
    bool FWheelPan = false;
    // The owner form's resize handler, run before the grid's own.
    TNotifyEvent FOwnerFormResize;
    bool FHasOwnerFormResize = false;
    TCustomForm* FHookedForm = nullptr;
    int FFormWidth = 0;
    int FFormHeight = 0;
    // The grid timer: once every 500 ms while the window exists.
    static constexpr UINT GridTimerId = 111;

private:
    void FormResize(TObject* Sender);
    void BalloonEnableChanged();
    // Writes ColumnHeaders into the first row and RowHeaders into the first column.
    void ShowColumnHeaders();
    void ShowRowHeaders();

    // ==== keys, Tab navigation, the grid timer and the clipboard shortcuts
    // (ExGridKeys.cpp, ExGridTab.cpp, ExGridExchange.cpp) ====
public:
    // One tick of the grid timer: ages the incremental search text, makes
    // the hovered normal cell current, flips the blink phase.
    void GridTimer();
    int TimerTicks() const { return FTimerTicks; }
    // Cells whose text holds a blink tag repaint on every tick.
    EXGRID_PLAIN(bool, EnableBlink, false)
public:
    bool GridBlink() const { return FGridBlink; }

    // Whether a fixed cell takes hover highlighting by HoverFixedCells.
    bool IsHoverFixedCell(int ACol, int ARow) const;
    // FixedCols; 1 when there are none and the grid has nodes.
    int FirstNormalCol() const;
    // The fixed right columns that are not hidden.
    int VisibleFixedRightCols() const;
    // Whether Tab may land on the cell (display column): editable with
    // goEditing, else not fixed; OnSelectCell has the last word.
    bool CanTabToCell(int ACol, int ARow);
    // The first (last) column of the row Tab may land on; -1 when none.
    int FirstTabCol(int ARow);
    int LastTabCol(int ARow);
    bool IsLastNormalRow() const;
    // Down on the last normal row: OnCanAddRow, an empty row, OnAutoAddRow.
    void AppendRowOnArrowDown();
    // The toolkit grid's own click on the cell, which selects it and opens
    // its editor; the grid's mouse events stay out of it.
    void ClickCellForEdit(int ACol, int ARow);
    // One Tab's move of the current cell (back with Backward); false only
    // when the Tab went to the parent window (TabToNextAtEnd at the end).
    // When no cell qualifies the cursor stays where it was.
    virtual bool AdvanceOnTab(bool Backward);

    // The clipboard shortcuts' work, done by the exchange service in use.
    void CopySelectionToClipboard();
    void CutSelectionToClipboard();
    void PasteSelectionFromClipboard();

    // Allow starts true; false leaves the grid as it was.
    using TClipboardEvent = std::function<void(TObject* Sender, bool& Allow)>;
    std::function<void(TObject* Sender, int ARow, bool& CanDelete)> OnCanDeleteRow;
    std::function<void(TObject* Sender, int ARow)> OnAutoInsertRow;

protected:
    // The key messages: the grid's own keys around the toolkit's processing.
    void HandleWMKeyDown(TMessage& Message);
    void HandleWMChar(TMessage& Message);
    void HandleWMKeyUp(TMessage& Message);
    void HandleKeyDown(WORD& Key, TShiftState Shift) override;
    virtual void HandleKeyUp(WORD& Key, TShiftState Shift);
    void KeyUp(WORD& Key, TShiftState Shift) override { HandleKeyUp(Key, Shift); }
    // True when Message was a key message and has been handled.
    bool KeyMessage(TMessage& Message);

    TPoint FLastKeyCell { -1, -1 };
    TGridRect FMoveSelection;
    int FTimerTicks = 0;
    bool FGridBlink = false;
    // Set for one key-down while its OnKeyDown has been fired already.
    bool FKeyDownFired = false;

private:
    // Steps of the key-down message; true when the key was consumed.
    bool HomeEndKey(WORD Key, TShiftState Shift);
    bool SkipFixedCellsKey(WORD Key);
    bool ControlCellKey(WORD Key);
    bool ClipboardKey(WORD Key, TShiftState Shift);
    void InsertRowKey();
    void DeleteRowKey();
    void SelectAllKey();
    void DisjunctKeys(WORD Key, TShiftState Shift);
    bool KeyEditable(int ACol, int ARow);
    // Fires OnKeyDown with a copy of the key (its changes are not used).
    void FireKeyDown(WORD Key, TShiftState Shift);
    void ReportSelectionChange();
    // One forward or backward step of AdvanceOnTab from the current cell;
    // the step's own side effects (an added row, the Tab posted to the
    // parent) happen here. Wrapped is set when the step went over the end.
    bool TabStep(bool Backward, bool& Posted, bool& Wrapped);
    // ==== end of keys, Tab navigation, the grid timer and the clipboard shortcuts ====

    // ---- Printing and print preview (built in controls/gridio) ----
public:
    // Prints to the printer service's printer.
    void Print();
    void PrintRect(const TGridRect& Gridrect);
    void PrintSelection();
    void PrintSelectedRows();
    void PrintSelectedCols();
    // Draws the pages into Displayrect (device units) of Canvas.
    void PrintPreview(TCanvas* Canvas, const TRect& Displayrect);
    void PrintPreviewRect(TCanvas* Canvas, const TRect& Displayrect, const TGridRect& Gridrect);
    void PrintPreviewSelection(TCanvas* Canvas, const TRect& Displayrect);
    void PrintPreviewSelectedRows(TCanvas* Canvas, const TRect& Displayrect);
    void PrintPreviewSelectedCols(TCanvas* Canvas, const TRect& Displayrect);
    // Draws the first page into DrawRect (device units) of Canvas.
    void PrintDraw(TCanvas* Canvas, const TRect& DrawRect);
    void PrintDrawRect(TCanvas* Canvas, const TRect& DrawRect, const TGridRect& Gridrect);
    // Point size to a height in 0.1 mm (negative: character height) and back.
    int MapFontHeight(int PointSize) const;
    static int MapFontSize(int Height);

    bool IsPrintPreview() const { return FIsPrintPreview; }
    TRect PrintPageRect() const { return FPrintPageRect; }
    int PrintPageWidth() const { return FPrintPageWidth; }
    int PrintColStart() const { return FPrintColStart; }
    int PrintColEnd() const { return FPrintColEnd; }
    // Skips the counting pass: pages print without knowing their count.
    bool FastPrint = false;
    // The fit-to-page factor while a printed cell is measured or painted.
    double Fontscalefactor = 1.0;

    std::function<void(TObject* Sender, int NrOfPages, int& FromPage, int& ToPage)> OnPrintStart;
    std::function<void(TObject* Sender, TCanvas* Canvas, int PageNr, int PageXSize, int PageYSize)> OnPrintPage;
    std::function<void(
        TObject* Sender, TCanvas* Canvas, int LastRow, int LastRowOffset, int LastPage, int PageXSize, int PageYSize)>
        OnPrintPageDone;
    std::function<void(TObject* Sender, int PageNr, bool& Cancel)> OnPrintCancel;
    std::function<void(TObject* Sender, int ARow, bool& NewPage)> OnPrintNewPage;
    std::function<void(TObject* Sender, int ACol, int& Width)> OnPrintSetColumnWidth;
    std::function<void(TObject* Sender, int ARow, int& Height)> OnPrintSetRowHeight;
    std::function<void(TObject* Sender, double& ScaleFactor, bool& Allow)> OnFitToPage;

private:
    friend class TGridPageEngine;
    TGridRect FPrintRect;
    TRect PrevRect;
    int FPrintPageFrom = 1;
    int FPrintPageTo = 1;
    TRect FPrintPageRect;
    int FPrintPageWidth = 0;
    int FPrintColStart = 0;
    int FPrintColEnd = 0;
    bool FIsPrintPreview = false;
    void PrintPages(const TGridRect& Gridrect, bool SelectedOnly);
    void PreviewPages(TCanvas* Canvas, const TRect& Displayrect, bool SelectedOnly, const TGridRect& Gridrect);
    // ---- end of printing ----

    // ==== column and row moving hooks (ExGridMoved.cpp) ====
public:
    // A move on the first column or row that a synchronised grid repeats.
    bool SyncedMove() const { return FSyncedMove; }
    // The last row takes no move while the footer strip stands in for it.
    void MoveRow(int FromIndex, int ToIndex) override;

protected:
    void RowMoved(int FromIndex, int ToIndex) override;
    // What follows a column after the cells moved (real indexes): the kept
    // rows' texts, the sort column and keys, the footer, the linked grid.
    void ColumnMovedFollow(int FromIndex, int ToIndex, int RealFrom, int RealTo);

private:
    bool FSyncedMove = false;
    // ==== end of column and row moving hooks ====
};

// The cursor the grid shows over links.
TCursor GridLinkCursor();
