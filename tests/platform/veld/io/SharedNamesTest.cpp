#include "platform/veld/io/MetaModelFile.hpp"
#include "platform/veld/io/ModelFile.hpp"
#include "tests/platform/veld/io/IoTestSupport.hpp"

#include <vector>

using namespace VELD;

namespace {

const std::string kBooks = "http://example.org/books/library";
const std::string kSoftware = "urn:example:software:library";

std::string dataFile(const char* name) {
    return std::string(KITE_SOURCE_DIR) + "/tests/platform/veld/io/data/" + name;
}

ImmutableClass findClass(const std::string& name) {
    return DomainRegistry::instance().findClass(name);
}

// Meta-models written apart, loaded side by side from their files as a user would: two packages
// named "library" under different URIs, and one with a class named like a primitive type.
class SharedNamesTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static const bool loaded = [] { // registrations last for the process
            loadMetaModel(dataFile("books-library.veldmeta"));
            loadMetaModel(dataFile("software-library.veldmeta"));
            loadMetaModel(dataFile("typed-values.veldmeta"));
            return true;
        }();
        (void)loaded;
    }
};

TEST_F(SharedNamesTest, PackagesOfOneNameLoadSideBySideAndTheUriTellsThemApart) {
    const ImmutableClass books = findClass("{" + kBooks + "}Library");
    const ImmutableClass software = findClass("{" + kSoftware + "}Library");
    ASSERT_TRUE(books.isValid());
    ASSERT_TRUE(software.isValid());
    EXPECT_NE(books, software);
    EXPECT_EQ(books.getQualifiedName(), "library.Library");
    EXPECT_EQ(software.getQualifiedName(), "library.Library");
    // The plain qualified name no longer says which one is meant.
    EXPECT_FALSE(findClass("library.Library").isValid());
    EXPECT_FALSE(findClass("{urn:example:nowhere}Library").isValid());

    // Each file's own qualified names meant its own classes, although the other "library" was
    // registered; the URI form reached into the other meta-model.
    EXPECT_EQ(books.getProperty("books").getType(), findClass("{" + kBooks + "}Book"));
    EXPECT_EQ(software.getProperty("modules").getType(), findClass("{" + kSoftware + "}Module"));
    EXPECT_EQ(findClass("{" + kSoftware + "}Module").getProperty("manual").getType(),
              findClass("{" + kBooks + "}Book"));
}

TEST_F(SharedNamesTest, AClassNamedLikeAPrimitiveTypeIsATypeByItsQualifiedName) {
    const ImmutableClass record = findClass("values.Record");
    const ImmutableClass text = findClass("values.String");
    ASSERT_TRUE(text.isValid());
    struct Case {
        const char* property;
        ImmutableType type;
    } cases[] = {
        {"label", DomainRegistry::instance().findType("VELD.String")}, // the simple name
        {"title", text},                                               // the qualified name
        {"subtitles", text},                                           // the URI form
        {"shownTitle", text},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.property);
        EXPECT_EQ(record.getProperty(c.property).getType(), c.type);
    }
    // The class is a class to the model too: a title object holds its own text.
    Model model = DomainRegistry::instance().createModel("urn:example:values");
    commit(model, [&] {
        ClassObject title = model.getFactory().create(text);
        title.setString(text.getProperty("text"), "Dune");
        model.getRootObject().setObject(record.getProperty("title"), title);
        model.getRootObject().setObject(record.getProperty("shownTitle"), title);
    });
    Model copy = readModel(writeModel(model), "values model");
    EXPECT_TRUE(sameModel(model, copy));
    EXPECT_EQ(copy.getRootObject()
                  .getObject(record.getProperty("title"))
                  .getString(text.getProperty("text")),
              "Dune");
}

TEST_F(SharedNamesTest, AModelHoldingBothLibrariesWritesTheUriAndReadsBack) {
    const ImmutableClass software = findClass("{" + kSoftware + "}Library");
    const ImmutableClass books = findClass("{" + kBooks + "}Library");
    const ImmutableClass book = findClass("{" + kBooks + "}Book");
    const ImmutableClass module = findClass("{" + kSoftware + "}Module");
    Model model = DomainRegistry::instance().createModel(kSoftware);
    commit(model, [&] {
        FactoryObject factory = model.getFactory();
        ClassObject docs = factory.create(books);
        ClassObject guide = factory.create(book);
        guide.setString(book.getProperty("title"), "Guide");
        docs.add(books.getProperty("books"), guide);
        model.getRootObject().setObject(software.getProperty("documentation"), docs);
        ClassObject core = factory.createFromString("Module"); // the model's own meta-model first
        core.setObject(module.getProperty("manual"), guide);
        model.getRootObject().add(software.getProperty("modules"), core);
    });
    const std::string text = writeModel(model);
    EXPECT_NE(text.find("class=\"{" + kBooks + "}Book\""), std::string::npos) << text;
    EXPECT_NE(text.find("class=\"{" + kSoftware + "}Module\""), std::string::npos) << text;
    Model copy = readModel(text, "both libraries");
    EXPECT_TRUE(sameModel(model, copy));

    // A model of one library alone keeps the plain names, and they read back although another
    // "library" is registered: the file's own meta-models come first.
    Model lending = DomainRegistry::instance().createModel(kBooks);
    const std::string plain = writeModel(lending);
    EXPECT_NE(plain.find("class=\"library.Library\""), std::string::npos) << plain;
    EXPECT_TRUE(sameModel(lending, readModel(plain, "lending library")));
}

struct Refused {
    const char* name;
    std::string text;
    const char* expected; // part of the message
};

void PrintTo(const Refused& r, std::ostream* out) {
    *out << r.name;
}

std::string metaFile(const std::string& package, const std::string& uri, const std::string& body) {
    return "<?xml version=\"1.0\"?>\n<veld-metamodel version=\"1\" name=\"" + package +
           "\" uri=\"" + uri + "\">\n" + body + "</veld-metamodel>\n";
}

class SharedNamesRefusedTest : public SharedNamesTest,
                               public testing::WithParamInterface<Refused> {};

TEST_P(SharedNamesRefusedTest, IsRefusedWithAMessageAndRegistersNothing) {
    const Refused& r = GetParam();
    const std::size_t uriAt = r.text.find("uri=\"") + 5;
    const std::string uri = r.text.substr(uriAt, r.text.find('"', uriAt) - uriAt);
    try {
        if (r.text.find("<veld-model") != std::string::npos)
            readModel(r.text, "bad");
        else
            readMetaModel(r.text, "bad");
        FAIL() << "accepted";
    } catch (const FileError& e) {
        EXPECT_NE(e.message().find(r.expected), std::string::npos) << e.what();
    }
    if (r.text.find("<veld-metamodel") != std::string::npos) {
        EXPECT_FALSE(DomainRegistry::instance().isRegistered(uri));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, SharedNamesRefusedTest,
    testing::Values(
        Refused{"AnAmbiguousTypeNamesTheUrisToChooseFrom",
                metaFile("shop", "test:shared-1",
                         "<class name=\"A\">\n<property name=\"b\" type=\"library.Library\"/>\n"
                         "</class>\n"),
                "write one of '{http://example.org/books/library}Library', "
                "'{urn:example:software:library}Library'"},
        Refused{"AnAmbiguousSuperclass",
                metaFile("shop", "test:shared-2",
                         "<class name=\"A\" superClasses=\"library.Library\"/>\n"),
                "is ambiguous"},
        Refused{"AnUnknownUri",
                metaFile("shop", "test:shared-3",
                         "<class name=\"A\">\n<property name=\"b\" type=\"{urn:nope}Book\"/>\n"
                         "</class>\n"),
                "unknown type '{urn:nope}Book'"},
        Refused{"TheKernelsOwnName", metaFile("VELD", "test:shared-4", ""), "the kernel's own"},
        Refused{"BracesInAName", metaFile("shop", "test:shared-5", "<class name=\"{A}\"/>\n"),
                "invalid class name"},
        Refused{"AModelClassNameThatTwoDeclaredMetaModelsShare",
                "<?xml version=\"1.0\"?>\n<veld-model version=\"1\" "
                "metamodel=\"urn:example:software:library\">\n"
                "<uses uri=\"http://example.org/books/library\"/>\n"
                "<object id=\"1\" class=\"library.Library\">\n"
                "<object property=\"documentation\" id=\"2\" class=\"library.Library\"/>\n"
                "</object>\n</veld-model>\n",
                "'library.Library' is ambiguous"}),
    [](const testing::TestParamInfo<Refused>& info) { return info.param.name; });

} // namespace
