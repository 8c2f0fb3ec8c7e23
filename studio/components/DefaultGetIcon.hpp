#pragma once

#include "platform/datamodel/Diagram.hpp"
#include "studio/components/GetIconBase.hpp"
#include "studio/components/kite_presentation_export.hpp"

namespace KITE {

// The library's icons: diagrams show the model icon ("CorvidModelIcon.png", tag
// "KITE:Diagram"), every other object the block icon ("BlockIcon.png", tag
// "VELD:ClassObject") unless a nearer class has one; both under
// <installation root>/toolbox/shared/orbis/resources/. The default node is the block icon
// under the tag "KITE:Unknown".
class KITE_PRESENTATION_EXPORT DefaultGetIcon : public GetIconBase {
public:
    DefaultGetIcon();
    ~DefaultGetIcon() override;

    std::string visit(const VELD::ClassObject& object);
    std::string visit(const KITE::Diagram& diagram);

protected:
    explicit DefaultGetIcon(Table* table);
    void internalRegisterVisitableTypes() override;
    const IconNode& doGetDefaultIcon() override;
    void doPopulateIconStorageMap(IconStorageMap& map) override;
};

} // namespace KITE
