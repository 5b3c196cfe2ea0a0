#pragma once
// The roots the task framework's values and lists stand on: objects that a
// tagged value or a list may hold (and own), interfaces that values carry by
// counted reference, assertion failures, and comparable method references.

#include "platform/rtl/Exception.h"

#include <QString>
#include <memory>

// An object the framework may hold: a value's object kinds, the object lists.
// ClassName() names the most derived class for diagnostics.
class TWeftObject {
public:
    TWeftObject() = default;
    virtual ~TWeftObject();
    TWeftObject(const TWeftObject&) = delete;
    TWeftObject& operator=(const TWeftObject&) = delete;
    virtual QString ClassName() const;
};

// The root of every interface a tagged value can carry (the interface kind);
// the counted reference is std::shared_ptr<IInterface>, and an "interface
// query" is std::dynamic_pointer_cast.
class IInterface {
public:
    virtual ~IInterface();
};

// A violated precondition of the framework.
SORVEX_EXCEPTION_KIND(EAssertionFailed, Exception)

inline void WeftAssert(bool condition, const char* message)
{
    if (!condition)
        throw EAssertionFailed(QString::fromUtf8(message));
}

// The demangled name of a dynamic type, as ClassName() gives it.
QString WeftTypeName(const std::type_info& type);

// A method reference that can be compared: a code pointer and its object.
// Lists of handlers use it so a handler can be found and removed again.
struct TMethod {
    void* Code = nullptr;
    void* Data = nullptr;
    bool operator==(const TMethod&) const = default;
    bool Assigned() const { return Code != nullptr; }
};

// Makes a TMethod for obj->*M; Invoke calls it with the given arguments
// (which must match M's parameters).
template <auto M, class C, class... Args>
struct TMethodTrampoline {
    static void Call(void* data, Args... args) { (static_cast<C*>(data)->*M)(args...); }
};

template <class... Args>
inline void InvokeMethod(const TMethod& m, Args... args)
{
    reinterpret_cast<void (*)(void*, Args...)>(m.Code)(m.Data, args...);
}

template <auto M, class... Args, class C>
inline TMethod MakeMethod(C* obj)
{
    return TMethod{reinterpret_cast<void*>(&TMethodTrampoline<M, C, Args...>::Call), obj};
}
