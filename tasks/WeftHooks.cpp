#include "tasks/WeftHooks.h"

#include <algorithm>

void TProcMethodList::Add(void* object, void* code)
{
    pmlLock.EnterWriteLock();
    pmlList.push_back({object, code});
    pmlLock.ExitWriteLock();
}

void TProcMethodList::Remove(void* object, void* code)
{
    pmlLock.EnterWriteLock();
    auto it = std::find_if(pmlList.begin(), pmlList.end(),
                           [&](const TEntry& e) { return e.Object == object && e.Code == code; });
    if (it != pmlList.end())
        pmlList.erase(it);
    pmlLock.ExitWriteLock();
}

int TProcMethodList::Count()
{
    int n = 0;
    ForEach([&](void*, void*) {
        ++n;
        return true;
    });
    return n;
}

void TThreadNotifications::Notify(TThreadNotificationType notifyType, const QString& threadName)
{
    tnList.ForEach([&](void* object, void* code) {
        if (object)
            InvokeMethod<TThreadNotificationType, const QString&>(TMethod{code, object}, notifyType, threadName);
        else
            reinterpret_cast<TThreadNotificationProc>(code)(notifyType, threadName);
        return true;
    });
}

void TPoolNotifications::Notify(TPoolNotificationType notifyType, const std::shared_ptr<IWeftThreadPool>& pool)
{
    pnList.ForEach([&](void* object, void* code) {
        if (object)
            InvokeMethod<TPoolNotificationType, const std::shared_ptr<IWeftThreadPool>&>(TMethod{code, object},
                                                                                         notifyType, pool);
        else
            reinterpret_cast<TPoolNotificationProc>(code)(notifyType, pool);
        return true;
    });
}

void TExceptionFilters::Filter(std::exception_ptr& exception)
{
    bool continueProcessing = true;
    efList.ForEach([&](void* object, void* code) {
        if (object)
            InvokeMethod<std::exception_ptr&, bool&>(TMethod{code, object}, exception, continueProcessing);
        else
            reinterpret_cast<TExceptionFilterProc>(code)(exception, continueProcessing);
        return continueProcessing;
    });
}

// Made on first use and never destroyed, so threads that end during the
// process's own shutdown still find them.
TThreadNotifications& GThreadNotifications()
{
    static auto* g = new TThreadNotifications;
    return *g;
}

TPoolNotifications& GPoolNotifications()
{
    static auto* g = new TPoolNotifications;
    return *g;
}

TExceptionFilters& GExceptionFilters()
{
    static auto* g = new TExceptionFilters;
    return *g;
}

void SendThreadNotifications(TThreadNotificationType notifyType, const QString& threadName)
{
    GThreadNotifications().Notify(notifyType, threadName);
}

void SendPoolNotifications(TPoolNotificationType notifyType, const std::shared_ptr<IWeftThreadPool>& pool)
{
    GPoolNotifications().Notify(notifyType, pool);
}

void FilterException(std::exception_ptr& exception)
{
    GExceptionFilters().Filter(exception);
}
