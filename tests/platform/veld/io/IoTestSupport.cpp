#include "tests/platform/veld/io/IoTestSupport.hpp"

#include "platform/datamodel/Diagram.hpp"

#include <bit>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unordered_map>
#include <vector>

using namespace VELD;

const IoMeta& IoMeta::get() {
    static const IoMeta m = [] {
        KITE::diagramMetaModel();
        MetaModelBuilder b("io", uri);
        b.addEnumeration("Mood", {"Calm", "Loud", "Odd"});
        b.addClass("Doc")
            .attribute("title", "String")
            .containment("items", "Item")
            .containment("diagrams", "KITE.Diagram")
            .reference("favourite", "Item")
            .reference("pinned", "Item", true);
        PropertySpec code{"code", "String"};
        code.readOnly = true;
        PropertySpec count{"count", "Integer"};
        count.defaultValue = "3";
        b.addClass("Item")
            .attribute("label", "String")
            .attribute("weight", "Double")
            .attribute("weights", "Double", true)
            .attribute("mood", "Mood")
            .attribute("moods", "Mood", true)
            .reference("next", "Item")
            .reference("peers", "Item", true)
            .containment("parts", "Item")
            .containment("spare", "Item", false)
            .property(count)
            .attribute("big", "UnlimitedNatural")
            .attribute("on", "Boolean")
            .attribute("tags", "String", true)
            .property(code);
        b.addClass("Box", {"KITE.GraphNode"}).attribute("label", "String");
        b.addClass("Wire", {"KITE.GraphEdge"});
        b.setModelClass("Doc");
        const ImmutableNamespace pkg = b.build();
        IoMeta r;
        r.doc = pkg.getClass("Doc");
        r.item = pkg.getClass("Item");
        r.box = pkg.getClass("Box");
        r.wire = pkg.getClass("Wire");
        auto p = [](const ImmutableClass& c, const char* n) { return c.getProperty(n); };
        r.title = p(r.doc, "title");
        r.items = p(r.doc, "items");
        r.diagrams = p(r.doc, "diagrams");
        r.favourite = p(r.doc, "favourite");
        r.pinned = p(r.doc, "pinned");
        r.label = p(r.item, "label");
        r.weight = p(r.item, "weight");
        r.weights = p(r.item, "weights");
        r.mood = p(r.item, "mood");
        r.moods = p(r.item, "moods");
        r.next = p(r.item, "next");
        r.peers = p(r.item, "peers");
        r.parts = p(r.item, "parts");
        r.spare = p(r.item, "spare");
        r.count = p(r.item, "count");
        r.big = p(r.item, "big");
        r.on = p(r.item, "on");
        r.tags = p(r.item, "tags");
        r.code = p(r.item, "code");
        return r;
    }();
    return m;
}

namespace {

struct Comparer {
    std::unordered_map<ImmutableClassObject, ImmutableClassObject> match;
    std::vector<std::pair<ImmutableClassObject, ImmutableClassObject>> pending{};
    std::vector<std::pair<ImmutableObject, ImmutableObject>> refs;
    std::string where;

    bool sameValue(const ImmutableObject& x, const ImmutableObject& y, std::string& why) {
        if (x.isNull() != y.isNull() || x.isPrimitive() != y.isPrimitive() ||
            x.isEnumerationLiteral() != y.isEnumerationLiteral()) {
            why = "kinds differ";
            return false;
        }
        if (x.isClassObject()) {
            refs.emplace_back(x, y);
            return true;
        }
        if (x.isPrimitive() && x.primitiveKind() == detail::PrimitiveKind::Double &&
            y.primitiveKind() == detail::PrimitiveKind::Double) {
            if (std::bit_cast<std::uint64_t>(x.toDouble()) !=
                std::bit_cast<std::uint64_t>(y.toDouble())) {
                why = "doubles differ: " + x.toString() + " vs " + y.toString();
                return false;
            }
            return true;
        }
        if (!(x == y)) {
            why = "'" + x.toString() + "' vs '" + y.toString() + "'";
            return false;
        }
        return true;
    }

    testing::AssertionResult run(const ImmutableClassObject& ra, const ImmutableClassObject& rb) {
        pending.emplace_back(ra, rb);
        while (!pending.empty()) {
            auto [a, b] = pending.back();
            pending.pop_back();
            match.emplace(a, b);
            const ImmutableClass ca = a.getMetaClass();
            if (ca.getQualifiedName() != b.getMetaClass().getQualifiedName())
                return testing::AssertionFailure()
                       << a.toString() << ": class differs from " << b.toString();
            for (const ImmutableProperty& p : ca.getAllAttributes()) {
                if (p.isDerived())
                    continue;
                const std::string at = a.toString() + "." + p.getName();
                if (!p.isMultivalued() && a.isSet(p) != b.isSet(p))
                    return testing::AssertionFailure() << at << ": set in one model only";
                const auto va = a.get(p);
                const auto vb = b.get(p);
                if (va.size() != vb.size())
                    return testing::AssertionFailure()
                           << at << ": " << va.size() << " vs " << vb.size() << " values";
                for (int i = 0; i < va.size(); ++i) {
                    if (p.isComposite()) {
                        pending.emplace_back(va[i].asClassObject(), vb[i].asClassObject());
                        continue;
                    }
                    std::string why;
                    if (!sameValue(va[i], vb[i], why))
                        return testing::AssertionFailure() << at << "[" << i << "]: " << why;
                }
            }
        }
        for (const auto& [x, y] : refs) {
            auto it = match.find(x.asClassObject());
            if (it == match.end() || !(it->second == y.asClassObject()))
                return testing::AssertionFailure() << "reference to " << x.toString()
                                                   << " does not correspond to " << y.toString();
        }
        return testing::AssertionSuccess();
    }
};

} // namespace

testing::AssertionResult sameModel(const ImmutableModel& a, const ImmutableModel& b) {
    if (a.getUri() != b.getUri())
        return testing::AssertionFailure()
               << "meta-models differ: " << a.getUri() << " vs " << b.getUri();
    return Comparer().run(a.getRootObject(), b.getRootObject());
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}
