#pragma once
// The string grid: every grid of the program is one. This header declares the
// whole class; its method families live in their own sources (ExGrid*.cpp).

#include "controls/base/BaseGrid.h"
#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/base/ExStyleIF.h"
#include "platform/runtime/Types.h"

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class TSortSettings;
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
class TFilterDropDown;
class THTMLHintWindow;
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
enum class TGridLook { glStandard, glSoft, glClassic, glVRK, glXP, glListView, glVista, glWin7, glOffice2007, glCustom };
enum class THoverFixedCells { hfNone, hfAll, hfFixedRows, hfFixedColumns };
enum class TScrollType { ssNormal, ssFlat, ssEncarta, ssMetro };
enum class TScrollBarAlways { saNone, saVert, saHorz, saBoth };
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
    T Name() const { return F##Name; }                                                                                 \
    void Set##Name(T v) { F##Name = v; }                                                                               \
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
    void Invalidate() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // Shows, hides or enables the scroll bars from what fits (ScrollBarAlways).
    void UpdateScrollBars(bool HideWhenAllFit);
    // The control itself when it is a form, else the nearest form among its parents.
    static TCustomForm* FindParentForm(TControl* AControl);
    // The edit mask of a cell: EditMask, then OnGetEditMask.
    QString QueryEditMask(int ACol, int ARow);
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
    void SetAutoSize(bool v) { FAutoSize = v; }
    EXGRID_PLAIN(int, MinRowHeight, 0)
    EXGRID_PLAIN(int, MaxRowHeight, 0)
    EXGRID_PLAIN(int, MinColWidth, 0)
    EXGRID_PLAIN(int, MaxColWidth, 0)
    EXGRID_PLAIN(int, ZoomFactor, 0)
    EXGRID_PLAIN(TPoint, XYOffset, TPoint(2, 2))
    EXGRID_PLAIN(bool, IntelliZoom, true)
    EXGRID_PLAIN(bool, SizeGrowOnly, false)
    EXGRID_PLAIN(bool, IntegralHeight, false)
    EXGRID_PLAIN(TBorderStyle, BorderStyle, bsSingle)
    EXGRID_PLAIN(bool, FixedRowAlways, false)
    EXGRID_PLAIN(bool, FixedColAlways, false)
    EXGRID_PLAIN(TIntelliPan, IntelliPan, TIntelliPan::ipVertical)
    int UpdateCount() const { return FUpdateCount; }
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    // ---- look ----
    EXGRID_PLAIN(TGridLook, Look, TGridLook::glXP)
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    EXGRID_PLAIN(TColor, SelectionColor, TColor(0xEACAB6))
    EXGRID_PLAIN(TColor, SelectionColorTo, clNone)
    EXGRID_PLAIN(TColor, SelectionMirrorColor, clNone)
    EXGRID_PLAIN(TColor, SelectionMirrorColorTo, clNone)
    EXGRID_PLAIN(TColor, SelectionTextColor, TColor(0))
    EXGRID_PLAIN(int, SelectionColorMixerFactor, 50)
    EXGRID_PLAIN(TColor, SelectionRectangleColor, TColor(0))
    EXGRID_PLAIN(bool, ShowSelection, true)
    EXGRID_PLAIN(bool, HideFocusRect, false)
    EXGRID_PLAIN(bool, FixedAsButtons, false)
    EXGRID_PLAIN(TColor, HintColor, clInfoBk)
    EXGRID_PLAIN(TColor, HighlightColor, clHighlight)
    EXGRID_PLAIN(TColor, HighlightTextColor, clHighlightText)
    EXGRID_PLAIN(TColor, URLColor, TColor(0xFF0000))
    EXGRID_PLAIN(TColor, ActiveCellColor, TColor(0x808080))
    EXGRID_PLAIN(TColor, ActiveCellColorTo, clNone)
    EXGRID_PLAIN(bool, ActiveCellShow, false)
    EXGRID_PLAIN(TColor, DisabledFontColor, TColor(0xC0C0C0))
    EXGRID_PLAIN(bool, UseDisabledFont, true)
    EXGRID_PLAIN(TVAlignment, VAlignment, TVAlignment::vtaTop)
    EXGRID_PLAIN(TAlignment, DefaultAlignment, taLeftJustify)
    EXGRID_PLAIN(bool, EnableHTML, true)
    EXGRID_PLAIN(THoverFixedCells, HoverFixedCells, THoverFixedCells::hfNone)
    EXGRID_PLAIN(bool, ShowDesignHelper, true)
    EXGRID_PLAIN(bool, AutoThemeAdapt, false)
    EXGRID_PLAIN(bool, AutoNumAlign, false)
    EXGRID_PLAIN(bool, AnchorHint, false)
    EXGRID_PLAIN(bool, UseHTMLHints, false)
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
    EXGRID_PLAIN(bool, ScrollProportional, false)
    EXGRID_PLAIN(bool, ScrollSynch, false)
    EXGRID_PLAIN(bool, ScrollHints, false)

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
    EXGRID_PLAIN(int, GroupColumn, -1)
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

    // ---- the string grid's own overridable operations, in the order they
    // were introduced; the method families that own them fill them in ----
    virtual void CalcFooterColumn(int ACol) { (void)ACol; }
    virtual void DoClickSort(int ACol);
    virtual void F2KeyPressed() { }
    virtual void SetEditedCellText(int ACol, int ARow, const QString& Value);
    virtual void SelectionKeyed(const TGridRect& R) { (void)R; }
    virtual void PasteCellText(int ACol, int ARow, const QString& Value);
    virtual QString GetCurrentCell();
    virtual void SetCurrentCell(const QString& Value);
    virtual QString GetCurrentWideCell() { return GetCurrentCell(); }
    virtual void SetCurrentWideCell(const QString& Value) { SetCurrentCell(Value); }
    virtual void RestoreCellCache() { }
    virtual void ClickCheckBoxCell(int ACol, int ARow, bool Toggle) { (void)ACol, (void)ARow, (void)Toggle; }
    virtual void ClickRadioButtonCell(int ACol, int ARow, bool Click) { (void)ACol, (void)ARow, (void)Click; }
    virtual QString GetFormattedCell(int ACol, int ARow) { return GetCellEx(ACol, ARow); }
    virtual QString GetFloatFormat(int ACol, int ARow) { return (void)ACol, (void)ARow, FFloatFormat; }
    virtual TCellGraphic* GetCellGraphic(int ACol, int ARow) { return (void)ACol, (void)ARow, nullptr; }
    virtual void DoPrintGetPageNum(int PageNum, int PageColNum, QString& PageNumString);
    virtual void DoCheckBoxClick(int ACol, int ARow, bool State);
    virtual void DoFixedEdit(int ACol, int ARow) { (void)ACol, (void)ARow; }
    virtual void DoSelectionChanged(int ALeft, int ATop, int ARight, int ABottom);
    virtual void EditorTextChanged(const QString& Text, int CaretPos) { (void)Text, (void)CaretPos; }
    virtual void InsertGridRow(int ARow);
    virtual void RemoveGridRow(int ARow);
    virtual void DoFilterDone();
    virtual void UpdateColumnSize(int ACol, int& AWidth) { (void)ACol, (void)AWidth; }
    virtual void UpdateAutoColumnSize(int ACol, int& AWidth) { (void)ACol, (void)AWidth; }
    virtual void UpdateColumnHeaders() { }
    virtual void DoEllipsClick(QString& Text) { (void)Text; }
    virtual bool MatchFilter(int ARow) { return (void)ARow, true; }
    virtual void PasteStarting() { }
    virtual void PasteDone() { }
    virtual QString GetCellValueText(int ACol, int ARow) { return GetCellEx(ACol, ARow); }
    virtual void RecalcFooterColumn(int ACol, int ARow) { (void)ARow, CalcFooterColumn(ACol); }
    virtual void RememberCellValue(int ACol, int ARow) { (void)ACol, (void)ARow; }
    virtual void DoCanEditCell(int ACol, int ARow, bool& CanEdit);
    virtual void DoCellButtonClick(int ACol, int ARow);
    virtual void DoComboCloseUp(int ARow, int ACol) { (void)ARow, (void)ACol; }
    virtual void DoComboDropDown(int ARow, int ACol) { (void)ARow, (void)ACol; }
    virtual void RecalcFooter() { }
    virtual void DoGetAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign)
    {
        (void)ACol, (void)ARow, (void)HAlign, (void)VAlign;
    }
    virtual void DoGetFormat(int ACol, TSortStyle& AStyle, QString& APrefix, QString& ASuffix)
    {
        (void)ACol, (void)AStyle, (void)APrefix, (void)ASuffix;
    }
    virtual void GetEditorType(int ACol, int ARow, TEditorType& AEditor) { (void)ACol, (void)ARow, (void)AEditor; }
    virtual bool IsNoEditorCell(int ACol, int ARow) { return (void)ACol, (void)ARow, false; }
    virtual void IsFixedCell(int ACol, int ARow, bool& IsFixed);
    virtual void CanEditCell(int ACol, int ARow, bool& CanEdit) { DoCanEditCell(ACol, ARow, CanEdit); }
    virtual void DoIsPasswordCell(int ACol, int ARow, bool& IsPassword) { (void)ACol, (void)ARow, (void)IsPassword; }
    virtual void DoGetWordWrap(int ACol, int ARow, bool& WordWrap) { (void)ACol, (void)ARow, (void)WordWrap; }
    virtual bool HasComboBox(int ACol, int ARow) { return (void)ACol, (void)ARow, false; }
    virtual bool HasSpinEdit(int ACol, int ARow) { return (void)ACol, (void)ARow, false; }
    virtual QString GetCheckTrue(int ACol, int ARow) { return (void)ACol, (void)ARow, FCheckTrue; }
    virtual QString GetCheckFalse(int ACol, int ARow) { return (void)ACol, (void)ARow, FCheckFalse; }
    virtual bool GetColumnFilterValues(int ACol) { return (void)ACol, false; }
    virtual void DeleteGridRows(int RowIndex, int RCount);
    virtual void DoCanAddRow(bool& Allow);
    virtual void DoCanInsertRow(int ARow, bool& CanInsert);
    virtual void ScrollNotify(int RowDelta, bool& Handled) { (void)RowDelta, (void)Handled; }
    virtual void AddEmptyRow() { }
    virtual void CellSelectorClick(int ACol, int ARow) { (void)ACol, (void)ARow; }
    virtual void FormulaEditNotify() { }
    virtual void SelectAllNotify(const TGridRect& R) { (void)R; }
    virtual void MouseActionsChanged() { }
    virtual bool IsDesigningGrid() const { return IsDesigning(); }
    virtual void DisableEditing() { }
    virtual void EditorKeyNotify(WORD& Key, TShiftState Shift) { (void)Key, (void)Shift; }
    virtual void EditorMessageNotify(TMessage& Message) { (void)Message; }
    virtual void NavigationChanged() { }
    virtual void GotoFirstRow() { }
    virtual bool AllowFormattedClipboard() { return false; }
    virtual void FilterDropDownSelect(TObject* Sender, int ItemIndex) { (void)Sender, (void)ItemIndex; }
    virtual void FilterDropDownCheck(TObject* Sender, int ItemIndex) { (void)Sender, (void)ItemIndex; }
    virtual void DoCheckBoxChange(int ACol, int ARow, bool State);
    virtual bool DoRatingChange(int ACol, int ARow, int& Value) { return (void)ACol, (void)ARow, (void)Value, true; }
    virtual void DoColorSelect() { }
    virtual void DoImageSelect() { }
    virtual void DoCellChanging(int NewCol, int NewRow, bool& Allow) { (void)NewCol, (void)NewRow, (void)Allow; }
    virtual void DoScrollCell() { }
    virtual bool CanShowFixedDropDown(int ACol) { return (void)ACol, true; }
    virtual void DoStartBlockFocus();
    virtual void DoEndBlockFocus();
    virtual TCustomImageList* GetGridImageList() { return FGridImages; }
    virtual void ExportNotification(int AState, int ARow) { (void)AState, (void)ARow; }
    virtual void ImportNotification(int AState, int ARow) { (void)AState, (void)ARow; }
    virtual int GetVersionNr() { return 1; }
    virtual QString GetVersionString() { return QStringLiteral("1.0"); }
    virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);

    // Events the operations above fire.
    std::function<void(TObject* Sender, int ACol)> OnClickSort;
    std::function<void(TObject* Sender, int PageNum, int PageColNum, QString& PageNumString)> OnPrintGetPageNum;
    std::function<void(TObject* Sender, int ACol, int ARow, bool State)> OnCheckBoxClick;
    std::function<void(TObject* Sender, int ACol, int ARow, bool State)> OnCheckBoxChange;
    std::function<void(TObject* Sender, int ALeft, int ATop, int ARight, int ABottom)> OnSelectionChanged;
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

    virtual void RemoveRows(int RowIndex, int RCount);
    // Removes without freeing the rows' cell properties: the caller keeps them.
    virtual void RemoveRowsEx(int RowIndex, int RCount);
    void DeleteRowRange(int ARow, int Count, bool ForRemoval);
    virtual void InsertRows(int RowIndex, int RCount, bool UpdateCellControls = true);
    void InsertRowRange(int RowIndex, int RCount, bool UpdateCellControls);
    void AddRow();
    void RemoveSelectedRows();
    void RemoveUnSelectedRows();
    void RemoveDuplicates(int ACol, bool DoCase);
    void HideSelectedRows();
    void HideUnSelectedRows();

    // Disjunct row selection flags (real index with RowSelectPersistent);
    // least bodies until the selection family lands.
    bool RowSelect(int ARow) const;
    void SetRowSelect(int ARow, bool Value);
    void ClearRowSelect() { FRowSelect.clear(); }

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
    std::vector<int> FRowSelect;
    bool FSelHidden = false;
    TGridRect FHiddenSelection;
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
    int RealColIndex(int ACol) const { return RealColFromDisplay(ACol); }
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
    void SetColCount(int Value);
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
    // The height the search panel takes below the cells (least body until
    // the search panel lands).
    virtual int SearchPanelHeight() const { return 0; }

    int FFixedColWidth = 64;
    // Per real column while columns are hidden, empty otherwise.
    std::vector<bool> FVisibleCol;
    std::vector<int> FAllColWidths;
    int FNumHidden = 0;

private:
    std::vector<int> FDisplToReal;
    std::vector<int> FRealToDispl;
    bool FSyncingCol = false;
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

    // Least bodies until nodes, the disjunct column selection and the
    // incremental search land.
    virtual void RemoveAllNodes() { }
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
    // ==== end of cell access and per-cell looks ====

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

    // Least forms of the in-place editing members the rich editor reaches,
    // until the in-place editing family takes them over. While
    // InvokedFocusChange is set the grid moves the focus itself and the
    // editors' focus handlers end nothing.
    bool InvokedFocusChange = false;
    // Opens the toolkit grid's editor on the current cell, after scrolling
    // it into view at the top and left.
    virtual void ShowInplaceEdit();
    // Stores and hides the open in-place rich editor (its rich text into the
    // current cell), else closes the toolkit grid's editor.
    virtual void HideInplaceEdit();

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
    // ==== end of selection lists, per-row state, column order and small services ====

    // ==== cell graphics and in-cell graphics (ExGridGraphics.cpp) ====
public:
    // ==== end of cell graphics and in-cell graphics ====

    // ==== nodes (ExGridNodes.cpp) ====
public:
    // ==== end of nodes ====

    // ==== looks, per-cell queries and colour resolution (ExGridLooks.cpp) ====
public:
    // ==== end of looks, per-cell queries and colour resolution ====

    // ==== sorting, compares and calculations (ExGridSorting.cpp) ====
public:
    // ==== end of sorting, compares and calculations ====

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
    std::unique_ptr<TIntList> FUnSortRowXRef;
    std::unique_ptr<TIntList> FMergedColumns;
    std::unique_ptr<TIntList> FSelectedCells;
    std::unique_ptr<TIntList> FSelectedRows;
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
    // The grid timer's work.
    void GridTimer();
    void BalloonEnableChanged();
    // Writes ColumnHeaders into the first row and RowHeaders into the first column.
    void ShowColumnHeaders();
    void ShowRowHeaders();
};

// The cursor the grid shows over links.
TCursor GridLinkCursor();
