#include "tasks/WeftMessageExec.h"

#include "tasks/WeftTask.h"

void TWeftMessageDispatcher::DispatchMessage(TWeftMessage& msg)
{
    const auto it = FTable.find(msg.MsgID);
    if (it != FTable.end() && it->second)
        it->second(msg);
    else
        DefaultHandler(msg);
}

void TWeftMessageExec::SetOnMessage(const TWeftTaskMessageEvent& handler)
{
    omeOnMessage = {};
    if (handler.Assigned()) {
        omeOnMessage.Kind = oekMethod;
        omeOnMessage.Method = handler;
    }
}

void TWeftMessageExec::SetOnMessage(const TWeftOnMessageFunction& handler)
{
    omeOnMessage = {};
    if (handler) {
        omeOnMessage.Kind = oekDelegate;
        omeOnMessage.Anon = handler;
    }
}

void TWeftMessageExec::SetOnTerminated(const TWeftTaskTerminatedEvent& handler)
{
    omeOnTerminated = {};
    if (handler.Assigned()) {
        omeOnTerminated.Kind = oekMethod;
        omeOnTerminated.Method = handler;
    }
}

void TWeftMessageExec::SetOnTerminated(const TWeftOnTerminatedFunction& handler)
{
    omeOnTerminated = {};
    if (handler) {
        omeOnTerminated.Kind = oekDelegate;
        omeOnTerminated.Anon = handler;
    }
}

void TWeftMessageExec::SetOnMessageProc(TWeftProcedure proc)
{
    omeOnMessage = {};
    if (proc) {
        omeOnMessage.Kind = oekProcedure;
        omeOnMessage.Proc = proc;
    }
}

void TWeftMessageExec::SetOnTerminatedProc(TWeftProcedure proc)
{
    omeOnTerminated = {};
    if (proc) {
        omeOnTerminated.Kind = oekProcedure;
        omeOnTerminated.Proc = proc;
    }
}

void TWeftMessageExec::OnMessage(const PWeftTaskControl& task, TWeftMessage& msg) const
{
    if (omeOnMessageDispatch) {
        TWeftMessage copy = msg;
        omeOnMessageDispatch->DispatchMessage(copy);
        return;
    }
    switch (omeOnMessage.Kind) {
    case oekMethod: omeOnMessage.Method(task, msg); break;
    case oekDelegate: omeOnMessage.Anon(task, msg); break;
    default:
        throw Exception(QStringLiteral("TWeftMessageExec.OnMessage: Unexpected kind %1")
                            .arg(WeftExecutableKindName(omeOnMessage.Kind)));
    }
}

void TWeftMessageExec::OnTerminated(const PWeftTaskControl& task) const
{
    switch (omeOnTerminated.Kind) {
    case oekNull: break;
    case oekMethod: omeOnTerminated.Method(task); break;
    case oekDelegate: omeOnTerminated.Anon(task); break;
    default:
        throw Exception(QStringLiteral("TWeftMessageExec.OnTerminated: Unexpected kind %1")
                            .arg(WeftExecutableKindName(omeOnTerminated.Kind)));
    }
}

void TWeftMessageExec::Apply(uint16_t msgID, const PWeftTaskControl& task) const
{
    switch (omeOnMessage.Kind) {
    case oekMethod: task->OnMessage(msgID, omeOnMessage.Method); break;
    case oekDelegate: task->OnMessage(msgID, omeOnMessage.Anon); break;
    default:
        throw Exception(
            QStringLiteral("TWeftMessageExec.Apply: Unexpected kind %1").arg(WeftExecutableKindName(omeOnMessage.Kind)));
    }
}

std::shared_ptr<TWeftMessageExec> TWeftMessageExec::Clone() const
{
    auto copy = std::make_shared<TWeftMessageExec>();
    copy->omeOnMessage = omeOnMessage;
    copy->omeOnMessageDispatch = omeOnMessageDispatch;
    copy->omeOnTerminated = omeOnTerminated;
    return copy;
}
