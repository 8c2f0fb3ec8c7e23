#pragma once

#include "bindings/kite_bindings_export.hpp"

#include <string>

namespace NOX {
class COSPackage;
}

namespace KITE::mi {

// The host package "KITE": the classes through which scripts drive studios. Its initialization
// brings up the studio framework's own package and adds, in this order, "Editor",
// "GenericVELDStudioApp", "Util", "StudioApp", "AbstractDomain", "Domain", "GenericVELDDomain",
// "TreeComponent" and "PropBrowserComponent", then the diagram model's value classes
// (KITEStaticInitializePackage).
//
// Every method checks what it is given before it changes anything: a wrong, missing or extra
// argument, an object that no longer exists and a studio application whose window is gone are
// host errors that name the method and the argument.
class KITE_BINDINGS_EXPORT KITEPackageWrapper {
public:
    static constexpr const char* packageName = "KITE";

    // Adds the package (once); its classes are filled when the host first needs one.
    static NOX::COSPackage* addPackage();
    static const char* name() { return packageName; }

    // The package's initialization hook.
    static void initializePackage(NOX::COSPackage& package);
};

} // namespace KITE::mi
