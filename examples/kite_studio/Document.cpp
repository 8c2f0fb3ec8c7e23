#include "examples/kite_studio/Document.hpp"

#include "platform/veld/DomainRegistry.hpp"
#include "platform/veld/Exception.hpp"
#include "platform/veld/Object.hpp"
#include "platform/veld/io/MetaModelFile.hpp"
#include "platform/veld/io/ModelFile.hpp"

#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace KiteStudio {

namespace {

struct LoadedMetaModels {
    std::map<std::string, VELD::ImmutableNamespace> byFile;
    std::vector<VELD::ImmutableNamespace> inOrder;
    std::vector<std::string> loadedFrom; // beside inOrder: the file each was first read from
};

LoadedMetaModels& loaded() {
    static LoadedMetaModels models;
    return models;
}

std::string canonical(const std::string& file) {
    std::error_code ec;
    std::string key = std::filesystem::weakly_canonical(file, ec).string();
    return ec || key.empty() ? file : key;
}

// The file's bytes, or nothing when it cannot be read.
std::optional<std::string> contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The first composite property of the class that holds diagrams.
VELD::ImmutableProperty diagramContainment(const VELD::ImmutableClass& cls) {
    const VELD::ImmutableClass diagram = KITE::ImmutableDiagram::MetaClass();
    for (const VELD::ImmutableProperty& property : cls.getAllAttributes()) {
        if (!property.isComposite() || property.isDerived() || property.isReadOnly())
            continue;
        const VELD::ImmutableClass type = property.getType().asClass();
        if (type.isValid() && VELD::isa(diagram, type))
            return property;
    }
    return {};
}

} // namespace

VELD::ImmutableNamespace Document::loadMetaModel(const std::string& file) {
    // The diagram classes come first: meta-models derive from them.
    KITE::diagramMetaModel();
    // A meta-model registers under its URI once per process; loading its file again would be
    // refused.
    LoadedMetaModels& models = loaded();
    const std::string key = canonical(file);
    if (const auto found = models.byFile.find(key); found != models.byFile.end())
        return found->second;
    // A copy of a loaded meta-model (the bundled one given again from elsewhere, say) is that
    // meta-model: its URI is taken, so loading it would only be refused.
    if (const std::optional<std::string> bytes = contents(key)) {
        for (const auto& [file, package] : models.byFile) {
            if (contents(file) == bytes) {
                models.byFile.emplace(key, package);
                return package;
            }
        }
    }
    VELD::ImmutableNamespace package = VELD::loadMetaModel(file);
    models.byFile.emplace(key, package);
    models.inOrder.push_back(package);
    models.loadedFrom.push_back(key);
    return package;
}

std::vector<VELD::ImmutableNamespace> Document::loadedMetaModels() {
    return loaded().inOrder;
}

std::string Document::metaModelFileOf(const VELD::ImmutableNamespace& metaModel) {
    const LoadedMetaModels& models = loaded();
    for (std::size_t i = 0; i < models.inOrder.size(); ++i)
        if (models.inOrder[i] == metaModel)
            return models.loadedFrom[i];
    return {};
}

std::string Document::metaModelNoteFor(const std::string& recoveryFile) {
    return recoveryFile + ".metamodel";
}

Document::Document(VELD::Model model, std::string file, bool restored)
    : model(std::move(model)), file(std::move(file)),
      recoveryFile(this->file.empty() ? std::string() : recoveryFileFor(this->file)),
      savedPosition(this->model.getHistoryPosition()), fileLacksChanges(restored) {}

Document Document::load(const std::string& file) {
    KITE::diagramMetaModel();
    return Document(VELD::loadModel(file), file, false);
}

Document Document::restore(const std::string& file) {
    KITE::diagramMetaModel();
    // The file lacks what the recovery file holds, whatever is undone later.
    return Document(VELD::loadModel(recoveryFileFor(file)), file, true);
}

Document Document::restoreUntitled(const std::string& recoveryFile) {
    KITE::diagramMetaModel();
    Document restored(VELD::loadModel(recoveryFile), std::string(), true);
    restored.recoveryFile = recoveryFile;
    return restored;
}

Document Document::create(const VELD::ImmutableNamespace& metaModel) {
    const VELD::ImmutableClass modelClass = metaModel.getModelClass();
    if (modelClass.isNull() || !modelClass.isValid())
        throw VELD::Exception("Document::create: the meta-model " + metaModel.getName() +
                              " names no model class");
    const VELD::ImmutableProperty containment = diagramContainment(modelClass);
    // Made in a scratch model and read back: the new model starts with its diagram and without
    // a history whose undo would take the diagram away.
    VELD::Model scratch = VELD::DomainRegistry::instance().createModel(metaModel.getUri());
    std::string bytes;
    try {
        if (!containment.isNull()) {
            VELD::Transaction transaction(scratch);
            KITE::Diagram diagram =
                KITE::Factory::createNewFactory(scratch).createDiagram("diagram");
            scratch.getRootObject().add(containment, diagram);
            transaction.commit();
        }
        bytes = VELD::writeModel(scratch);
    } catch (...) {
        scratch.destroy();
        throw;
    }
    scratch.destroy();
    return Document(VELD::readModel(bytes, "untitled"), std::string(), false);
}

std::string Document::recoveryFileFor(const std::string& file) {
    return file + ".recovery";
}

bool Document::hasNewerRecovery(const std::string& file) {
    std::error_code ec;
    const auto recovered = std::filesystem::last_write_time(recoveryFileFor(file), ec);
    if (ec)
        return false;
    const auto saved = std::filesystem::last_write_time(file, ec);
    return ec || recovered > saved;
}

std::string Document::getDisplayName() const {
    return file.empty() ? std::string("untitled") : std::filesystem::path(file).filename().string();
}

bool Document::isModified() const {
    return fileLacksChanges || model.getHistoryPosition() != savedPosition;
}

void Document::saveAs(const std::string& target) {
    VELD::saveModel(model, target);
    // The old recovery file (the old file's, or an untitled model's) belongs to changes now
    // saved elsewhere.
    if (file.empty() || canonical(file) != canonical(target))
        removeRecovery();
    file = target;
    recoveryFile = recoveryFileFor(target);
    savedPosition = model.getHistoryPosition();
    fileLacksChanges = false;
    removeRecovery();
}

bool Document::writeRecovery(std::string& error) const {
    if (recoveryFile.empty())
        return false;
    std::error_code ec;
    if (const std::filesystem::path folder = std::filesystem::path(recoveryFile).parent_path();
        !folder.empty() && !std::filesystem::create_directories(folder, ec) && ec) {
        error = recoveryFile + ": cannot make its folder: " + ec.message();
        return false;
    }
    try {
        VELD::saveModel(model, recoveryFile);
        return true;
    } catch (const VELD::FileError& e) {
        error = e.what();
        return false;
    }
}

void Document::removeRecovery() const {
    if (recoveryFile.empty())
        return;
    std::error_code ignored; // none there is as good as removed
    std::filesystem::remove(recoveryFile, ignored);
    std::filesystem::remove(metaModelNoteFor(recoveryFile), ignored);
}

std::vector<KITE::Diagram> Document::getDiagrams() const {
    std::vector<KITE::Diagram> diagrams;
    std::deque<VELD::ImmutableClassObject> pending{model.getRootObject()};
    while (!pending.empty()) {
        const VELD::ImmutableClassObject object = pending.front();
        pending.pop_front();
        if (KITE::Diagram diagram(object); diagram.isValid())
            diagrams.push_back(diagram);
        for (const VELD::ImmutableClassObject& child : object.getContaineeVELDs())
            pending.push_back(child);
    }
    return diagrams;
}

} // namespace KiteStudio
