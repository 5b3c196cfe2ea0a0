#include "tasks/WeftInvoke.h"

QString WeftInternalMessageTypeName(TWeftInternalMessageType type)
{
    switch (type) {
    case imtStringMsg:
        return QStringLiteral("imtStringMsg");
    case imtAddressMsg:
        return QStringLiteral("imtAddressMsg");
    case imtFuncMsg:
        return QStringLiteral("imtFuncMsg");
    case imtAnonMsg:
        return QStringLiteral("imtAnonMsg");
    }
    return QStringLiteral("imt%1").arg(int(type));
}

namespace {

TWeftMessage Pack(TWeftInternalMessage* obj)
{
    TWeftValue v;
    v.SetAsOwnedObject(obj);
    return TWeftMessage(CWeftInternalMessageID, std::move(v));
}

template <class T>
T& Expect(const TWeftMessage& msg)
{
    auto* obj = dynamic_cast<T*>(TWeftInternalMessage::Carried(msg));
    WeftAssert(obj != nullptr, "TWeftInternalMessage: message carries another kind of request");
    return *obj;
}

}  // namespace

TWeftInternalMessage* TWeftInternalMessage::Carried(const TWeftMessage& msg)
{
    return dynamic_cast<TWeftInternalMessage*>(msg.MsgData.CastToObject());
}

TWeftInternalMessageType TWeftInternalMessage::InternalType(const TWeftMessage& msg)
{
    WeftAssert(msg.MsgID == CWeftInternalMessageID, "TWeftInternalMessage.InternalType: not an internal message");
    TWeftInternalMessage* obj = Carried(msg);
    WeftAssert(obj != nullptr, "TWeftInternalMessage.InternalType: no request object");
    return obj->InternalMessageType();
}

TWeftMessage TWeftInternalStringMsg::CreateMessage(const QString& name, const TWeftValue& data)
{
    return Pack(new TWeftInternalStringMsg(name, data));
}

void TWeftInternalStringMsg::UnpackMessage(const TWeftMessage& msg, QString& name, TWeftValue& data)
{
    auto& m = Expect<TWeftInternalStringMsg>(msg);
    name = m.ismMsgName;
    data = m.ismMsgData;
}

TWeftMessage TWeftInternalAddressMsg::CreateMessage(void* method, const TWeftValue& data)
{
    return Pack(new TWeftInternalAddressMsg(method, data));
}

void TWeftInternalAddressMsg::UnpackMessage(const TWeftMessage& msg, void*& method, TWeftValue& data)
{
    auto& m = Expect<TWeftInternalAddressMsg>(msg);
    method = m.ismMsgMethod;
    data = m.ismMsgData;
}

TWeftMessage TWeftInternalAnonMsg::CreateMessage(const TWeftInvokeAnonProc& proc, const TWeftValue& data)
{
    return Pack(new TWeftInternalAnonMsg(proc, data));
}

void TWeftInternalAnonMsg::UnpackMessage(const TWeftMessage& msg, TWeftInvokeAnonProc& proc, TWeftValue& data)
{
    auto& m = Expect<TWeftInternalAnonMsg>(msg);
    proc = m.ismMsgProc;
    data = m.ismMsgData;
}

TWeftMessage TWeftInternalFuncMsg::CreateMessage(const TWeftTaskControlInvokeFunction& func)
{
    auto* m = new TWeftInternalFuncMsg;
    m->ifmFunc = func;
    return Pack(m);
}

TWeftMessage TWeftInternalFuncMsg::CreateMessage(const TWeftTaskControlInvokeFunctionEx& funcEx)
{
    auto* m = new TWeftInternalFuncMsg;
    m->ifmFuncEx = funcEx;
    return Pack(m);
}

TWeftMessage TWeftInternalFuncMsg::CreateTaskMessage(const TWeftTaskInvokeFunction& taskFunc)
{
    auto* m = new TWeftInternalFuncMsg;
    m->ifmTaskFunc = taskFunc;
    return Pack(m);
}

void TWeftInternalFuncMsg::UnpackMessage(const TWeftMessage& msg, TWeftTaskControlInvokeFunction& func,
                                         TWeftTaskControlInvokeFunctionEx& funcEx, TWeftTaskInvokeFunction& taskFunc)
{
    auto& m = Expect<TWeftInternalFuncMsg>(msg);
    func = m.ifmFunc;
    funcEx = m.ifmFuncEx;
    taskFunc = m.ifmTaskFunc;
}

bool TWeftInternalFuncMsg::UnpackMessage(TWeftMessage& msg, TWeftTaskInvokeFunction& taskFunc)
{
    TWeftObject* obj = nullptr;
    if (!msg.MsgData.TryCastToObject(obj))
        return false;
    auto* m = dynamic_cast<TWeftInternalFuncMsg*>(obj);
    if (!m)
        return false;
    taskFunc = m->ifmTaskFunc;
    msg.MsgData.SetAsObject(nullptr);
    return true;
}

// --- Published methods -------------------------------------------------------------------

const TWeftPublishedMethod* TWeftMethodTable::Find(const QString& name) const
{
    for (const TWeftPublishedMethod& m : FMethods)
        if (m.Name == name)
            return &m;
    return nullptr;
}

const TWeftPublishedMethod* TWeftMethodTable::FindByAddress(void* address) const
{
    for (const TWeftPublishedMethod& m : FMethods)
        if (m.Address == address)
            return &m;
    return nullptr;
}

QString DescriptionOfMethod(const TWeftMethodTable& table, const QString& methodName)
{
    const TWeftPublishedMethod* m = table.Find(methodName);
    if (!m || !m->ExtendedInfo)
        return QStringLiteral("No rich RTTI");
    QStringList params;
    for (const TWeftMethodParam& p : m->Params)
        params << (p.IsVar ? QStringLiteral("var ") : QString()) + p.Name + QStringLiteral(": ") + p.TypeName;
    // Every published method uses the default calling convention.
    const QString returnInfo = m->ResultType + QStringLiteral(";");
    if (!m->ResultType.isEmpty())
        return QStringLiteral("function %1( %2 ): %3").arg(m->Name, params.join(QStringLiteral("; ")), returnInfo);
    return QStringLiteral("procedure %1( %2 )%3").arg(m->Name, params.join(QStringLiteral("; ")), returnInfo);
}

QString RTTIMethodsAsString(const TWeftMethodTable& table)
{
    QString s;
    for (const TWeftPublishedMethod& m : table.Methods())
        s += DescriptionOfMethod(table, m.Name) + QStringLiteral("\r\n");
    return s;
}

const TWeftPublishedMethod& ResolveWeftMethod(const TWeftMethodTable& table, const QString& name)
{
    const TWeftPublishedMethod* m = table.Find(name);
    if (!m || !m->Address)
        throw Exception(QStringLiteral("TWeftTaskExecutor.DispatchMessage: Cannot find message method %1.%2")
                            .arg(table.ClassName(), name));
    if (!m->ExtendedInfo)
        throw Exception(QStringLiteral("TWeftTaskExecutor.DispatchMessage: Class %1 was published without the "
                                       "method information needed to call %2 by name")
                            .arg(table.ClassName(), name));
    if (!m->ResultType.isEmpty())
        throw Exception(QStringLiteral("TWeftTaskExecutor.DispatchMessage: Method %1.%2 must not return result")
                            .arg(table.ClassName(), name));
    if (m->Signature == itUnknown)
        throw Exception(QStringLiteral("TWeftTaskExecutor: Method %1.%2 has invalid signature. Only following "
                                       "signatures are supported: (Self), (Self, const TWeftValue), (Self, var "
                                       "TObject)")
                            .arg(table.ClassName(), name));
    return *m;
}

void CallWeftMethod(const TWeftMethodTable& table, const TWeftPublishedMethod& method, TWeftObject* self,
                    const TWeftValue& value)
{
    switch (method.Signature) {
    case itSelf:
        method.CallSelf(self);
        break;
    case itSelfAndWeftValue:
        method.CallValue(self, value);
        break;
    case itSelfAndObject: {
        TWeftObject* obj = value.IsEmpty() ? nullptr : value.CastToObject();
        method.CallObject(self, obj);
        break;
    }
    default:
        throw Exception(QStringLiteral("TWeftTaskExecutor: Method %1.%2 has invalid signature. Only following "
                                       "signatures are supported: (Self), (Self, const TWeftValue), (Self, var "
                                       "TObject)")
                            .arg(table.ClassName(), method.Name));
    }
}
