#pragma once

#include "platform/host/BindingRegistry.hpp"
#include "platform/host/CosCommonClassInfo.hpp"
#include "platform/host/HostObject.hpp"
#include "platform/host/host_export.hpp"
#include "platform/host/vxArray.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace NOX {

// One call of a method adapter: the object, the arguments and the results, with the
// conversions between host values and library values. Conversions that fail raise host errors
// (vxHostError); adapters need no checks of their own.
class HOST_EXPORT CallContext {
public:
    CallContext(const MethodEntry& method, const vxArray* self,
                std::vector<const vxArray*> arguments, int nargout,
                HostObject* constructing = nullptr);
    CallContext(const CallContext&) = delete;
    CallContext& operator=(const CallContext&) = delete;

    const MethodEntry& method() const { return methodEntry; }
    int nargout() const { return outputCount; }

    // The object the method is called on, as a T. Raises "QUASAR:nox_factory:null_self"
    // ("Attempt to call a method on an empty value") when the object value has no elements or its
    // first element does not wrap a T of the method's class.
    template <class T> T* self() const {
        HostObject* object = vxGetObject(selfArgument, 0);
        T* wrapped = object ? object->lookup<T>(methodEntry.owner->fullName()) : nullptr;
        if (!wrapped)
            raiseNullSelf();
        return wrapped;
    }
    const vxArray* selfValue() const { return selfArgument; }

    std::size_t argumentCount() const { return argumentValues.size(); }
    const vxArray* argument(std::size_t index) const; // raises for a missing argument
    std::string stringArgument(std::size_t index) const;
    std::int32_t int32Argument(std::size_t index) const;
    double doubleArgument(std::size_t index) const;
    bool logicalArgument(std::size_t index) const;
    // A class-typed argument: null for an empty value, the wrapped T for one element. More than
    // one element is refused with a host assertion and the host error "QUASAR:nox:notScalar";
    // an object that does not wrap a T gives "QUASAR:nox:wrongType".
    template <class T> T* objectArgument(std::size_t index) const {
        const vxArray* value = argument(index);
        if (!checkObjectArgument(index, value))
            return nullptr;
        T* wrapped = vxGetObject(value, 0)->template as<T>();
        if (!wrapped)
            raiseWrongType(index, value);
        return wrapped;
    }
    // A "... vector" argument: every element, as T.
    template <class T> std::vector<T*> objectVectorArgument(std::size_t index) const {
        const vxArray* value = argument(index);
        std::vector<T*> result;
        for (std::size_t i = 0; i < vxGetNumberOfElements(value); ++i) {
            HostObject* object = vxGetObject(value, i);
            T* wrapped = object ? object->template as<T>() : nullptr;
            if (!wrapped)
                raiseWrongType(index, value);
            result.push_back(wrapped);
        }
        return result;
    }

    void setResult(vxArrayPtr value);
    void setLogical(bool value) { setResult(vxArrayPtr(vxCreateLogicalScalar(value))); }
    void setInt32(std::int32_t value) { setResult(vxArrayPtr(vxCreateInt32Scalar(value))); }
    void setDouble(double value) { setResult(vxArrayPtr(vxCreateDoubleScalar(value))); }
    void setString(const std::string& value) {
        setResult(vxArrayPtr(vxCreateString(value.c_str())));
    }
    // A counted library object: its one host object (made on first need), of the class it reports
    // (or the result type's class when it is not wrappable); an empty value for null.
    template <class T> void setObject(T* object) {
        const std::string className = classNameOf(object);
        HostObjectRef host = BindingRegistry::announce(object, className);
        setObjects(className,
                   host ? std::vector<HostObjectRef>{host} : std::vector<HostObjectRef>{});
    }
    template <class T> void setObjectVector(const std::vector<T*>& objects) {
        std::vector<HostObjectRef> hosts;
        for (T* object : objects) {
            if (object)
                hosts.push_back(BindingRegistry::announce(object, classNameOf(object)));
        }
        setObjects(methodEntry.signature.result.className(), hosts);
    }
    // A library value (a handle) in a new host object of the result type's class.
    template <class V> void setValue(V value) {
        const std::string& className = methodEntry.signature.result.className();
        setObjects(className, {BindingRegistry::announceValue(std::move(value), className)});
    }

    // For constructors: the host object being made, and the binding of the new library object.
    HostObject* constructing() const { return objectUnderConstruction; }
    template <class T> void setConstructed(T* object) {
        if (!objectUnderConstruction ||
            !BindingRegistry::announceForConstructor(objectUnderConstruction, object))
            vxErrMsgIdAndTxt("QUASAR:nox:constructorFailed",
                             "The constructor could not bind its object");
    }

    std::vector<vxArrayPtr>& results() { return resultValues; }

    [[noreturn]] static void raiseNullSelf();

private:
    template <class T> std::string classNameOf(T* object) const {
        if constexpr (std::is_base_of_v<Wrappable, T>) {
            if (object && object->getFullyQualifiedNoxTypeName())
                return object->getFullyQualifiedNoxTypeName();
        }
        return methodEntry.signature.result.className();
    }
    bool checkObjectArgument(std::size_t index, const vxArray* value) const;
    [[noreturn]] void raiseWrongType(std::size_t index, const vxArray* value) const;
    void setObjects(const std::string& className, const std::vector<HostObjectRef>& objects);

    const MethodEntry& methodEntry;
    const vxArray* selfArgument;
    std::vector<const vxArray*> argumentValues;
    int outputCount;
    HostObject* objectUnderConstruction;
    std::vector<vxArrayPtr> resultValues;
};

} // namespace NOX
