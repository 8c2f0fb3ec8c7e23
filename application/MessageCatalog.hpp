#pragma once

#include "application/kite_application_export.hpp"
#include "platform/tavi/CodeLocation.hpp"

#include <cstdint>
#include <string>

namespace TAVI {
class ErrorHolder;
}

namespace KITE {

// The library's messages: facility 0x6e in the upper 16 bits, the message number below.
enum class Message : std::uint32_t {
    CannotFindTabForEditor = 0x6e0001,
    DomainAlreadyRegistered = 0x6e0002,
    DomainNotFound = 0x6e0003,
    DomainNotFoundForModelType = 0x6e0004,
    IncompatibleDomain = 0x6e0005,
    ErrorExecutingCommand = 0x6e0006,
    GlyphAlreadyExists = 0x6e0007,
};

// The id of a message ("KITE_DomainNotFound").
KITE_APPLICATION_EXPORT const char* messageId(Message message);

// Registers the catalog with the host's message tables, English and Japanese ("ja").
// Registering again changes nothing; returns whether the catalog is registered afterwards.
KITE_APPLICATION_EXPORT bool registerMessageCatalog();

// Puts a catalog error (id, code, location, one argument) into errors, replacing what it held.
KITE_APPLICATION_EXPORT void reportError(TAVI::ErrorHolder& errors,
                                         const TAVI::CodeLocation& location, Message message,
                                         const std::string& argument = std::string());

} // namespace KITE
