#include "platform/zu/zuMessages.hpp"

#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

struct MessageRow {
    std::string id;
    std::string text;
};

struct MessageTable {
    const void* key = nullptr;
    std::unordered_map<std::uint32_t, MessageRow> rows;
    std::map<std::string, std::unordered_map<std::uint32_t, std::string>, std::less<>> languages;
};

// English: "%s" takes the next argument, "%%" is a percent sign.
std::string fillSequential(const std::string& text, const std::vector<std::string>& arguments) {
    std::string out;
    out.reserve(text.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size()) {
            if (text[i + 1] == 's') {
                // A missing argument leaves the placeholder visible instead of reading past the
                // list.
                out += next < arguments.size() ? arguments[next] : std::string("%s");
                ++next;
                ++i;
                continue;
            }
            if (text[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// Translations: "%1".."%9" pick an argument by position, "%%" is a percent sign.
std::string fillPositional(const std::string& text, const std::vector<std::string>& arguments) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size()) {
            const char c = text[i + 1];
            if (c >= '1' && c <= '9') {
                const std::size_t index = static_cast<std::size_t>(c - '1');
                out += index < arguments.size() ? arguments[index] : text.substr(i, 2);
                ++i;
                continue;
            }
            if (c == '%') {
                out += '%';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string hexCode(std::uint32_t code) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%06x", code);
    return buffer;
}

} // namespace

class ZuMemoryContext {
public:
    std::mutex mutex;
    std::vector<std::unique_ptr<MessageTable>> tables; // in order of addition
    std::string language = "en";

    MessageTable* find(const void* key) {
        for (auto& table : tables)
            if (table->key == key)
                return table.get();
        return nullptr;
    }

    // The table added last wins, so a module can override an older text.
    const MessageTable* tableFor(std::uint32_t code) const {
        for (auto it = tables.rbegin(); it != tables.rend(); ++it)
            if ((*it)->rows.count(code))
                return it->get();
        return nullptr;
    }
};

ZuMemoryContext* zuGetMemoryContext() {
    static ZuMemoryContext context;
    return &context;
}

bool zu_mem_add_primary_message_table(ZuMemoryContext* context,
                                      std::span<const ZuMessageEntry> table) {
    if (!context || table.empty())
        return false;
    std::lock_guard lock(context->mutex);
    if (context->find(table.data()))
        return false;
    auto copy = std::make_unique<MessageTable>();
    copy->key = table.data();
    for (const ZuMessageEntry& entry : table)
        copy->rows[entry.code] = MessageRow{entry.id ? entry.id : "", entry.text ? entry.text : ""};
    context->tables.push_back(std::move(copy));
    return true;
}

bool zu_mem_add_language(ZuMemoryContext* context, std::span<const ZuMessageEntry> table,
                         std::string_view language,
                         std::span<const ZuTranslationEntry> translations) {
    if (!context || language.empty())
        return false;
    std::lock_guard lock(context->mutex);
    MessageTable* registered = context->find(table.data());
    if (!registered)
        return false;
    std::unordered_map<std::uint32_t, std::string> texts;
    for (const ZuTranslationEntry& entry : translations)
        if (registered->rows.count(entry.code) && entry.text)
            texts[entry.code] = entry.text;
    registered->languages[std::string(language)] = std::move(texts);
    return true;
}

bool zu_mem_remove_primary_message_table(ZuMemoryContext* context,
                                         std::span<const ZuMessageEntry> table) {
    if (!context)
        return false;
    std::lock_guard lock(context->mutex);
    for (auto it = context->tables.begin(); it != context->tables.end(); ++it) {
        if ((*it)->key == table.data()) {
            context->tables.erase(it);
            return true;
        }
    }
    return false;
}

void zuSetLanguage(std::string_view language) {
    ZuMemoryContext* context = zuGetMemoryContext();
    std::lock_guard lock(context->mutex);
    context->language = language.empty() ? std::string("en") : std::string(language);
}

std::string zuGetLanguage() {
    ZuMemoryContext* context = zuGetMemoryContext();
    std::lock_guard lock(context->mutex);
    return context->language;
}

bool zuHasMessage(std::uint32_t code) {
    ZuMemoryContext* context = zuGetMemoryContext();
    std::lock_guard lock(context->mutex);
    return context->tableFor(code) != nullptr;
}

std::string zuGetMessageId(std::uint32_t code) {
    ZuMemoryContext* context = zuGetMemoryContext();
    std::lock_guard lock(context->mutex);
    const MessageTable* table = context->tableFor(code);
    return table ? table->rows.at(code).id : std::string();
}

std::string zuFormatMessage(std::uint32_t code, std::string_view id,
                            const std::vector<std::string>& arguments) {
    ZuMemoryContext* context = zuGetMemoryContext();
    std::unique_lock lock(context->mutex);
    if (const MessageTable* table = context->tableFor(code)) {
        const auto language = table->languages.find(context->language);
        if (language != table->languages.end()) {
            const auto text = language->second.find(code);
            if (text != language->second.end())
                return fillPositional(text->second, arguments);
        }
        return fillSequential(table->rows.at(code).text, arguments);
    }
    lock.unlock();

    std::string text = id.empty() ? std::string("Message ") + hexCode(code) : std::string(id);
    text += " (no message text registered for code " + hexCode(code) + ")";
    for (std::size_t i = 0; i < arguments.size(); ++i)
        text += (i == 0 ? ": '" : ", '") + arguments[i] + "'";
    return text;
}
