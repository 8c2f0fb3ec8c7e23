#include "editor/Editor.hpp"
#include "editor/Graphics.hpp"
#include "examples/blocks/BlockGlyph.hpp"
#include "examples/kite_studio/ProgramCommand.hpp"
#include "examples/kite_studio/ProgramOptions.hpp"
#include "examples/kite_studio/StudioProgram.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/veld/io/ModelFile.hpp"
#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/Scene.hpp"
#include "studio/StudioApp.hpp"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
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
#include <set>
#include <sstream>
#include <sys/resource.h>

using namespace KiteStudio;
using Point = TAVI::GLPoint<double>;
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

TEST_F(KiteStudioTest, TheViewMenuHidesAndBringsBackTheDocks) {
    openAndShow();
    KITE::StudioApp* app = program->getStudioApp();
    const std::string browser = KITE::StudioApp::propBrowserComponentName;
    ASSERT_TRUE(app->isVisible(browser));
    QAction* toggle = program->getAction("viewPropertyBrowser");
    ASSERT_NE(toggle, nullptr);
    auto* view = qobject_cast<QMenu*>(toggle->parent());
    ASSERT_NE(view, nullptr);
    Q_EMIT view->aboutToShow();
    EXPECT_TRUE(toggle->isVisible());
    EXPECT_TRUE(toggle->isChecked());

    toggle->trigger();
    EXPECT_FALSE(app->isVisible(browser));
    Q_EMIT view->aboutToShow();
    EXPECT_FALSE(toggle->isChecked());
    toggle->trigger();
    EXPECT_TRUE(app->isVisible(browser));
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
