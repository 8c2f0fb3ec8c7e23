#include "platform/veld/io/MetaModelFile.hpp"

#include "platform/veld/DomainRegistry.hpp"
#include "platform/veld/io/XmlInput_p.hpp"

#include <QtCore/QBuffer>
#include <QtCore/QFile>

#include <charconv>
#include <map>
#include <utility>
#include <vector>

namespace VELD {

using io::XmlInput;
using namespace Qt::Literals::StringLiterals;

namespace {

std::map<std::string, DeriveFunction, std::less<>>& deriveFunctions() {
    static std::map<std::string, DeriveFunction, std::less<>> functions;
    return functions;
}

int parseBound(const XmlInput& in, std::string_view attr, const std::string& text, bool allowStar) {
    if (allowStar && text == "*")
        return -1;
    int value = 0;
    auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || value < 0)
        in.fail("attribute '" + std::string(attr) + "' must be a non-negative integer" +
                (allowStar ? " or '*'" : "") + ", not '" + text + "'");
    return value;
}

std::vector<std::string> splitNames(const std::string& text) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t\r\n", i);
        if (start == std::string::npos)
            break;
        const std::size_t end = text.find_first_of(" \t\r\n", start);
        out.push_back(
            text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        i = end == std::string::npos ? text.size() : end;
    }
    return out;
}

// Where each class and property was written, to point the builder's errors at their element.
struct Position {
    std::string marker;
    std::int64_t line;
    std::int64_t column;
};

ImmutableNamespace parse(XmlInput& in) {
    if (in.next() != QXmlStreamReader::StartElement || in.name() != "veld-metamodel")
        in.fail("not a meta-model file: the document must start with <veld-metamodel>");
    in.allowOnly({"version"_L1, "name"_L1, "uri"_L1, "modelClass"_L1});
    if (in.required("version") != "1")
        in.fail("unsupported meta-model file version '" + *in.attribute("version") + "'");
    const std::string uri = in.required("uri");
    if (DomainRegistry::instance().isRegistered(uri))
        in.fail("a meta-model with URI '" + uri + "' is registered already");
    const std::int64_t rootLine = in.line(), rootColumn = in.column();
    MetaModelBuilder builder(in.required("name"), uri);
    if (auto modelClass = in.attribute("modelClass"))
        builder.setModelClass(*modelClass);

    std::vector<Position> positions;
    while (in.next() == QXmlStreamReader::StartElement) {
        const std::string kind = in.name();
        if (kind == "enumeration") {
            in.allowOnly({"name"_L1});
            const std::string enumName = in.required("name");
            positions.push_back({"enumeration '" + enumName + "'", in.line(), in.column()});
            std::vector<std::string> literals;
            while (in.next() == QXmlStreamReader::StartElement) {
                if (in.name() != "literal")
                    in.fail("<enumeration> holds <literal> elements only, not <" + in.name() + ">");
                in.allowOnly({"name"_L1});
                literals.push_back(in.required("name"));
                if (in.next() != QXmlStreamReader::EndElement)
                    in.fail("<literal> holds nothing");
            }
            builder.addEnumeration(enumName, std::move(literals));
        } else if (kind == "class") {
            in.allowOnly({"name"_L1, "superClasses"_L1, "abstract"_L1, "hostTypeName"_L1});
            const std::string className = in.required("name");
            positions.push_back({"class '" + className + "'", in.line(), in.column()});
            ClassSpec& cls =
                builder.addClass(className, splitNames(in.attribute("superClasses").value_or("")),
                                 in.boolean("abstract", false));
            cls.hostTypeName = in.attribute("hostTypeName").value_or("");
            while (in.next() == QXmlStreamReader::StartElement) {
                if (in.name() != "property")
                    in.fail("<class> holds <property> elements only, not <" + in.name() + ">");
                in.allowOnly({"name"_L1, "type"_L1, "composite"_L1, "derived"_L1, "readOnly"_L1,
                              "lower"_L1, "upper"_L1, "default"_L1, "function"_L1});
                PropertySpec p(in.required("name"), in.required("type"));
                positions.push_back(
                    {"property '" + className + "." + p.name + "'", in.line(), in.column()});
                p.composite = in.boolean("composite", false);
                p.derived = in.boolean("derived", false);
                p.readOnly = in.boolean("readOnly", false);
                p.lowerBound = parseBound(in, "lower", in.attribute("lower").value_or("0"), false);
                p.upperBound = parseBound(in, "upper", in.attribute("upper").value_or("1"), true);
                p.defaultValue = in.attribute("default");
                const std::optional<std::string> function = in.attribute("function");
                if (function && !p.derived)
                    in.fail("only a derived property names a function");
                if (p.derived) {
                    if (!function)
                        in.fail("a derived property names the function that computes it "
                                "(function=\"...\")");
                    auto it = deriveFunctions().find(*function);
                    if (it == deriveFunctions().end())
                        in.fail("no derive function '" + *function + "' is registered");
                    p.deriver = it->second;
                }
                cls.property(std::move(p));
                if (in.next() != QXmlStreamReader::EndElement)
                    in.fail("<property> holds nothing");
            }
        } else {
            in.fail("unknown element <" + kind + "> in a meta-model");
        }
    }
    if (in.next() != QXmlStreamReader::EndDocument)
        in.fail("content after the meta-model");

    try {
        return builder.build();
    } catch (const Exception& e) {
        // The builder names the class or property at fault; point at its element.
        const std::string what = e.what();
        for (auto it = positions.rbegin(); it != positions.rend(); ++it)
            if (what.find(it->marker) != std::string::npos)
                in.failAt(it->line, it->column, what);
        in.failAt(rootLine, rootColumn, what);
    }
}

} // namespace

ImmutableNamespace readMetaModel(std::string_view bytes, std::string_view sourceName) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    XmlInput in(&buffer, std::string(sourceName));
    return parse(in);
}

ImmutableNamespace loadMetaModel(std::string_view path) {
    const QString qpath = QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
    QFile file(qpath);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(std::string(path), 0, 0, "cannot open: " + io::toStd(file.errorString()));
    XmlInput in(&file, std::string(path));
    try {
        return parse(in);
    } catch (const FileError&) {
        if (file.error() != QFileDevice::NoError) // the parser saw it as a truncated file
            throw FileError(std::string(path), 0, 0,
                            "cannot read: " + io::toStd(file.errorString()));
        throw;
    }
}

void registerDeriveFunction(std::string key, DeriveFunction function) {
    deriveFunctions()[std::move(key)] = std::move(function);
}

} // namespace VELD
