#include "platform/nimb/Thread.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/Emitter.hpp"
#include "platform/nimb/Listener.hpp"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSemaphore>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

using namespace NIMB;

namespace {

// Queued deliveries to the main thread run in its event loop: the binary's test environment
// provides the application.
class ThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        worker.start();
        ASSERT_TRUE(worker.isRunning());
    }
    void TearDown() override {
        worker.quit();
        worker.wait();
    }

    // Runs the main thread's event loop until the condition holds or a second has passed.
    template <class Condition> static bool processEventsUntil(Condition condition) {
        QDeadlineTimer deadline(1000);
        while (!condition() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return condition();
    }

    // Runs a function on the worker thread and waits until it has run.
    template <class Function> bool runOnWorker(Function function) {
        QObject* context = new QObject;
        context->moveToThread(&worker);
        QSemaphore done;
        QMetaObject::invokeMethod(
            context,
            [&] {
                function();
                done.release();
            },
            Qt::QueuedConnection);
        const bool ran = done.tryAcquire(1, 2000);
        context->deleteLater();
        return ran;
    }

    QThread worker; // runs its own event loop (QThread::run's default)
};

// Remembers on which thread each call ran.
class ThreadProbe : public Listener {
public:
    void on(int value) {
        lastValue = value;
        lastThread = QThread::currentThread();
        calls.fetch_add(1);
        arrived.release();
    }
    std::atomic<int> calls{0};
    std::atomic<int> lastValue{0};
    std::atomic<QThread*> lastThread{nullptr};
    QSemaphore arrived;
};

TEST_F(ThreadTest, HostThreadIsTheApplicationThreadUnlessNamedOtherwise) {
    Thread* main = Thread::getCurrentThread();
    EXPECT_EQ(main, Thread::getCurrentThread());
    EXPECT_EQ(Thread::getNamedThread("QUASAR"), main);
    EXPECT_EQ(Thread::getNamedThread("no such thread"), nullptr);

    Thread* other = Thread::fromQThread(&worker);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, main);
    EXPECT_EQ(other->qThread(), &worker);

    Thread::setNamedThread("QUASAR", other);
    EXPECT_EQ(Thread::getNamedThread("QUASAR"), other);
    Thread::setNamedThread("QUASAR", nullptr);
    EXPECT_EQ(Thread::getNamedThread("QUASAR"), main);
}

TEST_F(ThreadTest, PacketForAnotherThreadRunsInThatThreadsEventLoop) {
    Emitter<int> signal;
    ThreadProbe probe;
    new ConnectionImpl1<ThreadProbe, int>(&probe, signal, Thread::fromQThread(&worker),
                                          &ThreadProbe::on);

    signal.send(42);
    ASSERT_TRUE(probe.arrived.tryAcquire(1, 2000));
    EXPECT_EQ(probe.lastValue.load(), 42);
    EXPECT_EQ(probe.lastThread.load(), &worker);
    EXPECT_EQ(probe.calls.load(), 1);
}

TEST_F(ThreadTest, WaitingSendReturnsAfterTheOtherThreadHasRunTheHandler) {
    Emitter<int> signal;
    ThreadProbe probe;
    new ConnectionImpl1<ThreadProbe, int>(&probe, signal, Thread::fromQThread(&worker),
                                          &ThreadProbe::on);

    signal.send(1, SendAutoAndWait);
    EXPECT_EQ(probe.calls.load(), 1);
    EXPECT_EQ(probe.lastThread.load(), &worker);
}

TEST_F(ThreadTest, PacketSentFromAWorkerReachesTheHostThreadOnlyThroughItsEventLoop) {
    Emitter<int> signal;
    ThreadProbe probe;
    new ConnectionImpl1<ThreadProbe, int>(&probe, signal, Thread::getNamedThread("QUASAR"),
                                          &ThreadProbe::on);

    ASSERT_TRUE(runOnWorker([&] { signal.send(5); }));
    EXPECT_EQ(probe.calls.load(), 0); // queued, not called on the worker
    ASSERT_TRUE(processEventsUntil([&] { return probe.calls.load() == 1; }));
    EXPECT_EQ(probe.lastThread.load(), QThread::currentThread());
}

TEST_F(ThreadTest, QueuedPacketIsDroppedWhenItsListenerIsDestroyedFirst) {
    struct Counting : Listener {
        void on(int) { ++*hits; }
        int* hits = nullptr;
    };
    int hits = 0;
    Emitter<int> signal;
    auto probe = std::make_unique<Counting>();
    probe->hits = &hits;
    new ConnectionImpl1<Counting, int>(probe.get(), signal, nullptr, &Counting::on);

    ASSERT_TRUE(runOnWorker([&] { signal.send(5); }));
    probe.reset();
    QCoreApplication::processEvents(); // runs the queued delivery, which must find nobody
    EXPECT_EQ(hits, 0);

    // The same path with the listener alive does deliver, so the check above means something.
    Counting alive;
    alive.hits = &hits;
    new ConnectionImpl1<Counting, int>(&alive, signal, nullptr, &Counting::on);
    ASSERT_TRUE(runOnWorker([&] { signal.send(6); }));
    EXPECT_TRUE(processEventsUntil([&] { return hits == 1; }));
}

TEST_F(ThreadTest, SendToAFinishedThreadNeitherDeliversNorBlocks) {
    Emitter<int> signal;
    ThreadProbe probe;
    new ConnectionImpl1<ThreadProbe, int>(&probe, signal, Thread::fromQThread(&worker),
                                          &ThreadProbe::on);
    worker.quit();
    ASSERT_TRUE(worker.wait(2000));

    signal.send(1, SendAutoAndWait);
    EXPECT_EQ(probe.calls.load(), 0);
}

// Destroying a listener on one thread while its handler runs on another waits for the handler.
TEST_F(ThreadTest, ListenerDestroyedElsewhereWaitsForItsRunningHandler) {
    struct Slow : Listener {
        void on(int) {
            entered.release();
            QThread::msleep(100);
            finished = true;
        }
        QSemaphore entered;
        std::atomic<bool> finished{false};
    };
    Emitter<int> signal;
    auto slow = std::make_unique<Slow>();
    new ConnectionImpl1<Slow, int>(slow.get(), signal, Thread::fromQThread(&worker), &Slow::on);

    signal.send(1);
    ASSERT_TRUE(slow->entered.tryAcquire(1, 2000));
    Slow* raw = slow.get();
    raw->disconnect(); // what ~Listener does first; the object is still there to look at
    EXPECT_TRUE(raw->finished.load());
}

} // namespace
