// Private to platform/veld/io/: included only by its own sources and tests; not installed.
#pragma once

// A strict XML 1.0 tokenizer over a file held in memory, for model files, which can be large
// enough that a general parser is the bottleneck of loading. It reads UTF-8 only and refuses
// document type declarations, so the five predefined entities and character references are
// the only references there are; namespaces are not interpreted (a prefixed name is a name).
// Elements, attributes in either quote, text, CDATA sections, comments, processing
// instructions and the XML declaration are read; anything malformed throws FileError.
//
// Positions in errors are lines from 1 and columns from 0 counted in UTF-16 units, as Qt's
// XML reader counts them; they are worked out from byte offsets only when an error is raised.

#include "platform/veld/io/FileError.hpp"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace VELD::io {

// Equality of short names, without a call to memcmp for each.
inline bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

class XmlScanner {
public:
    enum class Token { StartElement, EndElement, EndDocument };
    struct Attribute {
        std::string_view name;
        std::string_view value; // references resolved, whitespace normalised
    };

    // bytes must outlive the scanner; so must every view it hands out, which stays valid
    // until the next call to next() or elementText(). Elements nest at most maxDepth deep.
    XmlScanner(std::string_view bytes, std::string sourceName, std::size_t maxDepth);

    // Has release called with ranges of the input read past, every step bytes or so, so that a
    // caller that maps a file can let go of its pages. The scanner may read them again (the
    // names of open elements, the positions of errors): only for memory that reads back the
    // same after it was released, such as a read-only file mapping.
    void onConsumed(std::function<void(std::size_t from, std::size_t to)> release,
                    std::size_t step) {
        releaseHandler = std::move(release);
        releaseStep = step;
    }

    // The next start or end element, or EndDocument. Comments, processing instructions and
    // whitespace between elements are skipped; other text fails.
    Token next();
    Token token() const { return currentToken; }
    // The name of the current element (start or end).
    std::string_view name() const { return elementName; }
    bool isNamed(std::string_view name) const { return sameName(elementName, name); }

    // Attributes of the current start element.
    const std::vector<Attribute>& attributes() const { return elementAttributes; }
    const std::string_view* attribute(std::string_view name) const;
    std::string_view required(std::string_view name) const; // fails when absent
    // Fails when the current element has an attribute not in the list.
    void allowOnly(std::initializer_list<std::string_view> names) const;
    // Both in one pass: found[i] points to the value of names[i], or is null when it is
    // absent; fails as allowOnly does. The pointers last as long as the attributes.
    void match(std::initializer_list<std::string_view> names, const std::string_view** found) const;
    // The value match found, failing as required(name) does when there is none.
    std::string_view required(const std::string_view* found, std::string_view name) const {
        return found ? *found : required(name);
    }

    // The text of the current start element up to and including its end tag; the element
    // must hold no elements. Afterwards the current token is that end element.
    std::string_view elementText();

    // Where the last token ended, as a byte offset: a place to report later.
    std::size_t offset() const { return tokenEnd; }
    [[noreturn]] void fail(const std::string& what) const { failAt(tokenEnd, what); }
    [[noreturn]] void failAt(std::size_t offset, const std::string& what) const;

    // Line (from 1) and column (from 0, in UTF-16 units) of a byte offset.
    struct Position {
        std::int64_t line;
        std::int64_t column;
    };
    Position position(std::size_t offset) const;

private:
    void start();
    void readDeclaration();
    void validate(std::size_t from) const;
    void startTag();
    void endTag();
    void comment();
    void processingInstruction();
    void skipText();
    void failIfCut() const;
    // Appends one reference at pos (on '&') to out, resolved.
    void reference(std::string& out);
    std::string_view scanName(const char* what);
    std::string_view scanOtherName(const char* what);
    bool skipSpace();
    void expect(char c, const char* what);
    bool startsWith(std::string_view s) const { return input.substr(pos, s.size()) == s; }
    [[noreturn]] void truncated() const;
    [[noreturn]] void malformed(std::size_t at, const std::string& what) const;

    std::string_view input;
    std::size_t pos = 0;
    std::size_t tokenEnd = 0;
    std::string source;
    std::size_t depthLimit;
    Token currentToken = Token::EndDocument;
    bool started = false;
    bool rootSeen = false;
    bool pendingEnd = false; // the current start element closed itself
    std::string_view elementName;
    std::vector<std::string_view> openElements;
    std::vector<Attribute> elementAttributes;
    std::string resolvedValues; // attribute values that needed resolving, one after another
    std::vector<std::pair<std::size_t, std::size_t>>
        resolvedAttributes; // attribute, start in resolvedValues
    std::string textBuffer;
    std::function<void(std::size_t, std::size_t)> releaseHandler;
    std::size_t releaseStep = 0;
    std::size_t released = 0;
};

} // namespace VELD::io
