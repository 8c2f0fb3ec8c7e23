#pragma once

#include "application/AbstractKiteDomainInterface.hpp"
#include "application/kite_application_export.hpp"

#include <string>

namespace NOX {
class PdxInterface;
}

namespace KITE {

class ImmutableDiagramElement;
class KiteDomainImpl;

// The default domain's front in one studio ("KITE.Domain"). Every front of one studio shares
// the studio's single KiteDomainImpl.
class KITE_APPLICATION_EXPORT KiteDomainInterface : public AbstractKiteDomainInterface {
public:
    static const char* const noxTypeName; // "KITE.Domain"

    explicit KiteDomainInterface(PLATFORM::Studio* studio);

    const char* getFullyQualifiedNoxTypeName() const override;
    void activate() override;
    void deactivate() override;
    PLATFORM::AbstractDomain* getDomain() const override;

    virtual void showEditorContextMenu(int x, int y) const;
    virtual void executeEditorContextMenuSchema(const ImmutableDiagramElement& element,
                                                const std::string& schema) const;
    virtual NOX::PdxInterface* getEditorContextMenuSchema(const ImmutableDiagramElement& element,
                                                          const std::string& schema) const;
    bool isTreeComponentVisible() const;
    void toggleTreeComponent();

protected:
    AbstractKiteDomain* getKiteDomain() const override;
    AbstractKiteDomainImpl* getKiteDomainImpl() const override;

private:
    // The implementation while the studio lives: a script may hold the front longer.
    KiteDomainImpl* liveImpl() const;

    KiteDomainImpl* impl = nullptr; // not owned: the studio owns it
};

} // namespace KITE
