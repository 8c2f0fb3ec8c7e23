#pragma once

#include "platform/tavi/xmldb/Database.hpp"
#include "platform/veld/Veld.hpp"

// The meta-model of the filter tests (package "flt"): A with one property of each kind the
// filters tell apart, B deriving from A, a Holder of Items, and a diamond of classes.
struct FilterModel {
    VELD::ImmutableNamespace package;
    VELD::ImmutableClass a, b, holder, item, itemA, itemB, top, left, right, bottom;
    VELD::ImmutableProperty refs; // Holder.refs

    static const FilterModel& get();
    static constexpr const char* uri = "test:filters";

    // The names of the attributes of a sequence, in order.
    static std::vector<std::string>
    names(const VELD::ImmutableSequence<VELD::ImmutableProperty>& s);
};

// A database holding tests/utils/data, read once.
TAVI::XMLDB::Database& filterTestDatabase();
