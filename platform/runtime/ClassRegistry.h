#pragma once
// Component classes known by name, for streaming: each name maps to a factory
// that makes a component of that class with a given owner.

#include <QString>
#include <QStringList>

#include "platform/runtime/Exceptions.h"

class TComponent;

MORV_DECLARE_EXCEPTION(EFilerError, Exception)
MORV_DECLARE_EXCEPTION(EClassNotFound, EFilerError)

using TComponentFactory = TComponent* (*)(TComponent* AOwner);

// Registers a class under its name (case ignored). The same factory again is
// ignored; another factory under a registered name raises EFilerError
// "A class named <name> already exists".
void RegisterClass(const QString& Name, TComponentFactory Factory);
void UnRegisterClass(const QString& Name);
// The factory of a name, or nullptr.
TComponentFactory GetClass(const QString& Name);
// The factory of a name; EClassNotFound "Class <name> not found" when unknown.
TComponentFactory FindClass(const QString& Name);
// The registered names in registration order.
QStringList RegisteredClassNames();

// The factory of a class whose constructor takes the owner.
template <class T> TComponent* ComponentFactory(TComponent* AOwner)
{
    return new T(AOwner);
}

template <class T> void RegisterClass(const QString& Name)
{
    RegisterClass(Name, &ComponentFactory<T>);
}
