#pragma once

#include "studio/components/ElementSetDescriptionBase.hpp"
#include "studio/components/kite_presentation_export.hpp"

namespace KITE {

// Stores the text in the object's "name" attribute (inherited ones included), converted to
// the attribute's type; does nothing for a class without one.
class KITE_PRESENTATION_EXPORT DefaultElementSetDescription : public ElementSetDescriptionBase {
public:
    DefaultElementSetDescription();
    ~DefaultElementSetDescription() override;

    void visit(const VELD::ClassObject& object, const std::string& text);

protected:
    explicit DefaultElementSetDescription(Table* table);
    void internalRegisterDescribableTypes() override;
};

} // namespace KITE
