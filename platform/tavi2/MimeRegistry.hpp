#pragma once

#include "platform/tavi2/tavi2_export.hpp"

#include <string>
#include <vector>

namespace TAVI {

// The data formats that drags between the process's widgets carry. Registering names a format
// once for the process; sources and drop sites then agree on it by name. Safe from any thread.
class TAVI2_EXPORT MimeRegistry {
public:
    // Registers a format ("application/x-kite-element"); registering it again is harmless.
    // Returns false, registering nothing, for a name that is empty or is not "type/subtype".
    static bool registerMimeType(const std::string& format);
    static bool isRegistered(const std::string& format);
    // In the order of registration.
    static std::vector<std::string> getRegisteredTypes();
};

} // namespace TAVI
