#pragma once

#include "platform/host/CosCommonClassInfo.hpp"
#include "platform/host/CosCommonReferencedClassInfo.hpp"
#include "platform/orbis/orbis_export.hpp"

namespace NOX {
class COSPackage;
}

// The studio framework's host classes: package "ORB" with "ORB.Studio",
// "ORB.Application", "ORB.StudioComponent", "ORB.DomainInterface",
// "ORB.StudioService", "ORB.StudioEventService" and
// "ORB.StudioFrameworkService". Libraries derive the records of their own
// classes from the bases below and name these classes as superclasses.
// Framework errors reach scripts as host errors with the framework's ids.
namespace ORB::mi {

using CosCommonClassInfo = NOX::CosCommonClassInfo;
template <class T> using CosCommonReferencedClassInfo = NOX::CosCommonReferencedClassInfo<T>;

// Adds the package (once; later calls return the same package). Its classes
// are filled when the host first needs one of them.
ORBIS_EXPORT NOX::COSPackage* addOrbisPackage();

} // namespace ORB::mi
