#include "platform/veld/io/XmlScanner_p.hpp"

#include "platform/veld/io/Utf8_p.hpp"

#include <array>
#include <cstring>

namespace VELD::io {

namespace {

// Classes of ASCII characters, looked up instead of compared in the loops that run over
// every byte of a file.
enum : unsigned char { kSpace = 1, kNameStart = 2, kNameChar = 4, kAttrSpecial = 8 };

constexpr std::array<unsigned char, 256> classes() {
    std::array<unsigned char, 256> t{};
    for (char c : {' ', '\n', '\t', '\r'})
        t[static_cast<unsigned char>(c)] |= kSpace | kAttrSpecial;
    for (int c = 'a'; c <= 'z'; ++c)
        t[c] |= kNameStart | kNameChar;
    for (int c = 'A'; c <= 'Z'; ++c)
        t[c] |= kNameStart | kNameChar;
    for (char c : {'_', ':'})
        t[static_cast<unsigned char>(c)] |= kNameStart | kNameChar;
    for (int c = '0'; c <= '9'; ++c)
        t[c] |= kNameChar;
    for (char c : {'-', '.'})
        t[static_cast<unsigned char>(c)] |= kNameChar;
    for (char c : {'<', '&', '"', '\''})
        t[static_cast<unsigned char>(c)] |= kAttrSpecial;
    return t;
}
constexpr std::array<unsigned char, 256> kClass = classes();

inline unsigned char classOf(char c) {
    return kClass[static_cast<unsigned char>(c)];
}
inline bool isSpace(char c) {
    return classOf(c) & kSpace;
}

bool isAsciiNameStart(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
}

bool isAsciiNameChar(unsigned char c) {
    return isAsciiNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool isNameStart(char32_t c) {
    return (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) ||
           (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0xEFFFF);
}

bool isNameChar(char32_t c) {
    return isNameStart(c) || c == 0xB7 || (c >= 0x300 && c <= 0x36F) ||
           (c >= 0x203F && c <= 0x2040);
}

bool isXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Decodes the character at s[i]. A sequence that is cut short or malformed (possible only
// before validation, in the XML declaration) gives U+FFFF, which no name holds.
int decode(std::string_view s, std::size_t i, char32_t& cp) {
    const Utf8Char d = decodeUtf8(reinterpret_cast<const unsigned char*>(s.data()), s.size(), i);
    if (d.error != Utf8Error::None && d.error != Utf8Error::OutOfRange) {
        cp = 0xFFFF;
        return 1;
    }
    cp = d.cp;
    return d.length;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The XML declaration is read before the file is validated: its values are shown with
// anything but printable ASCII replaced.
std::string printable(std::string_view text) {
    std::string out(text.substr(0, 40));
    for (char& c : out)
        if (c < 0x20 || c > 0x7E)
            c = '?';
    return out;
}

std::string hexByte(unsigned char c) {
    static const char digits[] = "0123456789ABCDEF";
    return {digits[c >> 4], digits[c & 15]};
}

} // namespace

XmlScanner::XmlScanner(std::string_view bytes, std::string sourceName, std::size_t maxDepth)
    : input(bytes), source(std::move(sourceName)), depthLimit(maxDepth) {}

XmlScanner::Position XmlScanner::position(std::size_t offset) const {
    if (offset > input.size())
        offset = input.size();
    std::int64_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset; ++i) {
        const char c = input[i];
        if (c == '\n' || (c == '\r' && (i + 1 >= input.size() || input[i + 1] != '\n'))) {
            ++line;
            lineStart = i + 1;
        }
    }
    // A byte order mark is no character of the text.
    if (lineStart == 0 && input.substr(0, 3) == "\xEF\xBB\xBF" && offset >= 3)
        lineStart = 3;
    std::int64_t column = 0;
    for (std::size_t i = lineStart; i < offset; ++i) {
        const auto c = static_cast<unsigned char>(input[i]);
        column += (c & 0xC0) != 0x80; // one per character...
        column += c >= 0xF0;          // ...and two for those outside the basic plane
    }
    return {line, column};
}

void XmlScanner::failAt(std::size_t offset, const std::string& what) const {
    const Position p = position(offset);
    throw FileError(source, p.line, p.column, what);
}

void XmlScanner::truncated() const {
    failAt(input.size(), "the file ends too early (truncated?)");
}

void XmlScanner::malformed(std::size_t at, const std::string& what) const {
    failAt(at, "not well-formed XML: " + what);
}

const std::string_view* XmlScanner::attribute(std::string_view name) const {
    for (const Attribute& a : elementAttributes)
        if (sameName(a.name, name))
            return &a.value;
    return nullptr;
}

std::string_view XmlScanner::required(std::string_view name) const {
    const std::string_view* value = attribute(name);
    if (!value)
        fail(std::string(1, '<')
                 .append(elementName)
                 .append("> needs the attribute '")
                 .append(name)
                 .append("'"));
    return *value;
}

void XmlScanner::allowOnly(std::initializer_list<std::string_view> names) const {
    for (const Attribute& a : elementAttributes) {
        bool known = false;
        for (std::string_view allowed : names)
            known = known || sameName(a.name, allowed);
        if (!known)
            fail(std::string(1, '<')
                     .append(elementName)
                     .append("> has an unknown attribute '")
                     .append(a.name)
                     .append("'"));
    }
}

void XmlScanner::match(std::initializer_list<std::string_view> names,
                       const std::string_view** found) const {
    for (std::size_t i = 0; i < names.size(); ++i)
        found[i] = nullptr;
    for (const Attribute& a : elementAttributes) {
        std::size_t i = 0;
        for (std::string_view allowed : names) {
            if (sameName(a.name, allowed))
                break;
            ++i;
        }
        if (i == names.size())
            fail(std::string(1, '<')
                     .append(elementName)
                     .append("> has an unknown attribute '")
                     .append(a.name)
                     .append("'"));
        found[i] = &a.value;
    }
}

// --- the document's frame ---------------------------------------------------------------------

void XmlScanner::start() {
    started = true;
    if (startsWith("\xEF\xBB\xBF"))
        pos = 3;
    if (startsWith("<?xml") && pos + 5 < input.size() &&
        (isSpace(input[pos + 5]) || input[pos + 5] == '?'))
        readDeclaration();
    validate(pos);
}

// <?xml version="1.0" encoding="UTF-8" standalone="yes"?>, the last two optional, in this order.
void XmlScanner::readDeclaration() {
    const std::size_t at = pos;
    pos += 5;
    static constexpr std::string_view order[] = {"version", "encoding", "standalone"};
    std::size_t next = 0; // the first of order still allowed
    for (;;) {
        const bool space = skipSpace();
        if (startsWith("?>")) {
            pos += 2;
            break;
        }
        if (pos + 1 >= input.size())
            truncated();
        if (!space)
            malformed(pos, "expected a space in the XML declaration");
        const std::size_t nameAt = pos;
        const std::string_view name = scanName("a name in the XML declaration");
        std::size_t index = next;
        while (index < std::size(order) && order[index] != name)
            ++index;
        if (index == std::size(order) || (next == 0 && index != 0))
            malformed(nameAt, "unexpected '" + std::string(name) + "' in the XML declaration");
        next = index + 1;
        skipSpace();
        expect('=', "'=' in the XML declaration");
        skipSpace();
        if (pos >= input.size())
            truncated();
        const char quote = input[pos];
        if (quote != '"' && quote != '\'')
            malformed(pos, "expected a quoted value in the XML declaration");
        const std::size_t end = input.find(quote, pos + 1);
        if (end == std::string_view::npos)
            truncated();
        const std::string_view value = input.substr(pos + 1, end - pos - 1);
        const std::size_t valueAt = pos + 1;
        pos = end + 1;
        if (name == "version" && value != "1.0")
            malformed(valueAt, "unsupported XML version '" + printable(value) + "'");
        if (name == "encoding") {
            std::string lower(value);
            for (char& c : lower)
                c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            if (lower != "utf-8" && lower != "utf8")
                failAt(valueAt, "only UTF-8 files are read, not '" + printable(value) + "'");
        }
        if (name == "standalone" && value != "yes" && value != "no")
            malformed(valueAt, "standalone must be yes or no");
    }
    if (next == 0)
        malformed(at, "the XML declaration needs a version");
}

// The rest of the file must be UTF-8 of characters XML allows; the scanner below then deals
// in bytes and only decodes where names need it.
void XmlScanner::validate(std::size_t from) const {
    const auto* s = reinterpret_cast<const unsigned char*>(input.data());
    const std::size_t n = input.size();
    std::size_t i = from;
    while (i < n) {
        // Eight ASCII characters at a time; only those with something below a space (most
        // often a line feed) are looked at one by one.
        if (i + 8 <= n) {
            std::uint64_t w;
            std::memcpy(&w, s + i, 8);
            constexpr std::uint64_t high = 0x8080808080808080ull, spaces = 0x2020202020202020ull;
            if ((w & high) == 0) {
                if (((w - spaces) & ~w & high) != 0)
                    for (std::size_t k = i; k < i + 8; ++k)
                        if (s[k] < 0x20 && s[k] != '\t' && s[k] != '\n' && s[k] != '\r')
                            failAt(k, "the control character U+00" + hexByte(s[k]) +
                                          " is not allowed in XML");
                i += 8;
                continue;
            }
        }
        const unsigned char c = s[i];
        if (c < 0x80) {
            if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
                failAt(i, "the control character U+00" + hexByte(c) + " is not allowed in XML");
            ++i;
            continue;
        }
        const Utf8Char d = decodeUtf8(s, n, i);
        switch (d.error) {
        case Utf8Error::BadLead:
            failAt(i, "invalid UTF-8 (byte 0x" + hexByte(c) + ")");
        case Utf8Error::Truncated:
            truncated();
        case Utf8Error::BadContinuation:
            failAt(i, "invalid UTF-8 (byte 0x" + hexByte(c) + " starts an incomplete sequence)");
        case Utf8Error::OutOfRange:
            failAt(i, "invalid UTF-8 (an overlong sequence, a surrogate or beyond U+10FFFF)");
        case Utf8Error::None:
            break;
        }
        if (d.cp == 0xFFFE || d.cp == 0xFFFF)
            failAt(i, "the noncharacter U+" + hexByte(static_cast<unsigned char>(d.cp >> 8)) +
                          hexByte(static_cast<unsigned char>(d.cp)) + " is not allowed in XML");
        i += static_cast<std::size_t>(d.length);
    }
}

XmlScanner::Token XmlScanner::next() {
    if (!started)
        start();
    if (pendingEnd) {
        pendingEnd = false;
        elementName = openElements.back();
        openElements.pop_back();
        currentToken = Token::EndElement;
        return currentToken;
    }
    if (releaseHandler && pos - released >= releaseStep) {
        releaseHandler(released, pos);
        released = pos;
    }
    for (;;) {
        if (pos >= input.size()) {
            if (!openElements.empty() || !rootSeen)
                truncated();
            tokenEnd = pos;
            currentToken = Token::EndDocument;
            return currentToken;
        }
        if (input[pos] != '<') {
            skipText();
            continue;
        }
        // One look at the character after '<' sorts the markup.
        const char second = pos + 1 < input.size() ? input[pos + 1] : '\0';
        if (second == '/') {
            endTag();
            return currentToken;
        }
        if (second == '?') {
            processingInstruction();
        } else if (second != '!') {
            startTag();
            return currentToken;
        } else if (startsWith("<!--")) {
            comment();
        } else {
            failIfCut();
            if (startsWith("<!DOCTYPE"))
                failAt(pos, "document type declarations are not allowed");
            if (startsWith("<![CDATA[") && !openElements.empty()) {
                // Text, never whitespace between elements.
                const std::size_t end = input.find("]]>", pos + 9);
                if (end == std::string_view::npos)
                    truncated();
                const std::string_view text = input.substr(pos + 9, end - pos - 9);
                pos = end + 3;
                tokenEnd = pos;
                fail("unexpected text '" + std::string(text.substr(0, 40)) + "'");
            }
            malformed(pos, "unexpected '<!'");
        }
    }
}

// Character data between elements: whitespace is skipped, anything else fails, as this format
// has no mixed content outside values.
void XmlScanner::skipText() {
    const std::size_t at = pos;
    while (pos < input.size() && isSpace(input[pos]))
        ++pos;
    if (pos >= input.size() || input[pos] == '<')
        return;
    if (openElements.empty())
        malformed(pos, rootSeen ? "text after the root element" : "text before the root element");
    // Resolved for the message, which shows its start (a broken reference fails on its own).
    textBuffer.clear();
    pos = at;
    while (pos < input.size() && input[pos] != '<') {
        if (input[pos] == '&')
            reference(textBuffer);
        else
            textBuffer += input[pos++];
    }
    // Reported after the '<' that ends the text, where Qt's reader reports it too.
    tokenEnd = std::min(pos + 1, input.size());
    std::size_t cut = std::min<std::size_t>(textBuffer.size(), 40);
    while (cut < textBuffer.size() && (static_cast<unsigned char>(textBuffer[cut]) & 0xC0) == 0x80)
        --cut;
    fail("unexpected text '" + textBuffer.substr(0, cut) + "'");
}

// Markup starting with "<!" that the end of the file cuts short reads as a truncated file.
void XmlScanner::failIfCut() const {
    const std::string_view rest = input.substr(pos);
    for (std::string_view opening : {"<!--", "<![CDATA[", "<!DOCTYPE"})
        if (rest.size() < opening.size() && opening.starts_with(rest))
            truncated();
}

inline bool XmlScanner::skipSpace() {
    const std::size_t at = pos;
    while (pos < input.size() && isSpace(input[pos]))
        ++pos;
    return pos != at;
}

inline void XmlScanner::expect(char c, const char* what) {
    if (pos >= input.size())
        truncated();
    if (input[pos] != c)
        malformed(pos, std::string("expected ") + what);
    ++pos;
}

inline std::string_view XmlScanner::scanName(const char* what) {
    const std::size_t at = pos;
    // Plain ASCII names, the usual case, in a tight loop.
    if (at < input.size() && (classOf(input[at]) & kNameStart)) {
        std::size_t end = at + 1;
        while (end < input.size() && (classOf(input[end]) & kNameChar))
            ++end;
        if (end < input.size() && static_cast<unsigned char>(input[end]) < 0x80) {
            pos = end;
            return input.substr(at, end - at);
        }
    }
    return scanOtherName(what);
}

// Names with other characters, and the errors of names.
std::string_view XmlScanner::scanOtherName(const char* what) {
    const std::size_t at = pos;
    bool first = true;
    while (pos < input.size()) {
        const auto c = static_cast<unsigned char>(input[pos]);
        if (c < 0x80) {
            if (!(first ? isAsciiNameStart(c) : isAsciiNameChar(c)))
                break;
            ++pos;
        } else {
            char32_t cp;
            const int length = decode(input, pos, cp);
            if (!(first ? isNameStart(cp) : isNameChar(cp)))
                break;
            pos += static_cast<std::size_t>(length);
        }
        first = false;
    }
    if (pos >= input.size())
        truncated();
    if (first)
        malformed(pos, std::string("expected ") + what);
    return input.substr(at, pos - at);
}

// --- markup -----------------------------------------------------------------------------------

void XmlScanner::comment() {
    const std::size_t dashes = input.find("--", pos + 4);
    if (dashes == std::string_view::npos || dashes + 2 >= input.size())
        truncated();
    if (input[dashes + 2] != '>')
        malformed(dashes, "'--' inside a comment");
    pos = dashes + 3;
    tokenEnd = pos;
}

void XmlScanner::processingInstruction() {
    pos += 2;
    const std::size_t targetAt = pos;
    const std::string_view target = scanName("the target of a processing instruction");
    if (target.size() == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' &&
        (target[2] | 0x20) == 'l')
        malformed(targetAt, "the XML declaration may only open the file");
    if (!startsWith("?>") && !skipSpace())
        malformed(pos, "expected a space after the target of a processing instruction");
    const std::size_t end = input.find("?>", pos);
    if (end == std::string_view::npos)
        truncated();
    pos = end + 2;
    tokenEnd = pos;
}

void XmlScanner::reference(std::string& out) {
    const std::size_t at = pos;
    ++pos;
    if (pos >= input.size())
        truncated();
    if (input[pos] == '#') {
        ++pos;
        const bool hex = pos < input.size() && input[pos] == 'x';
        pos += hex;
        char32_t value = 0;
        std::size_t digits = 0;
        for (; pos < input.size(); ++pos, ++digits) {
            const char c = input[pos];
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                break;
            value = value * (hex ? 16 : 10) + static_cast<char32_t>(d);
            if (value > 0x10FFFF)
                value = 0x110000; // stays out of range, and cannot overflow
        }
        if (pos >= input.size())
            truncated();
        if (digits == 0 || input[pos] != ';')
            malformed(pos, "a character reference needs digits and ';'");
        ++pos;
        if (!isXmlChar(value))
            malformed(at, "the character reference '" + std::string(input.substr(at, pos - at)) +
                              "' is to a character XML does not allow");
        appendUtf8(out, value);
        return;
    }
    const std::string_view name = scanName("an entity name after '&'");
    expect(';', "';' after an entity name");
    if (name == "lt")
        out += '<';
    else if (name == "gt")
        out += '>';
    else if (name == "amp")
        out += '&';
    else if (name == "apos")
        out += '\'';
    else if (name == "quot")
        out += '"';
    else
        failAt(at, "unknown entity '" + std::string(name) + "'");
}

void XmlScanner::startTag() {
    if (openElements.empty() && rootSeen)
        malformed(pos, "content after the root element");
    ++pos;
    const std::string_view name = scanName("an element name after '<'");
    elementAttributes.clear();
    resolvedValues.clear();
    resolvedAttributes.clear();
    for (;;) {
        const bool space = skipSpace();
        if (pos >= input.size())
            truncated();
        const char c = input[pos];
        if (c == '>') {
            ++pos;
            break;
        }
        if (c == '/') {
            ++pos;
            expect('>', "'>' after '/'");
            pendingEnd = true;
            break;
        }
        if (!space)
            malformed(pos, "expected a space, '>' or '/>' in a start tag");
        const std::size_t nameAt = pos;
        const std::string_view attr = scanName("an attribute name");
        for (const Attribute& a : elementAttributes)
            if (sameName(a.name, attr))
                malformed(nameAt, "the attribute '" + std::string(attr) + "' is given twice");
        skipSpace();
        expect('=', "'=' after an attribute name");
        skipSpace();
        if (pos >= input.size())
            truncated();
        const char quote = input[pos];
        if (quote != '"' && quote != '\'')
            malformed(pos, "an attribute value must be quoted");
        const std::size_t from = ++pos;
        bool plain = true;
        for (; pos < input.size(); ++pos) {
            const char v = input[pos];
            if (!(classOf(v) & kAttrSpecial))
                continue;
            if (v == quote)
                break;
            if (v == '<')
                malformed(pos, "'<' in an attribute value");
            plain = plain && (v == '"' || v == '\'' || v == ' ');
        }
        if (pos >= input.size())
            truncated();
        if (plain) {
            elementAttributes.push_back({attr, input.substr(from, pos - from)});
        } else {
            // Resolved into resolvedValues; its view is set once resolvedValues stops growing.
            const std::size_t end = pos;
            resolvedAttributes.emplace_back(elementAttributes.size(), resolvedValues.size());
            pos = from;
            while (pos < end) {
                const char v = input[pos];
                if (v == '&') {
                    reference(resolvedValues);
                    if (pos > end)
                        malformed(end, "a reference runs past the end of an attribute value");
                } else if (v == '\r' || v == '\n' || v == '\t') {
                    resolvedValues += ' '; // line ends and tabs in attribute values read as spaces
                    pos += (v == '\r' && pos + 1 < end && input[pos + 1] == '\n') ? 2 : 1;
                } else {
                    resolvedValues += v;
                    ++pos;
                }
            }
            elementAttributes.push_back({attr, {}});
        }
        ++pos; // the closing quote
    }
    for (std::size_t k = 0; k < resolvedAttributes.size(); ++k) {
        const std::size_t start = resolvedAttributes[k].second;
        const std::size_t end = k + 1 < resolvedAttributes.size() ? resolvedAttributes[k + 1].second
                                                                  : resolvedValues.size();
        elementAttributes[resolvedAttributes[k].first].value =
            std::string_view(resolvedValues).substr(start, end - start);
    }
    if (openElements.size() >= depthLimit)
        failAt(pos, "elements nest deeper than " + std::to_string(depthLimit) + " levels");
    openElements.push_back(name);
    elementName = name;
    rootSeen = true;
    tokenEnd = pos;
    currentToken = Token::StartElement;
}

void XmlScanner::endTag() {
    const std::size_t at = pos;
    pos += 2;
    const std::string_view name = scanName("an element name after '</'");
    skipSpace();
    expect('>', "'>' to close an end tag");
    if (openElements.empty())
        malformed(at, "the end tag </" + std::string(name) + "> closes nothing");
    if (!sameName(openElements.back(), name))
        malformed(at, "the end tag </" + std::string(name) + "> does not match <" +
                          std::string(openElements.back()) + ">");
    openElements.pop_back();
    elementName = name;
    tokenEnd = pos;
    currentToken = Token::EndElement;
}

std::string_view XmlScanner::elementText() {
    if (currentToken != Token::StartElement)
        fail("expected an element's text");
    if (pendingEnd) {
        next();
        return {};
    }
    const std::size_t startedAt = tokenEnd;
    // The usual case, plain text right up to the end tag, is a view into the file.
    std::size_t i = pos;
    while (i < input.size()) {
        const char c = input[i];
        if (c == '<' || c == '&' || c == '\r' || c == ']')
            break;
        ++i;
    }
    if (i + 1 < input.size() && input[i] == '<' && input[i + 1] == '/') {
        const std::string_view text = input.substr(pos, i - pos);
        pos = i;
        endTag();
        return text;
    }
    textBuffer.clear();
    for (;;) {
        if (pos >= input.size())
            truncated();
        const char c = input[pos];
        if (c == '<') {
            if (startsWith("</")) {
                endTag();
                return textBuffer;
            }
            if (startsWith("<!--")) {
                comment();
            } else if (startsWith("<?")) {
                processingInstruction();
            } else if (startsWith("<![CDATA[")) {
                const std::size_t end = input.find("]]>", pos + 9);
                if (end == std::string_view::npos)
                    truncated();
                for (std::size_t k = pos + 9; k < end; ++k) {
                    if (input[k] == '\r') {
                        textBuffer += '\n';
                        k += k + 1 < end && input[k + 1] == '\n';
                    } else {
                        textBuffer += input[k];
                    }
                }
                pos = end + 3;
            } else if (pos + 1 < input.size() && input[pos + 1] == '!') {
                failIfCut();
                malformed(pos, "unexpected '<!'");
            } else {
                startTag(); // a broken or cut off tag is reported as such first
                failAt(startedAt, "a value holds text only, no elements");
            }
        } else if (c == '&') {
            reference(textBuffer);
        } else if (c == '\r') {
            textBuffer += '\n'; // line ends read as line feeds
            pos += pos + 1 < input.size() && input[pos + 1] == '\n' ? 2 : 1;
        } else if (c == ']' && startsWith("]]>")) {
            malformed(pos, "']]>' in text");
        } else {
            textBuffer += c;
            ++pos;
        }
    }
}

} // namespace VELD::io
