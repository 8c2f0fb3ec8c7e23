#pragma once

#include "platform/datamodel/Diagram.hpp"
#include "platform/veld/Meta.hpp"
#include "platform/veld/Model.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace KiteStudio {

// One model open in the program: the model, the file it was read from and is saved to, and
// whether it holds changes that file lacks. Unsaved changes can be written to a recovery file
// beside the model file ("plant.veld" has "plant.veld.recovery"), which a later session offers
// to restore; a model in no file yet keeps them where setRecoveryFile says.
class Document {
public:
    // Registers the meta-model file with the kernel once per process: the same file given again
    // (under any path) answers the package registered first. Throws VELD::FileError naming the
    // file, line, column and reason when it cannot be read.
    static VELD::ImmutableNamespace loadMetaModel(const std::string& file);
    // The meta-models registered through loadMetaModel, in the order they were first loaded.
    static std::vector<VELD::ImmutableNamespace> loadedMetaModels();

    // Reads the model file. Throws VELD::FileError, and leaves no model behind, when it cannot.
    static Document load(const std::string& file);
    // Reads the recovery file as the model of file, holding changes that file lacks. Throws
    // VELD::FileError for an unreadable recovery file.
    static Document restore(const std::string& file);
    // Reads an untitled model's recovery file: a model in no file, holding changes, that keeps
    // its changes in that recovery file. Throws VELD::FileError when it cannot be read.
    static Document restoreUntitled(const std::string& recoveryFile);
    // A new model of the meta-model, not yet in any file, with no history and, when its model
    // class holds diagrams, one empty diagram. Throws VELD::Exception when the meta-model names
    // no model class.
    static Document create(const VELD::ImmutableNamespace& metaModel);

    static std::string recoveryFileFor(const std::string& file);
    // Whether a recovery file written after the model file was last saved lies beside it.
    static bool hasNewerRecovery(const std::string& file);

    const VELD::Model& getModel() const { return model; }
    // Empty while the model is in no file.
    const std::string& getFile() const { return file; }
    // The file's name without its folder; "untitled" for a new model.
    std::string getDisplayName() const;
    bool isModified() const;

    // Writes the model to file atomically and makes it the document's file. On failure throws
    // VELD::FileError saying why; the document, its changes and any previous file stay as they
    // were.
    void saveAs(const std::string& file);

    // Where unsaved changes are kept: beside the file, else what setRecoveryFile gave (empty:
    // nowhere). Saving to a file moves it beside that file.
    const std::string& getRecoveryFile() const { return recoveryFile; }
    void setRecoveryFile(std::string path) { recoveryFile = std::move(path); }
    // Writes what is unsaved to the recovery file (making its folder); false, with the reason in
    // error, when it cannot (nothing is written when there is no recovery file).
    bool writeRecovery(std::string& error) const;
    // Removes the recovery file, if any.
    void removeRecovery() const;

    // The model's diagrams, outermost and earliest first.
    std::vector<KITE::Diagram> getDiagrams() const;

private:
    Document(VELD::Model model, std::string file, bool restored);

    VELD::Model model;
    std::string file;
    std::string recoveryFile;
    // Where the model's history stood when the file was written; never again once restored
    // changes are in the model but not in the file.
    std::uint64_t savedPosition = 0;
    bool fileLacksChanges = false;
};

} // namespace KiteStudio
