#pragma once
// Small containers of the grid library: an integer list bound to a cell, the
// sort-index list, the list of controls placed on cells, a picture referenced
// by file name, and a string list read and written like a text file.

#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "platform/controls/Messages.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Types.h"

class TCanvas;
class TControl;

// Sender, column, row.
using TImageChangeEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;

// A list of 32-bit integers that knows the cell it belongs to and reports
// additions, deletions and replacements through OnChange.
class TIntList : public TObject {
public:
    TIntList(int ACol, int ARow);

    int Count() const { return int(FItems.size()); }
    // Appends and fires OnChange; returns the new item's index.
    int Add(int Value);
    // Inserts without OnChange (Index may equal Count).
    void Insert(int Index, int Value);
    // Removes and fires OnChange.
    void Delete(int Index);
    // Empties the list without OnChange.
    void Clear() { FItems.clear(); }
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    int IndexOf(int Value) const { return int(FItems.indexOf(Value)); }
    // The items themselves, for edits that move many at once; no OnChange.
    QList<int>& Items() { return FItems; }

    // Both raise EListError outside 0..Count - 1; the setter fires OnChange.
    int GetInteger(int Index) const;
    void SetInteger(int Index, int Value);
    int Integers(int Index) const { return GetInteger(Index); }
    void SetIntegers(int Index, int Value) { SetInteger(Index, Value); }

    void DeleteValue(int Value);
    bool HasValue(int Value) const { return FItems.contains(Value); }

    // "1,2,3". Writing splits the text as comma text and adds every piece
    // (one OnChange each); a piece that is not an integer raises EConvertError
    // and the pieces before it stay.
    QString StrValue() const;
    void SetStrValue(const QString& Value);

    int Col() const { return FCol; }
    int Row() const { return FRow; }

    TImageChangeEvent OnChange;

protected:
    void CheckIndex(int Index) const;
    void Changed();

private:
    QList<int> FItems;
    int FCol;
    int FRow;
};

// Sort keys: the column in bits 0-30, bit 31 set for descending. Text form:
// "u" or "d" and the column, joined by ";" ("u3;d5").
class TSortIndexList : public TIntList {
public:
    TSortIndexList()
        : TIntList(0, 0)
    {
    }
    TSortIndexList(int ACol, int ARow)
        : TIntList(ACol, ARow)
    {
    }

    void AddIndex(int ACol, bool Ascending);
    int FindIndex(int ACol) const;
    void ToggleIndex(int ACol);

    int GetSortColumns(int Index) const;
    void SetSortColumns(int Index, int ACol);
    // True when ascending.
    bool GetSortDirections(int Index) const;
    void SetSortDirections(int Index, bool Ascending);
    int SortColumns(int Index) const { return GetSortColumns(Index); }
    bool SortDirections(int Index) const { return GetSortDirections(Index); }

    // Columns are written as their low 16 bits.
    QString SaveToString() const;
    void LoadFromString(const QString& Text);
};

// A control placed on cell (X, Y); the item does not own the control.
class TControlItem : public TObject {
public:
    TControlItem(int AX, int AY, TControl* AControl)
        : FX(AX)
        , FY(AY)
        , FObject(AControl)
    {
    }

    int X() const { return FX; }
    void SetX(int Value) { FX = Value; }
    int Y() const { return FY; }
    void SetY(int Value) { FY = Value; }
    TControl* Control() const { return FObject; }
    void SetControl(TControl* Value) { FObject = Value; }

private:
    int FX;
    int FY;
    TControl* FObject;
};

// Owns its items, never their controls.
class TControlList : public TObject {
public:
    TControlList() = default;
    ~TControlList() override;

    int Count() const { return int(FItems.size()); }
    void AddControl(int X, int Y, TControl* AControl);
    int ControlIndex(int X, int Y) const;
    // Raises EListError outside 0..Count - 1.
    TControlItem* GetControl(int Index) const;
    // True when an item's control is windowed and has that window handle
    // (asking creates the handle when missing).
    bool HasHandle(HWND Handle) const;
    void RemoveControl(int Index);
    void Clear();

private:
    void CheckIndex(int Index) const;

    std::vector<std::unique_ptr<TControlItem>> FItems;
};

// A picture known by its file name: only its size is kept; drawing loads it again.
class TFilePicture : public TPersistent {
public:
    TFilePicture() = default;

    QString Filename() const { return FFilename; }
    // Loads the file to learn its size; a file that cannot be loaded gives 0 by 0.
    void SetFilename(const QString& Value);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    // Stretch-draws the file into R; nothing when no file name is set or the
    // file cannot be loaded.
    void DrawPicture(TCanvas* Canvas, const TRect& R) const;
    void Assign(const TPersistent* Source) override;

private:
    QString FFilename;
    int FWidth = 0;
    int FHeight = 0;
};

// A string list walked like a text file: ReadLn/Eof from the start after
// Reset, Write/WriteLn to add lines.
class TFileStringList : public TStringList {
public:
    TFileStringList() = default;

    void Reset();
    bool Eof() const { return fp >= Count(); }
    // Reading past the last line raises the string list's index error.
    void ReadLn(QString& S);
    QString ReadLn();
    void Write(const QString& S) { cache += S; }
    void WriteLn(const QString& S);

private:
    int fp = 0;
    QString cache;
};
