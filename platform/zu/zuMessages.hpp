#pragma once

#include "platform/zu/zu_export.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Message tables of the host. A module registers a primary table of messages
// (numeric code, string id, English text with "%s" placeholders filled in
// order) and, per language, translations of the same codes whose placeholders
// are "%1", "%2", ... by position. Texts are produced in the current language
// ("en" unless switched), falling back to English when a code has no
// translation. Tables are copied when added; the table's address is its key
// for adding languages and for removal.

struct ZU_EXPORT ZuMessageEntry {
    std::uint32_t code;
    const char* id;
    const char* text;
};

struct ZU_EXPORT ZuTranslationEntry {
    std::uint32_t code;
    const char* text;
};

// The host's registry of message tables; there is one per process.
class ZuMemoryContext;

ZU_EXPORT ZuMemoryContext* zuGetMemoryContext();

// Adds a primary table. Returns false (and changes nothing) when the context is
// null or the same table is already registered. A code registered by several
// tables resolves to the table added last.
ZU_EXPORT bool zu_mem_add_primary_message_table(ZuMemoryContext* context,
                                                std::span<const ZuMessageEntry> table);

// Adds (or replaces) the translations of a registered primary table for one
// language such as "ja". Returns false when the table is not registered or the
// language is empty. Codes absent from the primary table are ignored.
ZU_EXPORT bool zu_mem_add_language(ZuMemoryContext* context, std::span<const ZuMessageEntry> table,
                                   std::string_view language,
                                   std::span<const ZuTranslationEntry> translations);

// Removes a primary table and its translations. Returns false when it was not registered.
ZU_EXPORT bool zu_mem_remove_primary_message_table(ZuMemoryContext* context,
                                                   std::span<const ZuMessageEntry> table);

// The language texts are produced in; "en" by default.
ZU_EXPORT void zuSetLanguage(std::string_view language);
ZU_EXPORT std::string zuGetLanguage();

// True when some registered table has the code.
ZU_EXPORT bool zuHasMessage(std::uint32_t code);

// The registered id of a code, or an empty string.
ZU_EXPORT std::string zuGetMessageId(std::uint32_t code);

// The text of a message in the current language with its arguments filled in.
// For a code that no table has, the text still names the id (or the code when
// the id is empty) and lists the arguments, so a report is never blank.
ZU_EXPORT std::string zuFormatMessage(std::uint32_t code, std::string_view id,
                                      const std::vector<std::string>& arguments);
