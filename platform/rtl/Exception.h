#pragma once
// The exception family every layer raises: the message is a QString, read
// through Message(), and what() gives it as UTF-8 for std::exception users.

#include <QByteArray>
#include <QString>
#include <exception>

class Exception : public std::exception {
public:
    explicit Exception(const QString& msg = QString());
    ~Exception() override;

    const QString& Message() const { return FMessage; }
    void SetMessage(const QString& msg);
    const char* what() const noexcept override { return FWhat.constData(); }

private:
    QString FMessage;
    QByteArray FWhat;
};

// Kinds used across the layers; each only narrows what a handler may catch.
#define SORVEX_EXCEPTION_KIND(Name, Base)                       \
    class Name : public Base {                                  \
    public:                                                     \
        explicit Name(const QString& msg = QString()) : Base(msg) {} \
    };

SORVEX_EXCEPTION_KIND(EConvertError, Exception)
SORVEX_EXCEPTION_KIND(EInOutError, Exception)
SORVEX_EXCEPTION_KIND(EFileStreamError, EInOutError)
SORVEX_EXCEPTION_KIND(EArgumentException, Exception)
SORVEX_EXCEPTION_KIND(EArgumentOutOfRangeException, EArgumentException)
SORVEX_EXCEPTION_KIND(EListError, Exception)
SORVEX_EXCEPTION_KIND(EStringListError, EListError)
SORVEX_EXCEPTION_KIND(EInvalidOperation, Exception)
SORVEX_EXCEPTION_KIND(EInvalidPointer, Exception)
SORVEX_EXCEPTION_KIND(ENotSupportedException, Exception)
SORVEX_EXCEPTION_KIND(EOSError, Exception)
SORVEX_EXCEPTION_KIND(EIniFileException, Exception)
SORVEX_EXCEPTION_KIND(EVariantError, Exception)
SORVEX_EXCEPTION_KIND(EOverflow, Exception)
SORVEX_EXCEPTION_KIND(EDivByZero, Exception)
SORVEX_EXCEPTION_KIND(EOutOfMemory, Exception)

// A silent exception: handlers that report errors let it pass unreported.
SORVEX_EXCEPTION_KIND(EAbort, Exception)

// Raises EAbort with the usual text.
[[noreturn]] void Abort();

// The message of any exception: Message() for ours, what() as UTF-8 for others.
QString ExceptionMessage(const std::exception& e);
