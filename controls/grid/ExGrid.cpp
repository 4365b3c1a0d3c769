#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridCellEditors.h"
#include "controls/grid/ExInplaceEdit.h"

#include "controls/base/ExObjWindows.h"
#include "controls/base/PictureContainer.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "controls/grid/ExGridUnit.h"
#include "controls/grid/ExGridWindows.h"
#include "platform/controls/BalloonTip.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Messages.h"
#include "platform/controls/ScrollBar.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/PlatformInfo.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Collection.h"

namespace {

// The cursor over links, set by every grid that is made.
TCursor gLinkCursor = crDefault;

std::unique_ptr<TStringList> NewStrings()
{
    return std::make_unique<TStringList>();
}

} // namespace

TCursor GridLinkCursor()
{
    return gLinkCursor;
}

// ---------------------------------------------------------------------------
// Construction

TExStringGrid::TExStringGrid(TComponent* AOwner)
    : TBaseGrid(AOwner)
{
    // The grid unit's process-wide state exists before the first grid.
    if (ExGridStartCount() == 0)
        ExGridStartup();
    SetControlStyle(ControlStyle() | csAcceptsControls);
    const bool designing = IsDesigning();

    // Owned objects, in the order the grid has always made them.
    FCellFont = std::make_unique<TFont>();
    FFocusHelper = new TFocusHelper();
    const bool ownerReading
        = AOwner && (AOwner->ComponentState() & (TComponentState(csReading) | csLoading)) != TComponentState();
    FSearchFooter = new TSearchFooter(this, designing && !ownerReading);
    FFloatingFooter = new TFloatingFooter(this);
    FPrintSettings = new TPrintSettings(this);
    FHTMLSettings = new THTMLSettings();
    FSortSettings = new TSortSettings(this);
    FDragDropSettings = new TDragDropSettings(this);
    FDragScrollOptions = new TDragScrollOptions();
    FControlLook = new TControlLook(this);
    FNavigation = new TNavigation();
    FNavigation->OnChange = [this](TObject*) { NavigationChanged(); };
    FColumnSize = new TColumnSize(this);
    FCellNode = new TCellNode(this);
    FBands = new TBands();
    FBands->OnChange = [this](TObject*) { Invalidate(); };
    FSizeWhileTyping = new TSizeWhileTyping();
    FMouseActions = new TMouseActions(this);
    FMouseActions->OnChange = [this](TObject*) { MouseActionsChanged(); };
    FMouseActions->OnIsDesigning = [this](TObject*, bool& d) { d = IsDesigningGrid(); };
    FMouseActions->OnInvalidate = [this](TObject*) { RepaintGrid(); };
    FGrouping = new TGrouping();
    FColumnHeaders = NewStrings();
    FColumnHeaders->OnChange = [this](TObject*) {
        UpdateColumnHeaders();
        ShowColumnHeaders();
    };
    FPictureCache = std::make_unique<THTMLPictureCache>();
    FOrigColSizes = std::make_unique<TIntList>(-1, -1);
    FFixedFont = std::make_unique<TFont>();
    FFixedFont->SetName(QStringLiteral("Tahoma"));
    FFixedFont->SetStyle(TFontStyles(TFontStyle::fsBold));
    FFixedFont->OnChange = [this](TObject*) { Invalidate(); };
    FActiveCellFont = std::make_unique<TFont>();
    FActiveCellFont->SetStyle(TFontStyles(TFontStyle::fsBold));
    if (designing)
        FActiveCellFont->SetName(QStringLiteral("Tahoma"));
    FActiveCellFont->OnChange = [this](TObject*) { Invalidate(); };
    FRowHeaders = NewStrings();
    FRowHeaders->OnChange = [this](TObject*) { ShowRowHeaders(); };
    FSortList = NewStrings();
    FLookupItems = NewStrings();
    FSortIndexes = new TSortIndexList();
    FSortRowXRef = std::make_unique<TIntList>(0, 0);
    FSortRowXRef->OnChange = [this](TObject*, int, int) { SortRowXRefChanged(); };
    FUnSortRowXRef = std::make_unique<TIntList>(0, 0);
    FMergedColumns = std::make_unique<TIntList>(0, 0);
    FMergedColumns->OnChange = [this](TObject*, int, int) {
        SplitAllColumnCells();
        ApplyMergedColumns();
    };
    FModifiedRows = std::make_unique<TIntList>(0, 0);
    FEnabledRows = std::make_unique<TIntList>(0, 0);
    FRowIndicator = std::make_unique<TBitmap>();
    FBackGround = new TBackGround(this);
    FScrollHintWnd = new THTMLHintWindow(this);
    FControlList = std::make_unique<TControlList>();
    FProgressAppearance = new TGridProgressAppearance();
    FProgressAppearance->OnChange = [this](TObject*) { Invalidate(); };
    FSyncGrid = new TSyncGrid(this);
    FGridItems = std::make_unique<TCollection>([](TCollection* c) { return new TGridItem(c); });
    FFilter = new TFilter(this);

    SetRowCount(10);
    SetBounds(Left(), Top(), 400, 250);

    FBalloon = new TBalloonSettings();
    FBalloon->OnEnableChange = [this](TObject*) { BalloonEnableChanged(); };
    FShowModified = new TShowModified();
    FShowModified->OnChange = [this](TObject*) { InvalidateCol(0); };

    // Owner form's resize event: the grid runs the form's own handler first.
    if (auto* form = dynamic_cast<TCustomForm*>(AOwner); form && !designing) {
        FHookedForm = form;
        if (form->OnResize) {
            FOwnerFormResize = form->OnResize;
            FHasOwnerFormResize = true;
        }
        form->OnResize = [this](TObject* Sender) { FormResize(Sender); };
        FFormWidth = form->Width();
        FFormHeight = form->Height();
    }

    SetDefaultRowHeight(22);
    FFixedRowHeight = DefaultRowHeight();
    FVRKGradTo = ColorToRGB(clBtnFace);

    const TPlatformInfo& info = PlatformInfo();
    FIsWinXP = info.WinXPOrLater;
    FIsVista = info.WinVistaOrLater;
    FIsWin7 = info.Win7OrLater;
    FIsComCtl6 = info.ComCtl6OrLater;
    FIsThemed = info.ThemesActive;
    FBorderColor = FIsWinXP ? TColor(0xB99D7F) : TColor(0x808080);
    SetScrollBars(ssBoth);
    FScrollWidth = info.VScrollBarWidth;
    FColumnOrder = std::make_unique<TIntList>(0, 0);
    FCellGraphic = new TCellGraphic();
    FIgnoreColumns = std::make_unique<TIntList>(-1, -1);
    FFilterDropDown = new TFilterDropDown();
    FFilterDropDown->OnChange = [this](TObject*) { Invalidate(); };
    FFilterList = NewStrings();
    FFilterList->SetDuplicates(dupIgnore);
    FFilterList->SetSorted(true);
    FOldLeftCol = LeftCol();
    FOldTopRow = TopRow();
    CreatePanels();

    if (!designing) {
        FFocusWindow = new TGridFocusWindow(this);
        for (int d = 0; d < 4; ++d)
            FArrows[d] = new TArrowWindow(this, TArrowDirection(d));
        // The fixed-cell editors place themselves on the grid, hidden.
        FTransEdit = new TGridTransEdit(this);
        FTransCombo = new TGridTransCombo(this);
        FControlEdit = new TControlEdit(this);
        FControlCombo = new TControlCombo(this);
        // The combo and check-box editors live as long as the grid.
        EditCombo = new TGridCombo(this);
        EditCombo->SetIsWinXP(FIsWinXP);
        EditCombo->SetIsVista(FIsVista && FIsComCtl6);
        SetInplaceCombo(EditCombo);
        EditCheck = new TGridCheckBox(this);
        FCellScrollBar = new TScrollBar(this);
        FPaintScrollBar = new TScrollBar(this);
        for (TScrollBar* bar : { FCellScrollBar, FPaintScrollBar }) {
            bar->SetVisible(false);
            bar->SetKind(sbVertical);
        }
        FStyle = TVRKStyle::tsWindowsXP;
    }
    gLinkCursor = crHandPoint;
}

// ---------------------------------------------------------------------------
// Destruction

TExStringGrid::~TExStringGrid()
{
    if (!IsDesigning())
        BalloonDone();
    if (FHookedForm && !FHookedForm->IsDestroying()) {
        FHookedForm->OnResize = FHasOwnerFormResize ? FOwnerFormResize : TNotifyEvent();
    }
    // A store that cannot be written (missing folder, read-only file) must
    // not stop the grid going away.
    if (FColumnSize->Save) {
        try {
            SaveColSizes();
        } catch (...) {
        }
    }
    FSaveHiddenCells = false;
    FClearTextOnly = false;
    // The base grid frees the properties of every stored cell, hidden
    // columns included; hidden rows' records free theirs.
    FGridItems.reset();
    if (HookedGrid() == this)
        SetHookedGrid(nullptr);
    delete FFocusHelper;
    delete FSearchFooter;
    delete FFloatingFooter;
    delete FPrintSettings;
    delete FHTMLSettings;
    delete FSortSettings;
    delete FDragDropSettings;
    delete FDragScrollOptions;
    delete FControlLook;
    delete FNavigation;
    delete FColumnSize;
    delete FCellNode;
    delete FBands;
    delete FSizeWhileTyping;
    delete FMouseActions;
    delete FGrouping;
    delete FSortIndexes;
    delete FBackGround;
    delete FProgressAppearance;
    delete FSyncGrid;
    FSyncGrid = nullptr;
    delete FFilter;
    delete FBalloon;
    FBalloon = nullptr;
    delete FShowModified;
    delete FCellGraphic;
    delete FFilterDropDown;
    SetCursor(FOldCursor);
    // The run-time children are owned by the grid as components and go with it.
}

// ---------------------------------------------------------------------------
// Streaming and window

void TExStringGrid::Loaded()
{
    TBaseGrid::Loaded();
    FOldCursor = Cursor();
    ShowColumnHeaders();
    ShowRowHeaders();
    // Marked custom first so that the setter applies the look again.
    if (FLook == TGridLook::glVRK) {
        FLook = TGridLook::glCustom;
        SetLook(TGridLook::glVRK);
    }
    if (FAutoSize)
        AutoSizeColumns(false, 4);
    if (FColumnSize->Save)
        LoadColSizes();
    FMinFixedRows = FixedRows();
    FMinFixedCols = FixedCols();
    FSizeMinRowHeight = DefaultRowHeight();
    FSizeMinColWidth = 10;
    FMaxRowCount = RowCount();
    FGridLoaded = true;
    if (Options() & goAlwaysShowEditor) {
        FNavigation->AlwaysEdit = true;
        SetOptions(Options() & ~TGridOptions(goAlwaysShowEditor));
    }
    if (!FIsWinXP && FControlLook->ControlStyle() == TGridControlStyle::csTheme && !IsDesigning())
        FControlLook->SetControlStyle(TGridControlStyle::csClassic);
    FSearchFooter->SetAutoThemeAdapt(FAutoThemeAdapt);
    if (FAutoThemeAdapt) {
        RegisterThemeWindow(true);
        SyncOfficeTheme();
    }
    UpdateSearchFooter();
    UpdateScrollBars(false);
    InitOrigColSizes();
    SetColumnOrder();
    if (FBalloon->Enable())
        BalloonInit();
}

void TExStringGrid::InitOrigColSizes()
{
    FOrigColSizes->Clear();
    for (int c = 0; c < ColCount(); ++c)
        FOrigColSizes->Add(ColWidths(c));
    FOldSize = Width();
}

void TExStringGrid::CreateWnd()
{
    if (IsDestroying())
        return;
    TBaseGrid::CreateWnd();
    if (!Parent())
        return;
    for (TScrollBar* bar : { FCellScrollBar, FPaintScrollBar }) {
        if (!bar)
            continue;
        bar->SetParent(this);
        bar->SetVisible(false);
        bar->SetTabStop(false);
        bar->SetKind(sbVertical);
    }
    if (!IsDesigning() && FBalloon->Enable())
        BalloonInit();
    if (FColumnSize->Save)
        LoadColSizes();
    SetTimer(this, GridTimerId, 500);
    if (IsDesigning() && !FGridLoaded && !IsLoading())
        Font()->SetName(QStringLiteral("Tahoma"));
    FIsWinXP = FIsWinXP && PlatformInfo().ThemesActive;
    // One screen per notch (-1) scrolls by the rows in view.
    FWheelScrollLines = WheelScrollLines();
    if (FWheelScrollLines == -1)
        FWheelScrollLines = VisibleRowCount();
    FWheelMsg = WM_MOUSEWHEEL;
    FWheelPan = false;
    ScrollWindowCreated();
}

void TExStringGrid::BalloonEnableChanged()
{
    if (IsLoading())
        return;
    if (FBalloon->Enable())
        BalloonInit();
    else
        BalloonDone();
}

// The flag keeps the set-up to once.
void TExStringGrid::BalloonInit()
{
    if (!FBalloon || FBalloon->FInit)
        return;
    FBalloon->FInit = true;
    CreateToolTipWindow();
    AddBalloonTool(3, QStringLiteral("ToolTipText"));
    FHToolTip->SetDelay(TTipDelay::tdInitial, FBalloon->InitialDelay);
    FHToolTip->SetDelay(TTipDelay::tdReshow, FBalloon->ReshowDelay);
    FHToolTip->SetDelay(TTipDelay::tdAutoPop, FBalloon->AutoHideDelay);
    if (FBalloon->Transparency > 0)
        FHToolTip->SetOpacity(255 - FBalloon->Transparency);
}

void TExStringGrid::BalloonDone()
{
    if (FBalloon && FBalloon->FInit)
        DestroyToolTipWindow();
    if (FBalloon)
        FBalloon->FInit = false;
}

TInplaceEdit* TExStringGrid::CreateEditor()
{
    return new TExInplaceEdit(this);
}

void TExStringGrid::HandleDrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    TBaseGrid::HandleDrawCell(RealColIndex(ACol), ARow, ARect, AState);
}

void TExStringGrid::RestoreEditText(int ACol, int ARow, const QString& LoadedText)
{
    TBaseGrid::RestoreEditText(RealColIndex(ACol), ARow, LoadedText);
}

QString TExStringGrid::QueryEditMask(int ACol, int ARow)
{
    QString mask = FEditMask;
    if (OnGetEditMask)
        OnGetEditMask(this, ACol, ARow, mask);
    return mask;
}

QString TExStringGrid::GetEditMask(int ACol, int ARow)
{
    return QueryEditMask(ACol, ARow);
}

TCustomForm* TExStringGrid::FindParentForm(TControl* AControl)
{
    for (TControl* c = AControl; c; c = c->Parent()) {
        if (auto* f = dynamic_cast<TCustomForm*>(c))
            return f;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Copying

void TExStringGrid::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TExStringGrid*>(Source);
    if (!src)
        return;
    Font()->Assign(src->Font());
    FActiveCellColor = src->FActiveCellColor;
    FActiveCellColorTo = src->FActiveCellColorTo;
    FActiveCellFont->Assign(src->FActiveCellFont.get());
    FActiveCellShow = src->FActiveCellShow;
    SetActiveRowShow(src->ActiveRowShow());
    SetAlign(src->Align());
    FFilterDropDown->Assign(src->FFilterDropDown);
    FAnchorHint = src->FAnchorHint;
    FAutoNumAlign = src->FAutoNumAlign;
    FAutoSize = src->FAutoSize;
    FAutoThemeAdapt = src->FAutoThemeAdapt;
    FAutoFilterUpdate = src->FAutoFilterUpdate;
    FMouseActions->Assign(src->FMouseActions);
    FNavigation->Assign(src->FNavigation);
    FGrouping->Assign(src->FGrouping);
    FSearchFooter->Assign(src->FSearchFooter);
    FPrintSettings->Assign(src->FPrintSettings);
    FFilter->Assign(src->FFilter);
    FHTMLSettings->Assign(src->FHTMLSettings);
    FBands->Assign(src->FBands);
    FCellNode->Assign(src->FCellNode);
    FSortSettings->Assign(src->FSortSettings);
    FDragScrollOptions->Assign(src->FDragScrollOptions);
    FDragDropSettings->Assign(src->FDragDropSettings);
    FProgressAppearance->Assign(src->FProgressAppearance);
    FColumnSize->Assign(src->FColumnSize);
    FSyncGrid->Assign(src->FSyncGrid);
    FFocusHelper->Assign(src->FFocusHelper);
    FFixedRowAlways = src->FFixedRowAlways;
    SetColCount(src->ColCount());
    SetRowCount(src->RowCount());
    SetFixedRows(src->FixedRows());
    SetFixedCols(src->FixedCols());
    SetDefaultColWidth(src->DefaultColWidth());
    SetDefaultRowHeight(src->DefaultRowHeight());
    FFixedRowHeight = src->FFixedRowHeight;
    FFixedColWidth = src->FFixedColWidth;
    FInvalidEntryTitle = src->FInvalidEntryTitle;
    FInvalidEntryIcon = src->FInvalidEntryIcon;
    FInvalidEntryText = src->FInvalidEntryText;
    SetOptions(src->Options());
    for (int c = 0; c < ColCount(); ++c)
        SetColWidths(c, src->ColWidths(c));
    FColumnHeaders->Assign(src->FColumnHeaders.get());
    for (int r = 0; r < RowCount(); ++r)
        SetRowHeights(r, src->RowHeights(r));
    FScrollProportional = src->FScrollProportional;
    FScrollSynch = src->FScrollSynch;
    FScrollWidth = src->FScrollWidth;
    FScrollHints = src->FScrollHints;
    FScrollBarAlways = src->FScrollBarAlways;
    SetScrollBars(src->ScrollBars());
    SetScrollColor(src->FScrollColor);
    SetScrollType(src->FScrollType);
    SetScrollWidth(src->FScrollWidth);
    AssignCells(Source);
}

// ---------------------------------------------------------------------------
// Size, scroll bars and repainting

void TExStringGrid::Invalidate()
{
    if (FEditChange) {
        FEditChange = false;
        return;
    }
    TBaseGrid::Invalidate();
}

void TExStringGrid::Resize()
{
    TBaseGrid::Resize();
    const TBackGroundDisplay d = FBackGround->Display();
    if ((d == TBackGroundDisplay::bdGradientHorz || d == TBackGroundDisplay::bdGradientVert)
        && FBackGround->ColorTo() != clNone)
        Invalidate();
    UpdateScrollBars(false);
    CellControlsUpdate(false);
    if (IsDesigning())
        Invalidate();
}

void TExStringGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const int h = DefaultRowHeight();
    if (FIntegralHeight && FUpdateCount == 0 && h > 0) {
        const int s = VisibleColCount() + FixedCols() < ColCount() ? PlatformInfo().HScrollBarHeight : 0;
        const int b = FBorderStyle == bsSingle ? 2 : 0;
        int rest = (AHeight - s - b) % h;
        if (rest < 0)
            rest += h;
        AHeight = AHeight + b - rest;
    }
    TBaseGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TExStringGrid::UpdateScrollBars(bool HideWhenAllFit)
{
    const bool rowsFit = VisibleRowCount() + FixedRows() >= RowCount();
    const bool colsFit = VisibleColCount() + FixedCols() >= ColCount();
    if (FScrollBarAlways != TScrollBarAlways::saNone) {
        const bool vert = FScrollBarAlways == TScrollBarAlways::saVert || FScrollBarAlways == TScrollBarAlways::saBoth;
        const bool horz = FScrollBarAlways == TScrollBarAlways::saHorz || FScrollBarAlways == TScrollBarAlways::saBoth;
        // A bar kept while everything fits shows disabled; the toolkit grid
        // enables it again as soon as there is something to scroll.
        TCustomGrid::SetScrollBarAlways(SB_VERT, vert && rowsFit);
        TCustomGrid::SetScrollBarAlways(SB_HORZ, horz && colsFit);
        return;
    }
    TCustomGrid::SetScrollBarAlways(SB_VERT, false);
    TCustomGrid::SetScrollBarAlways(SB_HORZ, false);
    (void)HideWhenAllFit; // the toolkit grid hides a bar whose cells all fit
}

void TExStringGrid::SetBorderColor(TColor v)
{
    if (FBorderColor == v)
        return;
    FBorderColor = v;
    if (Parent() && Parent()->HandleAllocated())
        Invalidate();
}

void TExStringGrid::SetScrollBarAlways(TScrollBarAlways v)
{
    FScrollBarAlways = v;
    UpdateScrollBars(true);
}

void TExStringGrid::FormResize(TObject* Sender)
{
    if (FHasOwnerFormResize && FOwnerFormResize)
        FOwnerFormResize(Sender);
    if (FHookedForm) {
        FFormWidth = FHookedForm->Width();
        FFormHeight = FHookedForm->Height();
    }
}

void TExStringGrid::FollowFocusWindow()
{
    if (!FFocusWindow || !FFocusWindow->Visible())
        return;
    const TRect cell = CellRect(Col(), Row());
    const TPoint tl = ClientToScreen(TPoint(cell.Left, cell.Top));
    FFocusWindow->SetBounds(tl.X - 4, tl.Y - 4, cell.Width() + 9, cell.Height() + 9);
}

void TExStringGrid::RepaintGrid()
{
    Invalidate();
}

void TExStringGrid::SetVRKGradientFrom(TColor v)
{
    FVRKGradFrom = ColorToRGB(v);
    Invalidate();
}

void TExStringGrid::SetVRKGradientTo(TColor v)
{
    FVRKGradTo = ColorToRGB(v);
    Invalidate();
}

void TExStringGrid::SetVRKGradientMirrorFrom(TColor v)
{
    FVRKGradMirrorFrom = ColorToRGB(v);
    Invalidate();
}

void TExStringGrid::SetVRKGradientMirrorTo(TColor v)
{
    FVRKGradMirrorTo = ColorToRGB(v);
    Invalidate();
}

// ---------------------------------------------------------------------------
// Overridable operations with the least the grid needs of them until their
// method families are filled in.

void TExStringGrid::DoClickSort(int ACol)
{
    if (OnClickSort)
        OnClickSort(this, ACol);
}

void TExStringGrid::PasteCellText(int ACol, int ARow, const QString& Value)
{
    SetCellEx(ACol, ARow, Value);
}

void TExStringGrid::DoPrintGetPageNum(int PageNum, int PageColNum, QString& PageNumString)
{
    if (OnPrintGetPageNum)
        OnPrintGetPageNum(this, PageNum, PageColNum, PageNumString);
}

void TExStringGrid::DoCheckBoxClick(int ACol, int ARow, bool State)
{
    if (OnCheckBoxClick)
        OnCheckBoxClick(this, ACol, ARow, State);
}

void TExStringGrid::DoCheckBoxChange(int ACol, int ARow, bool State)
{
    if (OnCheckBoxChange)
        OnCheckBoxChange(this, ACol, ARow, State);
}

void TExStringGrid::DoSelectionChanged(int ALeft, int ATop, int ARight, int ABottom)
{
    // These looks paint the selection with a frame of its own.
    if (FLook == TGridLook::glVista || FLook == TGridLook::glWin7 || FLook == TGridLook::glOffice2007)
        InvalidateGridRect(TGridRect { ALeft, ATop, ARight, ABottom });
    FSelChange = true;
    if (OnSelectionChanged)
        OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}

void TExStringGrid::DoFixedEdit(int ACol, int ARow, TGridFixedCellEditor& AEditor, TStringList* Values)
{
    if (OnFixedEdit)
        OnFixedEdit(this, ACol, ARow, AEditor, Values);
}

void TExStringGrid::DoFilterDone()
{
    if (OnFilterDone)
        OnFilterDone(this);
}

void TExStringGrid::DoStartBlockFocus()
{
    if (OnStartBlockFocus)
        OnStartBlockFocus(this);
}

void TExStringGrid::DoEndBlockFocus()
{
    if (OnEndBlockFocus)
        OnEndBlockFocus(this);
}
