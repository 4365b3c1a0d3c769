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

    // ---- members the settings objects use ----
    // Used by TFloatingFooter and TDragDropSettings (ExGridOptions):
    // Rows at the bottom kept as footer rows.
    int FixedFooters() const { return FFixedFooters; }
    void SetFixedFooters(int Value);
    // Recalculates the footer value of one column.
    void RecalcFooterColumn(int ACol);

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
