#include "platform/runtime/IniFiles.h"

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/SysUtils.h"

#include <QFileInfo>

namespace inidetail {

bool TIniStore::Same(const QString& A, const QString& B) const
{
    return QString::compare(A, B, CaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

int TIniStore::SectionIndex(const QString& Name) const
{
    for (size_t i = 0; i < FSections.size(); ++i) {
        if (Same(FSections[i].Name, Name))
            return int(i);
    }
    return -1;
}

void TIniStore::Clear()
{
    FPreamble.clear();
    FSections.clear();
}

void TIniStore::Parse(const QString& Text)
{
    Clear();
    Section* current = nullptr;
    // Split by hand: a pattern match gives up on text holding a lone
    // surrogate, which would make the whole file one line.
    TStringList lines;
    lines.SetText(Text);
    for (int i = 0; i < lines.Count(); ++i) {
        const QString t = lines.Strings(i).trimmed();
        if (t.isEmpty())
            continue;
        if (t.startsWith(QLatin1Char('[')) && t.contains(QLatin1Char(']'))) {
            // "[name]", tolerating text after the closing bracket.
            const QString name = t.endsWith(QLatin1Char(']')) ? t.mid(1, t.size() - 2).trimmed()
                                                              : t.mid(1, t.indexOf(QLatin1Char(']')) - 1).trimmed();
            const int idx = SectionIndex(name);
            if (idx >= 0) {
                current = &FSections[size_t(idx)];
            } else {
                FSections.push_back(Section { name, {} });
                current = &FSections.back();
            }
            continue;
        }
        Line line;
        line.Raw = t;
        const qsizetype eq = t.indexOf(QLatin1Char('='));
        if (!t.startsWith(QLatin1Char(';')) && eq > 0) {
            line.Key = t.left(eq).trimmed();
            line.Value = t.mid(eq + 1).trimmed();
            line.IsKey = !line.Key.isEmpty();
        }
        if (current)
            current->Lines.push_back(line);
        else
            FPreamble.push_back(t);
    }
}

QString TIniStore::Serialize() const
{
    QString out;
    const QLatin1String eol("\r\n");
    for (const QString& l : FPreamble)
        out += l + eol;
    for (const Section& s : FSections) {
        out += QLatin1Char('[') + s.Name + QLatin1Char(']') + eol;
        for (const Line& l : s.Lines)
            out += (l.IsKey ? l.Key + QLatin1Char('=') + l.Value : l.Raw) + eol;
        out += eol;
    }
    return out;
}

QStringList TIniStore::SectionNames() const
{
    QStringList out;
    for (const Section& s : FSections)
        out << s.Name;
    return out;
}

bool TIniStore::HasSection(const QString& Name) const
{
    return SectionIndex(Name) >= 0;
}

void TIniStore::AddSection(const QString& Name)
{
    if (SectionIndex(Name) < 0)
        FSections.push_back(Section { Name, {} });
}

void TIniStore::EraseSection(const QString& Name)
{
    const int idx = SectionIndex(Name);
    if (idx >= 0)
        FSections.erase(FSections.begin() + idx);
}

QStringList TIniStore::Keys(const QString& Section) const
{
    QStringList out;
    const int idx = SectionIndex(Section);
    if (idx < 0)
        return out;
    for (const Line& l : FSections[size_t(idx)].Lines) {
        if (l.IsKey)
            out << l.Key;
    }
    return out;
}

bool TIniStore::Read(const QString& Section, const QString& Key, QString& Value) const
{
    const int idx = SectionIndex(Section);
    if (idx < 0)
        return false;
    for (const Line& l : FSections[size_t(idx)].Lines) {
        if (l.IsKey && Same(l.Key, Key)) {
            Value = l.Value;
            return true;
        }
    }
    return false;
}

void TIniStore::Write(const QString& Section, const QString& Key, const QString& Value)
{
    int idx = SectionIndex(Section);
    if (idx < 0) {
        FSections.push_back(TIniStore::Section { Section, {} });
        idx = int(FSections.size()) - 1;
    }
    auto& lines = FSections[size_t(idx)].Lines;
    for (Line& l : lines) {
        if (l.IsKey && Same(l.Key, Key)) {
            l.Value = Value;
            return;
        }
    }
    Line l;
    l.IsKey = true;
    l.Key = Key;
    l.Value = Value;
    lines.push_back(l);
}

void TIniStore::DeleteKey(const QString& Section, const QString& Key)
{
    const int idx = SectionIndex(Section);
    if (idx < 0)
        return;
    auto& lines = FSections[size_t(idx)].Lines;
    for (auto it = lines.begin(); it != lines.end(); ++it) {
        if (it->IsKey && Same(it->Key, Key)) {
            lines.erase(it);
            return;
        }
    }
}

} // namespace inidetail

using inidetail::TIniStore;

// ---------------------------------------------------------------------------
// TCustomIniFile

int TCustomIniFile::ReadInteger(const QString& Section, const QString& Ident, int Default) const
{
    int v = 0;
    return TryStrToInt(ReadString(Section, Ident, QString()), v) ? v : Default;
}

void TCustomIniFile::WriteInteger(const QString& Section, const QString& Ident, int Value)
{
    WriteString(Section, Ident, QString::number(Value));
}

bool TCustomIniFile::ReadBool(const QString& Section, const QString& Ident, bool Default) const
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const QString& Section, const QString& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

double TCustomIniFile::ReadFloat(const QString& Section, const QString& Ident, double Default) const
{
    const QString s = ReadString(Section, Ident, QString()).trimmed();
    bool ok = false;
    const double v = s.toDouble(&ok);
    return ok ? v : Default;
}

void TCustomIniFile::WriteFloat(const QString& Section, const QString& Ident, double Value)
{
    WriteString(Section, Ident, QString::number(Value, 'g', 15));
}

bool TCustomIniFile::SectionExists(const QString& Section) const
{
    TStringList keys;
    ReadSection(Section, &keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const QString& Section, const QString& Ident) const
{
    TStringList keys;
    ReadSection(Section, &keys);
    return keys.IndexOf(Ident) >= 0;
}

namespace {

void FillKeys(const TIniStore& Store, const QString& Section, TStrings* Strings)
{
    if (!Strings)
        return;
    Strings->BeginUpdate();
    Strings->Clear();
    for (const QString& k : Store.Keys(Section))
        Strings->Add(k);
    Strings->EndUpdate();
}

void FillSections(const TIniStore& Store, TStrings* Strings)
{
    if (!Strings)
        return;
    Strings->BeginUpdate();
    Strings->Clear();
    for (const QString& s : Store.SectionNames())
        Strings->Add(s);
    Strings->EndUpdate();
}

void FillValues(const TIniStore& Store, const QString& Section, TStrings* Strings, bool Unquote)
{
    if (!Strings)
        return;
    Strings->BeginUpdate();
    Strings->Clear();
    for (const QString& k : Store.Keys(Section)) {
        QString v;
        Store.Read(Section, k, v);
        if (Unquote && v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\''))
            && v.back() == v.front())
            v = v.mid(1, v.size() - 2);
        Strings->Add(k + QLatin1Char('=') + v);
    }
    Strings->EndUpdate();
}

// The file text for an encoding. Without a byte-order mark of its own, a text
// whose first bytes read as one (a stray ANSI line starting with the bytes EF
// BB BF, brought to the top by trimming) would load in another encoding; a
// blank first line, which reading skips, keeps the file meaning the same.
QString FileText(const TIniStore& Store, TTextEncoding Encoding)
{
    QString text = Store.Serialize();
    if (EncodingPreamble(Encoding).isEmpty()) {
        const QByteArray head = EncodeText(text.left(3), Encoding);
        if (head.startsWith("\xEF\xBB\xBF") || head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF"))
            text.prepend(QLatin1String("\r\n"));
    }
    return text;
}

} // namespace

// ---------------------------------------------------------------------------
// TIniFile

TIniStore TIniFile::Load(TTextEncoding* Encoding, bool ForWrite) const
{
    TIniStore store;
    *Encoding = TTextEncoding::Ansi;
    if (FileExists(FFileName)) {
        try {
            store.Parse(LoadTextFile(FFileName, TTextEncoding::Ansi, Encoding));
        } catch (const EFOpenError&) {
            // An unreadable file reads as an empty one, but is never replaced
            // by a file that holds only the one value written.
            if (ForWrite)
                throw;
        }
    }
    return store;
}

void TIniFile::Store(const TIniStore& Data, TTextEncoding Encoding)
{
    const TSaveResult r = SaveTextFile(FFileName, FileText(Data, Encoding), Encoding);
    if (!r)
        throw EFCreateError(r.Error);
}

QString TIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default) const
{
    TTextEncoding enc;
    const TIniStore store = Load(&enc);
    QString v;
    if (!store.Read(Section, Ident, v))
        return Default;
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

void TIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value)
{
    TTextEncoding enc;
    TIniStore store = Load(&enc, true);
    store.Write(Section, Ident, Value);
    Store(store, enc);
}

void TIniFile::ReadSection(const QString& Section, TStrings* Strings) const
{
    TTextEncoding enc;
    FillKeys(Load(&enc), Section, Strings);
}

void TIniFile::ReadSections(TStrings* Strings) const
{
    TTextEncoding enc;
    FillSections(Load(&enc), Strings);
}

void TIniFile::ReadSectionValues(const QString& Section, TStrings* Strings) const
{
    TTextEncoding enc;
    FillValues(Load(&enc), Section, Strings, true);
}

void TIniFile::EraseSection(const QString& Section)
{
    TTextEncoding enc;
    TIniStore store = Load(&enc, true);
    if (!store.HasSection(Section))
        return;
    store.EraseSection(Section);
    Store(store, enc);
}

void TIniFile::DeleteKey(const QString& Section, const QString& Ident)
{
    TTextEncoding enc;
    TIniStore store = Load(&enc, true);
    QString v;
    if (!store.Read(Section, Ident, v))
        return;
    store.DeleteKey(Section, Ident);
    Store(store, enc);
}

// ---------------------------------------------------------------------------
// TMemIniFile

TMemIniFile::TMemIniFile(const QString& FileName, TTextEncoding Encoding)
    : TCustomIniFile(FileName)
    , FEncoding(Encoding)
{
    LoadValues();
}

void TMemIniFile::LoadValues()
{
    FStore.Clear();
    if (FileExists(FFileName))
        FStore.Parse(LoadTextFile(FFileName, FEncoding, &FEncoding));
}

QString TMemIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default) const
{
    QString v;
    return FStore.Read(Section, Ident, v) ? v : Default;
}

void TMemIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value)
{
    FStore.Write(Section, Ident, Value);
}

void TMemIniFile::ReadSection(const QString& Section, TStrings* Strings) const
{
    FillKeys(FStore, Section, Strings);
}

void TMemIniFile::ReadSections(TStrings* Strings) const
{
    FillSections(FStore, Strings);
}

void TMemIniFile::ReadSectionValues(const QString& Section, TStrings* Strings) const
{
    FillValues(FStore, Section, Strings, false);
}

void TMemIniFile::EraseSection(const QString& Section)
{
    FStore.EraseSection(Section);
}

void TMemIniFile::DeleteKey(const QString& Section, const QString& Ident)
{
    FStore.DeleteKey(Section, Ident);
}

void TMemIniFile::UpdateFile()
{
    const TSaveResult r = SaveTextFile(FFileName, FileText(FStore, FEncoding), FEncoding);
    if (!r)
        throw EFCreateError(r.Error);
}

void TMemIniFile::Clear()
{
    FStore.Clear();
}

void TMemIniFile::GetStrings(TStrings* List) const
{
    if (List)
        List->SetText(FStore.Serialize());
}

void TMemIniFile::SetStrings(const TStrings* List)
{
    FStore.Clear();
    if (List)
        FStore.Parse(List->Text());
}

void TMemIniFile::Rename(const QString& FileName, bool Reload)
{
    FFileName = FileName;
    if (Reload)
        LoadValues();
}
