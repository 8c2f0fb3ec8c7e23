#pragma once

#include "platform/veld/Asserter.hpp"
#include "platform/veld/veld_export.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace VELD {

namespace detail {
inline constexpr const char* kNullSequence =
    "Cannot access NULL sequence. Use MakeSequence to create sequences.";
inline constexpr const char* kOutOfBounds = "sequence index out of bounds";
inline constexpr const char* kNegativeIndex = "sequence index must be positive";
inline constexpr const char* kEmpty = "sequence is empty";
inline constexpr const char* kFilteredInsert = "insertion not supported by filtered sequence";

// What a sequence is: a list, a unique list, a view bound to a property, a filter.
template <typename T> class SequenceImpl {
public:
    virtual ~SequenceImpl() = default;
    virtual int size() const = 0;
    virtual T at(int index) const = 0; // index checked by the caller
    virtual bool insert(int index, const T& value) = 0;
    virtual void erase(int index) = 0;
    virtual void clear() = 0;
    virtual int indexOf(const T& value) const {
        const int n = size();
        for (int i = 0; i < n; ++i)
            if (at(i) == value)
                return i;
        return -1;
    }
    virtual bool contains(const T& value) const { return indexOf(value) >= 0; }
    virtual bool readOnly() const { return false; }
    virtual const char* readOnlyMessage() const { return kFilteredInsert; }
    // Changes whenever the elements change; 0 when the sequence cannot tell (it follows
    // something else, such as the model).
    virtual std::uint64_t version() const { return 0; }
};

// How a unique list indexes its elements: by their own hash() (kernel handles of every kind),
// else by std::hash; types with neither are searched.
template <typename T, typename = void> struct HasOwnHash : std::false_type {};
template <typename T>
struct HasOwnHash<T, std::void_t<decltype(std::declval<const T&>().hash())>> : std::true_type {};
template <typename T, typename = void> struct HasStdHash : std::false_type {};
template <typename T>
struct HasStdHash<T, std::void_t<decltype(std::hash<T>()(std::declval<const T&>()))>>
    : std::true_type {};
template <typename T>
struct IsHashable : std::bool_constant<HasOwnHash<T>::value || HasStdHash<T>::value> {};
template <typename T> struct ElementHash {
    std::size_t operator()(const T& v) const {
        if constexpr (HasOwnHash<T>::value)
            return v.hash();
        else
            return std::hash<T>()(v);
    }
};

template <typename T> class ListImpl : public SequenceImpl<T> {
public:
    explicit ListImpl(bool unique) : uniqueItems(unique) {}
    int size() const override { return static_cast<int>(items.size()); }
    T at(int index) const override { return items[index]; }
    bool insert(int index, const T& value) override {
        if (uniqueItems && contains(value))
            return false; // identity-indexed: each element at most once
        items.insert(items.begin() + index, value);
        if constexpr (IsHashable<T>::value)
            if (uniqueItems)
                lookup.insert(value);
        ++currentVersion;
        return true;
    }
    void erase(int index) override {
        if constexpr (IsHashable<T>::value)
            if (uniqueItems)
                lookup.erase(items[index]);
        items.erase(items.begin() + index);
        ++currentVersion;
    }
    void clear() override {
        items.clear();
        if constexpr (IsHashable<T>::value)
            lookup.clear();
        ++currentVersion;
    }
    int indexOf(const T& value) const override {
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i] == value)
                return static_cast<int>(i);
        return -1;
    }
    bool contains(const T& value) const override {
        if constexpr (IsHashable<T>::value)
            if (uniqueItems)
                return lookup.count(value) > 0;
        return indexOf(value) >= 0;
    }
    std::uint64_t version() const override { return currentVersion; }
    void reserve(std::size_t n) { items.reserve(n); }
    void push(T value) {
        if constexpr (IsHashable<T>::value)
            if (uniqueItems)
                lookup.insert(value);
        items.push_back(std::move(value));
        ++currentVersion;
    }

private:
    struct NoIndex {};
    using Index = std::conditional_t<IsHashable<T>::value,
                                     std::unordered_multiset<T, ElementHash<T>>, NoIndex>;
    bool uniqueItems;
    std::vector<T> items;
    Index lookup; // the items by hash, for unique lists
    std::uint64_t currentVersion = 1;
};

template <typename T> class FilteredImpl : public SequenceImpl<T> {
public:
    FilteredImpl(std::shared_ptr<SequenceImpl<T>> base, std::function<bool(const T&)> keep)
        : source(std::move(base)), predicate(std::move(keep)) {}
    int size() const override { return static_cast<int>(positions().size()); }
    T at(int index) const override { return source->at(positions()[index]); }
    bool insert(int, const T&) override { return false; }
    void erase(int) override {}
    void clear() override {}
    bool readOnly() const override { return true; }

private:
    // The view follows its base: positions are kept only while the base reports no change,
    // and recomputed on each access for a base that cannot tell.
    const std::vector<int>& positions() const {
        const std::uint64_t v = source ? source->version() : 1;
        if (v != 0 && v == cachedVersion)
            return cached;
        cached.clear();
        const int n = source ? source->size() : 0;
        for (int i = 0; i < n; ++i)
            if (predicate(source->at(i)))
                cached.push_back(i);
        cachedVersion = v;
        return cached;
    }
    std::shared_ptr<SequenceImpl<T>> source;
    std::function<bool(const T&)> predicate;
    mutable std::vector<int> cached;
    mutable std::uint64_t cachedVersion = 0;
};
} // namespace detail

// A read-only sequence of values or handles. A default-constructed sequence is the null
// sequence: using it is reported through the kernel's asserter and yields nothing.
template <typename T> class ImmutableSequence {
public:
    ImmutableSequence() = default;
    explicit ImmutableSequence(std::shared_ptr<detail::SequenceImpl<T>> impl)
        : implementation(std::move(impl)) {}

    bool isNull() const { return !implementation; }
    int size() const { return check() ? implementation->size() : 0; }
    bool empty() const { return size() == 0; }
    bool isEmpty() const { return empty(); }

    T at(int index) const {
        if (!checkIndex(index, false))
            return T();
        return implementation->at(index);
    }
    T operator[](int index) const { return at(index); }
    T front() const { return checkNotEmpty() ? implementation->at(0) : T(); }
    T back() const {
        return checkNotEmpty() ? implementation->at(implementation->size() - 1) : T();
    }
    bool contains(const T& value) const { return check() && implementation->contains(value); }
    int indexOf(const T& value) const { return check() ? implementation->indexOf(value) : -1; }

    class const_iterator {
    public:
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        const_iterator(const ImmutableSequence* s, int i) : sequence(s), position(i) {}
        // Checked: the loop's end is fixed when it begins, and the body may shorten the sequence.
        T operator*() const { return sequence->at(position); }
        const_iterator& operator++() {
            ++position;
            return *this;
        }
        bool operator==(const const_iterator& o) const { return position == o.position; }
        bool operator!=(const const_iterator& o) const { return position != o.position; }

    private:
        const ImmutableSequence* sequence;
        int position;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    std::vector<T> toVector() const {
        std::vector<T> out;
        for (T v : *this)
            out.push_back(v);
        return out;
    }

    const std::shared_ptr<detail::SequenceImpl<T>>& impl() const { return implementation; }

protected:
    bool check() const {
        if (implementation)
            return true;
        VELD_ASSERT(implementation, detail::kNullSequence);
        return false;
    }
    bool checkIndex(int index, bool forInsert) const {
        if (!check())
            return false;
        if (index < 0) {
            VELD_ASSERT(index >= 0, detail::kNegativeIndex);
            return false;
        }
        const int limit = implementation->size() + (forInsert ? 1 : 0);
        if (index >= limit) {
            VELD_ASSERT(index < limit, detail::kOutOfBounds);
            return false;
        }
        return true;
    }
    bool checkNotEmpty() const {
        if (!check())
            return false;
        if (implementation->size() == 0) {
            VELD_ASSERT(implementation->size() > 0, detail::kEmpty);
            return false;
        }
        return true;
    }
    bool checkWritable() const {
        if (!check())
            return false;
        if (implementation->readOnly()) {
            VELD_ASSERT(!implementation->readOnly(), implementation->readOnlyMessage());
            return false;
        }
        return true;
    }

    std::shared_ptr<detail::SequenceImpl<T>> implementation;
};

// A sequence that can be changed. Copies share the same elements.
template <typename T> class Sequence : public ImmutableSequence<T> {
public:
    Sequence() = default;
    explicit Sequence(std::shared_ptr<detail::SequenceImpl<T>> impl)
        : ImmutableSequence<T>(std::move(impl)) {}

    // Returns false when a unique sequence has the value already.
    bool append(const T& value) const {
        return this->checkWritable() &&
               this->implementation->insert(this->implementation->size(), value);
    }
    bool push_back(const T& value) const { return append(value); }
    bool insert(int index, const T& value) const {
        return this->checkWritable() && this->checkIndex(index, true) &&
               this->implementation->insert(index, value);
    }
    void erase(int index) const {
        if (this->checkWritable() && this->checkIndex(index, false))
            this->implementation->erase(index);
    }
    // Removes the first occurrence; false when there is none.
    bool remove(const T& value) const {
        if (!this->checkWritable())
            return false;
        const int i = this->implementation->indexOf(value);
        if (i < 0)
            return false;
        this->implementation->erase(i);
        return true;
    }
    void clear() const {
        if (this->checkWritable())
            this->implementation->clear();
    }
};

class VELD_EXPORT MakeSequence {
public:
    // A list, or (unique) a list in which each element, by identity, appears at most once.
    template <typename T> static Sequence<T> create(bool unique = false) {
        return Sequence<T>(std::make_shared<detail::ListImpl<T>>(unique));
    }
    template <typename T> static Sequence<T> createUnique() { return create<T>(true); }
    // A read-only view of base with the elements for which keep is true; it follows base.
    template <typename T>
    static ImmutableSequence<T> filter(const ImmutableSequence<T>& base,
                                       std::function<bool(const T&)> keep) {
        return ImmutableSequence<T>(
            std::make_shared<detail::FilteredImpl<T>>(base.impl(), std::move(keep)));
    }
    // The empty sequence shared by everyone; it cannot be changed.
    template <typename T> static ImmutableSequence<T> empty() {
        static const ImmutableSequence<T> none(
            std::make_shared<detail::FilteredImpl<T>>(nullptr, [](const T&) { return false; }));
        return none;
    }
};

} // namespace VELD
