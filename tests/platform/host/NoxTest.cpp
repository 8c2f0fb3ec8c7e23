#include "NoxTestClasses.hpp"

#include "platform/host/BindingRegistry.hpp"
#include "platform/host/PdxInterface.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include <gtest/gtest.h>

using namespace KiteTest::Nox;
using NOX::Invoker;

namespace {

class NoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        addTestPackage();
        aliveBefore = Widget::alive;
        widget = make("KT.Widget", {name.get()});
    }
    void TearDown() override {
        widget.reset();
        EXPECT_EQ(Widget::alive, aliveBefore) << "library objects leaked";
    }

    static vxArrayPtr make(const char* className, std::vector<const vxArray*> args = {}) {
        return Invoker::construct(className, args);
    }
    static std::string callString(const std::string& method, std::vector<const vxArray*> args) {
        auto results = Invoker::callMethod(method, args, 1);
        char* text = vxArray2String(results.at(0).get());
        std::string value = text ? text : "<not char>";
        vxFree(text);
        return value;
    }
    // The id of the host error a call raises; empty when it raises none.
    template <class Call> static std::string errorIdOf(Call call, std::string* text = nullptr) {
        try {
            call();
        } catch (const vxHostError& error) {
            if (text)
                *text = error.text();
            return error.id();
        }
        return {};
    }

    int aliveBefore = 0;
    vxArrayPtr name{vxCreateString("w")};
    vxArrayPtr widget; // a KT.Widget named "w"
};

TEST_F(NoxTest, PackageInitializesWhenFirstNeededAndOnlyOnce) {
    NOX::COSPackage::addPackage("KTLazy", [](NOX::COSPackage& package) {
        ++packageInitializations;
        package.addClass<CosUtil>();
    });
    const int before = packageInitializations;
    EXPECT_FALSE(NOX::COSPackage::addPackage("KTLazy")->isInitialized());
    ASSERT_NE(NOX::COSPackage::findClass("KTLazy.Util"), nullptr);
    EXPECT_EQ(packageInitializations, before + 1);
    EXPECT_EQ(NOX::COSPackage::findClass("KTLazy.Util")->fullName(), "KTLazy.Util");
    EXPECT_EQ(NOX::COSPackage::findClass("KTLazy.Nothing"), nullptr);
    EXPECT_EQ(packageInitializations, before + 1);
}

TEST_F(NoxTest, ClassRecordKnowsItsSuperclassAndInheritedMethods) {
    NOX::CosCommonClassInfo* gadget = NOX::COSPackage::findClass("KT.Gadget");
    ASSERT_NE(gadget, nullptr);
    EXPECT_EQ(gadget->description(), "Test gadget");
    ASSERT_NE(gadget->superclass(), nullptr);
    EXPECT_EQ(gadget->superclass()->fullName(), "KT.Widget");
    EXPECT_TRUE(gadget->isSubclassOf("KT.Widget"));
    EXPECT_FALSE(NOX::COSPackage::findClass("KT.Widget")->isSubclassOf("KT.Gadget"));

    auto getName = gadget->findMethods("getName");
    ASSERT_EQ(getName.size(), 2u); // its own first, then the widget's
    EXPECT_EQ(getName[0]->owner->fullName(), "KT.Gadget");
    EXPECT_EQ(getName[1]->owner->fullName(), "KT.Widget");
    EXPECT_EQ(gadget->findMethods("label").size(), 2u);
}

TEST_F(NoxTest, MethodsAreCalledByNameWithHostValuesAndOverloadsChosenBySignature) {
    EXPECT_EQ(widget->className(), "KT.Widget");
    EXPECT_EQ(callString("getName", {widget.get()}), "w");

    vxArrayPtr two(vxCreateDoubleScalar(2)), three(vxCreateInt32Scalar(3));
    auto sum = Invoker::callMethod("add", {widget.get(), two.get(), three.get()});
    ASSERT_EQ(sum.size(), 1u); // a result even when no output was asked for
    EXPECT_EQ(vxGetClassName(sum[0].get()), "int32");
    EXPECT_EQ(vxGetScalar(sum[0].get()), 5.0);

    EXPECT_TRUE(
        Invoker::callMethod("setPartner", {widget.get(), widget.get()}).empty()); // void: nothing
    // The overload is chosen by signature.
    vxArrayPtr seven(vxCreateDoubleScalar(7)), text(vxCreateString("t"));
    EXPECT_EQ(callString("label", {widget.get(), seven.get()}), "w#7");
    EXPECT_EQ(callString("label", {widget.get(), text.get(), seven.get()}), "t#7");
}

TEST_F(NoxTest, SubclassObjectsUseTheirOwnMethodsAndInheritTheRest) {
    vxArrayPtr gadget = make("KT.Gadget");
    vxArrayPtr seven(vxCreateDoubleScalar(7));
    EXPECT_EQ(callString("getName", {gadget.get()}), "gadget gadget");
    EXPECT_EQ(callString("label", {gadget.get(), seven.get()}), "gadget#7");
    // A gadget passes where a widget is wanted.
    Invoker::callMethod("setPartner", {widget.get(), gadget.get()});
    auto same = Invoker::callMethod("isPartner", {widget.get(), gadget.get()});
    EXPECT_EQ(vxGetScalar(same[0].get()), 1.0);
    // An object of an unrelated class does not.
    vxArrayPtr other = make("KT.Other");
    EXPECT_EQ(errorIdOf([&] {
                  Invoker::callMethod("setPartner", {widget.get(), other.get()});
              }),
              "QUASAR:nox:noMatchingSignature");
}

TEST_F(NoxTest, EmptyOrForeignSelfIsANullSelfError) {
    vxArrayPtr noWidget(vxCreateObjectArray("KT.Widget", {}));
    std::string text;
    EXPECT_EQ(errorIdOf([&] { Invoker::callMethod("getName", {noWidget.get()}); }, &text),
              "QUASAR:nox_factory:null_self");
    EXPECT_EQ(text, "Attempt to call a method on an empty value");

    // A widget array whose element is some other class's object.
    vxArrayPtr other = make("KT.Other");
    vxArrayPtr foreign(vxCreateObjectArray("KT.Widget", {vxGetObject(other.get(), 0)}));
    EXPECT_EQ(errorIdOf([&] { Invoker::callMethod("getName", {foreign.get()}); }),
              "QUASAR:nox_factory:null_self");
}

TEST_F(NoxTest, BadCallsAreHostErrorsThatSayWhatWasWrong) {
    vxArrayPtr number(vxCreateDoubleScalar(1)), half(vxCreateDoubleScalar(1.5));
    std::string text;

    EXPECT_EQ(errorIdOf([&] { Invoker::callMethod("frobnicate", {widget.get()}); }, &text),
              "QUASAR:nox:undefinedMethod");
    EXPECT_EQ(text, "No method 'frobnicate' for class 'KT.Widget'");

    // A string where a number is needed.
    EXPECT_EQ(errorIdOf(
                  [&] {
                      Invoker::callMethod("add", {widget.get(), name.get(), number.get()});
                  },
                  &text),
              "QUASAR:nox:noMatchingSignature");
    EXPECT_NE(text.find("(KT.Widget, char, double)"), std::string::npos) << text;
    EXPECT_NE(text.find("int32 scalar (int32 scalar, int32 scalar)"), std::string::npos) << text;

    EXPECT_EQ(errorIdOf([&] {
                  Invoker::callMethod("add", {widget.get(), half.get(), number.get()});
              }),
              "QUASAR:nox:noMatchingSignature");
    EXPECT_EQ(errorIdOf([&] { Invoker::callMethod("getName", {number.get()}); }, &text),
              "QUASAR:nox:undefinedMethod");
    EXPECT_EQ(text, "No method 'getName' for a value of class 'double'");
    EXPECT_EQ(errorIdOf([&] { Invoker::callMethod("getName", {}); }), "QUASAR:nox:undefinedMethod");
    EXPECT_EQ(errorIdOf([&] { Invoker::construct("KT.Nothing", {}); }),
              "QUASAR:nox:undefinedClass");
    EXPECT_EQ(errorIdOf([&] { Invoker::construct("KT.Widget", {number.get()}); }),
              "QUASAR:nox:noMatchingSignature");
    EXPECT_EQ(errorIdOf([&] { Invoker::construct("KT.Util", {}); }), "QUASAR:nox:noConstructor");
    EXPECT_EQ(errorIdOf([&] { Invoker::callMethod("getName", {widget.get()}, 2); }),
              "QUASAR:nox:tooManyOutputs");
}

TEST_F(NoxTest, LibraryErrorsReachTheCallerWithTheirIdAndText) {
    std::string text;
    EXPECT_EQ(errorIdOf([&] { Invoker::callMethod("failWithMessage", {widget.get()}); }, &text),
              "KITE_CannotFindTabForEditor");
    EXPECT_EQ(text, "Cannot find the tab of the editor");
    EXPECT_EQ(errorIdOf([&] { Invoker::callMethod("failWithException", {widget.get()}); }, &text),
              "QUASAR:nox:libraryError");
    EXPECT_NE(text.find("broken"), std::string::npos);
}

TEST_F(NoxTest, ClassArgumentIsNullWhenEmptyAndRefusedWhenSeveral) {
    Widget* library = vxGetObject(widget.get(), 0)->as<Widget>();
    library->partner = library;

    vxArrayPtr empty(vxCreateEmptyArray());
    Invoker::callMethod("setPartner", {widget.get(), empty.get()});
    EXPECT_EQ(library->partner, nullptr);

    vxArrayPtr pair(vxCreateObjectArray(
        "KT.Widget", {vxGetObject(widget.get(), 0), vxGetObject(widget.get(), 0)}));
    KiteTest::AssertionRecorder assertions;
    EXPECT_EQ(errorIdOf([&] {
                  Invoker::callMethod("setPartner", {widget.get(), pair.get()});
              }),
              "QUASAR:nox:notScalar");
    ASSERT_EQ(assertions.count(), 1u);
    EXPECT_EQ(assertions.reports()[0].message,
              "Parameter must be either an empty matrix or a scalar");
    EXPECT_EQ(library->partner, nullptr); // the call did not happen
}

TEST_F(NoxTest, ALibraryObjectHasOneHostObjectHoldingOneCount) {
    vxArrayPtr partnerName(vxCreateString("p"));
    vxArrayPtr partner = make("KT.Widget", {partnerName.get()});
    Widget* library = vxGetObject(partner.get(), 0)->as<Widget>();
    EXPECT_EQ(library->getRefCount(), 1u);

    Invoker::callMethod("setPartner", {widget.get(), partner.get()});
    auto first = Invoker::callMethod("getPartner", {widget.get()});
    auto second = Invoker::callMethod("getPartner", {widget.get()});
    EXPECT_EQ(vxGetObject(first[0].get(), 0), vxGetObject(partner.get(), 0));
    EXPECT_EQ(vxGetObject(second[0].get(), 0), vxGetObject(partner.get(), 0));
    EXPECT_EQ(library->getRefCount(), 1u);
    EXPECT_EQ(NOX::BindingRegistry::find(static_cast<const void*>(library)),
              vxGetObject(partner.get(), 0));
}

TEST_F(NoxTest, ReleasingTheLastHostReferenceDestroysTheLibraryObject) {
    const int before = Widget::alive - 1; // the fixture's widget
    vxArrayPtr copy(vxDuplicateArray(widget.get()));
    Widget* library = vxGetObject(widget.get(), 0)->as<Widget>();
    const std::size_t bindings = NOX::BindingRegistry::size();
    EXPECT_EQ(Widget::alive, before + 1);

    widget.reset();
    EXPECT_EQ(Widget::alive, before + 1); // the copy still holds the host object
    copy.reset();
    EXPECT_EQ(Widget::alive, before);
    EXPECT_EQ(NOX::BindingRegistry::size(), bindings - 1);
    EXPECT_EQ(NOX::BindingRegistry::find(static_cast<const void*>(library)), nullptr);
}

TEST_F(NoxTest, LibraryObjectOutlivesItsHostObjectWhileTheLibraryHoldsIt) {
    TAVI::Holder<Widget> kept(new Widget("kept"));
    {
        NOX::HostObjectRef host = NOX::BindingRegistry::announce(kept.get(), "KT.Widget");
        EXPECT_EQ(kept->getRefCount(), 2u);
        EXPECT_EQ(NOX::BindingRegistry::announce(kept.get(), "KT.Widget").get(), host.get());
    }
    EXPECT_EQ(kept->getRefCount(), 1u);
    EXPECT_EQ(NOX::BindingRegistry::find(static_cast<const void*>(kept.get())), nullptr);
    EXPECT_EQ(errorIdOf([&] { NOX::BindingRegistry::announce(kept.get(), "KT.Missing"); }),
              "QUASAR:nox:undefinedClass");
}

TEST_F(NoxTest, StaticMethodsNeedNoObject) {
    vxArrayPtr three(vxCreateDoubleScalar(3));
    auto results = Invoker::callStaticMethod("KT.Util", "twice", {three.get()});
    EXPECT_EQ(vxGetScalar(results.at(0).get()), 6.0);
    EXPECT_EQ(errorIdOf([&] { Invoker::callStaticMethod("KT.Util", "twice", {}); }),
              "QUASAR:nox:noMatchingSignature");
}

TEST(NoxSignatureTest, HostTypeNamesParseAndMalformedOnesAreRefused) {
    NOX::Signature signature =
        Invoker::createSignature("KITE.Editor vector", {"char vector", "logical scalar", "any"});
    EXPECT_EQ(signature.result.kind(), NOX::HostType::Object);
    EXPECT_TRUE(signature.result.isVector());
    EXPECT_EQ(signature.result.className(), "KITE.Editor");
    EXPECT_EQ(signature.arguments[0].kind(), NOX::HostType::Char);
    EXPECT_EQ(signature.toString(), "KITE.Editor vector (char vector, logical scalar, any)");
    EXPECT_THROW(Invoker::createSignature("logical  scalar"), std::invalid_argument);
    EXPECT_THROW(Invoker::createSignature("void", {"void"}), std::invalid_argument);
    EXPECT_THROW(Invoker::createSignature(""), std::invalid_argument);
}

TEST(NoxInterfaceTest, InterfaceObjectBecomesAnArrayAndGoesWithItsLastPointer) {
    NOX::COSInterfacePtr schema(new NOX::PdxInterface(vxArrayPtr(vxCreateString("menu"))));
    vxArrayPtr value(ConvertPdxIToArray(schema));
    EXPECT_EQ(value->chars(), "menu");
    schema.reset();
    EXPECT_EQ(value->chars(), "menu"); // the array is the caller's own copy
    vxArrayPtr none(ConvertPdxIToArray(NOX::COSInterfacePtr()));
    EXPECT_TRUE(vxIsEmpty(none.get()));
}

} // namespace
