#pragma once

#include "platform/host/BindingRegistry.hpp"
#include "platform/host/CallContext.hpp"
#include "platform/host/CosCommonClassInfo.hpp"
#include "platform/host/HostObject.hpp"

#include <functional>

namespace NOX {

// The record of a host class whose objects wrap counted library objects of class T
// (TAVI::ReferencedTemplate). Its method adapters receive the wrapped object, already checked.
template <class T> class CosCommonReferencedClassInfo : public CosCommonClassInfo {
public:
    using Wrapped = T;
    using CosCommonClassInfo::CosCommonClassInfo;

    // The binding goes, then the host object's count on the library object, which is destroyed
    // when that was the last.
    void deallocateInstance(HostObject* object) override {
        BindingRegistry::remove(object);
        object->dropInstance();
    }

protected:
    using CosCommonClassInfo::addMethod;

    // An instance method: the adapter gets the object the method is called on.
    void addMethod(const NoxMethod& method, const Signature& signature,
                   std::function<void(T& self, CallContext& call)> adapter) {
        CosCommonClassInfo::addMethod(
            method, signature,
            [adapter = std::move(adapter)](CallContext& call) { adapter(*call.self<T>(), call); });
    }

    // A constructor: `make` builds the library object from the arguments; the new host object is
    // bound to it and takes one count on it.
    void addConstructor(const std::string& description, const Signature& signature,
                        std::function<T*(CallContext& call)> make) {
        CosCommonClassInfo::addMethod(NoxMethod(name(), NoxConstructor, description), signature,
                                      [make = std::move(make)](CallContext& call) {
                                          // Held until bound, so a refused binding frees it.
                                          TAVI::Holder<T> object(make(call));
                                          if (!object)
                                              vxErrMsgIdAndTxt("QUASAR:nox:constructorFailed",
                                                               "The constructor made no object");
                                          call.setConstructed(object.get());
                                      });
    }
};

} // namespace NOX
