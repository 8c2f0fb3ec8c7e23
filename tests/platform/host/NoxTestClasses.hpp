#pragma once

#include "platform/host/COSMsgException.hpp"
#include "platform/host/COSPackage.hpp"
#include "platform/host/CosCommonClassInfo.hpp"
#include "platform/host/CosCommonReferencedClassInfo.hpp"
#include "platform/host/Invoker.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"

#include <stdexcept>
#include <string>
#include <vector>

// A small library with host bindings, as a module would write them: package "KT" with
// "KT.Widget", its subclass "KT.Gadget", an unrelated "KT.Other" and static "KT.Util".
namespace KiteTest::Nox {

struct Widget : TAVI::Referenced, NOX::Wrappable {
    explicit Widget(std::string name) : name(std::move(name)) { ++alive; }
    ~Widget() override { --alive; }
    const char* getFullyQualifiedNoxTypeName() const override { return "KT.Widget"; }

    std::string name;
    Widget* partner = nullptr; // not owned
    std::vector<std::string> calls;
    static inline int alive = 0;
};

struct Gadget : Widget {
    using Widget::Widget;
    const char* getFullyQualifiedNoxTypeName() const override { return "KT.Gadget"; }
};

struct Other : TAVI::Referenced, NOX::Wrappable {
    const char* getFullyQualifiedNoxTypeName() const override { return "KT.Other"; }
};

class CosWidget : public NOX::CosCommonReferencedClassInfo<Widget> {
public:
    CosWidget() : CosCommonReferencedClassInfo("Widget", "Test widget") {}

protected:
    void populate() override {
        using NOX::Invoker;
        using NOX::NoxMethod;
        addConstructor("Makes a widget", Invoker::createSignature("KT.Widget", {"char"}),
                       [](NOX::CallContext& call) { return new Widget(call.stringArgument(0)); });
        addMethod(NoxMethod("getName", NOX::NoxPublic, "The name"),
                  Invoker::createSignature("char"),
                  [](Widget& self, NOX::CallContext& call) { call.setString(self.name); });
        // Overloads, told apart by their signatures.
        addMethod(NoxMethod("label", NOX::NoxPublic, ""),
                  Invoker::createSignature("char", {"int32 scalar"}),
                  [](Widget& self, NOX::CallContext& call) {
                      call.setString(self.name + "#" + std::to_string(call.int32Argument(0)));
                  });
        addMethod(NoxMethod("label", NOX::NoxPublic, ""),
                  Invoker::createSignature("char", {"char", "int32 scalar"}),
                  [](Widget&, NOX::CallContext& call) {
                      call.setString(call.stringArgument(0) + "#" +
                                     std::to_string(call.int32Argument(1)));
                  });
        addMethod(NoxMethod("setPartner", NOX::NoxPublic, ""),
                  Invoker::createSignature("void", {"KT.Widget"}),
                  [](Widget& self, NOX::CallContext& call) {
                      self.partner = call.objectArgument<Widget>(0);
                  });
        addMethod(NoxMethod("getPartner", NOX::NoxPublic, ""),
                  Invoker::createSignature("KT.Widget"),
                  [](Widget& self, NOX::CallContext& call) { call.setObject(self.partner); });
        addMethod(NoxMethod("isPartner", NOX::NoxPublic, ""),
                  Invoker::createSignature("logical scalar", {"KT.Widget"}),
                  [](Widget& self, NOX::CallContext& call) {
                      call.setLogical(self.partner == call.objectArgument<Widget>(0));
                  });
        addMethod(NoxMethod("add", NOX::NoxPublic, ""),
                  Invoker::createSignature("int32 scalar", {"int32 scalar", "int32 scalar"}),
                  [](Widget&, NOX::CallContext& call) {
                      call.setInt32(call.int32Argument(0) + call.int32Argument(1));
                  });
        addMethod(NoxMethod("failWithMessage", NOX::NoxPublic, ""),
                  Invoker::createSignature("void"), [](Widget&, NOX::CallContext&) {
                      throw NOX::COSMsgException("KITE_CannotFindTabForEditor",
                                                 "Cannot find the tab of the editor");
                  });
        addMethod(NoxMethod("failWithException", NOX::NoxPublic, ""),
                  Invoker::createSignature("void"),
                  [](Widget&, NOX::CallContext&) { throw std::logic_error("broken"); });
    }
};

class CosGadget : public NOX::CosCommonReferencedClassInfo<Gadget> {
public:
    CosGadget() : CosCommonReferencedClassInfo("Gadget", "Test gadget") {}

protected:
    void populate() override {
        setSuperclass("KT.Widget");
        addConstructor("Makes a gadget", NOX::Invoker::createSignature("KT.Gadget"),
                       [](NOX::CallContext&) { return new Gadget("gadget"); });
        addMethod(NOX::NoxMethod("getName", NOX::NoxPublic, "Overrides the widget's"),
                  NOX::Invoker::createSignature("char"), [](Gadget& self, NOX::CallContext& call) {
                      call.setString("gadget " + self.name);
                  });
    }
};

class CosOther : public NOX::CosCommonReferencedClassInfo<Other> {
public:
    CosOther() : CosCommonReferencedClassInfo("Other", "Unrelated") {}

protected:
    void populate() override {
        addConstructor("", NOX::Invoker::createSignature("KT.Other"),
                       [](NOX::CallContext&) { return new Other; });
    }
};

class CosUtil : public NOX::CosCommonClassInfo {
public:
    CosUtil() : CosCommonClassInfo("Util", "Static helpers") {}

protected:
    void populate() override {
        addMethod(NOX::NoxMethod("twice", NOX::NoxStatic, ""),
                  NOX::Invoker::createSignature("double scalar", {"double scalar"}),
                  [](NOX::CallContext& call) { call.setDouble(2 * call.doubleArgument(0)); });
    }
};

inline int packageInitializations = 0;

// Adds the package (once per process); its classes are added when it is first needed.
inline void addTestPackage() {
    NOX::COSPackage::addPackage("KT", [](NOX::COSPackage& package) {
        ++packageInitializations;
        package.addClass<CosWidget>();
        package.addClass<CosGadget>();
        package.addClass<CosOther>();
        package.addClass<CosUtil>();
    });
}

} // namespace KiteTest::Nox
