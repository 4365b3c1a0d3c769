// Integer, sort-index and file-line lists, and the file picture.

#include "controls/base/ExObj.h"

#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/SysUtils.h"

#include <QStringList>

namespace {

constexpr quint32 kDescending = 0x80000000u;
constexpr quint32 kColumnMask = 0x7FFFFFFFu;

[[noreturn]] void ListIndexError(int Index)
{
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

quint32 Bits(int v)
{
    return static_cast<quint32>(v);
}
int FromBits(quint32 v)
{
    return static_cast<int>(v);
}

} // namespace

// ---------------------------------------------------------------------------
// TIntList

TIntList::TIntList(int ACol, int ARow)
    : FCol(ACol)
    , FRow(ARow)
{
}

void TIntList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
}

void TIntList::Changed()
{
    if (OnChange)
        OnChange(this, FCol, FRow);
}

int TIntList::Add(int Value)
{
    FItems.append(Value);
    Changed();
    return Count() - 1;
}

void TIntList::Insert(int Index, int Value)
{
    if (Index < 0 || Index > Count())
        ListIndexError(Index);
    FItems.insert(Index, Value);
}

void TIntList::Delete(int Index)
{
    CheckIndex(Index);
    FItems.removeAt(Index);
    Changed();
}

void TIntList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    FItems.swapItemsAt(Index1, Index2);
}

void TIntList::Move(int CurIndex, int NewIndex)
{
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    FItems.move(CurIndex, NewIndex);
}

int TIntList::GetInteger(int Index) const
{
    CheckIndex(Index);
    return FItems[Index];
}

void TIntList::SetInteger(int Index, int Value)
{
    CheckIndex(Index);
    FItems[Index] = Value;
    Changed();
}

void TIntList::DeleteValue(int Value)
{
    const int i = IndexOf(Value);
    if (i >= 0)
        Delete(i);
}

QString TIntList::StrValue() const
{
    QStringList parts;
    parts.reserve(Count());
    for (int v : FItems)
        parts.append(QString::number(v));
    return parts.join(QLatin1Char(','));
}

void TIntList::SetStrValue(const QString& Value)
{
    TStringList pieces;
    pieces.SetCommaText(Value);
    FItems.clear();
    for (int i = 0; i < pieces.Count(); ++i)
        Add(StrToInt(pieces.Get(i)));
}

// ---------------------------------------------------------------------------
// TSortIndexList

void TSortIndexList::AddIndex(int ACol, bool Ascending)
{
    quint32 key = Bits(ACol) & kColumnMask;
    if (!Ascending)
        key |= kDescending;
    Add(FromBits(key));
}

int TSortIndexList::FindIndex(int ACol) const
{
    const quint32 col = Bits(ACol) & kColumnMask;
    for (int i = 0; i < Count(); ++i)
        if ((Bits(GetInteger(i)) & kColumnMask) == col)
            return i;
    return -1;
}

void TSortIndexList::ToggleIndex(int ACol)
{
    const int i = FindIndex(ACol);
    if (i >= 0)
        SetInteger(i, FromBits(Bits(GetInteger(i)) ^ kDescending));
}

int TSortIndexList::GetSortColumns(int Index) const
{
    return FromBits(Bits(GetInteger(Index)) & kColumnMask);
}

void TSortIndexList::SetSortColumns(int Index, int ACol)
{
    const quint32 key = Bits(GetInteger(Index));
    SetInteger(Index, FromBits((key & kDescending) | (Bits(ACol) & kColumnMask)));
}

bool TSortIndexList::GetSortDirections(int Index) const
{
    return (Bits(GetInteger(Index)) & kDescending) == 0;
}

void TSortIndexList::SetSortDirections(int Index, bool Ascending)
{
    const quint32 key = Bits(GetInteger(Index));
    SetInteger(Index, FromBits(Ascending ? key & kColumnMask : key | kDescending));
}

QString TSortIndexList::SaveToString() const
{
    QStringList parts;
    parts.reserve(Count());
    for (int i = 0; i < Count(); ++i) {
        const quint32 key = Bits(GetInteger(i));
        parts.append(QLatin1Char((key & kDescending) ? 'd' : 'u') + QString::number(key & 0xFFFFu));
    }
    return parts.join(QLatin1Char(';'));
}

void TSortIndexList::LoadFromString(const QString& Text)
{
    Clear();
    const QStringList pieces = Text.split(QLatin1Char(';'));
    for (const QString& piece : pieces) {
        if (piece.length() < 2)
            continue;
        // Digits from the second character up to the first other one.
        quint64 col = 0;
        for (int i = 1; i < piece.length(); ++i) {
            const QChar c = piece[i];
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                break;
            col = col * 10 + (c.unicode() - '0');
            if (col > kColumnMask) {
                col = kColumnMask;
                break;
            }
        }
        AddIndex(FromBits(quint32(col)), piece[0] == QLatin1Char('u'));
    }
}

// ---------------------------------------------------------------------------
// TFilePicture

void TFilePicture::SetFilename(const QString& Value)
{
    FFilename = Value;
    FWidth = 0;
    FHeight = 0;
    if (Value.isEmpty())
        return;
    // A missing or unreadable file is a picture of no size, not an error.
    try {
        TPicture picture;
        picture.LoadFromFile(Value);
        FWidth = picture.Width();
        FHeight = picture.Height();
    } catch (const Exception&) {
    }
}

void TFilePicture::DrawPicture(TCanvas* Canvas, const TRect& R) const
{
    if (FFilename.isEmpty() || !Canvas)
        return;
    try {
        TPicture picture;
        picture.LoadFromFile(FFilename);
        Canvas->StretchDraw(R, picture.Graphic());
    } catch (const Exception&) {
    }
}

void TFilePicture::Assign(const TPersistent* Source)
{
    if (const auto* other = dynamic_cast<const TFilePicture*>(Source)) {
        FFilename = other->FFilename;
        FWidth = other->FWidth;
        FHeight = other->FHeight;
        return;
    }
    TPersistent::Assign(Source);
}

// ---------------------------------------------------------------------------
// TFileStringList

void TFileStringList::Reset()
{
    fp = 0;
    cache.clear();
}

void TFileStringList::ReadLn(QString& S)
{
    S = Get(fp);
    ++fp;
}

QString TFileStringList::ReadLn()
{
    QString s;
    ReadLn(s);
    return s;
}

void TFileStringList::WriteLn(const QString& S)
{
    Add(cache + S);
    cache.clear();
}
