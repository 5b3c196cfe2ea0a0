#include "tasks/WeftCommon.h"

#include <algorithm>
#include <pthread.h>

TWeftAlignedInt64 WeftUID(0);

// --- Executable --------------------------------------------------------------

QString WeftExecutableKindName(TWeftExecutableKind kind)
{
    switch (kind) {
    case oekNull: return QStringLiteral("oekNull");
    case oekProcedure: return QStringLiteral("oekProcedure");
    case oekMethod: return QStringLiteral("oekMethod");
    case oekDelegate: return QStringLiteral("oekDelegate");
    }
    return QString::number(int(kind));
}

void TWeftExecutable::SetProc(TWeftProcedure value)
{
    oeProcedure = value;
    oeKind = value ? oekProcedure : oekNull;
}

void TWeftExecutable::SetMethod(const TMethod& value)
{
    if (value.Code && value.Data) {
        oeMethod = value;
        oeKind = oekMethod;
    } else {
        oeKind = oekNull;
    }
}

void TWeftExecutable::SetDelegate(const TWeftDelegate& value)
{
    if (value) {
        AnonCopy(oeDelegate, value);
        oeKind = oekDelegate;
    } else {
        oeKind = oekNull;
    }
}

void TWeftExecutable::CheckKind(TWeftExecutableKind expected) const
{
    if (oeKind != expected)
        throw Exception(QStringLiteral("TWeftExecutable: Wrong kind of executable %1, expected %2")
                            .arg(WeftExecutableKindName(oeKind), WeftExecutableKindName(expected)));
}

TWeftProcedure TWeftExecutable::GetProc() const
{
    CheckKind(oekProcedure);
    return oeProcedure;
}

TMethod TWeftExecutable::GetMethod() const
{
    CheckKind(oekMethod);
    return oeMethod;
}

const TWeftDelegate& TWeftExecutable::GetDelegate() const
{
    CheckKind(oekDelegate);
    return oeDelegate;
}

void TWeftExecutable::Execute() const
{
    switch (oeKind) {
    case oekNull: break;
    case oekProcedure: oeProcedure(); break;
    case oekMethod: InvokeMethod<>(oeMethod); break;
    case oekDelegate: oeDelegate(); break;
    }
}

// --- Message id ----------------------------------------------------------------

TWeftMessageID::TWeftMessageID(const QString& value) : omidMessageType(mitString)
{
    // A private copy, not shared with the caller's text.
    omidString = QString(value.constData(), value.size());
}

TWeftMessageID TWeftMessageID::Create(const std::function<void(int32_t)>& anon)
{
    TWeftMessageID id;
    id.omidAnon = anon;
    id.omidMessageType = mitAnon;
    return id;
}

int32_t TWeftMessageID::AsInteger() const
{
    WeftAssert(omidMessageType == mitInteger, "TWeftMessageID: not an integer message id");
    return omidInteger;
}

QString TWeftMessageID::AsText() const
{
    WeftAssert(omidMessageType == mitString, "TWeftMessageID: not a string message id");
    return omidString;
}

void* TWeftMessageID::AsPointer() const
{
    WeftAssert(omidMessageType == mitPointer, "TWeftMessageID: not a pointer message id");
    return omidPointer;
}

const std::function<void(int32_t)>& TWeftMessageID::AsAnon() const
{
    WeftAssert(omidMessageType == mitAnon, "TWeftMessageID: not a procedure message id");
    return omidAnon;
}

QString TWeftMessageID::AsString() const
{
    switch (omidMessageType) {
    case mitInteger: return QString::number(omidInteger);
    case mitString: return omidString;
    case mitPointer:
        return QStringLiteral("%1").arg(quintptr(omidPointer), 16, 16, QLatin1Char('0')).toUpper();
    case mitAnon: break;
    }
    throw Exception(QStringLiteral("TWeftMessageID.AsString: Unexpected message type %1").arg(int(omidMessageType)));
}

// --- Counter ---------------------------------------------------------------------

namespace {

class TWeftCounterImpl final : public IWeftCounter {
public:
    explicit TWeftCounterImpl(int32_t value) : ocValue(value) {}
    int32_t GetValue() const override { return ocValue.Value(); }
    void SetValue(int32_t value) override { ocValue.SetValue(value); }
    int32_t Increment() override { return ocValue.Increment(); }
    int32_t Decrement() override { return ocValue.Decrement(); }
    int32_t Take(int32_t count) override
    {
        for (;;) {
            const int32_t current = ocValue.Value();
            if (current <= 0)
                return 0;
            const int32_t next = std::max(current - count, 0);
            if (ocValue.CAS(current, next))
                return current - next;
        }
    }

private:
    TWeftAlignedInt32 ocValue;
};

}  // namespace

PWeftCounter CreateCounter(int32_t initialValue)
{
    return std::make_shared<TWeftCounterImpl>(initialValue);
}

// --- Integer set -------------------------------------------------------------------

TWeftIntegerSet::TWeftIntegerSet(const TWeftIntegerSet& value) : IInterface()
{
    Assign(value);
}

void TWeftIntegerSet::CheckIndex(int32_t n) const
{
    if (n < 0 || n >= int32_t(FBits.size()))
        throw EListError(QStringLiteral("Bits index out of range"));
}

void TWeftIntegerSet::Changed()
{
    FHasValueCopy = false;
    FValueCopy.clear();
    if (FOnChange)
        FOnChange(*this);
}

const std::vector<int32_t>& TWeftIntegerSet::Members() const
{
    if (!FHasValueCopy) {
        FValueCopy.clear();
        for (size_t i = 0; i < FBits.size(); ++i)
            if (FBits[i])
                FValueCopy.push_back(int32_t(i));
        FHasValueCopy = true;
    }
    return FValueCopy;
}

std::vector<int32_t> TWeftIntegerSet::GetAsIntArray() const
{
    return Members();
}

void TWeftIntegerSet::SetAsIntArray(const std::vector<int32_t>& value)
{
    const uint64_t before = GetAsMask();
    int32_t top = 0;
    for (int32_t n : value) {
        if (n < 0)
            throw EListError(QStringLiteral("Bits index out of range"));
        top = std::max(top, n + 1);
    }
    FBits.assign(size_t(std::max(top, 1)), false);
    for (int32_t n : value)
        FBits[size_t(n)] = true;
    FHasValueCopy = false;
    if (GetAsMask() != before)
        Changed();
}

void TWeftIntegerSet::SetAsBits(const std::vector<bool>& value)
{
    const uint64_t before = GetAsMask();
    size_t top = 0;
    for (size_t i = 0; i < value.size(); ++i)
        if (value[i])
            top = i + 1;
    FBits.assign(value.begin(), value.begin() + std::ptrdiff_t(top));
    if (FBits.empty())
        FBits.assign(1, false);
    FHasValueCopy = false;
    if (GetAsMask() != before)
        Changed();
}

uint64_t TWeftIntegerSet::GetAsMask() const
{
    if (FBits.size() > 64)
        throw Exception(QStringLiteral("Cannot convert %1 elements to a 8-byte mask").arg(FBits.size()));
    uint64_t m = 0;
    for (size_t i = 0; i < FBits.size(); ++i)
        if (FBits[i])
            m |= uint64_t(1) << i;
    return m;
}

void TWeftIntegerSet::SetAsMask(uint64_t value)
{
    const uint64_t before = GetAsMask();
    FBits.assign(64, false);
    for (size_t i = 0; i < 64; ++i)
        FBits[i] = (value >> i) & 1;
    if (!(value >> 63)) {
        size_t top = 0;
        for (size_t i = 0; i < 64; ++i)
            if (FBits[i])
                top = i + 1;
        FBits.resize(std::max<size_t>(top, 1));
    }
    FHasValueCopy = false;
    if (GetAsMask() != before)
        Changed();
}

int32_t TWeftIntegerSet::GetItem(int idx) const
{
    const auto& m = Members();
    WeftAssert(idx >= 0 && idx < int(m.size()), "TWeftIntegerSet.GetItem: Index out of range");
    return m[size_t(idx)];
}

bool TWeftIntegerSet::Add(int32_t n)
{
    if (n < 0)
        throw EListError(QStringLiteral("Bits index out of range"));
    if (size_t(n) >= FBits.size())
        FBits.resize(size_t(n) + 1, false);
    const bool was = FBits[size_t(n)];
    FBits[size_t(n)] = true;
    if (!was)
        Changed();
    return was;
}

void TWeftIntegerSet::Assign(const TWeftIntegerSet& other)
{
    if (&other == this)
        return;
    const uint64_t before = GetAsMask();
    FBits = other.FBits;
    FHasValueCopy = false;
    if (GetAsMask() != before)
        Changed();
}

bool TWeftIntegerSet::Contains(int32_t n) const
{
    return n >= 0 && size_t(n) < FBits.size() && FBits[size_t(n)];
}

int TWeftIntegerSet::Count() const
{
    return int(Members().size());
}

bool TWeftIntegerSet::IsEmpty() const
{
    return std::find(FBits.begin(), FBits.end(), true) == FBits.end();
}

bool TWeftIntegerSet::Remove(int32_t n)
{
    CheckIndex(n);
    const bool was = FBits[size_t(n)];
    FBits[size_t(n)] = false;
    if (was)
        Changed();
    return was;
}

// --- Dictionary --------------------------------------------------------------------

IInterfacePtr TWeftInterfaceDictionary::ValueOf(int64_t key) const
{
    auto it = FDictionary.find(key);
    return it == FDictionary.end() ? nullptr : it->second;
}

PWeftInterfaceDictionary CreateInterfaceDictionary()
{
    return std::make_shared<TWeftInterfaceDictionary>();
}

// --- Waitable value ------------------------------------------------------------------

TWeftValue TWeftWaitableValue::GetValue() const
{
    std::lock_guard lock(FLock);
    return FValue;
}

void TWeftWaitableValue::Signal(const TWeftValue& data)
{
    {
        std::lock_guard lock(FLock);
        FValue = data;
    }
    SetEvent(FEvent);
}

// --- Utilities -------------------------------------------------------------------------

namespace {
thread_local QString tThreadName;
}

void SetThreadName(const QString& name)
{
    // A deep copy: the thread-local name must not share its text with strings
    // other threads hold and free.
    // Pooled threads are named again for every task, mostly with the same
    // name: compare before copying.
    const QStringView view = QStringView(name).left(255);
    if (view == QStringView(tThreadName))
        return;
    const QString n(view.data(), view.size());
    tThreadName = n;
    ::pthread_setname_np(::pthread_self(), n.left(15).toUtf8().left(15).constData());
}

QString CurrentThreadName()
{
    return tThreadName;
}

std::string StrPasA(const char* text)
{
    return text ? std::string(text) : std::string();
}
