#include "platform/host/HostFunctions.hpp"

#include "platform/nimb/Thread.hpp"
#include "platform/tavi/ApplicationContext.hpp"
#include "platform/zu/zuPrint.hpp"

#include <unordered_map>

namespace {

std::unordered_map<std::string, HostFunction>& functions() {
    static auto* map = new std::unordered_map<std::string, HostFunction>;
    return *map;
}

TrappedError& lastError() {
    static TrappedError error;
    return error;
}

bool trap(const std::string& name, const std::string& id, const std::string& text) {
    lastError() = TrappedError{name, id, text};
    zuPrintf("Error in %s: %s%s%s%s\n", name.c_str(), text.c_str(), id.empty() ? "" : " (",
             id.c_str(), id.empty() ? "" : ")");
    return false;
}

} // namespace

void inRegisterHostFunction(const std::string& name, HostFunction function) {
    if (function)
        functions()[name] = std::move(function);
    else
        functions().erase(name);
}

bool inHasHostFunction(const std::string& name) {
    return functions().count(name) != 0;
}

bool inCallFcnWithTrap(const std::string& name, const std::vector<const vxArray*>& arguments,
                       std::vector<vxArrayPtr>* results) {
    auto found = functions().find(name);
    if (found == functions().end())
        return trap(name, "QUASAR:UndefinedFunction", "Undefined function '" + name + "'");
    // A copy, so that a function that re-registers its own name does not pull itself away.
    const HostFunction function = found->second;
    try {
        std::vector<vxArrayPtr> produced = function(arguments);
        if (results)
            *results = std::move(produced);
        return true;
    } catch (const vxHostError& error) {
        return trap(name, error.id(), error.text());
    } catch (const std::exception& error) {
        return trap(name, "QUASAR:libraryError", error.what());
    } catch (...) {
        return trap(name, "QUASAR:libraryError", "unknown error");
    }
}

TrappedError inGetLastTrappedError() {
    return lastError();
}
void inClearLastTrappedError() {
    lastError() = TrappedError{};
}

bool zuIsSignalThread() {
    NIMB::Thread* host = NIMB::Thread::getNamedThread(NIMB::Thread::hostThreadName);
    return host && host == NIMB::Thread::getCurrentThread();
}

std::string svQuasarRoot() {
    return TAVI::ApplicationContext::instance().getRootDirectory();
}
