#pragma once

#include "platform/tavi/Holder.hpp"
#include "studio/StudioApp.hpp"
#include "studio/components/kite_generic_export.hpp"

#include <string>

namespace KITE {

// The studio application of the generic studio ("KITE.GenericVELDStudioApp"): a window with a
// model tree of the whole model and a property browser of the selected object's plain
// properties, for models of any meta-model, with no diagram editors.
//
// A script makes one, gives it the meta-model's URI (setMetaUri) and asks it for a new model
// (createNewModel) or adds an existing one (addModel).
//
// initialize replaces StudioApp's: it installs the default icon controller and the generic
// filters and docks the tree and the property browser with the generic delegates. It runs
// preInitialize first, so the window's event services and framework service exist whoever
// made the window (Studio::spawnStudio calls initialize alone); a second initialize does
// nothing. terminate leaves everything in place: the components and models go with the window.
class KITE_GENERIC_EXPORT GenericVELDStudioApp : public StudioApp {
public:
    static constexpr const char* noxTypeName = "KITE.GenericVELDStudioApp";
    static constexpr const char* titlePrefix = "Generic VELD Studio for ";

    GenericVELDStudioApp();
    ~GenericVELDStudioApp() override;

    // A new generic studio application, with an empty meta-model URI.
    StudioApp* spawnApplication() const override;
    // The model tree's selection; null without a tree.
    VELD::ClassObject getCurrentSelectedElement() override;

    const char* getFullyQualifiedNoxTypeName() const override;
    void initialize(TAVI::ErrorHolder& errors) override;
    void terminate(TAVI::ErrorHolder& errors) override; // nothing at all
    PLATFORM::AbstractDomainInterface* getDefaultDomain(PLATFORM::Studio* studio) override;

    // Sets the window title ("Generic VELD Studio for " and the URI), then stores the URI.
    void setMetaUri(const std::string& uri);
    const std::string& getMetaUri() const { return metaUri; }
    // An empty model of the meta-model named by the URI, made by the kernel's registry and not
    // added to the studio. VELD::Exception when no meta-model has that URI.
    VELD::Model createNewModel();

    // For the studio program: whether the model's type has no domain of its own (the registry
    // finds only the generic domain for it, or none), so that it opens in a generic studio.
    static bool opensInGenericStudio(const VELD::Model& model);
    // A new window with a generic studio showing the model, its meta-model's URI set. Null with
    // the error when no window can be made, or for an invalid model (TAVI::TypedException).
    static TAVI::Holder<GenericVELDStudioApp> openModel(const VELD::Model& model,
                                                        TAVI::ErrorHolder& errors);

protected:
    // Docks a new model tree and a new property browser on the left with the generic delegates.
    virtual void addComponents();

private:
    std::string metaUri;
    bool initialized = false;
};

} // namespace KITE
