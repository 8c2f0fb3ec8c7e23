#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace TAVI::detail {

// The implicitly shared multi-map behind GHash and GMap: copies share the data until one of
// them changes. insert() keeps one value per key; insertMulti() adds another value under a
// key. Not for concurrent use of one instance; separate copies may be used on separate threads.
template <typename Data> class SharedMultiMap {
public:
    using key_type = typename Data::key_type;
    using mapped_type = typename Data::mapped_type;
    using const_iterator = typename Data::const_iterator;

    SharedMultiMap() : d(std::make_shared<Data>()) {}

    std::size_t size() const { return d->size(); }
    bool isEmpty() const { return d->empty(); }
    bool contains(const key_type& key) const { return d->find(key) != d->end(); }
    std::size_t count(const key_type& key) const { return d->count(key); }

    void insert(const key_type& key, const mapped_type& value) {
        detach();
        d->erase(key);
        d->emplace(key, value);
    }
    void insertMulti(const key_type& key, const mapped_type& value) {
        detach();
        d->emplace(key, value);
    }
    // Number of values removed.
    std::size_t remove(const key_type& key) {
        if (!contains(key))
            return 0;
        detach();
        return d->erase(key);
    }
    void clear() { d = std::make_shared<Data>(); }

    // A value of the key (the first, for several), or the default.
    mapped_type value(const key_type& key, const mapped_type& defaultValue = mapped_type()) const {
        const auto it = d->find(key);
        return it == d->end() ? defaultValue : it->second;
    }
    std::vector<mapped_type> values(const key_type& key) const {
        std::vector<mapped_type> result;
        const auto range = d->equal_range(key);
        for (auto it = range.first; it != range.second; ++it)
            result.push_back(it->second);
        return result;
    }
    // Each key once.
    std::vector<key_type> keys() const {
        std::vector<key_type> result;
        for (auto it = d->begin(); it != d->end(); it = d->equal_range(it->first).second)
            result.push_back(it->first);
        return result;
    }

    const_iterator begin() const { return d->cbegin(); }
    const_iterator end() const { return d->cend(); }

    bool isSharedWith(const SharedMultiMap& other) const { return d == other.d; }
    bool operator==(const SharedMultiMap& other) const { return d == other.d || *d == *other.d; }

private:
    void detach() {
        if (d.use_count() > 1)
            d = std::make_shared<Data>(*d);
    }
    std::shared_ptr<Data> d;
};

} // namespace TAVI::detail
