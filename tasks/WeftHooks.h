#pragma once
// Process-wide registries through which code outside the framework hears
// about the framework's threads and pools and sees the exceptions caught
// inside tasks: thread notifications (a framework thread starts or ends),
// pool notifications (a pool is made or destroyed) and exception filters
// (each may replace, drop or pass on an exception, or stop the chain).
//
// Callbacks are plain procedures or methods (MakeMethod, WeftBase.h), so a
// registration can be found and removed again. They run on the notifying
// thread under a shared read lock: a callback must not register or
// unregister (it would wait for itself).

#include "tasks/WeftSync.h"

#include <QString>
#include <exception>
#include <memory>
#include <vector>

class IWeftThreadPool;

enum TThreadNotificationType { tntCreate, tntDestroy };
enum TPoolNotificationType { pntCreate, pntDestroy };

using TThreadNotificationProc = void (*)(TThreadNotificationType notifyType, const QString& threadName);
using TPoolNotificationProc = void (*)(TPoolNotificationType notifyType,
                                       const std::shared_ptr<IWeftThreadPool>& pool);
using TExceptionFilterProc = void (*)(std::exception_ptr& exception, bool& continueProcessing);
// Methods: MakeMethod<&C::OnThread, TThreadNotificationType, const QString&>(obj),
// MakeMethod<&C::OnPool, TPoolNotificationType, const std::shared_ptr<IWeftThreadPool>&>(obj),
// MakeMethod<&C::Filter, std::exception_ptr&, bool&>(obj).

// Registered callbacks as (object, code) pairs; a procedure has no object.
class TProcMethodList {
public:
    void Add(void* object, void* code);
    // Removes the first equal pair; nothing when absent.
    void Remove(void* object, void* code);
    int Count();
    // Calls visit(object, code) for each pair in registration order under
    // the read lock (released also when a callback raises).
    template <class F>
    void ForEach(F&& visit)
    {
        pmlLock.EnterReadLock();
        struct TExit {
            TWeftMREW& L;
            ~TExit() { L.ExitReadLock(); }
        } exitLock{pmlLock};
        for (const TEntry& e : pmlList)
            if (!visit(e.Object, e.Code))
                break;
    }

private:
    struct TEntry {
        void* Object;
        void* Code;
    };
    std::vector<TEntry> pmlList;
    TWeftMREW pmlLock;
};

class TThreadNotifications {
public:
    void Register(TThreadNotificationProc proc) { tnList.Add(nullptr, reinterpret_cast<void*>(proc)); }
    void Register(const TMethod& meth) { tnList.Add(meth.Data, meth.Code); }
    void Unregister(TThreadNotificationProc proc) { tnList.Remove(nullptr, reinterpret_cast<void*>(proc)); }
    void Unregister(const TMethod& meth) { tnList.Remove(meth.Data, meth.Code); }
    void Notify(TThreadNotificationType notifyType, const QString& threadName);

private:
    TProcMethodList tnList;
};

class TPoolNotifications {
public:
    void Register(TPoolNotificationProc proc) { pnList.Add(nullptr, reinterpret_cast<void*>(proc)); }
    void Register(const TMethod& meth) { pnList.Add(meth.Data, meth.Code); }
    void Unregister(TPoolNotificationProc proc) { pnList.Remove(nullptr, reinterpret_cast<void*>(proc)); }
    void Unregister(const TMethod& meth) { pnList.Remove(meth.Data, meth.Code); }
    void Notify(TPoolNotificationType notifyType, const std::shared_ptr<IWeftThreadPool>& pool);

private:
    TProcMethodList pnList;
};

class TExceptionFilters {
public:
    void Register(TExceptionFilterProc proc) { efList.Add(nullptr, reinterpret_cast<void*>(proc)); }
    void Register(const TMethod& meth) { efList.Add(meth.Data, meth.Code); }
    void Unregister(TExceptionFilterProc proc) { efList.Remove(nullptr, reinterpret_cast<void*>(proc)); }
    void Unregister(const TMethod& meth) { efList.Remove(meth.Data, meth.Code); }
    // Shows the exception to each filter in order while continueProcessing
    // stays true; a filter may replace it or set it to null (consumed).
    void Filter(std::exception_ptr& exception);

private:
    TProcMethodList efList;
};

// The process's registries; they live until the process ends.
TThreadNotifications& GThreadNotifications();
TPoolNotifications& GPoolNotifications();
TExceptionFilters& GExceptionFilters();

// Sent by the framework's threads: tntCreate before their work, tntDestroy
// after it (also when the work raised).
void SendThreadNotifications(TThreadNotificationType notifyType, const QString& threadName);
void SendPoolNotifications(TPoolNotificationType notifyType, const std::shared_ptr<IWeftThreadPool>& pool);
// A null result means a filter consumed the exception.
void FilterException(std::exception_ptr& exception);
