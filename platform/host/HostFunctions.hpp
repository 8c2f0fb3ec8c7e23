#pragma once

#include "platform/host/host_export.hpp"
#include "platform/host/vxArray.hpp"

#include <functional>
#include <string>
#include <vector>

// Named host functions: functions the program registers under a name so that the library can
// call them without knowing them (the studio's menu builder, say). Host thread only.
using HostFunction =
    std::function<std::vector<vxArrayPtr>(const std::vector<const vxArray*>& arguments)>;

// Registers (or replaces) a function; an empty function removes the name.
HOST_EXPORT void inRegisterHostFunction(const std::string& name, HostFunction function);
HOST_EXPORT bool inHasHostFunction(const std::string& name);

// Calls a named function. Any error inside it (a host error, an exception, an unknown name) is
// trapped: printed with zuPrintf as "Error in <name>: <text>", kept for inGetLastTrappedError,
// and reported as false, never passed on. Results, when asked for, replace *results.
HOST_EXPORT bool inCallFcnWithTrap(const std::string& name,
                                   const std::vector<const vxArray*>& arguments,
                                   std::vector<vxArrayPtr>* results = nullptr);

// The last error trapped by inCallFcnWithTrap (empty id and text when none since the last clear).
struct HOST_EXPORT TrappedError {
    std::string function;
    std::string id;
    std::string text;
};
HOST_EXPORT TrappedError inGetLastTrappedError();
HOST_EXPORT void inClearLastTrappedError();

// The installation root: the folder under which the library finds its resources
// ("<root>/toolbox/shared/orbis/resources"). It is the toolkit application context's root
// directory.
HOST_EXPORT std::string svQuasarRoot();

// True on the thread that runs the host (the signal library's thread named "QUASAR").
HOST_EXPORT bool zuIsSignalThread();
