#include "platform/orbis/ModuleSetup.hpp"
#include "platform/nimb/Thread.hpp"
#include "platform/orbis/OrbisMessages.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/zu/zuMessages.hpp"

#include <QCoreApplication>

#include <gtest/gtest.h>

TEST(ModuleSetupTest, InitialisingWithAQtApplicationOnceOrAgainReportsNothing) {
    TAVI::ErrorHolder errors;
    QSInitialize_orbis();
    initialize_orbis(errors);
    initialize_tavi2();
    initialize_zeph(errors);
    initialize_orbis_platform();
    EXPECT_FALSE(errors.hasError()) << errors.what();
    EXPECT_TRUE(isOrbisPlatformInitialized());
    // The framework's messages are known to the host after set-up.
    EXPECT_TRUE(zuHasMessage(PLATFORM::Messages::ObjectAlreadyRegistered));
    EXPECT_EQ(zuGetMessageId(PLATFORM::Messages::TabIndexOutOfRange),
              "PLATFORM_TabIndexOutOfRange");
    // "QUASAR" stays the thread of the Qt application.
    EXPECT_EQ(NIMB::Thread::getNamedThread(NIMB::Thread::hostThreadName),
              NIMB::Thread::fromQThread(QCoreApplication::instance()->thread()));

    // Repeated set-up changes nothing.
    initialize_orbis(errors);
    initialize_orbis_platform();
    EXPECT_FALSE(errors.hasError());
    TAVI::ErrorHolder reported;
    PLATFORM::reportError(reported, TAVI_HERE, PLATFORM::Messages::ComponentNotFound, "tree");
    EXPECT_EQ(reported.what(), "The studio has no component named 'tree'.");
}
