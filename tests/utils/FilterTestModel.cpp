#include "tests/utils/FilterTestModel.hpp"

#include <stdexcept>

using namespace VELD;

namespace {
PropertySpec property(const char* name, const char* type, bool composite, bool many) {
    PropertySpec p{name, type};
    p.composite = composite;
    p.upperBound = many ? -1 : 1;
    return p;
}
} // namespace

const FilterModel& FilterModel::get() {
    static const FilterModel m = [] {
        MetaModelBuilder b("flt", uri);
        PropertySpec locked = property("locked", "String", false, false);
        locked.readOnly = true;
        PropertySpec total = property("total", "Integer", false, false);
        total.derived = true;
        total.deriver = [](const ImmutableClassObject&) {
            return std::vector<ImmutableObject>{ImmutableObject::fromInteger(1)};
        };
        PropertySpec summary = property("summary", "String", false, false);
        summary.derived = true;
        summary.deriver = [](const ImmutableClassObject&) {
            return std::vector<ImmutableObject>{};
        };
        PropertySpec frozen = property("frozen", "A", true, true);
        frozen.readOnly = true;
        PropertySpec computed = property("computed", "A", true, true);
        computed.derived = true;
        computed.deriver = [](const ImmutableClassObject&) {
            return std::vector<ImmutableObject>{};
        };
        b.addClass("A")
            .attribute("name", "String")
            .attribute("size", "Integer")
            .property(locked)
            .property(total)
            .property(summary)
            .containment("parts", "A")
            .containment("hidden", "A")
            .containment("factory", "A")
            .property(frozen)
            .property(computed)
            .reference("refs", "A", true);
        b.addClass("B", {"A"}).attribute("extra", "String").containment("more", "A");
        b.addClass("Item");
        b.addClass("ItemA", {"Item"});
        b.addClass("ItemB", {"Item"});
        b.addClass("Holder").containment("parts", "Item").reference("refs", "Item", true);
        b.addClass("Top");
        b.addClass("Left", {"Top"});
        b.addClass("Right", {"Top"});
        b.addClass("Bottom", {"Left", "Right"});
        b.setModelClass("Holder");
        FilterModel r;
        r.package = b.build();
        r.a = r.package.getClass("A");
        r.b = r.package.getClass("B");
        r.holder = r.package.getClass("Holder");
        r.item = r.package.getClass("Item");
        r.itemA = r.package.getClass("ItemA");
        r.itemB = r.package.getClass("ItemB");
        r.top = r.package.getClass("Top");
        r.left = r.package.getClass("Left");
        r.right = r.package.getClass("Right");
        r.bottom = r.package.getClass("Bottom");
        r.refs = r.holder.getProperty("refs");
        return r;
    }();
    return m;
}

std::vector<std::string> FilterModel::names(const ImmutableSequence<ImmutableProperty>& s) {
    std::vector<std::string> out;
    for (const ImmutableProperty& p : s)
        out.push_back(p.getName());
    return out;
}

TAVI::XMLDB::Database& filterTestDatabase() {
    static TAVI::XMLDB::Database* db = [] {
        auto* d = new TAVI::XMLDB::Database;
        TAVI::ErrorHolder errors;
        if (!d->addFolder(KITE_SOURCE_DIR "/tests/utils/data", errors))
            throw std::runtime_error("filter test data: " + errors.description());
        return d;
    }();
    return *db;
}
