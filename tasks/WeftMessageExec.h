#pragma once
// Owner-side handlers of a task's messages and of its end. A handler is a
// method of an object (TWeftTaskMessageEvent / TWeftTaskTerminatedEvent,
// made with ::Of<&C::M>(obj)), an anonymous procedure, or, for messages, a
// dispatcher object whose own message table picks the handler by message
// id. TWeftMessageExec holds one such handler; task control keeps them in
// its handler list and task configurations copy them onto each task.

#include "tasks/WeftBase.h"
#include "tasks/WeftComm.h"
#include "tasks/WeftCommon.h"

#include <functional>
#include <memory>
#include <unordered_map>

class IWeftTaskControl;
using PWeftTaskControl = std::shared_ptr<IWeftTaskControl>;

using TWeftOnMessageFunction = std::function<void(const PWeftTaskControl& task, TWeftMessage& msg)>;
using TWeftOnTerminatedFunction = std::function<void(const PWeftTaskControl& task)>;
using TWeftOnTerminatedFunctionSimple = std::function<void()>;

// A method taking the task control and the message.
struct TWeftTaskMessageEvent {
    TMethod Method;
    template <auto M, class C>
    static TWeftTaskMessageEvent Of(C* obj)
    {
        return {MakeMethod<M, const PWeftTaskControl&, TWeftMessage&>(obj)};
    }
    bool Assigned() const { return Method.Assigned(); }
    void operator()(const PWeftTaskControl& task, TWeftMessage& msg) const
    {
        InvokeMethod<const PWeftTaskControl&, TWeftMessage&>(Method, task, msg);
    }
};

// A method taking the task control.
struct TWeftTaskTerminatedEvent {
    TMethod Method;
    template <auto M, class C>
    static TWeftTaskTerminatedEvent Of(C* obj)
    {
        return {MakeMethod<M, const PWeftTaskControl&>(obj)};
    }
    bool Assigned() const { return Method.Assigned(); }
    void operator()(const PWeftTaskControl& task) const { InvokeMethod<const PWeftTaskControl&>(Method, task); }
};

// An object that handles messages through its own table by id.
class IWeftMessageDispatcher {
public:
    virtual ~IWeftMessageDispatcher() = default;
    virtual void DispatchMessage(TWeftMessage& msg) = 0;
};
using PWeftMessageDispatcher = std::shared_ptr<IWeftMessageDispatcher>;

// A dispatcher with a table filled by SetMessageHandler; ids without an
// entry go to DefaultHandler, which ignores them.
class TWeftMessageDispatcher : public IWeftMessageDispatcher {
public:
    using THandler = std::function<void(TWeftMessage& msg)>;
    void SetMessageHandler(uint16_t msgID, THandler handler) { FTable[msgID] = std::move(handler); }
    void DispatchMessage(TWeftMessage& msg) override;
    virtual void DefaultHandler(TWeftMessage&) {}

private:
    std::unordered_map<uint16_t, THandler> FTable;
};

class TWeftMessageExec : public TWeftObject {
public:
    TWeftMessageExec() = default;
    explicit TWeftMessageExec(const TWeftTaskMessageEvent& handler) { SetOnMessage(handler); }
    explicit TWeftMessageExec(const TWeftOnMessageFunction& handler) { SetOnMessage(handler); }
    explicit TWeftMessageExec(const PWeftMessageDispatcher& dispatcher) : omeOnMessageDispatch(dispatcher) {}
    explicit TWeftMessageExec(const TWeftTaskTerminatedEvent& handler) { SetOnTerminated(handler); }
    explicit TWeftMessageExec(const TWeftOnTerminatedFunction& handler) { SetOnTerminated(handler); }

    // An empty method or procedure leaves the handler unassigned.
    void SetOnMessage(const TWeftTaskMessageEvent& handler);
    void SetOnMessage(const TWeftOnMessageFunction& handler);
    void SetOnTerminated(const TWeftTaskTerminatedEvent& handler);
    void SetOnTerminated(const TWeftOnTerminatedFunction& handler);
    // A plain procedure is a kind these handlers cannot call: calling or
    // applying the exec then raises (kept so such configurations fail
    // loudly instead of being ignored).
    void SetOnMessageProc(TWeftProcedure proc);
    void SetOnTerminatedProc(TWeftProcedure proc);

    // Calls the dispatcher (with a copy of the message) or the handler;
    // raises "TWeftMessageExec.OnMessage: Unexpected kind %s" otherwise.
    void OnMessage(const PWeftTaskControl& task, TWeftMessage& msg) const;
    // Skips an unassigned handler; raises "TWeftMessageExec.OnTerminated:
    // Unexpected kind %s" for a kind other than method or anonymous.
    void OnTerminated(const PWeftTaskControl& task) const;
    // Registers the message handler on the task under msgID; raises
    // "TWeftMessageExec.Apply: Unexpected kind %s" for other kinds.
    void Apply(uint16_t msgID, const PWeftTaskControl& task) const;
    std::shared_ptr<TWeftMessageExec> Clone() const;

    TWeftExecutableKind MessageKind() const { return omeOnMessage.Kind; }
    TWeftExecutableKind TerminatedKind() const { return omeOnTerminated.Kind; }
    const PWeftMessageDispatcher& Dispatcher() const { return omeOnMessageDispatch; }

private:
    template <class M, class A>
    struct THandler {
        TWeftExecutableKind Kind = oekNull;
        M Method;
        A Anon;
        TWeftProcedure Proc = nullptr;
    };
    THandler<TWeftTaskMessageEvent, TWeftOnMessageFunction> omeOnMessage;
    PWeftMessageDispatcher omeOnMessageDispatch;
    THandler<TWeftTaskTerminatedEvent, TWeftOnTerminatedFunction> omeOnTerminated;
};
using PWeftMessageExec = std::shared_ptr<TWeftMessageExec>;
