#pragma once

#include "platform/datamodel/Diagram.hpp"
#include "platform/datamodel/kite_datamodel_export.hpp"
#include "platform/veld/Report.hpp"

namespace KITE {

// One transaction's changes to a model's objects, each with its state before.
using ModelChangeReport = VELD::ReportOfChanges<VELD::ImmutableClassObject, true>;

// One transaction's changes to diagram elements, as the editor's observers hand them on.
using DiagramChangeReport = VELD::ReportOfChanges<DiagramElement, false>;

// Whether views of a model's objects (a tree, a property browser) must rebuild after the
// report: yes for a missing or empty report, for any object added or removed, and for any
// modified object that is not a diagram element. Moving and resizing diagram elements alone
// changes nothing such views show.
KITE_DATAMODEL_EXPORT bool changesMoreThanDiagramElements(const ModelChangeReport* report);

} // namespace KITE
