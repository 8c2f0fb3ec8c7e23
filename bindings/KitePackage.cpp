#include "bindings/KitePackage.hpp"

#include "application/KiteDomainInterface.hpp"
#include "bindings/HostValues.hpp"
#include "editor/Editor.hpp"
#include "editor/Glyph.hpp"
#include "editor/Graphics.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/host/COSMsgException.hpp"
#include "platform/host/COSPackage.hpp"
#include "platform/host/CosCommonReferencedClassInfo.hpp"
#include "platform/host/Invoker.hpp"
#include "platform/host/PdxInterface.hpp"
#include "platform/orbis/Application.hpp"
#include "platform/orbis/DomainInterface.hpp"
#include "platform/orbis/ModuleSetup.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioComponentBase.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/veld/Meta.hpp"
#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/Node.hpp"
#include "platform/zeph/Scene.hpp"
#include "studio/StudioApp.hpp"
#include "studio/components/GenericVELDDomainInterface.hpp"
#include "studio/components/GenericVELDStudioApp.hpp"
#include "studio/components/PropBrowserComponent.hpp"
#include "studio/components/TreeComponent.hpp"
#include "utils/DiagramRendering.hpp"

#include <QtCore/QPointer>

namespace KITE::mi {

namespace {

using NOX::CallContext;
using NOX::CosCommonReferencedClassInfo;
using NOX::Invoker;
using NOX::NoxMethod;
using NOX::NoxPublic;
using NOX::NoxStatic;
using NOX::raiseIfError;

[[noreturn]] void raiseDeadSelf(const CallContext& call, const std::string& what) {
    vxErrMsgIdAndTxt("KITE:deadObject", ("Method '" + call.method().method.name() + "' of '" +
                                         call.method().owner->fullName() + "': " + what)
                                            .c_str());
}

// A studio application without a window can do nothing; saying so beats doing nothing
// silently. One that never had a window may still be initialized.
StudioApp& liveApp(StudioApp& self, const CallContext& call) {
    if (!self.getStudio())
        raiseDeadSelf(call, self.getStudioFrameworkService()
                                ? "the studio application's window is closed"
                                : "the studio application is not initialized (it has no window)");
    return self;
}

// A domain front outlives its studio when a script holds it; its studio's parts do not.
template <class Front> Front& liveFront(Front& self, const CallContext& call) {
    if (!self.getStudio())
        raiseDeadSelf(call, "the domain's studio is closed");
    return self;
}

// An editor counts as alive while its studio application still holds it.
Editor& liveEditor(Editor& self, const CallContext& call) {
    StudioApp* app = self.getStudio() ? self.getStudioApp() : nullptr;
    bool held = false;
    if (app)
        for (Editor* editor : app->getAllEditors())
            held = held || editor == &self;
    if (!held)
        raiseDeadSelf(call, "the editor is closed");
    return self;
}

// A dock component counts as alive while its studio still has it under its name.
template <class Component> Component& liveComponent(Component& self, const CallContext& call) {
    TAVI::ErrorHolder lookup;
    if (!self.getStudio() || self.getStudio()->getComponent(self.getName(), lookup) != &self)
        raiseDeadSelf(call, "the component is no longer in its studio");
    return self;
}

ImmutableDiagramElement elementArgument(const CallContext& call, std::size_t index) {
    const VELD::ClassObject object = classObjectArgument(call, index);
    if (object.isNull())
        return {};
    const ImmutableDiagramElement element(object);
    if (element.isNull() || !element.isValid())
        raiseBadArgument(call, index, "'" + object.toString() + "' is not a diagram element");
    return element;
}

Diagram diagramArgument(const CallContext& call, std::size_t index) {
    const VELD::ClassObject object = classObjectArgument(call, index);
    if (object.isNull())
        return {};
    const Diagram diagram(object);
    if (diagram.isNull() || !diagram.isValid())
        raiseBadArgument(call, index, "'" + object.toString() + "' is not a diagram");
    return diagram;
}

template <class Meta>
Meta metaArgument(const CallContext& call, std::size_t index, const char* kind) {
    const VELD::ImmutableObject value = objectArgument(call, index);
    if (value.isNull())
        return {};
    const Meta meta(value.isClassObject() ? value.asClassObject() : VELD::ImmutableClassObject());
    if (meta.isNull() || !meta.isValid())
        raiseBadArgument(call, index, "'" + value.toString() + "' is not " + kind);
    return meta;
}

std::vector<VELD::ImmutableObject> objectsOf(const VELD::ImmutableSequence<DiagramElement>& in) {
    std::vector<VELD::ImmutableObject> out;
    for (int i = 0; i < in.size(); ++i)
        out.emplace_back(in[i]);
    return out;
}

const char* openTypeName(EditorOpenType type) {
    switch (type) {
    case EditorOpenType::NEW_TAB:
        return "NEW_TAB";
    case EditorOpenType::NEW_WINDOW:
        return "NEW_WINDOW";
    case EditorOpenType::REUSE_TAB:
        break;
    }
    return "REUSE_TAB";
}

// Any name but the other two counts as REUSE_TAB.
EditorOpenType openTypeNamed(const std::string& name) {
    if (name == "NEW_TAB")
        return EditorOpenType::NEW_TAB;
    if (name == "NEW_WINDOW")
        return EditorOpenType::NEW_WINDOW;
    return EditorOpenType::REUSE_TAB;
}

class CosEditor : public CosCommonReferencedClassInfo<Editor> {
public:
    CosEditor() : CosCommonReferencedClassInfo("Editor", "KITE Editor") {}

protected:
    void populate() override {
        setSuperclass(PLATFORM::StudioComponentBase::noxTypeName);
        addMethod(NoxMethod("getSelection", NoxPublic, "The selected diagram elements"),
                  Invoker::createSignature("KITE.ImmutableSequenceOfDiagramElement"),
                  [](Editor& self, CallContext& call) {
                      setSequenceResult(call, objectsOf(liveEditor(self, call).getSelection()));
                  });
        addMethod(NoxMethod("select", NoxPublic, "Adds an element to the selection"),
                  Invoker::createSignature("void", {"KITE.ImmutableDiagramElement"}),
                  [](Editor& self, CallContext& call) {
                      const ImmutableDiagramElement element = elementArgument(call, 0);
                      liveEditor(self, call).select(element);
                  });
        addMethod(NoxMethod("deselect", NoxPublic, "Takes an element out of the selection"),
                  Invoker::createSignature("void", {"KITE.ImmutableDiagramElement"}),
                  [](Editor& self, CallContext& call) {
                      const ImmutableDiagramElement element = elementArgument(call, 0);
                      liveEditor(self, call).deselect(element);
                  });
        addMethod(NoxMethod("isSelected", NoxPublic, "Whether an element is selected"),
                  Invoker::createSignature("logical scalar", {"KITE.ImmutableDiagramElement"}),
                  [](Editor& self, CallContext& call) {
                      const ImmutableDiagramElement element = elementArgument(call, 0);
                      call.setLogical(liveEditor(self, call).isSelected(element));
                  });
        addMethod(NoxMethod("getScene", NoxPublic, "The canvas scene"),
                  Invoker::createSignature("ZEPH.Scene"), [](Editor& self, CallContext& call) {
                      call.setObject(liveEditor(self, call).getScene());
                  });
        addMethod(NoxMethod("getDiagram", NoxPublic, "The diagram the editor shows"),
                  Invoker::createSignature("KITE.Diagram"), [](Editor& self, CallContext& call) {
                      setObjectResult(call, liveEditor(self, call).getDiagram());
                  });
        addMethod(NoxMethod("getCanvas", NoxPublic, "The canvas widget"),
                  Invoker::createSignature("ZEPH.Canvas"), [](Editor& self, CallContext& call) {
                      ZEPH::GLCanvas* canvas = liveEditor(self, call).getCanvas();
                      if (canvas)
                          call.setValue(QPointer<ZEPH::GLCanvas>(canvas));
                  });
        addMethod(NoxMethod("getGlyphRootForElement", NoxPublic,
                            "The root node of an element's glyph; an empty node when none"),
                  Invoker::createSignature("ZEPH.Node", {"KITE.DiagramElement"}),
                  [](Editor& self, CallContext& call) {
                      const ImmutableDiagramElement element = elementArgument(call, 0);
                      Graphics* graphics = liveEditor(self, call).getGraphics();
                      Glyph* glyph =
                          graphics && !element.isNull() ? graphics->getGlyph(element) : nullptr;
                      call.setValue(glyph ? glyph->getRoot() : ZEPH::Node());
                  });
        addMethod(NoxMethod("getContextMenuTarget", NoxPublic,
                            "The element the context menu was opened on"),
                  Invoker::createSignature("KITE.DiagramElement"),
                  [](Editor& self, CallContext& call) {
                      setObjectResult(call, liveEditor(self, call).getContextMenuTarget());
                  });
        addMethod(NoxMethod("getContextMenuSchema", NoxPublic,
                            "The editor's context-menu schema for an element"),
                  Invoker::createSignature("any", {"KITE.DiagramElement", "char"}),
                  [](Editor& self, CallContext& call) {
                      const ImmutableDiagramElement element = elementArgument(call, 0);
                      const std::string schema = call.stringArgument(1);
                      // The interface object is released with the pointer, once converted.
                      const NOX::COSInterfacePtr found(
                          liveEditor(self, call).getEditorContextMenuSchema(element, schema));
                      call.setResult(vxArrayPtr(ConvertPdxIToArray(found)));
                  });
        addMethod(NoxMethod("executeContextMenuSchema", NoxPublic,
                            "Runs the editor's context-menu schema for an element"),
                  Invoker::createSignature("void", {"KITE.DiagramElement", "char"}),
                  [](Editor& self, CallContext& call) {
                      const ImmutableDiagramElement element = elementArgument(call, 0);
                      const std::string schema = call.stringArgument(1);
                      liveEditor(self, call).executeEditorContextMenuSchema(element, schema);
                  });
    }
};

// The methods KITE.StudioApp and its subclasses share.
class CosStudioApp : public CosCommonReferencedClassInfo<StudioApp> {
public:
    CosStudioApp() : CosCommonReferencedClassInfo("StudioApp", "KITE StudioApp") {}

protected:
    void populate() override;
};

void CosStudioApp::populate() {
    setSuperclass(PLATFORM::Application::noxTypeName);
    addConstructor("A studio application without a window; initialize opens one",
                   Invoker::createSignature("KITE.StudioApp"),
                   [](CallContext&) { return new StudioApp; });
    // A script's studio application has no window until it is initialized: then the framework
    // makes one, which initializes the application. Once it has one, initialize is the
    // application's own (a second one changes nothing).
    addMethod(NoxMethod("initialize", NoxPublic, "Opens the window and initializes the studio"),
              Invoker::createSignature("void"), [](StudioApp& self, CallContext& call) {
                  TAVI::ErrorHolder errors;
                  if (self.getStudio())
                      self.initialize(errors);
                  else if (self.getStudioFrameworkService())
                      liveApp(self, call); // it had a window, and that is gone
                  else
                      PLATFORM::Studio::spawnStudio(TAVI::Holder<PLATFORM::Application>(&self),
                                                    errors);
                  raiseIfError(errors);
              });
    addMethod(NoxMethod("terminate", NoxPublic, "Terminates the studio application"),
              Invoker::createSignature("void"), [](StudioApp& self, CallContext& call) {
                  TAVI::ErrorHolder errors;
                  liveApp(self, call).terminate(errors);
                  raiseIfError(errors);
              });
    addMethod(NoxMethod("openEditor", NoxPublic, "Opens the editor of a diagram"),
              Invoker::createSignature("KITE.Editor", {"KITE.Diagram"}),
              [](StudioApp& self, CallContext& call) {
                  const Diagram diagram = diagramArgument(call, 0);
                  TAVI::ErrorHolder errors;
                  Editor* editor = liveApp(self, call).openEditor(diagram, errors);
                  raiseIfError(errors);
                  call.setObject(editor);
              });
    addMethod(NoxMethod("closeAllEditors", NoxPublic, "Closes every editor; the number closed"),
              Invoker::createSignature("int32 scalar"), [](StudioApp& self, CallContext& call) {
                  TAVI::ErrorHolder errors;
                  const int closed = liveApp(self, call).closeAllEditors(errors);
                  raiseIfError(errors);
                  call.setInt32(closed);
              });
    addMethod(NoxMethod("getAllEditors", NoxPublic, "The open editors, oldest first"),
              Invoker::createSignature("KITE.Editor vector"),
              [](StudioApp& self, CallContext& call) {
                  std::vector<Editor*> editors;
                  for (Editor* editor : liveApp(self, call).getAllEditors())
                      editors.push_back(editor);
                  call.setObjectVector(editors);
              });
    addMethod(NoxMethod("closeEditor", NoxPublic, "Closes a diagram's editor"),
              Invoker::createSignature("logical scalar", {"KITE.ImmutableDiagram"}),
              [](StudioApp& self, CallContext& call) {
                  const Diagram diagram = diagramArgument(call, 0);
                  TAVI::ErrorHolder errors;
                  const bool closed = liveApp(self, call).closeEditor(diagram, errors);
                  raiseIfError(errors);
                  call.setLogical(closed);
              });
    addMethod(NoxMethod("getEditor", NoxPublic, "A diagram's open editor"),
              Invoker::createSignature("KITE.Editor", {"KITE.ImmutableDiagram"}),
              [](StudioApp& self, CallContext& call) {
                  const Diagram diagram = diagramArgument(call, 0);
                  TAVI::ErrorHolder errors;
                  Editor* editor = liveApp(self, call).getEditor(diagram, errors);
                  raiseIfError(errors);
                  call.setObject(editor);
              });
    addMethod(NoxMethod("show", NoxPublic, "Shows a component"),
              Invoker::createSignature("void", {"char"}), [](StudioApp& self, CallContext& call) {
                  const std::string name = call.stringArgument(0);
                  liveApp(self, call).show(name);
              });
    addMethod(NoxMethod("hide", NoxPublic, "Hides a component"),
              Invoker::createSignature("void", {"char"}), [](StudioApp& self, CallContext& call) {
                  const std::string name = call.stringArgument(0);
                  liveApp(self, call).hide(name);
              });
    addMethod(NoxMethod("addModel", NoxPublic, "Shows a model in the studio"),
              Invoker::createSignature("void", {"VELD.Model"}),
              [](StudioApp& self, CallContext& call) {
                  const VELD::Model model = modelArgument(call, 0);
                  if (model.isNull())
                      raiseBadArgument(call, 0, "a model is needed, not an empty value");
                  liveApp(self, call).addModel(model);
              });
    addMethod(NoxMethod("removeModel", NoxPublic, "Takes a model out of the studio"),
              Invoker::createSignature("void", {"VELD.Model"}),
              [](StudioApp& self, CallContext& call) {
                  const VELD::Model model = modelArgument(call, 0);
                  liveApp(self, call).removeModel(model);
              });
    addMethod(NoxMethod("removeAllModels", NoxPublic, "Takes every model out of the studio"),
              Invoker::createSignature("void"),
              [](StudioApp& self, CallContext& call) { liveApp(self, call).removeAllModels(); });
    addMethod(NoxMethod("hasModel", NoxPublic, "Whether the studio shows a model"),
              Invoker::createSignature("logical scalar", {"VELD.Model"}),
              [](StudioApp& self, CallContext& call) {
                  const VELD::Model model = modelArgument(call, 0);
                  call.setLogical(liveApp(self, call).hasModel(model));
              });
    addMethod(NoxMethod("getActiveModel", NoxPublic, "The model the studio works on"),
              Invoker::createSignature("VELD.Model"), [](StudioApp& self, CallContext& call) {
                  setModelResult(call, liveApp(self, call).getActiveModel());
              });
    addMethod(NoxMethod("getActiveEditor", NoxPublic, "The active editor"),
              Invoker::createSignature("KITE.Editor"), [](StudioApp& self, CallContext& call) {
                  call.setObject(liveApp(self, call).getActiveEditor());
              });
    addMethod(NoxMethod("getCurrentSelection", NoxPublic, "The model tree's selected object"),
              Invoker::createSignature("VELD.ClassObject"), [](StudioApp& self, CallContext& call) {
                  setObjectResult(call, liveApp(self, call).getCurrentSelection());
              });
    addMethod(NoxMethod("setCurrentSelection", NoxPublic, "Selects an object"),
              Invoker::createSignature("void", {"VELD.ClassObject"}),
              [](StudioApp& self, CallContext& call) {
                  const VELD::ClassObject object = classObjectArgument(call, 0);
                  liveApp(self, call).setCurrentSelection(object);
              });
    addMethod(NoxMethod("populateIconManager", NoxPublic, "Registers the domain's icons"),
              Invoker::createSignature("void"), [](StudioApp& self, CallContext& call) {
                  liveApp(self, call).populateIconManager();
              });
    addMethod(NoxMethod("getIconTagForObject", NoxPublic, "The icon tag of a type"),
              Invoker::createSignature("char", {"VELD.ImmutableType"}),
              [](StudioApp& self, CallContext& call) {
                  const auto type = metaArgument<VELD::ImmutableType>(call, 0, "a type");
                  call.setString(liveApp(self, call).getIconTagForTypeName(type));
              });
    addMethod(NoxMethod("getFilterMode", NoxPublic, "The mode of a filter entry"),
              Invoker::createSignature("char", {"char"}), [](StudioApp& self, CallContext& call) {
                  const std::string name = call.stringArgument(0);
                  call.setString(liveApp(self, call).getFilterModeQUASAR(name));
              });
    addMethod(NoxMethod("setFilterMode", NoxPublic, "Sets the mode of a filter entry"),
              Invoker::createSignature("void", {"char", "char"}),
              [](StudioApp& self, CallContext& call) {
                  const std::string name = call.stringArgument(0);
                  const std::string mode = call.stringArgument(1);
                  liveApp(self, call).setFilterModeQUASAR(name, mode);
              });
    addMethod(NoxMethod("getFilteredChildrenTypes", NoxPublic,
                        "The classes a creation menu offers under a class"),
              Invoker::createSignature("VELD.SequenceOfImmutableClass", {"VELD.ImmutableClass"}),
              [](StudioApp& self, CallContext& call) {
                  const auto type = metaArgument<VELD::ImmutableClass>(call, 0, "a class");
                  const VELD::Sequence<VELD::ImmutableClass> classes =
                      liveApp(self, call).getFilteredChildrenTypes(type);
                  std::vector<VELD::ImmutableObject> items;
                  for (int i = 0; i < classes.size(); ++i)
                      items.emplace_back(classes[i]);
                  setSequenceResult(call, std::move(items));
              });
    addMethod(NoxMethod("createObjectOfType", NoxPublic, "Makes a new object inside another"),
              Invoker::createSignature("VELD.Object", {"VELD.ClassObject", "VELD.ImmutableClass"}),
              [](StudioApp& self, CallContext& call) {
                  const VELD::ClassObject parent = classObjectArgument(call, 0);
                  const auto type = metaArgument<VELD::ImmutableClass>(call, 1, "a class");
                  setObjectResult(call, VELD::ImmutableObject(
                                            liveApp(self, call).createObjectOfType(parent, type)));
              });
    addMethod(NoxMethod("describeObject", NoxPublic, "The text the studio shows for a value"),
              Invoker::createSignature("char", {"VELD.ImmutableObject"}),
              [](StudioApp& self, CallContext& call) {
                  const VELD::ImmutableObject object = objectArgument(call, 0);
                  call.setString(liveApp(self, call).describeObject(object));
              });
    addMethod(
        NoxMethod("describeObjectEditable", NoxPublic, "The text the studio edits for a value"),
        Invoker::createSignature("char", {"VELD.ImmutableObject"}),
        [](StudioApp& self, CallContext& call) {
            const VELD::ImmutableObject object = objectArgument(call, 0);
            call.setString(liveApp(self, call).describeEditableObject(object));
        });
    addMethod(NoxMethod("getEditorOpenType", NoxPublic,
                        "Where editors open: REUSE_TAB, NEW_TAB or NEW_WINDOW"),
              Invoker::createSignature("char vector"), [](StudioApp& self, CallContext& call) {
                  call.setString(openTypeName(liveApp(self, call).getEditorOpenType()));
              });
    addMethod(NoxMethod("setEditorOpenType", NoxPublic,
                        "Sets where editors open; any other name is REUSE_TAB"),
              Invoker::createSignature("void", {"char vector"}),
              [](StudioApp& self, CallContext& call) {
                  const EditorOpenType type = openTypeNamed(call.stringArgument(0));
                  liveApp(self, call).setEditorOpenType(type);
              });
    addMethod(NoxMethod("restoreEditorOpenType", NoxPublic, "Restores where editors open"),
              Invoker::createSignature("void"), [](StudioApp& self, CallContext& call) {
                  liveApp(self, call).restoreEditorOpenType();
              });
}

class CosGenericVELDStudioApp : public CosCommonReferencedClassInfo<GenericVELDStudioApp> {
public:
    CosGenericVELDStudioApp()
        : CosCommonReferencedClassInfo("GenericVELDStudioApp", "Generic KITE based VELD Studio") {}

protected:
    void populate() override {
        setSuperclass(StudioApp::noxTypeName);
        addConstructor("A generic studio application without a window; initialize opens one",
                       Invoker::createSignature("KITE.GenericVELDStudioApp"),
                       [](CallContext&) { return new GenericVELDStudioApp; });
        addMethod(NoxMethod("setMetaUri", NoxPublic, "The URI of the meta-model it shows"),
                  Invoker::createSignature("void", {"char"}),
                  [](GenericVELDStudioApp& self, CallContext& call) {
                      self.setMetaUri(call.stringArgument(0));
                  });
        addMethod(NoxMethod("getMetaUri", NoxPublic, "The URI of the meta-model it shows"),
                  Invoker::createSignature("char"),
                  [](GenericVELDStudioApp& self, CallContext& call) {
                      call.setString(self.getMetaUri());
                  });
        addMethod(NoxMethod("createNewModel", NoxPublic,
                            "A new empty model of the meta-model, not yet shown"),
                  Invoker::createSignature("VELD.Model"),
                  [](GenericVELDStudioApp& self, CallContext& call) {
                      setModelResult(call, self.createNewModel());
                  });
    }
};

class CosUtils : public NOX::CosCommonClassInfo {
public:
    CosUtils() : CosCommonClassInfo("Util", "KITE Util") {}

protected:
    void populate() override {
        addMethod(NoxMethod("diagram2Scene", NoxStatic, "A diagram drawn into a scene of its own"),
                  Invoker::createSignature("ZEPH.Scene", {"KITE.Diagram"}), [](CallContext& call) {
                      const Diagram diagram = diagramArgument(call, 0);
                      const TAVI::Holder<ZEPH::Scene> scene = Util::diagram2Scene(diagram);
                      call.setObject(scene.get());
                  });
        addMethod(NoxMethod("nameToEditor", NoxStatic,
                            "The editor of that component name; the last one met when several"),
                  Invoker::createSignature("KITE.Editor", {"char"}), [](CallContext& call) {
                      const std::string name = call.stringArgument(0);
                      Editor* found = nullptr;
                      for (const TAVI::Holder<PLATFORM::Studio>& studio :
                           PLATFORM::Studio::allStudios())
                          if (auto* app = dynamic_cast<StudioApp*>(studio->getApp()))
                              for (Editor* editor : app->getAllEditors())
                                  if (editor->getName() == name)
                                      found = editor;
                      call.setObject(found);
                  });
    }
};

class CosAbstractDomain : public CosCommonReferencedClassInfo<AbstractKiteDomainInterface> {
public:
    CosAbstractDomain() : CosCommonReferencedClassInfo("AbstractDomain", "KITE AbstractDomain") {}

protected:
    void populate() override { setSuperclass(PLATFORM::DomainInterface::noxTypeName); }
};

class CosDomain : public CosCommonReferencedClassInfo<KiteDomainInterface> {
public:
    CosDomain() : CosCommonReferencedClassInfo("Domain", "KITE Domain") {}

protected:
    void populate() override {
        setSuperclass(AbstractKiteDomainInterface::noxTypeName);
        addMethod(NoxMethod("isTreeComponentVisible", NoxPublic, "Whether the model tree shows"),
                  Invoker::createSignature("logical scalar"),
                  [](KiteDomainInterface& self, CallContext& call) {
                      call.setLogical(liveFront(self, call).isTreeComponentVisible());
                  });
        addMethod(NoxMethod("toggleTreeComponent", NoxPublic, "Shows or hides the model tree"),
                  Invoker::createSignature("void"),
                  [](KiteDomainInterface& self, CallContext& call) {
                      liveFront(self, call).toggleTreeComponent();
                  });
    }
};

class CosGenericVELDDomain : public CosCommonReferencedClassInfo<GenericVELDDomainInterface> {
public:
    CosGenericVELDDomain()
        : CosCommonReferencedClassInfo("GenericVELDDomain", "KITE GenericVELDDomain") {}

protected:
    void populate() override { setSuperclass(KiteDomainInterface::noxTypeName); }
};

std::vector<VELD::ImmutableObject> objectsOf(const VELD::Sequence<VELD::ImmutableClassObject>& in) {
    std::vector<VELD::ImmutableObject> out;
    for (int i = 0; i < in.size(); ++i)
        out.emplace_back(in[i]);
    return out;
}

class CosTreeComponent : public CosCommonReferencedClassInfo<TreeComponent> {
public:
    CosTreeComponent() : CosCommonReferencedClassInfo("TreeComponent", "KITE TreeComponent") {}

protected:
    using Tree = TreeComponent;
    using ObjectFlag = bool (Tree::*)(const VELD::ClassObject&);
    using ObjectAction = void (Tree::*)(const VELD::ClassObject&);

    void populate() override {
        setSuperclass(PLATFORM::StudioComponentBase::noxTypeName);
        addMethod(NoxMethod("getSelected", NoxPublic, "The selected object"),
                  Invoker::createSignature("VELD.ClassObject"), [](Tree& self, CallContext& call) {
                      setObjectResult(call, liveComponent(self, call).getSelected());
                  });
        addMethod(NoxMethod("getDisplayTitle", NoxPublic, "The tree's title"),
                  Invoker::createSignature("char"), [](Tree& self, CallContext& call) {
                      call.setString(liveComponent(self, call).getDisplayTitle());
                  });
        addMethod(NoxMethod("getActiveModel", NoxPublic, "The model the tree shows"),
                  Invoker::createSignature("VELD.Model"), [](Tree& self, CallContext& call) {
                      setModelResult(call, liveComponent(self, call).getActiveModel());
                  });
        addAction("editObject", "Starts editing an object's label", &Tree::editObject);
        addMethod(NoxMethod("testAPI_GetLabelOfObject", NoxPublic, "An object's label"),
                  Invoker::createSignature("char", {"VELD.ClassObject"}),
                  [](Tree& self, CallContext& call) {
                      const VELD::ClassObject object = classObjectArgument(call, 0);
                      call.setString(liveComponent(self, call).testAPI_GetLabelOfObject(object));
                  });
        addFlag("testAPI_IsObjectReadonly", "Whether an object's label cannot be edited",
                &Tree::testAPI_IsObjectReadonly);
        addFlag("testAPI_IsParent", "Whether an object's row has rows beneath",
                &Tree::testAPI_IsParent);
        addFlag("testAPI_IsExpanded", "Whether an object's row is expanded",
                &Tree::testAPI_IsExpanded);
        addMethod(NoxMethod("testAPI_GetObjectFromLabel", NoxPublic, "The object of a label"),
                  Invoker::createSignature("VELD.ClassObject", {"char"}),
                  [](Tree& self, CallContext& call) {
                      const std::string label = call.stringArgument(0);
                      setObjectResult(call,
                                      liveComponent(self, call).testAPI_GetObjectFromLabel(label));
                  });
        addMethod(
            NoxMethod("testAPI_DoIconsMatch", NoxPublic, "Whether two rows show one icon"),
            Invoker::createSignature("logical scalar", {"VELD.ClassObject", "VELD.ClassObject"}),
            [](Tree& self, CallContext& call) {
                const VELD::ClassObject a = classObjectArgument(call, 0);
                const VELD::ClassObject b = classObjectArgument(call, 1);
                call.setLogical(liveComponent(self, call).testAPI_DoIconsMatch(a, b));
            });
        addMethod(NoxMethod("testAPI_GetSelected", NoxPublic, "The selected object"),
                  Invoker::createSignature("VELD.ClassObject"), [](Tree& self, CallContext& call) {
                      setObjectResult(call, liveComponent(self, call).testAPI_GetSelected());
                  });
        addMethod(NoxMethod("testAPI_GetVisibleObjects", NoxPublic, "The objects of shown rows"),
                  Invoker::createSignature("VELD.SequenceOfImmutableClassObject"),
                  [](Tree& self, CallContext& call) {
                      setSequenceResult(
                          call, objectsOf(liveComponent(self, call).testAPI_GetVisibleObjects()));
                  });
        addMethod(
            NoxMethod("testAPI_GetVisibleChildren", NoxPublic,
                      "The objects of the shown rows under an object's row"),
            Invoker::createSignature("VELD.SequenceOfImmutableClassObject", {"VELD.ClassObject"}),
            [](Tree& self, CallContext& call) {
                const VELD::ClassObject object = classObjectArgument(call, 0);
                setSequenceResult(
                    call, objectsOf(liveComponent(self, call).testAPI_GetVisibleChildren(object)));
            });
        addAction("testAPI_Click", "Selects an object as a click would",
                  &Tree::testAPI_SetTreeSelection);
        addMethod(
            NoxMethod("testAPI_Click", NoxPublic, "Clicks an object's row with modifier keys held"),
            Invoker::createSignature("void", {"VELD.ClassObject", "char"}),
            [](Tree& self, CallContext& call) {
                const VELD::ClassObject object = classObjectArgument(call, 0);
                const std::string modifiers = call.stringArgument(1);
                liveComponent(self, call).testAPI_ModifiedClick(object, modifiers);
            });
        addAction("testAPI_Expand", "Expands an object's row", &Tree::testAPI_Expand);
        addAction("testAPI_Collapse", "Collapses an object's row", &Tree::testAPI_Collapse);
    }

private:
    void addFlag(const char* name, const char* description, ObjectFlag flag) {
        addMethod(NoxMethod(name, NoxPublic, description),
                  Invoker::createSignature("logical scalar", {"VELD.ClassObject"}),
                  [flag](Tree& self, CallContext& call) {
                      const VELD::ClassObject object = classObjectArgument(call, 0);
                      call.setLogical((liveComponent(self, call).*flag)(object));
                  });
    }
    void addAction(const char* name, const char* description, ObjectAction action) {
        addMethod(NoxMethod(name, NoxPublic, description),
                  Invoker::createSignature("void", {"VELD.ClassObject"}),
                  [action](Tree& self, CallContext& call) {
                      const VELD::ClassObject object = classObjectArgument(call, 0);
                      (liveComponent(self, call).*action)(object);
                  });
    }
};

class CosPropBrowserComponent : public CosCommonReferencedClassInfo<PropBrowserComponent> {
public:
    CosPropBrowserComponent()
        : CosCommonReferencedClassInfo("PropBrowserComponent", "KITE PropBrowserComponent") {}

protected:
    using Browser = PropBrowserComponent;
    using Text = std::string (Browser::*)(const VELD::ImmutableProperty&) const;
    using RowText = std::string (Browser::*)(const VELD::ImmutableProperty&,
                                             const VELD::ClassObject&, int) const;
    using Flag = bool (Browser::*)(const VELD::ImmutableProperty&) const;
    using RowFlag = bool (Browser::*)(const VELD::ImmutableProperty&, const VELD::ClassObject&,
                                      int) const;

    void populate() override {
        setSuperclass(PLATFORM::StudioComponentBase::noxTypeName);
        addMethod(NoxMethod("getObject", NoxPublic, "The object the browser shows"),
                  Invoker::createSignature("VELD.ClassObject"),
                  [](Browser& self, CallContext& call) {
                      setObjectResult(call, liveComponent(self, call).getObject());
                  });
        const std::vector<std::string> one = {"VELD.ImmutableProperty"};
        const std::vector<std::string> row = {"VELD.ImmutableProperty", "VELD.ClassObject",
                                              "int32 scalar"};
        addText("testAPI_GetLabelOfProperty", one, &Browser::testAPI_GetLabelOfProperty);
        addText("testAPI_GetValueOfProperty", one, &Browser::testAPI_GetValueOfProperty);
        addFlag("testAPI_IsPropertyReadonly", one, &Browser::testAPI_IsPropertyReadonly);
        addRowText("testAPI_GetLabelOfProperty", row, &Browser::testAPI_GetLabelOfProperty);
        addRowText("testAPI_GetValueOfProperty", row, &Browser::testAPI_GetValueOfProperty);
        addRowFlag("testAPI_IsPropertyReadonly", row, &Browser::testAPI_IsPropertyReadonly);
    }

private:
    static VELD::ImmutableProperty propertyArgument(const CallContext& call) {
        return metaArgument<VELD::ImmutableProperty>(call, 0, "a property");
    }
    void addText(const char* name, const std::vector<std::string>& arguments, Text text) {
        addMethod(NoxMethod(name, NoxPublic, "The text of the shown object's row of a property"),
                  Invoker::createSignature("char", arguments),
                  [text](Browser& self, CallContext& call) {
                      const VELD::ImmutableProperty property = propertyArgument(call);
                      call.setString((liveComponent(self, call).*text)(property));
                  });
    }
    void addRowText(const char* name, const std::vector<std::string>& arguments, RowText text) {
        addMethod(NoxMethod(name, NoxPublic, "The text of an object's row of a property"),
                  Invoker::createSignature("char", arguments),
                  [text](Browser& self, CallContext& call) {
                      const VELD::ImmutableProperty property = propertyArgument(call);
                      const VELD::ClassObject object = classObjectArgument(call, 1);
                      const int index = call.int32Argument(2);
                      call.setString((liveComponent(self, call).*text)(property, object, index));
                  });
    }
    void addFlag(const char* name, const std::vector<std::string>& arguments, Flag flag) {
        addMethod(NoxMethod(name, NoxPublic, "Whether the shown object's row cannot be edited"),
                  Invoker::createSignature("logical scalar", arguments),
                  [flag](Browser& self, CallContext& call) {
                      const VELD::ImmutableProperty property = propertyArgument(call);
                      call.setLogical((liveComponent(self, call).*flag)(property));
                  });
    }
    void addRowFlag(const char* name, const std::vector<std::string>& arguments, RowFlag flag) {
        addMethod(NoxMethod(name, NoxPublic, "Whether an object's row cannot be edited"),
                  Invoker::createSignature("logical scalar", arguments),
                  [flag](Browser& self, CallContext& call) {
                      const VELD::ImmutableProperty property = propertyArgument(call);
                      const VELD::ClassObject object = classObjectArgument(call, 1);
                      const int index = call.int32Argument(2);
                      call.setLogical((liveComponent(self, call).*flag)(property, object, index));
                  });
    }
};

} // namespace

NOX::COSPackage* KITEPackageWrapper::addPackage() {
    addValuePackages();
    return NOX::COSPackage::addPackage(packageName, &KITEPackageWrapper::initializePackage);
}

void KITEPackageWrapper::initializePackage(NOX::COSPackage& package) {
    QSInitialize_orbis();
    package.addClass<CosEditor>();
    package.addClass<CosGenericVELDStudioApp>();
    package.addClass<CosUtils>();
    package.addClass<CosStudioApp>();
    package.addClass<CosAbstractDomain>();
    package.addClass<CosDomain>();
    package.addClass<CosGenericVELDDomain>();
    package.addClass<CosTreeComponent>();
    package.addClass<CosPropBrowserComponent>();
    KITEStaticInitializePackage(package);
}

} // namespace KITE::mi
