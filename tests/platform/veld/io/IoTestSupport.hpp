#pragma once

#include "platform/veld/Veld.hpp"
#include "tests/platform/veld/SampleMetaModel.hpp"

#include <gtest/gtest.h>

#include <string>

// A meta-model that exercises everything a file holds: every primitive type, enumerations,
// multi-valued values and references, single and multi containment, and diagram elements.
struct IoMeta {
    static constexpr const char* uri = "test:io";
    VELD::ImmutableClass doc, item, box, wire;
    VELD::ImmutableProperty title, items, diagrams, favourite, pinned;
    VELD::ImmutableProperty label, weight, weights, mood, moods, next, peers, parts, spare, count,
        big, on, tags, code;

    static const IoMeta& get();
    VELD::Model newModel() const { return VELD::DomainRegistry::instance().createModel(uri); }
};

// Object-by-object equality of two models: the same classes in the same containment places,
// the same set/unset state per property, values equal (doubles bit for bit) and references
// pointing at corresponding objects.
testing::AssertionResult sameModel(const VELD::ImmutableModel& a, const VELD::ImmutableModel& b);

// The bytes of a file, and writing bytes to one.
std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);
