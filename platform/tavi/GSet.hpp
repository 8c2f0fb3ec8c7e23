#pragma once

#include "platform/tavi/GHash.hpp"

#include <initializer_list>
#include <memory>
#include <unordered_set>
#include <vector>

namespace TAVI {

// A hashed set (hashed with gHash) with implicit sharing: copies share the data
// until one of them changes. Not for concurrent use of one instance.
template <typename T> class GSet {
    using Data = std::unordered_set<T, GHasher>;

public:
    using const_iterator = typename Data::const_iterator;

    GSet() : d(std::make_shared<Data>()) {}
    GSet(std::initializer_list<T> values) : d(std::make_shared<Data>(values)) {}

    std::size_t size() const { return d->size(); }
    bool isEmpty() const { return d->empty(); }
    bool contains(const T& value) const { return d->count(value) != 0; }

    // False when the value was there already.
    bool insert(const T& value) {
        if (contains(value))
            return false;
        detach();
        return d->insert(value).second;
    }
    bool remove(const T& value) {
        if (!contains(value))
            return false;
        detach();
        return d->erase(value) != 0;
    }
    void clear() { d = std::make_shared<Data>(); }

    GSet& unite(const GSet& other) {
        for (const T& value : other)
            insert(value);
        return *this;
    }
    std::vector<T> values() const { return std::vector<T>(d->begin(), d->end()); }

    const_iterator begin() const { return d->cbegin(); }
    const_iterator end() const { return d->cend(); }

    bool isSharedWith(const GSet& other) const { return d == other.d; }
    bool operator==(const GSet& other) const { return d == other.d || *d == *other.d; }

private:
    void detach() {
        if (d.use_count() > 1)
            d = std::make_shared<Data>(*d);
    }
    std::shared_ptr<Data> d;
};

} // namespace TAVI
