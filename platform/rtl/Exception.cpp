#include "platform/rtl/Exception.h"

Exception::Exception(const QString& msg) : FMessage(msg), FWhat(msg.toUtf8()) {}

Exception::~Exception() = default;

void Exception::SetMessage(const QString& msg)
{
    FMessage = msg;
    FWhat = msg.toUtf8();
}

void Abort()
{
    throw EAbort(QStringLiteral("Operation aborted"));
}

QString ExceptionMessage(const std::exception& e)
{
    if (auto* ours = dynamic_cast<const Exception*>(&e))
        return ours->Message();
    return QString::fromUtf8(e.what());
}
