#pragma once
// How containers tell interested parties about changes: a subject keeps one
// observer list per kind of interest; an observer is woken by setting an
// event (for a thread that waits) or by posting a message to a window (for
// an owner thread's message loop). Notification runs on the thread that
// changed the container.

#include "platform/os/MessageWindow.h"
#include "platform/os/Waitable.h"
#include "tasks/WeftCommon.h"
#include "tasks/WeftSync.h"

#include <array>
#include <atomic>
#include <vector>

enum TWeftContainerObserverInterest {
    coiNotifyOnAllInserts = 0,
    coiNotifyOnAllRemoves = 1,
    coiNotifyOnPartlyEmpty = 2,
    coiNotifyOnAlmostFull = 3
};

class TWeftContainerObserver {
public:
    TWeftContainerObserver() = default;
    virtual ~TWeftContainerObserver();
    TWeftContainerObserver(const TWeftContainerObserver&) = delete;
    TWeftContainerObserver& operator=(const TWeftContainerObserver&) = delete;

    virtual void Notify() = 0;
    void Activate() { coIsActivated.SetValue(1); }
    void Deactivate() { coIsActivated.SetValue(0); }
    // True when this call took the observer from activated to not activated.
    bool CanNotify() { return coIsActivated.CAS(1, 0); }
    bool IsActivated() const { return coIsActivated.Value() != 0; }

private:
    TWeftAlignedInt32 coIsActivated{1};
};

class TWeftContainerWindowsEventObserver : public TWeftContainerObserver {
public:
    virtual THandle GetEvent() const = 0;
};

class TWeftContainerWindowsMessageObserver : public TWeftContainerObserver {
public:
    virtual HWND GetHandle() const = 0;
    virtual void Send(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

class TWeftContainerWindowsEventObserverImpl final : public TWeftContainerWindowsEventObserver {
public:
    // With a null event the observer makes its own auto-reset event.
    explicit TWeftContainerWindowsEventObserverImpl(THandle externalEvent = nullptr);
    void Notify() override;
    THandle GetEvent() const override { return cweoEvent; }

private:
    THandle cweoEvent;
    bool cweoEventIsExternal;
};

class TWeftContainerWindowsMessageObserverImpl final : public TWeftContainerWindowsMessageObserver {
public:
    TWeftContainerWindowsMessageObserverImpl(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam);
    void Notify() override { Send(cwmoMessage, cwmoWParam, cwmoLParam); }
    HWND GetHandle() const override { return cwmoHandle; }
    // Raises EOSError when the window is gone (the thread's queue itself is
    // unbounded, so a post never fails for a full queue).
    void Send(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND cwmoHandle;
    LPARAM cwmoLParam;
    UINT cwmoMessage;
    WPARAM cwmoWParam;
};

TWeftContainerWindowsEventObserver* CreateContainerWindowsEventObserver(THandle externalEvent = nullptr);
TWeftContainerWindowsMessageObserver* CreateContainerWindowsMessageObserver(HWND handle, UINT msg,
                                                                           WPARAM wParam, LPARAM lParam);

// Observer lists guarded by spinning reader/writer words; the observers are
// not owned. Notifying and attaching may happen on any threads at once; an
// observer must not attach or detach from inside its own Notify.
class TWeftContainerSubject {
public:
    TWeftContainerSubject() = default;
    TWeftContainerSubject(const TWeftContainerSubject&) = delete;
    TWeftContainerSubject& operator=(const TWeftContainerSubject&) = delete;

    // Adds the observer unless it is on the list already.
    void Attach(TWeftContainerObserver* observer, TWeftContainerObserverInterest interest);
    // Removes the first occurrence; nothing when absent.
    void Detach(TWeftContainerObserver* observer, TWeftContainerObserverInterest interest);
    void Notify(TWeftContainerObserverInterest interest);
    // Notifies each activated observer once and leaves it deactivated.
    void NotifyOnce(TWeftContainerObserverInterest interest);
    void Rearm(TWeftContainerObserverInterest interest);
    // True when nobody observes the interest (a cheap test before notifying).
    bool IsUnobserved(TWeftContainerObserverInterest interest) const
    {
        return csCounts[interest].load(std::memory_order_seq_cst) == 0;
    }

private:
    template <class F>
    void ForEach(TWeftContainerObserverInterest interest, F&& f);

    std::array<TWeftMREW, 4> csListLocks;
    std::array<std::vector<TWeftContainerObserver*>, 4> csObserverLists;
    std::array<std::atomic<int>, 4> csCounts{};
};
