#pragma once

#include "platform/veld/ClassObject.hpp"
#include "studio/components/ElementIsEditableObjectBase.hpp"
#include "studio/components/kite_presentation_export.hpp"

namespace KITE {

// An object is editable in place exactly when its own "name" attribute holds a non-empty text.
class KITE_PRESENTATION_EXPORT DefaultElementIsEditableObject : public ElementIsEditableObjectBase {
public:
    DefaultElementIsEditableObject();
    ~DefaultElementIsEditableObject() override;

    bool visit(const VELD::ClassObject& object, unsigned int flag);

protected:
    explicit DefaultElementIsEditableObject(Table* table);
    void internalRegisterDescribableTypes() override;
};

} // namespace KITE
