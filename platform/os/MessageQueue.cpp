#include "platform/os/MessageQueue.h"

#include <QPointer>
#include <QSocketNotifier>
#include <cerrno>
#include <sys/eventfd.h>
#include <unistd.h>

struct TThreadMessageQueue::TNotifiers {
    QPointer<QSocketNotifier> Posted;
    QPointer<QSocketNotifier> Sent;
};

namespace {

// Closes the thread's queue when the thread ends, so posts to its windows
// fail instead of piling up.
struct TQueueHolder {
    std::shared_ptr<TThreadMessageQueue> Queue;
    ~TQueueHolder()
    {
        if (Queue)
            Queue->Close();
    }
};

thread_local TQueueHolder tQueue;

}  // namespace

TThreadMessageQueue::TThreadMessageQueue(DWORD threadId) : FThreadId(threadId)
{
    for (int& fd : FFds) {
        fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (fd < 0)
            throw std::system_error(errno, std::generic_category(), "eventfd for a message queue");
    }
}

TThreadMessageQueue::~TThreadMessageQueue()
{
    for (int fd : FFds)
        if (fd >= 0)
            ::close(fd);
}

TThreadMessageQueue& TThreadMessageQueue::Current()
{
    return *CurrentShared();
}

std::shared_ptr<TThreadMessageQueue> TThreadMessageQueue::CurrentShared()
{
    if (!tQueue.Queue)
        tQueue.Queue = std::make_shared<TThreadMessageQueue>(GetCurrentThreadId());
    return tQueue.Queue;
}

TThreadMessageQueue* TThreadMessageQueue::CurrentIfAny()
{
    return tQueue.Queue.get();
}

bool TThreadMessageQueue::HasInput() const
{
    // Without the lock: a waiting thread asks this on every turn, and a
    // poster must not be held up (and then woken) by the question.
    return FNonEmpty[0].load(std::memory_order_acquire) || FNonEmpty[1].load(std::memory_order_acquire);
}

bool TThreadMessageQueue::HasSent() const
{
    std::lock_guard lock(FLock);
    return !FSent.empty();
}

size_t TThreadMessageQueue::PendingCount() const
{
    std::lock_guard lock(FLock);
    return FPosted.size() + FSent.size();
}

void TThreadMessageQueue::SyncFd(int which)
{
    const bool want = which == 0 ? !FPosted.empty() : !FSent.empty();
    FNonEmpty[size_t(which)].store(want, std::memory_order_release);
    if (want == FLevel[which])
        return;
    const int fd = FFds[which];
    if (want) {
        const uint64_t one = 1;
        while (::write(fd, &one, sizeof one) < 0 && errno == EINTR) {
        }
    } else {
        uint64_t v;
        while (::read(fd, &v, sizeof v) < 0 && errno == EINTR) {
        }
    }
    FLevel[which] = want;
}

bool TThreadMessageQueue::Push(TQueuedMessage&& m)
{
    std::lock_guard lock(FLock);
    if (FClosed)
        return false;
    const int which = m.Send ? 1 : 0;
    (which ? FSent : FPosted).push_back(std::move(m));
    SyncFd(which);
    return true;
}

bool TThreadMessageQueue::PopSent(TQueuedMessage& out)
{
    std::lock_guard lock(FLock);
    if (FSent.empty())
        return false;
    out = std::move(FSent.front());
    FSent.pop_front();
    SyncFd(1);
    return true;
}

bool TThreadMessageQueue::Pop(TQueuedMessage& out)
{
    std::lock_guard lock(FLock);
    for (int which : {1, 0}) {
        auto& q = which ? FSent : FPosted;
        if (!q.empty()) {
            out = std::move(q.front());
            q.pop_front();
            SyncFd(which);
            return true;
        }
    }
    return false;
}

std::deque<TQueuedMessage> TThreadMessageQueue::TakeFor(const TWindowRec* wnd)
{
    std::deque<TQueuedMessage> taken;
    std::lock_guard lock(FLock);
    for (int which : {1, 0}) {
        auto& q = which ? FSent : FPosted;
        std::deque<TQueuedMessage> rest;
        for (auto& m : q)
            (m.Wnd.get() == wnd ? taken : rest).push_back(std::move(m));
        q.swap(rest);
        SyncFd(which);
    }
    return taken;
}

void TThreadMessageQueue::Bind(QSocketNotifier* posted, QSocketNotifier* sent)
{
    std::lock_guard lock(FLock);
    if (!FNotifiers)
        FNotifiers = std::make_unique<TNotifiers>();
    FNotifiers->Posted = posted;
    FNotifiers->Sent = sent;
}

bool TThreadMessageQueue::Bound() const
{
    std::lock_guard lock(FLock);
    return FNotifiers && FNotifiers->Posted;
}

void TThreadMessageQueue::Close()
{
    std::deque<TQueuedMessage> posted, sent;
    std::unique_ptr<TNotifiers> notifiers;
    {
        std::lock_guard lock(FLock);
        FClosed = true;
        posted.swap(FPosted);
        sent.swap(FSent);
        SyncFd(0);
        SyncFd(1);
        notifiers.swap(FNotifiers);
    }
    for (auto& m : sent)
        FailSend(m.Send);
    if (notifiers) {
        delete notifiers->Posted.data();
        delete notifiers->Sent.data();
    }
    DropThreadWindows(this);
}
