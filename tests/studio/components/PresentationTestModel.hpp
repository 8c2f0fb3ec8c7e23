#pragma once

#include "platform/veld/Veld.hpp"

// The meta-model of the presentation tests (package "pres"): blocks with names, a class without
// a name, one whose name is inherited, one whose name cannot be read, and boxes with two ways
// to reach the same child.
struct PresentationModel {
    VELD::ImmutableNamespace package;
    VELD::ImmutableClass system, block, nameless, derivedNamed, broken, numbered, box;
    VELD::ImmutableProperty blockName, boxParts, boxFavourites, boxTags, boxOwned;

    static const PresentationModel& get();
    static constexpr const char* uri = "test:presentation";

    VELD::Model newModel() const;
    // A new object of the class with that simple name, put into the model's root; needs an
    // open transaction.
    VELD::ClassObject make(const VELD::Model& model, const char* className) const;
};
