#pragma once

#include "application/KiteDomainInterface.hpp"
#include "examples/blocks/kite_example_blocks_export.hpp"

namespace Blocks {

// The blocks domain's front in one studio ("Blocks.Domain"): what the studio and scripts ask
// about block models. It answers for BlocksDomain, makes its editors (BlocksEditor, through
// the studio application, with the domain's tools), and shares the studio's default domain
// implementation for the rest (its applications and the editors' context menu).
class KITE_EXAMPLE_BLOCKS_EXPORT BlocksDomainInterface : public KITE::KiteDomainInterface {
public:
    static const char* const noxTypeName; // "Blocks.Domain"

    explicit BlocksDomainInterface(PLATFORM::Studio* studio);

    const char* getFullyQualifiedNoxTypeName() const override;
    PLATFORM::AbstractDomain* getDomain() const override;
    // A BlocksEditor showing the diagram, made by the studio's studio application; null with
    // the error in a studio without one.
    KITE::Editor* createEditor(const KITE::Diagram& diagram, std::string name,
                               TAVI::ErrorHolder& errors) override;

protected:
    KITE::AbstractKiteDomain* getKiteDomain() const override;
};

} // namespace Blocks
