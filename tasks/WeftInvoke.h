#pragma once
// Invoke messages: requests to run code on the other side of a task's
// channel, carried as ordinary task messages with the reserved id $FFFF
// whose value owns an object describing the request: a worker method by
// name or by address, an anonymous procedure taking an integer, or a
// procedure (without arguments, or taking the task) to run in the task, or
// one sent by the task to run on the owner's thread.
//
// Worker methods are found through an explicit table that the worker class
// publishes (there is no run-time method information): each entry has a
// name, a stable address (WeftMethodAddress<&C::M>()), its signature and a
// description of its parameters. Supported signatures are (Self),
// (Self, const TWeftValue&) and (Self, TWeftObject*&); anything else is
// published too, so that calling it can fail with the proper text.

#include "tasks/WeftComm.h"
#include "tasks/WeftValue.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

class IWeftTask;
using PWeftTask = std::shared_ptr<IWeftTask>;

enum TWeftInternalMessageType { imtStringMsg, imtAddressMsg, imtFuncMsg, imtAnonMsg };
QString WeftInternalMessageTypeName(TWeftInternalMessageType type);

using TWeftTaskInvokeFunction = std::function<void()>;                   // sent by the task
using TWeftTaskControlInvokeFunction = std::function<void()>;            // run in the task
using TWeftTaskControlInvokeFunctionEx = std::function<void(const PWeftTask&)>;
using TWeftInvokeAnonProc = std::function<void(int32_t)>;

class TWeftInternalMessage : public TWeftObject {
public:
    explicit TWeftInternalMessage(TWeftInternalMessageType type) : imInternalMessageType(type) {}
    TWeftInternalMessageType InternalMessageType() const { return imInternalMessageType; }
    // The carried object's type; the id must be $FFFF (assertion).
    static TWeftInternalMessageType InternalType(const TWeftMessage& msg);
    // The carried object: null, object, exception or owned-object values
    // are read, others raise "TWeftValue cannot be converted to object".
    static TWeftInternalMessage* Carried(const TWeftMessage& msg);

private:
    TWeftInternalMessageType imInternalMessageType;
};

class TWeftInternalStringMsg final : public TWeftInternalMessage {
public:
    TWeftInternalStringMsg(const QString& name, const TWeftValue& data)
        : TWeftInternalMessage(imtStringMsg), ismMsgData(data), ismMsgName(name)
    {
    }
    static TWeftMessage CreateMessage(const QString& name, const TWeftValue& data);
    static void UnpackMessage(const TWeftMessage& msg, QString& name, TWeftValue& data);

    TWeftValue ismMsgData;
    QString ismMsgName;
};

class TWeftInternalAddressMsg final : public TWeftInternalMessage {
public:
    TWeftInternalAddressMsg(void* method, const TWeftValue& data)
        : TWeftInternalMessage(imtAddressMsg), ismMsgData(data), ismMsgMethod(method)
    {
    }
    static TWeftMessage CreateMessage(void* method, const TWeftValue& data);
    static void UnpackMessage(const TWeftMessage& msg, void*& method, TWeftValue& data);

    TWeftValue ismMsgData;
    void* ismMsgMethod;
};

class TWeftInternalAnonMsg final : public TWeftInternalMessage {
public:
    TWeftInternalAnonMsg(TWeftInvokeAnonProc proc, const TWeftValue& data)
        : TWeftInternalMessage(imtAnonMsg), ismMsgData(data), ismMsgProc(std::move(proc))
    {
    }
    static TWeftMessage CreateMessage(const TWeftInvokeAnonProc& proc, const TWeftValue& data);
    static void UnpackMessage(const TWeftMessage& msg, TWeftInvokeAnonProc& proc, TWeftValue& data);

    TWeftValue ismMsgData;
    TWeftInvokeAnonProc ismMsgProc;
};

class TWeftInternalFuncMsg final : public TWeftInternalMessage {
public:
    TWeftInternalFuncMsg() : TWeftInternalMessage(imtFuncMsg) {}
    // Procedures run in the task (by the owner's Invoke).
    static TWeftMessage CreateMessage(const TWeftTaskControlInvokeFunction& func);
    static TWeftMessage CreateMessage(const TWeftTaskControlInvokeFunctionEx& funcEx);
    // A procedure the task sends to run on the owner's thread (or on itself).
    static TWeftMessage CreateTaskMessage(const TWeftTaskInvokeFunction& taskFunc);
    static void UnpackMessage(const TWeftMessage& msg, TWeftTaskControlInvokeFunction& func,
                              TWeftTaskControlInvokeFunctionEx& funcEx, TWeftTaskInvokeFunction& taskFunc);
    // True only for a message carrying a TWeftInternalFuncMsg: then the
    // task procedure is returned and the message's value becomes an empty
    // object value; otherwise the message is left untouched.
    static bool UnpackMessage(TWeftMessage& msg, TWeftTaskInvokeFunction& taskFunc);

    TWeftTaskControlInvokeFunction ifmFunc;
    TWeftTaskControlInvokeFunctionEx ifmFuncEx;
    TWeftTaskInvokeFunction ifmTaskFunc;
};

// --- Published worker methods ----------------------------------------------------------

enum TWeftInvokeType { itUnknown, itSelf, itSelfAndWeftValue, itSelfAndObject };

struct TWeftMethodParam {
    QString Name;
    QString TypeName;
    bool IsVar = false;
};

struct TWeftPublishedMethod {
    QString Name;
    void* Address = nullptr;
    TWeftInvokeType Signature = itUnknown;
    QString ResultType;           // empty: no result
    bool ExtendedInfo = true;     // false: only name and address are known
    std::vector<TWeftMethodParam> Params;  // the object itself first
    // Calls the method on self with the value; the object form receives a
    // variable holding the value read as an object.
    std::function<void(TWeftObject* self, const TWeftValue& value)> CallValue;
    std::function<void(TWeftObject* self, TWeftObject*& obj)> CallObject;
    std::function<void(TWeftObject* self)> CallSelf;
};

// A stable address for a member function (the address of its call stub).
template <auto M>
void* WeftMethodAddress();

namespace weft_detail {
template <auto M>
struct TMethodStub {
    static void Stub() {}
};
template <class T>
struct TMemberTraits;
template <class R, class C, class... A>
struct TMemberTraits<R (C::*)(A...)> {
    using Result = R;
    using Class = C;
    using Args = std::tuple<A...>;
    static constexpr size_t Arity = sizeof...(A);
};
}  // namespace weft_detail

template <auto M>
void* WeftMethodAddress()
{
    return reinterpret_cast<void*>(&weft_detail::TMethodStub<M>::Stub);
}

class TWeftMethodTable {
public:
    explicit TWeftMethodTable(QString className) : FClassName(std::move(className)) {}

    // Publishes obj->*M under name; paramNames name the parameters after
    // the object (for descriptions).
    template <auto M>
    TWeftMethodTable& Publish(const QString& name, QStringList paramNames = {});
    // Publishes only the name and the address, without the method's
    // parameter information.
    template <auto M>
    TWeftMethodTable& PublishAddressOnly(const QString& name);

    const QString& ClassName() const { return FClassName; }
    const TWeftPublishedMethod* Find(const QString& name) const;
    const TWeftPublishedMethod* FindByAddress(void* address) const;
    const std::vector<TWeftPublishedMethod>& Methods() const { return FMethods; }

private:
    QString FClassName;
    std::vector<TWeftPublishedMethod> FMethods;
};

// A class whose methods can be invoked by name publishes them here.
class IWeftPublishedMethods {
public:
    virtual ~IWeftPublishedMethods() = default;
    virtual const TWeftMethodTable* PublishedMethods() const = 0;
};

// The description of one published method, or "No rich RTTI" without
// parameter information.
QString DescriptionOfMethod(const TWeftMethodTable& table, const QString& methodName);
// The description of each published method, each followed by CR LF.
QString RTTIMethodsAsString(const TWeftMethodTable& table);

// Resolves a method for a call by name (the executor caches the result):
// raises "TWeftTaskExecutor.DispatchMessage: Cannot find message method
// %s.%s", the missing-information error, "... must not return result" or
// the invalid-signature error.
const TWeftPublishedMethod& ResolveWeftMethod(const TWeftMethodTable& table, const QString& name);
// Calls a resolved method with the message's value.
void CallWeftMethod(const TWeftMethodTable& table, const TWeftPublishedMethod& method, TWeftObject* self,
                    const TWeftValue& value);

// --- Template bodies ----------------------------------------------------------------------

template <auto M>
TWeftMethodTable& TWeftMethodTable::Publish(const QString& name, QStringList paramNames)
{
    using Tr = weft_detail::TMemberTraits<decltype(M)>;
    using C = typename Tr::Class;
    TWeftPublishedMethod m;
    m.Name = name;
    m.Address = WeftMethodAddress<M>();
    m.Params.push_back({QStringLiteral("Self"), FClassName, false});
    auto paramName = [&](size_t i) {
        return i < size_t(paramNames.size()) ? paramNames[qsizetype(i)] : QStringLiteral("Value");
    };
    if constexpr (!std::is_void_v<typename Tr::Result>) {
        m.ResultType = WeftTypeName(typeid(typename Tr::Result));
    }
    if constexpr (Tr::Arity == 0) {
        m.Signature = itSelf;
        if constexpr (std::is_void_v<typename Tr::Result>)
            m.CallSelf = [](TWeftObject* self) { (static_cast<C*>(self)->*M)(); };
    } else if constexpr (Tr::Arity == 1) {
        using A = std::tuple_element_t<0, typename Tr::Args>;
        if constexpr (std::is_same_v<A, const TWeftValue&>) {
            m.Signature = itSelfAndWeftValue;
            m.Params.push_back({paramName(0), QStringLiteral("TWeftValue"), false});
            if constexpr (std::is_void_v<typename Tr::Result>)
                m.CallValue = [](TWeftObject* self, const TWeftValue& v) { (static_cast<C*>(self)->*M)(v); };
        } else if constexpr (std::is_same_v<A, TWeftObject*&>) {
            m.Signature = itSelfAndObject;
            m.Params.push_back({paramName(0), QStringLiteral("TObject"), true});
            if constexpr (std::is_void_v<typename Tr::Result>)
                m.CallObject = [](TWeftObject* self, TWeftObject*& o) { (static_cast<C*>(self)->*M)(o); };
        } else {
            m.Signature = itUnknown;
            m.Params.push_back({paramName(0), WeftTypeName(typeid(A)), std::is_lvalue_reference_v<A> &&
                                                                          !std::is_const_v<std::remove_reference_t<A>>});
        }
    } else {
        m.Signature = itUnknown;
        for (size_t i = 0; i < Tr::Arity; ++i)
            m.Params.push_back({paramName(i), QStringLiteral("?"), false});
    }
    FMethods.push_back(std::move(m));
    return *this;
}

template <auto M>
TWeftMethodTable& TWeftMethodTable::PublishAddressOnly(const QString& name)
{
    TWeftPublishedMethod m;
    m.Name = name;
    m.Address = WeftMethodAddress<M>();
    m.ExtendedInfo = false;
    FMethods.push_back(std::move(m));
    return *this;
}
