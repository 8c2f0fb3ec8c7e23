#pragma once

#include "platform/tavi/Holder.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"
#include "platform/tavi/tavi_util_export.hpp"

namespace TAVI {

// Lets go of the hold once control is back in the event loop, as Qt's deleteLater does for
// its objects: for counted objects whose code (or whose caller's code) is still on the stack
// when their last holder goes. Without a QCoreApplication there is no loop to wait for, and
// the hold goes at once. User-interface thread only.
TAVI_UTIL_EXPORT void releaseLater(Holder<Referenced> hold);

} // namespace TAVI
