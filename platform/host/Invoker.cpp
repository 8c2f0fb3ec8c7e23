#include "platform/host/Invoker.hpp"

#include "platform/host/COSMsgException.hpp"
#include "platform/host/COSPackage.hpp"
#include "platform/host/CallContext.hpp"
#include "platform/host/CosCommonClassInfo.hpp"
#include "platform/host/HostObject.hpp"

#include <exception>

namespace NOX {

namespace {

[[noreturn]] void raise(const char* id, const std::string& text) {
    vxErrMsgIdAndTxt(id, text.c_str());
}

CosCommonClassInfo* classOrRaise(const std::string& className) {
    CosCommonClassInfo* record = COSPackage::findClass(className);
    if (!record)
        raise("QUASAR:nox:undefinedClass", "Undefined host class '" + className + "'");
    return record;
}

std::string describeArguments(const std::vector<const vxArray*>& values) {
    std::string text = "(";
    for (std::size_t i = 0; i < values.size(); ++i)
        text += (i ? ", " : "") + vxGetClassName(values[i]);
    return text + ")";
}

// Why a signature refuses the arguments: the first argument at fault, named by its place.
std::string mismatchOf(const Signature& signature, const std::vector<const vxArray*>& arguments) {
    const std::vector<HostType>& types = signature.arguments;
    if (arguments.size() < types.size())
        return "argument " + std::to_string(arguments.size() + 1) + " (" +
               types[arguments.size()].name() + ") is missing";
    if (arguments.size() > types.size())
        return "argument " + std::to_string(types.size() + 1) + " is one too many";
    for (std::size_t i = 0; i < types.size(); ++i) {
        if (!types[i].accepts(arguments[i]))
            return "argument " + std::to_string(i + 1) + " must be '" + types[i].name() +
                   "', not a value of class '" + vxGetClassName(arguments[i]) + "'";
    }
    return {};
}

// The first method whose signature takes the arguments; raises when there is none.
const MethodEntry& chooseOverload(const std::vector<const MethodEntry*>& candidates,
                                  const std::string& className, const std::string& name,
                                  const std::vector<const vxArray*>& arguments,
                                  const std::vector<const vxArray*>& described) {
    if (candidates.empty())
        raise("QUASAR:nox:undefinedMethod",
              "No method '" + name + "' for class '" + className + "'");
    for (const MethodEntry* candidate : candidates) {
        if (candidate->signature.accepts(arguments))
            return *candidate;
    }
    std::string text = "No signature of method '" + name + "' of class '" + className +
                       "' matches the arguments " + describeArguments(described) + "; it takes";
    for (std::size_t i = 0; i < candidates.size(); ++i)
        text += (i ? " or " : " ") + candidates[i]->signature.toString() + " (" +
                mismatchOf(candidates[i]->signature, arguments) + ")";
    raise("QUASAR:nox:noMatchingSignature", text);
}

// Runs an adapter; whatever it throws reaches the caller as a host error.
std::vector<vxArrayPtr> run(CallContext& context) {
    const MethodEntry& method = context.method();
    try {
        method.adapter(context);
    } catch (const vxHostError&) {
        throw;
    } catch (const COSMsgException& error) {
        throw vxHostError(error.id(), error.message());
    } catch (const std::exception& error) {
        throw vxHostError("QUASAR:nox:libraryError", "Error in method '" + method.method.name() +
                                                         "' of class '" + method.owner->fullName() +
                                                         "': " + error.what());
    } catch (...) {
        throw vxHostError("QUASAR:nox:libraryError", "Unknown error in method '" +
                                                         method.method.name() + "' of class '" +
                                                         method.owner->fullName() + "'");
    }
    std::vector<vxArrayPtr> results = std::move(context.results());
    if (method.signature.result.kind() == HostType::Void) {
        results.clear();
    } else if (results.empty()) {
        results.emplace_back(vxCreateEmptyArray()); // an adapter that set nothing returns []
    }
    if (context.nargout() > int(results.size()))
        raise("QUASAR:nox:tooManyOutputs",
              "Too many output arguments for method '" + method.method.name() + "'");
    return results;
}

} // namespace

Signature Invoker::createSignature(const std::string& result,
                                   const std::vector<std::string>& arguments) {
    Signature signature;
    signature.result = HostType::parse(result);
    for (const std::string& argument : arguments) {
        HostType type = HostType::parse(argument);
        if (type.kind() == HostType::Void)
            throw std::invalid_argument(
                "NOX::Invoker::createSignature: \"void\" is not an argument type");
        signature.arguments.push_back(type);
    }
    return signature;
}

std::vector<vxArrayPtr> Invoker::callMethod(const std::string& name,
                                            const std::vector<const vxArray*>& arguments,
                                            int nargout) {
    if (arguments.empty())
        raise("QUASAR:nox:undefinedMethod",
              "Method '" + name + "' needs an object to be called on");
    const vxArray* self = arguments.front();
    if (!vxIsObject(self))
        raise("QUASAR:nox:undefinedMethod",
              "No method '" + name + "' for a value of class '" + vxGetClassName(self) + "'");
    const std::string className = self->className();
    CosCommonClassInfo* record = classOrRaise(className);

    std::vector<const MethodEntry*> candidates;
    for (const MethodEntry* entry : record->findMethods(name)) {
        if (!entry->method.isStatic())
            candidates.push_back(entry);
    }
    const std::vector<const vxArray*> rest(arguments.begin() + 1, arguments.end());
    const MethodEntry& method = chooseOverload(candidates, className, name, rest, arguments);
    CallContext context(method, self, rest, nargout);
    return run(context);
}

std::vector<vxArrayPtr> Invoker::callStaticMethod(const std::string& className,
                                                  const std::string& name,
                                                  const std::vector<const vxArray*>& arguments,
                                                  int nargout) {
    CosCommonClassInfo* record = classOrRaise(className);
    std::vector<const MethodEntry*> candidates;
    for (const MethodEntry* entry : record->findMethods(name)) {
        if (entry->method.attributes() & NoxStatic)
            candidates.push_back(entry);
    }
    const MethodEntry& method = chooseOverload(candidates, className, name, arguments, arguments);
    CallContext context(method, nullptr, arguments, nargout);
    return run(context);
}

vxArrayPtr Invoker::construct(const std::string& className,
                              const std::vector<const vxArray*>& arguments) {
    CosCommonClassInfo* record = classOrRaise(className);
    // Constructors belong to their own class: a subclass is not made by its superclass's.
    std::vector<const MethodEntry*> candidates;
    for (const MethodEntry* entry : record->methods()) {
        if (entry->method.isConstructor())
            candidates.push_back(entry);
    }
    if (candidates.empty())
        raise("QUASAR:nox:noConstructor", "Class '" + className + "' has no constructor");
    const MethodEntry& method =
        chooseOverload(candidates, className, record->name(), arguments, arguments);

    // Counted from the start, so a failing constructor leaves nothing behind.
    HostObjectRef host(new HostObject(record));
    CallContext context(method, nullptr, arguments, 1, host.get());
    run(context);
    if (!host->isBound())
        raise("QUASAR:nox:constructorFailed",
              "The constructor of class '" + className + "' made no object");
    return vxArrayPtr(vxCreateObjectArray(className.c_str(), {host}));
}

} // namespace NOX
