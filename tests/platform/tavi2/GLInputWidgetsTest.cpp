#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLComboBox2.hpp"
#include "platform/tavi2/GLDialog2.hpp"
#include "platform/tavi2/GLEdit2.hpp"
#include "platform/tavi2/GLEditArea2.hpp"
#include "platform/tavi2/GLImage2.hpp"
#include "platform/tavi2/GLPanel2.hpp"
#include "platform/tavi2/GLText2.hpp"
#include "tests/platform/tavi2/EventRecorder.hpp"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

using namespace TAVI;
using KiteTest::EventRecorder;

namespace {

std::string imageFile(const char* name) {
    return std::string(KITE_SOURCE_DIR) + "/tests/platform/tavi2/data/" + name;
}

// (type, text, index) of each event, in order.
std::vector<std::tuple<int, std::string, int>>
summary(const EventRecorder<GLEditEvent2>& recorder) {
    std::vector<std::tuple<int, std::string, int>> result;
    for (const GLEditEvent2& event : recorder.events)
        result.emplace_back(int(event.type()), event.text(), event.index());
    return result;
}

} // namespace

TEST(GLComboBox2Test, ItemsCurrentIndexAndItsSignals) {
    GLComboBox2 combo("qt");
    EventRecorder<GLEditEvent2> events(combo.getEditEmitter());
    combo.addItem("Left");
    combo.addItem("Right");
    combo.insertItem(1, "Centre");
    EXPECT_EQ(combo.getCount(), 3);
    EXPECT_EQ(combo.getItemText(1), "Centre");
    EXPECT_EQ(combo.findText("Right"), 2);
    EXPECT_EQ(combo.findText("right"), -1);

    combo.setCurrentIndex(2);
    combo.setCurrentIndex(2); // unchanged: no event
    EXPECT_EQ(combo.getCurrentText(), "Right");
    // The first item became current when it was added.
    EXPECT_EQ(summary(events),
              (std::vector<std::tuple<int, std::string, int>>{
                  {GLEditEvent2::Changed, "Left", 0}, {GLEditEvent2::Changed, "Right", 2}}));

    // A user's choice is Finished, after the change.
    events.events.clear();
    Q_EMIT static_cast<QComboBox*>(combo.getQWidget())->activated(2);
    EXPECT_EQ(summary(events), (std::vector<std::tuple<int, std::string, int>>{
                                   {GLEditEvent2::Finished, "Right", 2}}));

    EXPECT_THROW(combo.setCurrentIndex(3), TypedException);
    EXPECT_THROW(combo.setCurrentIndex(-2), TypedException);
    EXPECT_THROW(combo.removeItem(3), TypedException);
    EXPECT_THROW(combo.insertItem(5, "x"), TypedException);
    combo.setCurrentIndex(-1);
    EXPECT_EQ(combo.getCurrentIndex(), -1);
    EXPECT_EQ(combo.getCurrentText(), "");
}

TEST(GLEdit2Test, TextChangesAndReturnFinishes) {
    GLEdit2 edit("qt");
    edit.show();
    EventRecorder<GLEditEvent2> events(edit.getEditEmitter());
    edit.setText("Gain");
    edit.setText("Gain");
    auto* field = static_cast<QLineEdit*>(edit.getQWidget());
    QKeyEvent key(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier, "2");
    QApplication::sendEvent(field, &key);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
    EXPECT_EQ(summary(events), (std::vector<std::tuple<int, std::string, int>>{
                                   {GLEditEvent2::Changed, "Gain", -1},
                                   {GLEditEvent2::Changed, "Gain2", -1},
                                   {GLEditEvent2::Finished, "Gain2", -1}}));
    edit.setReadOnly(true);
    QApplication::sendEvent(field, &key);
    EXPECT_EQ(edit.getText(), "Gain2");
}

TEST(GLEditArea2Test, LinesChangesAndFinishOnFocusLoss) {
    GLEditArea2 area("qt");
    EventRecorder<GLEditEvent2> events(area.getEditEmitter());
    area.setText("one");
    area.appendText("two");
    area.setText("one\ntwo"); // the same text: nothing happens
    EXPECT_EQ(area.getText(), "one\ntwo");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events.events[1].text(), "one\ntwo");

    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(area.getQWidget(), &out);
    QApplication::sendEvent(area.getQWidget(), &out); // no change since: no second Finished
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events.events[2].type(), GLEditEvent2::Finished);
}

TEST(GLText2Test, PlainTextUnlessRichIsAskedFor) {
    GLText2 text("qt", "<b>Block</b>");
    auto* label = static_cast<QLabel*>(text.getQWidget());
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(text.getText(), "<b>Block</b>");
    text.setRichText(true);
    EXPECT_EQ(label->textFormat(), Qt::RichText);
}

TEST(GLImage2Test, SetFileShowsReadableImagesOnly) {
    GLImage2 image("qt");
    EXPECT_TRUE(image.setFile(imageFile("blue.png")));
    EXPECT_EQ(image.getFile(), imageFile("blue.png"));
    EXPECT_EQ(image.getImageSize(), (Size{32, 24}));

    // An unreadable file clears the image rather than leaving the old one up.
    EXPECT_FALSE(image.setFile(imageFile("missing.png")));
    EXPECT_EQ(image.getFile(), "");
    EXPECT_EQ(image.getImageSize(), Size{});
    EXPECT_FALSE(
        image.setFile(std::string(KITE_SOURCE_DIR) + "/tests/platform/tavi2/CMakeLists.txt"));
    EXPECT_FALSE(image.setFile(""));
}

TEST(GLDialog2Test, AcceptRejectAndExecReportTheirResult) {
    GLPanel2 owner("qt");
    auto* dialog = new GLDialog2("qt", &owner);
    EXPECT_TRUE(dialog->getQWidget()->isWindow());
    EventRecorder<int> finished(dialog->getFinishEmitter());

    dialog->show();
    dialog->accept();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->getResult(), GLDialog2::Accepted);

    QTimer::singleShot(0, dialog->getQWidget(), [dialog]() { dialog->reject(); });
    EXPECT_EQ(dialog->exec(), GLDialog2::Rejected);
    EXPECT_EQ(finished.events, (std::vector<int>{GLDialog2::Accepted, GLDialog2::Rejected}));
}
