#include "examples/kite_studio/StudioProgram.hpp"

#include "application/DomainRegistry.hpp"
#include "application/MessageCatalog.hpp"
#include "editor/DeleteTool.hpp"
#include "editor/Editor.hpp"
#include "editor/Graphics.hpp"
#include "examples/blocks/BlocksDomain.hpp"
#include "examples/kite_studio/DiagramExport.hpp"
#include "examples/kite_studio/ProgramDelegates.hpp"
#include "examples/kite_studio/StatusComponent.hpp"
#include "platform/nimb/Thread.hpp"
#include "platform/orbis/ContextMenuSchema.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi2/GLTreeView2.hpp"
#include "platform/veld/io/FileError.hpp"
#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/Scene.hpp"
#include "studio/StudioApp.hpp"
#include "studio/components/GenericVELDDomain.hpp"
#include "studio/components/GenericVELDStudioApp.hpp"
#include "studio/components/PropBrowserComponent.hpp"
#include "studio/components/TreeComponent.hpp"
#include "studio/components/TreeViewModel.hpp"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QColor>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QKeySequence>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

namespace KiteStudio {

namespace {

constexpr double kMargin = 30.0; // around the diagram when it is fitted into the canvas
// Opening never zooms out further: a huge diagram opens at its top-left corner at this scale
// (painting all of 100,000 blocks at once takes seconds); Fit Diagram still shows it whole.
constexpr double kOpeningZoom = 0.25;
constexpr int kMessageTimeout = 5000; // ms a passing message stays in the status bar
const char* const kProgramName = "kite studio";
const char* const kRecentFilesKey = "recentFiles";

// Vetoes the window's close while the user still decides about unsaved changes. An event
// filter sees the close before the window does, which would close the studio at once.
class CloseGuard : public QObject {
public:
    CloseGuard(QObject* parent, std::function<bool()> mayClose)
        : QObject(parent), mayClose(std::move(mayClose)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close && !mayClose()) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool()> mayClose;
};

std::string counted(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void countElements(const KITE::ImmutableGraphElement& container, std::size_t& nodes,
                   std::size_t& edges) {
    for (const KITE::DiagramElement& element : container.getContained()) {
        if (KITE::ImmutableGraphEdge(element).isValid()) {
            ++edges;
        } else if (const KITE::ImmutableGraphNode node(element); node.isValid()) {
            ++nodes;
            countElements(node, nodes, edges);
        }
    }
}

void collectElements(const KITE::ImmutableGraphElement& container,
                     std::vector<KITE::DiagramElement>& out) {
    for (const KITE::DiagramElement& element : container.getContained()) {
        out.push_back(element);
        if (const KITE::ImmutableGraphElement inner(element); inner.isValid())
            collectElements(inner, out);
    }
}

// A lock file marks a recovery file as a running session's; a session that ended leaves either
// none or one whose process is gone. Never stale by age: a session may run for days.
std::unique_ptr<QLockFile> lockFor(const std::string& recoveryFile) {
    auto lock = std::make_unique<QLockFile>(QString::fromStdString(recoveryFile + ".lock"));
    lock->setStaleLockTime(0);
    return lock;
}

QSettings settings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "kite", "kite-studio");
}

} // namespace

std::string StudioProgram::sampleModelFile() {
    return std::string(KITE_STUDIO_DATA_DIR) + "/plant.veld";
}

std::string StudioProgram::sampleMetaModelFile() {
    return std::string(KITE_STUDIO_DATA_DIR) + "/blocks.veldmeta";
}

StudioProgram::StudioProgram() = default;

std::unique_ptr<StudioProgram> StudioProgram::create() {
    KITE::registerMessageCatalog();
    // The bundled domain draws the sample; it needs its meta-model's classes first.
    Document::loadMetaModel(sampleMetaModelFile());
    TAVI::ErrorHolder errors;
    if (!Blocks::BlocksDomain::registerDomain(errors))
        throw std::runtime_error(errors.what());
    {
        // The studio application docks the components whose factories are registered, and the
        // generic domain answers for models with no domain of their own; a second registration
        // (a second window) is refused and changes nothing.
        TAVI::ErrorHolder again;
        KITE::PropBrowserComponent::registerFactory(again);
        KITE::DomainRegistry::instance()->registerDomain(
            TAVI::Holder<KITE::AbstractKiteDomain>(KITE::GenericVELDDomain::get()), again);
    }
    std::unique_ptr<StudioProgram> program(new StudioProgram);
    std::string error;
    Window window = spawnWindow(false, VELD::Model(), error);
    if (!window.studio)
        throw std::runtime_error(error);
    program->app = window.app;
    program->studio = window.studio;
    try {
        program->build();
    } catch (...) {
        program->closeWindow();
        throw;
    }
    return program;
}

StudioProgram::Window StudioProgram::spawnWindow(bool generic, const VELD::Model& model,
                                                 std::string& error) {
    TAVI::ErrorHolder errors;
    Window window;
    if (generic) {
        // The generic studio's own way in: the window comes with the model in it.
        const TAVI::Holder<KITE::GenericVELDStudioApp> made =
            KITE::GenericVELDStudioApp::openModel(model, errors);
        if (made && made->getStudio()) {
            window.app = made;
            window.studio = made->getStudio();
        }
    } else {
        window.app = new KITE::StudioApp;
        window.studio =
            PLATFORM::Studio::spawnStudio(window.app.staticCast<PLATFORM::Application>(), errors);
    }
    if (!window.studio) {
        window.app = nullptr;
        error = errors.hasError() ? errors.what() : "no studio window could be made";
    }
    return window;
}

void StudioProgram::closeWindow() {
    disconnect();
    // The close guard, the timers and the menus' connections go first: nothing asks any more.
    context.reset();
    recoveryTimer = nullptr;
    recentMenu = newMenu = diagramsMenu = nullptr;
    watchedTabs = nullptr;
    countedEditor = nullptr;
    if (studio)
        studio->close();
    status = nullptr;
    studio = nullptr;
    app = nullptr;
}

void StudioProgram::replaceWindow(Window next) {
    const QWidget* old = studio ? studio->getWindow() : nullptr;
    const QRect geometry = old ? old->geometry() : QRect();
    const bool visible = old && old->isVisible();
    const bool offScreen = old && old->testAttribute(Qt::WA_DontShowOnScreen);
    dropDocument();
    closeWindow();
    app = next.app;
    studio = next.studio;
    build();
    if (!geometry.isNull())
        studio->getWindow()->setGeometry(geometry);
    if (visible) {
        studio->getWindow()->setAttribute(Qt::WA_DontShowOnScreen, offScreen);
        studio->show();
    }
}

bool StudioProgram::isGeneric() const {
    return dynamic_cast<KITE::GenericVELDStudioApp*>(app.get()) != nullptr;
}

KITE::TreeComponent* StudioProgram::getTree() const {
    return app ? dynamic_cast<KITE::TreeComponent*>(
                     app->getComponent(KITE::StudioApp::treeComponentName))
               : nullptr;
}

StudioProgram::~StudioProgram() {
    closeWindow();
    // The recovery file stays for what was not saved; the next start offers it.
    recoveryLock.reset();
}

void StudioProgram::build() {
    context = std::make_unique<QObject>();
    PLATFORM::StudioFrameworkService* framework = studio->getFrameworkService();
    TAVI::ErrorHolder errors;
    status = new StatusComponent(studio.get(), "status");
    framework->addComponent(TAVI::Holder<PLATFORM::StudioComponentBase>(status.get()), errors);
    framework->setStatusWidget(status.get(), errors);
    if (errors.hasError())
        throw std::runtime_error(errors.what());
    // A domain's studio shows the whole model in its tree and the selected object's properties,
    // inherited ones too; the generic studio brings delegates of its own.
    if (!isGeneric()) {
        if (KITE::TreeComponent* tree = getTree())
            tree->setDelegate(new ProjectTreeDelegate(studio.get()));
        if (auto* browser = dynamic_cast<KITE::PropBrowserComponent*>(
                app->getComponent(KITE::StudioApp::propBrowserComponentName)))
            browser->setDelegate(new ElementPropBrowserDelegate);
    }

    recoveryTimer = new QTimer(context.get());
    recoveryTimer->setSingleShot(true);
    recoveryTimer->setInterval(recoveryInterval);
    QObject::connect(recoveryTimer, &QTimer::timeout, context.get(), [this] { writeRecovery(); });
    studio->getWindow()->installEventFilter(
        new CloseGuard(context.get(), [this] { return handleCloseRequest(); }));
    buildMenus();
    buildTreeMenu();

    NIMB::Thread* here = NIMB::Thread::getCurrentThread();
    app->getEditorSelectionChangedEventService()->connect(this, &StudioProgram::onEditorSelection,
                                                          here);
    app->getTransactionCompletedEventService()->connect(this, &StudioProgram::onTransaction, here);
    app->getActiveEditorChangedEventService()->connect(this, &StudioProgram::onActiveEditor, here);
    app->getEditorClosedEventService()->connect(this, &StudioProgram::onEditorClosed, here);
    app->getStudioClosedEventService()->connect(this, &StudioProgram::onStudioClosed, here);
    app->getTreeSelectionChangedEventService()->connect(this, &StudioProgram::onTreeSelection,
                                                        here);
    refresh();
}

void StudioProgram::buildTreeMenu() {
    PLATFORM::ContextMenuSchema menu(treeMenuName);
    // The menu belongs to the window: its items run only while the window is there.
    if (!isGeneric())
        menu.addItem(openDiagramItem, [this] { openSelectedDiagram(); });
    menu.addItem(renameItem, [this] {
        if (KITE::TreeComponent* tree = getTree())
            tree->editObject(tree->getSelected());
    });
    studio->getFrameworkService()->addContextMenu(menu);
}

// ------------------------------------------------------------------------------------ menus

void StudioProgram::buildMenus() {
    QMenuBar* bar = studio->getWindow()->menuBar();
    QObject* ctx = context.get();
    const auto add = [ctx](QMenu* menu, const char* name, const QString& text,
                           const QKeySequence& keys, std::function<void()> run) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        action->setShortcut(keys);
        QObject::connect(action, &QAction::triggered, ctx, [run = std::move(run)] { run(); });
        return action;
    };

    QMenu* file = bar->addMenu("&File");
    newMenu = file->addMenu("&New");
    newMenu->setObjectName("fileNew");
    QObject::connect(newMenu, &QMenu::aboutToShow, ctx, [this] { fillNewMenu(); });
    fillNewMenu();
    add(file, "fileOpen", "&Open...", QKeySequence::Open, [this] {
        const std::string chosen = chooseFile(FileRequest::Open, {});
        if (!chosen.empty())
            openFile(chosen);
    });
    recentMenu = file->addMenu("Open &Recent");
    recentMenu->setObjectName("fileOpenRecent");
    QObject::connect(recentMenu, &QMenu::aboutToShow, ctx, [this] { fillRecentMenu(); });
    fillRecentMenu();
    file->addSeparator();
    add(file, "fileSave", "&Save", QKeySequence::Save, [this] { save(); });
    add(file, "fileSaveAs", "Save &As...", QKeySequence::SaveAs, [this] {
        const std::string chosen =
            chooseFile(FileRequest::SaveAs, document ? document->getFile() : std::string());
        if (!chosen.empty())
            saveAs(chosen);
    });
    QMenu* exportMenu = file->addMenu("&Export Diagram");
    add(exportMenu, "fileExportPng", "As &PNG Image...", {}, [this] {
        const std::string chosen = chooseFile(FileRequest::ExportPng, {});
        if (!chosen.empty())
            exportPng(chosen);
    });
    add(exportMenu, "fileExportSvg", "As &SVG Drawing...", {}, [this] {
        const std::string chosen = chooseFile(FileRequest::ExportSvg, {});
        if (!chosen.empty())
            exportSvg(chosen);
    });
    file->addSeparator();
    add(file, "fileClose", "&Close", QKeySequence::Close, [this] { closeModel(); });
    add(file, "fileQuit", "&Quit", QKeySequence::Quit, [this] { studio->getWindow()->close(); });

    QMenu* edit = bar->addMenu("&Edit");
    add(edit, "editUndo", "&Undo", QKeySequence::Undo, [this] { undo(); });
    add(edit, "editRedo", "&Redo", QKeySequence::Redo, [this] { redo(); });
    edit->addSeparator();
    // A text field being edited takes these keys first (it overrides the shortcut).
    add(edit, "editDelete", "&Delete", QKeySequence::Delete, [this] { deleteSelection(); });
    add(edit, "editSelectAll", "Select &All", QKeySequence::SelectAll, [this] { selectAll(); });
    add(edit, "editRename", "Re&name", QKeySequence(Qt::Key_F2), [this] { renameSelection(); });

    QMenu* view = bar->addMenu("&View");
    add(view, "viewZoomIn", "Zoom &In", QKeySequence::ZoomIn, [this] { zoomBy(1.25); });
    add(view, "viewZoomOut", "Zoom &Out", QKeySequence::ZoomOut, [this] { zoomBy(0.8); });
    add(view, "viewFit", "&Fit Diagram", QKeySequence(Qt::CTRL | Qt::Key_0),
        [this] { fitDiagram(); });
    view->addSeparator();
    // The docks the studio application makes when their kinds are registered; a closed dock
    // comes back from here.
    struct Dock {
        const char* action;
        const char* text;
        const char* component;
    };
    static const Dock docks[] = {
        {"viewModelTree", "Model &Tree", KITE::StudioApp::treeComponentName},
        {"viewPropertyBrowser", "&Property Browser", KITE::StudioApp::propBrowserComponentName}};
    for (const Dock& dock : docks) {
        QAction* action =
            add(view, dock.action, dock.text, {}, [this, component = std::string(dock.component)] {
                if (app->isVisible(component))
                    app->hide(component);
                else
                    app->show(component);
            });
        action->setCheckable(true);
        action->setVisible(false); // until the dock is there
    }
    // The explorer bar belongs to the editor in front.
    QAction* explorer = add(view, "viewExplorerBar", "&Explorer Bar", {}, [this] {
        PLATFORM::StudioComponentBase* component = explorerBar();
        if (!component)
            return;
        if (app->isVisible(component->getName()))
            app->hide(component->getName());
        else
            app->show(component->getName());
    });
    explorer->setCheckable(true);
    QObject::connect(view, &QMenu::aboutToShow, ctx, [this] {
        if (QAction* action = getAction("viewExplorerBar")) {
            PLATFORM::StudioComponentBase* component = explorerBar();
            action->setEnabled(component != nullptr);
            action->setChecked(component && app->isVisible(component->getName()));
        }
        for (const Dock& dock : docks) {
            QAction* action = getAction(dock.action);
            const bool there = app->getComponent(dock.component) != nullptr;
            action->setVisible(there);
            action->setChecked(there && app->isVisible(dock.component));
        }
    });
    view->addSeparator();
    // Closed tabs come back from here.
    diagramsMenu = view->addMenu("&Diagrams");
    diagramsMenu->setObjectName("viewDiagrams");
    QObject::connect(diagramsMenu, &QMenu::aboutToShow, ctx, [this] { fillDiagramsMenu(); });
}

QAction* StudioProgram::getAction(const std::string& name) const {
    if (!studio || !studio->getWindow())
        return nullptr;
    return studio->getWindow()->menuBar()->findChild<QAction*>(QString::fromStdString(name));
}

void StudioProgram::fillNewMenu() {
    newMenu->clear();
    for (const VELD::ImmutableNamespace& metaModel : Document::loadedMetaModels()) {
        // Models of a meta-model without a domain open in the generic studio.
        const VELD::ImmutableClass modelClass = metaModel.getModelClass();
        if (modelClass.isNull() || !modelClass.isValid())
            continue;
        QAction* action = newMenu->addAction(QString::fromStdString(metaModel.getName()));
        action->setObjectName(QString::fromStdString("fileNew." + metaModel.getName()));
        QObject::connect(action, &QAction::triggered, context.get(),
                         [this, metaModel] { newModel(metaModel); });
    }
    newMenu->setEnabled(!newMenu->isEmpty());
}

void StudioProgram::fillRecentMenu() {
    recentMenu->clear();
    for (const std::string& file : getRecentFiles()) {
        QAction* action = recentMenu->addAction(QString::fromStdString(file));
        QObject::connect(action, &QAction::triggered, context.get(),
                         [this, file] { openFile(file); });
    }
    recentMenu->setEnabled(!recentMenu->isEmpty());
}

void StudioProgram::fillDiagramsMenu() {
    diagramsMenu->clear();
    if (!document)
        return;
    for (const KITE::Diagram& diagram : document->getDiagrams()) {
        QAction* action = diagramsMenu->addAction(QString::fromStdString(diagram.getFullName()));
        QObject::connect(action, &QAction::triggered, context.get(),
                         [this, diagram] { showDiagram(diagram); });
    }
}

std::vector<std::string> StudioProgram::getRecentFiles() const {
    std::vector<std::string> files;
    for (const QString& file : settings().value(kRecentFilesKey).toStringList())
        files.push_back(file.toStdString());
    return files;
}

void StudioProgram::addRecentFile(const std::string& file) {
    const QString path = QFileInfo(QString::fromStdString(file)).absoluteFilePath();
    QSettings store = settings();
    QStringList files = store.value(kRecentFilesKey).toStringList();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > maxRecentFiles)
        files.removeLast();
    store.setValue(kRecentFilesKey, files);
}

// ---------------------------------------------------------------------------- interaction

void StudioProgram::setErrorReporter(ErrorReporter reporter) {
    errorReporter = std::move(reporter);
}

void StudioProgram::setFileChooser(FileChooser chooser) {
    fileChooser = std::move(chooser);
}

void StudioProgram::setRecoveryInterval(std::chrono::milliseconds interval) {
    recoveryInterval = interval;
    if (recoveryTimer)
        recoveryTimer->setInterval(interval);
}

void StudioProgram::report(const std::string& text) const {
    if (errorReporter) {
        errorReporter(text);
        return;
    }
    if (!interactive_ || !studio || !studio->getWindow()) {
        std::cerr << "kite-studio: " << text << "\n";
        return;
    }
    QMessageBox::warning(studio->getWindow(), kProgramName, QString::fromStdString(text));
}

std::string StudioProgram::chooseFile(FileRequest request, const std::string& suggestion) const {
    if (fileChooser)
        return fileChooser(request, suggestion);
    if (!interactive_)
        return {};
    QWidget* parent = studio->getWindow();
    const QString start = QString::fromStdString(suggestion);
    QString chosen;
    switch (request) {
    case FileRequest::Open:
        chosen = QFileDialog::getOpenFileName(parent, "Open Model", start,
                                              "Models (*.veld);;All files (*)");
        break;
    case FileRequest::SaveAs:
        chosen = QFileDialog::getSaveFileName(parent, "Save Model As", start,
                                              "Models (*.veld);;All files (*)");
        break;
    case FileRequest::ExportPng:
        chosen = QFileDialog::getSaveFileName(parent, "Export Diagram as PNG", start,
                                              "PNG images (*.png)");
        break;
    case FileRequest::ExportSvg:
        chosen = QFileDialog::getSaveFileName(parent, "Export Diagram as SVG", start,
                                              "SVG drawings (*.svg)");
        break;
    }
    return chosen.toStdString();
}

bool StudioProgram::handleCloseRequest() {
    if (!maybeSave())
        return false;
    // Discarded or saved: nothing is left to recover from this session.
    recoveryTimer->stop();
    return true;
}

bool StudioProgram::maybeSave() {
    if (!document || !document->isModified())
        return true;
    if (!interactive_)
        return true; // the recovery file keeps what a headless run would lose
    QMessageBox box(
        QMessageBox::Warning, kProgramName,
        QString::fromStdString("The model " + document->getDisplayName() + " has unsaved changes."),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, studio->getWindow());
    box.setInformativeText("Save them before closing?");
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        document->removeRecovery();
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------------- files

bool StudioProgram::openFile(const std::string& file,
                             const std::vector<std::string>& metaModelFiles) {
    try {
        for (const std::string& metaModel : metaModelFiles)
            Document::loadMetaModel(metaModel);
    } catch (const VELD::FileError& e) {
        report(e.what());
        return false;
    }
    // Asked first: the file may be the one open, which a save changes. Whatever happens next,
    // what is open stays open until the new model is shown.
    if (!maybeSave())
        return false;
    std::optional<Document> next;
    if (Document::hasNewerRecovery(file)) {
        QMessageBox::StandardButton answer = QMessageBox::No;
        if (interactive_) {
            QMessageBox box(QMessageBox::Question, kProgramName,
                            QString::fromStdString(
                                "Changes to " +
                                QFileInfo(QString::fromStdString(file)).fileName().toStdString() +
                                " were not saved when the studio last closed."),
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                            studio->getWindow());
            box.setInformativeText("Restore them? (Discard removes them.)");
            box.button(QMessageBox::Yes)->setText("Restore");
            box.button(QMessageBox::No)->setText("Discard");
            box.setDefaultButton(QMessageBox::Yes);
            answer = static_cast<QMessageBox::StandardButton>(box.exec());
        }
        if (answer == QMessageBox::Cancel)
            return false;
        if (answer == QMessageBox::Yes) {
            try {
                next.emplace(Document::restore(file));
            } catch (const VELD::FileError& e) {
                report(std::string(e.what()) + "\nThe saved model is opened instead.");
            }
        } else if (interactive_) {
            std::error_code ignored;
            std::filesystem::remove(Document::recoveryFileFor(file), ignored);
        }
    }
    if (!next) {
        try {
            next.emplace(Document::load(file));
        } catch (const VELD::FileError& e) {
            report(e.what());
            return false;
        }
    }
    const bool restored = next->isModified();
    if (!show(std::move(*next)))
        return false;
    addRecentFile(file);
    if (restored)
        recoveryTimer->start();
    return true;
}

bool StudioProgram::newModel(const VELD::ImmutableNamespace& metaModel) {
    if (!maybeSave())
        return false;
    std::optional<Document> next;
    try {
        next.emplace(Document::create(metaModel));
    } catch (const VELD::Exception& e) {
        report(std::string("No new model can be made: ") + e.what());
        return false;
    }
    // Its own recovery file, named so that no other session's can be the same.
    const std::string recovery =
        QDir(QString::fromStdString(getRecoveryFolder()))
            .filePath(QString("untitled-%1-%2.veld")
                          .arg(QDateTime::currentDateTimeUtc().toString("yyyyMMdd-hhmmss-zzz"))
                          .arg(QCoreApplication::applicationPid()))
            .toStdString();
    next->setRecoveryFile(recovery);
    if (!show(std::move(*next)))
        return false;
    if (claimRecovery(recovery))
        if (const std::string file = Document::metaModelFileOf(metaModel); !file.empty())
            std::ofstream(Document::metaModelNoteFor(recovery)) << file << "\n";
    return true;
}

std::string StudioProgram::getRecoveryFolder() const {
    if (!recoveryFolder.empty())
        return recoveryFolder;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // Without a home for application data, the temporary folder keeps them at least until the
    // machine restarts.
    return QDir(data.isEmpty() ? QDir::temp().filePath("kite-studio") : data)
        .filePath("recovery")
        .toStdString();
}

bool StudioProgram::claimRecovery(const std::string& recoveryFile) {
    std::error_code ignored; // a folder that cannot be made fails the lock below
    std::filesystem::create_directories(std::filesystem::path(recoveryFile).parent_path(), ignored);
    std::unique_ptr<QLockFile> lock = lockFor(recoveryFile);
    if (!lock->tryLock(0))
        return false;
    recoveryLock = std::move(lock);
    return true;
}

std::vector<std::string> StudioProgram::untitledRecoveries() const {
    const QDir folder(QString::fromStdString(getRecoveryFolder()));
    std::vector<std::string> files;
    for (const QFileInfo& entry :
         folder.entryInfoList({"untitled-*.veld"}, QDir::Files, QDir::Time)) {
        const std::string file = entry.absoluteFilePath().toStdString();
        // Held by a session still running (this one too): not left behind.
        std::unique_ptr<QLockFile> probe = lockFor(file);
        if (probe->tryLock(0))
            files.push_back(file);
    }
    return files;
}

bool StudioProgram::restoreUntitled(const std::string& recoveryFile) {
    if (!maybeSave())
        return false;
    std::unique_ptr<QLockFile> lock = lockFor(recoveryFile);
    if (!lock->tryLock(0)) {
        report(recoveryFile + ":0:0: another running session keeps its changes there");
        return false;
    }
    std::optional<Document> next;
    try {
        // The meta-model its session had loaded first, when this one has not.
        std::string metaModelFile;
        if (std::ifstream note(Document::metaModelNoteFor(recoveryFile));
            note && std::getline(note, metaModelFile) && !metaModelFile.empty())
            Document::loadMetaModel(metaModelFile);
        next.emplace(Document::restoreUntitled(recoveryFile));
    } catch (const VELD::FileError& e) {
        report(e.what());
        return false;
    }
    if (!show(std::move(*next)))
        return false;
    recoveryLock = std::move(lock);
    recoveryTimer->start();
    return true;
}

bool StudioProgram::offerUntitledRecovery() {
    if (!interactive_)
        return false;
    const std::vector<std::string> left = untitledRecoveries();
    if (left.empty())
        return false;
    QMessageBox box(QMessageBox::Question, kProgramName,
                    "An untitled model was not saved when the studio last closed.",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, studio->getWindow());
    box.setInformativeText("Restore it? (Discard removes it; Cancel asks again next time.)");
    box.button(QMessageBox::Yes)->setText("Restore");
    box.button(QMessageBox::No)->setText("Discard");
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return restoreUntitled(left.front());
    case QMessageBox::No: {
        std::error_code ignored;
        std::filesystem::remove(left.front(), ignored);
        std::filesystem::remove(Document::metaModelNoteFor(left.front()), ignored);
        return false;
    }
    default:
        return false;
    }
}

bool StudioProgram::show(Document next) {
    const VELD::Model model = next.getModel();
    const std::string where = next.getFile().empty() ? next.getDisplayName() : next.getFile();
    const auto refuse = [&](const std::string& why) {
        model.destroy();
        report(where + ":0:0: " + why);
        return false;
    };
    // A model of a type with no domain of its own is shown by the generic studio.
    const bool generic = KITE::GenericVELDStudioApp::opensInGenericStudio(model);
    const std::vector<KITE::Diagram> diagrams = next.getDiagrams();
    if (!generic && diagrams.empty())
        return refuse("the model holds no diagram to show");
    if (generic != isGeneric()) {
        // The new window first: when it cannot be made, what was open stays.
        std::string error;
        Window window = spawnWindow(generic, model, error);
        if (!window.studio)
            return refuse(error);
        try {
            replaceWindow(std::move(window));
        } catch (const std::exception& e) {
            return refuse(e.what());
        }
    } else {
        dropDocument();
        if (auto* genericApp = dynamic_cast<KITE::GenericVELDStudioApp*>(app.get()))
            genericApp->setMetaUri(model.getUri());
    }
    document.emplace(std::move(next));
    app->addModel(model);
    if (!app->hasModel(model)) {
        dropDocument();
        report(where + ":0:0: the studio cannot take the model");
        return false;
    }
    if (!generic)
        showDiagram(diagrams.front());
    // The model's first level (its diagrams) in sight; without diagrams, the model itself in
    // the property browser.
    if (KITE::TreeComponent* tree = getTree(); tree && tree->getTreeView())
        if (const unsigned row = tree->getTreeViewModel()->getRow(model.getRootObject())) {
            tree->getTreeView()->expand(row);
            if (generic)
                tree->getTreeView()->setSelectedRows({row});
        }
    refresh();
    // The canvas knows its size once the window has laid it out.
    QTimer::singleShot(0, context.get(), [this] { fitDiagram(kOpeningZoom); });
    return true;
}

void StudioProgram::dropDocument() {
    if (recoveryTimer)
        recoveryTimer->stop();
    if (!document)
        return;
    const VELD::Model model = document->getModel();
    document.reset();
    // What was not saved stays in its recovery file, for the next start to offer.
    recoveryLock.reset();
    app->removeModel(model);
    model.destroy();
    refresh();
}

bool StudioProgram::closeModel() {
    if (!maybeSave())
        return false;
    dropDocument();
    return true;
}

bool StudioProgram::save() {
    if (!document)
        return false;
    if (document->getFile().empty()) {
        const std::string chosen = chooseFile(FileRequest::SaveAs, {});
        return !chosen.empty() && saveAs(chosen);
    }
    return saveAs(document->getFile());
}

bool StudioProgram::saveAs(const std::string& file) {
    if (!document)
        return false;
    const bool untitled = document->getFile().empty();
    try {
        document->saveAs(file);
        if (untitled)
            recoveryLock.reset(); // its changes are in the file now; the recovery file is gone
    } catch (const VELD::FileError& e) {
        // The model keeps its changes, and the file what it held.
        report(std::string(e.what()) + "\nThe changes are kept; the file is as it was.");
        return false;
    }
    recoveryTimer->stop();
    addRecentFile(file);
    refresh();
    studio->getWindow()->statusBar()->showMessage(
        QString::fromStdString("Saved " + document->getFile()), kMessageTimeout);
    return true;
}

void StudioProgram::writeRecovery() {
    if (!document || !document->isModified())
        return;
    std::string error;
    if (!document->writeRecovery(error) && !error.empty())
        studio->getWindow()->statusBar()->showMessage(
            QString::fromStdString("Unsaved changes could not be kept aside: " + error));
}

bool StudioProgram::exportPng(const std::string& file) {
    const KITE::Editor* editor = getEditor();
    std::string error;
    if (!editor) {
        report("No diagram is open to export.");
        return false;
    }
    if (!DiagramExport::toPng(editor->getDiagram(), file, error)) {
        report(error);
        return false;
    }
    return true;
}

bool StudioProgram::exportSvg(const std::string& file) {
    const KITE::Editor* editor = getEditor();
    std::string error;
    if (!editor) {
        report("No diagram is open to export.");
        return false;
    }
    if (!DiagramExport::toSvg(editor->getDiagram(), file, error)) {
        report(error);
        return false;
    }
    return true;
}

// ------------------------------------------------------------------------------- editing

KITE::Editor* StudioProgram::getEditor() const {
    if (!app || !studio || !studio->isOpen())
        return nullptr;
    const TAVI::GList<KITE::Editor*> editors = app->getAllEditors();
    // The editor in the tab in front: switching tabs does not tell the studio application.
    if (const auto* tabs = studio->getWindow()->findChild<QTabWidget*>()) {
        if (const QWidget* page = tabs->currentWidget()) {
            for (KITE::Editor* editor : editors) {
                const QWidget* canvas = editor->getCanvas();
                if (canvas && (canvas == page || page->isAncestorOf(canvas)))
                    return editor;
            }
        }
    }
    if (KITE::Editor* active = app->getActiveEditor())
        return active;
    return editors.isEmpty() ? nullptr : editors.first();
}

KITE::Editor* StudioProgram::showDiagram(const KITE::Diagram& diagram) {
    TAVI::ErrorHolder errors;
    KITE::Editor* editor = app->openEditor(diagram, errors);
    if (!editor) {
        report("The diagram " + diagram.getFullName() + " cannot be opened: " + errors.what());
        return nullptr;
    }
    if (ZEPH::GLCanvas* canvas = editor->getCanvas()) {
        canvas->setBackgroundBrush(QColor(248, 250, 252));
        canvas->setMinimumSize(320, 240);
        // The scene's own selection tells of a click on empty canvas, which raises no event.
        QObject::connect(
            editor->getScene()->qtScene(), &QGraphicsScene::selectionChanged, context.get(),
            [this] { onSceneSelection(); }, Qt::QueuedConnection);
    }
    if (PLATFORM::StudioFrameworkService* framework = studio->getFrameworkService()) {
        TAVI::ErrorHolder ignored;
        const unsigned tab = framework->getTabIndex(editor, ignored);
        if (!ignored.hasError())
            framework->setCurrentTab(tab, ignored);
    }
    app->setActiveEditor(editor);
    // The status line and what the menus offer follow the tab in front.
    if (auto* tabs = studio->getWindow()->findChild<QTabWidget*>(); tabs && !watchedTabs) {
        watchedTabs = tabs;
        QObject::connect(tabs, &QTabWidget::currentChanged, context.get(), [this] { refresh(); });
    }
    refresh();
    return editor;
}

void StudioProgram::undo() {
    if (!document)
        return;
    const VELD::Model model = document->getModel();
    // In mid-gesture the gesture would finish on what the undo changed.
    if (const KITE::Editor* editor = getEditor(); editor && editor->isInInteraction())
        return;
    if (model.isInTransaction() || model.getUndoStackLength() == 0)
        return;
    model.undoToChangeLevel(model.getUndoStackLength() - 1);
    refresh();
}

void StudioProgram::redo() {
    if (!document)
        return;
    const VELD::Model model = document->getModel();
    if (const KITE::Editor* editor = getEditor(); editor && editor->isInInteraction())
        return;
    if (model.isInTransaction() || model.getRedoStackLength() == 0)
        return;
    model.redoToChangeLevel(model.getUndoStackLength() + 1);
    refresh();
}

PLATFORM::StudioComponentBase* StudioProgram::explorerBar() const {
    KITE::Editor* editor = getEditor();
    TAVI::ErrorHolder ignored; // an editor without one has nothing to show
    return editor ? editor->getExplorerBar(ignored) : nullptr;
}

void StudioProgram::deleteSelection() {
    KITE::Editor* editor = getEditor();
    if (!editor || editor->isInInteraction())
        return;
    // The editor's own delete tool decides what goes (and what cannot).
    if (auto* tool = dynamic_cast<KITE::DeleteTool*>(
            editor->getToolByRole(KITE::DeleteTool::staticGetDefaultRole()).get()))
        tool->deleteSelection();
}

void StudioProgram::renameSelection() {
    KITE::TreeComponent* tree = getTree();
    if (!tree || !document)
        return;
    // The one element selected in the editor, else what the tree has selected.
    VELD::ClassObject target = tree->getSelected();
    if (const KITE::Editor* editor = getEditor(); editor && editor->getSelection().size() == 1)
        target = VELD::ClassObject(editor->getSelection()[0].asDeviant(document->getModel()));
    if (target.isNull() || !target.isValid())
        return;
    app->show(KITE::StudioApp::treeComponentName);
    tree->editObject(target);
}

KITE::Editor* StudioProgram::openSelectedDiagram() {
    KITE::TreeComponent* tree = getTree();
    if (!tree || !document || isGeneric())
        return nullptr;
    // The diagram the row is, else the innermost one it lies in.
    for (VELD::ImmutableClassObject object = tree->getSelected();
         !object.isNull() && object.isValid(); object = object.getContainerVELD()) {
        if (const KITE::Diagram diagram(object); diagram.isValid())
            return showDiagram(diagram);
    }
    studio->getWindow()->statusBar()->showMessage("The selected object lies in no diagram.",
                                                  kMessageTimeout);
    return nullptr;
}

void StudioProgram::selectAll() {
    KITE::Editor* editor = getEditor();
    if (!editor)
        return;
    std::vector<KITE::DiagramElement> elements;
    collectElements(editor->getDiagram(), elements);
    // One event for the whole selection.
    editor->disableSelectionNotification();
    for (const KITE::DiagramElement& element : elements)
        editor->select(element);
    editor->enableSelectionNotification();
    showStatus();
}

void StudioProgram::zoomBy(double factor) {
    if (KITE::Editor* editor = getEditor())
        if (ZEPH::GLCanvas* canvas = editor->getCanvas())
            canvas->setZoomFactor(canvas->getZoomFactor() * factor);
}

void StudioProgram::fitDiagram(double minimumZoom) {
    KITE::Editor* editor = getEditor();
    if (!editor)
        return;
    ZEPH::GLCanvas* canvas = editor->getCanvas();
    KITE::Graphics* graphics = editor->getGraphics();
    if (!canvas || !graphics)
        return;
    const TAVI::GLRect<double> bounds = graphics->getRoot().getSceneBounds();
    if (bounds.isEmpty())
        return;
    TAVI::GLRect<double> shown{bounds.x - kMargin, bounds.y - kMargin, bounds.width + 2 * kMargin,
                               bounds.height + 2 * kMargin};
    const QSize view = canvas->viewport()->size();
    if (minimumZoom > 0 && !view.isEmpty() &&
        std::min(view.width() / shown.width, view.height() / shown.height) < minimumZoom) {
        shown.width = view.width() / minimumZoom;
        shown.height = view.height() / minimumZoom;
    }
    canvas->showSceneRect(shown);
}

// ----------------------------------------------------------------------- following the model

std::string StudioProgram::getTitle() const {
    if (!document)
        return kProgramName;
    return document->getDisplayName() + (document->isModified() ? "*" : "") + " — " + kProgramName;
}

std::string StudioProgram::getStatusText() const {
    return status ? status->getText() : std::string();
}

void StudioProgram::refresh() {
    if (!studio || !studio->isOpen())
        return;
    app->setStudioTitle(getTitle());
    const bool open = document.has_value();
    const bool hasEditor = getEditor() != nullptr;
    const VELD::Model model = open ? document->getModel() : VELD::Model();
    if (QAction* action = getAction("editUndo")) {
        const std::string step = open ? model.getUndoStepName() : std::string();
        action->setText(QString::fromStdString(step.empty() ? "&Undo" : "&Undo " + step));
        action->setEnabled(open && model.getUndoStackLength() > 0);
    }
    if (QAction* action = getAction("editRedo")) {
        const std::string step = open ? model.getRedoStepName() : std::string();
        action->setText(QString::fromStdString(step.empty() ? "&Redo" : "&Redo " + step));
        action->setEnabled(open && model.getRedoStackLength() > 0);
    }
    for (const char* name : {"fileSave", "fileSaveAs", "fileClose"})
        if (QAction* action = getAction(name))
            action->setEnabled(open);
    for (const char* name : {"fileExportPng", "fileExportSvg", "editSelectAll", "editDelete",
                             "viewZoomIn", "viewZoomOut", "viewFit"})
        if (QAction* action = getAction(name))
            action->setEnabled(hasEditor);
    // Names are edited in the model tree, which every studio has.
    if (QAction* action = getAction("editRename"))
        action->setEnabled(open && getTree());
    // The generic studio shows no diagrams.
    diagramsMenu->setEnabled(open && !isGeneric());
    // Changes that have waited the interval are kept aside; the clock starts at the first.
    const bool modified = open && document->isModified();
    if (modified) {
        if (!recoveryTimer->isActive())
            recoveryTimer->start();
    } else {
        recoveryTimer->stop();
        // Back where the file is (an undo): an older recovery file would only mislead.
        if (open && shownModified)
            document->removeRecovery();
    }
    shownModified = modified;
    countedEditor = nullptr; // the diagram may have changed: count again
    showStatus();
}

void StudioProgram::showStatus() {
    if (!status || !studio || !studio->isOpen())
        return;
    const KITE::Editor* editor = getEditor();
    if (!editor || !editor->getDiagram().isValid()) {
        status->setText(!document     ? "No model open: File > Open or File > New."
                        : isGeneric() ? "No domain draws this model: the model tree and the "
                                        "property browser edit it."
                                      : "No diagram open: View > Diagrams opens one.");
        return;
    }
    const KITE::Diagram diagram = editor->getDiagram();
    // Counting walks the whole diagram: once per change, not per click.
    if (countedEditor != editor) {
        nodeCount = 0;
        edgeCount = 0;
        countElements(diagram, nodeCount, edgeCount);
        countedEditor = editor;
    }
    std::string text = diagram.getName() + ": " + counted(nodeCount, "node", "nodes") + ", " +
                       counted(edgeCount, "edge", "edges");
    std::string selected;
    std::size_t count = 0;
    for (const KITE::DiagramElement& element : editor->getSelection()) {
        const std::string name = app->describeEditableObject(element);
        selected += (count++ ? ", " : "") + (name.empty() ? std::string("(unnamed)") : name);
    }
    if (count)
        text += " — selected: " + selected;
    status->setText(text);
}

void StudioProgram::onEditorSelection(KITE::EditorSelectionChangedEvent) {
    showStatus();
}

void StudioProgram::onTreeSelection(KITE::TreeSelectionChangedEvent event) {
    // Only what the user chose: when the tree follows the editor, the editor has it already.
    KITE::Editor* editor = getEditor();
    if (!editor || !document || event.getTrigger() != KITE::SelectionTrigger::User)
        return;
    const KITE::DiagramElement element(event.lastSelection());
    // Only what the editor's diagram draws: the model, a diagram itself and other diagrams'
    // parts have no glyph there.
    const bool drawn = element.isValid() && !KITE::Diagram(event.lastSelection()).isValid() &&
                       element.getDiagram() == editor->getDiagram();
    if (!drawn && editor->getSelection().size() == 0)
        return;
    // One event for the new selection; an emptied one raises none, so the property browser
    // keeps showing what the tree selected.
    editor->disableSelectionNotification();
    editor->clearSelection();
    if (drawn)
        editor->select(element);
    editor->enableSelectionNotification();
    showStatus();
}

void StudioProgram::onSceneSelection() {
    if (!studio || !studio->isOpen())
        return;
    // Emptied without an event (a click on empty canvas): the tree lets go too.
    if (const KITE::Editor* editor = getEditor(); editor && editor->getSelection().size() == 0)
        if (KITE::TreeComponent* tree = getTree(); tree && tree->getTreeView())
            tree->getTreeView()->clearSelection();
    showStatus();
}

void StudioProgram::onTransaction(KITE::TransactionCompletedEvent) {
    refresh();
}

void StudioProgram::onActiveEditor(KITE::ActiveEditorChangedEvent) {
    refresh();
}

void StudioProgram::onEditorClosed(KITE::EditorClosedEvent) {
    // The closing editor is still the active one while its listeners hear of it.
    QTimer::singleShot(0, context.get(), [this] { refresh(); });
}

void StudioProgram::onStudioClosed(KITE::StudioClosedEvent) {
    // The components are taken down next: nothing more reaches them from here.
    disconnect();
    if (recoveryTimer)
        recoveryTimer->stop();
}

// ------------------------------------------------------------------------------- the window

void StudioProgram::layOut(bool onScreen) {
    PLATFORM::StudioWindow* window = studio->getWindow();
    window->resize(defaultWidth, defaultHeight);
    if (!window->isVisible()) {
        window->setAttribute(Qt::WA_DontShowOnScreen, !onScreen);
        studio->show();
    }
    // The canvas has its final size only once the window's layouts have run.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    fitDiagram(kOpeningZoom);
    QCoreApplication::processEvents();
}

bool StudioProgram::saveScreenshot(const std::string& file, std::string& error) {
    TAVI::ErrorHolder errors;
    if (studio->saveScreenshot(file, errors))
        return true;
    error = errors.what();
    return false;
}

} // namespace KiteStudio
