#pragma once

#include "application/kite_application_export.hpp"
#include "platform/orbis/DomainInterface.hpp"
#include "platform/tavi/StringID.hpp"

#include <boost/shared_ptr.hpp>

#include <string>

namespace TAVI {
class ErrorHolder;
}

namespace VELD {
class Model;
}

namespace KITE {

class AbstractKiteDomain;
class Application;
class Diagram;
class Editor;
class AbstractKiteDomainImpl;
class EdgeCreationRuleSet;
class ElementDescriberBase;
class GetChildrenBase;
class GetIconBase;
class GlyphFactory;

// A domain's front in one studio: what the studio application and scripts talk to. The
// presentation operations forward to the domain; making applications and editors goes to
// the studio's implementation.
class KITE_APPLICATION_EXPORT AbstractKiteDomainInterface : public PLATFORM::DomainInterface {
public:
    static const char* const noxTypeName; // "KITE.AbstractDomain"

    explicit AbstractKiteDomainInterface(PLATFORM::Studio* studio);
    ~AbstractKiteDomainInterface() override;

    const char* getFullyQualifiedNoxTypeName() const override;
    void activate() override = 0;
    void deactivate() override = 0;
    PLATFORM::AbstractDomain* getDomain() const override = 0;

    virtual TAVI::StringID getName() const;
    virtual TAVI::StringID getModelClassFullName() const;
    virtual GlyphFactory* getGlyphFactory() const;
    virtual void initializeEdgeCreationRuleSet();
    virtual const boost::shared_ptr<GetIconBase>& getIconController() const;
    virtual const boost::shared_ptr<ElementDescriberBase>& getElementDescriber() const;
    virtual boost::shared_ptr<GetChildrenBase> getTreePopulator();
    // Made by the studio's implementation; null without one. The caller holds the result.
    virtual Application* createApplication(const VELD::Model& model, TAVI::ErrorHolder& errors);
    virtual Editor* createEditor(const Diagram& diagram, std::string name,
                                 TAVI::ErrorHolder& errors);

    const EdgeCreationRuleSet& getEdgeCreationRuleSet() const;

protected:
    virtual AbstractKiteDomain* getKiteDomain() const = 0;
    virtual AbstractKiteDomainImpl* getKiteDomainImpl() const = 0;
    // The domain's default tools for an editor of this studio.
    virtual void installTools(Editor* editor) const;
};

} // namespace KITE
