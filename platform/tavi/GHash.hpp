#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace TAVI {

// Hash functions for the toolkit's hashed containers. Other types join by
// declaring gHash(const T&) in their own namespace (found by argument lookup).
inline std::size_t gHash(std::string_view text) { return std::hash<std::string_view>()(text); }
inline std::size_t gHash(const std::string& text) { return std::hash<std::string>()(text); }
template <typename T, typename = std::enable_if_t<std::is_arithmetic_v<T> || std::is_enum_v<T>>>
std::size_t gHash(T value) { return std::hash<T>()(value); }
template <typename T>
std::size_t gHash(T* pointer) { return std::hash<T*>()(pointer); }

struct GHasher {
    template <typename T>
    std::size_t operator()(const T& value) const { return gHash(value); }
};

// A hashed map with implicit sharing: copies are cheap and share the data until
// one of them changes. insert() keeps one value per key (replacing the others);
// insertMulti() adds another value under a key. Not for concurrent use of one
// instance; separate copies may be used on separate threads.
template <typename K, typename V>
class GHash {
    using Data = std::unordered_multimap<K, V, GHasher>;

public:
    using const_iterator = typename Data::const_iterator;

    GHash() : d(std::make_shared<Data>()) {}

    std::size_t size() const { return d->size(); }
    bool isEmpty() const { return d->empty(); }
    bool contains(const K& key) const { return d->find(key) != d->end(); }
    std::size_t count(const K& key) const { return d->count(key); }

    void insert(const K& key, const V& value) {
        detach();
        d->erase(key);
        d->emplace(key, value);
    }
    void insertMulti(const K& key, const V& value) {
        detach();
        d->emplace(key, value);
    }
    // Number of values removed.
    std::size_t remove(const K& key) {
        if (!contains(key))
            return 0;
        detach();
        return d->erase(key);
    }
    void clear() { d = std::make_shared<Data>(); }

    // A value of the key (the one, for single-valued keys), or the default.
    V value(const K& key, const V& defaultValue = V()) const {
        const auto it = d->find(key);
        return it == d->end() ? defaultValue : it->second;
    }
    std::vector<V> values(const K& key) const {
        std::vector<V> result;
        const auto range = d->equal_range(key);
        for (auto it = range.first; it != range.second; ++it)
            result.push_back(it->second);
        return result;
    }
    // Each key once.
    std::vector<K> keys() const {
        std::vector<K> result;
        for (auto it = d->begin(); it != d->end(); it = d->equal_range(it->first).second)
            result.push_back(it->first);
        return result;
    }

    const_iterator begin() const { return d->cbegin(); }
    const_iterator end() const { return d->cend(); }

    bool isSharedWith(const GHash& other) const { return d == other.d; }
    bool operator==(const GHash& other) const { return d == other.d || *d == *other.d; }

private:
    void detach() {
        if (d.use_count() > 1)
            d = std::make_shared<Data>(*d);
    }
    std::shared_ptr<Data> d;
};

} // namespace TAVI
