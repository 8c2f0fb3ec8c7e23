#pragma once

// Set-up of the studio framework's modules, called by a library's own
// initialisation in this order: QSInitialize_orbis (from its host package),
// initialize_orbis, initialize_tavi2, initialize_zeph, initialize_orbis_platform.
// Each may be called again; later calls change nothing.

#include "platform/orbis/orbis_export.hpp"

namespace TAVI {
class ErrorHolder;
}

// The host entry point: registers the framework's message table and adds its
// host package "ORB" (platform/orbis/OrbisPackage.hpp).
ORBIS_EXPORT void QSInitialize_orbis();
// As QSInitialize_orbis; reports PLATFORM_NoGuiApplication when no QApplication
// exists, since no studio window can be made without one.
ORBIS_EXPORT void initialize_orbis(TAVI::ErrorHolder& errors);
// Pins the host's thread name "QUASAR" to the user-interface thread (the
// QApplication's) unless a program named another, so that handlers bound to
// "QUASAR" keep running where the widgets live. Nothing without a QApplication.
ORBIS_EXPORT void initialize_tavi2();
// The canvas draws through Qt's graphics view: reports PLATFORM_NoGuiApplication
// when no QApplication exists.
ORBIS_EXPORT void initialize_zeph(TAVI::ErrorHolder& errors);
// Marks the framework ready (the message table registered) for isOrbisPlatformInitialized.
ORBIS_EXPORT void initialize_orbis_platform();
ORBIS_EXPORT bool isOrbisPlatformInitialized();
