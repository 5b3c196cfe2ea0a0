#include "platform/os/MessageWindow.h"
#include "platform/os/Waitable.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>
#include <atomic>
#include <condition_variable>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr UINT MSG_DATA = WM_USER + 1;
constexpr UINT MSG_FAIL = WM_USER + 2;

// A std::thread that owns one window and pumps its queue until told to stop;
// the handler is the test's.
class TOwnerThread {
public:
    explicit TOwnerThread(TWndMethod handler)
    {
        FThread = std::thread([this, handler = std::move(handler)]() mutable {
            HWND w = AllocateMessageWindow(std::move(handler));
            {
                std::lock_guard lock(FLock);
                FWnd = w;
                FReady.notify_one();
            }
            RunMessageLoopUntil([this] { return FStop.load(); });
            DeallocateMessageWindow(w);
        });
        std::unique_lock lock(FLock);
        FReady.wait(lock, [&] { return FWnd != 0; });
    }
    ~TOwnerThread() { Stop(); }
    void Stop()
    {
        FStop = true;
        if (FThread.joinable())
            FThread.join();
    }
    HWND Wnd() const { return FWnd; }

private:
    std::mutex FLock;
    std::condition_variable FReady;
    std::thread FThread;
    std::atomic<bool> FStop{false};
    HWND FWnd = 0;
};

// Installs a failure reporter for the test's duration.
struct TFailureLog {
    std::mutex Lock;
    std::vector<std::string> Messages;
    TFailureLog()
    {
        SetMessageExceptionHandler([this](std::exception_ptr e) {
            try {
                std::rethrow_exception(e);
            } catch (const std::exception& ex) {
                std::lock_guard lock(Lock);
                Messages.push_back(ex.what());
            }
        });
    }
    ~TFailureLog() { SetMessageExceptionHandler(nullptr); }
    size_t Count()
    {
        std::lock_guard lock(Lock);
        return Messages.size();
    }
};

// Spins the main thread's Qt event loop until done() or the time-out.
bool SpinEventLoopUntil(const std::function<bool()>& done, int ms = 5000)
{
    const uint64_t start = OsMonotonicMs();
    while (!done()) {
        if (OsMonotonicMs() - start > uint64_t(ms))
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

}  // namespace

TEST(MessageWindow, PostsFromEightThreadsArriveInPerSenderOrderAndNoneIsLost)
{
    constexpr int kPerSender = 125000;  // 1,000,000 in all
    constexpr int kSenders = 8;
    std::vector<int> next(kSenders, 0);
    std::atomic<int> received{0};
    std::atomic<int> outOfOrder{0};
    TOwnerThread owner([&](TMessage& m) {
        if (m.Msg != MSG_DATA)
            return;
        const int sender = int(m.WParam);
        if (int(m.LParam) != next[sender])
            ++outOfOrder;
        next[sender] = int(m.LParam) + 1;
        received.fetch_add(1, std::memory_order_release);
    });
    std::vector<std::thread> senders;
    for (int s = 0; s < kSenders; ++s)
        senders.emplace_back([&, s] {
            for (int i = 0; i < kPerSender; ++i)
                ASSERT_TRUE(PostMessage(owner.Wnd(), MSG_DATA, WPARAM(s), LPARAM(i)));
        });
    for (auto& t : senders)
        t.join();
    const uint64_t start = OsMonotonicMs();
    while (received.load(std::memory_order_acquire) < kSenders * kPerSender && OsMonotonicMs() - start < 60000)
        std::this_thread::sleep_for(1ms);
    owner.Stop();
    EXPECT_EQ(received.load(), kSenders * kPerSender);
    EXPECT_EQ(outOfOrder.load(), 0);
    for (int s = 0; s < kSenders; ++s)
        EXPECT_EQ(next[s], kPerSender) << s;
}

TEST(MessageWindow, SendReturnsTheHandlersResultFromTheOwnerThread)
{
    std::atomic<DWORD> handlerThread{0};
    TOwnerThread owner([&](TMessage& m) {
        handlerThread = GetCurrentThreadId();
        m.Result = LRESULT(m.WParam * 2 + m.LParam);
    });
    LRESULT r = 0;
    EXPECT_TRUE(SendMessageTimeout(owner.Wnd(), MSG_DATA, 20, 2, 3000, &r));
    EXPECT_EQ(r, 42);
    EXPECT_EQ(SendMessage(owner.Wnd(), MSG_DATA, 1, 1), 3);
    EXPECT_EQ(handlerThread.load(), MessageWindowThreadId(owner.Wnd()));
    EXPECT_NE(handlerThread.load(), GetCurrentThreadId());
}

TEST(MessageWindow, SendToABusyThreadReturnsOnTimeAndTheHandlerStillRuns)
{
    std::atomic<int> handled{0};
    TOwnerThread owner([&](TMessage& m) {
        if (m.Msg == MSG_FAIL)  // keeps the owner busy
            std::this_thread::sleep_for(600ms);
        else
            ++handled;
    });
    ASSERT_TRUE(PostMessage(owner.Wnd(), MSG_FAIL));
    std::this_thread::sleep_for(20ms);
    const uint64_t start = OsMonotonicMs();
    LRESULT r = 7;
    EXPECT_FALSE(SendMessageTimeout(owner.Wnd(), MSG_DATA, 0, 0, 150, &r));
    const uint64_t took = OsMonotonicMs() - start;
    EXPECT_EQ(GetLastError(), ERROR_TIMEOUT);
    EXPECT_GE(took, 150u);
    EXPECT_LT(took, 450u);
    EXPECT_EQ(r, 7);
    const uint64_t wait = OsMonotonicMs();
    while (handled.load() == 0 && OsMonotonicMs() - wait < 5000)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(handled.load(), 1);
}

TEST(MessageWindow, AFailingHandlerIsReportedAndTheLoopGoesOn)
{
    TFailureLog log;
    std::atomic<int> handled{0};
    TOwnerThread owner([&](TMessage& m) {
        if (m.Msg == MSG_FAIL) {
            m.Result = 5;
            throw std::runtime_error("handler failed");
        }
        ++handled;
    });
    ASSERT_TRUE(PostMessage(owner.Wnd(), MSG_FAIL));
    ASSERT_TRUE(PostMessage(owner.Wnd(), MSG_DATA));
    LRESULT r = 0;
    EXPECT_TRUE(SendMessageTimeout(owner.Wnd(), MSG_FAIL, 0, 0, 3000, &r));
    EXPECT_EQ(r, 5);
    EXPECT_TRUE(SendMessageTimeout(owner.Wnd(), MSG_DATA, 0, 0, 3000, &r));
    // Sent messages go before posted ones; wait for the posted pair too.
    const uint64_t start = OsMonotonicMs();
    while ((handled.load() < 2 || log.Count() < 2) && OsMonotonicMs() - start < 5000)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(handled.load(), 2);
    ASSERT_EQ(log.Count(), 2u);
    EXPECT_EQ(log.Messages[0], "handler failed");
}

TEST(MessageWindow, MainThreadQueueIsPumpedByTheEventLoop)
{
    TFailureLog log;
    std::vector<int> got;
    DWORD ranOn = 0;
    HWND wnd = AllocateMessageWindow([&](TMessage& m) {
        ranOn = GetCurrentThreadId();
        if (m.Msg == MSG_FAIL)
            throw std::runtime_error("main thread handler failed");
        got.push_back(int(m.LParam));
        m.Result = 1;
    });
    std::atomic<bool> sendOk{false};
    std::thread t([&] {
        for (int i = 0; i < 100; ++i)
            PostMessage(wnd, i == 50 ? MSG_FAIL : MSG_DATA, 0, i);
        LRESULT r = 0;
        sendOk = SendMessageTimeout(wnd, MSG_DATA, 0, 1000, 3000, &r) && r == 1;
    });
    // 99 posted data messages and the sent one (which may overtake posted
    // ones: sent messages are delivered first).
    EXPECT_TRUE(SpinEventLoopUntil([&] { return got.size() == 100; }));
    t.join();
    DeallocateMessageWindow(wnd);
    EXPECT_TRUE(sendOk.load());
    EXPECT_EQ(ranOn, GetCurrentThreadId());
    EXPECT_EQ(log.Count(), 1u);
    std::vector<int> posted;
    for (int v : got)
        if (v != 1000)
            posted.push_back(v);
    ASSERT_EQ(posted.size(), 99u);
    for (int i = 0, k = 0; i < 100; ++i) {
        if (i != 50) {
            EXPECT_EQ(posted[size_t(k++)], i);
        }
    }
}

TEST(MessageWindow, MessagesKeepComingInsideAModalLoopOfAHandler)
{
    std::vector<int> order;
    std::atomic<HWND> wndForThread{0};
    HWND wnd = AllocateMessageWindow([&](TMessage& m) {
        order.push_back(int(m.LParam));
        if (m.LParam == 0) {
            // A handler that opens a dialog: a nested event loop that ends
            // when the next message has come through.
            QEventLoop loop;
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, [&] {
                if (order.size() >= 2)
                    loop.quit();
            });
            poll.start(5);
            QTimer::singleShot(5000, &loop, &QEventLoop::quit);
            loop.exec();
        }
    });
    wndForThread = wnd;
    std::thread t([&] {
        PostMessage(wndForThread, MSG_DATA, 0, 0);
        std::this_thread::sleep_for(30ms);
        LRESULT r;
        SendMessageTimeout(wndForThread, MSG_DATA, 0, 1, 3000, &r);
    });
    EXPECT_TRUE(SpinEventLoopUntil([&] { return order.size() == 2; }));
    t.join();
    DeallocateMessageWindow(wnd);
    EXPECT_EQ(order, (std::vector<int>{0, 1}));
}

TEST(MessageWindow, ThreadsSendingToEachOtherDoNotDeadlock)
{
    std::atomic<HWND> second{0};
    TOwnerThread a([&](TMessage& m) { m.Result = m.LParam + 1; });
    TOwnerThread b([&](TMessage& m) {
        // While b's handler waits for a, a's answer comes; meanwhile a
        // sends to b: b must serve it inside its own wait.
        LRESULT r = 0;
        if (m.Msg == MSG_DATA && SendMessageTimeout(a.Wnd(), MSG_DATA, 0, m.LParam, 3000, &r))
            m.Result = r * 10;
        else
            m.Result = -1;
    });
    std::thread caller([&] {
        for (int i = 0; i < 200; ++i) {
            LRESULT r = 0;
            ASSERT_TRUE(SendMessageTimeout(b.Wnd(), MSG_DATA, 0, i, 3000, &r));
            ASSERT_EQ(r, (i + 1) * 10);
        }
    });
    caller.join();
    (void)second;
}

TEST(MessageWindow, AFreedWindowRefusesPostsAndFailsWaitingSenders)
{
    std::atomic<HWND> wnd{0};
    std::atomic<bool> release{false};
    THandle busy = CreateEvent(true, false);
    std::thread owner([&] {
        HWND w = AllocateMessageWindow([&](TMessage&) {});
        wnd = w;
        WaitForSingleObject(busy, INFINITE);  // not pumping
        DeallocateMessageWindow(w);
        while (!release)
            std::this_thread::sleep_for(1ms);
    });
    while (wnd.load() == 0)
        std::this_thread::sleep_for(1ms);
    std::atomic<bool> sendResult{true};
    std::atomic<uint64_t> sendTook{0};
    std::thread sender([&] {
        const uint64_t start = OsMonotonicMs();
        sendResult = SendMessageTimeout(wnd, MSG_DATA, 0, 0, 10000);
        sendTook = OsMonotonicMs() - start;
    });
    std::this_thread::sleep_for(50ms);
    SetEvent(busy);
    sender.join();
    EXPECT_FALSE(sendResult.load());
    EXPECT_LT(sendTook.load(), 5000u);
    EXPECT_FALSE(PostMessage(wnd, MSG_DATA));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_FALSE(IsMessageWindow(wnd));
    release = true;
    owner.join();
}

TEST(MessageWindow, WindowsOfAnEndedThreadAreGone)
{
    HWND wnd = 0;
    std::thread([&] { wnd = AllocateMessageWindow([](TMessage&) {}); }).join();
    EXPECT_NE(wnd, 0u);
    EXPECT_FALSE(IsMessageWindow(wnd));
    EXPECT_FALSE(PostMessage(wnd, MSG_DATA));
}

TEST(MessageWindow, ASenderLearnsAtOnceWhenTheOwnerThreadEnds)
{
    std::atomic<HWND> wnd{0};
    THandle quit = CreateEvent(true, false);
    std::thread owner([&] {
        wnd = AllocateMessageWindow([](TMessage& m) { m.Result = 1; });
        WaitForSingleObject(quit, INFINITE);  // ends without pumping
    });
    while (wnd.load() == 0)
        std::this_thread::sleep_for(1ms);
    std::atomic<bool> sent{true};
    std::thread sender([&] { sent = SendMessageTimeout(wnd, MSG_DATA, 0, 0, INFINITE); });
    std::this_thread::sleep_for(30ms);
    SetEvent(quit);
    owner.join();
    sender.join();  // returns although the time-out is INFINITE
    EXPECT_FALSE(sent.load());
}

TEST(MessageWindow, AHandlerMayFreeItsOwnWindow)
{
    HWND wnd = 0;
    int calls = 0;
    std::thread([&] {
        wnd = AllocateMessageWindow([&](TMessage&) {
            ++calls;
            DeallocateMessageWindow(wnd);
        });
        PostMessage(wnd, MSG_DATA);
        PostMessage(wnd, MSG_DATA);
        ProcessMessages();
    }).join();
    EXPECT_EQ(calls, 1);
}

TEST(MessageWindow, MessageAwareWaitSeesInputThatWasAlreadyWaiting)
{
    std::thread([] {
        int calls = 0;
        HWND w = AllocateMessageWindow([&](TMessage&) { ++calls; });
        THandle never = CreateEvent(true, false);
        PostMessage(w, MSG_DATA);
        // The message came before the wait began; the wait must still see it.
        EXPECT_EQ(MsgWaitForMultipleObjects(std::span<const THandle>(&never, 1), false, 1000), WAIT_OBJECT_0 + 1);
        EXPECT_EQ(MsgWaitForMultipleObjects(std::span<const THandle>(&never, 1), false, 0), WAIT_OBJECT_0 + 1);
        EXPECT_EQ(ProcessMessages(), 1);
        EXPECT_EQ(MsgWaitForMultipleObjects(std::span<const THandle>(&never, 1), false, 10), WAIT_TIMEOUT);
        EXPECT_EQ(calls, 1);
        DeallocateMessageWindow(w);
    }).join();
}

TEST(MessageWindow, OneWindowsMessagesCanBePumpedAlone)
{
    std::thread([] {
        std::vector<int> a, b;
        HWND wa = AllocateMessageWindow([&](TMessage& m) { a.push_back(int(m.LParam)); });
        HWND wb = AllocateMessageWindow([&](TMessage& m) { b.push_back(int(m.LParam)); });
        for (int i = 0; i < 3; ++i) {
            PostMessage(wa, MSG_DATA, 0, i);
            PostMessage(wb, MSG_DATA, 0, i);
        }
        EXPECT_EQ(ProcessWindowMessages(wb), 3);
        EXPECT_TRUE(a.empty());
        EXPECT_EQ(b, (std::vector<int>{0, 1, 2}));
        EXPECT_EQ(ProcessMessages(), 3);
        EXPECT_EQ(a, (std::vector<int>{0, 1, 2}));
        DeallocateMessageWindow(wa);
        DeallocateMessageWindow(wb);
    }).join();
}

TEST(MessageWindow, RegisteredIdsAreStablePerNameAndIgnoreCase)
{
    const UINT a = RegisterWindowMessage(QStringLiteral("Test.Registered.A"));
    const UINT b = RegisterWindowMessage(QStringLiteral("Test.Registered.B"));
    EXPECT_GE(a, 0xC000u);
    EXPECT_LE(a, 0xFFFFu);
    EXPECT_NE(a, b);
    EXPECT_EQ(RegisterWindowMessage(QStringLiteral("test.registered.a")), a);
    EXPECT_EQ(RegisterWindowMessage(QString()), 0u);
    UINT fromThread = 0;
    std::thread([&] { fromThread = RegisterWindowMessage(QStringLiteral("TEST.REGISTERED.B")); }).join();
    EXPECT_EQ(fromThread, b);
}

TEST(MessageWindow, WindowCountFollowsAllocations)
{
    const int before = MessageWindowCount();
    HWND a = AllocateMessageWindow([](TMessage&) {});
    HWND b = AllocateMessageWindow([](TMessage&) {});
    EXPECT_EQ(MessageWindowCount(), before + 2);
    DeallocateMessageWindow(a);
    EXPECT_EQ(MessageWindowCount(), before + 1);
    DeallocateMessageWindow(b);
    DeallocateMessageWindow(0);
    EXPECT_EQ(MessageWindowCount(), before);
}
