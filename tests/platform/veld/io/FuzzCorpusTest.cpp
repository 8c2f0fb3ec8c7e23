#include "platform/veld/io/ModelFile.hpp"
#include "tests/platform/veld/io/FuzzTarget.hpp"
#include "tests/platform/veld/io/IoTestSupport.hpp"

#include <random>
#include <vector>

using namespace VELD;

namespace {

// Seeds: a model using every kind of value, and a meta-model file.
std::string modelSeed() {
    const IoMeta& m = IoMeta::get();
    Model model = m.newModel();
    Transaction t(model);
    ClassObject doc = model.getRootObject();
    doc.setString(m.title, "seed <&> \"quoted\"\r\n");
    ClassObject prev;
    for (int i = 0; i < 4; ++i) {
        ClassObject o = model.getFactory().create(m.item);
        doc.add(m.items, o);
        o.setString(m.label, "item " + std::to_string(i));
        o.setDouble(m.weight, 0.1 * i);
        o.add(m.weights, ImmutableObject::fromDouble(-1.5e-300));
        o.set(m.mood, ValueObjectFactory::createFromString("io.Mood", "Odd"));
        o.add(m.tags, ImmutableObject::fromString("t"));
        o.setBoolean(m.on, i % 2);
        o.set(m.big, ImmutableObject::fromUnlimitedNatural(i - 1));
        if (prev) {
            o.setObject(m.next, prev);
            prev.add(m.peers, o);
            ClassObject part = model.getFactory().create(m.item);
            prev.add(m.parts, part);
        }
        prev = o;
    }
    doc.setObject(m.favourite, prev);
    t.commit();
    return writeModel(model);
}

const char* kMetaSeed =
    "<?xml version=\"1.0\"?>\n<veld-metamodel version=\"1\" name=\"fz\" uri=\"test:fz\" "
    "modelClass=\"R\">\n"
    " <enumeration name=\"E\"><literal name=\"A\"/><literal name=\"B\"/></enumeration>\n"
    " <class name=\"R\"><property name=\"kids\" type=\"K\" composite=\"true\" "
    "upper=\"*\"/></class>\n"
    " <class name=\"K\" superClasses=\"KITE.GraphNode\" abstract=\"false\">\n"
    "  <property name=\"e\" type=\"E\" default=\"B\"/><property name=\"n\" type=\"Integer\" "
    "lower=\"0\" upper=\"4\"/>\n"
    " </class>\n</veld-metamodel>\n";

// Mutations that reach past the XML parser: whole lines (elements, in the files written here)
// dropped, repeated, moved; attribute values and value texts replaced with other names, ids
// and numbers; besides plain byte flips, cuts and characters that matter in XML.
std::vector<std::string> lines(const std::string& s) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < s.size()) {
        const std::size_t end = s.find('\n', at);
        const std::size_t stop = end == std::string::npos ? s.size() : end + 1;
        out.push_back(s.substr(at, stop - at));
        at = stop;
    }
    return out;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& p : parts)
        out += p;
    return out;
}

std::string mutate(const std::string& seed, std::mt19937& rng) {
    static const char* xml[] = {"<",     ">",    "&",     "\"",  "'",    "/",   "=",
                                "&amp;", "&#0;", "&#13;", "]]>", "\xC3", "\xFF"};
    static const char* words[] = {"1",
                                  "2",
                                  "3",
                                  "0",
                                  "-1",
                                  "4294967295",
                                  "99",
                                  "x",
                                  "",
                                  "io.Item",
                                  "io.Doc",
                                  "io.Box",
                                  "KITE.Diagram",
                                  "KITE.GraphElement",
                                  "parts",
                                  "next",
                                  "spare",
                                  "items",
                                  "peers",
                                  "pinned",
                                  "label",
                                  "weight",
                                  "mood",
                                  "NaN",
                                  "1e999",
                                  "-0",
                                  "*",
                                  "Calm",
                                  "base64",
                                  "true",
                                  "Step",
                                  "String",
                                  "K",
                                  "E",
                                  "test:io"};
    std::string s = seed;
    const int steps = 1 + static_cast<int>(rng() % 3);
    for (int k = 0; k < steps && !s.empty(); ++k) {
        std::vector<std::string> ls = lines(s);
        const std::size_t at = rng() % s.size();
        switch (rng() % 9) {
        case 0:
            s[at] = static_cast<char>(rng());
            break;
        case 1:
            s.resize(at);
            break;
        case 2:
            s.insert(at, xml[rng() % std::size(xml)]);
            break;
        case 3:
            ls.erase(ls.begin() + rng() % ls.size());
            s = joined(ls);
            break;
        case 4:
            ls.insert(ls.begin() + rng() % ls.size(), ls[rng() % ls.size()]);
            s = joined(ls);
            break;
        case 5:
            std::swap(ls[rng() % ls.size()], ls[rng() % ls.size()]);
            s = joined(ls);
            break;
        case 6:
        case 7: { // an attribute value
            const std::size_t open = s.find('"', at);
            const std::size_t close = open == std::string::npos ? open : s.find('"', open + 1);
            if (close != std::string::npos)
                s.replace(open + 1, close - open - 1, words[rng() % std::size(words)]);
            break;
        }
        case 8: { // an element's text
            const std::size_t gt = s.find('>', at);
            const std::size_t lt = gt == std::string::npos ? gt : s.find('<', gt);
            if (lt != std::string::npos)
                s.replace(gt + 1, lt - gt - 1, words[rng() % std::size(words)]);
            break;
        }
        }
    }
    return s;
}

TEST(FuzzCorpus, MutatedFilesNeverCrashAndFailOnlyWithFileErrors) {
    veldIoFuzzSetUp();
    const std::string seeds[] = {modelSeed(), kMetaSeed};
    std::mt19937 rng(20261206);
    int loaded = 0;
    for (const std::string& seed : seeds) {
        ASSERT_NO_THROW(veldIoFuzzOne(seed));
        for (int i = 0; i < 3000; ++i) {
            const std::string input = mutate(seed, rng);
            try {
                veldIoFuzzOne(input);
            } catch (const std::exception& e) {
                ADD_FAILURE() << "input " << i << " raised '" << e.what() << "':\n" << input;
                return;
            }
            loaded += input.find("<veld-model") != std::string::npos;
        }
    }
    EXPECT_GT(loaded, 0);
}

} // namespace
