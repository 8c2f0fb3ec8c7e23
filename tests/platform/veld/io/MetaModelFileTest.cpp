#include "platform/veld/io/MetaModelFile.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/veld/io/ModelFile.hpp"
#include "tests/platform/veld/io/IoTestSupport.hpp"

#include <tuple>

using namespace VELD;

namespace {

// A unique URI per test, since registrations last for the process.
std::string metaFile(const std::string& uri, const std::string& package, const std::string& body) {
    return "<?xml version=\"1.0\"?>\n<veld-metamodel version=\"1\" name=\"" + package +
           "\" uri=\"" + uri + "\" modelClass=\"Flow\">\n" + body + "</veld-metamodel>\n";
}

const std::string kFlowBody =
    "  <enumeration name=\"Kind\">\n"
    "    <literal name=\"Source\"/>\n"
    "    <literal name=\"Sink\"/>\n"
    "  </enumeration>\n"
    "  <class name=\"Flow\">\n"
    "    <property name=\"title\" type=\"String\"/>\n"
    "    <property name=\"steps\" type=\"Step\" composite=\"true\" upper=\"*\"/>\n"
    "    <property name=\"diagrams\" type=\"KITE.Diagram\" composite=\"true\" upper=\"*\"/>\n"
    "  </class>\n"
    "  <class name=\"Named\" abstract=\"true\">\n"
    "    <property name=\"name\" type=\"String\" lower=\"1\"/>\n"
    "  </class>\n"
    "  <class name=\"Step\" superClasses=\"KITE.GraphNode Named\" hostTypeName=\"FLOW.Step\">\n"
    "    <property name=\"kind\" type=\"Kind\" default=\"Sink\"/>\n"
    "    <property name=\"weight\" type=\"Double\" default=\"0.5\"/>\n"
    "    <property name=\"next\" type=\"Step\" upper=\"3\"/>\n"
    "    <property name=\"code\" type=\"String\" readOnly=\"true\"/>\n"
    "    <property name=\"limit\" type=\"UnlimitedNatural\"/>\n"
    "    <property name=\"nextCount\" type=\"Integer\" derived=\"true\" "
    "function=\"test.nextCount\"/>\n"
    "  </class>\n";

class MetaModelFileTest : public testing::Test {
protected:
    void SetUp() override {
        KITE::diagramMetaModel();
        registerDeriveFunction("test.nextCount", [](const ImmutableClassObject& o) {
            const auto next = o.get(o.getMetaClass().getProperty("next"));
            return std::vector<ImmutableObject>{ImmutableObject::fromInteger(next.size())};
        });
    }

    // Expects a FileError at the given line whose message holds expected; and that the URI
    // stays unregistered.
    void expectRefused(const std::string& uri, const std::string& text, const std::string& expected,
                       int line) {
        try {
            readMetaModel(text, "bad.veldmeta");
            ADD_FAILURE() << "loaded a malformed meta-model";
        } catch (const FileError& e) {
            EXPECT_NE(e.message().find(expected), std::string::npos) << e.what();
            EXPECT_EQ(e.line(), line) << e.what();
            EXPECT_EQ(e.file(), "bad.veldmeta");
        }
        EXPECT_FALSE(DomainRegistry::instance().isRegistered(uri));
    }
};

TEST_F(MetaModelFileTest, RegistersClassesPropertiesAndEnumerations) {
    const ImmutableNamespace pkg =
        readMetaModel(metaFile("test:flow", "flowtest", kFlowBody), "flow.veldmeta");
    ASSERT_TRUE(DomainRegistry::instance().isRegistered("test:flow"));
    EXPECT_EQ(pkg.getName(), "flowtest");
    const ImmutableClass step = DomainRegistry::instance().findClass("flowtest.Step");
    ASSERT_TRUE(step.isValid());
    EXPECT_TRUE(VELD::isa(step, KITE::ImmutableGraphNode::MetaClass()));
    EXPECT_TRUE(VELD::isa(step, DomainRegistry::instance().findClass("flowtest.Named")));
    EXPECT_TRUE(DomainRegistry::instance().findClass("flowtest.Named").isAbstract());
    EXPECT_FALSE(step.isAbstract());
    EXPECT_STREQ(step.getHostTypeName(), "FLOW.Step");
    EXPECT_EQ(step.getProperty("name").lowerBound(), 1);
    EXPECT_EQ(step.getProperty("next").upperBound(), 3);
    EXPECT_TRUE(step.getProperty("code").isReadOnly());
    EXPECT_TRUE(step.getProperty("nextCount").isDerived());
    EXPECT_TRUE(
        DomainRegistry::instance().findClass("flowtest.Flow").getProperty("steps").isComposite());
    EXPECT_EQ(ImmutableEnumeration(DomainRegistry::instance().findType("flowtest.Kind"))
                  .getOwnedLiterals()
                  .size(),
              2);

    // A model of the loaded meta-model works like any other, and goes through a file too.
    Model model = DomainRegistry::instance().createModel("test:flow");
    commit(model, [&] {
        ClassObject a = model.getFactory().createFromString("Step");
        ClassObject b = model.getFactory().createFromString("Step");
        model.getRootObject().add(model.getMetaModel().getProperty("steps"), a);
        model.getRootObject().add(model.getMetaModel().getProperty("steps"), b);
        a.add(step.getProperty("next"), b);
        a.add(step.getProperty("next"), a);
    });
    const ImmutableClassObject a =
        model.getRootObject().get(model.getMetaModel().getProperty("steps"))[0].asClassObject();
    EXPECT_EQ(a.getOne("kind").toString(), "Sink");
    EXPECT_EQ(a.getDouble(step.getProperty("weight")), 0.5);
    EXPECT_EQ(a.get(step.getProperty("nextCount"))[0].toInteger(), 2);
    Model copy = readModel(writeModel(model), "flow model");
    EXPECT_TRUE(sameModel(model, copy));
}

TEST_F(MetaModelFileTest, ARegisteredUriIsRefused) {
    readMetaModel(metaFile("test:flow-twice", "flowTwice", kFlowBody), "first");
    try {
        readMetaModel(metaFile("test:flow-twice", "flowTwice2", kFlowBody), "second");
        FAIL();
    } catch (const FileError& e) {
        EXPECT_NE(e.message().find("registered already"), std::string::npos) << e.what();
        EXPECT_EQ(e.line(), 2);
    }
    EXPECT_FALSE(DomainRegistry::instance().findClass("flowTwice2.Step").isValid());
}

TEST_F(MetaModelFileTest, MalformedFilesRegisterNothing) {
    expectRefused("test:m1", "not xml", "not", 1);
    expectRefused("test:m2", metaFile("test:m2", "m2", kFlowBody).substr(0, 300), "ends too early",
                  0 + 9);
    // Well-formed files whose definitions are wrong, each under a URI of its own.
    const std::tuple<std::string, std::string, int> cases[] = {
        {"<class name=\"A\">\n<property name=\"p\" type=\"Nope\"/>\n</class>\n",
         "unknown type 'Nope'", 4},
        {"<class name=\"Flow\"/>\n<class name=\"B\" superClasses=\"Missing\"/>\n",
         "unknown class 'Missing'", 4},
        {"<class name=\"Flow\">\n<property name=\"p\" type=\"Integer\" "
         "upper=\"many\"/>\n</class>\n",
         "upper", 4},
        {"<class name=\"Flow\">\n<property name=\"p\" type=\"Integer\" "
         "derived=\"true\"/>\n</class>\n",
         "function", 4},
        {"<class name=\"Flow\">\n<property name=\"p\" type=\"Integer\" derived=\"true\" "
         "function=\"nope\"/>\n</class>\n",
         "no derive function 'nope'", 4},
        {"<class name=\"Flow\">\n<property name=\"p\" type=\"Integer\" default=\"x\"/>\n</class>\n",
         "default 'x'", 4},
        {"<class name=\"Flow\" abstract=\"maybe\"/>\n", "true or false", 3},
        {"<clas name=\"Flow\"/>\n", "unknown element <clas>", 3},
        {"<class name=\"Flow\"/>\n<class name=\"Flow\"/>\n", "defined twice", 2},
        {"<class name=\"A\" superClasses=\"B\"/>\n<class name=\"B\" superClasses=\"A\"/>\n",
         "inherits from itself", 3},
    };
    int n = 3;
    for (const auto& [body, expected, line] : cases) {
        SCOPED_TRACE(expected);
        const std::string name = "m" + std::to_string(n++);
        expectRefused("test:" + name, metaFile("test:" + name, name, body), expected, line);
    }
    // A file that failed once loads once it is right.
    readMetaModel(metaFile("test:m3", "m3", "<class name=\"Flow\"/>\n"), "fixed");
    EXPECT_TRUE(DomainRegistry::instance().isRegistered("test:m3"));
}

} // namespace
