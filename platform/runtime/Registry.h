#pragma once
// The registry, kept as one INI file in the user's configuration folder: each
// key is a section named by its root and path
// ("HKEY_CURRENT_USER\Software\Maker\Grid"), each value a line in it. Key and
// value names ignore letter case, as the registry's do.

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/IniFiles.h"
#include "platform/runtime/Object.h"

#include <QString>
#include <QtGlobal>

#include <memory>

MORV_DECLARE_EXCEPTION(ERegistryException, Exception)

using HKEY = quint32;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKEY HKEY_USERS = 0x80000003u;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

class TStrings;

class TRegistry : public TObject {
public:
    TRegistry() = default;

    HKEY RootKey() const { return FRootKey; }
    // Closes the open key.
    void SetRootKey(HKEY Value);
    // The open key's path, without the root; empty when none is open.
    const QString& CurrentPath() const { return FCurrentPath; }

    // A key path is relative to the open key unless it starts with "\".
    // CanCreate creates the key (and its parents) when missing.
    bool OpenKey(const QString& Key, bool CanCreate);
    bool OpenKeyReadOnly(const QString& Key);
    void CloseKey();
    bool KeyExists(const QString& Key) const;
    // Removes the key with all its sub-keys and values.
    bool DeleteKey(const QString& Key);

    // Values of the open key (of the root when none is open). Writes raise
    // ERegistryException when the key is read-only or the store cannot be saved.
    bool ValueExists(const QString& Name) const;
    bool DeleteValue(const QString& Name);
    void GetValueNames(TStrings* Strings) const;
    void GetKeyNames(TStrings* Strings) const;
    QString ReadString(const QString& Name) const; // empty when missing
    void WriteString(const QString& Name, const QString& Value);
    // A missing value or one that is no integer raises ERegistryException.
    int ReadInteger(const QString& Name) const;
    void WriteInteger(const QString& Name, int Value);
    bool ReadBool(const QString& Name) const;
    void WriteBool(const QString& Name, bool Value);

    // The INI file behind every registry object of the process: by default
    // "registry.ini" in the application's configuration folder. Tests point it
    // into a temporary folder; an empty name restores the default.
    static QString StorageFile();
    static void SetStorageFile(const QString& FileName);

private:
    HKEY FRootKey = HKEY_CURRENT_USER;
    QString FCurrentPath;
    bool FKeyOpen = false;
    bool FReadOnly = false;

    QString Resolve(const QString& Key) const;
    QString SectionOf(const QString& Path) const;
    void CheckWritable() const;
};

// INI access to the registry: created on a key path under the current user's
// root; a section is a sub-key of that key and an INI key a value name in it.
// Every change is saved at once, so UpdateFile has nothing left to do.
class TRegIniFile : public TCustomIniFile {
public:
    explicit TRegIniFile(const QString& KeyPath, HKEY Root = HKEY_CURRENT_USER);

    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const override;
    void WriteString(const QString& Section, const QString& Ident, const QString& Value) override;
    void ReadSection(const QString& Section, TStrings* Strings) const override;
    void ReadSections(TStrings* Strings) const override;
    void ReadSectionValues(const QString& Section, TStrings* Strings) const override;
    void EraseSection(const QString& Section) override;
    void DeleteKey(const QString& Section, const QString& Ident) override;
    void UpdateFile() override { }

private:
    HKEY FRoot;
    QString SubKey(const QString& Section) const;
};

// Waits for changes of the values under one key, its sub-keys included,
// written through any TRegistry of this process. A change that arrives while
// nobody waits is kept until Reset, so none slips between two waits.
class TRegChangeWaiter {
public:
    TRegChangeWaiter(HKEY Root, const QString& Key);
    ~TRegChangeWaiter();
    TRegChangeWaiter(const TRegChangeWaiter&) = delete;
    TRegChangeWaiter& operator=(const TRegChangeWaiter&) = delete;

    // True once a change has arrived (since creation or the last Reset);
    // false when cancelled or after TimeoutMs (negative: no limit).
    bool Wait(int TimeoutMs = -1);
    void Reset();
    // Releases every present and future Wait with false; callable from any thread.
    void Cancel();
    bool Cancelled() const;

    struct TState;

private:
    std::shared_ptr<TState> FState;
};
