#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace TAVI {

// A list with implicit sharing: copies share the data until one of them
// changes. Indexing out of range throws std::out_of_range rather than reading
// past the end. Not for concurrent use of one instance.
template <typename T> class GList {
    using Data = std::vector<T>;

public:
    using const_iterator = typename Data::const_iterator;
    using value_type = T;

    GList() : d(std::make_shared<Data>()) {}
    GList(std::initializer_list<T> values) : d(std::make_shared<Data>(values)) {}
    explicit GList(std::vector<T> values) : d(std::make_shared<Data>(std::move(values))) {}

    std::size_t size() const { return d->size(); }
    bool isEmpty() const { return d->empty(); }

    const T& at(std::size_t i) const { return d->at(i); }
    const T& operator[](std::size_t i) const { return d->at(i); }
    const T& first() const { return at(0); }
    const T& last() const {
        if (d->empty())
            throw std::out_of_range("GList::last: the list is empty");
        return d->back();
    }

    void append(const T& value) {
        detach();
        d->push_back(value);
    }
    void push_back(const T& value) { append(value); }
    void prepend(const T& value) { insert(0, value); }
    // Inserts before index i; i == size() appends.
    void insert(std::size_t i, const T& value) {
        if (i > d->size())
            throw std::out_of_range("GList::insert: index " + std::to_string(i) + " past the end");
        detach();
        d->insert(d->begin() + static_cast<std::ptrdiff_t>(i), value);
    }
    void replace(std::size_t i, const T& value) {
        if (i >= d->size())
            throw std::out_of_range("GList::replace: index " + std::to_string(i) + " out of range");
        detach();
        (*d)[i] = value;
    }
    void removeAt(std::size_t i) {
        if (i >= d->size())
            throw std::out_of_range("GList::removeAt: index " + std::to_string(i) +
                                    " out of range");
        detach();
        d->erase(d->begin() + static_cast<std::ptrdiff_t>(i));
    }
    // Number of elements removed.
    std::size_t removeAll(const T& value) {
        if (!contains(value))
            return 0;
        detach();
        const auto from = std::remove(d->begin(), d->end(), value);
        const auto removed = static_cast<std::size_t>(d->end() - from);
        d->erase(from, d->end());
        return removed;
    }
    void clear() { d = std::make_shared<Data>(); }

    bool contains(const T& value) const {
        return std::find(d->begin(), d->end(), value) != d->end();
    }
    // -1 when absent.
    long indexOf(const T& value) const {
        const auto it = std::find(d->begin(), d->end(), value);
        return it == d->end() ? -1 : static_cast<long>(it - d->begin());
    }

    const_iterator begin() const { return d->cbegin(); }
    const_iterator end() const { return d->cend(); }
    const std::vector<T>& toStdVector() const { return *d; }

    GList& operator<<(const T& value) {
        append(value);
        return *this;
    }
    bool isSharedWith(const GList& other) const { return d == other.d; }
    bool operator==(const GList& other) const { return d == other.d || *d == *other.d; }

private:
    void detach() {
        if (d.use_count() > 1)
            d = std::make_shared<Data>(*d);
    }
    std::shared_ptr<Data> d;
};

} // namespace TAVI
