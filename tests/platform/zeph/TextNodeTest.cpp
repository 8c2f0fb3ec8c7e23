#include "platform/zeph/TextNode.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/zeph/ContainerNode.hpp"
#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/Scene.hpp"
#include "tests/platform/zeph/RecordingTool.hpp"
#include "tests/support/Gestures.hpp"

#include <QApplication>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace ZEPH;
using Point = TAVI::GLPoint<double>;
using Log = std::vector<std::string>;

namespace {

class CommitLog : public NIMB::Listener {
public:
    explicit CommitLog(const TextNode& text) {
        new NIMB::ConnectionImpl1<CommitLog, std::string>(this, text.getEditCommitEmitter(),
                                                          nullptr, &CommitLog::onCommit);
    }
    void onCommit(const std::string& text) { commits.push_back(text); }
    std::vector<std::string> commits;
};

// Sends the key press (and its release) that typing one character makes.
void type(QWidget* target, const QString& characters) {
    for (const QChar c : characters) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

void pressKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

// A scene with a text "Name" at (50, 50) and a tool that logs every event and
// consumes none.
class TextNodeEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        text.setPosition({50, 50});
        scene->addNode(text);
        scene->addTool(probe);
    }
    void TearDown() override { scene->clearToolStack(); }

    Log log;
    TAVI::Holder<Scene> scene = Scene::createScene();
    TextNode text = TextNode::create("Name");
    TAVI::Holder<ZephTest::RecordingTool> probe{new ZephTest::RecordingTool("tool", &log)};
};

TEST_F(TextNodeEditTest, StartEditingOpensAnEditorOverTheTextHoldingIt) {
    EXPECT_FALSE(text.isEditing());
    EXPECT_EQ(text.getEditor(), nullptr);
    EXPECT_FALSE(scene->getEditedText().isValid());

    text.startEditing();
    ASSERT_TRUE(text.isEditing());
    EXPECT_EQ(text.getEditedText(), "Name");
    EXPECT_EQ(scene->getEditedText(), text);
    QWidget* editor = text.getEditor();
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(editor->graphicsProxyWidget(), nullptr);
    const QRectF covered = editor->graphicsProxyWidget()->sceneBoundingRect();
    const TAVI::GLRect<double> b = text.getSceneBounds();
    EXPECT_TRUE(covered.contains(QRectF(b.x, b.y, b.width, b.height)));
    // The editor is no node: hit tests still find the text under it.
    EXPECT_EQ(scene->getNodeAt({b.x + 1, b.y + 1}), text);
    EXPECT_EQ(text.getBounds().width, b.width);
}

// While a text is edited its keys belong to the editor: Enter commits, Escape cancels, and
// the tools hear none of them.
TEST_F(TextNodeEditTest, EnterCommitsEscapeCancelsAndNoKeyReachesTheToolsWhileEditing) {
    CommitLog commits(text);
    text.startEditing();
    // All of the text starts selected, so typing replaces it.
    type(text.getEditor(), "Order");
    EXPECT_EQ(text.getEditedText(), "Order");
    EXPECT_EQ(text.getText(), "Name");
    KeyEvent del(Key_Delete);
    scene->handleKeyPressEvent(del);
    KeyEvent delUp(Key_Delete);
    scene->handleKeyReleaseEvent(delUp);
    EXPECT_TRUE(del.isConsumed());
    EXPECT_TRUE(delUp.isConsumed());
    EXPECT_TRUE(text.isEditing());

    KeyEvent enter(Key_Return);
    scene->handleKeyPressEvent(enter);
    EXPECT_TRUE(enter.isConsumed());
    EXPECT_FALSE(text.isEditing());
    EXPECT_EQ(text.getEditor(), nullptr);
    EXPECT_FALSE(scene->getEditedText().isValid());
    EXPECT_EQ(text.getText(), "Order");
    EXPECT_EQ(commits.commits, (std::vector<std::string>{"Order"}));

    // Committing an unchanged text sends nothing.
    text.startEditing();
    text.commitEditing();
    EXPECT_FALSE(text.isEditing());
    EXPECT_EQ(commits.commits.size(), 1u);

    text.startEditing();
    type(text.getEditor(), "Other");
    KeyEvent escape(Key_Escape);
    scene->handleKeyPressEvent(escape);
    EXPECT_FALSE(text.isEditing());
    EXPECT_EQ(text.getText(), "Order");
    EXPECT_EQ(commits.commits.size(), 1u);
    EXPECT_TRUE(log.empty());

    // Once the edit is over, keys reach the tools again.
    KeyEvent escapeAgain(Key_Escape);
    scene->handleKeyPressEvent(escapeAgain);
    EXPECT_EQ(log, (Log{"tool:keyPress"}));
}

TEST_F(TextNodeEditTest, APressCommitsBeforeTheToolsGetIt) {
    CommitLog commits(text);
    std::string textWhenToolPressed;
    probe->onEvent = [&](const std::string& what, Event&) {
        if (what == "press")
            textWhenToolPressed = text.getText() + (text.isEditing() ? " (editing)" : "");
    };
    text.startEditing();
    type(text.getEditor(), "Clicked away");
    MouseEvent press({500, 500}, LeftButton, LeftButton);
    scene->handleMousePressEvent(press);
    EXPECT_EQ(textWhenToolPressed, "Clicked away");
    EXPECT_EQ(commits.commits, (std::vector<std::string>{"Clicked away"}));
}

TEST_F(TextNodeEditTest, DoubleClickEditsOnlyEditableTextsNoToolConsumed) {
    const TAVI::GLRect<double> b = text.getSceneBounds();
    const Point inside{b.x + b.width / 2, b.y + b.height / 2};
    MouseEvent first(inside, LeftButton, LeftButton);
    scene->handleMouseDoubleClickEvent(first);
    EXPECT_FALSE(text.isEditing());
    EXPECT_FALSE(first.isConsumed());

    text.setEditable(true);
    EXPECT_TRUE(text.isEditable());
    probe->consumes = {"double"};
    MouseEvent taken(inside, LeftButton, LeftButton);
    scene->handleMouseDoubleClickEvent(taken);
    EXPECT_FALSE(text.isEditing());

    probe->consumes.clear();
    MouseEvent right(inside, RightButton, RightButton);
    scene->handleMouseDoubleClickEvent(right);
    EXPECT_FALSE(text.isEditing());
    MouseEvent second(inside, LeftButton, LeftButton);
    scene->handleMouseDoubleClickEvent(second);
    EXPECT_TRUE(second.isConsumed());
    EXPECT_TRUE(text.isEditing());
}

// Runs an action when a text's edit is committed.
class OnCommit : public NIMB::Listener {
public:
    OnCommit(const TextNode& text, std::function<void()> action) : action(std::move(action)) {
        new NIMB::ConnectionImpl1<OnCommit, std::string>(this, text.getEditCommitEmitter(), nullptr,
                                                         &OnCommit::onCommit);
    }
    void onCommit(const std::string&) { action(); }
    std::function<void()> action;
};

// The proxies of line editors in the scene.
int editorsIn(const Scene& scene) {
    int editors = 0;
    for (QGraphicsItem* item : scene.qtScene()->items())
        editors += item->isWidget() ? 1 : 0;
    return editors;
}

// Starting another edit commits the first; the commit's listener may even remove the text
// whose edit ended it, or start editing it already.
TEST_F(TextNodeEditTest, StartingAnotherEditCommitsTheFirstWhateverItsListenerDoes) {
    TextNode other = TextNode::create("Other");
    other.setPosition({50, 150});
    scene->addNode(other);
    {
        CommitLog commits(text);
        text.startEditing();
        type(text.getEditor(), "Zero");
        other.startEditing();
        EXPECT_FALSE(text.isEditing());
        EXPECT_TRUE(other.isEditing());
        EXPECT_EQ(scene->getEditedText(), other);
        EXPECT_EQ(text.getText(), "Zero");
        EXPECT_EQ(commits.commits, (std::vector<std::string>{"Zero"}));
        other.cancelEditing();
    }

    // The first edit's commit removes the text whose edit ended it.
    {
        OnCommit remove(text, [&] { other.remove(); });
        text.startEditing();
        type(text.getEditor(), "First");
        other.startEditing();
        EXPECT_FALSE(other.isValid());
        EXPECT_FALSE(scene->getEditedText().isValid());
        EXPECT_EQ(text.getText(), "First");
    }

    // Or starts editing it already: one editor, not two.
    other = TextNode::create("Other");
    scene->addNode(other);
    OnCommit start(text, [&] { other.startEditing(); });
    text.startEditing();
    type(text.getEditor(), "Second");
    other.startEditing();
    EXPECT_TRUE(other.isEditing());
    EXPECT_EQ(scene->getEditedText(), other);
    EXPECT_EQ(editorsIn(*scene), 1);
    other.cancelEditing();
    EXPECT_EQ(editorsIn(*scene), 0);
}

// An editor nobody sees must not swallow the keys meant for the tools.
TEST_F(TextNodeEditTest, HidingTheTextOrWhatHoldsItCommitsTheEditAndHiddenTextsAreNotEdited) {
    CommitLog commits(text);
    text.startEditing();
    type(text.getEditor(), "Seen");
    text.setVisible(false);
    EXPECT_FALSE(text.isEditing());
    EXPECT_EQ(editorsIn(*scene), 0);
    EXPECT_EQ(text.getText(), "Seen");
    EXPECT_EQ(commits.commits, (std::vector<std::string>{"Seen"}));
    KeyEvent del(Key_Delete);
    scene->handleKeyPressEvent(del);
    EXPECT_EQ(log, (Log{"tool:keyPress"}));

    text.setVisible(true);
    ContainerNode group = ContainerNode::create();
    scene->addNode(group);
    text.setParent(group);
    text.startEditing();
    ASSERT_TRUE(text.isEditing());
    group.setVisible(false);
    EXPECT_FALSE(text.isEditing());

    // Moved into a hidden container.
    ContainerNode hidden = ContainerNode::create();
    scene->addNode(hidden);
    hidden.setVisible(false);
    group.setVisible(true);
    text.startEditing();
    ASSERT_TRUE(text.isEditing());
    text.setParent(hidden);
    EXPECT_FALSE(text.isEditing());
    EXPECT_EQ(editorsIn(*scene), 0);
    EXPECT_FALSE(scene->getEditedText().isValid());

    // A hidden text, or one outside a scene, is not edited; removal ends an edit.
    text.startEditing();
    EXPECT_FALSE(text.isEditing());
    TextNode free = TextNode::create("free");
    free.startEditing();
    EXPECT_FALSE(free.isEditing());
    text.setParent(group);
    text.startEditing();
    ASSERT_TRUE(text.isEditing());
    text.remove();
    EXPECT_FALSE(text.isEditing());
    EXPECT_EQ(text.getEditor(), nullptr);
    EXPECT_FALSE(scene->getEditedText().isValid());
    log.clear();
    KeyEvent enter(Key_Return);
    scene->handleKeyPressEvent(enter);
    EXPECT_EQ(log, (Log{"tool:keyPress"}));
}

TEST_F(TextNodeEditTest, OnACanvasADoubleClickOpensTheEditorAndTypedKeysFillIt) {
    text.setEditable(true);
    CommitLog commits(text);
    GLCanvas canvas;
    canvas.resize(400, 300);
    canvas.setScene(scene);
    canvas.show();
    canvas.showSceneRect({50, 50, 0, 0});
    QApplication::processEvents();

    const TAVI::GLRect<double> b = text.getSceneBounds();
    KiteTest::CanvasGestures(canvas).doubleClick(b.x + b.width / 2, b.y + b.height / 2);
    ASSERT_TRUE(text.isEditing());

    log.clear();
    type(&canvas, "Total");
    EXPECT_EQ(text.getEditedText(), "Total");
    pressKey(&canvas, Qt::Key_Return);
    EXPECT_FALSE(text.isEditing());
    EXPECT_EQ(text.getText(), "Total");
    EXPECT_EQ(commits.commits, (std::vector<std::string>{"Total"}));
    EXPECT_TRUE(log.empty());

    text.startEditing();
    type(&canvas, "Dropped");
    pressKey(&canvas, Qt::Key_Escape);
    EXPECT_FALSE(text.isEditing());
    EXPECT_EQ(text.getText(), "Total");
    EXPECT_EQ(commits.commits.size(), 1u);
    canvas.setScene({});
}

} // namespace
