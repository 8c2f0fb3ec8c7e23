#include "platform/datamodel/Diagram.hpp"
#include "platform/veld/io/MetaModelFile.hpp"
#include "platform/veld/io/ModelFile.hpp"
#include "tests/platform/veld/io/IoTestSupport.hpp"

#include <vector>

using namespace VELD;

namespace {

// The XML blocks of the format's documentation, in order.
std::vector<std::string> documentedExamples() {
    const std::string text = readBytes(std::string(KITE_SOURCE_DIR) + "/docs/model-files.md");
    std::vector<std::string> blocks;
    const std::string open = "```xml\n";
    for (std::size_t at = text.find(open); at != std::string::npos; at = text.find(open, at)) {
        at += open.size();
        const std::size_t end = text.find("```", at);
        blocks.push_back(text.substr(at, end - at));
        at = end;
    }
    return blocks;
}

TEST(DocumentedExamples, TheMetaModelAndModelExamplesLoadAndSurviveARoundTrip) {
    KITE::diagramMetaModel();
    registerDeriveFunction("flow.nextCount", [](const ImmutableClassObject& o) {
        return std::vector<ImmutableObject>{
            ImmutableObject::fromInteger(o.get(o.getMetaClass().getProperty("next")).size())};
    });
    const std::vector<std::string> blocks = documentedExamples();
    ASSERT_EQ(blocks.size(), 2u);
    readMetaModel(blocks[0], "docs meta-model");
    const Model model = readModel(blocks[1], "docs model");
    const auto steps = model.getRootObject().get(model.getMetaModel().getProperty("steps"));
    ASSERT_EQ(steps.size(), 2);
    const ImmutableClassObject take = steps[0].asClassObject();
    EXPECT_EQ(take.getOne("name").toStringValue(), "take");
    EXPECT_EQ(take.getOne("kind").toString(), "Source"); // the default
    EXPECT_EQ(take.get(take.getMetaClass().getProperty("next"))[0].asClassObject(),
              steps[1].asClassObject());
    EXPECT_EQ(steps[1].asClassObject().getOne("code").toStringValue(), "cr\r\nlf");
    EXPECT_EQ(model.getRootObject().getOne("title").toStringValue(), "Orders <2026>");
    EXPECT_TRUE(sameModel(model, readModel(writeModel(model), "again")));
}

TEST(DocumentedExamples, LoadingADirectoryIsAnError) {
    EXPECT_THROW(loadModel(KITE_SOURCE_DIR), FileError);
}

} // namespace
