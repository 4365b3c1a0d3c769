// The string grid's sort: cell and row compares in every sort style, and the
// sorts themselves. A sort reads each compared cell once, orders row indexes
// with a stable merge sort and then moves the rows once, as whole blocks.

#include "controls/grid/ExGrid.h"

#include "controls/base/EsgHTMLE.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "controls/grid/ExGridStoredTexts.h"
#include "platform/runtime/SysUtils.h"

#include <QHash>
#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <unordered_map>

namespace {

// What a cell's text says about the automatic style, in one byte.
enum : unsigned char {
    kNumber = 1, // an integer, decimal number or number with exponent
    kDateAt = 2, // the date separator at position 2 or 3 with a digit on each side
    kDateNear = 4, // the date separator at position 2 or 3, not the last character
    kHasDate = 8, // the date separator anywhere
    kTimeAt = 16,
    kTimeNear = 32,
    kHasTime = 64,
    kCheckBox = 128, // a check box cell
};

// Values worked out on first use.
enum : unsigned char {
    kHaveNum = 1,
    kHaveDate = 2,
    kHaveTime = 4,
    kHaveShort = 8,
    kHaveUpper = 16,
    kHaveStripped = 32,
    kHaveCheck = 64,
};

// The separator test of the automatic style: position p (1-based) of Sep with
// 2 <= p <= 3 and p below the length; At also needs a digit on each side.
unsigned char SeparatorFlags(const QString& t, QChar sep, unsigned char at, unsigned char near, unsigned char has)
{
    const int i = t.indexOf(sep);
    if (i < 0)
        return 0;
    unsigned char f = has;
    if (i >= 1 && i <= 2 && i + 1 < t.size()) {
        f |= near;
        if (t[i - 1].isDigit() && t[i + 1].isDigit())
            f |= at;
    }
    return f;
}

// The number at the start of the text, as the standard conversion reads it:
// true when the whole text is one number; Value holds what was read before
// the first character that is not part of it. The character at DecAt (when
// not -1) reads as ".", so that a decimal separator needs no copy of the text.
bool ReadNumber(QStringView t, qsizetype DecAt, double& Value)
{
    const QChar* s = t.constData();
    const int n = int(t.size());
    auto at = [&](int k) { return k == DecAt ? QChar(u'.') : s[k]; };
    auto digit = [&](int k) { return k < n && s[k] >= u'0' && s[k] <= u'9'; };
    int i = 0;
    while (i < n && at(i) == u' ')
        ++i;
    const int start = i;
    if (i < n && (at(i) == u'+' || at(i) == u'-'))
        ++i;
    int digits = 0;
    while (digit(i))
        ++i, ++digits;
    if (i < n && at(i) == u'.') {
        ++i;
        while (digit(i))
            ++i, ++digits;
    }
    if (digits > 0 && i < n && (at(i) == u'e' || at(i) == u'E')) {
        int j = i + 1;
        if (j < n && (at(j) == u'+' || at(j) == u'-'))
            ++j;
        if (digit(j)) {
            while (digit(j))
                ++j;
            i = j;
        }
    }
    Value = 0;
    if (digits > 0) {
        // The characters read are ASCII: convert them without a heap copy
        // unless the number is very long.
        char small[64];
        std::string large;
        const int len = i - start;
        char* buf = small;
        if (len >= int(sizeof small)) {
            large.resize(std::size_t(len) + 1);
            buf = large.data();
        }
        for (int k = 0; k < len; ++k)
            buf[k] = char(at(start + k).unicode());
        AsciiToFloat(std::string_view(buf, std::size_t(len)), Value);
    }
    return digits > 0 && i == n;
}

bool IsCheckBoxType(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox;
}

QString AsciiUpper(const QString& t)
{
    QString u = t;
    for (QChar& c : u)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    return u;
}

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

template <class T> int ThreeWay(const T& a, const T& b)
{
    return a < b ? -1 : b < a ? 1 : 0;
}

// Stable merge sort of row indexes that stays inside the array and keeps
// every index exactly once whatever Less answers.
template <class Less> void StableSortRows(std::vector<int>& v, Less less)
{
    const std::size_t n = v.size();
    constexpr std::size_t run = 16;
    for (std::size_t s = 0; s < n; s += run) {
        const std::size_t e = std::min(n, s + run);
        for (std::size_t i = s + 1; i < e; ++i) {
            const int x = v[i];
            std::size_t j = i;
            while (j > s && less(x, v[j - 1])) {
                v[j] = v[j - 1];
                --j;
            }
            v[j] = x;
        }
    }
    if (n <= run)
        return;
    std::vector<int> buf(n);
    std::vector<int>* from = &v;
    std::vector<int>* to = &buf;
    for (std::size_t w = run; w < n; w *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * w) {
            const std::size_t mid = std::min(n, lo + w), hi = std::min(n, lo + 2 * w);
            std::size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi)
                (*to)[k++] = less((*from)[j], (*from)[i]) ? (*from)[j++] : (*from)[i++];
            while (i < mid)
                (*to)[k++] = (*from)[i++];
            while (j < hi)
                (*to)[k++] = (*from)[j++];
        }
        std::swap(from, to);
    }
    if (from != &v)
        v.swap(buf);
}

} // namespace

// ---------------------------------------------------------------------------
// Compare values

struct TExStringGrid::TSortKeys {
    struct TCell {
        QString Text;
        QString Alt; // upper-cased or stripped text
        double Num = 0, Date = 0, Time = 0, Short = 0;
        unsigned char Flags = 0;
        unsigned char Have = 0;
        bool NumOk = false;
        bool NumEmpty = false;
        bool Checked = false;
        bool Read = false;
    };
    struct TColumn {
        bool Formatted = false;
        TSortStyle Style = TSortStyle::ssAlphabetic;
        QString Prefix, Suffix;
        // Rows First .. First + Count - 1 by slot (0: not read yet), so
        // that only the cells a compare reaches take room.
        std::vector<quint32> Slots;
        std::vector<std::unique_ptr<TCell[]>> Pool; // in chunks, so that cells never move
        quint32 Used = 0;
        std::unordered_map<int, TCell> Other;
    };
    int First = 0;
    int Count = 0;
    // Inside a sort the hidden columns break ties too.
    bool Widened = false;
    std::vector<TColumn> Cols;
};

namespace {
// Holds the compare values while a compare or sort runs; a nested use keeps
// the outer set.
template <class K> struct TKeysScope {
    TKeysScope(K*& Slot, int First, int Count, bool Widened)
        : slot(Slot)
    {
        if (Slot)
            return;
        own = std::make_unique<K>();
        own->First = First;
        own->Count = Count;
        own->Widened = Widened;
        Slot = own.get();
    }
    ~TKeysScope()
    {
        if (own)
            slot = nullptr;
    }
    TKeysScope(const TKeysScope&) = delete;
    TKeysScope& operator=(const TKeysScope&) = delete;
    K*& slot;
    std::unique_ptr<K> own;
};
} // namespace

void TExStringGrid::KeyColumn(int ACol)
{
    TSortKeys& keys = *FSortKeys;
    if (int(keys.Cols.size()) <= ACol)
        keys.Cols.resize(std::size_t(ACol) + 1);
    TSortKeys::TColumn& col = keys.Cols[std::size_t(ACol)];
    if (!col.Formatted) {
        col.Style = FSortSettings->AutoFormat ? TSortStyle::ssAutomatic
            : FSortSettings->IgnoreCase       ? TSortStyle::ssAlphaNoCase
                                              : TSortStyle::ssAlphabetic;
        DoGetFormat(ACol, col.Style, col.Prefix, col.Suffix);
        col.Formatted = true;
    }
}

int TExStringGrid::CompareKeys(int ACol, int ARow1, int ARow2, TSortDirection Direction)
{
    ++Compares;
    TSortKeys& keys = *FSortKeys;
    if (ACol < 0)
        return 0;
    KeyColumn(ACol);
    TSortKeys::TColumn& col = FSortKeys->Cols[std::size_t(ACol)];
    const bool virt = FSortSettings->SortOnVirtualCells;
    auto cell = [&](int r) -> TSortKeys::TCell& {
        TSortKeys::TCell* p = nullptr;
        if (r >= keys.First && r - keys.First < keys.Count) {
            if (col.Slots.empty())
                col.Slots.resize(std::size_t(keys.Count));
            quint32& slot = col.Slots[std::size_t(r - keys.First)];
            constexpr quint32 chunk = 4096;
            if (slot == 0) {
                if (col.Used % chunk == 0)
                    col.Pool.push_back(std::make_unique<TSortKeys::TCell[]>(chunk));
                slot = ++col.Used;
            }
            p = &col.Pool[(slot - 1) / chunk][(slot - 1) % chunk];
        } else {
            p = &col.Other[r];
        }
        TSortKeys::TCell& c = *p;
        if (!c.Read) {
            c.Text = virt ? GetCellEx(ACol, r) : GetGridCell(ACol, r);
            const int cls = c.Text.isEmpty() ? 2 : ClassifyCellNumber(c.Text);
            c.Flags = (cls == 0 || cls == 1 || cls == 5) ? kNumber : 0;
            c.Flags |= SeparatorFlags(c.Text, FormatSettings.DateSeparator, kDateAt, kDateNear, kHasDate);
            c.Flags |= SeparatorFlags(c.Text, FormatSettings.TimeSeparator, kTimeAt, kTimeNear, kHasTime);
            if (HasCellProps() && IsCheckBoxType(GetCellType(ACol, r)))
                c.Flags |= kCheckBox;
            c.Read = true;
        }
        return c;
    };
    TSortKeys::TCell& a = cell(ARow1);
    TSortKeys::TCell& b = cell(ARow2);

    const TSortStyle textStyle = FSortSettings->IgnoreCase ? TSortStyle::ssAlphaNoCase : TSortStyle::ssAlphabetic;
    TSortStyle style = col.Style;
    // Automatic: from the first cell, the date and time tests also from the second.
    if (style == TSortStyle::ssAutomatic) {
        if (a.Flags & kCheckBox) {
            style = TSortStyle::ssCheckBox;
        } else if (a.Flags & kNumber) {
            style = TSortStyle::ssNumeric;
        } else {
            style = textStyle;
            if (a.Flags & kDateNear) {
                if ((a.Flags & kDateAt) && (b.Flags & kHasDate))
                    style = (a.Flags & kHasTime) ? TSortStyle::ssDateTime : TSortStyle::ssDate;
            } else if ((a.Flags & kTimeAt) && (b.Flags & kHasTime)) {
                style = TSortStyle::ssTime;
            }
        }
    }
    if (style == TSortStyle::ssAlphaNumeric || style == TSortStyle::ssAlphaNumericNoCase) {
        const bool noCase = style == TSortStyle::ssAlphaNumericNoCase;
        style = (a.Flags & kNumber) && (b.Flags & kNumber) ? TSortStyle::ssNumeric
            : noCase                                       ? TSortStyle::ssAlphaNoCase
                                                           : TSortStyle::ssAlphabetic;
    }

    bool empty1 = a.Text.isEmpty(), empty2 = b.Text.isEmpty();
    int res = 1;
    switch (style) {
    case TSortStyle::ssAlphabetic:
    case TSortStyle::ssAlphaCase:
        res = Sign(QString::compare(a.Text, b.Text));
        break;
    case TSortStyle::ssAlphaNoCase:
    case TSortStyle::ssAnsiAlphaNoCase:
        for (TSortKeys::TCell* c : { &a, &b })
            if (!(c->Have & kHaveUpper)) {
                c->Alt = style == TSortStyle::ssAlphaNoCase ? AsciiUpper(c->Text) : c->Text.toUpper();
                c->Have |= kHaveUpper;
            }
        res = style == TSortStyle::ssAlphaNoCase ? Sign(QString::compare(a.Alt, b.Alt))
                                                 : Sign(QString::localeAwareCompare(a.Alt, b.Alt));
        break;
    case TSortStyle::ssAnsiAlphaCase:
        res = Sign(QString::localeAwareCompare(a.Text, b.Text));
        break;
    case TSortStyle::ssHTML:
        for (TSortKeys::TCell* c : { &a, &b })
            if (!(c->Have & kHaveStripped)) {
                c->Alt = StripHTMLTags(c->Text);
                c->Have |= kHaveStripped;
            }
        res = Sign(QString::compare(a.Alt, b.Alt));
        empty1 = a.Alt.isEmpty();
        empty2 = b.Alt.isEmpty();
        break;
    case TSortStyle::ssNumeric:
    case TSortStyle::ssFinancial: {
        const bool financial = col.Style == TSortStyle::ssFinancial;
        auto number = [&](TSortKeys::TCell& c, int r) {
            if (c.Have & kHaveNum)
                return;
            QString t = c.Text;
            if (!col.Suffix.isEmpty()) {
                const int i = t.indexOf(col.Suffix);
                if (i >= 0)
                    t.remove(i, col.Suffix.size());
            }
            if (!col.Prefix.isEmpty()) {
                const int i = t.indexOf(col.Prefix);
                if (i >= 0)
                    t.remove(i, col.Prefix.size());
            }
            if (financial)
                t.remove(FormatSettings.ThousandSeparator);
            if (FormatSettings.DecimalSeparator != u'.') {
                const int i = t.indexOf(FormatSettings.DecimalSeparator);
                if (i >= 0)
                    t[i] = u'.';
            }
            c.NumEmpty = t.isEmpty();
            c.NumOk = ReadNumber(t, -1, c.Num);
            if (!c.NumOk && (virt ? c.Text : GetCellEx(ACol, r)).isEmpty()) {
                c.Num = 0;
                c.NumOk = true;
            }
            c.Have |= kHaveNum;
        };
        number(a, ARow1);
        number(b, ARow2);
        res = !a.NumOk && !b.NumOk ? 0 : ThreeWay(a.Num, b.Num);
        empty1 = a.NumEmpty;
        empty2 = b.NumEmpty;
        break;
    }
    case TSortStyle::ssDate:
    case TSortStyle::ssDateTime:
        for (TSortKeys::TCell* c : { &a, &b })
            if (!(c->Have & kHaveDate)) {
                TDateTime d = 0;
                c->Date = !c->Text.isEmpty() && TryStrToDateTime(c->Text, d) ? double(d) : 0.0;
                c->Have |= kHaveDate;
            }
        res = ThreeWay(a.Date, b.Date);
        break;
    case TSortStyle::ssTime:
        for (TSortKeys::TCell* c : { &a, &b })
            if (!(c->Have & kHaveTime)) {
                TDateTime d = 0;
                c->Time = TryStrToTime(c->Text, d) ? double(d) : 0.0;
                c->Have |= kHaveTime;
            }
        res = ThreeWay(a.Time, b.Time);
        break;
    case TSortStyle::ssShortDateEU:
    case TSortStyle::ssShortDateUS:
        for (TSortKeys::TCell* c : { &a, &b })
            if (!(c->Have & kHaveShort)) {
                c->Short = double(
                    style == TSortStyle::ssShortDateEU ? ParseShortDateEU(c->Text) : ParseShortDateUS(c->Text));
                c->Have |= kHaveShort;
            }
        res = ThreeWay(a.Short, b.Short);
        break;
    case TSortStyle::ssCheckBox: {
        auto check = [&](TSortKeys::TCell& c, int r) {
            if (!(c.Have & kHaveCheck)) {
                // A check box drawn from its record keeps its state there;
                // a data check box shows its cell's text.
                const TCellType t = GetCellType(ACol, r);
                const TCellGraphic* g = t != ctDataCheckBox && IsCheckBoxType(t) ? GetCellGraphic(ACol, r) : nullptr;
                c.Checked = g ? g->CellBoolean() : GetGridCell(ACol, r) == GetCheckTrue(ACol, r);
                c.Have |= kHaveCheck;
            }
        };
        check(a, ARow1);
        check(b, ARow2);
        res = ThreeWay(int(a.Checked), int(b.Checked));
        break;
    }
    case TSortStyle::ssImages:
        res = ThreeWay(CellImageSortValue(ACol, ARow1), CellImageSortValue(ACol, ARow2));
        break;
    case TSortStyle::ssCustom:
        res = 0;
        if (OnCustomCompare)
            OnCustomCompare(this, a.Text, b.Text, res);
        break;
    case TSortStyle::ssRaw:
        res = 0;
        if (OnRawCompare)
            OnRawCompare(this, ACol, ARow1, ARow2, res);
        break;
    default:
        break;
    }

    if (FSortSettings->IgnoreBlanks && empty1 != empty2) {
        const bool blanksFirst
            = (FSortSettings->BlankPos == TSortBlankPosition::blFirst) == (Direction == TSortDirection::sdAscending);
        res = empty1 == blanksFirst ? -1 : 1;
    }
    return res;
}

int TExStringGrid::CompareCellsInColumn(int ACol, int ARow1, int ARow2, TSortDirection Direction)
{
    TKeysScope scope(FSortKeys, 0, 0, false);
    return CompareKeys(ACol, ARow1, ARow2, Direction);
}

int TExStringGrid::CompareRowsFull(int ACol, int ARow1, int ARow2)
{
    TKeysScope scope(FSortKeys, 0, 0, false);
    const int last = (FSortKeys->Widened ? TotalColCount() : ColCount()) - 1;
    for (;; ++ACol) {
        const int res
            = FIgnoreColumns->IndexOf(ACol) >= 0 ? 0 : CompareKeys(ACol, ARow1, ARow2, FSortSettings->Direction);
        if (res != 0 || !FSortSettings->Full || ACol >= last)
            return res;
    }
}

int TExStringGrid::CompareRowsIndexed(int Index, int ARow1, int ARow2)
{
    TKeysScope scope(FSortKeys, 0, 0, false);
    for (int i = Index; i >= 0 && i < FSortIndexes->Count(); ++i) {
        const quint32 e = quint32(FSortIndexes->Integers(i));
        const int col = int(e & 0x7FFFFFFFu);
        const bool desc = (e & 0x80000000u) != 0;
        const int res = FIgnoreColumns->IndexOf(col) >= 0
            ? 0
            : CompareKeys(col, ARow1, ARow2, desc ? TSortDirection::sdDescending : TSortDirection::sdAscending);
        if (res == 0 && FSortSettings->Full)
            continue;
        return desc ? -res : res;
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Ordering and moving rows

bool TExStringGrid::SortPlainColumn(std::vector<int>& Order, int Left, int ACol)
{
    // A column whose every cell is a plain number, or whose cells leave the
    // automatic style no choice but text, is sorted on one array of keys
    // read once per row, giving the cell compare's order. With Full the rows
    // that tie are then sorted the same way on the next column, which is
    // read for those rows only.
    struct TNumKey {
        double Num;
        int Row;
    };
    // A text's first eight UTF-16 units after the prefix every text of the
    // rows shares, high first and zeros after its end: ordered as the texts
    // are wherever they differ there, so most compares never reach the
    // texts themselves.
    struct TTextKey {
        quint64 Head, Next;
        const QString* Text;
        int Row;
    };
    // One column's keys for a run of rows; a level's buffers serve every run
    // of that level in turn.
    struct TLevel {
        std::vector<TNumKey> Nums;
        std::vector<TTextKey> Texts;
        std::vector<QString> Owned; // texts read through a display hook
    };
    enum { kNumbers = 1, kTexts = 2, kOther = 3 };

    const int n = int(Order.size());
    const int last = TotalColCount() - 1;
    if (ACol < 0 || ACol > last || FIgnoreColumns->HasValue(ACol))
        return false;
    const bool full = FSortSettings->Full;
    const bool blanks = FSortSettings->IgnoreBlanks;
    const TSortDirection dir = FSortSettings->Direction;
    const bool blanksFirst
        = (FSortSettings->BlankPos == TSortBlankPosition::blFirst) == (dir == TSortDirection::sdAscending);
    const bool virt = FSortSettings->SortOnVirtualCells;
    // Texts are read where the store keeps them whenever the displayed text
    // is the stored one: no copy, no reference count written.
    const bool inPlace = !virt || ShowsStoredTexts(*this);
    const QChar dec = FormatSettings.DecimalSeparator;
    const QChar dateSep = FormatSettings.DateSeparator, timeSep = FormatSettings.TimeSeparator;
    int compares = 0;

    auto compareTexts = [&](const TTextKey& a, const TTextKey& b) {
        if (blanks && a.Text->isEmpty() != b.Text->isEmpty())
            return a.Text->isEmpty() == blanksFirst ? -1 : 1;
        if (a.Head != b.Head)
            return a.Head < b.Head ? -1 : 1;
        if (a.Next != b.Next)
            return a.Next < b.Next ? -1 : 1;
        return Sign(QString::compare(*a.Text, *b.Text));
    };
    auto sameText = [](const TTextKey& a, const TTextKey& b) {
        return a.Head == b.Head && a.Next == b.Next && *a.Text == *b.Text;
    };

    // Sequential: rows are the displayed rows in order, so the store can
    // load the cells a little ahead of the walk.
    auto readKeys = [&](int c, const int* rows, int m, TLevel& L, bool Sequential) {
        KeyColumn(c);
        const TSortKeys::TColumn& col = FSortKeys->Cols[std::size_t(c)];
        const bool automatic = col.Style == TSortStyle::ssAutomatic;
        const bool textStyle = col.Style == TSortStyle::ssAlphabetic || col.Style == TSortStyle::ssAlphaCase
            || (automatic && !FSortSettings->IgnoreCase);
        if (!automatic && !textStyle)
            return kOther;
        bool allNumbers = automatic && col.Prefix.isEmpty() && col.Suffix.isEmpty();
        bool allText = textStyle;
        const bool checks = automatic && HasCellProps();
        if (allNumbers)
            L.Nums.resize(std::size_t(m));
        if (allText)
            L.Texts.resize(std::size_t(m));
        if (!inPlace)
            L.Owned.resize(std::size_t(m));
        for (int k = 0; k < m && (allNumbers || allText); ++k) {
            const int row = rows[k];
            if (Sequential)
                Store().PrefetchColumn(c, row);
            const QString* t = &Store().Text(c, row);
            if (!inPlace) {
                L.Owned[std::size_t(k)] = GetCellEx(c, row);
                t = &L.Owned[std::size_t(k)];
            }
            if (checks && IsCheckBoxType(GetCellType(c, row)))
                return kOther;
            const bool number = !t->isEmpty() && [&] {
                const int cls = ClassifyCellNumber(*t);
                return cls == 0 || cls == 1 || cls == 5;
            }();
            if (automatic && allText
                && (number || (SeparatorFlags(*t, dateSep, kDateAt, kDateNear, kHasDate) & kDateNear)
                    || (SeparatorFlags(*t, timeSep, kTimeAt, kTimeNear, kHasTime) & kTimeAt)))
                allText = false;
            if (allNumbers) {
                double v = 0;
                if (number && ReadNumber(*t, dec != u'.' ? t->indexOf(dec) : -1, v))
                    L.Nums[std::size_t(k)] = { v, row };
                else
                    allNumbers = false;
            }
            if (allText)
                L.Texts[std::size_t(k)] = { 0, 0, t, row };
        }
        if (allNumbers)
            return kNumbers;
        if (!allText)
            return kOther;
        return kTexts;
    };

    // The texts' keys; read texts sort by them.
    auto keyTexts = [&](TLevel& L, int m) {
        // The prefix the non-empty texts share decides nothing: the keys
        // start after it.
        qsizetype shared = -1;
        const QString* first = nullptr;
        for (int k = 0; k < m && shared != 0; ++k) {
            const QString& t = *L.Texts[std::size_t(k)].Text;
            if (t.isEmpty())
                continue;
            if (!first) {
                first = &t;
                shared = t.size();
                continue;
            }
            const qsizetype lim = std::min(shared, t.size());
            const QChar *a = first->constData(), *b = t.constData();
            qsizetype i = 0;
            while (i < lim && a[i] == b[i])
                ++i;
            shared = i;
        }
        shared = std::max<qsizetype>(shared, 0);
        for (int k = 0; k < m; ++k) {
            TTextKey& key = L.Texts[std::size_t(k)];
            const QChar* s = key.Text->constData();
            const qsizetype size = key.Text->size();
            auto unit = [&](qsizetype i) { return i < size ? quint64(s[i].unicode()) : 0u; };
            key.Head = unit(shared) << 48 | unit(shared + 1) << 32 | unit(shared + 2) << 16 | unit(shared + 3);
            key.Next = unit(shared + 4) << 48 | unit(shared + 5) << 32 | unit(shared + 6) << 16 | unit(shared + 7);
        }
    };

    // The cell compare from column c on, for columns the keys cannot take.
    auto compareFrom = [&](int c, int x, int y) {
        for (; c <= last; ++c) {
            const int res = FIgnoreColumns->HasValue(c) ? 0 : CompareKeys(c, x, y, dir);
            if (res != 0 || !full)
                return res;
        }
        return 0;
    };

    std::vector<TLevel> levels(std::size_t(last - ACol + 1));
    const bool keyStoredAlways = !virt || inPlace;
    bool keyStored = keyStoredAlways;
    std::vector<int> starts; // the runs of equal texts of the sorted column

    // Sorts rows[0 .. m - 1] on column c and, with Full, each run of ties on
    // the columns after it.
    std::function<void(int*, int, int, int)> sortRows;
    // The keys of the column after the sorted one for every row (by offset
    // from Left), read in one walk down the rows when most rows tie: reading
    // them for the tied rows only, scattered, then costs more than reading
    // them all in order. 0 while not read.
    int denseState = 0;
    TLevel dense;
    auto prepareDense = [&](int Tied) {
        const int c = ACol + 1;
        if (Tied < n / 4 || c > last || FIgnoreColumns->HasValue(c))
            return;
        std::vector<int> seq(static_cast<std::size_t>(n));
        for (int k = 0; k < n; ++k)
            seq[std::size_t(k)] = Left + k;
        denseState = readKeys(c, seq.data(), n, dense, true);
        if (denseState == kOther)
            denseState = 0;
        else if (denseState == kTexts)
            keyTexts(dense, n);
    };
    // The sorted column, when it has few distinct texts (a group column),
    // goes into one run per text in the order of the texts, each run keeping
    // its rows' order, which is what the stable sort gives: linear, where a
    // sort of every row is not. Only the rows of one text are left to sort,
    // on the later columns.
    auto rankRuns = [&](int* rows, int m, const std::vector<TTextKey>& keys) {
        if (m < 64)
            return false;
        QHash<QString, int> ids;
        std::vector<int> id(static_cast<std::size_t>(m));
        std::vector<int> firsts; // a key of each distinct text
        for (int k = 0; k < m; ++k) {
            const QString& t = *keys[std::size_t(k)].Text;
            auto it = ids.constFind(t);
            if (it == ids.constEnd()) {
                // Mostly distinct texts gain nothing: stop early.
                if (int(firsts.size()) >= m / 8 || (k < 4096 && m >= 32768 && firsts.size() >= 2048))
                    return false;
                it = ids.insert(t, int(firsts.size()));
                firsts.push_back(k);
            }
            id[std::size_t(k)] = it.value();
        }
        const int count = int(firsts.size());
        std::vector<int> byText(firsts.size());
        for (int i = 0; i < count; ++i)
            byText[std::size_t(i)] = i;
        std::sort(byText.begin(), byText.end(), [&](int a, int b) {
            return compareTexts(keys[std::size_t(firsts[std::size_t(a)])], keys[std::size_t(firsts[std::size_t(b)])])
                < 0;
        });
        std::vector<int> run(firsts.size());
        for (int i = 0; i < count; ++i)
            run[std::size_t(byText[std::size_t(i)])] = SortDir == 1 ? i : count - 1 - i;
        std::vector<int> start(std::size_t(count) + 1, 0);
        for (int k = 0; k < m; ++k)
            ++start[std::size_t(run[std::size_t(id[std::size_t(k)])]) + 1];
        for (std::size_t b = 1; b < start.size(); ++b)
            start[b] += start[b - 1];
        std::vector<int> next(start.begin(), start.end() - 1);
        for (int k = 0; k < m; ++k)
            rows[next[std::size_t(run[std::size_t(id[std::size_t(k)])])]++] = keys[std::size_t(k)].Row;
        starts.assign(start.begin(), start.end() - 1);
        if (!full || ACol >= last)
            return true;
        int tied = 0;
        for (int b = 0; b < count; ++b)
            if (const int len = start[std::size_t(b) + 1] - start[std::size_t(b)]; len > 1)
                tied += len;
        prepareDense(tied);
        for (int b = 0; b < count; ++b)
            if (const int len = start[std::size_t(b) + 1] - start[std::size_t(b)]; len > 1)
                sortRows(rows + start[std::size_t(b)], len, ACol + 1, 0);
        return true;
    };
    // Known is the state of keys already read.
    sortRows = [&](int* rows, int m, int c, int Known) {
        while (c <= last && FIgnoreColumns->HasValue(c))
            ++c;
        if (c > last || m < 2)
            return;
        TLevel& L = levels[std::size_t(c - ACol)];
        int state = Known;
        if (!state && denseState && c == ACol + 1) {
            state = denseState;
            if (state == kNumbers) {
                L.Nums.resize(std::size_t(m));
                for (int k = 0; k < m; ++k)
                    L.Nums[std::size_t(k)] = dense.Nums[std::size_t(rows[k] - Left)];
            } else {
                L.Texts.resize(std::size_t(m));
                for (int k = 0; k < m; ++k)
                    L.Texts[std::size_t(k)] = dense.Texts[std::size_t(rows[k] - Left)];
            }
        } else if (!state) {
            state = readKeys(c, rows, m, L, false);
            if (state == kTexts)
                keyTexts(L, m);
        }
        if (state == kOther) {
            std::vector<int> v(rows, rows + m);
            StableSortRows(v, [&](int x, int y) { return compareFrom(c, y, x) == SortDir; });
            std::copy(v.begin(), v.end(), rows);
            return;
        }
        const bool up = SortDir == 1;
        if (state == kNumbers) {
            auto& keys = L.Nums;
            if (up)
                std::stable_sort(keys.begin(), keys.end(), [&](const TNumKey& a, const TNumKey& b) {
                    ++compares;
                    return a.Num < b.Num;
                });
            else
                std::stable_sort(keys.begin(), keys.end(), [&](const TNumKey& a, const TNumKey& b) {
                    ++compares;
                    return b.Num < a.Num;
                });
            for (int k = 0; k < m; ++k)
                rows[k] = keys[std::size_t(k)].Row;
            if (!full || c >= last)
                return;
            if (c == ACol) {
                int tied = 0;
                for (int k = 1; k < m; ++k)
                    if (keys[std::size_t(k)].Num == keys[std::size_t(k - 1)].Num)
                        tied += k == 1 || keys[std::size_t(k - 1)].Num != keys[std::size_t(k - 2)].Num ? 2 : 1;
                prepareDense(tied);
            }
            for (int k = 0; k < m;) {
                int e = k + 1;
                while (e < m && keys[std::size_t(e)].Num == keys[std::size_t(k)].Num)
                    ++e;
                if (e - k > 1)
                    sortRows(rows + k, e - k, c + 1, 0);
                k = e;
            }
            return;
        }
        auto& keys = L.Texts;
        if (c == ACol && !keyStoredAlways)
            for (int k = 0; k < m && keyStored; ++k) {
                const QString& stored = Store().Text(c, rows[k]);
                keyStored = keys[std::size_t(k)].Text->constData() == stored.constData()
                    || *keys[std::size_t(k)].Text == stored;
            }
        if (c == ACol && rankRuns(rows, m, keys))
            return;
        if (c == ACol)
            keyTexts(L, m);
        if (up)
            std::stable_sort(keys.begin(), keys.end(), [&](const TTextKey& a, const TTextKey& b) {
                ++compares;
                return compareTexts(a, b) < 0;
            });
        else
            std::stable_sort(keys.begin(), keys.end(), [&](const TTextKey& a, const TTextKey& b) {
                ++compares;
                return compareTexts(b, a) < 0;
            });
        for (int k = 0; k < m; ++k)
            rows[k] = keys[std::size_t(k)].Row;
        const bool runs = c == ACol;
        if (!runs && (!full || c >= last))
            return;
        if (runs && full && c < last) {
            int tied = 0;
            for (int k = 1; k < m; ++k)
                if (sameText(keys[std::size_t(k)], keys[std::size_t(k - 1)]))
                    tied += k == 1 || !sameText(keys[std::size_t(k - 1)], keys[std::size_t(k - 2)]) ? 2 : 1;
            prepareDense(tied);
        }
        for (int k = 0; k < m;) {
            int e = k + 1;
            while (e < m && sameText(keys[std::size_t(e)], keys[std::size_t(k)]))
                ++e;
            if (runs)
                starts.push_back(k);
            if (e - k > 1 && full && c < last)
                sortRows(rows + k, e - k, c + 1, 0);
            k = e;
        }
    };

    const int state = readKeys(ACol, Order.data(), n, levels[0], true);
    if (state == kOther)
        return false;
    sortRows(Order.data(), n, ACol, state);
    Compares += compares;
    // Each text's rows now lie together: the grouping that asked for this
    // sort finds its groups here instead of reading every text again.
    if (keyStored && FIsGrouping && !starts.empty()) {
        FSortRuns.Col = ACol;
        FSortRuns.Left = Left;
        FSortRuns.Count = n;
        FSortRuns.Starts = std::move(starts);
    }
    return true;
}

void TExStringGrid::SortRange(int Left, int Right, bool Indexed, int ACol)
{
    FSortRuns = {};
    if (Left < 0 || Right >= RowCount() || Right <= Left)
        return;
    SortDir = FSortSettings->Direction == TSortDirection::sdDescending ? -1 : 1;
    std::vector<int> order(static_cast<std::size_t>(Right - Left + 1));
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = Left + int(k);
    {
        TKeysScope scope(FSortKeys, Left, int(order.size()), true);
        if (Indexed)
            StableSortRows(order, [&](int x, int y) { return CompareRowsIndexed(0, y, x) == 1; });
        else if (!SortPlainColumn(order, Left, ACol))
            StableSortRows(order, [&](int x, int y) { return CompareRowsFull(ACol, y, x) == SortDir; });
    }
    ApplyRowOrder(Left, order);
    FSortRuns.Edits = Store().TextEdits();
}

bool TExStringGrid::TakeSortRuns(int ACol, int First, int End, std::vector<int>& Starts)
{
    TSortRuns runs;
    std::swap(runs, FSortRuns);
    if (runs.Col != ACol || runs.Left != First || runs.Count != End - First || runs.Edits != Store().TextEdits())
        return false;
    Starts = std::move(runs.Starts);
    for (int& s : Starts)
        s += First;
    return true;
}

void TExStringGrid::ApplyRowOrder(int Left, const std::vector<int>& Order)
{
    const int n = int(Order.size());
    std::vector<int> inv(Order.size());
    int moved = 0, cycles = 0;
    for (int k = 0; k < n; ++k) {
        inv[std::size_t(Order[std::size_t(k)] - Left)] = k;
        if (Order[std::size_t(k)] != Left + k)
            ++moved;
    }
    if (moved == 0)
        return;
    {
        std::vector<bool> seen(static_cast<std::size_t>(n));
        for (int k = 0; k < n; ++k) {
            if (seen[std::size_t(k)] || Order[std::size_t(k)] == Left + k)
                continue;
            ++cycles;
            for (int j = k; !seen[std::size_t(j)]; j = Order[std::size_t(j)] - Left)
                seen[std::size_t(j)] = true;
        }
    }
    Swaps += moved - cycles;

    auto permute = [&](std::vector<int>& v, int first) {
        if (int(v.size()) <= first)
            return;
        if (int(v.size()) < first + n)
            v.resize(std::size_t(first + n));
        std::vector<int> out(static_cast<std::size_t>(n));
        for (int k = 0; k < n; ++k)
            out[std::size_t(k)] = v[std::size_t(Order[std::size_t(k)] - Left + first)];
        std::copy(out.begin(), out.end(), v.begin() + first);
    };
    auto permuteList = [&](TIntList& l) {
        if (l.Count() <= Left)
            return;
        std::vector<int> v(static_cast<std::size_t>(l.Count()));
        for (int i = 0; i < l.Count(); ++i)
            v[std::size_t(i)] = l.Integers(i);
        const std::size_t keep = v.size();
        permute(v, Left);
        v.resize(std::max(keep, std::min(v.size(), std::size_t(Left + n))));
        l.Clear();
        for (std::size_t i = 0; i < v.size(); ++i)
            l.Insert(int(i), v[i]);
    };

    if (FSortRowXRef->Count() >= Left + n) {
        permuteList(*FSortRowXRef);
        SortRowXRefChanged();
    }

    if (FSortSettings->SingleColumn) {
        const int col = FSortSettings->Column;
        if (col < 0 || col >= TotalColCount())
            return;
        std::vector<QString> texts(static_cast<std::size_t>(n));
        std::vector<TObject*> objects(static_cast<std::size_t>(n));
        for (int k = 0; k < n; ++k) {
            texts[std::size_t(k)] = GetGridCell(col, Order[std::size_t(k)]);
            objects[std::size_t(k)] = GetGridObject(col, Order[std::size_t(k)]);
        }
        for (int k = 0; k < n; ++k) {
            SetCells(col, Left + k, texts[std::size_t(k)]);
            SetObjects(col, Left + k, objects[std::size_t(k)]);
        }
        return;
    }

    // A merged area whose rows part is split first, so that no covered cell
    // points at a base cell in another row.
    if (HasMergedAreas())
        for (int r = Left; r <= Left + n && r < RowCount(); ++r) {
            const int prev = r - 1 >= Left && r - 1 < Left + n ? Left + inv[std::size_t(r - 1 - Left)] : r - 1;
            const int cur = r < Left + n ? Left + inv[std::size_t(r - Left)] : r;
            if (cur != prev + 1)
                SplitAreasAcross(r);
        }

    const int current = TCustomGrid::Row();
    TCustomGrid::PermuteRows(Left, Order);
    (void)current;

    // The modified and enabled flags belong to the rows' contents.
    permuteList(*FModifiedRows);
    permuteList(*FEnabledRows);
    if (FMouseActions && FMouseActions->DisjunctRowSelect() && FNavigation && FNavigation->MoveRowOnSort
        && !FRowSelect.empty()) {
        if (FMouseActions->RowSelectPersistent && NumHiddenRows() > 0) {
            // The flags are kept by real row: move them between the real rows,
            // keeping each row's place in the order of selection.
            std::vector<int> reals(static_cast<std::size_t>(n));
            for (int k = 0; k < n; ++k)
                reals[std::size_t(k)] = RealRowFromDisplay(Left + k);
            std::vector<int>& flags = FRowSelect.Edit();
            if (flags.size() <= std::size_t(reals.back()))
                flags.resize(std::size_t(reals.back()) + 1);
            std::vector<int> moved(static_cast<std::size_t>(n));
            for (int k = 0; k < n; ++k)
                moved[std::size_t(k)] = flags[std::size_t(reals[std::size_t(Order[std::size_t(k)] - Left)])];
            for (int k = 0; k < n; ++k)
                flags[std::size_t(reals[std::size_t(k)])] = moved[std::size_t(k)];
        } else {
            permute(FRowSelect.Edit(), Left);
        }
    }
    if (SortRow >= Left && SortRow < Left + n)
        SortRow = Left + inv[std::size_t(SortRow - Left)];
}

void TExStringGrid::SortSwapRows(int ARow1, int ARow2)
{
    if (ARow1 == ARow2 || ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount())
        return;
    // What ApplyRowOrder does for the order that trades the two ends of
    // lo..hi, touching only the two rows: the rows between keep their places.
    const int lo = std::min(ARow1, ARow2), hi = std::max(ARow1, ARow2);
    ++Swaps;
    if (FSortRowXRef->Count() > hi) {
        FSortRowXRef->Exchange(lo, hi);
        SortRowXRefChanged();
    }

    if (FSortSettings->SingleColumn) {
        const int col = FSortSettings->Column;
        if (col < 0 || col >= TotalColCount())
            return;
        const QString textLo = GetGridCell(col, lo), textHi = GetGridCell(col, hi);
        TObject* const objectLo = GetGridObject(col, lo);
        TObject* const objectHi = GetGridObject(col, hi);
        SetCells(col, lo, textHi);
        SetObjects(col, lo, objectHi);
        SetCells(col, hi, textLo);
        SetObjects(col, hi, objectLo);
        return;
    }

    // A merged area is split where a moved row meets another row: above and
    // below each of the two.
    if (HasMergedAreas()) {
        int last = -1;
        for (const int r : { lo, lo + 1, hi, hi + 1 })
            if (r > last && r < RowCount()) {
                SplitAreasAcross(r);
                last = r;
            }
    }

    TCustomGrid::ExchangeRows(lo, hi);

    // The modified and enabled flags belong to the rows' contents; a list
    // reaching into the range grows to cover both rows.
    auto exchangeEntries = [&](TIntList& l) {
        if (l.Count() <= lo)
            return;
        while (l.Count() <= hi)
            l.Insert(l.Count(), 0);
        l.Exchange(lo, hi);
    };
    exchangeEntries(*FModifiedRows);
    exchangeEntries(*FEnabledRows);
    if (FMouseActions && FMouseActions->DisjunctRowSelect() && FNavigation && FNavigation->MoveRowOnSort
        && !FRowSelect.empty()) {
        if (FMouseActions->RowSelectPersistent && NumHiddenRows() > 0) {
            // The flags are kept by real row.
            const int realLo = RealRowFromDisplay(lo), realHi = RealRowFromDisplay(hi);
            std::vector<int>& flags = FRowSelect.Edit();
            if (flags.size() <= std::size_t(realHi))
                flags.resize(std::size_t(realHi) + 1);
            std::swap(flags[std::size_t(realLo)], flags[std::size_t(realHi)]);
        } else {
            std::vector<int>& flags = FRowSelect.Edit();
            if (int(flags.size()) > lo) {
                if (int(flags.size()) <= hi)
                    flags.resize(std::size_t(hi) + 1);
                std::swap(flags[std::size_t(lo)], flags[std::size_t(hi)]);
            }
        }
    }
    if (SortRow == lo || SortRow == hi)
        SortRow = lo + hi - SortRow;
}

bool TExStringGrid::SortLine(int Col, int ARow1, int ARow2)
{
    int res = 0;
    {
        TKeysScope scope(FSortKeys, 0, 0, true);
        for (int c = Col; c < TotalColCount() && res == 0; ++c)
            res = CompareKeys(c, ARow1, ARow2, FSortSettings->Direction);
    }
    if (res == 0 || res != SortDir)
        return false;
    SortSwapRows(ARow1, ARow2);
    return true;
}

void TExStringGrid::InitSortXRef()
{
    FSortRowXRef->Clear();
    for (int r = 0; r < RowCount(); ++r)
        FSortRowXRef->Insert(r, r);
    SortRowXRefChanged();
}

// ---------------------------------------------------------------------------
// The sorts

void TExStringGrid::SortFrame(bool Indexed, bool Group, const std::function<void()>& Body)
{
    if (RowCount() != FSortRowXRef->Count())
        InitSortXRef();
    if (Indexed && !Group && FSortIndexes->Count() == 0)
        throw EExGridError(QStringLiteral("No indexes specified for indexed sort"));
    if (!Indexed)
        FSortIndexes->Clear();

    // Column 0 keeps its cells with NormalCellsOnly.
    const bool keepFirst = FSortSettings->NormalCellsOnly && FixedCols() > 0;
    std::vector<QString> firstTexts;
    std::vector<TObject*> firstObjects;
    const int rows = RowCount();
    if (keepFirst) {
        firstTexts.resize(std::size_t(rows));
        firstObjects.resize(std::size_t(rows));
        for (int r = 0; r < rows; ++r) {
            firstTexts[std::size_t(r)] = GetGridCell(0, r);
            firstObjects[std::size_t(r)] = GetGridObject(0, r);
        }
    }
    const int topRow = TopRow();
    const int oldRow = GetRowEx();
    SortRow = oldRow;
    BeginUpdate();
    FSortingIndexed = Indexed;
    auto finish = [&] {
        if (keepFirst)
            for (int r = 0; r < rows && r < RowCount(); ++r) {
                SetCells(0, r, firstTexts[std::size_t(r)]);
                SetObjects(0, r, firstObjects[std::size_t(r)]);
            }
        if (FNavigation->KeepScrollOnSort)
            SetTopRow(topRow);
        EndUpdate();
    };
    try {
        Body();
        if (FMergedColumns->Count() > 0 && !FSortSettings->SingleColumn) {
            for (int i = 0; i < FMergedColumns->Count(); ++i)
                SplitColumnCells(FMergedColumns->Integers(i));
            ApplyMergedColumns();
        }
        const bool disjunct = FMouseActions->DisjunctRowSelect();
        if (Indexed || Group || !disjunct) {
            const int target = FNavigation->MoveRowOnSort ? SortRow : oldRow;
            if (target >= 0 && target < RowCount() && target != GetRowEx())
                TCustomGrid::SetRow(target);
        }
        if (!Indexed && !Group && OnRowChanged && !FNavigation->MoveRowOnSort)
            OnRowChanged(this, oldRow, GetRowEx());
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TExStringGrid::QSort()
{
    const int col = FSortSettings->Column;
    if (col < 0 || col >= TotalColCount())
        return;
    SortFrame(false, false, [&] { SortRange(FixedRows(), RowCount() - FFixedFooters - 1, false, col); });
}

void TExStringGrid::QSortIndexed()
{
    SortFrame(true, false, [&] { SortRange(FixedRows(), RowCount() - FFixedFooters - 1, true, 0); });
}

void TExStringGrid::SortGroups(bool Indexed)
{
    const int col = FSortSettings->Column;
    if (Indexed ? FSortIndexes->Count() == 0 : col < 0 || col >= TotalColCount())
        return;
    SortFrame(Indexed, true, [&] {
        const int first = FixedRows(), last = RowCount() - FFixedFooters - 1;
        // The deepest level, the row just below the normal rows included.
        int deepest = -1;
        for (int r = first; r <= last + 1 && r < RowCount(); ++r)
            deepest = std::max(deepest, GetNodeLevel(r));
        if (deepest < 0)
            return;
        std::vector<std::pair<int, int>> groups;
        for (int r = first; r <= last; ++r) {
            if (GetNodeLevel(r) != deepest || GetNodeState(r))
                continue;
            int span = GetNodeSpan(r);
            if (span <= 0) {
                // Up to the next node row.
                int e = r + 1;
                while (e <= last && !IsNode(e))
                    ++e;
                span = e - r;
            }
            if (span >= 3)
                groups.emplace_back(r + 1, std::min(r + span - 1, last));
        }
        for (const auto& [from, to] : groups)
            SortRange(from, to, Indexed, col);
    });
}

void TExStringGrid::QSortGroup()
{
    SortGroups(false);
}

void TExStringGrid::QSortGroupIndexed()
{
    SortGroups(true);
}

void TExStringGrid::QuickSort(int Col, int Left, int Right)
{
    if (Col < 0 || Col >= TotalColCount())
        return;
    SortRange(std::max(Left, 0), std::min(Right, RowCount() - 1), false, Col);
}

void TExStringGrid::QuickSortIndexed(int Left, int Right)
{
    if (FSortIndexes->Count() == 0)
        return;
    SortRange(std::max(Left, 0), std::min(Right, RowCount() - 1), true, 0);
}

void TExStringGrid::Sort(int Column, TSortDirection Direction)
{
    FSortSettings->Column = Column;
    FSortSettings->Direction = Direction;
    QSort();
}

void TExStringGrid::SortByColumn(int Col)
{
    if (RowCount() <= 1)
        return;
    FSortSettings->Column = Col;
    QSort();
}

void TExStringGrid::QUnSort()
{
    const int rows = RowCount();
    if (rows <= 1)
        return;
    // Rows added since the first sort keep their present places: their
    // entries are their own indexes, above every recorded one.
    std::vector<int> key(static_cast<std::size_t>(rows));
    const int known = FSortRowXRef->Count();
    for (int r = 0; r < rows; ++r)
        key[std::size_t(r)] = r < known ? FSortRowXRef->Integers(r) : r;
    // Entries that are a permutation of the rows place each row directly;
    // anything else is sorted, equal entries keeping their order.
    std::vector<int> order(static_cast<std::size_t>(rows), -1);
    bool placed = true;
    for (int r = 0; r < rows && placed; ++r) {
        const int k = key[std::size_t(r)];
        placed = k >= 0 && k < rows && order[std::size_t(k)] < 0;
        if (placed)
            order[std::size_t(k)] = r;
    }
    if (!placed) {
        for (int r = 0; r < rows; ++r)
            order[std::size_t(r)] = r;
        StableSortRows(order, [&](int x, int y) { return key[std::size_t(x)] < key[std::size_t(y)]; });
    }

    const bool keepFirst = FSortSettings->NormalCellsOnly && FixedCols() > 0;
    std::vector<QString> firstTexts;
    std::vector<TObject*> firstObjects;
    if (keepFirst) {
        firstTexts.resize(std::size_t(rows));
        firstObjects.resize(std::size_t(rows));
        for (int r = 0; r < rows; ++r) {
            firstTexts[std::size_t(r)] = GetGridCell(0, r);
            firstObjects[std::size_t(r)] = GetGridObject(0, r);
        }
    }
    BeginUpdate();
    auto finish = [&] {
        if (keepFirst)
            for (int r = 0; r < rows && r < RowCount(); ++r) {
                SetCells(0, r, firstTexts[std::size_t(r)]);
                SetObjects(0, r, firstObjects[std::size_t(r)]);
            }
        InitSortXRef();
        EndUpdate();
    };
    try {
        FSortRowXRef->Clear();
        SortRowXRefChanged();
        ApplyRowOrder(0, order);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}
