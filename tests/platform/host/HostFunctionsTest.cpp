#include "platform/host/HostFunctions.hpp"
#include "platform/nimb/Thread.hpp"
#include "platform/tavi/ApplicationContext.hpp"
#include "platform/zu/zuPrint.hpp"

#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace {

TEST(HostFunctionsTest, NamedFunctionIsCalledWithItsArgumentsAndGivesResults) {
    inRegisterHostFunction("kt_double_it", [](const std::vector<const vxArray*>& arguments) {
        std::vector<vxArrayPtr> results;
        results.emplace_back(vxCreateDoubleScalar(2 * vxGetScalar(arguments.at(0))));
        return results;
    });
    vxArrayPtr four(vxCreateDoubleScalar(4));
    std::vector<vxArrayPtr> results;
    EXPECT_TRUE(inCallFcnWithTrap("kt_double_it", {four.get()}, &results));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(vxGetScalar(results[0].get()), 8.0);
    inRegisterHostFunction("kt_double_it", nullptr);
    EXPECT_FALSE(inHasHostFunction("kt_double_it"));
}

TEST(HostFunctionsTest, ErrorsInsideAreTrappedAndReported) {
    inRegisterHostFunction(
        "kt_fails", [](const std::vector<const vxArray*>& arguments) -> std::vector<vxArrayPtr> {
            vxGetScalar(arguments.empty() ? nullptr : arguments[0]); // raises for no argument
            throw std::runtime_error("not reached with a number");
        });
    ZuPrintCapture capture;
    inClearLastTrappedError();
    EXPECT_FALSE(inCallFcnWithTrap("kt_fails", {}));
    EXPECT_EQ(inGetLastTrappedError().function, "kt_fails");
    EXPECT_EQ(inGetLastTrappedError().id, "QUASAR:vx:notNumeric");
    EXPECT_NE(capture.text().find("Error in kt_fails: "), std::string::npos) << capture.text();

    vxArrayPtr one(vxCreateDoubleScalar(1));
    EXPECT_FALSE(inCallFcnWithTrap("kt_fails", {one.get()}));
    EXPECT_EQ(inGetLastTrappedError().text, "not reached with a number");

    EXPECT_FALSE(inCallFcnWithTrap("kt_no_such_function", {}));
    EXPECT_EQ(inGetLastTrappedError().id, "QUASAR:UndefinedFunction");
    inRegisterHostFunction("kt_fails", nullptr);
}

TEST(HostFunctionsTest, InstallationRootFollowsTheApplicationContext) {
    TAVI::ApplicationContext& context = TAVI::ApplicationContext::instance();
    EXPECT_EQ(svQuasarRoot(), context.getRootDirectory());
    context.setRootDirectory("/opt/kite-test-root");
    EXPECT_EQ(svQuasarRoot(), "/opt/kite-test-root");
    context.setRootDirectory("");
    EXPECT_EQ(svQuasarRoot(), TAVI::ApplicationContext::defaultRootDirectory());
}

TEST(HostFunctionsTest, SignalThreadIsTheHostThreadOnly) {
    EXPECT_TRUE(zuIsSignalThread()); // the test's QApplication runs on this thread
    std::atomic<bool> onWorker{true};
    QThread* worker = QThread::create([&] { onWorker = zuIsSignalThread(); });
    worker->start();
    worker->wait();
    delete worker;
    EXPECT_FALSE(onWorker.load());
}

} // namespace
