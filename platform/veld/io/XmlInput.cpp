#include "platform/veld/io/XmlInput_p.hpp"

namespace VELD::io {

std::string toStd(QStringView s) {
    const QByteArray utf8 = s.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

const std::string& toStd(QStringView s, std::string& buffer) {
    buffer.resize(static_cast<std::size_t>(s.size()));
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c >= 0x80) {
            buffer = toStd(s);
            return buffer;
        }
        buffer[static_cast<std::size_t>(i)] = static_cast<char>(c);
    }
    return buffer;
}

XmlInput::XmlInput(QIODevice* device, std::string sourceName) : source(std::move(sourceName)) {
    streamReader.setDevice(device);
    streamReader.setNamespaceProcessing(false);
}

void XmlInput::fail(const std::string& what) const {
    failAt(line(), column(), what);
}

void XmlInput::failAt(std::int64_t line, std::int64_t column, const std::string& what) const {
    throw FileError(source, line, column, what);
}

QXmlStreamReader::TokenType XmlInput::next() {
    for (;;) {
        const auto token = streamReader.readNext();
        switch (token) {
        case QXmlStreamReader::StartElement:
            elementAttributes = streamReader.attributes();
            return token;
        case QXmlStreamReader::EndElement:
        case QXmlStreamReader::EndDocument:
            return token;
        case QXmlStreamReader::StartDocument:
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
            continue;
        case QXmlStreamReader::Characters:
            if (streamReader.isWhitespace())
                continue;
            fail("unexpected text '" + toStd(streamReader.text().left(40)) + "'");
        case QXmlStreamReader::DTD:
            fail("document type declarations are not allowed");
        case QXmlStreamReader::EntityReference:
            fail("unknown entity '" + toStd(streamReader.name()) + "'");
        case QXmlStreamReader::Invalid:
        case QXmlStreamReader::NoToken:
            if (streamReader.error() == QXmlStreamReader::PrematureEndOfDocumentError)
                fail("the file ends too early (truncated?): " + toStd(streamReader.errorString()));
            fail("not well-formed XML: " + toStd(streamReader.errorString()));
        }
    }
}

QString XmlInput::elementText() {
    const std::int64_t l = line(), c = column();
    QString text = streamReader.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    if (streamReader.hasError()) {
        if (streamReader.error() == QXmlStreamReader::UnexpectedElementError)
            failAt(l, c, "a value holds text only, no elements");
        if (streamReader.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            fail("the file ends too early (truncated?): " + toStd(streamReader.errorString()));
        fail("not well-formed XML: " + toStd(streamReader.errorString()));
    }
    return text;
}

std::string XmlInput::name() const {
    return toStd(streamReader.name());
}

QStringView XmlInput::requiredRaw(QLatin1StringView name) const {
    if (!elementAttributes.hasAttribute(name))
        fail("<" + this->name() + "> needs the attribute '" + toStd(QString(name)) + "'");
    return elementAttributes.value(name);
}

std::optional<std::string> XmlInput::attribute(std::string_view name) const {
    const QLatin1StringView key(name.data(), static_cast<qsizetype>(name.size()));
    if (!elementAttributes.hasAttribute(key))
        return std::nullopt;
    return toStd(elementAttributes.value(key));
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

void XmlInput::allowOnly(std::initializer_list<QLatin1StringView> names) const {
    for (const QXmlStreamAttribute& a : elementAttributes) {
        bool known = false;
        for (QLatin1StringView allowed : names)
            known = known || a.qualifiedName() == allowed;
        if (!known) {
            // Appended piece by piece: GCC 12 warns falsely about "<" + name() at -O3.
            std::string message("<");
            message += name();
            message += "> has an unknown attribute '";
            message += toStd(a.qualifiedName());
            message += "'";
            fail(message);
        }
    }
}

} // namespace VELD::io
