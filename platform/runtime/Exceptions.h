#pragma once
// The toolkit's exception family: every error carries its message text.

#include <QByteArray>
#include <QString>
#include <exception>

class Exception : public std::exception {
public:
    explicit Exception(const QString& msg) : FMessage(msg), FUtf8(msg.toUtf8()) {}
    const QString& Message() const noexcept { return FMessage; }
    void SetMessage(const QString& msg)
    {
        FMessage = msg;
        FUtf8 = msg.toUtf8();
    }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

#define MORV_DECLARE_EXCEPTION(Name, Base)                                     \
    class Name : public Base {                                                 \
    public:                                                                    \
        using Base::Base;                                                      \
    };

MORV_DECLARE_EXCEPTION(EAbort, Exception)
MORV_DECLARE_EXCEPTION(EConvertError, Exception)
MORV_DECLARE_EXCEPTION(EListError, Exception)
MORV_DECLARE_EXCEPTION(EStringListError, Exception)
MORV_DECLARE_EXCEPTION(EInOutError, Exception)
MORV_DECLARE_EXCEPTION(EStreamError, Exception)
MORV_DECLARE_EXCEPTION(EFOpenError, EStreamError)
MORV_DECLARE_EXCEPTION(EFCreateError, EStreamError)
MORV_DECLARE_EXCEPTION(EReadError, EStreamError)
MORV_DECLARE_EXCEPTION(EWriteError, EStreamError)
MORV_DECLARE_EXCEPTION(EOSError, Exception)
MORV_DECLARE_EXCEPTION(EInvalidOperation, Exception)
MORV_DECLARE_EXCEPTION(EInvalidArgument, Exception)
MORV_DECLARE_EXCEPTION(EInvalidCast, Exception)
MORV_DECLARE_EXCEPTION(EOutOfResources, Exception)
MORV_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
MORV_DECLARE_EXCEPTION(EXmlError, Exception)
MORV_DECLARE_EXCEPTION(ENetError, Exception)
