#include "bindings/HostValues.hpp"

#include "platform/datamodel/Diagram.hpp"
#include "platform/host/COSPackage.hpp"
#include "platform/host/CosCommonClassInfo.hpp"
#include "platform/host/Invoker.hpp"
#include "platform/host/vxHostError.hpp"
#include "platform/veld/ClassObject.hpp"
#include "platform/veld/Exception.hpp"
#include "platform/veld/Meta.hpp"
#include <functional>

namespace KITE::mi {

namespace {

using NOX::CallContext;
using NOX::Invoker;
using NOX::NoxMethod;
using NOX::NoxPublic;

// The record of a value class: its superclass and a few plain methods, given at registration.
class ValueClass : public NOX::CosCommonClassInfo {
public:
    using Methods = std::function<void(ValueClass&)>;
    ValueClass(std::string name, std::string description, std::string superclass,
               Methods methods = {})
        : CosCommonClassInfo(std::move(name), std::move(description)),
          superclassName(std::move(superclass)), methods(std::move(methods)) {}

    using CosCommonClassInfo::addMethod;

protected:
    void populate() override {
        if (!superclassName.empty())
            setSuperclass(superclassName);
        if (methods)
            methods(*this);
    }

private:
    std::string superclassName;
    Methods methods;
};

VELD::ImmutableObject& selfObject(CallContext& call) {
    return *call.self<VELD::ImmutableObject>();
}

// The object a class-object method is called on; a deleted one is refused.
VELD::ImmutableClassObject selfClassObject(CallContext& call) {
    const VELD::ImmutableObject& self = selfObject(call);
    if (!self.isClassObject() || !self.objectHandle().isValid())
        vxErrMsgIdAndTxt("KITE:deadObject", ("Method '" + call.method().method.name() +
                                             "' was called on an object that no longer exists")
                                                .c_str());
    return self.asClassObject();
}

// Writes a property of a primitive or enumeration type from text, in one transaction of the
// object's model; nothing changes when the text does not convert.
void setValueFromText(CallContext& call) {
    const VELD::ImmutableClassObject self = selfClassObject(call);
    const std::string name = call.stringArgument(0);
    const std::string text = call.stringArgument(1);
    const VELD::ImmutableProperty property = self.getMetaClass().getProperty(name);
    if (property.isNull())
        raiseBadArgument(call, 0,
                         "class '" + self.getMetaClass().getQualifiedName() +
                             "' has no property '" + name + "'");
    const VELD::ImmutableType type = property.getType();
    if (type.isClass() || property.isMultivalued() || property.isReadOnly())
        raiseBadArgument(call, 0,
                         "'" + name +
                             "' is not a writable single value of a primitive or enumeration type");
    VELD::ImmutableObject value;
    if (type.isEnumeration()) {
        const VELD::ImmutableEnumerationLiteral literal =
            VELD::ImmutableEnumeration(type).getLiteral(text);
        if (literal.isNull())
            raiseBadArgument(
                call, 1, "'" + text + "' is not a literal of '" + type.getQualifiedName() + "'");
        value = VELD::ImmutableObject(literal);
    } else {
        try {
            value = VELD::ValueObjectFactory::createFromString(type.getQualifiedName(), text);
        } catch (const VELD::Exception& e) {
            raiseBadArgument(call, 1, e.what());
        }
    }
    const VELD::Model root = VELD::Model(self.getRootModel()).getRootDeviant();
    VELD::Transaction transaction(root);
    VELD::ClassObject(self.asDeviant(root)).set(property, value);
    transaction.commit();
}

void addObjectMethods(ValueClass& record) {
    record.addMethod(NoxMethod("toString", NoxPublic, "The value as text"),
                     Invoker::createSignature("char"),
                     [](CallContext& call) { call.setString(selfObject(call).toString()); });
    record.addMethod(NoxMethod("isValid", NoxPublic, "Whether the value or its object exists"),
                     Invoker::createSignature("logical scalar"), [](CallContext& call) {
                         const VELD::ImmutableObject& self = selfObject(call);
                         call.setLogical(!self.isNull() &&
                                         (!self.isClassObject() || self.objectHandle().isValid()));
                     });
}

void addClassObjectMethods(ValueClass& record) {
    record.addMethod(NoxMethod("getMetaClass", NoxPublic, "The object's class"),
                     Invoker::createSignature("VELD.ImmutableClass"), [](CallContext& call) {
                         setObjectResult(call, selfClassObject(call).getMetaClass());
                     });
    record.addMethod(
        NoxMethod("getValue", NoxPublic, "The text of a property's value; empty when it has none"),
        Invoker::createSignature("char", {"char"}), [](CallContext& call) {
            const VELD::ImmutableClassObject self = selfClassObject(call);
            const std::string name = call.stringArgument(0);
            const VELD::ImmutableProperty property = self.getMetaClass().getProperty(name);
            if (property.isNull())
                raiseBadArgument(call, 0,
                                 "class '" + self.getMetaClass().getQualifiedName() +
                                     "' has no property '" + name + "'");
            const VELD::ImmutableObject value = self.getOne(property);
            call.setString(value.isNull()        ? std::string()
                           : value.isPrimitive() ? value.toStringValue()
                                                 : value.toString());
        });
    record.addMethod(NoxMethod("setValue", NoxPublic,
                               "Sets a property of a primitive or enumeration type from text, "
                               "in one transaction"),
                     Invoker::createSignature("void", {"char", "char"}), setValueFromText);
}

void addClassMethods(ValueClass& record) {
    record.addMethod(
        NoxMethod("getProperty", NoxPublic, "A property of the class, inherited ones included"),
        Invoker::createSignature("VELD.ImmutableProperty", {"char"}), [](CallContext& call) {
            const VELD::ImmutableClass self(selfClassObject(call));
            const std::string name = call.stringArgument(0);
            const VELD::ImmutableProperty property = self.getProperty(name);
            if (property.isNull())
                raiseBadArgument(call, 0,
                                 "class '" + self.getQualifiedName() + "' has no property '" +
                                     name + "'");
            setObjectResult(call, property);
        });
}

void addSequenceMethods(ValueClass& record, const std::string& elementClass) {
    record.addMethod(NoxMethod("size", NoxPublic, "The number of elements"),
                     Invoker::createSignature("int32 scalar"), [](CallContext& call) {
                         call.setInt32(
                             static_cast<std::int32_t>(call.self<HostSequence>()->items.size()));
                     });
    record.addMethod(
        NoxMethod("at", NoxPublic, "The element at a position, counted from 1"),
        Invoker::createSignature(elementClass, {"int32 scalar"}), [](CallContext& call) {
            const HostSequence& self = *call.self<HostSequence>();
            const std::int32_t at = call.int32Argument(0);
            if (at < 1 || static_cast<std::size_t>(at) > self.items.size())
                vxErrMsgIdAndTxt("KITE:indexOutOfRange",
                                 ("Argument 1 of 'at' (int32 scalar): " + std::to_string(at) +
                                  " is not between 1 and " + std::to_string(self.items.size()))
                                     .c_str());
            setObjectResult(call, self.items[static_cast<std::size_t>(at - 1)]);
        });
}

void addModelMethods(ValueClass& record) {
    const auto model = [](CallContext& call) -> VELD::Model {
        VELD::Model self = *call.self<VELD::Model>();
        if (!self.isValid())
            vxErrMsgIdAndTxt("KITE:deadObject", ("Method '" + call.method().method.name() +
                                                 "' was called on a model that no longer exists")
                                                    .c_str());
        return self;
    };
    record.addMethod(NoxMethod("getRootObject", NoxPublic, "The model's root object"),
                     Invoker::createSignature("VELD.ClassObject"), [model](CallContext& call) {
                         setObjectResult(call, model(call).getRootObject());
                     });
    record.addMethod(NoxMethod("getCurrentChangeLevel", NoxPublic,
                               "How many changes the model's history holds before now"),
                     Invoker::createSignature("int32 scalar"), [model](CallContext& call) {
                         call.setInt32(
                             static_cast<std::int32_t>(model(call).getCurrentChangeLevel()));
                     });
    record.addMethod(NoxMethod("undo", NoxPublic, "Takes back the model's last change"),
                     Invoker::createSignature("void"), [model](CallContext& call) {
                         VELD::Model self = model(call);
                         if (self.getUndoStackLength() > 0)
                             self.undoToChangeLevel(self.getCurrentChangeLevel() - 1);
                     });
    record.addMethod(NoxMethod("redo", NoxPublic, "Makes the last change taken back again"),
                     Invoker::createSignature("void"), [model](CallContext& call) {
                         VELD::Model self = model(call);
                         if (self.getRedoStackLength() > 0)
                             self.redoToChangeLevel(self.getCurrentChangeLevel() + 1);
                     });
}

} // namespace

void addValuePackages() {
    NOX::COSPackage::addPackage("VELD", [](NOX::COSPackage& package) {
        package.addClass<ValueClass>("ImmutableObject", "A kernel value", "", addObjectMethods);
        package.addClass<ValueClass>("Object", "A kernel value", "VELD.ImmutableObject");
        package.addClass<ValueClass>("ClassObject", "A model object", "VELD.Object",
                                     addClassObjectMethods);
        package.addClass<ValueClass>("Model", "A model", "VELD.ClassObject", addModelMethods);
        package.addClass<ValueClass>("ImmutableType", "A type of the kernel",
                                     "VELD.ImmutableObject");
        package.addClass<ValueClass>("ImmutableClass", "A class of a meta-model",
                                     "VELD.ImmutableType", addClassMethods);
        package.addClass<ValueClass>("ImmutableProperty", "A property of a class",
                                     "VELD.ImmutableObject");
        package.addClass<ValueClass>(
            "SequenceOfImmutableClass", "A list of classes", "",
            [](ValueClass& record) { addSequenceMethods(record, "VELD.ImmutableClass"); });
        package.addClass<ValueClass>(
            "SequenceOfImmutableClassObject", "A list of model objects", "",
            [](ValueClass& record) { addSequenceMethods(record, "VELD.ClassObject"); });
    });
    NOX::COSPackage::addPackage("ZEPH", [](NOX::COSPackage& package) {
        package.addClass<ValueClass>("Scene", "A canvas scene", "");
        package.addClass<ValueClass>("Canvas", "A canvas widget", "");
        package.addClass<ValueClass>("Node", "A node of a canvas scene", "");
    });
}

void KITEStaticInitializePackage(NOX::COSPackage& package) {
    package.addClass<ValueClass>("ImmutableDiagramElement", "An element of a diagram",
                                 "VELD.ClassObject");
    package.addClass<ValueClass>("DiagramElement", "An element of a diagram",
                                 "KITE.ImmutableDiagramElement");
    package.addClass<ValueClass>("ImmutableDiagram", "A diagram", "KITE.DiagramElement");
    package.addClass<ValueClass>("Diagram", "A diagram", "KITE.ImmutableDiagram");
    package.addClass<ValueClass>(
        "ImmutableSequenceOfDiagramElement", "A list of diagram elements", "",
        [](ValueClass& record) { addSequenceMethods(record, "KITE.DiagramElement"); });
}

namespace {
[[noreturn]] void raiseAboutArgument(const char* id, const NOX::CallContext& call,
                                     std::size_t index, const std::string& what) {
    const auto& types = call.method().signature.arguments;
    const std::string type = index < types.size() ? types[index].name() : std::string("?");
    vxErrMsgIdAndTxt(id, ("Argument " + std::to_string(index + 1) + " of '" +
                          call.method().method.name() + "' (" + type + "): " + what)
                             .c_str());
}
} // namespace

[[noreturn]] void raiseDeadArgument(const NOX::CallContext& call, std::size_t index,
                                    const std::string& what) {
    raiseAboutArgument("KITE:deadObject", call, index, what);
}

[[noreturn]] void raiseBadArgument(const NOX::CallContext& call, std::size_t index,
                                   const std::string& what) {
    raiseAboutArgument("KITE:badArgument", call, index, what);
}

VELD::ImmutableObject objectArgument(const NOX::CallContext& call, std::size_t index) {
    const vxArray* value = call.argument(index);
    if (vxIsObject(value) && vxGetNumberOfElements(value) == 1) {
        if (const VELD::Model* model = vxGetObject(value, 0)->as<VELD::Model>()) {
            if (!model->isValid())
                raiseDeadArgument(call, index, "the model no longer exists");
            return VELD::ImmutableObject(model->getRootObject());
        }
    }
    const VELD::ImmutableObject* held = call.objectArgument<VELD::ImmutableObject>(index);
    if (!held)
        return {};
    if (held->isClassObject() && !held->objectHandle().isValid())
        raiseDeadArgument(call, index, "the object no longer exists");
    return *held;
}

VELD::ClassObject classObjectArgument(const NOX::CallContext& call, std::size_t index) {
    const VELD::ImmutableObject value = objectArgument(call, index);
    if (value.isNull())
        return {};
    if (!value.isClassObject())
        raiseBadArgument(call, index, "'" + value.toString() + "' is not a model object");
    return VELD::ClassObject(value.asClassObject());
}

VELD::Model modelArgument(const NOX::CallContext& call, std::size_t index) {
    const VELD::Model* model = call.objectArgument<VELD::Model>(index);
    if (!model)
        return {};
    if (!model->isValid())
        raiseDeadArgument(call, index, "the model no longer exists");
    return *model;
}

namespace {
// An empty value of the method's result class.
void setEmptyResult(NOX::CallContext& call) {
    const std::string& className = call.method().signature.result.className();
    call.setResult(vxArrayPtr(vxCreateObjectArray(className.c_str(), {})));
}
} // namespace

void setObjectResult(NOX::CallContext& call, const VELD::ImmutableObject& value) {
    if (value.isNull() || (value.isClassObject() && !value.objectHandle().isValid())) {
        setEmptyResult(call);
        return;
    }
    // A model object given as any value is a model object to the script, with its methods.
    std::string className = call.method().signature.result.className();
    if (value.isClassObject() &&
        (className == "VELD.Object" || className == "VELD.ImmutableObject"))
        className = "VELD.ClassObject";
    call.setResult(vxArrayPtr(vxCreateObjectArray(
        className.c_str(), {NOX::BindingRegistry::announceValue(value, className)})));
}

void setModelResult(NOX::CallContext& call, const VELD::Model& model) {
    if (!model.isValid()) {
        setEmptyResult(call);
        return;
    }
    call.setValue(model);
}

void setSequenceResult(NOX::CallContext& call, std::vector<VELD::ImmutableObject> items) {
    call.setValue(HostSequence{std::move(items)});
}

} // namespace KITE::mi
