#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

// One QApplication per test binary, made before the first test and destroyed
// after the last, under the offscreen platform unless the caller chose another.
class QtTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!QCoreApplication::instance())
            app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app.reset(); }

private:
    int argc = 1;
    char name[16] = "kite_tests";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
};

// Registered during static initialisation, so gtest_main's RUN_ALL_TESTS sets it up.
[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtTestEnvironment);

} // namespace
