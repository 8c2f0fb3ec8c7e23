#pragma once

#include "application/EdgeCreationRuleSet.hpp"
#include "application/kite_application_export.hpp"
#include "platform/orbis/AbstractDomain.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"
#include "platform/tavi/StringID.hpp"

#include <boost/shared_ptr.hpp>

namespace KITE {

class AbstractKiteDomainInterface;
class Editor;
class ElementDescriberBase;
class GetChildrenBase;
class GetIconBase;
class GlyphFactory;

// One kind of model, shared by every studio: its name and model type (the registry's keys),
// its edge rules, how its objects are presented, and the per-studio fronts it makes.
// Counted (TAVI::Holder); the registry holds one count while it is registered.
// The count comes first so that a holder releases the object at its own address.
class KITE_APPLICATION_EXPORT AbstractKiteDomain : public TAVI::ReferencedTemplate<unsigned int>,
                                                   public PLATFORM::AbstractDomain {
public:
    AbstractKiteDomain();
    ~AbstractKiteDomain() override;
    AbstractKiteDomain(const AbstractKiteDomain&) = delete;
    AbstractKiteDomain& operator=(const AbstractKiteDomain&) = delete;

    PLATFORM::Util::MenuInterface getMenuInterface() const override = 0;
    PLATFORM::AbstractDomainInterface* createInterface(PLATFORM::Studio* studio) const override = 0;
    virtual TAVI::StringID getName() const = 0;
    // The model type this domain edits: a meta-class's qualified name with "." ("VELD.Model").
    virtual TAVI::StringID getModelClassFullName() const = 0;
    virtual GlyphFactory* getGlyphFactory() const = 0;
    virtual void initializeEdgeCreationRuleSet() = 0;
    virtual const boost::shared_ptr<GetIconBase>& getIconController() const = 0;
    virtual const boost::shared_ptr<ElementDescriberBase>& getElementDescriber() const = 0;
    virtual boost::shared_ptr<GetChildrenBase> getTreePopulator() = 0;
    // Gives a new editor its default tools: constructors of the marquee selection, move and
    // resize tools for the roles the selection tool starts them by, then the selection tool and
    // the delegate-to-glyph tool on its stack (the installer the editor layer registers). A
    // domain that wants other tools overrides it. A null editor is refused with
    // TAVI::TypedException.
    virtual void installTools(Editor* editor) const;
    // A new front for the studio; the caller holds it in a TAVI::Holder.
    virtual AbstractKiteDomainInterface* createKiteInterface(PLATFORM::Studio* studio) const = 0;

    // How installTools gives an editor the library's default tools. The editor layer, which
    // this layer does not know, registers it before it makes its first editor.
    using DefaultToolInstaller = void (*)(Editor& editor);
    static void setDefaultToolInstaller(DefaultToolInstaller installer);

    EdgeCreationRuleSet& getEdgeCreationRuleSet() { return rules; }
    const EdgeCreationRuleSet& getEdgeCreationRuleSet() const { return rules; }

private:
    EdgeCreationRuleSet rules;
};

} // namespace KITE
