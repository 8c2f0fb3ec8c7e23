#pragma once

#include "application/AbstractKiteDomainImpl.hpp"

namespace KITE {

// The default domain's implementation in one studio, under the studio's factory key
// "KITE:Domain": the editors' context menu and the model tree's visibility.
class KiteDomainImpl : public AbstractKiteDomainImpl {
public:
    static const char* const key;  // "KITE:Domain"

    explicit KiteDomainImpl(PLATFORM::Studio* studio);

    void activate() override;
    void deactivate() override;
    // True exactly for fronts of the default domain.
    bool isSubDomain(PLATFORM::AbstractDomainInterface* domain) const override;
    // Pops up the studio's "EditorContextMenu" at the global screen point.
    virtual void showEditorContextMenu(int x, int y) const;

    // Whether the studio's model tree ("KITE tree component") is shown; false without one.
    bool isTreeComponentVisible() const;
    // Shows or hides the model tree; nothing without one.
    void toggleTreeComponent();
};

} // namespace KITE
