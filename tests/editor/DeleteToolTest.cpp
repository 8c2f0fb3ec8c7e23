#include "tests/editor/CreationTools.hpp"

namespace KITE::Test {

namespace {

struct DeleteCase {
    const char* name;
    std::vector<const char*> selected; // of "a", "inner", "b", "ab", "s"
    std::vector<const char*> left;     // what stays in the model's root, in diagram order
};

class DeleteToolTest : public CreationToolsTest, public ::testing::WithParamInterface<DeleteCase> {
protected:
    DiagramElement byName(const std::string& name) const {
        if (name == "a")
            return asElement(blocks.a);
        if (name == "inner")
            return asElement(blocks.inner);
        if (name == "b")
            return asElement(blocks.b);
        if (name == "ab")
            return asElement(blocks.ab);
        return asElement(sink);
    }
    std::vector<std::string> namesIn(const VELD::Model& model) const {
        std::vector<std::string> names;
        for (const char* name : {"a", "inner", "b", "ab", "s"})
            if (inRoot(byName(name)).asDeviant(model).isValid())
                names.push_back(name);
        return names;
    }
    void selectNamed(const std::vector<const char*>& names) {
        for (const char* name : names)
            editor->select(inCopy(byName(name)));
    }
};

} // namespace

TEST_P(DeleteToolTest, DeletesTheSelectionWithItsEdgesAndContentsInOneUndoableStep) {
    const DeleteCase& c = GetParam();
    const TAVI::Holder<BlockDeleteTool> tool = push<BlockDeleteTool>();
    selectNamed(c.selected);
    const auto picture = glyphPicture();
    const int levels = root().getUndoStackLength();
    KiteTest::ChangeRecorder changes(root());

    EXPECT_TRUE(gestures().key(ZEPH::Key_Delete)) << "the Delete key is consumed";

    std::vector<std::string> expected(c.left.begin(), c.left.end());
    EXPECT_EQ(namesIn(root()), expected);
    EXPECT_EQ(namesIn(workingCopy()), expected) << "the working copy follows the root";
    const int removed = 5 - int(expected.size());
    if (removed == 0) {
        EXPECT_EQ(changes.count(), 0u) << "nothing to delete records nothing";
        EXPECT_EQ(root().getUndoStackLength(), levels);
    } else {
        ASSERT_EQ(changes.count(), 1u);
        EXPECT_EQ(changes.reports[0].removed, removed);
        EXPECT_EQ(root().getUndoStackLength(), levels + 1);
    }
    EXPECT_EQ(editor->getGraphics()->getGlyphs().size(), picture.size() - removed);
    EXPECT_TRUE(editor->getSelection().empty());

    if (removed == 0)
        return;
    undo();
    EXPECT_EQ(namesIn(root()), (std::vector<std::string>{"a", "inner", "b", "ab", "s"}));
    EXPECT_EQ(glyphPicture(), picture) << "undo brings every glyph back where it was";
    redo();
    EXPECT_EQ(namesIn(root()), expected);
    EXPECT_EQ(editor->getGraphics()->getGlyphs().size(), picture.size() - removed);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, DeleteToolTest,
    ::testing::Values(DeleteCase{"Nothing", {}, {"a", "inner", "b", "ab", "s"}},
                      DeleteCase{"ANodeTakesItsEdgesAndContents", {"a"}, {"b", "s"}},
                      DeleteCase{"AnEdgeLeavesItsEnds", {"ab"}, {"a", "inner", "b", "s"}},
                      DeleteCase{
                          "AContainerAndItsChildDeleteTheChildOnce", {"a", "inner"}, {"b", "s"}},
                      DeleteCase{"AnEdgeBetweenTwoDeletedNodesGoesOnce", {"a", "b"}, {"s"}},
                      DeleteCase{"AChildAlone", {"inner"}, {"a", "b", "ab", "s"}},
                      DeleteCase{"EverythingAtOnce", {"ab", "s", "b", "a", "inner"}, {}}),
    [](const ::testing::TestParamInfo<DeleteCase>& info) { return std::string(info.param.name); });

TEST_F(CreationToolsTest, OnlyTheDeleteKeyDeletes) {
    const TAVI::Holder<BlockDeleteTool> tool = push<BlockDeleteTool>();
    editor->select(inCopy(blocks.a));
    KiteTest::ChangeRecorder changes(root());
    for (int code : {int(Qt::Key_Backspace), int(Qt::Key_D), int(ZEPH::Key_Return)}) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(gestures().key(code)) << "other keys go on to the tools below";
    }
    EXPECT_EQ(changes.count(), 0u);
    EXPECT_TRUE(inRoot(blocks.a).isValid());
    EXPECT_FALSE(tool->isDone()) << "the tool stays on the stack";
    EXPECT_TRUE(editor->hasTool(TAVI::Holder<ZEPH::Tool>(tool.get())));
    EXPECT_EQ(tool->getDefaultRole(), TAVI::StringID("Delete"));
}

} // namespace KITE::Test
