#include "bindings/HostValues.hpp"
#include "bindings/KitePackage.hpp"
#include "main/initialize.hpp"
#include "platform/host/BindingRegistry.hpp"
#include "platform/host/COSPackage.hpp"
#include "platform/host/Invoker.hpp"
#include "platform/host/vxHostError.hpp"
#include "platform/veld/MetaModelBuilder.hpp"
#include "studio/components/GenericVELDStudioApp.hpp"
#include "studio/components/PropBrowserComponent.hpp"
#include "tests/studio/StudioAppFixture.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace KITE::Test {
namespace {

using NOX::Invoker;

struct HostFailure {
    std::string id;
    std::string text;
};

// The host error a call raises; an empty id when it raises none.
template <typename F> HostFailure failureOf(F&& call) {
    try {
        call();
    } catch (const vxHostError& error) {
        return {error.id(), error.text()};
    }
    return {};
}

template <class T> vxArrayPtr hostOf(T* object) {
    const std::string className = object->getFullyQualifiedNoxTypeName();
    return vxArrayPtr(vxCreateObjectArray(className.c_str(),
                                          {NOX::BindingRegistry::announce(object, className)}));
}

template <class V> vxArrayPtr hostValue(V value, const std::string& className) {
    return vxArrayPtr(vxCreateObjectArray(
        className.c_str(), {NOX::BindingRegistry::announceValue(std::move(value), className)}));
}

vxArrayPtr text(const char* value) {
    return vxArrayPtr(vxCreateString(value));
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

class BindingsTest : public StudioAppTest {
protected:
    void SetUp() override {
        initialize_kite();
        StudioAppTest::SetUp();
        editor = open(blocks.diagram);
        ASSERT_NE(editor, nullptr);
    }
    void TearDown() override {
        for (const TAVI::Holder<PLATFORM::Studio>& other : extraStudios)
            if (other->isOpen())
                other->close();
        extraStudios.clear();
        StudioAppTest::TearDown();
    }

    // A second studio application of the kind, with a window, for tests that close one.
    template <class App> TAVI::Holder<App> spawn() {
        TAVI::Holder<App> made(new App);
        TAVI::ErrorHolder errors;
        extraStudios.push_back(
            PLATFORM::Studio::spawnStudio(TAVI::Holder<PLATFORM::Application>(made.get()), errors));
        EXPECT_FALSE(errors.hasError()) << errors.what();
        return made;
    }
    // Closes the window and lets it go, so that its application is left without one.
    void closeWindow(PLATFORM::Application* of) {
        PLATFORM::Studio* window = of->getStudio();
        window->close();
        extraStudios.erase(std::remove_if(extraStudios.begin(), extraStudios.end(),
                                          [&](const TAVI::Holder<PLATFORM::Studio>& held) {
                                              return held.get() == window;
                                          }),
                           extraStudios.end());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // What a bad call must leave as it was.
    std::string snapshot() const {
        std::string s = "models " + std::to_string(app->allModels().size());
        s += " editors " + std::to_string(app->getAllEditors().size());
        s += " selected " + std::to_string(editor->getSelection().size());
        s += " level " + std::to_string(blocks.model.getCurrentChangeLevel());
        s += " studios " + std::to_string(PLATFORM::Studio::allStudios().size());
        s += " mode '" + app->getFilterMode("studio") + "'";
        s += " open " + std::to_string(int(app->getEditorOpenType()));
        s += " tree " + std::to_string(app->isVisible(StudioApp::treeComponentName));
        return s;
    }

    Editor* editor = nullptr;
    std::vector<TAVI::Holder<PLATFORM::Studio>> extraStudios;
};

TEST_F(BindingsTest, EveryBoundMethodRefusesBadInputByNameAndChangesNothing) {
    // A value of each host type a signature names, and a deleted object of each class type.
    VELD::ImmutableClassObject gone;
    {
        VELD::Transaction t(blocks.model);
        gone = blocks.addBlock(blocks.diagram, {300, 300}, {10, 10});
        t.commit();
    }
    {
        VELD::Transaction t(blocks.model);
        DiagramElement(gone).destroy();
        t.commit();
    }
    VELD::Model goneModel = VELD::DomainRegistry::instance().createModel("test:editorblocks");
    goneModel.destroy();

    const VELD::ImmutableObject block(blocks.a), diagram(blocks.diagram);
    const VELD::ImmutableObject cls(blocks.a.getMetaClass());
    const VELD::ImmutableObject property(blocks.a.getMetaClass().getOwnedAttributes()[0]);
    const std::map<std::string, VELD::ImmutableObject> objects = {
        {"KITE.ImmutableDiagramElement", block},
        {"KITE.DiagramElement", block},
        {"KITE.ImmutableDiagram", diagram},
        {"KITE.Diagram", diagram},
        {"VELD.ClassObject", block},
        {"VELD.ImmutableObject", block},
        {"VELD.ImmutableClass", cls},
        {"VELD.ImmutableProperty", property},
        {"VELD.ImmutableType", cls},
    };
    const auto good = [&](const NOX::HostType& type) -> vxArrayPtr {
        switch (type.kind()) {
        case NOX::HostType::Char:
            return text("x");
        case NOX::HostType::Int32:
            return vxArrayPtr(vxCreateInt32Scalar(1));
        case NOX::HostType::Logical:
            return vxArrayPtr(vxCreateLogicalScalar(false));
        case NOX::HostType::Double:
            return vxArrayPtr(vxCreateDoubleScalar(1));
        default:
            break;
        }
        if (type.className() == "VELD.Model")
            return hostValue(blocks.model, "VELD.Model");
        return hostValue(objects.at(type.className()), type.className());
    };
    const auto wrong = [&](const NOX::HostType& type) -> vxArrayPtr {
        if (type.kind() == NOX::HostType::Object)
            return text("x");
        if (type.kind() == NOX::HostType::Char)
            return vxArrayPtr(vxCreateDoubleScalar(7));
        return text("x");
    };
    const auto dead = [&](const NOX::HostType& type) -> vxArrayPtr {
        if (type.className() == "VELD.Model")
            return hostValue(goneModel, "VELD.Model");
        return hostValue(VELD::ImmutableObject(gone), type.className());
    };

    // The object each class's methods are called on, and one that is gone.
    TAVI::Holder<GenericVELDStudioApp> generic = spawn<GenericVELDStudioApp>();
    TAVI::Holder<GenericVELDStudioApp> closedGeneric = spawn<GenericVELDStudioApp>();
    TAVI::Holder<OpenTypeStudioApp> closedApp = spawn<OpenTypeStudioApp>();
    TAVI::Holder<KiteDomainInterface> front(new KiteDomainInterface(studio.get()));
    TAVI::Holder<KiteDomainInterface> closedFront(new KiteDomainInterface(closedApp->getStudio()));
    {
        VELD::Transaction t(blocks.model);
        blocks.addDiagram("second");
        t.commit();
    }
    Diagram second(blocks.model.getRootObject()
                       .get(blocks.model.getRootObject().getMetaClass().getProperty("diagrams"))[1]
                       .asClassObject());
    Editor* closedEditor = open(second);
    ASSERT_NE(closedEditor, nullptr);
    vxArrayPtr closedEditorHost = hostOf(closedEditor);
    TAVI::ErrorHolder closing;
    app->closeEditor(second, closing);
    PLATFORM::StudioComponentBase* browser = app->getComponent(StudioApp::propBrowserComponentName);
    PLATFORM::StudioComponentBase* closedBrowser =
        closedApp->getComponent(StudioApp::propBrowserComponentName);
    ASSERT_NE(dynamic_cast<PropBrowserComponent*>(browser), nullptr);
    ASSERT_NE(dynamic_cast<PropBrowserComponent*>(closedBrowser), nullptr);
    vxArrayPtr closedBrowserHost = hostOf(closedBrowser);
    vxArrayPtr closedTreeHost = hostOf(closedApp->getComponent(StudioApp::treeComponentName));
    closeWindow(closedGeneric.get());
    closeWindow(closedApp.get());
    ASSERT_EQ(closedApp->getStudio(), nullptr);
    const std::string ready = snapshot();

    std::map<std::string, vxArrayPtr> selves;
    selves["KITE.Editor"] = hostOf(editor);
    selves["KITE.StudioApp"] = hostOf(app.get());
    selves["KITE.GenericVELDStudioApp"] = hostOf(generic.get());
    selves["KITE.Domain"] = hostOf(front.get());
    selves["KITE.PropBrowserComponent"] = hostOf(browser);
    selves["KITE.TreeComponent"] = hostOf(app->getComponent(StudioApp::treeComponentName));
    selves["KITE.ImmutableSequenceOfDiagramElement"] =
        hostValue(mi::HostSequence{{block}}, "KITE.ImmutableSequenceOfDiagramElement");
    selves["VELD.ImmutableObject"] = hostValue(block, "VELD.ImmutableObject");
    selves["VELD.ClassObject"] = hostValue(block, "VELD.ClassObject");
    selves["VELD.Model"] = hostValue(blocks.model, "VELD.Model");
    selves["VELD.ImmutableClass"] = hostValue(cls, "VELD.ImmutableClass");
    selves["VELD.SequenceOfImmutableClass"] =
        hostValue(mi::HostSequence{{cls}}, "VELD.SequenceOfImmutableClass");
    selves["VELD.SequenceOfImmutableClassObject"] =
        hostValue(mi::HostSequence{{block}}, "VELD.SequenceOfImmutableClassObject");
    std::map<std::string, vxArrayPtr> deadSelves;
    deadSelves["KITE.Editor"] = std::move(closedEditorHost);
    deadSelves["KITE.StudioApp"] = hostOf(closedApp.get());
    deadSelves["KITE.GenericVELDStudioApp"] = hostOf(closedGeneric.get());
    deadSelves["KITE.Domain"] = hostOf(closedFront.get());
    deadSelves["KITE.PropBrowserComponent"] = std::move(closedBrowserHost);
    deadSelves["KITE.TreeComponent"] = std::move(closedTreeHost);
    deadSelves["VELD.ClassObject"] = hostValue(VELD::ImmutableObject(gone), "VELD.ClassObject");
    deadSelves["VELD.Model"] = hostValue(goneModel, "VELD.Model");
    // Methods that need no window or live object: asking a gone object is no error for them.
    const std::set<std::string> answerWhenGone = {"getMetaUri", "setMetaUri", "createNewModel",
                                                  "toString", "isValid"};

    int calls = 0;
    for (const char* packageName : {"KITE", "VELD"}) {
        NOX::COSPackage* package = NOX::COSPackage::findPackage(packageName);
        ASSERT_NE(package, nullptr);
        for (NOX::CosCommonClassInfo* record : package->classes()) {
            record->ensurePopulated();
            for (const NOX::MethodEntry* method : record->methods()) {
                const std::string& name = method->method.name();
                const NOX::Signature& signature = method->signature;
                SCOPED_TRACE(record->fullName() + "." + name + " " + signature.toString());
                const bool isStatic = method->method.isStatic();
                const auto call = [&](const vxArray* self,
                                      const std::vector<const vxArray*>& arguments) {
                    if (method->method.isConstructor())
                        Invoker::construct(record->fullName(), arguments);
                    else if (isStatic)
                        Invoker::callStaticMethod(record->fullName(), name, arguments);
                    else {
                        std::vector<const vxArray*> all{self};
                        all.insert(all.end(), arguments.begin(), arguments.end());
                        Invoker::callMethod(name, all);
                    }
                };
                const vxArray* self = nullptr;
                if (!isStatic) {
                    ASSERT_TRUE(selves.count(record->fullName()));
                    self = selves[record->fullName()].get();
                }
                std::vector<vxArrayPtr> owned;
                for (const NOX::HostType& type : signature.arguments)
                    owned.push_back(good(type));
                const auto goodArguments = [&] {
                    std::vector<const vxArray*> out;
                    for (const vxArrayPtr& a : owned)
                        out.push_back(a.get());
                    return out;
                };
                // Each bad call: a host error naming the method and, where one is at fault,
                // the argument; and nothing changed.
                const auto expectRefused = [&](const std::string& what, const vxArray* callSelf,
                                               const std::vector<const vxArray*>& arguments,
                                               const std::string& argument) {
                    SCOPED_TRACE(what);
                    const HostFailure failure = failureOf([&] { call(callSelf, arguments); });
                    ++calls;
                    EXPECT_FALSE(failure.id.empty());
                    EXPECT_NE(
                        failure.text.find(method->method.isConstructor() ? record->name() : name),
                        std::string::npos)
                        << failure.text;
                    if (!argument.empty()) {
                        EXPECT_NE(lower(failure.text).find(argument), std::string::npos)
                            << failure.text;
                    }
                    EXPECT_EQ(snapshot(), ready);
                };

                const std::size_t n = signature.arguments.size();
                // One argument fewer is a call of another overload when one takes that many.
                bool shorterOverload = false;
                for (const NOX::MethodEntry* other : record->methods())
                    shorterOverload =
                        shorterOverload || (other->method.name() == name &&
                                            other->signature.arguments.size() + 1 == n);
                if (n > 0 && !shorterOverload) {
                    std::vector<const vxArray*> fewer = goodArguments();
                    fewer.pop_back();
                    expectRefused("missing", self, fewer, "argument " + std::to_string(n));
                }
                vxArrayPtr extra(vxCreateDoubleScalar(3));
                std::vector<const vxArray*> more = goodArguments();
                more.push_back(extra.get());
                expectRefused("extra", self, more, "argument " + std::to_string(n + 1));
                for (std::size_t i = 0; i < n; ++i) {
                    const NOX::HostType& type = signature.arguments[i];
                    if (type.kind() == NOX::HostType::Any)
                        continue;
                    const std::string place = "argument " + std::to_string(i + 1);
                    std::vector<const vxArray*> arguments = goodArguments();
                    vxArrayPtr bad = wrong(type);
                    arguments[i] = bad.get();
                    expectRefused("wrong type " + place, self, arguments, place);
                    if (type.kind() == NOX::HostType::Object) {
                        vxArrayPtr gone = dead(type);
                        arguments[i] = gone.get();
                        expectRefused("gone " + place, self, arguments, place);
                    }
                }
                if (!isStatic && deadSelves.count(record->fullName()) &&
                    !answerWhenGone.count(name))
                    expectRefused("gone object", deadSelves[record->fullName()].get(),
                                  goodArguments(), "");
            }
        }
    }
    EXPECT_GT(calls, 150);
}

TEST_F(BindingsTest, AnEmptySelfIsRefusedAnEmptyElementIsANullOneAndTwoAreRefused) {
    vxArrayPtr none(vxCreateObjectArray("KITE.Editor", {}));
    vxArrayPtr element = hostValue(VELD::ImmutableObject(blocks.a), "KITE.DiagramElement");
    const HostFailure nullSelf = failureOf([&] {
        Invoker::callMethod("isSelected", {none.get(), element.get()});
    });
    EXPECT_EQ(nullSelf.id, "QUASAR:nox_factory:null_self");
    EXPECT_EQ(nullSelf.text, "Attempt to call a method on an empty value");

    vxArrayPtr self = hostOf(editor);
    vxArrayPtr empty(vxCreateEmptyArray());
    {
        // The null element reaches the editor, which says it is none of its own.
        KiteTest::AssertionRecorder assertions;
        EXPECT_EQ(failureOf([&] {
                      Invoker::callMethod("select", {self.get(), empty.get()});
                  }).id,
                  "");
        EXPECT_EQ(assertions.expressions(), std::vector<std::string>{"!e.isNull()"});
    }
    EXPECT_EQ(editor->getSelection().size(), 0);
    const auto answer = Invoker::callMethod("isSelected", {self.get(), empty.get()});
    EXPECT_EQ(answer.at(0)->numberAt(0), 0.0);

    KiteTest::AssertionRecorder assertions;
    vxArrayPtr two(vxCreateObjectArray(
        "KITE.DiagramElement", {NOX::BindingRegistry::announceValue(VELD::ImmutableObject(blocks.a),
                                                                    "KITE.DiagramElement"),
                                NOX::BindingRegistry::announceValue(VELD::ImmutableObject(blocks.b),
                                                                    "KITE.DiagramElement")}));
    const HostFailure failure = failureOf([&] {
        Invoker::callMethod("select", {self.get(), two.get()});
    });
    EXPECT_EQ(failure.text, "Parameter must be either an empty matrix or a scalar");
    ASSERT_EQ(assertions.count(), 1u);
    EXPECT_EQ(editor->getSelection().size(), 0);

    vxArrayPtr a = hostValue(VELD::ImmutableObject(blocks.a), "KITE.DiagramElement");
    Invoker::callMethod("select", {self.get(), a.get()});
    EXPECT_TRUE(editor->isSelected(blocks.a));
    EXPECT_EQ(Invoker::callMethod("isSelected", {self.get(), a.get()}).at(0)->numberAt(0), 1.0);
    const auto selection = Invoker::callMethod("getSelection", {self.get()});
    EXPECT_EQ(Invoker::callMethod("size", {selection.at(0).get()}).at(0)->numberAt(0), 1.0);
}

TEST_F(BindingsTest, NameToEditorFindsTheLastEditorOfThatName) {
    vxArrayPtr nobody = text("no such editor");
    const auto none = Invoker::callStaticMethod("KITE.Util", "nameToEditor", {nobody.get()});
    EXPECT_TRUE(vxIsEmpty(none.at(0).get()));

    TAVI::Holder<OpenTypeStudioApp> other = spawn<OpenTypeStudioApp>();
    TAVI::ErrorHolder errors;
    Editor* twin = other->openEditor(blocks.diagram, errors);
    ASSERT_NE(twin, nullptr) << errors.what();
    ASSERT_EQ(twin->getName(), editor->getName());
    vxArrayPtr name = text(editor->getName().c_str());
    const auto found = Invoker::callStaticMethod("KITE.Util", "nameToEditor", {name.get()});
    ASSERT_EQ(vxGetNumberOfElements(found.at(0).get()), 1u);
    EXPECT_EQ(vxGetObject(found.at(0).get(), 0)->as<Editor>(), twin);
}

TEST_F(BindingsTest, ReleasingTheLastHostReferenceReleasesTheStudioApp) {
    const std::size_t bound = NOX::BindingRegistry::size();
    vxArrayPtr made = Invoker::construct("KITE.StudioApp");
    StudioApp* raw = vxGetObject(made.get(), 0)->as<StudioApp>();
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(raw->getRefCount(), 1u); // the host object's count alone: no window yet
    EXPECT_EQ(NOX::BindingRegistry::size(), bound + 1);
    made.reset();
    EXPECT_EQ(NOX::BindingRegistry::size(), bound);
    EXPECT_EQ(NOX::BindingRegistry::find(raw), nullptr);
}

TEST_F(BindingsTest, OpenTypesGoByNameAndALibraryErrorReachesTheScriptWithItsId) {
    vxArrayPtr self = hostOf(app.get());
    struct Case {
        const char* given;
        const char* read;
    } cases[] = {{"NEW_WINDOW", "NEW_WINDOW"},
                 {"NEW_TAB", "NEW_TAB"},
                 {"REUSE_TAB", "REUSE_TAB"},
                 {"new_tab", "REUSE_TAB"}, // any other name counts as REUSE_TAB
                 {"", "REUSE_TAB"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        vxArrayPtr given = text(c.given);
        Invoker::callMethod("setEditorOpenType", {self.get(), given.get()});
        const auto read = Invoker::callMethod("getEditorOpenType", {self.get()});
        EXPECT_EQ(read.at(0)->chars(), c.read);
    }
    vxArrayPtr diagram = hostValue(VELD::ImmutableObject(blocks.diagram), "KITE.Diagram");
    Invoker::callMethod("terminate", {self.get()});
    const HostFailure failure = failureOf([&] {
        Invoker::callMethod("openEditor", {self.get(), diagram.get()});
    });
    EXPECT_EQ(failure.id, "KITE_StudioAppNotReady");
    EXPECT_NE(failure.text.find("terminated"), std::string::npos) << failure.text;
}

// A meta-model with no domain of its own.
const char* libraryUri() {
    static const bool built = [] {
        VELD::MetaModelBuilder builder("scripted", "test:scripted-library");
        builder.addClass("Library").attribute("name", "String").containment("books", "Book");
        builder.addClass("Book").attribute("title", "String").attribute("pages", "Integer");
        builder.setModelClass("Library");
        builder.build();
        return true;
    }();
    (void)built;
    return "test:scripted-library";
}

// The first result of a call.
vxArrayPtr call(const std::string& method, std::vector<const vxArray*> arguments) {
    std::vector<vxArrayPtr> results = Invoker::callMethod(method, arguments, 1);
    return results.empty() ? vxArrayPtr() : std::move(results.front());
}

TEST_F(BindingsTest, AScriptBrowsesAndEditsAModelInAGenericStudio) {
    // Everything below goes through the host classes, as a script would.
    vxArrayPtr studioApp = Invoker::construct("KITE.GenericVELDStudioApp");
    Invoker::callMethod("initialize", {studioApp.get()});
    auto* generic = vxGetObject(studioApp.get(), 0)->as<GenericVELDStudioApp>();
    ASSERT_NE(generic->getStudio(), nullptr);
    extraStudios.emplace_back(generic->getStudio());

    vxArrayPtr uri = text(libraryUri());
    Invoker::callMethod("setMetaUri", {studioApp.get(), uri.get()});
    EXPECT_EQ(call("getMetaUri", {studioApp.get()})->chars(), libraryUri());
    vxArrayPtr model = call("createNewModel", {studioApp.get()});
    Invoker::callMethod("addModel", {studioApp.get(), model.get()});
    EXPECT_EQ(call("hasModel", {studioApp.get(), model.get()})->numberAt(0), 1.0);
    EXPECT_EQ(*vxGetObject(call("getActiveModel", {studioApp.get()}).get(), 0)->as<VELD::Model>(),
              *vxGetObject(model.get(), 0)->as<VELD::Model>());

    // A new book inside the library is made and selected; the browser shows it.
    vxArrayPtr root = call("getRootObject", {model.get()});
    vxArrayPtr libraryClass = call("getMetaClass", {root.get()});
    vxArrayPtr offered = call("getFilteredChildrenTypes", {studioApp.get(), libraryClass.get()});
    ASSERT_EQ(call("size", {offered.get()})->numberAt(0), 1.0);
    vxArrayPtr first(vxCreateInt32Scalar(1));
    vxArrayPtr bookClass = call("at", {offered.get(), first.get()});
    vxArrayPtr book = call("createObjectOfType", {studioApp.get(), root.get(), bookClass.get()});
    ASSERT_EQ(vxGetNumberOfElements(book.get()), 1u);
    vxArrayPtr studioValue = call("getStudio", {studioApp.get()});
    vxArrayPtr browserName = text(StudioApp::propBrowserComponentName);
    vxArrayPtr browser = call("getComponent", {studioValue.get(), browserName.get()});
    EXPECT_EQ(browser->className(), "KITE.PropBrowserComponent");
    EXPECT_EQ(call("toString", {call("getObject", {browser.get()}).get()})->chars(),
              call("toString", {book.get()})->chars());

    // Clicks in the tree select: the root row is the model itself.
    vxArrayPtr tree =
        call("getComponent", {studioValue.get(), text(StudioApp::treeComponentName).get()});
    EXPECT_EQ(tree->className(), "KITE.TreeComponent");
    Invoker::callMethod("testAPI_Click", {tree.get(), root.get()});
    EXPECT_EQ(call("toString", {call("getCurrentSelection", {studioApp.get()}).get()})->chars(),
              call("toString", {root.get()})->chars());
    Invoker::callMethod("testAPI_Expand", {tree.get(), root.get()});
    vxArrayPtr rows = call("testAPI_GetVisibleObjects", {tree.get()});
    EXPECT_EQ(call("size", {rows.get()})->numberAt(0), 2.0); // the library and its book
    Invoker::callMethod("testAPI_Click", {tree.get(), book.get()});
    EXPECT_EQ(call("toString", {call("getObject", {browser.get()}).get()})->chars(),
              call("toString", {book.get()})->chars());

    // An edit shows in the browser, and undoing it takes it back.
    vxArrayPtr title = text("title");
    vxArrayPtr titleProperty = call("getProperty", {bookClass.get(), title.get()});
    vxArrayPtr dune = text("Dune");
    Invoker::callMethod("setValue", {book.get(), title.get(), dune.get()});
    EXPECT_EQ(call("getValue", {book.get(), title.get()})->chars(), "Dune");
    EXPECT_EQ(call("testAPI_GetValueOfProperty", {browser.get(), titleProperty.get()})->chars(),
              "Dune");
    Invoker::callMethod("undo", {model.get()});
    EXPECT_EQ(call("getValue", {book.get(), title.get()})->chars(), "");
    EXPECT_EQ(call("testAPI_GetValueOfProperty", {browser.get(), titleProperty.get()})->chars(),
              "");
    EXPECT_EQ(call("isValid", {book.get()})->numberAt(0), 1.0); // only the edit was undone

    // A value that does not convert changes nothing.
    vxArrayPtr pages = text("pages"), many = text("many");
    EXPECT_EQ(failureOf([&] {
                  Invoker::callMethod("setValue", {book.get(), pages.get(), many.get()});
              }).id,
              "KITE:badArgument");
    EXPECT_EQ(call("getValue", {book.get(), pages.get()})->chars(), "");

    // A second initialize changes nothing.
    Invoker::callMethod("initialize", {studioApp.get()});
    EXPECT_EQ(generic->allModels().size(), 1u);
}

} // namespace
} // namespace KITE::Test
