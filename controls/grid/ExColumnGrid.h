#pragma once
// The column grid: a string grid whose columns are described by one item
// each (editor, combo entries, colours, fonts, alignment, borders, print look,
// sort format, spin limits, check-box texts, filter entries, header). The
// items answer every per-cell question first; the string grid's own handling
// and the application's events come after.

#include "controls/grid/ExGrid.h"
#include "platform/runtime/Collection.h"

#include <memory>

class TExColumnGrid;
class TGridColumnCollection;
class TEditLink;
class TPopupMenu;

enum class TColumnPopupType {
    cpFixedCellsRClick,
    cpFixedCellsLClick,
    cpNormalCellsRClick,
    cpNormalCellsLClick,
    cpAllCellsRClick,
    cpAllCellsLClick
};

// A plain stored field with its getter and setter.
#define COLITEM_FIELD(T, Name, Init)                                                                                   \
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
private:                                                                                                               \
    T F##Name = Init;

// The description of one real column (item i belongs to real column i,
// hidden columns included).
class TGridColumnItem : public TCollectionItem {
public:
    using TCellBorders = TExStringGrid::TCellBorders;

    explicit TGridColumnItem(TCollection* Collection);
    ~TGridColumnItem() override;
    QString ClassName() const { return QStringLiteral("TGridColumnItem"); }

    // Copies another item; any other source is ignored. Neither row 0 nor the
    // grid's headers change, nothing is reported.
    void Assign(const TPersistent* Source) override;
    // The look and behaviour of Source for a newly added column: colour and
    // font come from the grid; combo entries, drop-down count, header, name,
    // header font and tag are not taken.
    void AssignVisuals(const TPersistent* Source);
    QString ItemDisplayName() const;

    // The owning grid; none outside a column grid's collection.
    TExColumnGrid* Grid() const;

    // Cells of this column through the grid (row = argument).
    QString Rows(int ARow) const;
    void SetRows(int ARow, const QString& Value);
    int Ints(int ARow) const;
    void SetInts(int ARow, int Value);
    double Floats(int ARow) const;
    void SetFloats(int ARow, double Value);
    TDateTime Dates(int ARow) const;
    void SetDates(int ARow, TDateTime Value);
    TDateTime Times(int ARow) const;
    void SetTimes(int ARow, TDateTime Value);

    // Setters that report the change to the collection.
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* Value) { FFont->Assign(Value); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ShowBands() const { return FShowBands; }
    void SetShowBands(bool Value);
    bool Fixed() const { return FFixed; }
    void SetFixed(bool Value);
    bool Password() const { return FPassword; }
    void SetPassword(bool Value);
    TPen* BorderPen() const { return FBorderPen.get(); }
    void SetBorderPen(const TPen* Value) { FBorderPen->Assign(Value); }
    TCellBorders Borders() const { return FBorders; }
    void SetBorders(TCellBorders Value);
    // Setters that repaint.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TAlignment HeaderAlignment() const { return FHeaderAlignment; }
    void SetHeaderAlignment(TAlignment Value);
    TFont* HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(const TFont* Value);
    QString FloatFormat() const { return FFloatFormat; }
    void SetFloatFormat(const QString& Value);
    TEditorType Editor() const { return FEditor; }
    void SetEditor(TEditorType Value);
    TStringList* Filter() const { return FFilter.get(); }
    void SetFilter(const TStringList* Value) { FFilter->Assign(Value); }
    // Storing only.
    TStringList* ComboItems() const { return FComboItems.get(); }
    void SetComboItems(const TStringList* Value) { FComboItems->Assign(Value); }
    TFont* PrintFont() const { return FPrintFont.get(); }
    void SetPrintFont(const TFont* Value) { FPrintFont->Assign(Value); }
    TPen* PrintBorderPen() const { return FPrintBorderPen.get(); }
    void SetPrintBorderPen(const TPen* Value) { FPrintBorderPen->Assign(Value); }
    // The header text; with fixed rows and no column move it is written to row 0.
    QString Header() const { return FHeader; }
    void SetHeader(const QString& Value);
    // The grid's width of this real column (0 outside a grid).
    int Width() const;
    void SetWidth(int Value);
    int WidthCache() const { return FWidthCache; }
    void SetWidthCache(int Value) { FWidthCache = Value; }
    void SetHeaderDirect(const QString& Value) { FHeader = Value; }

    COLITEM_FIELD(int, AutoMinSize, 0)
    COLITEM_FIELD(int, AutoMaxSize, 0)
    COLITEM_FIELD(QString, CheckFalse, QStringLiteral("N"))
    COLITEM_FIELD(QString, CheckTrue, QStringLiteral("Y"))
    COLITEM_FIELD(TPopupMenu*, ColumnPopup, nullptr)
    COLITEM_FIELD(TColumnPopupType, ColumnPopupType, TColumnPopupType::cpFixedCellsRClick)
    COLITEM_FIELD(int, DropDownCount, 8)
    COLITEM_FIELD(int, EditLength, 0)
    COLITEM_FIELD(TEditLink*, EditLink, nullptr)
    COLITEM_FIELD(QString, EditMask, QString())
    COLITEM_FIELD(bool, FilterCaseSensitive, false)
    COLITEM_FIELD(int, MinSize, 0)
    COLITEM_FIELD(int, MaxSize, 0)
    COLITEM_FIELD(QString, Name, QString())
    COLITEM_FIELD(bool, PrintBorderCustom, true)
    COLITEM_FIELD(TCellBorders, PrintBorders,
        TCellBorders(TCellBorder::cbTop) | TCellBorder::cbLeft | TCellBorder::cbRight | TCellBorder::cbBottom)
    COLITEM_FIELD(TColor, PrintColor, TColor(0xFFFFFF))
    COLITEM_FIELD(bool, PrintFontCustom, true)
    COLITEM_FIELD(bool, ReadOnly, false)
    COLITEM_FIELD(TSortStyle, SortStyle, TSortStyle::ssAutomatic)
    COLITEM_FIELD(QString, SortPrefix, QString())
    COLITEM_FIELD(QString, SortSuffix, QString())
    COLITEM_FIELD(int, SpinMax, 0)
    COLITEM_FIELD(int, SpinMin, 0)
    COLITEM_FIELD(int, SpinStep, 1)
    COLITEM_FIELD(int, Tag, 0)
    // The column's defined index: its position when the grid finished loading.
    COLITEM_FIELD(int, DefIdx, 0)

private:
    void Report();
    void Repaint();
    // Copies what Assign and AssignVisuals share.
    void CopyCommon(const TGridColumnItem* S);

    int FWidthCache = 50;
    TAlignment FAlignment = taLeftJustify;
    TAlignment FHeaderAlignment = taLeftJustify;
    QString FHeader;
    QString FFloatFormat;
    TEditorType FEditor = TEditorType::edNormal;
    TColor FColor = 0;
    bool FFixed = false;
    bool FPassword = false;
    bool FShowBands = false;
    TCellBorders FBorders;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TFont> FPrintFont;
    std::unique_ptr<TFont> FHeaderFont;
    std::unique_ptr<TPen> FBorderPen;
    std::unique_ptr<TPen> FPrintBorderPen;
    std::unique_ptr<TStringList> FComboItems;
    std::unique_ptr<TStringList> FFilter;
};

#undef COLITEM_FIELD

class TGridColumnCollection : public TCollection {
public:
    explicit TGridColumnCollection(TExColumnGrid* AOwner);
    QString ClassName() const { return QStringLiteral("TGridColumnCollection"); }

    // Appends an item that takes the look of the previous last item.
    TGridColumnItem* Add();
    // Inserts an item with plain defaults.
    TGridColumnItem* Insert(int Index);
    TGridColumnItem* GetItem(int Index) const { return static_cast<TGridColumnItem*>(Items(Index)); }
    void SetItem(int Index, const TGridColumnItem* Value) { SetItems(Index, Value); }
    TPersistent* Owner() const override;
    TExColumnGrid* Grid() const { return FOwner; }

    // Set by the grid around its own changes, so they do not feed back into
    // the column count.
    bool FNoRecursiveUpdate = false;

    // Brings the items in step and makes every DefIdx its index.
    void SetOrganization();
    // Moves columns until no item stands after its DefIdx; at most Count
    // passes, so a broken DefIdx set cannot loop.
    void ResetOrganization();

protected:
    void Update(TCollectionItem* Item) override;

private:
    TExColumnGrid* FOwner;
};

class TExColumnGrid : public TExStringGrid {
public:
    explicit TExColumnGrid(TComponent* AOwner);
    ~TExColumnGrid() override;
    QString ClassName() const override { return QStringLiteral("TExColumnGrid"); }

    TGridColumnCollection* Columns() const { return FColumnCollection.get(); }
    void SetColumns(const TGridColumnCollection* Value);
    // Shown columns; the items follow (one per real column).
    void SetColCount(int Value) override;
    TGridColumnItem* GetColumnByName(const QString& AName) const;
    bool ColMoving() const { return FColMoving; }
    bool AutoFilterDisplay() const { return FAutoFilterDisplay; }
    void SetAutoFilterDisplay(bool v) { FAutoFilterDisplay = v; }

    void SyncColumnItems();
    void SyncColumnHeaders();

    // The items as a column stream; loading refuses (EReadError) a stream
    // that holds no column container and then leaves the items as they were.
    // The column count does not change.
    void SaveColumnsToStream(TStream* Stream);
    void LoadColumnsFromStream(TStream* Stream);

    // INI column positions: "CP" + position = the DefIdx standing there.
    void SaveColumnPositions(const QString& Key, const QString& Section);
    // Changes nothing unless every key is there and the values are a
    // permutation of 0 .. Count - 1; never writes the file.
    void LoadColumnPositions(const QString& Key, const QString& Section);

    void InsertCols(int ColIndex, int CCount) override;
    void RemoveCols(int ColIndex, int CCount) override;
    void Group(int Colindex) override;
    void UnGroup() override;
    void SaveColPositions() override;
    void LoadColPositions() override;
    int GetVersionNr() override;
    QString GetVersionString() override;

    std::function<void(TObject* Sender, int ACol, int ARow, TPopupMenu* PopupMenu)> OnColumnPopup;
    std::function<void(TObject* Sender, int FromIndex, int ToIndex)> OnAfterColumnMoved;

    // The item of real column ACol, none beyond the items.
    TGridColumnItem* ItemOf(int ACol) const;

protected:
    virtual std::unique_ptr<TGridColumnCollection> CreateColumnCollection();
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    QString GetFormattedCell(int ACol, int ARow) override;
    QString GetFloatFormat(int ACol, int ARow) override;
    TCellType GetCellType(int ACol, int ARow) override;
    TCellGraphic* GetCellGraphic(int ACol, int ARow) override;
    void UpdateColumnSize(int ACol, int& AWidth) override;
    void UpdateAutoColumnSize(int ACol, int& AWidth) override;
    void UpdateColumnHeaders() override;
    void RecalcFooter() override;
    void GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) override;
    void DoGetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) override;
    void GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) override;
    void DoGetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) override;
    void DoGetAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) override;
    void DoGetFormat(int ACol, TSortStyle& AStyle, QString& APrefix, QString& ASuffix) override;
    void GetEditorType(int ACol, int ARow, TEditorType& AEditor) override;
    void IsFixedCell(int ACol, int ARow, bool& IsFixed) override;
    void CanEditCell(int ACol, int ARow, bool& CanEdit) override;
    void DoIsPasswordCell(int ACol, int ARow, bool& IsPassword) override;
    bool HasComboBox(int ACol, int ARow) override;
    QString GetCheckTrue(int ACol, int ARow) override;
    QString GetCheckFalse(int ACol, int ARow) override;
    bool GetColumnFilterValues(int ACol) override;
    void FilterDropDownSelect(TObject* Sender, int ItemIndex) override;
    QString QueryEditMask(int ACol, int ARow) override;
    int GetEditLimit() override;
    void HandleColWidthsChange() override;
    void HandleChangeScale(int M, int D) override;
    // Moves the items with their column (displayed indexes).
    void ColumnMoved(int FromIndex, int ToIndex) override;
    // The string grid's press, then the column's pop-up menu.
    void HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void ColumnsPermuted(int First, const std::vector<int>& Order) override;

private:
    friend class TGridColumnItem;
    friend class TGridColumnCollection;
    bool IsNormal(int ACol, int ARow) const { return ACol >= FixedCols() && ARow >= FixedRows(); }
    bool IsBody(int ACol, int ARow) const;

    std::unique_ptr<TGridColumnCollection> FColumnCollection;
    std::unique_ptr<TGridColumnItem> FSaveCol;
    std::unique_ptr<TCellGraphic> FColCellGraphic;
    bool FColMoving = false;
    bool FAutoFilterDisplay = false;
};

// The container column streams are written from and read into.
class TExColumnGridIO : public TComponent {
public:
    TExColumnGridIO(TComponent* AOwner, TExColumnGrid* AGrid);
    QString ClassName() const override { return QStringLiteral("TExColumnGridIO"); }
    TGridColumnCollection* Items() const { return FItems.get(); }

private:
    std::unique_ptr<TGridColumnCollection> FItems;
};
