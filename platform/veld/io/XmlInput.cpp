#include "platform/veld/io/XmlInput_p.hpp"

namespace VELD::io {

std::string toStd(QStringView s) {
    const QByteArray utf8 = s.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

XmlInput::XmlInput(QByteArray data, std::string sourceName)
    : data_(std::move(data)), source_(std::move(sourceName)) {
    reader_.addData(data_);
    // Whole documents only: no declared entities to expand, no namespaces to resolve.
    reader_.setNamespaceProcessing(false);
}

void XmlInput::fail(const std::string& what) const { failAt(line(), column(), what); }

void XmlInput::failAt(std::int64_t line, std::int64_t column, const std::string& what) const {
    throw FileError(source_, line, column, what);
}

QXmlStreamReader::TokenType XmlInput::next() {
    for (;;) {
        const auto token = reader_.readNext();
        switch (token) {
        case QXmlStreamReader::StartElement:
        case QXmlStreamReader::EndElement:
        case QXmlStreamReader::EndDocument:
            return token;
        case QXmlStreamReader::StartDocument:
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
            continue;
        case QXmlStreamReader::Characters:
            if (reader_.isWhitespace())
                continue;
            fail("unexpected text '" + toStd(reader_.text().left(40)) + "'");
        case QXmlStreamReader::DTD:
            fail("document type declarations are not allowed");
        case QXmlStreamReader::EntityReference:
            fail("unknown entity '" + toStd(reader_.name()) + "'");
        case QXmlStreamReader::Invalid:
        case QXmlStreamReader::NoToken:
            if (reader_.error() == QXmlStreamReader::PrematureEndOfDocumentError)
                fail("the file ends too early (truncated?): " + toStd(reader_.errorString()));
            fail("not well-formed XML: " + toStd(reader_.errorString()));
        }
    }
}

QString XmlInput::elementText() {
    const std::int64_t l = line(), c = column();
    QString text = reader_.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    if (reader_.hasError()) {
        if (reader_.error() == QXmlStreamReader::UnexpectedElementError)
            failAt(l, c, "a value holds text only, no elements");
        if (reader_.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            fail("the file ends too early (truncated?): " + toStd(reader_.errorString()));
        fail("not well-formed XML: " + toStd(reader_.errorString()));
    }
    return text;
}

std::string XmlInput::name() const { return toStd(reader_.name()); }

std::optional<std::string> XmlInput::attribute(std::string_view name) const {
    const QString key = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    const QXmlStreamAttributes attrs = reader_.attributes();
    if (!attrs.hasAttribute(key))
        return std::nullopt;
    return toStd(attrs.value(key));
}

std::string XmlInput::required(std::string_view name) const {
    std::optional<std::string> v = attribute(name);
    if (!v)
        fail("<" + this->name() + "> needs the attribute '" + std::string(name) + "'");
    return *v;
}

bool XmlInput::boolean(std::string_view name, bool fallback) const {
    const std::optional<std::string> v = attribute(name);
    if (!v)
        return fallback;
    if (*v == "true")
        return true;
    if (*v == "false")
        return false;
    fail("attribute '" + std::string(name) + "' must be true or false, not '" + *v + "'");
}

void XmlInput::allowOnly(std::initializer_list<std::string_view> names) const {
    for (const QXmlStreamAttribute& a : reader_.attributes()) {
        const std::string n = toStd(a.qualifiedName());
        bool known = false;
        for (std::string_view allowed : names)
            known = known || n == allowed;
        if (!known)
            fail("<" + name() + "> has an unknown attribute '" + n + "'");
    }
}

} // namespace VELD::io
