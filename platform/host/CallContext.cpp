#include "platform/host/CallContext.hpp"

#include "platform/zu/zuAssert.hpp"

#include <cmath>
#include <limits>

namespace NOX {

CallContext::CallContext(const MethodEntry& method, const vxArray* self,
                         std::vector<const vxArray*> arguments, int nargout,
                         HostObject* constructing)
    : methodEntry(method), selfArgument(self), argumentValues(std::move(arguments)),
      outputCount(nargout), objectUnderConstruction(constructing) {}

void CallContext::raiseNullSelf() {
    vxErrMsgIdAndTxt("QUASAR:nox_factory:null_self", "Attempt to call a method on an empty value");
}

const vxArray* CallContext::argument(std::size_t index) const {
    if (index >= argumentValues.size())
        vxErrMsgIdAndTxt("QUASAR:nox:missingArgument",
                         ("Method '" + methodEntry.method.name() + "' has no argument " +
                          std::to_string(index + 1))
                             .c_str());
    return argumentValues[index];
}

std::string CallContext::stringArgument(std::size_t index) const {
    const vxArray* value = argument(index);
    if (vxGetClassID(value) == vxDOUBLE_CLASS && vxIsEmpty(value))
        return {};
    char* text = vxArray2String(value);
    if (!text)
        raiseWrongType(index, value);
    std::string result(text);
    vxFree(text); // the host's copy goes at once
    return result;
}

std::int32_t CallContext::int32Argument(std::size_t index) const {
    const double number = doubleArgument(index);
    if (std::trunc(number) != number || number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::int32_t>::max())
        vxErrMsgIdAndTxt("QUASAR:nox:notInt32",
                         ("Argument " + std::to_string(index + 1) + " of '" +
                          methodEntry.method.name() + "' must be a 32-bit integer")
                             .c_str());
    return static_cast<std::int32_t>(number);
}

double CallContext::doubleArgument(std::size_t index) const {
    const vxArray* value = argument(index);
    const vxClassID id = vxGetClassID(value);
    if ((id != vxDOUBLE_CLASS && id != vxINT32_CLASS && id != vxLOGICAL_CLASS) ||
        vxGetNumberOfElements(value) != 1)
        raiseWrongType(index, value);
    return value->numberAt(0);
}

bool CallContext::logicalArgument(std::size_t index) const {
    return doubleArgument(index) != 0.0;
}

bool CallContext::checkObjectArgument(std::size_t index, const vxArray* value) const {
    const std::size_t count = vxGetNumberOfElements(value);
    if (count == 0 && (vxIsObject(value) || vxGetClassID(value) == vxDOUBLE_CLASS))
        return false;
    if (!vxIsObject(value))
        raiseWrongType(index, value);
    if (count > 1) {
        zu_assert(count <= 1, "Parameter must be either an empty matrix or a scalar");
        vxErrMsgIdAndTxt("QUASAR:nox:notScalar",
                         "Parameter must be either an empty matrix or a scalar");
    }
    return true;
}

void CallContext::raiseWrongType(std::size_t index, const vxArray* value) const {
    const auto& types = methodEntry.signature.arguments;
    const std::string expected = index < types.size() ? types[index].name() : std::string("?");
    vxErrMsgIdAndTxt("QUASAR:nox:wrongType",
                     ("Argument " + std::to_string(index + 1) + " of '" +
                      methodEntry.method.name() + "' must be '" + expected +
                      "', not a value of class '" + vxGetClassName(value) + "'")
                         .c_str());
}

void CallContext::setResult(vxArrayPtr value) {
    resultValues.clear();
    resultValues.push_back(std::move(value));
}

void CallContext::setObjects(const std::string& className,
                             const std::vector<HostObjectRef>& objects) {
    setResult(vxArrayPtr(vxCreateObjectArray(className.c_str(), objects)));
}

} // namespace NOX
