#include "platform/veld/io/ModelFile.hpp"

#include "platform/veld/ClassObject.hpp"
#include "platform/veld/DomainRegistry.hpp"
#include "platform/veld/Meta.hpp"
#include "platform/veld/Object.hpp"
#include "platform/veld/detail/Core.hpp"
#include "platform/veld/detail/Meta.hpp"
#include "platform/veld/io/XmlInput_p.hpp"

#include <QtCore/QBuffer>
#include <QtCore/QFile>
#include <QtCore/QSaveFile>
#include <QtCore/QXmlStreamWriter>

#include <algorithm>
#include <charconv>
#include <limits>
#include <unordered_map>
#include <vector>

namespace VELD {

using namespace detail;
using io::XmlInput;
using namespace Qt::Literals::StringLiterals;

namespace {

// Files nest objects as deep as their containment goes. Deeper models are refused both ways,
// so that every file this code writes can be read back, in time linear in its size.
constexpr std::size_t kMaxDepth = 10000;

QString qstr(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// True when text is valid UTF-8 of characters that XML 1.0 text carries unchanged. Carriage
// returns are excluded too: readers turn them into line feeds. Other text goes as base64.
bool xmlSafe(std::string_view text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            if (c < 0x20 && c != '\t' && c != '\n')
                return false;
            ++i;
            continue;
        }
        int extra;
        char32_t cp;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= n || (s[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        static constexpr char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) ||
            cp == 0xFFFE || cp == 0xFFFF)
            return false;
        i += extra + 1;
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
        const Slot& s = st.slots()[i];
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

class ModelWriter {
public:
    ModelWriter(QIODevice& device, const ImmutableModel& model) : w_(&device), model_(model) {
        w_.setAutoFormatting(true);
        w_.setAutoFormattingIndent(1);
    }

    // Throws Exception (without a file) when the model cannot be written.
    void write() {
        if (!model_.isValid())
            throw Exception("the model is gone");
        view_ = model_.view();
        ModelCore& m = *model_.modelCore();

        // The meta-models whose classes appear, so that a reader can check them up front.
        std::vector<const PackageInfo*> used;
        walk(m.rootObject, [&](ObjectCore* core, const PropertyInfo*, const State&) {
            const PackageInfo* pkg = core->cls->package;
            if (pkg && pkg != m.package && pkg != meta().kernelPackage &&
                std::find(used.begin(), used.end(), pkg) == used.end())
                used.push_back(pkg);
        }, [] {});

        w_.writeStartDocument();
        w_.writeStartElement(QStringLiteral("veld-model"));
        w_.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
        w_.writeAttribute(QStringLiteral("metamodel"), qstr(m.uri));
        for (const PackageInfo* pkg : used) {
            w_.writeEmptyElement(QStringLiteral("uses"));
            w_.writeAttribute(QStringLiteral("uri"), qstr(pkg->uri));
        }
        walk(m.rootObject, [&](ObjectCore* core, const PropertyInfo* containing, const State& st) {
            w_.writeStartElement(QStringLiteral("object"));
            if (containing)
                w_.writeAttribute(QStringLiteral("property"), nameOf(containing, false));
            w_.writeAttribute(QStringLiteral("id"), QString::number(core->serial));
            w_.writeAttribute(QStringLiteral("class"), nameOf(core->cls, true));
            writeValues(core, st);
        }, [&] { w_.writeEndElement(); });
        w_.writeEndElement();
        w_.writeEndDocument();
    }

    bool hasError() const { return w_.hasError(); }

private:
    // Visits objects depth first in document order: enter(core, containing property, state)
    // before what it contains, leave() after.
    template <typename Enter, typename Leave>
    void walk(ObjectCore* root, Enter&& enter, Leave&& leave) {
        struct Step {
            const PropertyInfo* property;
            ObjectCore* core;  // null: leave the current object
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
            const State* st = lookup(view_, step.core);
            enter(step.core, step.property, *st);
            stack.push_back({nullptr, nullptr});
            kids.clear();
            containedOf(view_, step.core, *st, kids);
            for (auto it = kids.rbegin(); it != kids.rend(); ++it)
                stack.push_back({it->first, it->second});
        }
    }

    void writeValues(const ObjectCore* core, const State& st) {
        const ClassInfo& c = *core->cls;
        for (std::size_t i = 0; i < c.slotProps.size(); ++i) {
            const PropertyInfo* p = c.slotProps[i];
            if (p->composite || p->derived || !st.isSet(c, static_cast<std::uint32_t>(i)))
                continue;
            const Slot& s = st.slots()[i];
            if (!p->multi) {
                writeValue(p, s);
            } else if (s.m) {
                for (const Slot& item : s.m->items)
                    writeValue(p, item);
            }
        }
    }

    void writeValue(const PropertyInfo* p, const Slot& s) {
        if (p->type.cls) {
            if (!exists(view_, s.obj))
                return;  // a reference to an object this view does not show reads as unset
            w_.writeEmptyElement(QStringLiteral("ref"));
            w_.writeAttribute(QStringLiteral("property"), nameOf(p, false));
            w_.writeAttribute(QStringLiteral("to"), QString::number(s.obj->serial));
            return;
        }
        w_.writeStartElement(QStringLiteral("value"));
        w_.writeAttribute(QStringLiteral("property"), nameOf(p, false));
        if (p->type.enumeration) {
            const MetaInfo* literal = meta().find(s.obj);
            w_.writeCharacters(literal ? nameOf(literal, false) : QString());
        } else if (p->type.primitive == PrimitiveKind::String) {
            const std::string_view text = s.s ? s.s->view() : std::string_view();
            if (xmlSafe(text)) {
                w_.writeCharacters(qstr(text));
            } else {
                w_.writeAttribute(QStringLiteral("encoding"), QStringLiteral("base64"));
                const QByteArray raw(text.data(), static_cast<qsizetype>(text.size()));
                w_.writeCharacters(QString::fromLatin1(raw.toBase64()));
            }
        } else {
            const std::string text = formatPrimitive(p->type.primitive, s);
            w_.writeCharacters(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
        }
        w_.writeEndElement();
    }

    // Names are written over and over: converted once.
    const QString& nameOf(const MetaInfo* info, bool qualified) {
        auto [it, added] = names_.try_emplace(info);
        if (added)
            it->second = qstr(qualified ? info->qualifiedName(".") : info->name);
        return it->second;
    }

    QXmlStreamWriter w_;
    std::unordered_map<const MetaInfo*, QString> names_;
    ImmutableModel model_;
    ViewCore* view_ = nullptr;
};

// --- reading --------------------------------------------------------------------------------

struct PendingRef {
    ObjectCore* owner;
    const PropertyInfo* property;
    std::uint32_t target;
    std::int64_t line;
    std::int64_t column;
};

struct Frame {
    ObjectCore* object;
    std::size_t givenFrom;  // where this object's single-valued properties start in given_
};

class ModelReader {
public:
    explicit ModelReader(XmlInput& in) : in_(in) {}

    Model read() {
        if (in_.next() != QXmlStreamReader::StartElement || !in_.isNamed("veld-model"_L1))
            in_.fail("not a model file: the document must start with <veld-model>");
        in_.allowOnly({"version"_L1, "metamodel"_L1});
        if (in_.requiredRaw("version"_L1) != "1"_L1)
            in_.fail("unsupported model file version '" + *in_.attribute("version") + "'");
        const std::string uri = in_.required("metamodel");
        auto pkg = meta().byUri.find(uri);
        if (pkg == meta().byUri.end())
            in_.fail("unknown meta-model URI '" + uri + "' (no such meta-model is registered)");
        declared_.push_back(pkg->second);

        while (in_.next() == QXmlStreamReader::StartElement && in_.isNamed("uses"_L1)) {
            in_.allowOnly({"uri"_L1});
            const std::string used = in_.required("uri");
            auto it = meta().byUri.find(used);
            if (it == meta().byUri.end())
                in_.fail("unknown meta-model URI '" + used + "' (no such meta-model is registered)");
            declared_.push_back(it->second);
            if (in_.next() != QXmlStreamReader::EndElement)
                in_.fail("<uses> holds nothing");
        }
        if (in_.reader().tokenType() != QXmlStreamReader::StartElement || !in_.isNamed("object"_L1))
            in_.fail("a model file holds one root <object>");

        model_ = DomainRegistry::instance().createModel(uri);
        try {
            fill();
        } catch (...) {
            // Nothing of a half-read file survives.
            model_.destroy();
            throw;
        }
        return model_;
    }

private:
    void fill() {
        ReadOnlyWriteScope writeReadOnly;
        model_.beginTransaction("load");
        root_ = model_.modelCore()->root;
        factory_ = model_.getFactory();
        ObjectCore* root = model_.modelCore()->rootObject;
        in_.allowOnly({"id"_L1, "class"_L1});
        const std::string rootClass = in_.required("class");
        if (rootClass != root->cls->qualifiedName("."))
            in_.fail("the root object of a '" + model_.modelCore()->uri + "' model is a '" +
                     root->cls->qualifiedName(".") + "', not a '" + rootClass + "'");
        registerId(root);
        stack_.push_back({root, 0});

        while (!stack_.empty()) {
            if (in_.next() == QXmlStreamReader::EndElement) {
                given_.resize(stack_.back().givenFrom);
                stack_.pop_back();
                continue;
            }
            if (in_.isNamed("value"_L1))
                readValue();
            else if (in_.isNamed("object"_L1))
                readObject();
            else if (in_.isNamed("ref"_L1))
                readRef();
            else
                in_.fail("unknown element <" + in_.name() + "> in an object");
        }
        if (in_.next() != QXmlStreamReader::EndElement)
            in_.fail("a model file holds one root <object>");
        if (in_.next() != QXmlStreamReader::EndDocument)
            in_.fail("content after the model");

        for (const PendingRef& r : refs_) {
            auto target = ids_.find(r.target);
            if (target == ids_.end())
                in_.failAt(r.line, r.column, "reference to a missing object: no object has id " +
                                                 std::to_string(r.target));
            const ClassObject owner(r.owner, model_.viewRef());
            const ImmutableClassObject value(target->second, model_.viewRef());
            guarded(r.line, r.column, [&] { owner.add(property(r.property), value); });
        }
        model_.commitTransaction();
        // A loaded model starts its history here.
        ModelCore& m = *model_.modelCore();
        m.undoStack.clear();
        m.redoStack.clear();
        m.nextSerial = maxId_ + 1;
    }

    static ImmutableProperty property(const PropertyInfo* p) { return ImmutableProperty(metaHandle(p)); }

    template <typename F>
    void guarded(std::int64_t line, std::int64_t column, F&& f) {
        try {
            f();
        } catch (const FileError&) {
            throw;
        } catch (const Exception& e) {
            in_.failAt(line, column, e.what());
        }
    }

    // The property named by the current element, checked for what the element may do.
    const PropertyInfo* namedProperty(const Frame& frame) {
        const QStringView name = in_.requiredRaw("property"_L1);
        const ClassInfo* cls = frame.object->cls;
        auto& known = properties_[cls];
        if (known.empty())
            for (const PropertyInfo* p : cls->slotProps)
                known.emplace_back(QString::fromStdString(p->name), p);
        const PropertyInfo* p = nullptr;
        for (const auto& [n, prop] : known)
            if (n == name) {
                p = prop;
                break;
            }
        if (!p)
            in_.fail("class '" + cls->qualifiedName(".") + "' has no property '" + io::toStd(name) + "'");
        if (p->derived)
            in_.fail("property '" + p->name + "' is derived: it is computed, not stored");
        if (!p->multi) {
            if (std::find(given_.begin() + frame.givenFrom, given_.end(), p) != given_.end())
                in_.fail("single-valued property '" + p->name + "' is given twice");
            given_.push_back(p);
        }
        return p;
    }

    std::uint32_t parseId(QStringView text) {
        std::uint64_t id = 0;
        bool ok = !text.empty() && text.size() <= 10;
        for (QChar c : text) {
            ok = ok && c >= u'0' && c <= u'9';
            id = id * 10 + (c.unicode() - u'0');
        }
        if (!ok || id == 0 || id >= std::numeric_limits<std::uint32_t>::max())
            in_.fail("'" + io::toStd(text) + "' is not an id (a positive integer below 4294967295)");
        return static_cast<std::uint32_t>(id);
    }

    void registerId(ObjectCore* core) {
        const std::uint32_t id = parseId(in_.requiredRaw("id"_L1));
        if (!ids_.emplace(id, core).second)
            in_.fail("duplicate id " + std::to_string(id));
        core->serial = id;
        maxId_ = std::max(maxId_, id);
    }

    const ClassInfo* namedClass() {
        const QStringView name = in_.requiredRaw("class"_L1);
        for (const auto& [n, cls] : classes_)
            if (n == name)
                return cls;
        const std::string className = io::toStd(name);
        const MetaInfo* info = meta().findQualified(className);
        if (!info || info->metaKind != MetaKind::Class)
            in_.fail("unknown class '" + className + "'");
        if (std::find(declared_.begin(), declared_.end(), info->package) == declared_.end())
            in_.fail("class '" + className + "' belongs to a meta-model the file does not declare with <uses>");
        const auto* cls = static_cast<const ClassInfo*>(info);
        classes_.emplace_back(name.toString(), cls);
        return cls;
    }

    void readObject() {
        in_.allowOnly({"property"_L1, "id"_L1, "class"_L1});
        if (stack_.size() >= kMaxDepth)
            in_.fail("objects nest deeper than " + std::to_string(kMaxDepth) + " levels");
        const Frame parent = stack_.back();
        const PropertyInfo* p = namedProperty(parent);
        if (!p->composite)
            in_.fail("property '" + p->name + "' is not a containment: refer to the object with <ref>");
        const ImmutableClass cls(metaHandle(namedClass()));
        ClassObject child;
        guarded(in_.line(), in_.column(), [&] {
            child = factory_.create(cls);
            ClassObject(parent.object, model_.viewRef()).add(property(p), child);
        });
        registerId(child.core());
        stack_.push_back({child.core(), given_.size()});
    }

    void readValue() {
        in_.allowOnly({"property"_L1, "encoding"_L1});
        const Frame frame = stack_.back();
        const PropertyInfo* p = namedProperty(frame);
        if (p->type.cls)
            in_.fail("property '" + p->name + "' holds objects: use <ref> or a nested <object>");
        const bool base64 = in_.has("encoding"_L1);
        if (base64 && in_.raw("encoding"_L1) != "base64"_L1)
            in_.fail("unknown encoding '" + io::toStd(in_.raw("encoding"_L1)) + "'");
        const std::int64_t line = in_.line(), column = in_.column();
        const QString text = in_.elementText();
        if (base64) {
            auto decoded = QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded)
                in_.failAt(line, column, "the value is not valid base64");
            text_.assign(decoded.decoded.constData(), static_cast<std::size_t>(decoded.decoded.size()));
        } else {
            io::toStd(text, text_);
        }
        Slot slot{};
        if (p->type.enumeration) {
            const LiteralInfo* literal = p->type.enumeration->literalNamed(text_);
            if (!literal)
                in_.failAt(line, column, "'" + text_ + "' is not a literal of '" +
                                             p->type.enumeration->qualifiedName(".") + "'");
            slot.obj = literal->core;
        } else if (p->type.primitive != PrimitiveKind::String) {
            std::string unused;
            if (!parsePrimitive(p->type.primitive, text_, slot, unused))
                in_.failAt(line, column, "'" + text_ + "' is not a valid " + primitiveName(p->type.primitive));
        }
        ObjectCore* core = frame.object;
        if (p->multi) {
            guarded(line, column, [&] {
                ClassObject(core, model_.viewRef()).add(property(p), valueOf(p, slot));
            });
            return;
        }
        // A single value is stored straight into the new object's slot, which is unset (a
        // second one was refused above): no conversions or checks beyond those made here.
        const auto index = static_cast<std::uint32_t>(core->cls->slotOf(p));
        State& st = writableState(*root_, core);
        if (p->type.primitive == PrimitiveKind::String)
            slot.s = StrRep::make(text_);
        st.slots()[index] = slot;
        st.setBit(*core->cls, index, true);
    }

    ImmutableObject valueOf(const PropertyInfo* p, const Slot& s) const {
        if (p->type.enumeration)
            return ImmutableObject(ImmutableEnumerationLiteral(metaHandle(meta().find(s.obj))));
        switch (p->type.primitive) {
        case PrimitiveKind::Boolean: return ImmutableObject::fromBoolean(s.b);
        case PrimitiveKind::Integer: return ImmutableObject::fromInteger(s.i);
        case PrimitiveKind::UnlimitedNatural: return ImmutableObject::fromUnlimitedNatural(s.i);
        case PrimitiveKind::Double: return ImmutableObject::fromDouble(s.d);
        case PrimitiveKind::String: return ImmutableObject::fromString(text_);
        case PrimitiveKind::None: break;
        }
        return {};
    }

    void readRef() {
        in_.allowOnly({"property"_L1, "to"_L1});
        const Frame frame = stack_.back();
        const PropertyInfo* p = namedProperty(frame);
        if (!p->type.cls)
            in_.fail("property '" + p->name + "' holds values, not objects: use <value>");
        if (p->composite)
            in_.fail("property '" + p->name + "' is a containment: its objects are nested, not referred to "
                     "(a reference could place an object twice or inside itself)");
        refs_.push_back({frame.object, p, parseId(in_.requiredRaw("to"_L1)), in_.line(), in_.column()});
        if (in_.next() != QXmlStreamReader::EndElement)
            in_.fail("<ref> holds nothing");
    }

    XmlInput& in_;
    Model model_;
    DeviantCore* root_ = nullptr;
    FactoryObject factory_;
    std::vector<const PackageInfo*> declared_;
    std::vector<Frame> stack_;
    std::vector<const PropertyInfo*> given_;
    std::vector<PendingRef> refs_;
    std::unordered_map<std::uint32_t, ObjectCore*> ids_;
    std::uint32_t maxId_ = 0;
    std::unordered_map<const ClassInfo*, std::vector<std::pair<QString, const PropertyInfo*>>> properties_;
    std::vector<std::pair<QString, const ClassInfo*>> classes_;
    std::string text_;
};

std::string pathString(std::string_view path) { return std::string(path); }

} // namespace

Model readModel(std::string_view bytes, std::string_view sourceName) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    XmlInput in(&buffer, std::string(sourceName));
    return ModelReader(in).read();
}

Model loadModel(std::string_view path) {
    QFile file(qstr(path));
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(pathString(path), 0, 0, "cannot open: " + io::toStd(file.errorString()));
    XmlInput in(&file, pathString(path));
    try {
        return ModelReader(in).read();
    } catch (const FileError&) {
        if (file.error() != QFileDevice::NoError)  // the parser saw it as a truncated file
            throw FileError(pathString(path), 0, 0, "cannot read: " + io::toStd(file.errorString()));
        throw;
    }
}

std::string writeModel(const ImmutableModel& model) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ModelWriter(buffer, model).write();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void saveModel(const ImmutableModel& model, std::string_view path) {
    const std::string name = pathString(path);
    // Written to a temporary file beside the target and renamed over it only when complete.
    QSaveFile file(qstr(path));
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(name, 0, 0, "cannot save: " + io::toStd(file.errorString()));
    ModelWriter writer(file, model);
    try {
        writer.write();
    } catch (const Exception& e) {
        file.cancelWriting();
        throw FileError(name, 0, 0, std::string("cannot save: ") + e.what());
    }
    if (writer.hasError() || file.error() != QFileDevice::NoError) {
        const std::string why = io::toStd(file.errorString());
        file.cancelWriting();
        throw FileError(name, 0, 0, "cannot save: writing failed: " + why);
    }
    if (!file.commit())
        throw FileError(name, 0, 0, "cannot save: " + io::toStd(file.errorString()));
}

} // namespace VELD
