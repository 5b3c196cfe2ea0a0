#include "devices/serial/SerErrors.h"

#include "devices/serial/SerMessageTable.h"
#include "devices/serial/SerTypes.h"
#include "platform/rtl/Component.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>

namespace {

// Half-way rounds to the even neighbour, as the table's search always did.
int RoundHalfEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

using TRaiser = std::function<void(int)>;

const std::map<int, TRaiser>& Raisers()
{
    static const std::map<int, TRaiser> table = [] {
        std::map<int, TRaiser> m;
#define SER_RAISER(Code, Name, Group) m[Code] = [](int c) { throw Name(c); };
#define SER_RAISER_TAPI(Code, Name) m[Code] = [](int c) { throw Name(c); };
        SER_EXCEPTION_LEAVES(SER_RAISER)
        SER_TAPI_LEAVES(SER_RAISER_TAPI)
#undef SER_RAISER
#undef SER_RAISER_TAPI
        for (int c : {-6006, -6008, -6009})
            m[c] = [](int code) { throw EProtocol(code); };
        return m;
    }();
    return table;
}

}  // namespace

ESerException::ESerException(int Code, bool PassThru)
    : Exception(DorvLoadStr(MapCodeToStringID(Code)))
    , ErrorCode(Code)
{
    (void)PassThru;
}

ESerException::ESerException(const QString& Text)
    : Exception(Text)
{
}

ESerException ESerException::CreateUnknown(const QString& Text, bool PassThru)
{
    (void)PassThru;
    return ESerException(Text);
}

QString MessageNumberToString(int Code)
{
    const int key = std::abs(Code);
    int low = 0;
    int high = SerMessageCount - 1;
    while (low <= high) {
        const int middle = RoundHalfEven((low + high) / 2.0);
        const int at = std::abs(SerMessageNumberLookup[middle].MessageNumber);
        if (key == at)
            return QString::fromLatin1(SerMessageNumberLookup[middle].MessageString);
        if (key < at)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return QString();
}

QString DorvLoadStr(int Code)
{
    const QString s = MessageNumberToString(Code);
    if (!s.isEmpty())
        return s;
    const int n = std::abs(Code);
    if (n > 0 && n < 134)
        return QString::fromLocal8Bit(std::strerror(n));
    return QString();
}

int MessageTableSize()
{
    return SerMessageCount;
}

void RaiseSerError(int Code)
{
    const auto& raisers = Raisers();
    auto it = raisers.find(Code);
    if (it != raisers.end())
        it->second(Code);
    if (Code == ecOutOfMemory)
        throw EOutOfMemory(QStringLiteral("Out of memory"));
    if (Code <= -2 && Code >= -162)
        throw ESerInOutError(DorvLoadStr(-Code), -Code);
    throw ESerException::CreateUnknown(QStringLiteral("Dorv exception"));
}

int CheckException(const TComponent* Component, int Code)
{
    if (Code >= 0)
        return Code;
    if (Component && Component->Loading())
        return Code;
    RaiseSerError(Code);
}
