#pragma once

#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"
#include "platform/tavi/SimpleErrorDescription.hpp"
#include "platform/tavi/StringID.hpp"

#include <unordered_map>
#include <vector>

namespace TAVI {

// One entry of a factory: makes a product from the factory's construction argument.
template <typename Product, typename Arg>
class RegisteredClassCreator : public ReferencedTemplate<unsigned int> {
public:
    // A new product owned by the caller, or null when it cannot be made.
    virtual Product* create(Arg argument) const = 0;
};

// The creator of a concrete class constructible from the argument.
template <typename Concrete, typename Product, typename Arg>
class ClassCreator : public RegisteredClassCreator<Product, Arg> {
public:
    Product* create(Arg argument) const override { return new Concrete(argument); }
};

// A factory of products keyed by StringID, each made from one construction
// argument by the creator registered under its key. Errors: registering a key
// that is taken (TAVI_FactoryKeyTaken) or a null creator (TAVI_NullCreator),
// creating with a key that has no creator (TAVI_FactoryKeyNotFound).
template <typename Product, typename Arg> class AbstractFactory {
public:
    using Creator = RegisteredClassCreator<Product, Arg>;

    virtual ~AbstractFactory() = default;

    bool registerCreator(const StringID& key, const Holder<Creator>& creator, ErrorHolder& errors) {
        if (!creator) {
            errors.setError(SimpleErrorDescription(
                TAVI_HERE,
                "AbstractFactory::registerCreator: null creator for '" + key.getString() + "'",
                "TAVI_NullCreator"));
            return false;
        }
        if (creators.count(key)) {
            errors.setError(SimpleErrorDescription(
                TAVI_HERE, "A creator is already registered for '" + key.getString() + "'",
                "TAVI_FactoryKeyTaken"));
            return false;
        }
        creators.emplace(key, creator);
        order.push_back(key);
        return true;
    }

    // False when nothing was registered under the key.
    bool unregisterCreator(const StringID& key) {
        if (!creators.erase(key))
            return false;
        std::erase(order, key);
        return true;
    }

    bool hasCreator(const StringID& key) const { return creators.count(key) != 0; }
    Holder<Creator> getCreator(const StringID& key) const {
        const auto it = creators.find(key);
        return it == creators.end() ? Holder<Creator>() : it->second;
    }
    // Keys in the order they were registered.
    const std::vector<StringID>& keys() const { return order; }

    Product* create(const StringID& key, Arg argument, ErrorHolder& errors) const {
        const auto it = creators.find(key);
        if (it == creators.end()) {
            errors.setError(SimpleErrorDescription(
                TAVI_HERE, "No creator is registered for '" + key.getString() + "'",
                "TAVI_FactoryKeyNotFound"));
            return nullptr;
        }
        // Hold the creator: making the product may unregister it.
        const Holder<Creator> creator = it->second;
        return creator->create(argument);
    }

private:
    std::unordered_map<StringID, Holder<Creator>> creators;
    std::vector<StringID> order;
};

} // namespace TAVI
