#pragma once
// The cell model under every grid of the library: lazily created per-cell
// properties kept in the cell's object slot, merged areas (a rectangle of
// cells that shows, reads and writes as its top-left base cell), one text
// path (GetCellEx/SetCellEx) with the display-text hooks, and the cell
// painter and navigation that keep the cursor on base cells.

#include <QFlags>
#include <QString>
#include <QVariant>
#include <functional>

#include "controls/base/ExObjOptions.h"
#include "platform/controls/Grids.h"
#include "platform/runtime/Exceptions.h"

class TBaseGrid;
class TExGridUndoRedo;

MORV_DECLARE_EXCEPTION(EExGridError, Exception)

enum class TGridSelectionStyle { ssDefault, ssVista, ssWin7, ssOffice2007 };

enum class THoverRowCell : unsigned { hcNormal = 1, hcFixed = 2, hcSelected = 4 };
Q_DECLARE_FLAGS(THoverRowCells, THoverRowCell)
Q_DECLARE_OPERATORS_FOR_FLAGS(THoverRowCells)

class TIntList;
class TBitmap;
class TIcon;
class TPicture;
class TFilePicture;
class TStrings;
class TCanvas;
enum class TCellShape;

// What a cell shows beside (or instead of) its text; the values are the ones
// stored files and callers know.
enum TCellType {
    ctBitmap,
    ctIcon,
    ctNone,
    ctImageList,
    ctCheckBox,
    ctDataCheckBox,
    ctRotated,
    ctDataImage,
    ctNode,
    ctRadio,
    ctEmpty,
    ctImages,
    ctPicture,
    ctFilePicture,
    ctValue,
    ctProgress,
    ctComment,
    ctButton,
    ctBitButton,
    ctVirtCheckBox,
    ctRowCheckBox,
    ctProgressPie,
    ctSummary,
    ctRangeIndicator,
    ctXPProgress,
    ctInterface,
    ctScrollbar,
    ctRadioButton,
    ctBalloon,
    ctShape,
    ctRating,
    ctTriStateCheckBox,
    ctExpand
};
constexpr int CellTypeCount = int(ctExpand) + 1;

enum TCellHAlign { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TCellVAlign { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
enum class TStretchMode { noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio };
enum TBalloonIcon { biNone, biInfo, biWarning, biError };

// Page size and range of an in-cell scroll bar.
struct TScrollProp {
    int PageSize = 0;
    int Range = 0;
};

// A graphic drawn by an object of the cell's choosing. The grid never owns
// the object behind it.
class IGridCellGraphic {
public:
    virtual ~IGridCellGraphic() = default;
    // Selected: the cell is drawn selected; AGrid is the grid painting.
    virtual void Draw(TCanvas* Canvas, const TRect& R, int ACol, int ARow, bool Selected, TObject* AGrid) = 0;
    // Pixels; 0 takes the cell's size.
    virtual int GetWidth() = 0;
    virtual int GetHeight() = 0;
    // True: drawn beneath the cell's text; false: above it.
    virtual bool IsBackground() = 0;
};

// The one graphic or in-cell control of a cell, kept in its properties. The
// record frees the object it holds when CellCreated is set (the balloon list
// and the image-index list always); the colours of the colour-carrying kinds
// are plain values. A record placed in a cell's properties goes with them.
class TCellGraphic : public TPersistent {
public:
    TCellGraphic() = default;
    ~TCellGraphic() override;
    TCellGraphic(const TCellGraphic&) = delete;
    TCellGraphic& operator=(const TCellGraphic&) = delete;

    // Copies the kind's values and colours, never the object references, the
    // variant or the tri-state; the copy owns nothing (CellCreated cleared).
    void Assign(const TPersistent* Source) override;

    void SetInterfacedCell(TObject* AObject);
    void SetBitmap(TBitmap* ABitmap, bool Transparent, TCellHAlign hal, TCellVAlign val);
    // The size is packed as height << 16 | width (16 bits each).
    void SetButton(int bw, int bh, const QString& Caption, TCellHAlign hal, TCellVAlign val);
    void SetBitButton(int bw, int bh, const QString& Caption, TBitmap* Glyph, TCellHAlign hal, TCellVAlign val);
    void SetPicture(
        TPicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val);
    void SetFilePicture(TFilePicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
        TCellHAlign hal, TCellVAlign val);
    // The size a picture kind takes in W x H (padding taken off); other kinds
    // leave Result as it is.
    void GetPictureSize(int W, int H, bool HasText, TPoint& Result) const;
    TPoint GetPictureSize(int W, int H, bool HasText) const;
    void SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(TCheckBoxState State, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetIcon(TIcon* AIcon, TCellHAlign hal, TCellVAlign val);
    void SetDataImage(int Idx, TCellHAlign hal, TCellVAlign val);
    void SetImageIdx(int Idx, TCellHAlign hal, TCellVAlign val);
    // An owned, empty image-index list for the cell; Dir 0 is horizontal.
    void SetMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val,
        const std::function<void(TObject*, int, int)>& OnChange);
    // Rotated text; the angle is brought into 0..360.
    void SetAngle(short AAngle);

    TCellType CellType() const { return FCellType; }
    void SetCellType(TCellType v) { FCellType = v; }
    TCellVAlign CellVAlign() const { return FCellVAlign; }
    void SetCellVAlign(TCellVAlign v) { FCellVAlign = v; }
    TCellHAlign CellHAlign() const { return FCellHAlign; }
    void SetCellHAlign(TCellHAlign v) { FCellHAlign = v; }
    int CellIndex() const { return FCellIndex; }
    void SetCellIndex(int v) { FCellIndex = v; }
    bool CellTransparent() const { return FCellTransparent; }
    void SetCellTransparent(bool v) { FCellTransparent = v; }
    bool CellCreated() const { return FCellCreated; }
    void SetCellCreated(bool v) { FCellCreated = v; }
    bool CellBoolean() const { return FCellBoolean; }
    void SetCellBoolean(bool v) { FCellBoolean = v; }
    int CellAngle() const { return FCellAngle; }
    void SetCellAngle(int v) { FCellAngle = v; }
    double CellValue() const { return FCellValue; }
    void SetCellValue(double v) { FCellValue = v; }
    int CellErrFrom() const { return FCellErrFrom; }
    void SetCellErrFrom(int v) { FCellErrFrom = v; }
    int CellErrLen() const { return FCellErrLen; }
    void SetCellErrLen(int v) { FCellErrLen = v; }
    QString CellText() const { return FCellText; }
    void SetCellText(const QString& v) { FCellText = v; }
    TCheckBoxState CellCheckBoxState() const { return FCellCheckBoxState; }
    void SetCellCheckBoxState(TCheckBoxState v) { FCellCheckBoxState = v; }
    // The colour-carrying kinds: the first colour (foreground, pie, negative,
    // line or empty colour) and the second (background or positive colour).
    TColor CellColor() const { return FCellColor; }
    void SetCellColor(TColor v) { FCellColor = v; }
    TColor CellColor2() const { return FCellColor2; }
    void SetCellColor2(TColor v) { FCellColor2 = v; }

    // The kind's object (bitmap, picture, list, glyph, interfaced object) and
    // the icon of an icon cell; owned only as the class comment says.
    TObject* CellBitmap = nullptr;
    TObject* CellIcon = nullptr;
    // Expand state of an expand glyph, grouping column of a node, last cycled
    // item of a radio group.
    QVariant CellVar;

    // Frees what the record owns (but Keep) and empties the object slots;
    // the record owns nothing afterwards. Every setter starts here, so a
    // record turned into another kind leaks nothing.
    void ReleaseObjects(const TObject* Keep = nullptr);

private:
    void SetPlaced(TCellType Kind, TCellHAlign hal, TCellVAlign val);
    void SetPictureKind(TCellType Kind, TObject* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
        TCellHAlign hal, TCellVAlign val);

    TCellType FCellType = ctNone;
    TCellVAlign FCellVAlign = vaTop;
    TCellHAlign FCellHAlign = haLeft;
    int FCellIndex = 0;
    bool FCellTransparent = false;
    bool FCellCreated = false;
    bool FCellBoolean = false;
    int FCellAngle = 0;
    double FCellValue = 0;
    int FCellErrFrom = 0;
    int FCellErrLen = 0;
    QString FCellText;
    TCheckBoxState FCellCheckBoxState = cbUnchecked;
    TColor FCellColor = 0;
    TColor FCellColor2 = 0;
};

// ---------------------------------------------------------------------------
// TCellProperties: the look and merge state of one cell.

class TCellProperties : public TPersistent {
public:
    TCellProperties(TBaseGrid* AOwnerGrid, int ACol, int ARow);
    // Frees the graphic object when it is a cell graphic.
    ~TCellProperties() override;
    TCellProperties(const TCellProperties&) = delete;
    TCellProperties& operator=(const TCellProperties&) = delete;

    // Copies the look, merge state, owner cell, user object and control; not
    // the grid, graphic, gradient end or direction, paint pass or calculation.
    void Assign(const TPersistent* Source) override;
    // The base cell of the area holding (ACol, ARow), or the cell itself.
    TPoint GetBaseCell(int ACol, int ARow) const;

    TBaseGrid* OwnerGrid() const { return FOwnerGrid; }
    int OwnerCol() const { return FOwnerCol; }
    void SetOwnerCol(int v) { FOwnerCol = v; }
    int OwnerRow() const { return FOwnerRow; }
    void SetOwnerRow(int v) { FOwnerRow = v; }
    quintptr CellObject() const { return FObject; }
    void SetCellObject(quintptr v) { FObject = v; }
    TObject* GraphicObject() const { return FGraphicObject; }
    TBrushStyle BrushStyle() const { return FBrushStyle; }
    void SetBrushStyle(TBrushStyle v) { FBrushStyle = v; }
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor v);
    TColor BrushColorTo() const { return FBrushColorTo; }
    void SetBrushColorTo(TColor v);
    int FontSize() const { return FFontSize; }
    void SetFontSize(int v) { FFontSize = v; }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor v) { FFontColor = v; }
    TFontStyles FontStyle() const { return FFontStyle; }
    void SetFontStyle(TFontStyles v) { FFontStyle = v; }
    int CellSpanX() const { return FCellSpanX; }
    // A span, or a cell that is no base cell, marks the owner grid as
    // holding merged areas.
    void SetCellSpanX(int v);
    int CellSpanY() const { return FCellSpanY; }
    void SetCellSpanY(int v);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int v) { FBorderWidth = v; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { FBorderColor = v; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v) { FAlignment = v; }
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    bool IsBaseCell() const { return FIsBaseCell; }
    void SetIsBaseCell(bool v);
    TColumnCalcType CalcType() const { return FCalcType; }
    void SetCalcType(TColumnCalcType v) { FCalcType = v; }
    TObject* CalcObject() const { return FCalcObject; }
    void SetCalcObject(TObject* v) { FCalcObject = v; }
    int NodeLevel() const { return FNodeLevel; }
    void SetNodeLevel(int v) { FNodeLevel = v; }
    TEditorType Editor() const { return FEditor; }
    void SetEditor(TEditorType v) { FEditor = v; }
    QString FontName() const { return FFontName; }
    void SetFontName(const QString& v) { FFontName = v; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    TCellGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TCellGradientDirection v) { FGradientDirection = v; }
    TControl* Control() const { return FControl; }
    void SetControl(TControl* v) { FControl = v; }

    // Paint pass in which the merged area was last painted from a covered cell.
    int FPaintID = 0;

private:
    friend class TBaseGrid;
    void RepaintOwnerCell();
    // Part of a merged area: a span, or no base cell.
    bool SpansCells() const { return !FIsBaseCell || FCellSpanX != -1 || FCellSpanY != -1; }
    void NoteSpan();

    TBaseGrid* FOwnerGrid;
    int FOwnerCol;
    int FOwnerRow;
    quintptr FObject = 0;
    TObject* FGraphicObject = nullptr;
    TBrushStyle FBrushStyle = TBrushStyle::bsSolid;
    TColor FBrushColor = clWindow;
    TColor FBrushColorTo = clNone;
    int FFontSize = 8;
    TColor FFontColor = clWindowText;
    TFontStyles FFontStyle;
    int FCellSpanY = -1;
    int FCellSpanX = -1;
    int FBorderWidth = 0;
    TColor FBorderColor = clBlack;
    TAlignment FAlignment = taLeftJustify;
    TVAlignment FVAlignment = TVAlignment::vtaTop;
    bool FWordWrap = true;
    bool FIsBaseCell = true;
    TColumnCalcType FCalcType = TColumnCalcType::acNONE;
    TObject* FCalcObject = nullptr;
    int FNodeLevel = 0;
    TEditorType FEditor = TEditorType::edNormal;
    QString FFontName;
    bool FReadOnly = false;
    TCellGradientDirection FGradientDirection = TCellGradientDirection::GradientVertical;
    TControl* FControl = nullptr;
};

// The toolkit's string grid with object slots; adds nothing.
class TObjStringGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    QString ClassName() const override { return QStringLiteral("TObjStringGrid"); }
};

using TGetDisplTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;

// ---------------------------------------------------------------------------
// TBaseGrid

class TBaseGrid : public TObjStringGrid {
public:
    explicit TBaseGrid(TComponent* AOwner);
    ~TBaseGrid() override;
    QString ClassName() const override { return QStringLiteral("TBaseGrid"); }

    // Text through the base cell and the display hooks; writes go to the base cell.
    QString GetCellEx(int ACol, int ARow);
    void SetCellEx(int ACol, int ARow, const QString& Value);
    // The store's own text and object of exactly that cell.
    QString GetGridCell(int ACol, int ARow) const { return Cells(ACol, ARow); }
    void SetGridCell(int ACol, int ARow, const QString& Value);
    TObject* GetGridObject(int ACol, int ARow) const { return Objects(ACol, ARow); }
    void SetGridObject(int ACol, int ARow, TObject* Value) { SetObjects(ACol, ARow, Value); }

    // Created on first use from the cell's default look; EExGridError outside the grid.
    TCellProperties* GetCellProperties(int ACol, int ARow);
    // Stores the given properties (owned from now on), freeing those there before.
    void SetCellProperties(int ACol, int ARow, TCellProperties* Value);
    bool HasCellProperties(int ACol, int ARow) const { return PropsAt(ACol, ARow) != nullptr; }
    quintptr GetObjectEx(int ACol, int ARow) const;
    void SetObjectEx(int ACol, int ARow, quintptr Value);
    TObject* GetGraphicObjectEx(int ACol, int ARow) const;
    void SetGraphicObjectEx(int ACol, int ARow, TObject* Value);
    static TObject* GraphicObjectOf(const TCellProperties* Props) { return Props ? Props->FGraphicObject : nullptr; }

    // Merged areas.
    virtual void MergeCells(int ACol, int ARow, int ColCount, int RowCount);
    virtual void SplitCells(int ACol, int ARow);
    TPoint BaseCell(int ACol, int ARow) const;
    // True (and the cell itself) for a cell that is its own base cell.
    bool ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const;
    bool IsBaseCell(int ACol, int ARow) const;
    bool IsMergedCell(int ACol, int ARow) const;
    bool IsMergedNonBaseCell(int ACol, int ARow) const;
    bool IsXMergedCell(int ACol, int ARow) const;
    bool IsYMergedCell(int ACol, int ARow) const;
    TPoint CellSpan(int ACol, int ARow) const;
    TPoint CellExt(int ACol, int ARow) const;
    TRect FullCell(int ACol, int ARow) const;
    int MinRowSpan(int ARow) const;
    int MaxRowSpan(int ARow) const;
    // True when both rows (columns) have merged cells and every one lies in
    // the same area in both.
    bool RowSpanIdentical(int Row1, int Row2) const;
    bool ColSpanIdentical(int Col1, int Col2) const;

    // Geometry: a merged cell's rectangle is its whole area. CellRect,
    // VirtualCellRect, RepaintCell and InvalidateGridRect take shown columns
    // (the places on screen); CellSize, like the cell queries above, takes
    // the store's column.
    TRect CellRect(int ACol, int ARow) const override;
    TRect VirtualCellRect(int ACol, int ARow) const;
    TPoint CellSize(int ACol, int ARow) const;
    void RepaintCell(int ACol, int ARow);
    void InvalidateGridRect(const TGridRect& r) override;

    // Freeing and handing over.
    void ClearCellPropertiesRect(int Col1, int Row1, int Col2, int Row2);
    void FreeCellProperties(int ACol, int ARow);
    void ClearColumnCells(int ACol);
    void ClearRowCells(int ARow);
    void ClearCell(int ACol, int ARow);

    // Painting of one cell on any canvas: the whole cell, or its background
    // and lines only.
    void PaintCell(TCanvas* ACanvas, int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    void PaintCellExt(TCanvas* ACanvas, int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    void MoveToBaseCell();

    void DeleteColumn(int ACol) override;

    // Overridable cell model.
    virtual bool IsFixed(int ACol, int ARow) const;
    virtual int GetNodeIndent(int ARow) const;
    virtual bool HasNodes() const;
    virtual void LastRowChanged();
    virtual void DoGetDisplText(int ACol, int ARow, QString& Value);
    virtual void DoGetDisplWideText(int ACol, int ARow, QString& Value);
    virtual void GetCellDrawDefaults(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& ColorTo,
        TColor& MirrorColor, TColor& MirrorColorTo, TAlignment& HAlign, TVAlignment& VAlign, bool& WW,
        TCellGradientDirection& GD);
    virtual void CellTextChanged(int ACol, int ARow);
    virtual bool HasCellBorderEvent() const;
    virtual bool UsesToolkitStyles() const;
    virtual void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select, bool Remap,
        TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA,
        TVAlignment& VA, bool& WW, TCellGradientDirection& GD);
    // Store column to shown column and back; a grid that hides columns maps.
    virtual int DisplColIndex(int ACol) const;
    virtual int RealColIndex(int ACol) const;
    virtual int TotalColCount() const;
    // Updates in progress (BeginUpdate); the grid repaints whole at the end.
    virtual int UpdateCount() const;

    // Properties.
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool v);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int v);
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor v);
    TColor GridFixedLineColor() const { return FGridFixedLineColor; }
    void SetGridFixedLineColor(TColor v);
    TExGridUndoRedo* UndoRedo() const { return FUndoRedo; }
    void SetUndoRedo(TExGridUndoRedo* v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v) { FWordWrap = v; }
    bool ActiveRowShow() const { return FActiveRowShow; }
    void SetActiveRowShow(bool v);
    TColor ActiveRowColor() const { return FActiveRowColor; }
    void SetActiveRowColor(TColor v);
    TColor ActiveRowColorTo() const { return FActiveRowColorTo; }
    void SetActiveRowColorTo(TColor v);
    TColor ActiveRowMirrorColor() const { return FActiveRowMirrorColor; }
    void SetActiveRowMirrorColor(TColor v);
    TColor ActiveRowMirrorColorTo() const { return FActiveRowMirrorColorTo; }
    void SetActiveRowMirrorColorTo(TColor v);
    TGridSelectionStyle SelectionStyle() const { return FSelectionStyle; }
    void SetSelectionStyle(TGridSelectionStyle v);
    bool HoverRow() const { return FHoverRow; }
    void SetHoverRow(bool v) { FHoverRow = v; }
    THoverRowCells HoverRowCells() const { return FHoverRowCells; }
    void SetHoverRowCells(THoverRowCells v) { FHoverRowCells = v; }
    TColor HoverRowColor() const { return FHoverRowColor; }
    void SetHoverRowColor(TColor v) { FHoverRowColor = v; }
    TColor HoverRowColorTo() const { return FHoverRowColorTo; }
    void SetHoverRowColorTo(TColor v) { FHoverRowColorTo = v; }
    bool HasCellProps() const { return FHasCellProps; }
    int MergeCount() const { return FMergeCount; }
    // Whether an area may be merged: set by every span a cell's properties
    // take, cleared only with all cell properties. MergeCount counts calls
    // and can reach 0 or less while areas are merged (splitting a cell that
    // is not merged counts).
    bool HasMergedAreas() const { return FHasMergedAreas; }
    int PaintID() const { return FPaintID; }

    TGetDisplTextEvent OnGetDisplText;
    TGetDisplTextEvent OnGetDisplWideText;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // The toolkit's hooks, each handed to its Handle method.
    void Paint() override;
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString& Value) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void TopLeftChanged() override;
    void ChangeScale(int M, int D) override;
    void SizeChanged(int OldColCount, int OldRowCount) override;
    void RowsDeleted(int ARow, int ACount) override;

    virtual void HandleDrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    virtual bool HandleSelectCell(int ACol, int ARow);
    virtual void HandleKeyDown(WORD& Key, TShiftState Shift);
    virtual QString HandleGetEditText(int ACol, int ARow);
    virtual void HandleSetEditText(int ACol, int ARow, const QString& Value);
    virtual bool HandleMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool HandleMouseWheelUp(TShiftState Shift, TPoint MousePos);
    virtual void HandleTopLeftChanged();
    virtual void HandleChangeScale(int M, int D);

    // The shown cells of the area holding the store's cell (ACol, ARow): its
    // shown columns from left to right, Right < Left when none shows.
    TGridRect ShownArea(int ACol, int ARow) const;
    // Repaints the shown part of the store's cell, its whole area for a
    // merged one.
    void RepaintStoredCell(int ACol, int ARow);
    // New properties take the cell's default look (GetCellDrawDefaults).
    void ApplyDefaultLook(TCellProperties* Props, int ACol, int ARow);
    // The cell painter; background-only mode when !Normal.
    void PaintCellFrame(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState, bool Normal);
    // The content: the cell's text on one line, centred.
    virtual void PaintGridCell(TCanvas* ACanvas, int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    // Right-to-left layout of the grid (the toolkit grid mirrors the columns
    // itself; the painter only nudges its lines and boxes by a pixel).
    virtual bool UseRightToLeftMode() const { return UseRightToLeftAlignment(); }

    int FPaintID = 1;
    bool FHideLastRow = false;
    int FNormalRowCount = 0;
    int FHoverRowIdx = -1;
    bool FShowSel = true;
    bool FHasCellProps = false;
    int FMergeCount = 0;
    bool FHasMergedAreas = false;

private:
    friend class TCellProperties;
    TCellProperties* PropsAt(int ACol, int ARow) const;
    // The slot's properties regardless of the grid's size (store limits only).
    TCellProperties* StoredProps(int ACol, int ARow) const;
    void CheckCell(int ACol, int ARow) const;
    bool InGrid(int ACol, int ARow) const;
    // Frees the properties in the stored cells of the block, sizes ignored.
    void FreeStoredRect(int Col1, int Row1, int Col2, int Row2);
    int StoredColLimit() const;
    void InvalidateAll();

    bool FDefaultDrawing = false;
    int FGridLineWidth = 1;
    TColor FGridLineColor = TColor(0xC0C0C0);
    TColor FGridFixedLineColor = TColor(0x808080);
    TExGridUndoRedo* FUndoRedo = nullptr;
    bool FWordWrap = true;
    bool FActiveRowShow = false;
    TColor FActiveRowColor = clInfoBk;
    TColor FActiveRowColorTo = clNone;
    TColor FActiveRowMirrorColor = clNone;
    TColor FActiveRowMirrorColorTo = clNone;
    TGridSelectionStyle FSelectionStyle = TGridSelectionStyle::ssDefault;
    bool FHoverRow = false;
    THoverRowCells FHoverRowCells = THoverRowCells(THoverRowCell::hcNormal) | THoverRowCell::hcSelected;
    TColor FHoverRowColor = clInfoBk;
    TColor FHoverRowColorTo = clNone;
};
