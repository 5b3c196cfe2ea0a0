#include "tasks/WeftObservers.h"

#include <algorithm>

TWeftContainerObserver::~TWeftContainerObserver() = default;

TWeftContainerWindowsEventObserverImpl::TWeftContainerWindowsEventObserverImpl(THandle externalEvent)
    : cweoEvent(externalEvent ? std::move(externalEvent) : CreateEvent(false, false)),
      cweoEventIsExternal(cweoEvent != nullptr && externalEvent != nullptr)
{
}

void TWeftContainerWindowsEventObserverImpl::Notify()
{
    if (!SetEvent(cweoEvent))
        throw EOSError(QStringLiteral("SetEvent failed, error %1").arg(GetLastError()));
}

TWeftContainerWindowsMessageObserverImpl::TWeftContainerWindowsMessageObserverImpl(HWND handle, UINT msg,
                                                                                   WPARAM wParam,
                                                                                   LPARAM lParam)
    : cwmoHandle(handle), cwmoLParam(lParam), cwmoMessage(msg), cwmoWParam(wParam)
{
}

void TWeftContainerWindowsMessageObserverImpl::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!PostMessage(cwmoHandle, message, wParam, lParam))
        throw EOSError(QStringLiteral("PostMessage failed, error %1").arg(GetLastError()));
}

TWeftContainerWindowsEventObserver* CreateContainerWindowsEventObserver(THandle externalEvent)
{
    return new TWeftContainerWindowsEventObserverImpl(std::move(externalEvent));
}

TWeftContainerWindowsMessageObserver* CreateContainerWindowsMessageObserver(HWND handle, UINT msg,
                                                                           WPARAM wParam, LPARAM lParam)
{
    return new TWeftContainerWindowsMessageObserverImpl(handle, msg, wParam, lParam);
}

void TWeftContainerSubject::Attach(TWeftContainerObserver* observer, TWeftContainerObserverInterest interest)
{
    TWeftMREW& lock = csListLocks[interest];
    lock.EnterWriteLock();
    auto& list = csObserverLists[interest];
    if (std::find(list.begin(), list.end(), observer) == list.end()) {
        list.push_back(observer);
        csCounts[interest].store(int(list.size()), std::memory_order_seq_cst);
    }
    lock.ExitWriteLock();
}

void TWeftContainerSubject::Detach(TWeftContainerObserver* observer, TWeftContainerObserverInterest interest)
{
    TWeftMREW& lock = csListLocks[interest];
    lock.EnterWriteLock();
    auto& list = csObserverLists[interest];
    auto it = std::find(list.begin(), list.end(), observer);
    if (it != list.end()) {
        list.erase(it);
        csCounts[interest].store(int(list.size()), std::memory_order_seq_cst);
    }
    lock.ExitWriteLock();
}

template <class F>
void TWeftContainerSubject::ForEach(TWeftContainerObserverInterest interest, F&& f)
{
    if (IsUnobserved(interest))
        return;
    TWeftMREW& lock = csListLocks[interest];
    lock.EnterReadLock();
    struct TExit {
        TWeftMREW& L;
        ~TExit() { L.ExitReadLock(); }
    } exitLock{lock};
    for (TWeftContainerObserver* o : csObserverLists[interest])
        f(o);
}

void TWeftContainerSubject::Notify(TWeftContainerObserverInterest interest)
{
    ForEach(interest, [](TWeftContainerObserver* o) { o->Notify(); });
}

void TWeftContainerSubject::NotifyOnce(TWeftContainerObserverInterest interest)
{
    ForEach(interest, [](TWeftContainerObserver* o) {
        if (o->CanNotify()) {
            o->Notify();
            o->Deactivate();
        }
    });
}

void TWeftContainerSubject::Rearm(TWeftContainerObserverInterest interest)
{
    ForEach(interest, [](TWeftContainerObserver* o) { o->Activate(); });
}
