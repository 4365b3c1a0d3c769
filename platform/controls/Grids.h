#pragma once
// The toolkit's grid controls: TCustomGrid (geometry, current cell and
// selection, scrolling, keyboard and mouse navigation, sizing and moving of
// rows and columns, the in-place editor), TDrawGrid (the same with events) and
// TStringGrid (a text and an object per cell).
//
// Geometry never costs per row: row heights and column widths are a default
// plus the exceptions, and every position is found by walking from the first
// visible cell, so a grid of a million rows creates, scrolls and paints like
// one of a hundred. The cell store is kept apart from the geometry: cells of
// columns at and beyond ColCount stay in the store when ColCount changes.

#include <QFlags>
#include <QString>
#include <algorithm>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Mask.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/Exceptions.h"

class QScrollBar;

MORV_DECLARE_EXCEPTION(EInvalidGridOperation, Exception)

enum TGridOption : unsigned {
    goFixedVertLine = 0x0001,
    goFixedHorzLine = 0x0002,
    goVertLine = 0x0004,
    goHorzLine = 0x0008,
    goRangeSelect = 0x0010,
    goDrawFocusSelected = 0x0020,
    goRowSizing = 0x0040,
    goColSizing = 0x0080,
    goRowMoving = 0x0100,
    goColMoving = 0x0200,
    goEditing = 0x0400,
    goTabs = 0x0800,
    goRowSelect = 0x1000,
    goAlwaysShowEditor = 0x2000,
    goThumbTracking = 0x4000,
};
Q_DECLARE_FLAGS(TGridOptions, TGridOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridOptions)

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

enum TGridDrawStateFlag : unsigned { gdSelected = 0x1, gdFocused = 0x2, gdFixed = 0x4 };
Q_DECLARE_FLAGS(TGridDrawState, TGridDrawStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridDrawState)

struct TGridCoord {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// A block of cells; Right and Bottom are inclusive (the last column and row).
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    TGridCoord TopLeft() const { return { Left, Top }; }
    TGridCoord BottomRight() const { return { Right, Bottom }; }
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

TGridRect GridRect(TGridCoord a, TGridCoord b);
bool PointInGridRect(int col, int row, const TGridRect& r);

// A thumb runs from 0 to this position over the scrollable cells.
inline constexpr int GridScrollMax = 127;

// The state of one scroll bar: range, page and position as the window system
// keeps them (the largest reachable position is Max - Page + 1 with a page).
struct TGridScrollInfo {
    int Min = 0;
    int Max = GridScrollMax;
    int Page = 0;
    int Pos = 0;
    int TrackPos = 0;
};

// ---------------------------------------------------------------------------
// Extents of rows or columns: a default plus the exceptions, so that a count in
// the millions costs nothing until single extents are set. While few items
// differ from the default, every change costs by the exceptions it touches,
// never by the count; once many do (a grid of mixed row heights), the extents
// are kept as one plain array, which costs less memory than the exceptions and
// lets a set of items leave or come back in one pass. Sums and lookups cost
// O(log n) whatever the extents: past a few exceptions they read a tree of
// prefix sums, which a single extent updates in O(log n) and which is made
// again, from the first item that moved on, when runs of items move.

class TGridExtents {
public:
    int Count() const { return FCount; }
    // Extents at and beyond the new count are dropped.
    void SetCount(int n);
    int Default() const { return FDefault; }
    // Every extent becomes the new default.
    void SetDefault(int v);
    int Get(int i) const;
    void Set(int i, int v);
    // The extent at `from` goes to `to`; those between shift by one.
    void Move(int from, int to);
    // Multiplies every extent by m / d (rounded).
    void Scale(int m, int d);
    // Adds step to every extent above 0 that stays above 0.
    void Grow(int step);
    // Runs of items: n default items come in at `at`; n items leave from
    // `at`; the n items from `from` go to start at `to` (an index of the
    // sequence without them), the others closing up around them.
    void Insert(int at, int n);
    void Delete(int at, int n);
    void MoveRange(int from, int n, int to);
    // The item at first + k becomes the one that was at order[k].
    void Permute(int first, const std::vector<int>& order);
    // The items at a and b trade places.
    void Exchange(int a, int b);
    // Sets of items in one pass: the items at `rows` (ascending) leave; n
    // default items come in so that they end up at `places` (ascending).
    void DeleteSet(const std::vector<int>& rows);
    void InsertSet(const std::vector<int>& places);
    // The extents of the items at `items` (ascending), read in one pass.
    std::vector<int> GetSet(const std::vector<int>& items) const;
    // Sum of the extents from `first` to `last` inclusive.
    qint64 Sum(int first, int last) const;
    // The item whose span holds `pos`, each item spanning its extent plus
    // `lineWidth` from the start of item 0: -1 before it, Count() past the
    // end. An item without span holds nothing.
    int IndexAt(qint64 pos, int lineWidth = 0) const;
    // Changes with every change of an extent or the count.
    unsigned Version() const { return FVersion; }

private:
    // Up to this many exceptions a walk over them beats the tree.
    static constexpr std::size_t FewExceptions = 32;
    bool UsesTree() const { return FDense || FExceptions.size() > FewExceptions; }
    // Past one exception in this many items the plain array is the smaller.
    static constexpr std::size_t DenseShare = 8;
    void MakeDenseIfMany();
    // The tree's nodes from `i` + 1 on no longer hold.
    void Stale(int i) { FTreeValid = std::min(FTreeValid, std::max(0, i)); }
    void MakeTree(int upTo) const;
    // Sum of the exceptions' differences from the default over the items
    // from `first` to `end` - 1.
    qint64 DeltaSum(int first, int end) const;

    int FCount = 0;
    int FDefault = 0;
    unsigned FVersion = 0;
    std::map<int, int> FExceptions;
    // Every item's extent (Count of them) in place of FExceptions, then empty.
    bool FDense = false;
    std::vector<int> FItems;
    // Derived from the extents, never the other way: node j (1-based) holds
    // the differences from the default of the items from j - (j & -j) to
    // j - 1; nodes 1 to FTreeValid hold, the others are made when asked for.
    mutable std::vector<qint64> FTree;
    mutable int FTreeValid = 0;
};

// ---------------------------------------------------------------------------
// The cells of one row taken out of the store: its texts and the objects of
// its cells by column. Taking and putting back moves them, copying nothing.

struct TGridStoredRow {
    std::vector<QString> Texts;
    std::vector<std::pair<int, TObject*>> Objects;
};

// ---------------------------------------------------------------------------
// The cell store of the string grid: a text per cell by row and column, and
// the objects of the few cells that have one. A row holds its texts in one
// array, sized to the column count on its first write, and its objects in a
// short list beside them, so that reading a cell's text and object touches
// one row; rows without either cost one empty entry. The store never owns
// the objects.
//
// Writes land only inside the store's limits: rows below the grid's row
// count, columns below the widest the grid has had (cells of columns beyond
// ColCount stay, the string grid keeps hidden columns there).

class TGridCellStore {
public:
    const QString& Text(int col, int row) const;
    TObject* Object(int col, int row) const;
    void SetText(int col, int row, const QString& text);
    void SetObject(int col, int row, TObject* object);
    int RowLimit() const { return FRowLimit; }
    int ColLimit() const { return FColLimit; }
    // Rows at and beyond the limit are dropped.
    void SetRowLimit(int rows);
    // The column count of the grid: the limit grows to it, never shrinks.
    void SetColCount(int cols);
    // Moves one column (one row) to another index in every row (column); the
    // columns (rows) between shift by one.
    void MoveColumn(int from, int to);
    void MoveRow(int from, int to);
    // Every row's column first + k becomes the one that was at order[k].
    void PermuteColumns(int first, const std::vector<int>& order);
    // Takes the column out: those after it, kept ones included, move left.
    void DeleteColumn(int col);
    void ClearColumn(int col);
    void ClearRow(int row);
    // Runs of rows, as TGridExtents; the limit moves with inserts and deletes.
    void InsertRows(int at, int n);
    void DeleteRows(int at, int n);
    void MoveRows(int from, int n, int to);
    void PermuteRows(int first, const std::vector<int>& order);
    void ExchangeRows(int a, int b);
    // The row's cells leave it (the row stays, empty) and come back into a
    // row; putting replaces what the row held.
    TGridStoredRow TakeRow(int row);
    void PutRow(int row, TGridStoredRow&& cells);
    // Sets of rows, as TGridExtents; the rows' objects leave the store
    // unfreed (take them out first).
    void DeleteRowSet(const std::vector<int>& rows);
    void InsertRowSet(const std::vector<int>& places);
    void Clear();
    // Starts loading what a walk down the column reads in the rows a little
    // ahead of `row`: after a sort the rows' cells lie scattered in memory,
    // and such a walk would otherwise wait for memory at every row.
    void PrefetchColumn(int col, int row) const;
    // The same for a walk that reads the column's texts only.
    void PrefetchTexts(int col, int row) const;
    // The same for a walk that reads or writes the rows' objects only.
    void PrefetchObjects(int row) const;
    // The rows from first to last that hold an object, ascending: found
    // without reading the rows' cells.
    std::vector<int> RowsWithObjects(int first, int last) const;
    // Counts the changes to the texts and to the order of the rows: an equal
    // count means every text stands where it stood.
    quint64 TextEdits() const { return FTextEdits; }
    // One past the highest row that holds something, and the widest row.
    int StoredRowCount() const;
    int StoredColCount() const;

private:
    using TObjectList = std::vector<std::pair<int, TObject*>>;
    // The objects of one row by ascending column; the first in place, since
    // a row mostly has one at most and its look-up then reads no further.
    class TRowObjects {
    public:
        bool Empty() const { return !FFirst.second; }
        std::size_t Size() const { return Empty() ? 0 : 1 + FMore.size(); }
        TObject* Find(int col) const;
        TObject* First() const { return FFirst.second; }
        int LastCol() const { return FMore.empty() ? FFirst.first : FMore.back().first; }
        // Adds (true) or replaces (false) the object of a column.
        bool Set(int col, TObject* object);
        bool Erase(int col);
        // All of them by ascending column, leaving none.
        TObjectList Take();
        // Holds the list's objects instead, by column; entries without an
        // object or with a column below 0 are left out.
        void Put(TObjectList&& list);
        // Moves each object to the column newCol gives it (below 0: it
        // leaves); answers how many left.
        template <class F> std::size_t Remap(F newCol);

    private:
        std::pair<int, TObject*> FFirst { -1, nullptr };
        TObjectList FMore;
    };
    using TRowTexts = std::vector<QString>;
    // The row's slot, -1 for none; and one made when it has none.
    int SlotOf(int row) const;
    int SlotFor(int row);
    int NewSlot();
    void FreeSlot(int slot);
    // Frees the row's entry once it holds nothing.
    void DropIfEmpty(int row);
    // Empties the column in every row; closing up moves the later columns left.
    void DropColumn(int col, bool closeUp);
    void TrimRows();
    // A row's cells live in a slot that never moves; a row is the number of
    // its slot (-1: nothing stored), so that inserting, removing and
    // reordering rows moves integers, not the rows' cells. A slot's texts and
    // objects are kept apart, so that walks reading texts only read no more.
    std::vector<TRowTexts> FTexts;
    std::vector<TRowObjects> FObjects;
    std::vector<int> FFreeSlots;
    std::vector<int> FRows;
    // Per slot: whether its row holds objects, so that finding them reads
    // this and no row.
    std::vector<bool> FHeld;
    // Objects in all rows: none makes every object look-up a single test.
    std::size_t FObjectCount = 0;
    quint64 FTextEdits = 0;
    int FRowLimit = 0;
    int FColLimit = 0;
    int FColCount = 0;
};

// ---------------------------------------------------------------------------
// Geometry of one axis as the grid is laid out now (see CalcDrawInfo).

struct TGridAxisDrawInfo {
    int EffectiveLineWidth = 0;
    // End of the fixed cells (with their lines).
    int FixedBoundary = 0;
    // End of the last cell shown (partly or fully), at most GridExtent.
    int GridBoundary = 0;
    // The client extent.
    int GridExtent = 0;
    int LastFullVisibleCell = 0;
    // End of the last fully shown cell (with its line).
    int FullVisBoundary = 0;
    int FixedCellCount = 0;
    int FirstGridCell = 0;
    int GridCellCount = 0;
    const TGridExtents* Extents = nullptr;
    // Extents and line widths count up to a quarter of the int range: more
    // lies past any client all the same, and a position plus an extent plus
    // a line then stays in range, whatever width code has set.
    static constexpr int MaxExtent = std::numeric_limits<int>::max() / 4;
    int Extent(int i) const { return std::min(Extents->Get(i), MaxExtent); }
};

struct TGridDrawInfo {
    TGridAxisDrawInfo Horz;
    TGridAxisDrawInfo Vert;
};

class TCustomGrid;

// ---------------------------------------------------------------------------
// The in-place editor: a multi-line capable masked edit laid over the current
// cell. It hands the navigation keys to its grid and asks the grid whether a
// key may change the text.

class TInplaceEdit : public TCustomMaskEdit {
public:
    explicit TInplaceEdit(TComponent* AOwner);
    ~TInplaceEdit() override;
    QString ClassName() const override { return QStringLiteral("TInplaceEdit"); }

    TCustomGrid* Grid() const { return FGrid; }
    void SetGrid(TCustomGrid* grid) { FGrid = grid; }

    // Loads the grid's edit text, mask and limit for the current cell and
    // selects the whole text.
    virtual void UpdateContents();
    // Places the editor over `loc` (client coordinates of the grid) and shows it.
    void Move(const TRect& loc);
    void UpdateLoc(const TRect& loc);
    // Hides the editor; the focus goes back to the grid when the editor had it.
    void HideEdit();
    bool EditorVisible() const { return FShown; }
    void Deselect();
    // Caret position (the moving end of the selection).
    int CaretPos() const;
    // Runs the character through the editor as typed: key press hooks, the
    // grid's checks, then the text (mask rules apply).
    void TypeChar(char16_t ch);

    // Text and caret of a multi-line text: line breaks count as "\r\n".
    int SelStart() const override;
    void SetSelStart(int v) override;
    int SelLength() const override;
    void SetSelLength(int v) override;
    void SetSelText(const QString& v) override;
    // Shows every character as this one (0: plain text); the editor is then
    // single-line, as the toolkit's password edit.
    void SetPasswordChar(char16_t v);
    // Setting it makes the window anew (see RecreateWnd).
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    // The edit's formatting rectangle (text inset on every side) in its own
    // coordinates; Right or Bottom not beyond Left or Top means the edge.
    // The text aligns in it by Alignment, single- and multi-line alike.
    TRect EditRect() const { return FEditRect; }
    void SetEditRect(const TRect& r);

    void WndProc(TMessage& Message) override;

protected:
    QWidget* CreateWidget() override;
    void CreateWnd() override;
    QString WidgetText() const override;
    void SetWidgetText(const QString& s) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void DblClick() override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void Change() override;
    // Leaving the editor checks no mask: the grid validates cells itself.
    void DoExit() override;
    // Sets the text inset for the editor's size.
    virtual void UpdateEditRect();
    bool EditCanModify() const;

private:
    void RaiseGridScrollBars();
    friend class TCustomGrid;
    TCustomGrid* FGrid = nullptr;
    bool FShown = false;
    bool FWordWrap = false;
    TRect FEditRect;
};

// ---------------------------------------------------------------------------
// TCustomGrid

class TCustomGrid : public TCustomControl {
public:
    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;
    QString ClassName() const override { return QStringLiteral("TCustomGrid"); }

    // Dimensions.
    int ColCount() const { return FColWidths.Count(); }
    void SetColCount(int v);
    int RowCount() const { return FRowHeights.Count(); }
    void SetRowCount(int v);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int v);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int v);
    int DefaultColWidth() const { return FColWidths.Default(); }
    void SetDefaultColWidth(int v);
    int DefaultRowHeight() const { return FRowHeights.Default(); }
    void SetDefaultRowHeight(int v);
    int ColWidths(int i) const { return FColWidths.Get(i); }
    void SetColWidths(int i, int v);
    int RowHeights(int i) const { return FRowHeights.Get(i); }
    // The heights of the rows at `Rows` (ascending), read in one pass.
    std::vector<int> RowHeightsOf(const std::vector<int>& Rows) const { return FRowHeights.GetSet(Rows); }
    void SetRowHeights(int i, int v);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int v);
    // Whether Tab stops on a column (goTabs).
    bool TabStops(int i) const;
    void SetTabStops(int i, bool v);

    // Scrolling: the top-left scrollable cell and how many scrollable columns
    // and rows show completely (at least 1 while there are any).
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int v);
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int v);
    int VisibleColCount() const;
    int VisibleRowCount() const;
    // Total width and height of the cells shown.
    int GridWidth() const;
    int GridHeight() const;

    // Current cell and selection. The anchor is the other corner of the
    // selection: Shift with the keys moves the current cell, dragging the
    // mouse moves the anchor.
    int Col() const { return FCurrent.X; }
    void SetCol(int v);
    int Row() const { return FCurrent.Y; }
    void SetRow(int v);
    TGridCoord Anchor() const { return FAnchor; }
    TGridRect Selection() const;
    void SetSelection(const TGridRect& r);

    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions v);
    TGridState GridState() const { return FGridState; }
    // Descendants that handle the mouse themselves set the state and the
    // row or column being sized or moved.
    void SetGridState(TGridState v) { FGridState = v; }
    int SizingIndex() const { return FSizingIndex; }
    void SetSizingIndex(int v) { FSizingIndex = v; }
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor v);
    // Off: the grid asks DrawCell for every cell and paints nothing of a cell
    // itself (no background, text, focus frame or fixed-cell edges).
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool v);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle v);

    // Cell geometry in client coordinates; an empty rectangle for a cell not
    // shown. MouseCoord gives -1 for a point outside the cells.
    // A descendant may widen the rectangle (a merged area); every placement
    // of the editor and every repaint of cells goes through it.
    virtual TRect CellRect(int ACol, int ARow) const;
    TGridCoord MouseCoord(int X, int Y) const;
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
    // Scrolls the least so that the cell shows completely.
    virtual void ScrollInView(int ACol, int ARow);

    // The editor.
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool v);
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }

    // The scroll bars' thumb model (0 to GridScrollMax over the scrollable
    // cells); descendants may set range and page for proportional thumbs.
    TGridScrollInfo GetScrollInfo(int bar) const;
    void SetScrollInfo(int bar, const TGridScrollInfo& info);
    int GetScrollPos(int bar) const { return GetScrollInfo(bar).Pos; }
    bool ScrollBarShowing(int bar) const;
    // Shows or hides a bar until the next range update decides again.
    void ShowScrollBar(int bar, bool show);
    // A bar kept shown while everything fits in its direction, then disabled
    // (both arrows); ScrollBars must allow it.
    bool ScrollBarAlways(int bar) const { return FBarAlways[bar == SB_VERT ? SB_VERT : SB_HORZ]; }
    void SetScrollBarAlways(int bar, bool v);
    bool ScrollBarEnabled(int bar) const { return FBarEnabled[bar == SB_VERT ? SB_VERT : SB_HORZ]; }
    QScrollBar* ScrollBarWidget(int bar) const;
    // How both bars look (the flat scroll bar modes): regular, Encarta-like
    // (flat, raised under the mouse) or flat; the track colour (clNone: the
    // system's) and the thickness of the vertical bar and of the horizontal
    // one. Our theme painter paints them in every mode.
    struct TScrollBarLook {
        int Style = 0;
        TColor Color = clNone;
        int Size = ::ScrollBarSize;
        friend bool operator==(const TScrollBarLook&, const TScrollBarLook&) = default;
    };
    static constexpr int sbsRegular = 0;
    static constexpr int sbsEncarta = 1;
    static constexpr int sbsFlat = 2;
    TScrollBarLook ScrollBarLook() const { return FBarLook; }
    void SetScrollBarLook(const TScrollBarLook& look);

    // Repainting of parts.
    // Repainting a block of cells: a descendant may widen it to whole merged
    // areas. A block off screen costs nothing.
    virtual void InvalidateGridRect(const TGridRect& r);
    void InvalidateCell(int ACol, int ARow);
    void InvalidateCol(int ACol);
    void InvalidateRow(int ARow);
    void InvalidateGrid();
    void InvalidateEditor();

    TRect ClientRect() const override;
    void WndProc(TMessage& Message) override;

    // Called by the editor.
    virtual bool CanEditAcceptKey(char16_t Key);
    virtual bool CanEditModify();
    bool IsActiveControl() const;
    void KeyDownFromEditor(WORD& Key, TShiftState Shift) { KeyDown(Key, Shift); }
    void KeyPressFromEditor(char16_t& Key) { KeyPress(Key); }
    void KeyUpFromEditor(WORD& Key, TShiftState Shift) { KeyUp(Key, Shift); }
    void DblClickFromEditor() { DblClick(); }
    bool MouseWheelFromEditor(TShiftState Shift, int WheelDelta, TPoint MousePos)
    {
        return DoMouseWheel(Shift, WheelDelta, MousePos);
    }
    // The editor's text goes to the grid (SetEditText).
    void UpdateText();

    // Moving and deleting rows and columns (store and extents follow).
    virtual void MoveColumn(int FromIndex, int ToIndex);
    virtual void MoveRow(int FromIndex, int ToIndex);
    virtual void DeleteColumn(int ACol);
    virtual void DeleteRow(int ARow);
    // Runs of rows at once, cells, heights, cursor and editor following,
    // without a step per row of the grid: ACount rows come in before ARow (at
    // most RowCount) or leave from ARow; the run at FromIndex goes to start
    // at ToIndex (an index of the rows without the run); the row at First + k
    // becomes the one that was at Order[k] (a sort's result).
    void InsertRows(int ARow, int ACount);
    void DeleteRows(int ARow, int ACount);
    void MoveRows(int FromIndex, int ACount, int ToIndex);
    void PermuteRows(int First, const std::vector<int>& Order);
    // The columns in one pass, as PermuteRows: the column at First + k
    // becomes the one that was at Order[k].
    void PermuteColumns(int First, const std::vector<int>& Order);
    // The two rows trade places, touching no row between them.
    void ExchangeRows(int ARow1, int ARow2);
    // Sets of rows in one pass, without a step per row moved: the rows at
    // Rows (ascending) leave, keeping at least one row; new rows come in so
    // that they end up at Places (ascending). The leaving rows' objects are
    // not freed: a grid that owns them takes them out first.
    void DeleteRowSet(const std::vector<int>& Rows);
    void InsertRowSet(const std::vector<int>& Places);
    // Total height of the rows (width of the columns) from First to Last,
    // lines not counted.
    qint64 RowHeightsSum(int First, int Last) const { return FRowHeights.Sum(First, Last); }
    qint64 ColWidthsSum(int First, int Last) const { return FColWidths.Sum(First, Last); }
    // Adds Step to every column width and row height above 0 that stays
    // above 0, in one pass over the extents set apart from the defaults.
    void GrowExtents(int Step);

protected:
    // Hooks of descendants.
    virtual bool SelectCell(int ACol, int ARow);
    virtual bool CanEditShow();
    virtual bool CanGridAcceptKey(WORD Key, TShiftState Shift);
    virtual QString GetEditText(int ACol, int ARow);
    virtual void SetEditText(int ACol, int ARow, const QString& Value);
    // Esc after a change: the cell gets back what it had when the editor
    // opened (by default the loaded text through SetEditText).
    virtual void RestoreEditText(int ACol, int ARow, const QString& LoadedText);
    virtual QString GetEditMask(int ACol, int ARow);
    virtual int GetEditLimit();
    virtual TInplaceEdit* CreateEditor();
    virtual void ShowEditor();
    virtual void ShowEditorChar(char16_t Ch);
    virtual void HideEditor();
    // Shows, moves or reloads the editor for the current cell as needed.
    virtual void UpdateEditor();
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) = 0;
    virtual void TopLeftChanged();
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    // While true, the scroll range is brought up to date only once it turns
    // false and FlushScrollRange runs (a descendant's update bracket: rows
    // added one by one must not each walk back a screen of rows).
    virtual bool ScrollRangeDeferred() const { return false; }
    void FlushScrollRange();
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    virtual void RowMoved(int FromIndex, int ToIndex);
    // The runs of rows above, for the cells of descendants.
    virtual void RowsInserted(int ARow, int ACount);
    virtual void RowsDeleted(int ARow, int ACount);
    virtual void RowsMoved(int FromIndex, int ACount, int ToIndex);
    virtual void RowsPermuted(int First, const std::vector<int>& Order);
    virtual void ColumnsPermuted(int First, const std::vector<int>& Order);
    // By default the exchange as a permutation of the rows from the first.
    virtual void RowsExchanged(int ARow1, int ARow2);
    virtual void RowSetDeleted(const std::vector<int>& Rows);
    virtual void RowSetInserted(const std::vector<int>& Places);
    virtual void ChangeScale(int M, int D);
    // Dragging a fixed cell to move a column or row: Begin may refuse the
    // drag, Check each target, End the drop.
    virtual bool BeginColumnDrag(int& Origin, int& Destination, TPoint MousePt);
    virtual bool CheckColumnDrag(int& Origin, int& Destination, TPoint MousePt);
    virtual bool EndColumnDrag(int& Origin, int& Destination, TPoint MousePt);
    virtual bool BeginRowDrag(int& Origin, int& Destination, TPoint MousePt);
    virtual bool CheckRowDrag(int& Origin, int& Destination, TPoint MousePt);
    virtual bool EndRowDrag(int& Origin, int& Destination, TPoint MousePt);

    // The toolkit's handling of input.
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void DoEnter() override;
    void DoExit() override;

    void Paint() override;
    QWidget* CreateWidget() override;
    void CreateWnd() override;
    void BoundsChanged(const TRect& oldBounds) override;
    void FontChanged() override;

    // Layout of both axes for the current client size.
    void CalcDrawInfo(TGridDrawInfo& info) const;
    void CalcDrawInfoXY(TGridDrawInfo& info, int UseWidth, int UseHeight) const;
    TGridCoord CalcCoordFromPoint(int X, int Y, const TGridDrawInfo& info) const;
    // The largest top-left that still shows `coord` completely at the bottom
    // right.
    TGridCoord CalcMaxTopLeft(TGridCoord coord, const TGridDrawInfo& info) const;
    // Screen rectangle of a block of cells (only the part shown).
    TRect BoxRect(int ALeft, int ATop, int ARight, int ABottom) const;
    // Right to left the columns run from the right: the layout is made left
    // to right and mirrored here, once, where it meets the screen (cell
    // rectangles, painting, the mouse). Descendants get screen rectangles.
    TRect Mirrored(const TRect& r) const;
    int LogicalX(int X) const;

    // Moving the cursor.
    void FocusCell(int ACol, int ARow, bool MoveAnchor);
    void MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
    void MoveAnchor(TGridCoord NewAnchor);
    void MoveTopLeft(int ALeft, int ATop);
    void ClampInView(TGridCoord coord);
    void SelectionMoved(const TGridRect& OldSel);
    // The top-left moved: scroll bars, repaint and TopLeftChanged.
    void TopLeftMoved(TGridCoord OldTopLeft);
    // Scrolls the painted cells along one axis; false when the whole view
    // must be painted instead.
    bool ScrollPixels(TGridCoord OldTopLeft);
    void UpdateScrollPos();
    void UpdateScrollRange();
    void ModifyScrollBar(int ScrollBar, int ScrollCode, int Pos, bool UseRightToLeft);
    void TimedScroll(bool left, bool right, bool up, bool down);
    void HideEdit();
    void LoadEditor();
    // Esc: the editor and the cell go back to what they had, nothing of the
    // loaded text is written.
    void CancelEdit();
    // The user changed the editor's text.
    void EditTextChanged();
    void Initialize();
    void ChangeSize(int NewColCount, int NewRowCount);

    // Sizing and moving by mouse.
    // Whether the point is on a border that sizes a column or row; a
    // descendant may veto the sizing.
    virtual void CalcSizingState(
        int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs, const TGridDrawInfo& info) const;
    // Where the editor goes for the current cell: after every placement the
    // toolkit makes, a descendant may place it over a whole merged area.
    virtual TRect EditorRect();
    void MoveAndScroll(int Mouse, int CellHit, TGridDrawInfo& info, bool horz, TPoint MousePt);
    // Where the sizing line or the move marker is drawn (client coordinates);
    // -1 when none is shown.
    int SizingLinePos() const { return FGridState == gsColSizing || FGridState == gsRowSizing ? FSizingPos : -1; }
    int MovePos() const { return FMovePos; }
    int MoveIndex() const { return FMoveIndex; }

    // Fills the cells of one area of the grid (see Paint).
    void DrawCells(int ACol, int ARow, int StartX, int StartY, int StopX, int StopY, TColor AColor,
        TGridDrawState IncludeDrawState, const TGridDrawInfo& info, const TRect& updateRect);
    void DrawLines(bool DoHorz, bool DoVert, int StartCol, int StartRow, const TRect& area, TColor color,
        const TGridDrawInfo& info);
    void DrawMoveAndSizing(const TGridDrawInfo& info);

    TInplaceEdit* FInplaceEdit = nullptr;
    int FInplaceCol = -1;
    int FInplaceRow = -1;
    QString FInplaceOriginal;
    bool FInplaceChanged = false;
    int FLoadingEditor = 0;
    bool FEditorMode = false;
    bool FCanEditModify = true;
    // The bars' thickness for this grid: as a member it is the size every
    // placement of the bars in the grid's code (and its descendants') takes.
    int ScrollBarSize = ::ScrollBarSize;

private:
    friend class TInplaceEdit;
    void PlaceScrollBars();
    void ScrollBarAction(int bar, int action);
    void ScrollBarTracked(int bar, int value);
    void ScrollBarReleased(int bar);
    void HandleTimer();
    void HandleScrollMessage(int bar, TMessage& Message);
    TGridAxisDrawInfo AxisInfo(bool horz, int extent) const;
    int LinePos(const TGridAxisDrawInfo& axis, int line) const;
    bool NeedsScroll(bool horz, int extent) const;
    // Rows were added, removed or reordered: the cursor, selection, editor
    // and view follow the new row numbers given by newRow (-1: row gone).
    template <class F> void RowsRenumbered(F newRow, int oldRowCount);
    TGridCoord MaxTopLeft() const;

    TGridExtents FColWidths;
    TGridExtents FRowHeights;
    std::vector<bool> FTabStops;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FGridLineWidth = 1;
    TGridCoord FTopLeft { 1, 1 };
    TGridCoord FCurrent { 1, 1 };
    TGridCoord FAnchor { 1, 1 };
    TGridOptions FOptions;
    TGridState FGridState = gsNormal;
    TColor FFixedColor = clBtnFace;
    bool FDefaultDrawing = true;
    TScrollStyle FScrollBars = ssBoth;
    TGridScrollInfo FScroll[2];
    bool FBarShown[2] = { false, false };
    bool FBarAlways[2] = { false, false };
    bool FBarEnabled[2] = { true, true };
    QScrollBar* FBarWidget[2] = { nullptr, nullptr };
    TScrollBarLook FBarLook;
    // Gives a bar the painter and geometry of FBarLook.
    void StyleScrollBar(QScrollBar* bar);
    int FUpdatingBars = 0;
    bool FTracking[2] = { false, false };
    bool FScrollRangePending = false;

    // Mouse state.
    int FSizingIndex = -1;
    int FSizingPos = 0;
    // The layout of the last CalcDrawInfo and what it was made from: a cell
    // write or a repaint request reuses it while nothing changed.
    struct TDrawInfoKey {
        int Width = -1, Height = -1;
        TGridCoord TopLeft;
        int FixedCols = 0, FixedRows = 0, LineWidth = 0;
        unsigned Lines = 0, ColVersion = 0, RowVersion = 0;
        friend bool operator==(const TDrawInfoKey&, const TDrawInfoKey&) = default;
    };
    mutable TDrawInfoKey FDrawInfoKey;
    // The region being painted, empty outside Paint.
    TRegion FPaintRegion;
    mutable TGridDrawInfo FDrawInfo;
    int FSizingOfs = 0;
    int FMoveIndex = -1;
    int FMovePos = -1;
    TPoint FLastMouse;
    bool FTimerOn = false;
};

// ---------------------------------------------------------------------------
// TDrawGrid: the grid with its events.

using TDrawCellEvent
    = std::function<void(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;
using TSetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, const QString& Value)>;
using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;

class TDrawGrid : public TCustomGrid {
public:
    explicit TDrawGrid(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TDrawGrid"); }

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TGetEditEvent OnGetEditMask;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;
    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;
    TNotifyEvent OnTopLeftChanged;

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    QString GetEditMask(int ACol, int ARow) override;
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString& Value) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    void TopLeftChanged() override;
};

// ---------------------------------------------------------------------------
// TStringGrid: a text and an object per cell.

class TStringGrid : public TDrawGrid {
public:
    explicit TStringGrid(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TStringGrid"); }

    QString Cells(int ACol, int ARow) const { return FStore.Text(ACol, ARow); }
    void SetCells(int ACol, int ARow, const QString& Value);
    TObject* Objects(int ACol, int ARow) const { return FStore.Object(ACol, ARow); }
    void SetObjects(int ACol, int ARow, TObject* Value);
    const TGridCellStore& Store() const { return FStore; }
    // A row's cells out of the grid and back, without copying texts; the
    // grid's rows stay where they are (InsertRows, DeleteRows move them).
    TGridStoredRow TakeRow(int ARow) { return FStore.TakeRow(ARow); }
    void PutRow(int ARow, TGridStoredRow&& Cells);
    // The column's cells leave the store with it.
    void DeleteColumn(int ACol) override;

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString& Value) override;
    void RestoreEditText(int ACol, int ARow, const QString& LoadedText) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    void RowsInserted(int ARow, int ACount) override;
    void RowsDeleted(int ARow, int ACount) override;
    void RowsMoved(int FromIndex, int ACount, int ToIndex) override;
    void RowsPermuted(int First, const std::vector<int>& Order) override;
    void ColumnsPermuted(int First, const std::vector<int>& Order) override;
    void RowsExchanged(int ARow1, int ARow2) override;
    void RowSetDeleted(const std::vector<int>& Rows) override;
    void RowSetInserted(const std::vector<int>& Places) override;
    void SizeChanged(int OldColCount, int OldRowCount) override;
    // For descendants that keep cells beyond ColCount (hidden columns) and
    // move them by their own column numbers.
    TGridCellStore& CellStore() { return FStore; }

private:
    TGridCellStore FStore;
    int FEditUpdate = 0;
    // The stored text of the cell the editor was loaded from.
    QString FEditOriginal;
};
