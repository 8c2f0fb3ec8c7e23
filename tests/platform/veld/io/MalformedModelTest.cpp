#include "platform/veld/io/ModelFile.hpp"
#include "tests/platform/veld/SampleMetaModel.hpp"
#include "tests/platform/veld/io/IoTestSupport.hpp"

#include <unistd.h>

using namespace VELD;

namespace {

struct Bad {
    const char* name;
    std::string text;
    const char* expected; // part of the message
    int line;             // 0: any
};

void PrintTo(const Bad& bad, std::ostream* out) {
    *out << bad.name;
}

std::string doc(const std::string& body, const std::string& head = "") {
    return "<?xml version=\"1.0\"?>\n<veld-model version=\"1\" metamodel=\"test:io\">" + head +
           "\n<object id=\"1\" class=\"io.Doc\">\n" + body + "\n</object>\n</veld-model>\n";
}

class MalformedModelTest : public testing::TestWithParam<Bad> {
protected:
    void SetUp() override {
        IoMeta::get();
        Sample::get();
    }
};

TEST_P(MalformedModelTest, FailsWithTheFileThePlaceAndTheReason) {
    const Bad& bad = GetParam();
    try {
        Model model = readModel(bad.text, "bad.veld");
        FAIL() << "loaded a model from a malformed file";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), "bad.veld");
        EXPECT_NE(e.message().find(bad.expected), std::string::npos) << e.what();
        EXPECT_GT(e.line(), 0) << e.what();
        if (bad.line) {
            EXPECT_EQ(e.line(), bad.line) << e.what();
        }
        EXPECT_EQ(std::string(e.what()).rfind("bad.veld:" + std::to_string(e.line()) + ":", 0), 0u)
            << e.what();
    }
}

const std::string kGood =
    doc("<object property=\"items\" id=\"2\" class=\"io.Item\"><value property=\"label\">a</value>"
        "<ref property=\"next\" to=\"3\"/></object>\n"
        "<object property=\"items\" id=\"3\" class=\"io.Item\"/>");

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedModelTest,
    testing::Values(
        Bad{"NotXml", "this is not XML at all", "not", 1}, Bad{"Empty", "", "ends too early", 0},
        Bad{"Truncated", kGood.substr(0, kGood.size() / 2), "ends too early", 0},
        Bad{"UnclosedRoot", kGood.substr(0, kGood.rfind("</veld-model>")), "ends too early", 0},
        Bad{"WrongRoot", "<model/>", "not a model file", 1},
        Bad{"UnknownMetaModel",
            "<veld-model version=\"1\" metamodel=\"test:nope\"><object id=\"1\" "
            "class=\"io.Doc\"/></veld-model>",
            "unknown meta-model URI 'test:nope'", 1},
        Bad{"UnknownUses", doc("", "<uses uri=\"test:nope\"/>"),
            "unknown meta-model URI 'test:nope'", 2},
        Bad{"NoVersion", "<veld-model metamodel=\"test:io\"/>", "version", 1},
        Bad{"FutureVersion", "<veld-model version=\"2\" metamodel=\"test:io\"/>", "unsupported", 1},
        Bad{"NoRootObject", "<veld-model version=\"1\" metamodel=\"test:io\"></veld-model>",
            "one root <object>", 1},
        Bad{"TwoRootObjects",
            "<veld-model version=\"1\" metamodel=\"test:io\"><object id=\"1\" class=\"io.Doc\"/>\n"
            "<object id=\"2\" class=\"io.Doc\"/></veld-model>",
            "one root <object>", 2},
        Bad{"WrongRootClass",
            "<veld-model version=\"1\" metamodel=\"test:io\"><object id=\"1\" "
            "class=\"io.Item\"/></veld-model>",
            "not a 'io.Item'", 1},
        Bad{"UnknownClass", doc("<object property=\"items\" id=\"2\" class=\"io.Nope\"/>"),
            "unknown class 'io.Nope'", 4},
        Bad{"AbstractClass",
            doc("<object property=\"diagrams\" id=\"2\" class=\"KITE.GraphElement\"/>",
                "<uses uri=\"kite:datamodel\"/>"),
            "abstract", 4},
        Bad{"UndeclaredMetaModel",
            doc("<object property=\"diagrams\" id=\"2\" class=\"KITE.Diagram\"/>"), "<uses>", 4},
        Bad{"WrongClassForContainment",
            doc("<object property=\"items\" id=\"2\" class=\"io.Box\"/>"), "is not a 'io.Item'", 4},
        Bad{"UnknownProperty", doc("<value property=\"colour\">x</value>"),
            "has no property 'colour'", 4},
        Bad{"UnknownElement", doc("<thing/>"), "unknown element <thing>", 4},
        Bad{"UnknownAttribute", doc("<value property=\"title\" lang=\"en\">x</value>"),
            "unknown attribute 'lang'", 4},
        Bad{"ValueDoesNotConvert",
            doc("<object property=\"items\" id=\"2\" class=\"io.Item\">\n<value "
                "property=\"weight\">1.5kg</value></object>"),
            "1.5kg", 5},
        Bad{"IntegerOverflow",
            doc("<object property=\"items\" id=\"2\" class=\"io.Item\">\n<value "
                "property=\"count\">99999999999999999999</value></object>"),
            "", 5},
        Bad{"UnknownLiteral",
            doc("<object property=\"items\" id=\"2\" class=\"io.Item\">\n<value "
                "property=\"mood\">Sad</value></object>"),
            "Sad", 5},
        Bad{"BadBase64", doc("<value property=\"title\" encoding=\"base64\">@@@</value>"), "base64",
            4},
        Bad{"UnknownEncoding", doc("<value property=\"title\" encoding=\"rot13\">x</value>"),
            "rot13", 4},
        Bad{"ValueWithElements", doc("<value property=\"title\">a<b/>c</value>"), "text only", 4},
        Bad{"DerivedGiven",
            "<veld-model version=\"1\" metamodel=\"test:lib\"><object id=\"1\" "
            "class=\"lib.System\">\n"
            "<object property=\"blocks\" id=\"2\" class=\"lib.Block\"><value "
            "property=\"childCount\">3</value>"
            "</object></object></veld-model>",
            "derived", 2},
        Bad{"DuplicateId",
            doc("<object property=\"items\" id=\"2\" class=\"io.Item\"/>\n<object "
                "property=\"items\" id=\"2\" class=\"io.Item\"/>"),
            "duplicate id 2", 5},
        Bad{"RootIdReused", doc("<object property=\"items\" id=\"1\" class=\"io.Item\"/>"),
            "duplicate id 1", 4},
        Bad{"BadId", doc("<object property=\"items\" id=\"x1\" class=\"io.Item\"/>"), "not an id",
            4},
        Bad{"ZeroId", doc("<object property=\"items\" id=\"0\" class=\"io.Item\"/>"), "not an id",
            4},
        Bad{"IdAtTheLimit", doc("<object property=\"items\" id=\"4294967295\" class=\"io.Item\"/>"),
            "not an id", 4},
        Bad{"FarIdGivenAgainAfterManyObjects",
            [] {
                // Far ids are kept apart from the dense ones until enough objects came.
                const std::string far =
                    "<object property=\"items\" id=\"5000\" class=\"io.Item\"/>";
                std::string body = far;
                for (int id = 2; id < 600; ++id)
                    body += "<object property=\"items\" id=\"" + std::to_string(id) +
                            "\" class=\"io.Item\"/>";
                return doc(body + far);
            }(),
            "duplicate id 5000", 0},
        Bad{"MissingId", doc("<object property=\"items\" class=\"io.Item\"/>"),
            "needs the attribute 'id'", 4},
        Bad{"MissingReferenceTarget",
            doc("<object property=\"items\" id=\"2\" class=\"io.Item\">\n<ref property=\"next\" "
                "to=\"99\"/></object>"),
            "no object has id 99", 5},
        Bad{"ReferenceToWrongClass",
            doc("<object property=\"items\" id=\"2\" class=\"io.Item\">\n<ref property=\"next\" "
                "to=\"1\"/></object>"),
            "is not a 'io.Item'", 5},
        Bad{"ContainmentCycle",
            doc("<object property=\"items\" id=\"2\" class=\"io.Item\">\n<ref property=\"parts\" "
                "to=\"2\"/></object>"),
            "is a containment", 5},
        Bad{"ObjectNestedInReference",
            doc("<object property=\"favourite\" id=\"2\" class=\"io.Item\"/>"), "not a containment",
            4},
        Bad{"ValueForReference", doc("<value property=\"favourite\">2</value>"), "use <ref>", 4},
        Bad{"RefForValue", doc("<ref property=\"title\" to=\"1\"/>"), "use <value>", 4},
        Bad{"SingleContainmentTwice",
            doc("<object property=\"items\" id=\"2\" class=\"io.Item\">\n<object "
                "property=\"spare\" id=\"3\" class=\"io.Item\"/>\n"
                "<object property=\"spare\" id=\"4\" class=\"io.Item\"/></object>"),
            "given twice", 6},
        Bad{"SingleReferenceTwice",
            doc("<object property=\"items\" id=\"2\" class=\"io.Item\">\n<ref property=\"next\" "
                "to=\"2\"/>\n"
                "<ref property=\"next\" to=\"2\"/></object>"),
            "given twice", 6},
        Bad{"SingleValueTwice",
            doc("<value property=\"title\">a</value>\n<value property=\"title\">b</value>"),
            "given twice", 5},
        Bad{"DocumentType",
            "<!DOCTYPE veld-model [<!ENTITY x \"y\">]>\n" +
                doc("<value property=\"title\">&x;</value>"),
            "document type", 1},
        Bad{"TrailingContent", kGood + "<more/>", "", 0},
        Bad{"StrayText", doc("stray words"), "unexpected text", 0},
        Bad{"TooDeep",
            [] {
                // The root, an item and its parts: one level more than a file may nest.
                std::string body = "<object property=\"items\" id=\"2\" class=\"io.Item\">";
                for (int i = 0; i < 9999; ++i)
                    body += "<object property=\"parts\" id=\"" + std::to_string(i + 3) +
                            "\" class=\"io.Item\">";
                for (int i = 0; i < 10000; ++i)
                    body += "</object>";
                return doc(body);
            }(),
            "nest deeper", 0}),
    [](const testing::TestParamInfo<Bad>& info) { return std::string(info.param.name); });

TEST(MalformedModel, AGoodFileOfTheSameShapeLoads) {
    IoMeta::get();
    Model model = readModel(kGood, "good.veld");
    const auto items = model.getRootObject().get(IoMeta::get().items);
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0].asClassObject().getObject(IoMeta::get().next), items[1].asClassObject());
}

TEST(MalformedModel, AFolderIsAnErrorNamingIt) {
    char tmpl[] = "/tmp/veld-folder-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    try {
        loadModel(dir);
        ADD_FAILURE() << "a folder loaded as a model";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), dir);
        EXPECT_EQ(e.message().rfind("cannot ", 0), 0u) << e.what();
    }
    rmdir(dir.c_str());
}

TEST(MalformedModel, AMissingFileIsAnErrorNamingIt) {
    try {
        loadModel("/nonexistent/dir/model.veld");
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), "/nonexistent/dir/model.veld");
        EXPECT_NE(e.message().find("cannot open"), std::string::npos);
    }
}

} // namespace
