#include "platform/tavi/QuasarTimer.hpp"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <memory>

using TAVI::QuasarTimer;

namespace {

// Runs the event loop until the condition holds or two seconds pass.
bool processUntil(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

} // namespace

TEST(QuasarTimerTest, SingleShotFiresOnceToHandlersInOrder) {
    ASSERT_NE(QCoreApplication::instance(), nullptr);
    QuasarTimer timer;
    std::vector<int> calls;
    timer.connectTimeout([&] { calls.push_back(1); });
    timer.connectTimeout([&] { calls.push_back(2); });
    timer.startSingle(10);
    EXPECT_TRUE(timer.isActive());
    ASSERT_TRUE(processUntil([&] { return !calls.empty(); }));
    processUntil([] { return false; }); // would expose a second firing
    EXPECT_EQ(calls, (std::vector<int>{1, 2}));
    EXPECT_FALSE(timer.isActive());
}

TEST(QuasarTimerTest, StopAndDisconnectPreventCalls) {
    QuasarTimer timer;
    int calls = 0;
    const int id = timer.connectTimeout([&] { ++calls; });
    timer.startSingle(0);
    timer.stop();
    timer.disconnectTimeout(id);
    timer.startSingle(0);
    processUntil([&] { return !timer.isActive(); });
    EXPECT_EQ(calls, 0);
}

TEST(QuasarTimerTest, HandlerMayDestroyTheTimer) {
    auto timer = std::make_unique<QuasarTimer>();
    int later = 0;
    timer->connectTimeout([&] { timer.reset(); });
    timer->connectTimeout([&] { ++later; }); // must not run on a destroyed timer
    timer->startSingle(0);
    ASSERT_TRUE(processUntil([&] { return timer == nullptr; }));
    EXPECT_EQ(later, 0);
}
