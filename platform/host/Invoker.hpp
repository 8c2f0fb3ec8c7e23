#pragma once

#include "platform/host/Signature.hpp"
#include "platform/host/host_export.hpp"
#include "platform/host/vxArray.hpp"

#include <string>
#include <vector>

namespace NOX {

// Calls into the host class system: the one entry point a script front end needs, since it
// only converts its values to and from host arrays. Every failure reaches the caller as a
// vxHostError with an id and a text (unknown class or method, no overload for the arguments,
// empty or foreign object, wrong types, and library errors thrown as COSMsgException or as
// other exceptions). Host thread only.
class HOST_EXPORT Invoker {
public:
    // A signature from host type names. Throws std::invalid_argument for a malformed name.
    static Signature createSignature(const std::string& result,
                                     const std::vector<std::string>& arguments = {});

    // Calls the method `name` of the class of arguments[0], an array of host objects (which may
    // be empty: it still has a class), with the other arguments. Overloads are tried in
    // registration order, the class's own before its superclasses'; the first whose signature
    // accepts the arguments runs. A method with a result gives one output even when nargout is 0.
    static std::vector<vxArrayPtr> callMethod(const std::string& name,
                                              const std::vector<const vxArray*>& arguments,
                                              int nargout = 0);
    // Calls a static method of a class named in full ("KITE.Util").
    static std::vector<vxArrayPtr> callStaticMethod(const std::string& className,
                                                    const std::string& name,
                                                    const std::vector<const vxArray*>& arguments,
                                                    int nargout = 0);
    // Makes a host object of a class through its constructor; the result holds the only count.
    static vxArrayPtr construct(const std::string& className,
                                const std::vector<const vxArray*>& arguments = {});
};

} // namespace NOX
