#include "platform/orbis/ModuleSetup.hpp"

#include "platform/nimb/Thread.hpp"
#include "platform/orbis/OrbisMessages.hpp"
#include "platform/orbis/OrbisPackage.hpp"
#include "platform/tavi/CodeLocation.hpp"

#include <QApplication>

namespace {

bool platformReady = false;

bool haveGuiApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

void QSInitialize_orbis() {
    PLATFORM::registerOrbisMessages();
    ORB::mi::addOrbisPackage();
}

void initialize_orbis(TAVI::ErrorHolder& errors) {
    QSInitialize_orbis();
    if (!haveGuiApplication())
        PLATFORM::reportError(errors, TAVI_HERE, PLATFORM::Messages::NoGuiApplication,
                              "The studio framework");
}

void initialize_tavi2() {
    if (!haveGuiApplication())
        return;
    // Until named, "QUASAR" follows whatever QCoreApplication exists; pin it to
    // this one's thread, unless a program has named another thread on purpose.
    NIMB::Thread* uiThread = NIMB::Thread::fromQThread(QCoreApplication::instance()->thread());
    if (NIMB::Thread::getNamedThread(NIMB::Thread::hostThreadName) == uiThread)
        NIMB::Thread::setNamedThread(NIMB::Thread::hostThreadName, uiThread);
}

void initialize_zeph(TAVI::ErrorHolder& errors) {
    if (!haveGuiApplication())
        PLATFORM::reportError(errors, TAVI_HERE, PLATFORM::Messages::NoGuiApplication,
                              "The canvas");
}

void initialize_orbis_platform() {
    PLATFORM::registerOrbisMessages();
    platformReady = true;
}

bool isOrbisPlatformInitialized() {
    return platformReady;
}
