#pragma once
// Data the string grid keeps beside its cells: a hidden row held outside the
// grid, the filter conditions, the background picture or gradient, and the
// base of objects told about changed cells.

#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Colors.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/Component.h"
#include "platform/runtime/Types.h"

#include <QString>
#include <QtGlobal>
#include <memory>

class TExStringGrid;

// ---------------------------------------------------------------------------
// A hidden row: its real index, height and cells, kept in the grid's hidden
// row store until it is shown again.

class TGridItem : public TCollectionItem {
public:
    explicit TGridItem(TCollection* Collection);
    // Frees the list and the cell properties in its object slots: the row's
    // objects go with it. Whoever puts them back into the grid clears the
    // slots first.
    ~TGridItem() override;

    // One text per storage column (hidden columns included), each with the
    // cell's properties in its object slot.
    TStringList* Items() const { return FItems; }
    // The item owns the given list from now on. The list it replaces is freed
    // with the cell properties that the new list does not hold.
    void SetItems(TStringList* Value);

    // The row's real index, counting hidden rows.
    int Idx = 0;
    // The row's height when it was hidden.
    int Height = 0;
    int Level = 0;

private:
    TStringList* FItems;
};

// ---------------------------------------------------------------------------
// Filter conditions

// How an item's result joins the results of the items before it: foSHORT
// fails at once on a miss, foNONE takes the item's result alone.
enum class TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };
// Which text of the cell is tested: display text, stored text, text without
// tags, value text, or every text of the row (contains, without case).
enum class TFilterCells { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
enum class TFilterMethod { fmExpression, fmLiteral };

class TFilterData : public TCollectionItem {
public:
    explicit TFilterData(TCollection* Collection)
        : TCollectionItem(Collection)
    {
    }

    // Copies everything but Method; nullptr changes nothing and a source of
    // another class raises EInvalidCast.
    void Assign(const TPersistent* Source) override;

    // The storage column tested.
    qint16 Column = 0;
    // An empty condition lets every row pass.
    QString Condition;
    bool CaseSensitive = true;
    // Taken off the end (start) of the cell text before matching when there.
    QString Suffix;
    QString Prefix;
    TFilterOperation Operation = TFilterOperation::foSHORT;
    TFilterCells Data = TFilterCells::fcVirtual;
    TFilterMethod Method = TFilterMethod::fmExpression;
};

// The conditions a row must meet to stay visible while the grid filters.
class TFilter : public TCollection {
public:
    explicit TFilter(TExStringGrid* AOwner);
    TPersistent* Owner() const override;

    // Appends an item joined with foAND, or foNONE when it is the first.
    TFilterData* Add();
    // Appends, whatever the index, keeping foSHORT.
    TFilterData* Insert(int Index);
    TFilterData* Items(int Index) const { return static_cast<TFilterData*>(TCollection::Items(Index)); }
    void SetItems(int Index, const TFilterData* Value) { TCollection::SetItems(Index, Value); }

    // The first item testing the column; one is added when there is none.
    TFilterData* ColumnFilter(int Col);
    bool HasFilter(int Col) const;
    // Deletes every item testing the column and repaints its header cell.
    void RemoveColumnFilter(int Col);

private:
    TExStringGrid* FOwner;
};

// ---------------------------------------------------------------------------
// Background of the cells

enum class TBackGroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum class TBackGroundCells { bcNormal, bcFixed, bcAll };

// A bitmap tiled or placed at (Left, Top), or a gradient from Color to
// ColorTo, behind the normal, the fixed or all cells. Every change repaints
// the whole grid.
class TBackGround : public TPersistent {
public:
    explicit TBackGround(TExStringGrid* AGrid);
    ~TBackGround() override;

    int Top() const { return FTop; }
    void SetTop(int Value);
    int Left() const { return FLeft; }
    void SetLeft(int Value);
    TBackGroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackGroundDisplay Value);
    TBackGroundCells Cells() const { return FBackgroundCells; }
    void SetCells(TBackGroundCells Value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBitmap* Bitmap() const { return FBitmap.get(); }
    // Copies the given bitmap.
    void SetBitmap(const TBitmap* Value);

private:
    template <class T> void Store(T& Field, const T& Value);

    TExStringGrid* FGrid;
    int FTop = 0;
    int FLeft = 0;
    TBackGroundDisplay FDisplay = TBackGroundDisplay::bdTile;
    TBackGroundCells FBackgroundCells = TBackGroundCells::bcNormal;
    TColor FColorTo = clBtnFace;
    TColor FColor = clWindow;
    std::unique_ptr<TBitmap> FBitmap;
};

// ---------------------------------------------------------------------------
// Registered with a grid, it hears of every change of cells after the
// grid's OnCellsChanged, in the order of registration.

class TGridChangeNotifier : public TComponent {
public:
    explicit TGridChangeNotifier(TComponent* AOwner)
        : TComponent(AOwner)
    {
    }
    QString ClassName() const override { return QStringLiteral("TGridChangeNotifier"); }

    // The rectangle of changed cells (columns Left..Right, rows Top..Bottom).
    virtual void CellsChanged(const TRect& R) { (void)R; }
};

// Registered with a grid, it hears of every cell the grid selects.
class ITExStringGridSelect {
public:
    virtual ~ITExStringGridSelect() = default;
    virtual void CellSelected(int ACol, int ARow) = 0;
};
