#pragma once
// String lists and streams: the toolkit's general-purpose containers that the
// grids, forms and file readers are written against.

#include "platform/runtime/FileUtils.h"
#include "platform/runtime/Object.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <functional>
#include <vector>

// ---------------------------------------------------------------------------
// Streams

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// File stream open modes; the share modes are accepted and ignored.
constexpr unsigned fmCreate = 0xFF00;
constexpr unsigned fmOpenRead = 0x0000;
constexpr unsigned fmOpenWrite = 0x0001;
constexpr unsigned fmOpenReadWrite = 0x0002;
constexpr unsigned fmShareCompat = 0x0000;
constexpr unsigned fmShareExclusive = 0x0010;
constexpr unsigned fmShareDenyWrite = 0x0020;
constexpr unsigned fmShareDenyRead = 0x0030;
constexpr unsigned fmShareDenyNone = 0x0040;

class TStream : public TObject {
public:
    // Read and Write move at most Count bytes and return how many they moved.
    virtual qint64 Read(void* Buffer, qint64 Count) = 0;
    virtual qint64 Write(const void* Buffer, qint64 Count) = 0;
    // Returns the new position.
    virtual qint64 Seek(qint64 Offset, TSeekOrigin Origin) = 0;
    virtual qint64 Position() const = 0;
    void SetPosition(qint64 Pos) { Seek(Pos, soBeginning); }
    virtual qint64 Size() const = 0;
    virtual void SetSize(qint64 NewSize) = 0;

    // Move exactly Count bytes or raise EReadError / EWriteError.
    void ReadBuffer(void* Buffer, qint64 Count);
    void WriteBuffer(const void* Buffer, qint64 Count);
    void WriteBuffer(const QByteArray& Bytes) { WriteBuffer(Bytes.constData(), Bytes.size()); }
    // Copies Count bytes from Source's position; Count 0 copies the whole
    // source from its start. Returns the number of bytes copied.
    qint64 CopyFrom(TStream* Source, qint64 Count);
    // The bytes from the position to the end; the position moves to the end.
    QByteArray ReadRemaining();
};

// A stream over a growable block of memory. Seeking past the end is allowed; a
// write there fills the gap with zeros.
class TMemoryStream : public TStream {
public:
    qint64 Read(void* Buffer, qint64 Count) override;
    qint64 Write(const void* Buffer, qint64 Count) override;
    qint64 Seek(qint64 Offset, TSeekOrigin Origin) override;
    qint64 Position() const override { return FPosition; }
    qint64 Size() const override { return FData.size(); }
    void SetSize(qint64 NewSize) override;

    char* Memory() { return FData.data(); }
    const char* Memory() const { return FData.constData(); }
    const QByteArray& Bytes() const { return FData; }
    void Clear();
    // Replaces the contents with a stream's (from its start) or a file's bytes;
    // the position returns to 0. A file that cannot be read raises EFOpenError.
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const QString& FileName);
    // Writes the whole contents (whatever the position). A failed file save
    // raises EFCreateError and leaves the previous file intact.
    void SaveToStream(TStream* Stream) const;
    void SaveToFile(const QString& FileName) const;

protected:
    QByteArray FData;
    qint64 FPosition = 0;
};

// A stream over a text held as bytes in one encoding (UTF-8 unless told).
class TStringStream : public TMemoryStream {
public:
    explicit TStringStream(const QString& AString = QString(), TTextEncoding Encoding = TTextEncoding::UTF8NoBOM);
    // The whole contents decoded as text.
    QString DataString() const;
    // Writes the text's encoded bytes at the position.
    void WriteString(const QString& AString);
    // Reads up to Count bytes from the position and decodes them.
    QString ReadString(qint64 Count);
    TTextEncoding Encoding() const { return FEncoding; }

private:
    TTextEncoding FEncoding;
};

class QFile;

// A stream on a file. Opening failures raise EFCreateError (fmCreate) or
// EFOpenError with the path in the message.
class TFileStream : public TStream {
public:
    TFileStream(const QString& FileName, unsigned Mode);
    ~TFileStream() override;
    qint64 Read(void* Buffer, qint64 Count) override;
    qint64 Write(const void* Buffer, qint64 Count) override;
    qint64 Seek(qint64 Offset, TSeekOrigin Origin) override;
    qint64 Position() const override;
    qint64 Size() const override;
    void SetSize(qint64 NewSize) override;
    const QString& FileName() const { return FFileName; }

private:
    QString FFileName;
    QFile* FFile = nullptr;
};

// ---------------------------------------------------------------------------
// String lists

enum TDuplicates { dupIgnore, dupAccept, dupError };

// An ordered list of strings, each with an object reference. TStringList keeps
// the items itself; other descendants present a control's items as a list.
class TStrings : public TPersistent {
public:
    // The core a descendant provides.
    virtual int Count() const = 0;
    virtual QString Get(int Index) const = 0;
    virtual void Put(int Index, const QString& S);
    virtual TObject* GetObject(int Index) const;
    virtual void PutObject(int Index, TObject* AObject);
    virtual void Insert(int Index, const QString& S) = 0;
    virtual void InsertObject(int Index, const QString& S, TObject* AObject);
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int Index1, int Index2);
    virtual void Move(int CurIndex, int NewIndex);

    virtual int Add(const QString& S);
    virtual int AddObject(const QString& S, TObject* AObject);
    void Append(const QString& S) { Add(S); }
    void AddStrings(const TStrings* Strings);
    // Case-insensitive unless a descendant says otherwise; -1 when absent.
    virtual int IndexOf(const QString& S) const;
    int IndexOfName(const QString& Name) const;
    int IndexOfObject(const TObject* AObject) const;

    QString Strings(int Index) const { return Get(Index); }
    void SetStrings(int Index, const QString& S) { Put(Index, S); }
    TObject* Objects(int Index) const { return GetObject(Index); }
    void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }

    // Lines joined by CR LF, the last one ended too. Setting splits on CR LF,
    // LF or CR.
    QString Text() const;
    virtual void SetText(const QString& Value);
    // Items separated by Delimiter; items holding blanks, the delimiter or the
    // quote character are quoted with embedded quotes doubled.
    QString DelimitedText() const;
    void SetDelimitedText(const QString& Value);
    // DelimitedText with "," and '"', whatever Delimiter and QuoteChar hold.
    QString CommaText() const;
    void SetCommaText(const QString& Value);
    QChar Delimiter() const { return FDelimiter; }
    void SetDelimiter(QChar C) { FDelimiter = C; }
    QChar QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(QChar C) { FQuoteChar = C; }
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool B) { FStrictDelimiter = B; }

    // Name=value items.
    QChar NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(QChar C) { FNameValueSeparator = C; }
    QString Names(int Index) const;
    QString Values(const QString& Name) const;
    // An empty value deletes the item.
    void SetValues(const QString& Name, const QString& Value);
    QString ValueFromIndex(int Index) const;
    void SetValueFromIndex(int Index, const QString& Value);

    // From another list: the items with their objects and the text settings.
    void Assign(const TPersistent* Source) override;
    bool Equals(const TStrings* Other) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Reading follows a byte-order mark, else Fallback (ANSI by default) and
    // remembers the encoding; saving without one uses the remembered encoding.
    // Failures raise EFOpenError / EFCreateError; a failed save leaves the
    // previous file intact.
    void LoadFromFile(const QString& FileName, TTextEncoding Fallback = TTextEncoding::Ansi);
    void SaveToFile(const QString& FileName) const { SaveToFile(FileName, FEncoding); }
    void SaveToFile(const QString& FileName, TTextEncoding Encoding) const;
    void LoadFromStream(TStream* Stream, TTextEncoding Fallback = TTextEncoding::Ansi);
    void SaveToStream(TStream* Stream) const { SaveToStream(Stream, FEncoding); }
    void SaveToStream(TStream* Stream, TTextEncoding Encoding) const;
    TTextEncoding Encoding() const { return FEncoding; }
    void SetEncoding(TTextEncoding E) { FEncoding = E; }

protected:
    // Called when the update count leaves or reaches zero.
    virtual void SetUpdateState(bool Updating) { (void)Updating; }
    virtual int CompareStrings(const QString& S1, const QString& S2) const;
    void AssignTo(TPersistent* Dest) const override;
    [[noreturn]] static void IndexError(int Index);

private:
    QChar FDelimiter = QLatin1Char(',');
    QChar FQuoteChar = QLatin1Char('"');
    QChar FNameValueSeparator = QLatin1Char('=');
    bool FStrictDelimiter = false;
    int FUpdateCount = 0;
    TTextEncoding FEncoding = TTextEncoding::Ansi;

    QString DelimitedTextWith(QChar Delim, QChar Quote) const;
    void SetDelimitedTextWith(const QString& Value, QChar Delim, QChar Quote);
};

class TStringList;
// <0, 0 or >0 as the item at Index1 sorts before, with or after Index2.
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
public:
    TStringList() = default;
    explicit TStringList(bool OwnsObjects)
        : FOwnsObjects(OwnsObjects)
    {
    }
    ~TStringList() override;

    int Count() const override { return int(FList.size()); }
    QString Get(int Index) const override;
    void Put(int Index, const QString& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    void Insert(int Index, const QString& S) override { InsertObject(Index, S, nullptr); }
    void InsertObject(int Index, const QString& S, TObject* AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    void Exchange(int Index1, int Index2) override;
    void Move(int CurIndex, int NewIndex) override;
    int Add(const QString& S) override { return AddObject(S, nullptr); }
    int AddObject(const QString& S, TObject* AObject) override;
    int IndexOf(const QString& S) const override;
    // The same list as adding each string in turn, in one change: a sorted
    // list sorts and merges them at once instead of inserting one at a time.
    void AddBulk(std::vector<QString> Strings);

    // Binary search of a sorted list: true when found; Index receives the
    // position of the first match, or where S would be inserted.
    bool Find(const QString& S, int& Index) const;
    void Sort();
    void CustomSort(const TStringListSortCompare& Compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);
    // An owning list frees an item's object when the item is deleted.
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool Updating) override;
    int CompareStrings(const QString& S1, const QString& S2) const override;
    virtual void Changed();
    virtual void Changing();

private:
    struct TStringItem {
        QString FString;
        TObject* FObject = nullptr;
    };
    std::vector<TStringItem> FList;
    bool FSorted = false;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
    TDuplicates FDuplicates = dupIgnore;

    void CheckIndex(int Index) const;
    void InsertItem(int Index, const QString& S, TObject* AObject);
};
