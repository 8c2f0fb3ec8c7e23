#pragma once

#include "platform/veld/Veld.hpp"

#include <string>
#include <vector>

// A small meta-model for the kernel's tests: a system of blocks, nested blocks and links.
struct Sample {
    VELD::ImmutableNamespace package;
    VELD::ImmutableClass system, block, link, special;
    VELD::ImmutableProperty name, blocks, links, x, y, children, target, color, tags, count, serial,
        childCount, src, dst, flag, limit;

    static const Sample& get();
    static constexpr const char* uri = "test:lib";

    // A new model with its root System in it, and the factory.
    VELD::Model newModel() const { return VELD::DomainRegistry::instance().createModel(uri); }
    VELD::ClassObject makeBlock(const VELD::Model& m, const std::string& blockName,
                                double px = 0) const;
};

// Runs change in a transaction on the deviant and commits it.
template <class F> void commit(const VELD::Model& deviant, F&& change) {
    VELD::Transaction t(deviant);
    change();
    t.commit();
}
template <class F> void commit(const VELD::Model& deviant, const char* name, F&& change) {
    VELD::Transaction t(deviant, name);
    change();
    t.commit();
}

// The messages the kernel's asserter has reported, oldest first.
inline std::vector<std::string> asserterMessages() {
    std::vector<std::string> out;
    for (const auto& r : VELD::Asserter::reports())
        out.push_back(r.message);
    return out;
}
