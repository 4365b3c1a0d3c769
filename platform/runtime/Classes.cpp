#include "platform/runtime/Classes.h"

#include "platform/runtime/Exceptions.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <numeric>

// ---------------------------------------------------------------------------
// TStream

void TStream::ReadBuffer(void* Buffer, qint64 Count)
{
    if (Count > 0 && Read(Buffer, Count) != Count)
        throw EReadError(QStringLiteral("Stream read error"));
}

void TStream::WriteBuffer(const void* Buffer, qint64 Count)
{
    if (Count > 0 && Write(Buffer, Count) != Count)
        throw EWriteError(QStringLiteral("Stream write error"));
}

qint64 TStream::CopyFrom(TStream* Source, qint64 Count)
{
    if (!Source)
        return 0;
    if (Count <= 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    constexpr qint64 kChunk = 64 * 1024;
    QByteArray buf(int(std::min(Count, kChunk)), Qt::Uninitialized);
    qint64 left = Count;
    while (left > 0) {
        const qint64 n = std::min(left, kChunk);
        Source->ReadBuffer(buf.data(), n);
        WriteBuffer(buf.constData(), n);
        left -= n;
    }
    return Count;
}

QByteArray TStream::ReadRemaining()
{
    const qint64 n = Size() - Position();
    if (n <= 0)
        return {};
    QByteArray out(n, Qt::Uninitialized);
    const qint64 got = Read(out.data(), n);
    out.truncate(std::max<qint64>(got, 0));
    return out;
}

// ---------------------------------------------------------------------------
// TMemoryStream

qint64 TMemoryStream::Read(void* Buffer, qint64 Count)
{
    if (FPosition < 0 || Count <= 0 || FPosition >= FData.size())
        return 0;
    const qint64 n = std::min(Count, FData.size() - FPosition);
    std::memcpy(Buffer, FData.constData() + FPosition, size_t(n));
    FPosition += n;
    return n;
}

qint64 TMemoryStream::Write(const void* Buffer, qint64 Count)
{
    if (FPosition < 0 || Count <= 0)
        return 0;
    const qint64 end = FPosition + Count;
    if (end > FData.size())
        SetSize(end);
    std::memcpy(FData.data() + FPosition, Buffer, size_t(Count));
    FPosition = end;
    return Count;
}

qint64 TMemoryStream::Seek(qint64 Offset, TSeekOrigin Origin)
{
    switch (Origin) {
    case soBeginning:
        FPosition = Offset;
        break;
    case soCurrent:
        FPosition += Offset;
        break;
    case soEnd:
        FPosition = FData.size() + Offset;
        break;
    }
    return FPosition;
}

void TMemoryStream::SetSize(qint64 NewSize)
{
    if (NewSize < 0)
        NewSize = 0;
    const qint64 old = FData.size();
    if (NewSize > old)
        FData.append(QByteArray(NewSize - old, '\0'));
    else
        FData.truncate(NewSize);
    if (FPosition > NewSize)
        FPosition = NewSize;
}

void TMemoryStream::Clear()
{
    FData.clear();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream)
{
    if (!Stream)
        return;
    Stream->SetPosition(0);
    FData = Stream->ReadRemaining();
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const QString& FileName)
{
    TReadResult r = ReadFileBytes(FileName);
    if (!r)
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, r.Error));
    FData = std::move(r.Bytes);
    FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream* Stream) const
{
    if (Stream)
        Stream->WriteBuffer(FData);
}

void TMemoryStream::SaveToFile(const QString& FileName) const
{
    const TSaveResult r = SaveFileAtomic(FileName, FData);
    if (!r)
        throw EFCreateError(r.Error);
}

// ---------------------------------------------------------------------------
// TStringStream

TStringStream::TStringStream(const QString& AString, TTextEncoding Encoding)
    : FEncoding(Encoding)
{
    // The data carries no byte-order mark: it is the text's bytes only.
    FData = EncodeText(AString, Encoding).mid(EncodingPreamble(Encoding).size());
}

QString TStringStream::DataString() const
{
    return DecodeText(EncodingPreamble(FEncoding) + FData, FEncoding);
}

void TStringStream::WriteString(const QString& AString)
{
    const QByteArray b = EncodeText(AString, FEncoding).mid(EncodingPreamble(FEncoding).size());
    WriteBuffer(b);
}

QString TStringStream::ReadString(qint64 Count)
{
    const qint64 n = std::max<qint64>(0, std::min(Count, Size() - Position()));
    QByteArray b(n, Qt::Uninitialized);
    b.truncate(std::max<qint64>(0, Read(b.data(), n)));
    return DecodeText(EncodingPreamble(FEncoding) + b, FEncoding);
}

// ---------------------------------------------------------------------------
// TFileStream

TFileStream::TFileStream(const QString& FileName, unsigned Mode)
    : FFileName(FileName)
    , FFile(new QFile(FileName))
{
    const bool create = (Mode & fmCreate) == fmCreate;
    const bool isDir = QFileInfo(FileName).isDir();
    bool ok = false;
    if (!isDir) {
        if (create) {
            ok = FFile->open(QIODevice::ReadWrite | QIODevice::Truncate);
        } else {
            switch (Mode & 3) {
            case fmOpenRead:
                ok = FFile->open(QIODevice::ReadOnly);
                break;
            default:
                // Write access keeps the contents: a write-only open would truncate.
                ok = FFile->open(QIODevice::ReadWrite | QIODevice::ExistingOnly);
                break;
            }
        }
    }
    if (!ok) {
        const QString why = isDir ? QStringLiteral("Is a directory") : FFile->errorString();
        delete FFile;
        FFile = nullptr;
        if (create)
            throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, why));
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, why));
    }
}

TFileStream::~TFileStream()
{
    delete FFile;
}

qint64 TFileStream::Read(void* Buffer, qint64 Count)
{
    if (Count <= 0)
        return 0;
    return std::max<qint64>(0, FFile->read(static_cast<char*>(Buffer), Count));
}

qint64 TFileStream::Write(const void* Buffer, qint64 Count)
{
    if (Count <= 0 || !FFile->isWritable())
        return 0;
    return std::max<qint64>(0, FFile->write(static_cast<const char*>(Buffer), Count));
}

qint64 TFileStream::Seek(qint64 Offset, TSeekOrigin Origin)
{
    qint64 target = Offset;
    if (Origin == soCurrent)
        target += FFile->pos();
    else if (Origin == soEnd)
        target += FFile->size();
    if (target >= 0)
        FFile->seek(target);
    return FFile->pos();
}

qint64 TFileStream::Position() const
{
    return FFile->pos();
}

qint64 TFileStream::Size() const
{
    return FFile->size();
}

void TFileStream::SetSize(qint64 NewSize)
{
    if (!FFile->resize(std::max<qint64>(0, NewSize)))
        throw EWriteError(QStringLiteral("Cannot resize file \"%1\". %2").arg(FFileName, FFile->errorString()));
    if (FFile->pos() > FFile->size())
        FFile->seek(FFile->size());
}

// ---------------------------------------------------------------------------
// TStrings

namespace {

struct UpdateScope {
    TStrings* S;
    explicit UpdateScope(TStrings* s)
        : S(s)
    {
        S->BeginUpdate();
    }
    ~UpdateScope() { S->EndUpdate(); }
};

const QString kSortedListError = QStringLiteral("Operation not allowed on sorted list");

} // namespace

void TStrings::IndexError(int Index)
{
    throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

void TStrings::Put(int Index, const QString& S)
{
    TObject* obj = GetObject(Index);
    UpdateScope scope(this);
    Delete(Index);
    InsertObject(Index, S, obj);
}

TObject* TStrings::GetObject(int Index) const
{
    (void)Index;
    return nullptr;
}

void TStrings::PutObject(int Index, TObject* AObject)
{
    (void)Index;
    (void)AObject;
}

void TStrings::InsertObject(int Index, const QString& S, TObject* AObject)
{
    UpdateScope scope(this);
    Insert(Index, S);
    PutObject(Index, AObject);
}

void TStrings::Exchange(int Index1, int Index2)
{
    UpdateScope scope(this);
    const QString s1 = Get(Index1);
    TObject* o1 = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, s1);
    PutObject(Index2, o1);
}

void TStrings::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    UpdateScope scope(this);
    const QString s = Get(CurIndex);
    TObject* o = GetObject(CurIndex);
    PutObject(CurIndex, nullptr);
    Delete(CurIndex);
    InsertObject(NewIndex, s, o);
}

int TStrings::Add(const QString& S)
{
    const int i = Count();
    Insert(i, S);
    return i;
}

int TStrings::AddObject(const QString& S, TObject* AObject)
{
    const int i = Add(S);
    PutObject(i, AObject);
    return i;
}

void TStrings::AddStrings(const TStrings* Strings)
{
    if (!Strings)
        return;
    UpdateScope scope(this);
    const int n = Strings->Count();
    for (int i = 0; i < n; ++i)
        AddObject(Strings->Get(i), Strings->GetObject(i));
}

int TStrings::CompareStrings(const QString& S1, const QString& S2) const
{
    return QString::compare(S1, S2, Qt::CaseInsensitive);
}

int TStrings::IndexOf(const QString& S) const
{
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        if (CompareStrings(Get(i), S) == 0)
            return i;
    }
    return -1;
}

int TStrings::IndexOfName(const QString& Name) const
{
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        const QString s = Get(i);
        const qsizetype p = s.indexOf(FNameValueSeparator);
        if (p >= 0 && CompareStrings(s.left(p), Name) == 0)
            return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const
{
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        if (GetObject(i) == AObject)
            return i;
    }
    return -1;
}

QString TStrings::Text() const
{
    QString out;
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        out += Get(i);
        out += QLatin1String("\r\n");
    }
    return out;
}

void TStrings::SetText(const QString& Value)
{
    UpdateScope scope(this);
    Clear();
    const qsizetype n = Value.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype start = i;
        while (i < n && Value[i] != QLatin1Char('\r') && Value[i] != QLatin1Char('\n'))
            ++i;
        Add(Value.mid(start, i - start));
        if (i < n && Value[i] == QLatin1Char('\r'))
            ++i;
        if (i < n && Value[i] == QLatin1Char('\n'))
            ++i;
    }
}

QString TStrings::DelimitedTextWith(QChar Delim, QChar Quote) const
{
    const int n = Count();
    if (n == 1 && Get(0).isEmpty())
        return Quote.isNull() ? QString() : QString(2, Quote);
    QString out;
    for (int i = 0; i < n; ++i) {
        const QString s = Get(i);
        bool quote = false;
        if (!Quote.isNull()) {
            for (QChar c : s) {
                if (c == Quote || c == Delim || (!FStrictDelimiter && c.unicode() <= ' ')) {
                    quote = true;
                    break;
                }
            }
        }
        if (i > 0)
            out += Delim;
        if (quote) {
            out += Quote;
            for (QChar c : s) {
                out += c;
                if (c == Quote)
                    out += c;
            }
            out += Quote;
        } else {
            out += s;
        }
    }
    return out;
}

void TStrings::SetDelimitedTextWith(const QString& Value, QChar Delim, QChar Quote)
{
    UpdateScope scope(this);
    Clear();
    const qsizetype n = Value.size();
    qsizetype p = 0;
    // Blanks are the control characters and the space; NUL is not a blank.
    auto isBlank = [&](qsizetype i) { return Value[i].unicode() >= 1 && Value[i].unicode() <= ' '; };
    auto skipBlanks = [&] {
        if (!FStrictDelimiter) {
            while (p < n && isBlank(p))
                ++p;
        }
    };
    skipBlanks();
    while (p < n) {
        QString s;
        if (!Quote.isNull() && Value[p] == Quote) {
            // A quoted item: doubled quotes stand for one; an unterminated
            // quote takes the rest of the text.
            ++p;
            while (p < n) {
                if (Value[p] == Quote) {
                    if (p + 1 < n && Value[p + 1] == Quote) {
                        s += Quote;
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                s += Value[p++];
            }
        } else {
            const qsizetype start = p;
            while (p < n && Value[p] != Delim && (FStrictDelimiter || !isBlank(p)))
                ++p;
            s = Value.mid(start, p - start);
        }
        Add(s);
        skipBlanks();
        if (p < n && Value[p] == Delim) {
            if (p + 1 == n)
                Add(QString());
            ++p;
            skipBlanks();
        }
    }
}

QString TStrings::DelimitedText() const
{
    return DelimitedTextWith(FDelimiter, FQuoteChar);
}

void TStrings::SetDelimitedText(const QString& Value)
{
    SetDelimitedTextWith(Value, FDelimiter, FQuoteChar);
}

QString TStrings::CommaText() const
{
    return DelimitedTextWith(QLatin1Char(','), QLatin1Char('"'));
}

void TStrings::SetCommaText(const QString& Value)
{
    SetDelimitedTextWith(Value, QLatin1Char(','), QLatin1Char('"'));
}

QString TStrings::Names(int Index) const
{
    const QString s = Get(Index);
    const qsizetype p = s.indexOf(FNameValueSeparator);
    return p >= 0 ? s.left(p) : QString();
}

QString TStrings::Values(const QString& Name) const
{
    const int i = IndexOfName(Name);
    return i >= 0 ? ValueFromIndex(i) : QString();
}

void TStrings::SetValues(const QString& Name, const QString& Value)
{
    const int i = IndexOfName(Name);
    if (!Value.isEmpty()) {
        const QString line = Name + FNameValueSeparator + Value;
        if (i < 0)
            Add(line);
        else
            Put(i, line);
    } else if (i >= 0) {
        Delete(i);
    }
}

QString TStrings::ValueFromIndex(int Index) const
{
    if (Index < 0)
        return {};
    const QString s = Get(Index);
    const qsizetype p = s.indexOf(FNameValueSeparator);
    return p >= 0 ? s.mid(p + 1) : QString();
}

void TStrings::SetValueFromIndex(int Index, const QString& Value)
{
    if (!Value.isEmpty()) {
        if (Index < 0)
            Index = Add(QString());
        Put(Index, Names(Index) + FNameValueSeparator + Value);
    } else if (Index >= 0) {
        Delete(Index);
    }
}

void TStrings::Assign(const TPersistent* Source)
{
    if (Source == this)
        return;
    if (const auto* src = dynamic_cast<const TStrings*>(Source)) {
        UpdateScope scope(this);
        Clear();
        FDelimiter = src->FDelimiter;
        FQuoteChar = src->FQuoteChar;
        FNameValueSeparator = src->FNameValueSeparator;
        FStrictDelimiter = src->FStrictDelimiter;
        FEncoding = src->FEncoding;
        AddStrings(src);
        return;
    }
    TPersistent::Assign(Source);
}

void TStrings::AssignTo(TPersistent* Dest) const
{
    if (auto* d = dynamic_cast<TStrings*>(Dest))
        d->Assign(this);
}

bool TStrings::Equals(const TStrings* Other) const
{
    if (!Other)
        return false;
    const int n = Count();
    if (n != Other->Count())
        return false;
    for (int i = 0; i < n; ++i) {
        if (Get(i) != Other->Get(i))
            return false;
    }
    return true;
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate()
{
    if (FUpdateCount <= 0)
        return;
    --FUpdateCount;
    if (FUpdateCount == 0)
        SetUpdateState(false);
}

void TStrings::LoadFromFile(const QString& FileName, TTextEncoding Fallback)
{
    TTextEncoding enc = Fallback;
    const QString text = LoadTextFile(FileName, Fallback, &enc);
    FEncoding = enc;
    SetText(text);
}

void TStrings::SaveToFile(const QString& FileName, TTextEncoding Encoding) const
{
    const TSaveResult r = SaveTextFile(FileName, Text(), Encoding);
    if (!r)
        throw EFCreateError(r.Error);
}

void TStrings::LoadFromStream(TStream* Stream, TTextEncoding Fallback)
{
    if (!Stream)
        return;
    TTextEncoding enc = Fallback;
    const QString text = DecodeText(Stream->ReadRemaining(), Fallback, &enc);
    FEncoding = enc;
    SetText(text);
}

void TStrings::SaveToStream(TStream* Stream, TTextEncoding Encoding) const
{
    if (Stream)
        Stream->WriteBuffer(EncodeText(Text(), Encoding));
}

// ---------------------------------------------------------------------------
// TStringList

TStringList::~TStringList()
{
    OnChange = nullptr;
    OnChanging = nullptr;
    if (FOwnsObjects) {
        for (auto& item : FList)
            delete item.FObject;
    }
}

void TStringList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating)
{
    if (Updating)
        Changing();
    else
        Changed();
}

int TStringList::CompareStrings(const QString& S1, const QString& S2) const
{
    return QString::compare(S1, S2, FCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

QString TStringList::Get(int Index) const
{
    CheckIndex(Index);
    return FList[size_t(Index)].FString;
}

void TStringList::Put(int Index, const QString& S)
{
    if (FSorted)
        throw EStringListError(kSortedListError);
    CheckIndex(Index);
    Changing();
    FList[size_t(Index)].FString = S;
    Changed();
}

TObject* TStringList::GetObject(int Index) const
{
    CheckIndex(Index);
    return FList[size_t(Index)].FObject;
}

void TStringList::PutObject(int Index, TObject* AObject)
{
    CheckIndex(Index);
    Changing();
    FList[size_t(Index)].FObject = AObject;
    Changed();
}

void TStringList::InsertItem(int Index, const QString& S, TObject* AObject)
{
    Changing();
    FList.insert(FList.begin() + Index, TStringItem { S, AObject });
    Changed();
}

void TStringList::InsertObject(int Index, const QString& S, TObject* AObject)
{
    if (FSorted)
        throw EStringListError(kSortedListError);
    if (Index < 0 || Index > Count())
        IndexError(Index);
    InsertItem(Index, S, AObject);
}

int TStringList::AddObject(const QString& S, TObject* AObject)
{
    int index = Count();
    if (FSorted && Find(S, index)) {
        switch (FDuplicates) {
        case dupIgnore:
            return index;
        case dupError:
            throw EStringListError(QStringLiteral("String list does not allow duplicates"));
        case dupAccept:
            break;
        }
    }
    InsertItem(index, S, AObject);
    return index;
}

void TStringList::AddBulk(std::vector<QString> Strings)
{
    if (Strings.empty())
        return;
    // The error names the first duplicate, as adding one by one does.
    if (FSorted && FDuplicates == dupError) {
        for (const QString& S : Strings)
            Add(S);
        return;
    }
    Changing();
    if (!FSorted) {
        FList.reserve(FList.size() + Strings.size());
        for (QString& S : Strings)
            FList.push_back(TStringItem { std::move(S), nullptr });
        Changed();
        return;
    }
    auto less = [this](const QString& a, const QString& b) { return CompareStrings(a, b) < 0; };
    std::stable_sort(Strings.begin(), Strings.end(), less);
    // Equal strings in the order adding leaves them: the first one added
    // alone when duplicates are ignored, else the last added first (each
    // goes in before its equals), and before those already listed.
    std::vector<QString> added;
    added.reserve(Strings.size());
    for (std::size_t i = 0; i < Strings.size();) {
        std::size_t j = i + 1;
        while (j < Strings.size() && CompareStrings(Strings[i], Strings[j]) == 0)
            ++j;
        if (FDuplicates == dupIgnore) {
            int at = 0;
            if (!Find(Strings[i], at))
                added.push_back(std::move(Strings[i]));
        } else {
            for (std::size_t k = j; k > i; --k)
                added.push_back(std::move(Strings[k - 1]));
        }
        i = j;
    }
    std::vector<TStringItem> merged;
    merged.reserve(FList.size() + added.size());
    std::size_t a = 0;
    for (TStringItem& item : FList) {
        while (a < added.size() && CompareStrings(added[a], item.FString) <= 0)
            merged.push_back(TStringItem { std::move(added[a++]), nullptr });
        merged.push_back(std::move(item));
    }
    while (a < added.size())
        merged.push_back(TStringItem { std::move(added[a++]), nullptr });
    FList.swap(merged);
    Changed();
}

void TStringList::Delete(int Index)
{
    CheckIndex(Index);
    Changing();
    TObject* obj = FList[size_t(Index)].FObject;
    FList.erase(FList.begin() + Index);
    if (FOwnsObjects)
        delete obj;
    Changed();
}

void TStringList::Clear()
{
    if (FList.empty())
        return;
    Changing();
    std::vector<TStringItem> old;
    old.swap(FList);
    if (FOwnsObjects) {
        for (auto& item : old)
            delete item.FObject;
    }
    Changed();
}

void TStringList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    std::swap(FList[size_t(Index1)], FList[size_t(Index2)]);
    Changed();
}

void TStringList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    // Checked before anything changes, so a refused move loses no item, and
    // an owned object is moved with its item instead of being freed.
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    if (FSorted)
        throw EStringListError(kSortedListError);
    Changing();
    auto first = FList.begin();
    if (CurIndex < NewIndex)
        std::rotate(first + CurIndex, first + CurIndex + 1, first + NewIndex + 1);
    else
        std::rotate(first + NewIndex, first + CurIndex, first + CurIndex + 1);
    Changed();
}

bool TStringList::Find(const QString& S, int& Index) const
{
    // Lower bound: the first match when the list holds duplicates.
    int lo = 0;
    int hi = Count();
    bool found = false;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        const int c = CompareStrings(FList[size_t(mid)].FString, S);
        if (c < 0) {
            lo = mid + 1;
        } else {
            if (c == 0)
                found = true;
            hi = mid;
        }
    }
    Index = lo;
    return found;
}

int TStringList::IndexOf(const QString& S) const
{
    if (!FSorted)
        return TStrings::IndexOf(S);
    int i = 0;
    return Find(S, i) ? i : -1;
}

void TStringList::Sort()
{
    if (FSorted || FList.size() < 2)
        return;
    Changing();
    const Qt::CaseSensitivity cs = FCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    std::stable_sort(FList.begin(), FList.end(),
        [cs](const TStringItem& a, const TStringItem& b) { return QString::compare(a.FString, b.FString, cs) < 0; });
    Changed();
}

void TStringList::CustomSort(const TStringListSortCompare& Compare)
{
    if (FSorted || FList.size() < 2 || !Compare)
        return;
    Changing();
    // The compare function reads items by index, so the list stays untouched
    // while an index permutation is sorted, then the permutation is applied.
    std::vector<int> order(FList.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Compare(this, a, b) < 0; });
    std::vector<TStringItem> sorted;
    sorted.reserve(FList.size());
    for (int i : order)
        sorted.push_back(FList[size_t(i)]);
    FList.swap(sorted);
    Changed();
}

void TStringList::SetSorted(bool Value)
{
    if (FSorted == Value)
        return;
    if (Value)
        Sort();
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value)
{
    if (FCaseSensitive == Value)
        return;
    FCaseSensitive = Value;
    if (FSorted) {
        FSorted = false;
        Sort();
        FSorted = true;
    }
}
