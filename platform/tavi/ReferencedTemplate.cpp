#include "platform/tavi/ReferencedTemplate.hpp"

#include "platform/zu/zuAssert.hpp"

#include <string>

namespace TAVI {

void reportReferencedObjectDestroyedWhileHeld(unsigned long count) {
    zu_assertstr(count == 0,
                 "a reference-counted object was deleted while holders still refer to it",
                 std::to_string(count) + " holder(s)");
}

} // namespace TAVI
