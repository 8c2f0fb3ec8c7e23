#pragma once

#include "platform/datamodel/Diagram.hpp"
#include "platform/veld/Report.hpp"

namespace KITE {

// One transaction's changes to a model's objects, each with its state before.
using ModelChangeReport = VELD::ReportOfChanges<VELD::ImmutableClassObject, true>;

// One transaction's changes to diagram elements, as the editor's observers hand them on.
using DiagramChangeReport = VELD::ReportOfChanges<DiagramElement, false>;

} // namespace KITE
