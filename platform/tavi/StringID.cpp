#include "platform/tavi/StringID.hpp"

#include <deque>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>

namespace TAVI {
namespace detail {

struct StringIDEntry {
    std::string text;
    std::size_t hash = 0;
    const StringIDEntry* folded = nullptr; // the entry of the lower-case text (maybe itself)
};

} // namespace detail

namespace {

using detail::StringIDEntry;

std::string foldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

// Entries live in a deque so their addresses never change; the map's keys view
// the entries' own text.
class InternTable {
public:
    static InternTable& instance() {
        // Never destroyed: StringIDs in other static objects may outlive any order of teardown.
        static InternTable* table = new InternTable;
        return *table;
    }

    const StringIDEntry* intern(std::string_view text) {
        {
            std::shared_lock lock(mutex);
            if (const StringIDEntry* found = lookup(text))
                return found;
        }
        std::unique_lock lock(mutex);
        return internLocked(text);
    }

    bool contains(std::string_view text) {
        std::shared_lock lock(mutex);
        return lookup(text) != nullptr;
    }

    const StringIDEntry* empty() {
        static const StringIDEntry* e = intern({});
        return e;
    }

private:
    const StringIDEntry* lookup(std::string_view text) const {
        const auto it = index.find(text);
        return it == index.end() ? nullptr : it->second;
    }

    const StringIDEntry* internLocked(std::string_view text) {
        if (const StringIDEntry* found = lookup(text))
            return found;
        const std::string folded = foldCase(text);
        const StringIDEntry* foldedEntry = nullptr;
        if (folded != text)
            foldedEntry = internLocked(folded);
        StringIDEntry& entry = entries.emplace_back();
        entry.text.assign(text);
        entry.hash = std::hash<std::string_view>{}(entry.text);
        entry.folded = foldedEntry ? foldedEntry : &entry;
        index.emplace(std::string_view(entry.text), &entry);
        return &entry;
    }

    std::shared_mutex mutex;
    std::deque<StringIDEntry> entries;
    std::unordered_map<std::string_view, const StringIDEntry*> index;
};

} // namespace

StringID::StringID() : entry(InternTable::instance().empty()) {}
StringID::StringID(std::string_view text) : entry(InternTable::instance().intern(text)) {}
StringID::StringID(const char* text)
    : entry(text ? InternTable::instance().intern(text) : InternTable::instance().empty()) {}
StringID::StringID(const std::string& text) : entry(InternTable::instance().intern(text)) {}

const std::string& StringID::getString() const {
    return entry->text;
}
bool StringID::isEmpty() const {
    return entry->text.empty();
}
std::size_t StringID::hash() const {
    return entry->hash;
}

bool StringID::equalsIgnoreCase(const StringID& other) const {
    return entry->folded == other.entry->folded;
}

bool StringID::operator<(const StringID& other) const {
    return entry != other.entry && entry->text < other.entry->text;
}

bool StringID::isInterned(std::string_view text) {
    return InternTable::instance().contains(text);
}

std::size_t gHash(const StringID& id) {
    return id.hash();
}

} // namespace TAVI
