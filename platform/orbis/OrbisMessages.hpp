#pragma once

#include "platform/orbis/orbis_export.hpp"

#include <cstdint>
#include <string>

namespace TAVI {
class CodeLocation;
class ErrorHolder;
} // namespace TAVI

// The studio framework's message table (facility 0x87): the errors its
// operations report into a caller's ErrorHolder. Every message takes one
// argument, usually the name or value that was refused.
namespace PLATFORM {

namespace Messages {
inline constexpr std::uint32_t ObjectAlreadyRegistered = 0x870001;
inline constexpr std::uint32_t ServiceNotFound = 0x870002;
inline constexpr std::uint32_t ComponentNotFound = 0x870003;
inline constexpr std::uint32_t ComponentTypeNotFound = 0x870004;
inline constexpr std::uint32_t ComponentAlreadyPlaced = 0x870005;
inline constexpr std::uint32_t TabIndexOutOfRange = 0x870006;
inline constexpr std::uint32_t ContextMenuNotFound = 0x870007;
inline constexpr std::uint32_t ContextMenuItemNotFound = 0x870008;
inline constexpr std::uint32_t BadDockPosition = 0x870009;
inline constexpr std::uint32_t NullArgument = 0x87000a;
inline constexpr std::uint32_t ComponentNotCreated = 0x87000b;
inline constexpr std::uint32_t NoGuiApplication = 0x87000c;
inline constexpr std::uint32_t ScreenshotFailed = 0x87000d;
inline constexpr std::uint32_t ImageNotReadable = 0x87000e;
inline constexpr std::uint32_t DomainImplNotFound = 0x87000f;
inline constexpr std::uint32_t BadMenuDefinition = 0x870010;
inline constexpr std::uint32_t ComponentOfOtherStudio = 0x870011;
inline constexpr std::uint32_t StudioClosed = 0x870012;
inline constexpr std::uint32_t ApplicationInUse = 0x870013;
inline constexpr std::uint32_t WrongThread = 0x870014;
inline constexpr std::uint32_t DomainImplInProgress = 0x870015;
} // namespace Messages

// Registers the table (English and Japanese) with the host once; later calls do nothing.
ORBIS_EXPORT void registerOrbisMessages();

// Reports the message with that code into the holder, replacing what it held.
ORBIS_EXPORT void reportError(TAVI::ErrorHolder& errors, const TAVI::CodeLocation& location,
                              std::uint32_t code, const std::string& argument);

// The id of one of the codes above ("PLATFORM_ComponentNotFound"), or an empty string.
ORBIS_EXPORT std::string messageId(std::uint32_t code);

} // namespace PLATFORM
