#include "editor/Editor.hpp"
#include "editor/Graphics.hpp"
#include "examples/blocks/BlockGlyph.hpp"
#include "examples/kite_studio/ProgramCommand.hpp"
#include "examples/kite_studio/ProgramOptions.hpp"
#include "examples/kite_studio/StudioProgram.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/nimb/Thread.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/tavi2/GLEdit2.hpp"
#include "platform/tavi2/GLTreeView2.hpp"
#include "platform/tavi2/GLWidget2.hpp"
#include "platform/veld/Asserter.hpp"
#include "platform/veld/io/ModelFile.hpp"
#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/Scene.hpp"
#include "studio/StudioApp.hpp"
#include "studio/components/GenericVELDTreeComponentDelegate.hpp"
#include "studio/components/PropBrowserComponent.hpp"
#include "studio/components/PropBrowserEditor.hpp"
#include "studio/components/PropBrowserViewModel.hpp"
#include "studio/components/TreeComponent.hpp"
#include "studio/components/TreeViewModel.hpp"
#include "studio/components/propwidgets/NumericTextBox.hpp"
#include "studio/components/propwidgets/TextEditor.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QSysInfo>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace KiteStudio;
using Point = TAVI::GLPoint<double>;
using Rect = TAVI::GLRect<double>;
namespace fs = std::filesystem;

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Answers the next message box with a click on its button, once the box is up and waiting;
// what it said goes to text.
void answerMessageBox(QMessageBox::StandardButton button, std::string* text = nullptr,
                      int attempts = 100) {
    QTimer::singleShot(10, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (attempts > 0)
                answerMessageBox(button, text, attempts - 1);
            return;
        }
        if (text)
            *text = (box->text() + "\n" + box->informativeText()).toStdString();
        QTest::mouseClick(box->button(button), Qt::LeftButton);
    });
}

// A meta-model that no domain draws: a library of books, no diagrams. Written once per process,
// since a meta-model registers once.
std::string libraryMetaModel() {
    static QTemporaryDir folder;
    const std::string file = folder.filePath("library.veldmeta").toStdString();
    if (!fs::exists(file))
        std::ofstream(file) << R"(<?xml version="1.0" encoding="UTF-8"?>
<veld-metamodel version="1" name="library" uri="test:kite-studio-library" modelClass="Library">
  <class name="Library">
    <property name="name" type="String"/>
    <property name="books" type="Book" composite="true" upper="*"/>
  </class>
  <class name="Book">
    <property name="name" type="String"/>
    <property name="pages" type="Integer"/>
  </class>
</veld-metamodel>
)";
    return file;
}

const char* const kLibraryModel = R"(<?xml version="1.0" encoding="UTF-8"?>
<veld-model version="1" metamodel="test:kite-studio-library">
 <object id="1" class="library.Library">
  <value property="name">town</value>
  <object property="books" id="2" class="library.Book">
   <value property="name">Walden</value><value property="pages">352</value>
  </object>
  <object property="books" id="3" class="library.Book">
   <value property="name">Emma</value><value property="pages">474</value>
  </object>
 </object>
</veld-model>
)";

template <typename T> std::size_t componentsOfType(PLATFORM::Studio* studio) {
    std::size_t count = 0;
    for (PLATFORM::StudioComponentBase* component : studio->getFrameworkService()->getComponents())
        count += dynamic_cast<T*>(component) != nullptr;
    return count;
}

class KiteStudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // Recent files go to this test's own settings.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        file = dir.filePath("plant.veld").toStdString();
        fs::copy_file(StudioProgram::sampleModelFile(), file);
        original = readFile(file);
        program = makeProgram();
    }
    void TearDown() override {
        program.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::unique_ptr<StudioProgram> makeProgram() {
        std::unique_ptr<StudioProgram> made = StudioProgram::create();
        made->setErrorReporter([this](const std::string& text) { errors.push_back(text); });
        made->setFileChooser(
            [this](StudioProgram::FileRequest, const std::string&) { return chosenFile; });
        return made;
    }

    KITE::Editor* editor() const { return program->getEditor(); }
    VELD::Model model() const { return program->getDocument()->getModel(); }

    KITE::GraphNode block(const std::string& name) const {
        std::vector<KITE::DiagramElement> pending;
        for (const KITE::DiagramElement& e :
             editor()->getDiagram().asDeviant(model()).getContained())
            pending.push_back(e);
        while (!pending.empty()) {
            const KITE::GraphNode node(pending.back());
            pending.pop_back();
            if (!node.isValid())
                continue;
            if (Blocks::BlockGlyph::nameOf(node) == name)
                return node;
            for (const KITE::DiagramElement& e : node.getContained())
                pending.push_back(e);
        }
        ADD_FAILURE() << "no block " << name;
        return {};
    }
    Point centre(const std::string& name) const {
        const KITE::GraphNode node = block(name);
        return node.getAbsPosition() + Point{node.getSize().x / 2, node.getSize().y / 2};
    }

    // Real mouse input on the canvas, at the view point that shows the scene point.
    void mouse(QEvent::Type type, const Point& scenePoint, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
        ZEPH::GLCanvas* canvas = editor()->getCanvas();
        const Point v = canvas->scenePointToViewPoint(scenePoint);
        const QPointF at(v.x, v.y);
        QMouseEvent event(type, at, canvas->viewport()->mapToGlobal(at), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(canvas->viewport(), &event);
    }
    void dragOnCanvas(const Point& from, const Point& to) {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, from + (to - from) * 0.5, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    void openAndShow() {
        ASSERT_TRUE(program->openFile(file));
        program->layOut(false);
        ASSERT_NE(editor(), nullptr);
    }
    KITE::TreeComponent* tree() const { return program->getTree(); }
    // Where the block's box is drawn on the canvas.
    Rect box(const std::string& name) const {
        const auto* glyph =
            dynamic_cast<Blocks::BlockGlyph*>(editor()->getGraphics()->getGlyph(block(name)));
        if (!glyph)
            return {};
        const ZEPH::RectNode node = glyph->getBox();
        return node.mapLocalToScene(node.getRect());
    }
    // Right-clicks the object's row in the model tree and chooses the item of the menu that
    // pops up.
    void chooseFromTreeMenu(const VELD::ImmutableClassObject& object, const std::string& item) {
        KITE::TreeViewModel* rows = tree()->getTreeViewModel();
        const unsigned row = rows->getRow(object);
        ASSERT_NE(row, 0u);
        TAVI::GLTreeView2* view = tree()->getTreeView();
        view->scrollTo(row);
        auto* qview = qobject_cast<QAbstractItemView*>(view->getQWidget());
        ASSERT_NE(qview, nullptr);
        QWidget* viewport = qview->viewport();
        std::optional<QPoint> at;
        for (int y = 1; y < viewport->height() && !at; y += 2)
            if (view->getModelCellAt(30, y).rowUID == row)
                at = QPoint(30, y);
        ASSERT_TRUE(at) << "the row is not in view";
        QContextMenuEvent click(QContextMenuEvent::Mouse, *at, viewport->mapToGlobal(*at));
        QApplication::sendEvent(viewport, &click);
        auto* menu = program->getStudio()->getWindow()->findChild<QMenu*>(
            QString::fromStdString(StudioProgram::treeMenuName));
        ASSERT_NE(menu, nullptr) << "no menu popped up";
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions())
            if (action->text().toStdString() == item)
                chosen = action;
        ASSERT_NE(chosen, nullptr) << item;
        chosen->trigger();
        menu->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Opens every row of the tree, new ones too.
    void expandTree() {
        std::vector<VELD::ClassObject> open{VELD::ClassObject(model().getRootObject())};
        while (!open.empty()) {
            const VELD::ClassObject object = open.back();
            open.pop_back();
            tree()->testAPI_Expand(object);
            const KITE::TreeViewModel* rows = tree()->getTreeViewModel();
            for (unsigned child : rows->getChildRows(rows->getRow(object)))
                if (rows->isRowExpandable(child) || rows->hasChildRows(child))
                    open.push_back(rows->getObject(child));
        }
    }
    KITE::PropBrowserComponent* browser() const {
        return dynamic_cast<KITE::PropBrowserComponent*>(
            program->getStudioApp()->getComponent(KITE::StudioApp::propBrowserComponentName));
    }
    std::string writeLibrary() {
        const std::string library = dir.filePath("library.veld").toStdString();
        std::ofstream(library) << kLibraryModel;
        return library;
    }
    // Types the text into the property's cell of the browser's current object, as a user does,
    // and commits it with Return.
    void editProperty(const std::string& name, const std::string& text) {
        KITE::PropBrowserComponent* shown = browser();
        ASSERT_NE(shown, nullptr);
        KITE::PropBrowserViewModel* rows = shown->getViewModel();
        const VELD::ClassObject object = shown->getObject();
        const unsigned row = rows->findRow(object, object.getMetaClass().getProperty(name), -1);
        ASSERT_NE(row, 0u) << name;
        ASSERT_TRUE(shown->getTreeView()->editCell(row, rows->getValueColumn())) << name;
        KITE::PropBrowserEditor* editor = rows->getEditor(row);
        if (auto* number = dynamic_cast<KITE::PropertyBrowserWidgetsNS::NumericTextBox*>(editor))
            number->getEdit()->setText(text);
        else if (auto* line = dynamic_cast<KITE::PropertyBrowserWidgetsNS::TextEditor*>(editor))
            line->getEdit()->setText(text);
        else
            FAIL() << "no text editor for " << name;
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(editor->getWidget()->getQWidget(), &enter);
        QCoreApplication::processEvents();
    }
    void trigger(const std::string& action) {
        QAction* found = program->getAction(action);
        ASSERT_NE(found, nullptr) << action;
        ASSERT_TRUE(found->isEnabled()) << action;
        found->trigger();
    }

    QTemporaryDir dir;
    std::string file;
    std::string original;
    std::string chosenFile;
    std::vector<std::string> errors;
    std::unique_ptr<StudioProgram> program;
};

} // namespace

TEST(ProgramOptionsTest, CommandLines) {
    struct Case {
        std::vector<std::string> args;
        bool ok;
        std::string model;
        std::size_t metaModels;
        int recoverySeconds;
    };
    const Case cases[] = {
        {{}, true, "", 0, 30},
        {{"m.veld"}, true, "m.veld", 0, 30},
        {{"m.veld", "--meta-model", "a.veldmeta", "--meta-model", "b.veldmeta"},
         true,
         "m.veld",
         2,
         30},
        {{"--recovery-seconds", "5", "m.veld"}, true, "m.veld", 0, 5},
        {{"a.veld", "b.veld"}, false, "", 0, 0},
        {{"--meta-model"}, false, "", 0, 0},
        {{"--recovery-seconds", "0"}, false, "", 0, 0},
        {{"--recovery-seconds", "5s"}, false, "", 0, 0},
        {{"--frobnicate"}, false, "", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        ProgramOptions options;
        std::string error;
        ASSERT_EQ(ProgramOptions::parse(c.args, options, error), c.ok);
        if (!c.ok) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        EXPECT_EQ(options.modelFile, c.model);
        EXPECT_EQ(options.metaModelFiles.size(), c.metaModels);
        EXPECT_EQ(options.recoverySeconds, c.recoverySeconds);
    }
}

TEST_F(KiteStudioTest, OpenEditSaveAndReopenGiveTheSameModel) {
    openAndShow();
    EXPECT_EQ(program->getTitle(), "plant.veld — kite studio");
    EXPECT_EQ(program->getStudio()->getWindow()->windowTitle().toStdString(),
              "plant.veld — kite studio");
    EXPECT_FALSE(program->getAction("editUndo")->isEnabled());

    const Point before = block("Plant").getPosition();
    dragOnCanvas(centre("Plant"), centre("Plant") + Point{70, 160});
    EXPECT_NE(block("Plant").getPosition(), before);
    EXPECT_EQ(program->getTitle(), "plant.veld* — kite studio");
    EXPECT_EQ(program->getAction("editUndo")->text().toStdString(), "&Undo Move");

    // Undo and redo name the step, and back at the file's state the title says so.
    trigger("editUndo");
    EXPECT_EQ(block("Plant").getPosition(), before);
    EXPECT_EQ(program->getTitle(), "plant.veld — kite studio");
    EXPECT_EQ(program->getAction("editRedo")->text().toStdString(), "&Redo Move");
    trigger("editRedo");
    const Point after = block("Plant").getPosition();
    EXPECT_NE(after, before);

    trigger("fileSave");
    EXPECT_EQ(program->getTitle(), "plant.veld — kite studio");
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_NE(readFile(file), original);
    const std::string saved = VELD::writeModel(model());

    program.reset();
    program = makeProgram();
    openAndShow();
    EXPECT_EQ(VELD::writeModel(model()), saved);
    EXPECT_EQ(block("Plant").getPosition(), after);
    EXPECT_EQ(program->getRecentFiles().front(), fs::absolute(file).string());
}

TEST_F(KiteStudioTest, ACopyOfALoadedMetaModelIsThatMetaModelAndADifferentOneIsRefused) {
    const std::string copy = dir.filePath("copy.veldmeta").toStdString();
    fs::copy_file(StudioProgram::sampleMetaModelFile(), copy);
    ASSERT_TRUE(program->openFile(file, {copy})) << (errors.empty() ? "" : errors.front());
    EXPECT_TRUE(errors.empty());

    // Same URI, other content: refused with the file's place, and what was open stays.
    std::string changed = readFile(copy);
    changed.insert(changed.rfind("</veld-metamodel>"), "  <class name=\"Extra\"/>\n");
    const std::string other = dir.filePath("other.veldmeta").toStdString();
    std::ofstream(other) << changed;
    EXPECT_FALSE(program->openFile(file, {other}));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors.front().find("other.veldmeta:"), std::string::npos) << errors.front();
    EXPECT_EQ(program->getDocument()->getFile(), file);
}

TEST_F(KiteStudioTest, AHugeDiagramOpensAtItsCornerReadablyAndFitDiagramShowsItWhole) {
    const std::string wide = dir.filePath("wide.veld").toStdString();
    std::ofstream(wide) << R"(<?xml version="1.0" encoding="UTF-8"?>
<veld-model version="1" metamodel="example:blocks">
 <uses uri="kite:datamodel"/>
 <object id="1" class="blocks.Project">
  <value property="name">wide</value>
  <object property="diagrams" id="2" class="KITE.Diagram">
   <value property="name">far apart</value>
   <object property="contained" id="3" class="blocks.Block">
    <value property="name">Near</value>
    <value property="x">0</value><value property="y">0</value>
    <value property="width">130</value><value property="height">56</value>
   </object>
   <object property="contained" id="4" class="blocks.Block">
    <value property="name">Far</value>
    <value property="x">20000</value><value property="y">12000</value>
    <value property="width">130</value><value property="height">56</value>
   </object>
  </object>
 </object>
</veld-model>
)";
    ASSERT_TRUE(program->openFile(wide)) << (errors.empty() ? "" : errors.front());
    program->layOut(false);
    ASSERT_NE(editor(), nullptr);
    ZEPH::GLCanvas* canvas = editor()->getCanvas();
    EXPECT_NEAR(canvas->getZoomFactor(), 0.25, 0.01);
    const Point near = canvas->scenePointToViewPoint(centre("Near"));
    EXPECT_TRUE(canvas->viewport()->rect().contains(QPoint(int(near.x), int(near.y))));

    program->getAction("viewFit")->trigger();
    EXPECT_LT(canvas->getZoomFactor(), 0.1);
    // The far block's centre lies a few pixels from the view's edge at this scale.
    const QRect whole = canvas->viewport()->rect().adjusted(-8, -8, 8, 8);
    for (const char* name : {"Near", "Far"}) {
        const Point at = canvas->scenePointToViewPoint(centre(name));
        EXPECT_TRUE(whole.contains(QPoint(int(at.x), int(at.y))))
            << name << " " << at.x << "," << at.y;
    }
}

TEST_F(KiteStudioTest, ExportWritesAPictureOfTheBlocksAndAnSvgThatParses) {
    openAndShow();
    // The selection's handles are not part of the picture.
    program->selectAll();
    const std::string png = dir.filePath("diagram.png").toStdString();
    const std::string svg = dir.filePath("diagram.svg").toStdString();
    chosenFile = png;
    trigger("fileExportPng");
    chosenFile = svg;
    trigger("fileExportSvg");
    ASSERT_TRUE(errors.empty()) << errors.front();

    const QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    // The blocks span 40..870 by 40..496 in the diagram, with the margin around them.
    // (badges may reach beyond a box.)
    EXPECT_GE(image.width(), 870 - 40 + 40 - 2);
    EXPECT_GE(image.height(), 496 - 40 + 40 - 2);
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
    // A block's outline is drawn where the block is; inside a block it is not white either way,
    // but beside all blocks it is.
    std::size_t coloured = 0;
    const KITE::GraphNode setpoint = block("Setpoint");
    const Point at = setpoint.getAbsPosition() - Point{40 - 20, 40 - 20};
    for (int x = 0; x < static_cast<int>(setpoint.getSize().x); ++x)
        if (image.pixelColor(static_cast<int>(at.x) + x, static_cast<int>(at.y) + 1) !=
            QColor(Qt::white))
            ++coloured;
    EXPECT_GT(coloured, setpoint.getSize().x * 0.8);
    EXPECT_EQ(image.pixelColor(static_cast<int>(at.x) + 10, static_cast<int>(at.y) - 12),
              QColor(Qt::white));

    QFile drawing(QString::fromStdString(svg));
    ASSERT_TRUE(drawing.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&drawing);
    std::set<std::string> texts;
    bool isSvg = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("svg"))
            isSvg = true;
        if (xml.isStartElement() && xml.name() == QLatin1String("text"))
            texts.insert(xml.readElementText(QXmlStreamReader::IncludeChildElements)
                             .simplified()
                             .toStdString());
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(isSvg);
    for (const char* name :
         {"Setpoint", "Controller", "PID", "Actuator", "Plant", "Sensor", "Filter", "Scope"})
        EXPECT_EQ(texts.count(name), 1u) << name;
}

TEST_F(KiteStudioTest, ClosingWithUnsavedChangesAsksToSaveDiscardOrCancel) {
    openAndShow();
    dragOnCanvas(centre("Scope"), centre("Scope") + Point{-100, 60});
    ASSERT_TRUE(program->getDocument()->isModified());
    PLATFORM::StudioWindow* window = program->getStudio()->getWindow();

    // Cancel: the window stays with its changes.
    std::string asked;
    answerMessageBox(QMessageBox::Cancel, &asked);
    window->close();
    EXPECT_NE(asked.find("plant.veld has unsaved changes"), std::string::npos) << asked;
    EXPECT_TRUE(program->getStudio()->isOpen());
    EXPECT_TRUE(program->getDocument()->isModified());

    // Opening another model asks too; Save writes the file first.
    answerMessageBox(QMessageBox::Save);
    ASSERT_TRUE(program->openFile(file));
    EXPECT_NE(readFile(file), original);
    const std::string saved = readFile(file);
    EXPECT_FALSE(program->getDocument()->isModified());

    // Discard: the window closes and the file keeps what was saved.
    dragOnCanvas(centre("Scope"), centre("Scope") + Point{100, 0});
    asked.clear();
    answerMessageBox(QMessageBox::Discard, &asked);
    trigger("fileQuit");
    EXPECT_FALSE(asked.empty());
    EXPECT_FALSE(program->getStudio()->isOpen());
    EXPECT_EQ(readFile(file), saved);
    EXPECT_FALSE(fs::exists(file + ".recovery"));
}

TEST_F(KiteStudioTest, AFailedSaveSaysWhyAndKeepsTheOldFileAndTheChanges) {
    openAndShow();
    dragOnCanvas(centre("Filter"), centre("Filter") + Point{-50, 90});
    const Point moved = block("Filter").getPosition();

    // A file size limit makes writing fail as a full disk does.
    struct sigaction ignore {
    }, old{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &old);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 512;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    trigger("fileSave");
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &old, nullptr);

    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind(file + ": cannot save: writing failed: File too large", 0), 0u)
        << errors[0];
    EXPECT_EQ(readFile(file), original);
    EXPECT_TRUE(program->getDocument()->isModified());
    EXPECT_EQ(program->getTitle(), "plant.veld* — kite studio");
    EXPECT_EQ(block("Filter").getPosition(), moved);
    // Nothing but the file (no half-written temporary) is left beside it.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path().toStdString()))
        ++entries;
    EXPECT_EQ(entries, 2u); // the model and the settings
}

TEST_F(KiteStudioTest, ChangesOfAKilledSessionAreOfferedBackWhenTheModelIsOpened) {
    // The session runs in a process of its own, started afresh (a fork of this one could hang on
    // Qt's threads), which runs this test from its start and edits this test's copy of the
    // model, named by a variable set here and inherited there.
    const char* const sharedModel = "KITE_STUDIO_TEST_KILLED_MODEL";
    const bool session = std::getenv(sharedModel) != nullptr;
    if (session)
        file = std::getenv(sharedModel);
    else
        setenv(sharedModel, file.c_str(), 1);
    const std::string recovery = file + ".recovery";
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The session edits, waits for its changes to be kept aside, and is killed.
    EXPECT_EXIT(
        {
            ASSERT_TRUE(session);
            dir.remove(); // its own copy, unused
            openAndShow();
            program->setRecoveryInterval(std::chrono::milliseconds(50));
            dragOnCanvas(centre("Sensor"), centre("Sensor") + Point{-150, 100});
            // Killed only once the recovery file is there; without one the exit code tells.
            if (!QTest::qWaitFor([&] { return fs::exists(recovery); }, 10000))
                std::_Exit(3);
            std::raise(SIGKILL);
        },
        ::testing::KilledBySignal(SIGKILL), "");
    GTEST_FLAG_SET(death_test_style, style);
    unsetenv(sharedModel);
    EXPECT_EQ(readFile(file), original);
    ASSERT_TRUE(fs::exists(recovery));

    std::string asked;
    answerMessageBox(QMessageBox::Yes, &asked);
    openAndShow();
    EXPECT_NE(asked.find("were not saved"), std::string::npos) << asked;
    EXPECT_TRUE(program->getDocument()->isModified());
    EXPECT_EQ(program->getTitle(), "plant.veld* — kite studio");
    const Point restored = block("Sensor").getPosition();
    EXPECT_NEAR(restored.x, 740 - 150, 10);
    EXPECT_NEAR(restored.y, 290 + 100, 10);
    // Restored changes are unsaved even with nothing to undo.
    EXPECT_FALSE(program->getAction("editUndo")->isEnabled());

    trigger("fileSave");
    EXPECT_FALSE(fs::exists(recovery));
    EXPECT_FALSE(program->getDocument()->isModified());
    EXPECT_EQ(VELD::writeModel(VELD::loadModel(file)), VELD::writeModel(model()));
}

TEST_F(KiteStudioTest, ABadFileIsReportedWithItsPlaceAndWhatWasOpenStays) {
    openAndShow();
    const std::string bad = dir.filePath("bad.veld").toStdString();
    std::ofstream(bad) << "<?xml version=\"1.0\"?>\n<veld-model version=\"1\">\n  <oops/>\n";
    chosenFile = bad;
    trigger("fileOpen");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind(bad + ":", 0), 0u) << errors[0];
    EXPECT_EQ(program->getDocument()->getFile(), file);
    EXPECT_NE(editor(), nullptr);

    // Headless, the command line's bad file goes to stderr.
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(
        ProgramCommand::run({bad, "--screenshot", dir.filePath("s.png").toStdString()}, out, err),
        1);
    EXPECT_EQ(err.str().rfind(bad + ":", 0), 0u) << err.str();
    EXPECT_EQ(out.str(), "");
}

TEST_F(KiteStudioTest, NewMakesAnUntitledModelWithADiagramThatSaveAsNames) {
    openAndShow();
    trigger("fileNew.blocks");
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(program->getTitle(), "untitled — kite studio");
    EXPECT_EQ(editor()->getDiagram().getName(), "diagram");
    EXPECT_FALSE(program->getAction("editUndo")->isEnabled());

    chosenFile = dir.filePath("new.veld").toStdString();
    trigger("fileSave");
    EXPECT_EQ(program->getTitle(), "new.veld — kite studio");
    EXPECT_TRUE(fs::exists(chosenFile));
}

TEST_F(KiteStudioTest, NewModelsOfAMetaModelWithoutADomainOpenInTheGenericStudio) {
    openAndShow();
    ASSERT_TRUE(program->openFile(writeLibrary(), {libraryMetaModel()}));
    QAction* library = program->getAction("fileNew.library");
    ASSERT_NE(library, nullptr);
    library->trigger();
    ASSERT_TRUE(program->isGeneric());
    EXPECT_EQ(program->getTitle(), "untitled — kite studio");
    const VELD::Sequence<VELD::ImmutableClassObject> rows = tree()->testAPI_GetVisibleObjects();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0], model().getRootObject());
    // And back to a domain's: a new block diagram.
    trigger("fileNew.blocks");
    EXPECT_FALSE(program->isGeneric());
    EXPECT_NE(editor(), nullptr);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(KiteStudioTest, ABlockDroppedOntoAContainerIsDrawnInsideItAboveIt) {
    openAndShow();
    const Point start = centre("Setpoint");
    // Onto the controller, beside its PID stage.
    dragOnCanvas(start, Point{440, 172});
    const KITE::GraphNode setpoint = block("Setpoint");
    const KITE::GraphNode controller = block("Controller");
    EXPECT_EQ(KITE::DiagramElement(setpoint.getContainer()), KITE::DiagramElement(controller));
    EXPECT_NEAR(setpoint.getAbsPosition().x + 65, 440, 8);

    // The canvas shows it there, in front of the container.
    const Point centreNow = centre("Setpoint");
    const KITE::DiagramElement hit = editor()->getDiagramElementAt(centreNow);
    EXPECT_EQ(hit, KITE::DiagramElement(setpoint.asDeviant(hit.getModelVELD())));
    // One step: undo puts it back on the diagram.
    trigger("editUndo");
    EXPECT_EQ(KITE::DiagramElement(block("Setpoint").getContainer()),
              KITE::DiagramElement(editor()->getDiagram().asDeviant(model())));

    // Dragged out of its container, a block lands on the diagram.
    dragOnCanvas(centre("PID"), Point{300, 420});
    EXPECT_EQ(KITE::DiagramElement(block("PID").getContainer()),
              KITE::DiagramElement(editor()->getDiagram().asDeviant(model())));
    EXPECT_NEAR(centre("PID").y, 420, 8);
}

TEST_F(KiteStudioTest, AClosedTabsEditorTakesNoSelectionAndTheDiagramsMenuReopensIt) {
    openAndShow();
    const TAVI::Holder<KITE::Editor> closed(editor());
    closed->select(block("Plant"));
    ASSERT_EQ(closed->getSelection().size(), 1u);
    const KITE::Diagram diagram = closed->getDiagram();

    auto* tabs = program->getStudio()->getWindow()->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 1);
    QWidget* closeButton = tabs->tabBar()->tabButton(0, QTabBar::RightSide);
    ASSERT_NE(closeButton, nullptr);
    QTest::mouseClick(closeButton, Qt::LeftButton);
    EXPECT_EQ(tabs->count(), 0);
    EXPECT_EQ(program->getEditor(), nullptr);

    closed->select(KITE::DiagramElement(diagram.getContained()[0]));
    EXPECT_EQ(closed->getSelection().size(), 0u);
    EXPECT_FALSE(closed->isSelected(KITE::DiagramElement(diagram.getContained()[0])));

    // The diagram comes back in a new editor.
    ASSERT_NE(program->showDiagram(diagram), nullptr);
    EXPECT_NE(program->getEditor(), closed.get());
    EXPECT_EQ(tabs->count(), 1);
}

TEST_F(KiteStudioTest, HeadlessTheProgramWritesAScreenshotOfTheSample) {
    std::ostringstream out;
    std::ostringstream err;
    const std::string shot = dir.filePath("studio.png").toStdString();
    EXPECT_EQ(ProgramCommand::run({"--screenshot", shot}, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), shot + "\n");
    const QImage image(QString::fromStdString(shot));
    EXPECT_EQ(image.width(), StudioProgram::defaultWidth);
}

TEST_F(KiteStudioTest, DeleteRemovesTheSelectionInOneUndoableStep) {
    openAndShow();
    const std::size_t blocks = editor()->getDiagram().getContained().size();
    editor()->select(block("Scope"));
    trigger("editDelete");
    EXPECT_EQ(editor()->getDiagram().asDeviant(model()).getContained().size(), blocks - 2)
        << "Scope and its connection";
    EXPECT_TRUE(program->getDocument()->isModified());
    trigger("editUndo");
    EXPECT_EQ(editor()->getDiagram().asDeviant(model()).getContained().size(), blocks);
}

TEST_F(KiteStudioTest, AModelWithoutADomainIsEditedInTheGenericStudioAndSavedAsShown) {
    const std::string library = writeLibrary();
    ASSERT_TRUE(program->openFile(library, {libraryMetaModel()})) << errors.front();
    program->layOut(false);
    EXPECT_TRUE(errors.empty());
    ASSERT_TRUE(program->isGeneric());
    EXPECT_EQ(program->getEditor(), nullptr);
    EXPECT_EQ(program->getTitle(), "library.veld — kite studio");
    EXPECT_EQ(program->getStudio()->getWindow()->windowTitle().toStdString(),
              "library.veld — kite studio");
    EXPECT_NE(program->getStatusText().find("the model tree and the property browser edit it"),
              std::string::npos)
        << program->getStatusText();
    // The model itself is shown first.
    EXPECT_EQ(browser()->getObject(), model().getRootObject());

    // The tree: the model itself on top, its books under it.
    ASSERT_NE(tree(), nullptr);
    const VELD::ClassObject root(model().getRootObject());
    tree()->testAPI_Expand(root);
    const VELD::Sequence<VELD::ImmutableClassObject> rows = tree()->testAPI_GetVisibleObjects();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], root);
    std::vector<std::string> labels;
    for (int i = 1; i < rows.size(); ++i)
        labels.push_back(tree()->testAPI_GetLabelOfObject(VELD::ClassObject(rows[i])));
    EXPECT_NE(labels[0].find("Walden"), std::string::npos) << labels[0];
    EXPECT_NE(labels[1].find("Emma"), std::string::npos) << labels[1];

    // The property browser edits the book the tree selects: one undoable step each.
    const VELD::ClassObject emma(rows[2]);
    tree()->testAPI_SetTreeSelection(emma);
    ASSERT_EQ(browser()->getObject(), emma);
    const VELD::ImmutableClass book = emma.getMetaClass();
    editProperty("name", "Persuasion");
    editProperty("pages", "249");
    EXPECT_EQ(emma.getString(book.getProperty("name")), "Persuasion");
    EXPECT_NE(tree()->testAPI_GetLabelOfObject(emma).find("Persuasion"), std::string::npos);
    EXPECT_EQ(program->getTitle(), "library.veld* — kite studio");
    EXPECT_TRUE(program->getAction("editUndo")->isEnabled());
    trigger("editUndo");
    EXPECT_EQ(browser()->testAPI_GetValueOfProperty(book.getProperty("pages")), "474");
    trigger("editRedo");

    trigger("fileSave");
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(program->getTitle(), "library.veld — kite studio");
    const std::string saved = VELD::writeModel(model());
    EXPECT_NE(saved.find("Persuasion"), std::string::npos);

    program.reset();
    program = makeProgram();
    ASSERT_TRUE(program->openFile(library));
    EXPECT_TRUE(program->isGeneric());
    EXPECT_EQ(VELD::writeModel(model()), saved);
    EXPECT_FALSE(program->getDocument()->isModified());
    // Its window closes as a domain's does.
    program->getStudio()->getWindow()->close();
    EXPECT_FALSE(program->getStudio()->isOpen());
}

TEST_F(KiteStudioTest, EachStudioTheProgramOpensHasOneTreeAndOneBrowser) {
    const std::string library = writeLibrary();
    const std::size_t studios = PLATFORM::Studio::allStudios().size();
    // The window changes kind with the model, and back; the unsaved-changes question comes
    // before the window goes.
    struct Step {
        std::string file;
        bool generic;
    };
    const Step steps[] = {{file, false}, {library, true}, {library, true}, {file, false}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.file);
        if (&step != steps)
            answerMessageBox(QMessageBox::Discard);
        ASSERT_TRUE(program->openFile(step.file, {libraryMetaModel()}));
        program->layOut(false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(program->isGeneric(), step.generic);
        EXPECT_EQ(PLATFORM::Studio::allStudios().size(), studios);
        PLATFORM::Studio* studio = program->getStudio();
        EXPECT_EQ(componentsOfType<KITE::TreeComponent>(studio), 1u);
        EXPECT_EQ(componentsOfType<KITE::PropBrowserComponent>(studio), 1u);
        EXPECT_EQ(dynamic_cast<KITE::GenericVELDTreeComponentDelegate*>(tree()->getDelegate()) !=
                      nullptr,
                  step.generic);
        // The generic studio shows no diagrams: what needs an editor is off.
        EXPECT_EQ(program->getAction("fileExportPng")->isEnabled(), !step.generic);
        EXPECT_TRUE(program->getAction("fileSave")->isEnabled());
        EXPECT_TRUE(program->getStudio()->getWindow()->isVisible());
        // Something to ask about before the next step replaces the model.
        VELD::Transaction change(model());
        VELD::ClassObject(model().getRootObject())
            .setString(model().getRootObject().getMetaClass().getProperty("name"), "changed");
        change.commit();
        ASSERT_TRUE(program->getDocument()->isModified());
    }
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(KiteStudioTest, ThePropertyBrowserEditsTheSelectedBlockAndTheCanvasFollows) {
    openAndShow();
    editor()->select(block("Filter"));
    ASSERT_EQ(browser()->getObject(), block("Filter"));
    // Its own name first, then what it inherits: position and size.
    const VELD::ImmutableClass blockClass = block("Filter").getMetaClass();
    const auto property = [&](const char* name) { return blockClass.getProperty(name); };
    const std::pair<const char*, const char*> shown[] = {
        {"name", "Filter"}, {"x", "440"}, {"y", "290"}, {"width", "130"}, {"height", "56"}};
    for (const auto& [name, value] : shown)
        EXPECT_EQ(browser()->testAPI_GetValueOfProperty(property(name)), value) << name;

    const int undoLevels = model().getUndoStackLength();
    const Rect before = box("Filter");
    editProperty("x", "500");
    editProperty("width", "180");
    editProperty("name", "Low-pass");
    EXPECT_EQ(model().getUndoStackLength(), undoLevels + 3);
    EXPECT_EQ(block("Low-pass").getPosition().x, 500);
    EXPECT_EQ(box("Low-pass").x, 500);
    EXPECT_EQ(box("Low-pass").width, 180);
    const auto* glyph =
        dynamic_cast<Blocks::BlockGlyph*>(editor()->getGraphics()->getGlyph(block("Low-pass")));
    ASSERT_NE(glyph, nullptr);
    EXPECT_EQ(glyph->getLabel().getText(), "Low-pass");
    EXPECT_EQ(program->getTitle(), "plant.veld* — kite studio");

    // Undo takes the edits back, in the browser too.
    for (int i = 0; i < 3; ++i)
        trigger("editUndo");
    EXPECT_EQ(box("Filter"), before);
    EXPECT_EQ(browser()->testAPI_GetValueOfProperty(property("name")), "Filter");
    EXPECT_EQ(browser()->testAPI_GetValueOfProperty(property("x")), std::to_string(int(before.x)));
}

TEST_F(KiteStudioTest, TheTreeAndTheEditorShareTheSelectionWithoutLoops) {
    openAndShow();
    struct Counter : NIMB::Listener {
        int tree = 0;
        int editor = 0;
        void onTree(KITE::TreeSelectionChangedEvent) { ++tree; }
        void onEditor(KITE::EditorSelectionChangedEvent) { ++editor; }
    } count;
    KITE::StudioApp* app = program->getStudioApp();
    NIMB::Thread* here = NIMB::Thread::getCurrentThread();
    app->getTreeSelectionChangedEventService()->connect(&count, &Counter::onTree, here);
    app->getEditorSelectionChangedEventService()->connect(&count, &Counter::onEditor, here);
    expandTree();

    // The user's choice in the tree: the editor follows once, the tree hears it and stops.
    tree()->testAPI_SetTreeSelection(VELD::ClassObject(block("Sensor")));
    ASSERT_EQ(editor()->getSelection().size(), 1u);
    EXPECT_EQ(editor()->getSelection()[0].asDeviant(model()),
              KITE::DiagramElement(block("Sensor")));
    EXPECT_EQ(count.editor, 1);
    EXPECT_LE(count.tree, 2);
    EXPECT_NE(program->getStatusText().find("selected: Sensor"), std::string::npos)
        << program->getStatusText();
    EXPECT_EQ(browser()->getObject(), block("Sensor"));

    // The model itself has no glyph: the editor lets go, the browser shows the model.
    const VELD::ClassObject project(model().getRootObject());
    tree()->testAPI_SetTreeSelection(project);
    EXPECT_EQ(editor()->getSelection().size(), 0u);
    EXPECT_EQ(browser()->getObject(), project);
    EXPECT_EQ(tree()->getSelected(), project);

    // A click on the canvas selects there; the tree follows, once.
    count.tree = count.editor = 0;
    dragOnCanvas(centre("Filter"), centre("Filter"));
    EXPECT_EQ(tree()->getSelected(), VELD::ClassObject(block("Filter")));
    EXPECT_EQ(count.editor, 1);
    EXPECT_LE(count.tree, 2);
    // A click on empty canvas empties both once the click is over.
    const Point empty = box("Scope").topLeft() - Point{60, 0};
    dragOnCanvas(empty, empty);
    QCoreApplication::processEvents();
    EXPECT_EQ(editor()->getSelection().size(), 0u);
    EXPECT_TRUE(tree()->getTreeView()->getSelectedRows().empty());
    count.disconnect();
}

TEST_F(KiteStudioTest, TheTreesContextMenuOpensTheDiagramOfAnyRow) {
    openAndShow();
    expandTree();
    // The whole model: the project, its diagram, 8 blocks and 7 connections, nested where
    // they are nested.
    KITE::TreeViewModel* rows = tree()->getTreeViewModel();
    EXPECT_EQ(rows->getTotalRowCount(), 17u);
    EXPECT_EQ(rows->getParentRow(rows->getRow(block("PID"))), rows->getRow(block("Controller")));

    const KITE::Diagram diagram = editor()->getDiagram();
    const VELD::ImmutableClassObject targets[] = {diagram.asDeviant(model()), block("PID"),
                                                  model().getRootObject()};
    for (const VELD::ImmutableClassObject& target : targets) {
        SCOPED_TRACE(tree()->testAPI_GetLabelOfObject(VELD::ClassObject(target)));
        TAVI::ErrorHolder errors;
        program->getStudioApp()->closeAllEditors(errors);
        QCoreApplication::processEvents();
        ASSERT_EQ(program->getEditor(), nullptr);
        chooseFromTreeMenu(target, StudioProgram::openDiagramItem);
        // The model lies in no diagram: nothing opens.
        if (target == model().getRootObject()) {
            EXPECT_EQ(program->getEditor(), nullptr);
            continue;
        }
        ASSERT_NE(program->getEditor(), nullptr);
        EXPECT_EQ(KITE::DiagramElement(program->getEditor()->getDiagram()),
                  KITE::DiagramElement(diagram));
    }
}

TEST_F(KiteStudioTest, RenameEditsTheSelectedNameInTheTreeAsOneUndoableStep) {
    openAndShow();
    PLATFORM::StudioWindow* window = program->getStudio()->getWindow();
    // Shortcuts go to the active window.
    QApplication::setActiveWindow(window);
    const bool active = QApplication::activeWindow() == window;
    struct Way {
        const char* name;
        std::function<void()> start;
    };
    const Way ways[] = {
        {"Edit > Rename", [&] { trigger("editRename"); }},
        {"F2", [&] { QTest::keyClick(window, Qt::Key_F2); }},
        {"the tree's menu",
         [&] { chooseFromTreeMenu(block("Sensor"), StudioProgram::renameItem); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        if (std::string(way.name) == "F2" && !active) {
            ADD_FAILURE() << "the window cannot be made active for its shortcut";
            continue;
        }
        expandTree();
        editor()->select(block("Sensor"));
        tree()->testAPI_SetTreeSelection(VELD::ClassObject(block("Sensor")));
        const int levels = model().getUndoStackLength();
        way.start();
        KITE::TreeViewModel* rows = tree()->getTreeViewModel();
        TAVI::GLEdit2* edit = rows->getEditorIfAny(rows->getRow(block("Sensor")));
        ASSERT_NE(edit, nullptr);
        ASSERT_TRUE(tree()->getTreeView()->isEditing());
        edit->setText("Probe");
        QTest::keyClick(edit->getQWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_EQ(model().getUndoStackLength(), levels + 1);
        EXPECT_EQ(Blocks::BlockGlyph::nameOf(block("Probe")), "Probe");
        trigger("editUndo");
        EXPECT_EQ(model().getUndoStackLength(), levels);
        EXPECT_EQ(Blocks::BlockGlyph::nameOf(block("Sensor")), "Sensor");
    }
}
TEST_F(KiteStudioTest, TheViewMenuShowsAndHidesTheDocksAndTheExplorerBar) {
    openAndShow();
    TAVI::ErrorHolder errors;
    PLATFORM::StudioComponentBase* bar = editor()->getExplorerBar(errors);
    ASSERT_NE(bar, nullptr) << errors.what();
    KITE::StudioApp* app = program->getStudioApp();
    const std::pair<const char*, std::string> toggles[] = {
        {"viewModelTree", KITE::StudioApp::treeComponentName},
        {"viewPropertyBrowser", KITE::StudioApp::propBrowserComponentName},
        {"viewExplorerBar", bar->getName()},
    };
    for (const auto& [action, component] : toggles) {
        QAction* toggle = program->getAction(action);
        ASSERT_NE(toggle, nullptr) << action;
        auto* view = qobject_cast<QMenu*>(toggle->parent());
        ASSERT_NE(view, nullptr) << action;
        const bool shown = app->isVisible(component);
        EXPECT_TRUE(shown) << action;
        Q_EMIT view->aboutToShow(); // the menu shows the docks' toggles once they are there
        for (bool expected : {!shown, shown, !shown, shown}) {
            SCOPED_TRACE(std::string(action) + (expected ? " shown" : " hidden"));
            trigger(action);
            EXPECT_EQ(app->isVisible(component), expected);
            Q_EMIT view->aboutToShow();
            EXPECT_TRUE(toggle->isVisible() && toggle->isEnabled());
            EXPECT_EQ(toggle->isChecked(), expected);
        }
    }
    const bool barShown = bar->getWidget()->getQWidget()->isVisible();
    trigger("viewExplorerBar");
    EXPECT_EQ(bar->getWidget()->getQWidget()->isVisible(), !barShown);
    trigger("viewExplorerBar");
}

TEST_F(KiteStudioTest, TheExplorerBarStaysWholeWhileTheTreeRebuildsItsRows) {
    openAndShow();
    TAVI::ErrorHolder errors;
    ASSERT_NE(editor()->getExplorerBar(errors), nullptr) << errors.what();

    // The bar shows the path to the tree's selection, and stays whole while the tree rebuilds
    // the rows under it.
    const KiteTest::AssertionRecorder assertions;
    VELD::Asserter::clearReports();
    expandTree();
    tree()->testAPI_SetTreeSelection(VELD::ClassObject(block("Setpoint")));
    dragOnCanvas(centre("Setpoint"), Point{440, 172}); // into the controller
    editor()->select(block("Scope"));
    trigger("editDelete");
    trigger("editUndo");
    for (const ZuAssertionReport& report : assertions.reports())
        ADD_FAILURE() << report.message << " " << report.detail;
    for (const VELD::AssertionReport& report : VELD::Asserter::reports())
        ADD_FAILURE() << report.message;
}

TEST_F(KiteStudioTest, TheUndoKeysWorkOnTheCanvasButWaitWhileABlockIsDragged) {
    openAndShow();
    PLATFORM::StudioWindow* window = program->getStudio()->getWindow();
    QApplication::setActiveWindow(window); // shortcuts go to the active window
    ZEPH::GLCanvas* canvas = editor()->getCanvas();
    canvas->setFocus();
    const Point before = block("Actuator").getPosition();
    const int levels = model().getUndoStackLength();
    const Point start = centre("Actuator");

    // Mid-gesture the undo would pull the model from under the drag: it waits.
    mouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, start + Point{0, 30}, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, start + Point{0, 60}, Qt::NoButton, Qt::LeftButton);
    QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(model().getUndoStackLength(), levels);
    mouse(QEvent::MouseButtonRelease, start + Point{0, 60}, Qt::LeftButton, Qt::NoButton);
    const Point moved = block("Actuator").getPosition();
    ASSERT_NE(moved, before);
    EXPECT_EQ(model().getUndoStackLength(), levels + 1);

    QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(block("Actuator").getPosition(), before);
    QTest::keySequence(canvas, QKeySequence::Redo);
    EXPECT_EQ(block("Actuator").getPosition(), moved);
}

TEST_F(KiteStudioTest, AnUntitledModelLeftUnsavedIsOfferedAtTheNextStart) {
    const std::string folder = dir.filePath("recovery").toStdString();
    struct Case {
        const char* name;
        QMessageBox::StandardButton answer;
        bool restored;
        bool kept; // the recovery file afterwards
    };
    const Case cases[] = {{"restore", QMessageBox::Yes, true, true},
                          {"discard", QMessageBox::No, false, false},
                          {"later", QMessageBox::Cancel, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder);
        program = makeProgram();
        program->setRecoveryFolder(folder);
        trigger("fileNew.blocks");
        {
            VELD::Transaction change(model());
            VELD::ClassObject(model().getRootObject())
                .setString(model().getRootObject().getMetaClass().getProperty("name"), "draft");
            change.commit();
        }
        program->writeRecovery();
        // This session's own is not left behind.
        EXPECT_TRUE(program->untitledRecoveries().empty());
        // The session ends without a decision: killed, it leaves its lock behind, naming a
        // process that is gone.
        program.reset();
        const pid_t gone = fork();
        if (gone == 0)
            std::_Exit(0);
        waitpid(gone, nullptr, 0);
        for (const auto& entry : fs::directory_iterator(folder))
            std::ofstream(entry.path().string() + ".lock")
                << gone << "\n"
                << QCoreApplication::applicationName().toStdString() << "\n"
                << QSysInfo::machineHostName().toStdString() << "\n";

        program = makeProgram();
        program->setRecoveryFolder(folder);
        const std::vector<std::string> left = program->untitledRecoveries();
        ASSERT_EQ(left.size(), 1u);
        // Beside it, the meta-model file its model needs.
        const std::string note = Document::metaModelNoteFor(left[0]);
        EXPECT_EQ(readFile(note),
                  fs::weakly_canonical(StudioProgram::sampleMetaModelFile()).string() + "\n");
        std::string asked;
        answerMessageBox(c.answer, &asked);
        EXPECT_EQ(program->offerUntitledRecovery(), c.restored);
        EXPECT_NE(asked.find("untitled model was not saved"), std::string::npos) << asked;
        EXPECT_EQ(fs::exists(left[0]), c.kept);
        if (!c.restored) {
            EXPECT_EQ(program->untitledRecoveries().size(), c.kept ? 1u : 0u);
            EXPECT_EQ(fs::exists(note), c.kept);
            continue;
        }
        EXPECT_EQ(program->getTitle(), "untitled* — kite studio");
        EXPECT_EQ(model().getRootObject().getString(
                      model().getRootObject().getMetaClass().getProperty("name")),
                  "draft");
        EXPECT_TRUE(program->untitledRecoveries().empty()); // held by this session now
        // Saved, it has a name and its changes are nowhere else.
        chosenFile = dir.filePath("draft.veld").toStdString();
        trigger("fileSave");
        EXPECT_EQ(program->getTitle(), "draft.veld — kite studio");
        EXPECT_FALSE(fs::exists(left[0]));
        EXPECT_FALSE(fs::exists(note));
        EXPECT_TRUE(program->untitledRecoveries().empty());
    }
    EXPECT_TRUE(errors.empty()) << errors.front();
}
