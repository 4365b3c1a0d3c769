#pragma once
// The string grid: every grid of the program is one. This header declares the
// whole class; its method families live in their own sources (ExGrid*.cpp).

#include "controls/base/BaseGrid.h"
#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/base/ExStyleIF.h"

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

    // Repaints the whole grid.
    void RepaintGrid();
    // Stretches a column (-1: the last) so that all columns fill the client width.
    void ApplyColumnStretch(int ACol);
    virtual void QSort();
    virtual void QSortIndexed();

    // ---- stream form and its save range ----

    // What the file writers report to ExportNotification.
    enum TGridExportState {
        esExportStart,
        esExportNewRow,
        esExportDone,
        esExportSelRow,
        esExportFail,
        esExportNextRow
    };
    using TCellsChangedEvent = std::function<void(TObject* Sender, const TRect& R)>;

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
    // Copies the cells of another string grid through the stream form, this
    // grid's saved cells emptied first; any other source is ignored.
    virtual void AssignCells(const TPersistent* Source);

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
    // Empty: for grids derived from this one.
    virtual void ExportNotification(TGridExportState AState, int ARow);
    virtual void DoCellsChanged(const TRect& R);
    virtual void RecalcFooter();

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
    int FixedFooters() const { return FFixedFooters; }
    void SetFixedFooters(int v);

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
    int FFixedFooters = 0;

public:
    // ---- members the settings objects use ----

    // ---- members the grid's own windows use ----

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
};
