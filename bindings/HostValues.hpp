#pragma once

#include "bindings/kite_mi_export.hpp"
#include "platform/host/CallContext.hpp"
#include "platform/veld/Model.hpp"
#include "platform/veld/Object.hpp"

#include <string>
#include <vector>

namespace NOX {
class COSPackage;
}

// The host classes of the values the library's methods take and give: kernel objects and meta
// data (package "VELD"), diagram elements (added to package "KITE") and canvas objects (package
// "ZEPH"), and the conversions method adapters use. Kernel and diagram values are copied into
// their host objects as handles, so a host value never keeps a deleted object alive: it turns
// invalid, and an adapter given one refuses it.
namespace KITE::mi {

// A list of kernel values, as "VELD.SequenceOf..." and "KITE.ImmutableSequenceOf..." hold it.
struct KITE_MI_EXPORT HostSequence {
    std::vector<VELD::ImmutableObject> items;
};

// Adds the packages "VELD" and "ZEPH" (once).
KITE_MI_EXPORT void addValuePackages();

// Adds this module's classes to the package "KITE": the diagram model's value classes.
KITE_MI_EXPORT void KITEStaticInitializePackage(NOX::COSPackage& package);

// Argument conversions. An empty value gives a null handle. A value whose object no longer
// exists raises the host error "KITE:deadObject" naming the argument and the method; a value of
// another kind raises "QUASAR:nox:wrongType".
KITE_MI_EXPORT VELD::ImmutableObject objectArgument(const NOX::CallContext& call,
                                                    std::size_t index);
KITE_MI_EXPORT VELD::ClassObject classObjectArgument(const NOX::CallContext& call,
                                                     std::size_t index);
KITE_MI_EXPORT VELD::Model modelArgument(const NOX::CallContext& call, std::size_t index);

// Results: a null or invalid handle gives an empty value of the result's class.
KITE_MI_EXPORT void setObjectResult(NOX::CallContext& call, const VELD::ImmutableObject& value);
KITE_MI_EXPORT void setModelResult(NOX::CallContext& call, const VELD::Model& model);
KITE_MI_EXPORT void setSequenceResult(NOX::CallContext& call,
                                      std::vector<VELD::ImmutableObject> items);

// Host errors about one argument: "Argument <n> of '<method>' (<type>): <what>". Ids
// "KITE:deadObject" (its object no longer exists) and "KITE:badArgument" (a value the method
// cannot take).
[[noreturn]] KITE_MI_EXPORT void raiseDeadArgument(const NOX::CallContext& call, std::size_t index,
                                                   const std::string& what);
[[noreturn]] KITE_MI_EXPORT void raiseBadArgument(const NOX::CallContext& call, std::size_t index,
                                                  const std::string& what);

} // namespace KITE::mi
