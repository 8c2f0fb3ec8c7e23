#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <vector>

namespace TAVI {

// An ordered map with implicit sharing: copies share the data until one of
// them changes. insert() keeps one value per key; insertMulti() adds another
// value under a key (values of a key keep their insertion order). Keys are
// iterated in ascending order. Not for concurrent use of one instance.
template <typename K, typename V, typename Less = std::less<K>>
class GMap {
    using Data = std::multimap<K, V, Less>;

public:
    using const_iterator = typename Data::const_iterator;

    GMap() : d(std::make_shared<Data>()) {}

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
    std::size_t remove(const K& key) {
        if (!contains(key))
            return 0;
        detach();
        return d->erase(key);
    }
    void clear() { d = std::make_shared<Data>(); }

    // The first value of the key, or the default.
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
    std::vector<K> keys() const {
        std::vector<K> result;
        for (auto it = d->begin(); it != d->end(); it = d->upper_bound(it->first))
            result.push_back(it->first);
        return result;
    }

    const_iterator begin() const { return d->cbegin(); }
    const_iterator end() const { return d->cend(); }

    bool isSharedWith(const GMap& other) const { return d == other.d; }
    bool operator==(const GMap& other) const { return d == other.d || *d == *other.d; }

private:
    void detach() {
        if (d.use_count() > 1)
            d = std::make_shared<Data>(*d);
    }
    std::shared_ptr<Data> d;
};

} // namespace TAVI
