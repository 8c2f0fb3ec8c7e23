#include "platform/veld/io/ModelFile.hpp"

#include "platform/veld/ClassObject.hpp"
#include "platform/veld/DomainRegistry.hpp"
#include "platform/veld/Meta.hpp"
#include "platform/veld/Object.hpp"
#include "platform/veld/detail/Core.hpp"
#include "platform/veld/detail/Meta.hpp"
#include "platform/veld/io/Utf8_p.hpp"
#include "platform/veld/io/XmlInput_p.hpp"
#include "platform/veld/io/XmlScanner_p.hpp"

#include <QtCore/QByteArray>
#include <QtCore/QFile>
#include <QtCore/QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <functional>
#include <limits>
#include <set>
#include <system_error>
#include <unordered_map>
#include <vector>

namespace VELD {

using namespace detail;
using io::decodeUtf8;
using io::Utf8Char;
using io::Utf8Error;
using io::XmlScanner;

namespace {

// Files nest objects as deep as their containment goes. Deeper models are refused both ways,
// so that every file this code writes can be read back, in time linear in its size.
constexpr std::size_t kMaxDepth = 10000;

QString qstr(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// True when text is valid UTF-8 of characters that XML 1.0 text carries unchanged. Carriage
// returns are excluded too unless asked for (attribute values escape them): readers turn
// them into line feeds. Other text goes as base64.
bool xmlSafe(std::string_view text, bool carriageReturns = false) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            if (c < 0x20 && c != '\t' && c != '\n' && (c != '\r' || !carriageReturns))
                return false;
            ++i;
            continue;
        }
        const Utf8Char d = decodeUtf8(s, n, i);
        if (d.error != Utf8Error::None || d.cp == 0xFFFE || d.cp == 0xFFFF)
            return false;
        i += static_cast<std::size_t>(d.length);
    }
    return true;
}

// --- writing --------------------------------------------------------------------------------

using Child = std::pair<const PropertyInfo*, ObjectCore*>;

// The objects an object contains, in property order, as the view shows them.
void containedOf(ViewCore* view, const ObjectCore* core, const State& st, std::vector<Child>& out) {
    const ClassInfo& c = *core->cls;
    for (std::size_t i = 0; i < c.slotProps.size(); ++i) {
        const PropertyInfo* p = c.slotProps[i];
        if (!p->composite || p->derived || !st.isSet(c, static_cast<std::uint32_t>(i)))
            continue;
        const Slot& s = st.slotValues()[i];
        if (!p->multi) {
            if (exists(view, s.obj))
                out.emplace_back(p, s.obj);
        } else if (s.m) {
            for (const Slot& item : s.m->items)
                if (exists(view, item.obj))
                    out.emplace_back(p, item.obj);
        }
    }
}

// The bytes of a file being written, appended at a cursor into a large buffer so that the
// small fixed pieces of markup are copied without a call each. A full buffer is handed to
// drain and reused, or grows when there is no drain.
class Output {
public:
    using Drain = std::function<void(std::string_view)>;

    Output(std::string& buffer, std::size_t size, Drain drain = {})
        : storage(buffer), sink(std::move(drain)) {
        storage.resize(size);
        data = storage.data();
    }

    template <std::size_t N> Output& operator+=(const char (&literal)[N]) {
        put(literal, N - 1);
        return *this;
    }
    Output& operator+=(std::string_view text) {
        put(text.data(), text.size());
        return *this;
    }
    Output& operator+=(char c) {
        if (used + 1 > storage.size())
            grow(1);
        data[used++] = c;
        return *this;
    }
    void append(std::size_t n, char c) {
        if (used + n > storage.size())
            grow(n);
        std::memset(data + used, c, n);
        used += n;
    }
    // Inlined, so that the copies of fixed markup become a few moves.
    [[gnu::always_inline]] void put(const char* text, std::size_t n) {
        if (used + n > storage.size())
            grow(n);
        std::memcpy(data + used, text, n);
        used += n;
    }

    // Drains what is left, or trims the buffer to what was written.
    void finish() {
        if (sink && used) {
            sink(std::string_view(data, used));
            used = 0;
        }
        storage.resize(used);
    }

private:
    [[gnu::noinline]] void grow(std::size_t n) {
        if (sink && used) {
            sink(std::string_view(data, used));
            used = 0;
        }
        if (used + n > storage.size())
            storage.resize(std::max(storage.size() * 2, used + n));
        data = storage.data();
    }

    std::string& storage;
    char* data;
    Drain sink;
    std::size_t used = 0;
};

// Appends text with the characters that markup would take escaped. In text: & < > and ",
// as Qt's writer escapes them (so files stay byte for byte what they were); in attribute
// values also tabs and line ends, which readers would otherwise turn into spaces.
template <typename Out> void appendEscaped(Out& out, std::string_view text, bool attribute) {
    std::size_t plain = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string_view entity;
        switch (c) {
        case '&':
            entity = "&amp;";
            break;
        case '<':
            entity = "&lt;";
            break;
        case '>':
            entity = "&gt;";
            break;
        case '"':
            entity = "&quot;";
            break;
        case '\t':
            entity = attribute ? "&#9;" : "";
            break;
        case '\n':
            entity = attribute ? "&#10;" : "";
            break;
        case '\r':
            entity = attribute ? "&#13;" : "";
            break;
        default:
            break;
        }
        if (entity.empty())
            continue;
        out += text.substr(plain, i - plain);
        out += entity;
        plain = i + 1;
    }
    out += text.substr(plain);
}

void appendNumber(Output& out, std::uint64_t n) {
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, n);
    out.put(digits, static_cast<std::size_t>(r.ptr - digits));
}

// Writes the file's text by hand: the markup is a handful of fixed elements, and a general
// XML writer costs several times the rest of saving.
class ModelWriter {
public:
    ModelWriter(Output& out, const ImmutableModel& model) : output(out), model(model) {}

    // Throws Exception (without a file) when the model cannot be written.
    void write() {
        if (!model.isValid())
            throw Exception("the model is gone");
        view = model.view();
        ModelCore& m = *model.modelCore();

        // The meta-models whose classes appear, so that a reader can check them up front.
        std::vector<const PackageInfo*> used;
        walk(
            m.rootObject,
            [&](ObjectCore* core, const PropertyInfo*, const State&) {
                const PackageInfo* pkg = core->cls->package;
                if (pkg && pkg != m.package && pkg != meta().kernelPackage &&
                    std::find(used.begin(), used.end(), pkg) == used.end())
                    used.push_back(pkg);
            },
            [] {});

        // Where two meta-models of the file share a package name, their classes are written
        // with the URI, so that the file reads back to the same classes.
        declared = used;
        declared.push_back(m.package);
        for (const PackageInfo* a : declared)
            for (const PackageInfo* b : declared)
                if (a != b && a->name == b->name)
                    sharedNames.insert(a->name);

        output +=
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<veld-model version=\"1\" metamodel=\"";
        appendName(m.uri);
        output += "\">";
        for (const PackageInfo* pkg : used) {
            output += "\n <uses uri=\"";
            appendName(pkg->uri);
            output += "\"/>";
        }
        std::size_t depth = 1;
        bool open = false; // the last start tag is not closed yet: the object may stay empty
        walk(
            m.rootObject,
            [&](ObjectCore* core, const PropertyInfo* containing, const State& st) {
                if (open)
                    output += '>';
                newLine(depth);
                const Names& names = namesOf(core->cls);
                output += "<object";
                if (containing) {
                    output += " property=\"";
                    output += containmentName(containing);
                    output += '"';
                }
                output += " id=\"";
                appendNumber(output, core->serial);
                output += "\" class=\"";
                output += names.cls;
                output += '"';
                open = true;
                ++depth;
                writeValues(core, st, names, depth, open);
            },
            [&] {
                --depth;
                if (open) {
                    output += "/>";
                    open = false;
                } else {
                    newLine(depth);
                    output += "</object>";
                }
            });
        output += "\n</veld-model>\n";
        output.finish();
    }

private:
    struct Names {
        std::string cls;                     // qualified, escaped
        std::vector<std::string> properties; // by slot, escaped
    };

    // Visits objects depth first in document order: enter(core, containing property, state)
    // before what it contains, leave() after.
    template <typename Enter, typename Leave>
    void walk(ObjectCore* root, Enter&& enter, Leave&& leave) {
        struct Step {
            const PropertyInfo* property;
            ObjectCore* core; // null: leave the current object
        };
        std::vector<Step> stack{{nullptr, root}};
        std::vector<Child> kids;
        std::size_t depth = 0;
        while (!stack.empty()) {
            const Step step = stack.back();
            stack.pop_back();
            if (!step.core) {
                --depth;
                leave();
                continue;
            }
            if (++depth > kMaxDepth)
                throw Exception("objects nest deeper than " + std::to_string(kMaxDepth) +
                                " levels, more than a model file holds");
            const State* st = lookup(view, step.core);
            enter(step.core, step.property, *st);
            stack.push_back({nullptr, nullptr});
            kids.clear();
            containedOf(view, step.core, *st, kids);
            for (auto it = kids.rbegin(); it != kids.rend(); ++it)
                stack.push_back({it->first, it->second});
        }
    }

    void newLine(std::size_t depth) {
        output += '\n';
        output.append(depth, ' ');
    }

    const std::string& containmentName(const PropertyInfo* p) {
        if (p != lastContainment) {
            auto [it, added] = containments.try_emplace(p);
            if (added)
                it->second = escapedName(p->name, true);
            lastContainment = p;
            lastContainmentName = &it->second;
        }
        return *lastContainmentName;
    }

    void writeValues(const ObjectCore* core, const State& st, const Names& names, std::size_t depth,
                     bool& open) {
        const ClassInfo& c = *core->cls;
        for (std::size_t i = 0; i < c.slotProps.size(); ++i) {
            const PropertyInfo* p = c.slotProps[i];
            if (p->composite || p->derived || !st.isSet(c, static_cast<std::uint32_t>(i)))
                continue;
            const Slot& s = st.slotValues()[i];
            if (!p->multi) {
                writeValue(p, names.properties[i], s, depth, open);
            } else if (s.m) {
                for (const Slot& item : s.m->items)
                    writeValue(p, names.properties[i], item, depth, open);
            }
        }
    }

    void writeValue(const PropertyInfo* p, const std::string& name, const Slot& s,
                    std::size_t depth, bool& open) {
        if (p->type.cls && !exists(view, s.obj))
            return; // a reference to an object this view does not show reads as unset
        if (open) {
            output += '>';
            open = false;
        }
        newLine(depth);
        if (p->type.cls) {
            output += "<ref property=\"";
            output += name;
            output += "\" to=\"";
            appendNumber(output, s.obj->serial);
            output += "\"/>";
            return;
        }
        output += "<value property=\"";
        output += name;
        if (p->type.enumeration) {
            output += "\">";
            if (const MetaInfo* literal = meta().find(s.obj))
                output += literalName(literal);
        } else if (p->type.primitive == PrimitiveKind::String) {
            const std::string_view text = s.s ? s.s->view() : std::string_view();
            if (xmlSafe(text)) {
                output += "\">";
                appendEscaped(output, text, false);
            } else {
                output += "\" encoding=\"base64\">";
                const QByteArray raw =
                    QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size()));
                const QByteArray encoded = raw.toBase64();
                output.put(encoded.constData(), static_cast<std::size_t>(encoded.size()));
            }
        } else {
            output += "\">";
            output += formatPrimitive(p->type.primitive, s);
        }
        output += "</value>";
    }

    // Names of the meta-model, escaped once. Text a file cannot carry is refused rather than
    // written in a form that would not read back the same.
    std::string escapedName(std::string_view name, bool attribute) {
        if (!xmlSafe(name, attribute))
            throw Exception("the name '" + std::string(name) +
                            "' holds characters a model file cannot carry");
        std::string out;
        appendEscaped(out, name, attribute);
        return out;
    }

    void appendName(std::string_view name) { output += escapedName(name, true); }

    const Names& namesOf(const ClassInfo* cls) {
        if (cls == lastClass)
            return *lastNames;
        auto [it, added] = classNames.try_emplace(cls);
        if (added) {
            it->second.cls = escapedName(classNameInFile(cls), true);
            for (const PropertyInfo* p : cls->slotProps)
                it->second.properties.push_back(escapedName(p->name, true));
        }
        lastClass = cls;
        lastNames = &it->second;
        return it->second;
    }

    std::string classNameInFile(const ClassInfo* cls) const {
        if (cls->package && sharedNames.count(cls->package->name))
            return "{" + cls->package->uri + "}" + cls->name;
        return cls->qualifiedName(".");
    }

    const std::string& literalName(const MetaInfo* literal) {
        auto [it, added] = literals.try_emplace(literal);
        if (added)
            it->second = escapedName(literal->name, false);
        return it->second;
    }

    Output& output;
    ImmutableModel model;
    ViewCore* view = nullptr;
    std::vector<const PackageInfo*> declared;
    std::set<std::string> sharedNames; // package names two declared meta-models share
    std::unordered_map<const ClassInfo*, Names> classNames;
    std::unordered_map<const MetaInfo*, std::string> literals;
    const ClassInfo* lastClass = nullptr;
    const Names* lastNames = nullptr;
    std::unordered_map<const PropertyInfo*, std::string> containments;
    const PropertyInfo* lastContainment = nullptr;
    const std::string* lastContainmentName = nullptr;
};

// --- reading --------------------------------------------------------------------------------

struct PendingRef {
    ObjectCore* owner;
    const PropertyInfo* property;
    std::uint32_t target;
    std::size_t offset; // of the <ref>, for the error
};

struct Frame {
    ObjectCore* object;
    std::size_t givenFrom; // where this object's single-valued properties start in givenProperties
};

using Token = XmlScanner::Token;

// Objects by id. Files number their objects densely from 1 (saving writes kernel serials),
// so a vector indexed by id serves; ids far beyond the number of objects go to a hash map.
class IdTable {
public:
    // False when the id is taken.
    bool insert(std::uint32_t id, ObjectCore* core) {
        if (id < dense.size() || id <= 2 * count + 4096) {
            if (id >= dense.size())
                dense.resize(std::max<std::size_t>(id + 1, dense.size() + dense.size() / 2));
            if (dense[id] || (!sparse.empty() && sparse.count(id)))
                return false;
            dense[id] = core;
        } else if (!sparse.emplace(id, core).second) {
            return false;
        }
        ++count;
        return true;
    }

    ObjectCore* find(std::uint32_t id) const {
        if (id < dense.size() && dense[id])
            return dense[id];
        const auto it = sparse.find(id);
        return it == sparse.end() ? nullptr : it->second;
    }

private:
    std::vector<ObjectCore*> dense;
    std::unordered_map<std::uint32_t, ObjectCore*> sparse;
    std::size_t count = 0;
};

class ModelReader {
public:
    explicit ModelReader(XmlScanner& in) : scanner(in) {}

    Model read() {
        if (scanner.next() != Token::StartElement || !scanner.isNamed("veld-model"))
            scanner.fail("not a model file: the document must start with <veld-model>");
        scanner.allowOnly({"version", "metamodel"});
        if (scanner.required("version") != "1")
            scanner.fail("unsupported model file version '" +
                         std::string(*scanner.attribute("version")) + "'");
        const std::string uri(scanner.required("metamodel"));
        auto pkg = meta().byUri.find(uri);
        if (pkg == meta().byUri.end())
            scanner.fail("unknown meta-model URI '" + uri + "' (no such meta-model is registered)");
        declaredPackages.push_back(pkg->second);

        while (scanner.next() == Token::StartElement && scanner.isNamed("uses")) {
            scanner.allowOnly({"uri"});
            const std::string used(scanner.required("uri"));
            auto it = meta().byUri.find(used);
            if (it == meta().byUri.end())
                scanner.fail("unknown meta-model URI '" + used +
                             "' (no such meta-model is registered)");
            declaredPackages.push_back(it->second);
            if (scanner.next() != Token::EndElement)
                scanner.fail("<uses> holds nothing");
        }
        if (scanner.token() != Token::StartElement || !scanner.isNamed("object"))
            scanner.fail("a model file holds one root <object>");

        model = DomainRegistry::instance().createModel(uri);
        try {
            fill();
        } catch (...) {
            // Nothing of a half-read file survives.
            model.destroy();
            throw;
        }
        return model;
    }

private:
    void fill() {
        ReadOnlyWriteScope writeReadOnly;
        model.beginTransaction("load");
        rootDeviant = model.modelCore()->root;
        factory = model.getFactory();
        ObjectCore* root = model.modelCore()->rootObject;
        const std::string_view* attributes[2];
        scanner.match({"id", "class"}, attributes);
        const std::string_view rootClass = scanner.required(attributes[1], "class");
        if (rootClass != root->cls->qualifiedName(".") &&
            rootClass != "{" + root->cls->package->uri + "}" + root->cls->name)
            scanner.fail("the root object of a '" + model.modelCore()->uri + "' model is a '" +
                         root->cls->qualifiedName(".") + "', not a '" + std::string(rootClass) +
                         "'");
        registerId(root, attributes[0]);
        stack.push_back({root, 0});

        while (!stack.empty()) {
            if (scanner.next() == Token::EndElement) {
                givenProperties.resize(stack.back().givenFrom);
                stack.pop_back();
                continue;
            }
            if (scanner.isNamed("value"))
                readValue();
            else if (scanner.isNamed("object"))
                readObject();
            else if (scanner.isNamed("ref"))
                readRef();
            else
                scanner.fail("unknown element <" + std::string(scanner.name()) + "> in an object");
        }
        if (scanner.next() != Token::EndElement)
            scanner.fail("a model file holds one root <object>");
        if (scanner.next() != Token::EndDocument)
            scanner.fail("content after the model");

        for (const PendingRef& r : pendingRefs) {
            ObjectCore* target = ids.find(r.target);
            if (!target)
                scanner.failAt(r.offset, "reference to a missing object: no object has id " +
                                             std::to_string(r.target));
            const ClassObject owner(r.owner, model.viewRef());
            const ImmutableClassObject value(target, model.viewRef());
            guarded(r.offset, [&] { owner.add(property(r.property), value); });
        }
        model.commitTransaction();
        // A loaded model starts its history here.
        ModelCore& m = *model.modelCore();
        m.undoStack.clear();
        m.redoStack.clear();
        m.nextSerial = maxId + 1;
    }

    static ImmutableProperty property(const PropertyInfo* p) {
        return ImmutableProperty(metaHandle(p));
    }

    template <typename F> void guarded(std::size_t offset, F&& f) {
        try {
            f();
        } catch (const FileError&) {
            throw;
        } catch (const Exception& e) {
            scanner.failAt(offset, e.what());
        }
    }

    // The property named by the current element, checked for what the element may do.
    const PropertyInfo* namedProperty(const Frame& frame, const std::string_view* given) {
        const std::string_view name = scanner.required(given, "property");
        const ClassInfo* cls = frame.object->cls;
        const PropertyInfo* p = nullptr;
        for (const auto& [n, prop] : propertiesOf(cls))
            if (io::sameName(n, name)) {
                p = prop;
                break;
            }
        if (!p)
            scanner.fail("class '" + cls->qualifiedName(".") + "' has no property '" +
                         std::string(name) + "'");
        if (p->derived)
            scanner.fail("property '" + p->name + "' is derived: it is computed, not stored");
        if (!p->multi) {
            if (std::find(givenProperties.begin() + static_cast<std::ptrdiff_t>(frame.givenFrom),
                          givenProperties.end(), p) != givenProperties.end())
                scanner.fail("single-valued property '" + p->name + "' is given twice");
            givenProperties.push_back(p);
        }
        return p;
    }

    using Properties = std::vector<std::pair<std::string_view, const PropertyInfo*>>;

    // The properties of a class by name. Elements alternate between an object's values and
    // its container's next child: the last two classes are at hand without a lookup.
    const Properties& propertiesOf(const ClassInfo* cls) {
        if (recent[0].first != cls) {
            if (recent[1].first == cls) {
                std::swap(recent[0], recent[1]);
            } else {
                Properties& known = properties[cls];
                if (known.empty())
                    for (const PropertyInfo* p : cls->slotProps)
                        known.emplace_back(p->name, p);
                recent[1] = recent[0];
                recent[0] = {cls, &known};
            }
        }
        return *recent[0].second;
    }

    std::uint32_t parseId(std::string_view text) {
        std::uint64_t id = 0;
        bool ok = !text.empty() && text.size() <= 10;
        for (char c : text) {
            ok = ok && c >= '0' && c <= '9';
            id = id * 10 + static_cast<std::uint64_t>(c - '0');
        }
        if (!ok || id == 0 || id >= std::numeric_limits<std::uint32_t>::max())
            scanner.fail("'" + std::string(text) +
                         "' is not an id (a positive integer below 4294967295)");
        return static_cast<std::uint32_t>(id);
    }

    void registerId(ObjectCore* core, const std::string_view* given) {
        const std::uint32_t id = parseId(scanner.required(given, "id"));
        if (!ids.insert(id, core))
            scanner.fail("duplicate id " + std::to_string(id));
        core->serial = id;
        maxId = std::max(maxId, id);
    }

    const ClassInfo* namedClass(const std::string_view* given) {
        const std::string_view name = scanner.required(given, "class");
        for (const auto& [n, cls] : classes)
            if (io::sameName(n, name))
                return cls;
        const std::string className(name);
        const MetaInfo* info = declaredNamed(className);
        if (!info || info->metaKind != MetaKind::Class)
            scanner.fail("unknown class '" + className + "'");
        if (std::find(declaredPackages.begin(), declaredPackages.end(), info->package) ==
            declaredPackages.end())
            scanner.fail("class '" + className +
                         "' belongs to a meta-model the file does not declare with <uses>");
        const auto* cls = static_cast<const ClassInfo*>(info);
        classes.emplace_back(className, cls);
        return cls;
    }

    // A class named "pkg.Name" is looked for among the file's own meta-models first, so that a
    // meta-model registered elsewhere under the same package name does not make the file
    // unreadable; "{uri}Name" names its meta-model outright.
    const MetaInfo* declaredNamed(const std::string& className) {
        std::string_view uri, simple;
        if (splitUriName(className, uri, simple))
            return meta().findQualified(className);
        const std::size_t dot = className.find('.');
        std::vector<MetaInfo*> found;
        if (dot != std::string::npos)
            for (const PackageInfo* pkg : declaredPackages)
                if (pkg->name == std::string_view(className).substr(0, dot))
                    if (MetaInfo* m = memberNamed(*pkg, className.substr(dot + 1)))
                        found.push_back(m);
        if (found.size() > 1)
            scanner.fail(ambiguityMessage(className, found));
        if (found.size() == 1)
            return found.front();
        // Not among the file's meta-models: say where it is, if anywhere.
        const std::vector<MetaInfo*> all = meta().findAllQualified(className);
        return all.empty() ? nullptr : all.front();
    }

    void readObject() {
        const std::string_view* attributes[3];
        scanner.match({"property", "id", "class"}, attributes);
        if (stack.size() >= kMaxDepth)
            scanner.fail("objects nest deeper than " + std::to_string(kMaxDepth) + " levels");
        const Frame parent = stack.back();
        const PropertyInfo* p = namedProperty(parent, attributes[0]);
        if (!p->composite)
            scanner.fail("property '" + p->name +
                         "' is not a containment: refer to the object with <ref>");
        const ImmutableClass cls(metaHandle(namedClass(attributes[2])));
        ClassObject child;
        guarded(scanner.offset(), [&] {
            child = factory.create(cls);
            ClassObject(parent.object, model.viewRef()).add(property(p), child);
        });
        registerId(child.core(), attributes[1]);
        stack.push_back({child.core(), givenProperties.size()});
    }

    void readValue() {
        const std::string_view* attributes[2];
        scanner.match({"property", "encoding"}, attributes);
        const Frame frame = stack.back();
        const PropertyInfo* p = namedProperty(frame, attributes[0]);
        if (p->type.cls)
            scanner.fail("property '" + p->name +
                         "' holds objects: use <ref> or a nested <object>");
        const std::string_view* encoding = attributes[1];
        if (encoding && *encoding != "base64")
            scanner.fail("unknown encoding '" + std::string(*encoding) + "'");
        const std::size_t at = scanner.offset();
        std::string_view text = scanner.elementText();
        if (encoding) {
            auto decoded = QByteArray::fromBase64Encoding(
                QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size())),
                QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded)
                scanner.failAt(at, "the value is not valid base64");
            decodedText.assign(decoded.decoded.constData(),
                               static_cast<std::size_t>(decoded.decoded.size()));
            text = decodedText;
        }
        Slot slot{};
        if (p->type.enumeration) {
            const LiteralInfo* literal = p->type.enumeration->literalNamed(text);
            if (!literal)
                scanner.failAt(at, "'" + std::string(text) + "' is not a literal of '" +
                                       p->type.enumeration->qualifiedName(".") + "'");
            slot.obj = literal->core;
        } else if (p->type.primitive != PrimitiveKind::String) {
            std::string unused;
            if (!parsePrimitive(p->type.primitive, text, slot, unused))
                scanner.failAt(at, "'" + std::string(text) + "' is not a valid " +
                                       primitiveName(p->type.primitive));
        }
        ObjectCore* core = frame.object;
        if (p->multi) {
            guarded(at, [&] {
                ClassObject(core, model.viewRef()).add(property(p), valueOf(p, slot, text));
            });
            return;
        }
        // A single value is stored straight into the new object's slot, which is unset (a
        // second one was refused above): no conversions or checks beyond those made here.
        const auto index = static_cast<std::uint32_t>(core->cls->slotOf(p));
        State& st = writableState(*rootDeviant, core);
        if (p->type.primitive == PrimitiveKind::String)
            slot.s = StrRep::make(text);
        st.slotValues()[index] = slot;
        st.setBit(*core->cls, index, true);
    }

    static ImmutableObject valueOf(const PropertyInfo* p, const Slot& s, std::string_view text) {
        if (p->type.enumeration)
            return ImmutableObject(ImmutableEnumerationLiteral(metaHandle(meta().find(s.obj))));
        switch (p->type.primitive) {
        case PrimitiveKind::Boolean:
            return ImmutableObject::fromBoolean(s.b);
        case PrimitiveKind::Integer:
            return ImmutableObject::fromInteger(s.i);
        case PrimitiveKind::UnlimitedNatural:
            return ImmutableObject::fromUnlimitedNatural(s.i);
        case PrimitiveKind::Double:
            return ImmutableObject::fromDouble(s.d);
        case PrimitiveKind::String:
            return ImmutableObject::fromString(text);
        case PrimitiveKind::None:
            break;
        }
        return {};
    }

    void readRef() {
        const std::string_view* attributes[2];
        scanner.match({"property", "to"}, attributes);
        const Frame frame = stack.back();
        const PropertyInfo* p = namedProperty(frame, attributes[0]);
        if (!p->type.cls)
            scanner.fail("property '" + p->name + "' holds values, not objects: use <value>");
        if (p->composite)
            scanner.fail("property '" + p->name +
                         "' is a containment: its objects are nested, not referred to "
                         "(a reference could place an object twice or inside itself)");
        pendingRefs.push_back(
            {frame.object, p, parseId(scanner.required(attributes[1], "to")), scanner.offset()});
        if (scanner.next() != Token::EndElement)
            scanner.fail("<ref> holds nothing");
    }

    XmlScanner& scanner;
    Model model;
    DeviantCore* rootDeviant = nullptr;
    FactoryObject factory;
    std::vector<const PackageInfo*> declaredPackages;
    std::vector<Frame> stack;
    std::vector<const PropertyInfo*> givenProperties;
    std::vector<PendingRef> pendingRefs;
    IdTable ids;
    std::uint32_t maxId = 0;
    std::unordered_map<const ClassInfo*, Properties> properties;
    std::pair<const ClassInfo*, const Properties*> recent[2] = {};
    std::vector<std::pair<std::string, const ClassInfo*>> classes;
    std::string decodedText;
};

std::string pathString(std::string_view path) {
    return std::string(path);
}

// The nesting the scanner allows: the document element, the objects, and a value's text.
constexpr std::size_t kMaxElementDepth = kMaxDepth + 8;

} // namespace

Model readModel(std::string_view bytes, std::string_view sourceName) {
    XmlScanner in(bytes, std::string(sourceName), kMaxElementDepth);
    return ModelReader(in).read();
}

Model loadModel(std::string_view path) {
    const std::string name = pathString(path);
    QFile file(qstr(path));
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(name, 0, 0, "cannot open: " + io::toStd(file.errorString()));
    // A regular file is mapped and scanned in place, its pages let go of behind the scanner,
    // so that loading needs little memory besides the model.
    const qint64 size = file.isSequential() ? 0 : file.size();
    if (uchar* data = size > 0 ? file.map(0, size) : nullptr) {
        XmlScanner in(
            std::string_view(reinterpret_cast<const char*>(data), static_cast<std::size_t>(size)),
            name, kMaxElementDepth);
#if defined(Q_OS_UNIX) && defined(MADV_DONTNEED)
        madvise(data, static_cast<std::size_t>(size), MADV_SEQUENTIAL);
        const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        in.onConsumed(
            [data, page](std::size_t from, std::size_t to) {
                from = (from + page - 1) / page * page;
                to = to / page * page;
                if (to > from)
                    madvise(data + from, to - from, MADV_DONTNEED);
            },
            2 << 20);
#endif
        return ModelReader(in).read();
    }
    // Anything else (a pipe, a file system that does not map) is read to its end.
    std::string bytes;
    for (char chunk[65536];;) {
        const qint64 got = file.read(chunk, sizeof chunk);
        if (got < 0)
            throw FileError(name, 0, 0, "cannot read: " + io::toStd(file.errorString()));
        if (got == 0)
            break;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    return readModel(bytes, name);
}

std::string writeModel(const ImmutableModel& model) {
    // Chunks appended to the result: it grows without being filled with zeros first.
    std::string bytes, chunk;
    Output out(chunk, 1 << 20, [&](std::string_view full) { bytes += full; });
    ModelWriter(out, model).write();
    return bytes;
}

void saveModel(const ImmutableModel& model, std::string_view path) {
    const std::string name = pathString(path);
    // Written to a temporary file beside the target and renamed over it only when complete.
    QSaveFile file(qstr(path));
    // Unbuffered: the chunks are large already, and are not copied once more.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw FileError(name, 0, 0, "cannot save: " + io::toStd(file.errorString()));
    struct WriteFailed {
        int error; // the system's, when it gave one
    };
    std::string buffer;
    qint64 written = 0;
    Output out(buffer, 4 << 20, [&](std::string_view chunk) {
        const auto size = static_cast<qint64>(chunk.size());
        errno = 0;
        if (file.write(chunk.data(), size) != size)
            throw WriteFailed{errno};
#ifdef SYNC_FILE_RANGE_WRITE
        // Start writing each chunk to disk now, so that the flush before the rename finds
        // little left to do.
        sync_file_range(file.handle(), written, size, SYNC_FILE_RANGE_WRITE);
#endif
        written += size;
    });
    try {
        ModelWriter(out, model).write();
    } catch (const WriteFailed& failed) {
        // Qt does not always say why ("Unknown error" for a file too large); the system does.
        const std::string why = failed.error != 0 ? std::generic_category().message(failed.error)
                                                  : io::toStd(file.errorString());
        file.cancelWriting();
        throw FileError(name, 0, 0, "cannot save: writing failed: " + why);
    } catch (const Exception& e) {
        file.cancelWriting();
        throw FileError(name, 0, 0, std::string("cannot save: ") + e.what());
    }
    if (!file.commit())
        throw FileError(name, 0, 0, "cannot save: " + io::toStd(file.errorString()));
}

} // namespace VELD
