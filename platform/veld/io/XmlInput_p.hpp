// Private to platform/veld/io/: included only by its own sources and tests; not installed.
#pragma once

// Strict reading of meta-model files on Qt's XML stream reader: every failure becomes a
// FileError at the reader's position, and anything the format does not define (DTDs, stray
// text, unknown attributes) is refused instead of skipped. Model files, far larger, have a
// scanner of their own (XmlScanner_p.hpp).

#include "platform/veld/io/FileError.hpp"

#include <QtCore/QIODevice>
#include <QtCore/QXmlStreamReader>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace VELD::io {

class XmlInput {
public:
    // Reads from the device as it goes, so that a file is never held whole in memory.
    XmlInput(QIODevice* device, std::string sourceName);

    QXmlStreamReader& reader() { return streamReader; }
    const std::string& sourceName() const { return source; }

    // The next start or end element, or EndDocument. Comments and processing instructions
    // are skipped, whitespace between elements too; anything else fails.
    QXmlStreamReader::TokenType next();
    // The text of the current element, which must hold no elements.
    QString elementText();

    std::string name() const; // of the current element
    bool isNamed(QLatin1StringView name) const { return streamReader.name() == name; }

    // Attributes of the current start element.
    bool has(QLatin1StringView name) const { return elementAttributes.hasAttribute(name); }
    QStringView raw(QLatin1StringView name) const { return elementAttributes.value(name); }
    QStringView requiredRaw(QLatin1StringView name) const;
    std::optional<std::string> attribute(std::string_view name) const;
    std::string required(std::string_view name) const;
    bool boolean(std::string_view name, bool fallback) const;
    // Fails when the current element has an attribute not in the list.
    void allowOnly(std::initializer_list<QLatin1StringView> names) const;

    [[noreturn]] void fail(const std::string& what) const;
    [[noreturn]] void failAt(std::int64_t line, std::int64_t column, const std::string& what) const;
    std::int64_t line() const { return streamReader.lineNumber(); }
    std::int64_t column() const { return streamReader.columnNumber(); }

private:
    QXmlStreamReader streamReader;
    QXmlStreamAttributes elementAttributes;
    std::string source;
};

// Files hold UTF-8; these convert at the border.
std::string toStd(QStringView s);
// Into a buffer kept by the caller: names and numbers are ASCII, converted without allocating.
const std::string& toStd(QStringView s, std::string& buffer);

} // namespace VELD::io
