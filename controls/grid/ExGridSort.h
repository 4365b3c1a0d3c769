#pragma once
// How the string grid sorts and shows its sort state in the header, and the
// short text that stores a sort state and restores it.

#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Colors.h"
#include "platform/runtime/Object.h"

#include <QString>
#include <memory>

class TExStringGrid;

enum class TSortDirection { sdAscending, sdDescending };
enum class TSortBlankPosition { blFirst, blLast };
// The key that, held during a header click, adds the column to the index sort.
enum class TIndexSortKey { ikShift, ikCtrl };

class TSortSettings : public TPersistent {
public:
    explicit TSortSettings(TExStringGrid* AGrid);
    ~TSortSettings() override;

    TExStringGrid* Grid() const { return FGrid; }

    // The sort indicator in the header; a change repaints the grid.
    bool Show() const { return FSortShow; }
    void SetShow(bool Value);
    // The fixed row holding the indicator. Above FixedRows it raises and the
    // old row stays.
    int Row() const { return FSortRow; }
    void SetRow(int Value);

    // The gradient of the sorted column's header cell; clNone keeps the
    // normal look. A change repaints the last fixed row.
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor Value);
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor Value);
    TColor HeaderMirrorColor() const { return FHeaderMirrorColor; }
    void SetHeaderMirrorColor(TColor Value);
    TColor HeaderMirrorColorTo() const { return FHeaderMirrorColorTo; }
    void SetHeaderMirrorColorTo(TColor Value);

    // Indicator pictures for one sort column and for index sorting; the
    // setters copy the bitmap.
    TBitmap* UpGlyph() const { return FSortUpGlyph.get(); }
    void SetUpGlyph(const TBitmap* Value) { FSortUpGlyph->Assign(Value); }
    TBitmap* DownGlyph() const { return FSortDownGlyph.get(); }
    void SetDownGlyph(const TBitmap* Value) { FSortDownGlyph->Assign(Value); }
    TBitmap* IndexUpGlyph() const { return FIndexUpGlyph.get(); }
    void SetIndexUpGlyph(const TBitmap* Value) { FIndexUpGlyph->Assign(Value); }
    TBitmap* IndexDownGlyph() const { return FIndexDownGlyph.get(); }
    void SetIndexDownGlyph(const TBitmap* Value) { FIndexDownGlyph->Assign(Value); }

    void ToggleDirection();
    // No sort column, an empty index list, the indicator row repainted.
    void Remove();

    // "u3" or "d3" for column 3 ascending or descending ("u-1": none); with
    // index sorting "i;" and the index list ("i;u2;d0").
    QString SaveToString() const;
    // Restores such a text and sorts the grid by it. "" changes nothing; any
    // other text shows the indicator; one character raises. A number part
    // that is not a decimal integer, or columns outside the grid, sort nothing.
    void LoadFromString(const QString& Text);

    // Copies the settings as plain fields (no repaint, no check of Row); not
    // IgnoreCase or SortOnVirtualCells. Any other source is ignored.
    void Assign(const TPersistent* Source) override;

    // Several columns from the grid's SortIndexes are in force and shown.
    bool IndexShow = false;
    // Ties fall through to the next column (or the next index entry).
    bool Full = true;
    // A swap moves only the sort column's cells.
    bool SingleColumn = false;
    bool IgnoreBlanks = false;
    TSortBlankPosition BlankPos = TSortBlankPosition::blFirst;
    // Automatic sort style; else alphabetic (without case with IgnoreCase).
    bool AutoFormat = true;
    TSortDirection Direction = TSortDirection::sdAscending;
    // Column 0 keeps its cells when there are fixed columns.
    bool NormalCellsOnly = false;
    // A header click may sort a fixed column.
    bool FixedCols = false;
    // -1: none.
    int Column = -1;
    bool AutoColumnMerge = false;
    TColor IndexColor = clYellow;
    TSortDirection InitSortDirection = TSortDirection::sdAscending;
    // A click back to the first direction restores the unsorted order.
    bool UndoSort = false;
    bool AutoSortForGrouping = true;
    // Compare display texts rather than stored texts.
    bool SortOnVirtualCells = true;
    bool IgnoreCase = false;
    TIndexSortKey IndexSortKey = TIndexSortKey::ikShift;

private:
    void SetHeaderColorField(TColor& Field, TColor Value);
    void RepaintSortRow();
    // Drops the entries of the index list outside the grid; true when some stay.
    bool KeepIndexesInGrid();

    TExStringGrid* FGrid;
    bool FSortShow = false;
    int FSortRow = 0;
    TColor FHeaderColor = clNone;
    TColor FHeaderColorTo = clNone;
    TColor FHeaderMirrorColor = clNone;
    TColor FHeaderMirrorColorTo = clNone;
    std::unique_ptr<TBitmap> FSortUpGlyph;
    std::unique_ptr<TBitmap> FSortDownGlyph;
    std::unique_ptr<TBitmap> FIndexUpGlyph;
    std::unique_ptr<TBitmap> FIndexDownGlyph;
};
