#include "platform/datamodel/ChangeReports.hpp"

#include "platform/veld/Meta.hpp"

namespace KITE {

bool changesMoreThanDiagramElements(const ModelChangeReport* report) {
    if (!report || !report->getAdded().empty() || !report->getRemoved().empty())
        return true;
    const VELD::ImmutableSequence<VELD::ImmutableClassObject> modified = report->getModified();
    if (modified.empty())
        return true; // nothing listed: the caller cannot tell what changed
    const VELD::ImmutableClass element = ImmutableDiagramElement::MetaClass();
    for (const VELD::ImmutableClassObject& object : modified)
        if (!VELD::isa(object.getMetaClass(), element))
            return true;
    return false;
}

} // namespace KITE
