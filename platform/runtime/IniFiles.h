#pragma once
// INI files: TIniFile writes each change to the file at once, TMemIniFile
// works on a copy in memory that UpdateFile writes back whole. Reading is
// tolerant: malformed lines are ignored for reading and kept on rewrite, as
// are comment lines.

#include "platform/runtime/Classes.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/Object.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace inidetail {

// The parsed form of an INI text: sections in file order, each with its lines.
class TIniStore {
public:
    struct Line {
        bool IsKey = false;
        QString Key;
        QString Value;
        QString Raw; // the line as read, for comments and lines that are no key
    };
    struct Section {
        QString Name;
        std::vector<Line> Lines;
    };

    bool CaseSensitive = false;

    void Parse(const QString& Text);
    QString Serialize() const; // CR LF line ends, a blank line after each section
    void Clear();

    QStringList SectionNames() const;
    bool HasSection(const QString& Name) const;
    void AddSection(const QString& Name); // no-op when it exists
    void EraseSection(const QString& Name);
    QStringList Keys(const QString& Section) const;
    // Value of the first line with that key; false when there is none.
    bool Read(const QString& Section, const QString& Key, QString& Value) const;
    void Write(const QString& Section, const QString& Key, const QString& Value);
    void DeleteKey(const QString& Section, const QString& Key);

private:
    std::vector<QString> FPreamble; // lines before the first section
    std::vector<Section> FSections;

    bool Same(const QString& A, const QString& B) const;
    int SectionIndex(const QString& Name) const;
};

} // namespace inidetail

class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(const QString& FileName)
        : FFileName(FileName)
    {
    }
    const QString& FileName() const { return FFileName; }

    virtual QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const = 0;
    virtual void WriteString(const QString& Section, const QString& Ident, const QString& Value) = 0;
    // Read through the one integer parser (sign, decimal, or hex after "$" or
    // "0x"); a missing or malformed value yields the default.
    virtual int ReadInteger(const QString& Section, const QString& Ident, int Default) const;
    virtual void WriteInteger(const QString& Section, const QString& Ident, int Value);
    // Any integer other than 0 is true; written as "1" or "0".
    virtual bool ReadBool(const QString& Section, const QString& Ident, bool Default) const;
    virtual void WriteBool(const QString& Section, const QString& Ident, bool Value);
    // Written with "." as the decimal separator in every locale, so the file
    // reads back the same anywhere.
    virtual double ReadFloat(const QString& Section, const QString& Ident, double Default) const;
    virtual void WriteFloat(const QString& Section, const QString& Ident, double Value);

    // The keys of a section.
    virtual void ReadSection(const QString& Section, TStrings* Strings) const = 0;
    virtual void ReadSections(TStrings* Strings) const = 0;
    // The section's Key=Value lines.
    virtual void ReadSectionValues(const QString& Section, TStrings* Strings) const = 0;
    // A section exists when it holds at least one key.
    virtual bool SectionExists(const QString& Section) const;
    virtual bool ValueExists(const QString& Section, const QString& Ident) const;
    virtual void EraseSection(const QString& Section) = 0;
    virtual void DeleteKey(const QString& Section, const QString& Ident) = 0;
    virtual void UpdateFile() = 0;

protected:
    QString FFileName;
};

// Reads the file on every call and writes it (atomically) on every change; a
// failed write raises EFCreateError. Sections and keys ignore letter case; a
// value in matching quotes reads without them. A new file is ANSI; an existing
// one keeps its encoding. A file that exists but cannot be read (not a regular
// file, too large, no permission) reads as empty, and a change to it raises
// EFOpenError and leaves it as it is.
class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const QString& FileName)
        : TCustomIniFile(FileName)
    {
    }

    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const override;
    void WriteString(const QString& Section, const QString& Ident, const QString& Value) override;
    void ReadSection(const QString& Section, TStrings* Strings) const override;
    void ReadSections(TStrings* Strings) const override;
    void ReadSectionValues(const QString& Section, TStrings* Strings) const override;
    void EraseSection(const QString& Section) override;
    void DeleteKey(const QString& Section, const QString& Ident) override;
    void UpdateFile() override { } // every change is on disk already

private:
    // ForWrite: a file that exists but cannot be read raises EFOpenError
    // instead of reading as empty.
    inidetail::TIniStore Load(TTextEncoding* Encoding, bool ForWrite = false) const;
    void Store(const inidetail::TIniStore& Data, TTextEncoding Encoding);
};

// Loads the whole file at creation (a missing file is an empty one; an
// unreadable one raises EFOpenError) and writes it back whole, atomically, in
// UpdateFile (EFCreateError on failure, the previous file intact).
class TMemIniFile : public TCustomIniFile {
public:
    // Without a byte-order mark the file is read in Encoding; it is written
    // back in the encoding it was read in.
    explicit TMemIniFile(const QString& FileName, TTextEncoding Encoding = TTextEncoding::Ansi);

    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const override;
    void WriteString(const QString& Section, const QString& Ident, const QString& Value) override;
    void ReadSection(const QString& Section, TStrings* Strings) const override;
    void ReadSections(TStrings* Strings) const override;
    void ReadSectionValues(const QString& Section, TStrings* Strings) const override;
    void EraseSection(const QString& Section) override;
    void DeleteKey(const QString& Section, const QString& Ident) override;
    void UpdateFile() override;

    void Clear();
    // The whole file as lines, and back.
    void GetStrings(TStrings* List) const;
    void SetStrings(const TStrings* List);
    // A new file name; Reload reads the new file in place of the contents.
    void Rename(const QString& FileName, bool Reload);
    bool CaseSensitive() const { return FStore.CaseSensitive; }
    void SetCaseSensitive(bool Value) { FStore.CaseSensitive = Value; }
    TTextEncoding Encoding() const { return FEncoding; }

private:
    inidetail::TIniStore FStore;
    TTextEncoding FEncoding;
    void LoadValues();
};
