#include "platform/runtime/ClassRegistry.h"

#include <QMutex>
#include <QMutexLocker>
#include <utility>
#include <vector>

namespace {
struct TRegistry {
    QMutex Mutex;
    // Registration order is kept for RegisteredClassNames; a few dozen classes.
    std::vector<std::pair<QString, TComponentFactory>> Classes;

    auto Find(const QString& Name)
    {
        const QString key = Name.toCaseFolded();
        auto it = Classes.begin();
        for (; it != Classes.end(); ++it)
            if (it->first.toCaseFolded() == key)
                break;
        return it;
    }
};

TRegistry& Registry()
{
    static TRegistry r;
    return r;
}
} // namespace

void RegisterClass(const QString& Name, TComponentFactory Factory)
{
    if (Name.isEmpty() || !Factory)
        throw EFilerError(QStringLiteral("Invalid class registration"));
    TRegistry& r = Registry();
    QMutexLocker lock(&r.Mutex);
    const auto it = r.Find(Name);
    if (it != r.Classes.end()) {
        if (it->second == Factory)
            return;
        throw EFilerError(QStringLiteral("A class named %1 already exists").arg(Name));
    }
    r.Classes.emplace_back(Name, Factory);
}

void UnRegisterClass(const QString& Name)
{
    TRegistry& r = Registry();
    QMutexLocker lock(&r.Mutex);
    const auto it = r.Find(Name);
    if (it != r.Classes.end())
        r.Classes.erase(it);
}

TComponentFactory GetClass(const QString& Name)
{
    TRegistry& r = Registry();
    QMutexLocker lock(&r.Mutex);
    const auto it = r.Find(Name);
    return it == r.Classes.end() ? nullptr : it->second;
}

TComponentFactory FindClass(const QString& Name)
{
    if (TComponentFactory f = GetClass(Name))
        return f;
    throw EClassNotFound(QStringLiteral("Class %1 not found").arg(Name));
}

QStringList RegisteredClassNames()
{
    TRegistry& r = Registry();
    QMutexLocker lock(&r.Mutex);
    QStringList names;
    for (const auto& [name, factory] : r.Classes)
        names << name;
    return names;
}
