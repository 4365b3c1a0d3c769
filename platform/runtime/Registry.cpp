#include "platform/runtime/Registry.h"

#include "platform/runtime/Classes.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/SysUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

using inidetail::TIniStore;

namespace {

std::recursive_mutex& StoreMutex()
{
    static std::recursive_mutex m;
    return m;
}

QString& StorageOverride()
{
    static QString s;
    return s;
}

const QChar kSep = QLatin1Char('\\');

QString RootName(HKEY Root)
{
    switch (Root) {
    case HKEY_CLASSES_ROOT:
        return QStringLiteral("HKEY_CLASSES_ROOT");
    case HKEY_CURRENT_USER:
        return QStringLiteral("HKEY_CURRENT_USER");
    case HKEY_LOCAL_MACHINE:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    case HKEY_USERS:
        return QStringLiteral("HKEY_USERS");
    case HKEY_CURRENT_CONFIG:
        return QStringLiteral("HKEY_CURRENT_CONFIG");
    default:
        return QStringLiteral("HKEY_%1").arg(Root, 8, 16, QLatin1Char('0'));
    }
}

// Registry names and values may hold characters that an INI line cannot keep
// ("=", "]", line breaks, blanks at either end that the reader trims, a
// leading ";" or "["); those are stored as "%" and two hex digits.
QString Escape(const QString& S)
{
    QString out;
    const qsizetype n = S.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = S[i];
        const bool edge = i == 0 || i == n - 1;
        bool esc = c == QLatin1Char('%') || c == QLatin1Char('=') || c == QLatin1Char(']') || c == QLatin1Char('\r')
            || c == QLatin1Char('\n');
        if (edge && (c == QLatin1Char(' ') || c == QLatin1Char('\t')))
            esc = true;
        if (i == 0 && (c == QLatin1Char(';') || c == QLatin1Char('[')))
            esc = true;
        if (esc)
            out += QLatin1Char('%') + QString::number(c.unicode(), 16).rightJustified(2, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

QString Unescape(const QString& S)
{
    if (!S.contains(QLatin1Char('%')))
        return S;
    auto hexDigit
        = [](QChar c) { return std::isxdigit(static_cast<unsigned char>(c.toLatin1())) && c.unicode() < 128; };
    QString out;
    const qsizetype n = S.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (S[i] == QLatin1Char('%') && i + 2 < n && hexDigit(S[i + 1]) && hexDigit(S[i + 2])) {
            out += QChar(S.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
            continue;
        }
        out += S[i];
    }
    return out;
}

QStringList SplitPath(const QString& Path)
{
    return Path.split(kSep, Qt::SkipEmptyParts);
}

bool LoadStore(TIniStore& Store, QString* Error)
{
    Store.Clear();
    Store.CaseSensitive = false;
    const QString file = TRegistry::StorageFile();
    if (!FileExists(file))
        return true;
    try {
        Store.Parse(LoadTextFile(file, TTextEncoding::UTF8NoBOM));
        return true;
    } catch (const Exception& e) {
        if (Error)
            *Error = e.Message();
        return false;
    }
}

TIniStore LoadForReading()
{
    TIniStore store;
    LoadStore(store, nullptr);
    return store;
}

TIniStore LoadForWriting()
{
    // A store that exists but cannot be read is never overwritten.
    TIniStore store;
    QString err;
    if (!LoadStore(store, &err))
        throw ERegistryException(err);
    return store;
}

void SaveStore(const TIniStore& Store)
{
    const QString file = TRegistry::StorageFile();
    ForceDirectories(QFileInfo(file).absolutePath());
    const TSaveResult r = SaveTextFile(file, Store.Serialize(), TTextEncoding::UTF8NoBOM);
    if (!r)
        throw ERegistryException(r.Error);
}

bool IsUnder(const QString& Section, const QString& Parent)
{
    return Section.size() > Parent.size() && Section.startsWith(Parent, Qt::CaseInsensitive)
        && Section[Parent.size()] == kSep;
}

} // namespace

struct TRegChangeWaiter::TState {
    QString Section;
    std::mutex Mutex;
    std::condition_variable Cond;
    bool Signalled = false;
    bool Cancelled = false;
};

namespace {

std::mutex& WaitersMutex()
{
    static std::mutex m;
    return m;
}

std::vector<std::weak_ptr<TRegChangeWaiter::TState>>& Waiters()
{
    static std::vector<std::weak_ptr<TRegChangeWaiter::TState>> v;
    return v;
}

// Wakes the waiters on the changed key and on every key above it.
void NotifyChange(const QString& Section)
{
    std::vector<std::shared_ptr<TRegChangeWaiter::TState>> hit;
    {
        std::lock_guard<std::mutex> lock(WaitersMutex());
        auto& list = Waiters();
        list.erase(std::remove_if(list.begin(), list.end(), [](const auto& w) { return w.expired(); }), list.end());
        for (const auto& w : list) {
            auto st = w.lock();
            if (st
                && (QString::compare(Section, st->Section, Qt::CaseInsensitive) == 0 || IsUnder(Section, st->Section)))
                hit.push_back(std::move(st));
        }
    }
    for (const auto& st : hit) {
        {
            std::lock_guard<std::mutex> lock(st->Mutex);
            st->Signalled = true;
        }
        st->Cond.notify_all();
    }
}

} // namespace

// ---------------------------------------------------------------------------
// TRegChangeWaiter

TRegChangeWaiter::TRegChangeWaiter(HKEY Root, const QString& Key)
    : FState(std::make_shared<TState>())
{
    QString s = RootName(Root);
    for (const QString& part : SplitPath(Key))
        s += kSep + Escape(part);
    FState->Section = s;
    std::lock_guard<std::mutex> lock(WaitersMutex());
    Waiters().push_back(FState);
}

TRegChangeWaiter::~TRegChangeWaiter()
{
    Cancel();
}

bool TRegChangeWaiter::Wait(int TimeoutMs)
{
    std::unique_lock<std::mutex> lock(FState->Mutex);
    auto ready = [this] { return FState->Signalled || FState->Cancelled; };
    if (TimeoutMs < 0)
        FState->Cond.wait(lock, ready);
    else
        FState->Cond.wait_for(lock, std::chrono::milliseconds(TimeoutMs), ready);
    return FState->Signalled && !FState->Cancelled;
}

void TRegChangeWaiter::Reset()
{
    std::lock_guard<std::mutex> lock(FState->Mutex);
    FState->Signalled = false;
}

void TRegChangeWaiter::Cancel()
{
    {
        std::lock_guard<std::mutex> lock(FState->Mutex);
        FState->Cancelled = true;
    }
    FState->Cond.notify_all();
}

bool TRegChangeWaiter::Cancelled() const
{
    std::lock_guard<std::mutex> lock(FState->Mutex);
    return FState->Cancelled;
}

// ---------------------------------------------------------------------------
// TRegistry

QString TRegistry::StorageFile()
{
    std::lock_guard<std::recursive_mutex> lock(StoreMutex());
    if (!StorageOverride().isEmpty())
        return StorageOverride();
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (dir.isEmpty())
        dir = JoinPath(
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation), QStringLiteral("Morvantile_HART"));
    return JoinPath(dir, QStringLiteral("registry.ini"));
}

void TRegistry::SetStorageFile(const QString& FileName)
{
    std::lock_guard<std::recursive_mutex> lock(StoreMutex());
    StorageOverride() = FileName;
}

void TRegistry::SetRootKey(HKEY Value)
{
    CloseKey();
    FRootKey = Value;
}

QString TRegistry::Resolve(const QString& Key) const
{
    QStringList parts;
    if (!Key.startsWith(kSep) && FKeyOpen)
        parts = SplitPath(FCurrentPath);
    parts += SplitPath(Key);
    return parts.join(kSep);
}

QString TRegistry::SectionOf(const QString& Path) const
{
    QString s = RootName(FRootKey);
    for (const QString& part : SplitPath(Path))
        s += kSep + Escape(part);
    return s;
}

void TRegistry::CheckWritable() const
{
    if (FKeyOpen && FReadOnly)
        throw ERegistryException(QStringLiteral("Key \"%1\" is open for reading only").arg(FCurrentPath));
}

bool TRegistry::KeyExists(const QString& Key) const
{
    const QString path = Resolve(Key);
    if (path.isEmpty())
        return true;
    const QString sect = SectionOf(path);
    std::lock_guard<std::recursive_mutex> lock(StoreMutex());
    const TIniStore store = LoadForReading();
    for (const QString& s : store.SectionNames()) {
        if (QString::compare(s, sect, Qt::CaseInsensitive) == 0 || IsUnder(s, sect))
            return true;
    }
    return false;
}

bool TRegistry::OpenKey(const QString& Key, bool CanCreate)
{
    const QString path = Resolve(Key);
    if (!KeyExists(QString(kSep) + path)) {
        if (!CanCreate)
            return false;
        std::lock_guard<std::recursive_mutex> lock(StoreMutex());
        try {
            TIniStore store = LoadForWriting();
            store.AddSection(SectionOf(path));
            SaveStore(store);
        } catch (const ERegistryException&) {
            return false;
        }
    }
    FCurrentPath = path;
    FKeyOpen = true;
    FReadOnly = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const QString& Key)
{
    const QString path = Resolve(Key);
    if (!KeyExists(QString(kSep) + path))
        return false;
    FCurrentPath = path;
    FKeyOpen = true;
    FReadOnly = true;
    return true;
}

void TRegistry::CloseKey()
{
    FKeyOpen = false;
    FReadOnly = false;
    FCurrentPath.clear();
}

bool TRegistry::DeleteKey(const QString& Key)
{
    const QString path = Resolve(Key);
    if (path.isEmpty())
        return false;
    const QString sect = SectionOf(path);
    std::lock_guard<std::recursive_mutex> lock(StoreMutex());
    TIniStore store;
    try {
        store = LoadForWriting();
    } catch (const ERegistryException&) {
        return false;
    }
    bool removed = false;
    for (const QString& s : store.SectionNames()) {
        if (QString::compare(s, sect, Qt::CaseInsensitive) == 0 || IsUnder(s, sect)) {
            store.EraseSection(s);
            removed = true;
        }
    }
    if (!removed)
        return false;
    try {
        SaveStore(store);
    } catch (const ERegistryException&) {
        return false;
    }
    NotifyChange(sect);
    return true;
}

bool TRegistry::ValueExists(const QString& Name) const
{
    std::lock_guard<std::recursive_mutex> lock(StoreMutex());
    QString v;
    return LoadForReading().Read(SectionOf(FCurrentPath), Escape(Name), v);
}

bool TRegistry::DeleteValue(const QString& Name)
{
    CheckWritable();
    std::lock_guard<std::recursive_mutex> lock(StoreMutex());
    TIniStore store = LoadForWriting();
    QString v;
    const QString sect = SectionOf(FCurrentPath);
    if (!store.Read(sect, Escape(Name), v))
        return false;
    store.DeleteKey(sect, Escape(Name));
    SaveStore(store);
    NotifyChange(sect);
    return true;
}

void TRegistry::GetValueNames(TStrings* Strings) const
{
    if (!Strings)
        return;
    QStringList names;
    {
        std::lock_guard<std::recursive_mutex> lock(StoreMutex());
        names = LoadForReading().Keys(SectionOf(FCurrentPath));
    }
    Strings->BeginUpdate();
    Strings->Clear();
    for (const QString& n : names)
        Strings->Add(Unescape(n));
    Strings->EndUpdate();
}

void TRegistry::GetKeyNames(TStrings* Strings) const
{
    if (!Strings)
        return;
    const QString sect = SectionOf(FCurrentPath);
    QStringList sections;
    {
        std::lock_guard<std::recursive_mutex> lock(StoreMutex());
        sections = LoadForReading().SectionNames();
    }
    QStringList children;
    for (const QString& s : sections) {
        if (!IsUnder(s, sect))
            continue;
        const QString child = s.mid(sect.size() + 1).section(kSep, 0, 0);
        if (!child.isEmpty() && !children.contains(child, Qt::CaseInsensitive))
            children << child;
    }
    Strings->BeginUpdate();
    Strings->Clear();
    for (const QString& c : children)
        Strings->Add(Unescape(c));
    Strings->EndUpdate();
}

QString TRegistry::ReadString(const QString& Name) const
{
    std::lock_guard<std::recursive_mutex> lock(StoreMutex());
    QString v;
    return LoadForReading().Read(SectionOf(FCurrentPath), Escape(Name), v) ? Unescape(v) : QString();
}

void TRegistry::WriteString(const QString& Name, const QString& Value)
{
    CheckWritable();
    std::lock_guard<std::recursive_mutex> lock(StoreMutex());
    TIniStore store = LoadForWriting();
    const QString sect = SectionOf(FCurrentPath);
    store.Write(sect, Escape(Name), Escape(Value));
    SaveStore(store);
    NotifyChange(sect);
}

int TRegistry::ReadInteger(const QString& Name) const
{
    QString v;
    {
        std::lock_guard<std::recursive_mutex> lock(StoreMutex());
        if (!LoadForReading().Read(SectionOf(FCurrentPath), Escape(Name), v))
            throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(Name));
    }
    int i = 0;
    if (!TryStrToInt(Unescape(v), i))
        throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(Name));
    return i;
}

void TRegistry::WriteInteger(const QString& Name, int Value)
{
    WriteString(Name, QString::number(Value));
}

bool TRegistry::ReadBool(const QString& Name) const
{
    return ReadInteger(Name) != 0;
}

void TRegistry::WriteBool(const QString& Name, bool Value)
{
    WriteInteger(Name, Value ? 1 : 0);
}

// ---------------------------------------------------------------------------
// TRegIniFile

TRegIniFile::TRegIniFile(const QString& KeyPath, HKEY Root)
    : TCustomIniFile(KeyPath)
    , FRoot(Root)
{
}

QString TRegIniFile::SubKey(const QString& Section) const
{
    QString k = QString(kSep) + FFileName;
    if (!Section.isEmpty())
        k += kSep + Section;
    return k;
}

QString TRegIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default) const
{
    TRegistry reg;
    reg.SetRootKey(FRoot);
    if (reg.OpenKeyReadOnly(SubKey(Section)) && reg.ValueExists(Ident))
        return reg.ReadString(Ident);
    return Default;
}

void TRegIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value)
{
    TRegistry reg;
    reg.SetRootKey(FRoot);
    if (!reg.OpenKey(SubKey(Section), true))
        throw ERegistryException(QStringLiteral("Failed to create key %1").arg(SubKey(Section)));
    reg.WriteString(Ident, Value);
}

void TRegIniFile::ReadSection(const QString& Section, TStrings* Strings) const
{
    if (!Strings)
        return;
    TRegistry reg;
    reg.SetRootKey(FRoot);
    if (reg.OpenKeyReadOnly(SubKey(Section)))
        reg.GetValueNames(Strings);
    else
        Strings->Clear();
}

void TRegIniFile::ReadSections(TStrings* Strings) const
{
    if (!Strings)
        return;
    TRegistry reg;
    reg.SetRootKey(FRoot);
    if (reg.OpenKeyReadOnly(SubKey(QString())))
        reg.GetKeyNames(Strings);
    else
        Strings->Clear();
}

void TRegIniFile::ReadSectionValues(const QString& Section, TStrings* Strings) const
{
    if (!Strings)
        return;
    TStringList names;
    ReadSection(Section, &names);
    TRegistry reg;
    reg.SetRootKey(FRoot);
    reg.OpenKeyReadOnly(SubKey(Section));
    Strings->BeginUpdate();
    Strings->Clear();
    for (int i = 0; i < names.Count(); ++i)
        Strings->Add(names.Strings(i) + QLatin1Char('=') + reg.ReadString(names.Strings(i)));
    Strings->EndUpdate();
}

void TRegIniFile::EraseSection(const QString& Section)
{
    TRegistry reg;
    reg.SetRootKey(FRoot);
    reg.DeleteKey(SubKey(Section));
}

void TRegIniFile::DeleteKey(const QString& Section, const QString& Ident)
{
    TRegistry reg;
    reg.SetRootKey(FRoot);
    if (reg.OpenKey(SubKey(Section), false))
        reg.DeleteValue(Ident);
}
