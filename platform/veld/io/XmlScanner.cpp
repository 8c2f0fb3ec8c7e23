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
    : in_(bytes), source_(std::move(sourceName)), maxDepth_(maxDepth) {}

XmlScanner::Position XmlScanner::position(std::size_t offset) const {
    if (offset > in_.size())
        offset = in_.size();
    std::int64_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset; ++i) {
        const char c = in_[i];
        if (c == '\n' || (c == '\r' && (i + 1 >= in_.size() || in_[i + 1] != '\n'))) {
            ++line;
            lineStart = i + 1;
        }
    }
    // A byte order mark is no character of the text.
    if (lineStart == 0 && in_.substr(0, 3) == "\xEF\xBB\xBF" && offset >= 3)
        lineStart = 3;
    std::int64_t column = 0;
    for (std::size_t i = lineStart; i < offset; ++i) {
        const auto c = static_cast<unsigned char>(in_[i]);
        column += (c & 0xC0) != 0x80; // one per character...
        column += c >= 0xF0;          // ...and two for those outside the basic plane
    }
    return {line, column};
}

void XmlScanner::failAt(std::size_t offset, const std::string& what) const {
    const Position p = position(offset);
    throw FileError(source_, p.line, p.column, what);
}

void XmlScanner::truncated() const {
    failAt(in_.size(), "the file ends too early (truncated?)");
}

void XmlScanner::malformed(std::size_t at, const std::string& what) const {
    failAt(at, "not well-formed XML: " + what);
}

const std::string_view* XmlScanner::attribute(std::string_view name) const {
    for (const Attribute& a : attributes_)
        if (sameName(a.name, name))
            return &a.value;
    return nullptr;
}

std::string_view XmlScanner::required(std::string_view name) const {
    const std::string_view* value = attribute(name);
    if (!value)
        fail(std::string(1, '<')
                 .append(name_)
                 .append("> needs the attribute '")
                 .append(name)
                 .append("'"));
    return *value;
}

void XmlScanner::allowOnly(std::initializer_list<std::string_view> names) const {
    for (const Attribute& a : attributes_) {
        bool known = false;
        for (std::string_view allowed : names)
            known = known || sameName(a.name, allowed);
        if (!known)
            fail(std::string(1, '<')
                     .append(name_)
                     .append("> has an unknown attribute '")
                     .append(a.name)
                     .append("'"));
    }
}

void XmlScanner::match(std::initializer_list<std::string_view> names,
                       const std::string_view** found) const {
    for (std::size_t i = 0; i < names.size(); ++i)
        found[i] = nullptr;
    for (const Attribute& a : attributes_) {
        std::size_t i = 0;
        for (std::string_view allowed : names) {
            if (sameName(a.name, allowed))
                break;
            ++i;
        }
        if (i == names.size())
            fail(std::string(1, '<')
                     .append(name_)
                     .append("> has an unknown attribute '")
                     .append(a.name)
                     .append("'"));
        found[i] = &a.value;
    }
}

// --- the document's frame ---------------------------------------------------------------------

void XmlScanner::start() {
    started_ = true;
    if (startsWith("\xEF\xBB\xBF"))
        pos_ = 3;
    if (startsWith("<?xml") && pos_ + 5 < in_.size() &&
        (isSpace(in_[pos_ + 5]) || in_[pos_ + 5] == '?'))
        readDeclaration();
    validate(pos_);
}

// <?xml version="1.0" encoding="UTF-8" standalone="yes"?>, the last two optional, in this order.
void XmlScanner::readDeclaration() {
    const std::size_t at = pos_;
    pos_ += 5;
    static constexpr std::string_view order[] = {"version", "encoding", "standalone"};
    std::size_t next = 0; // the first of order still allowed
    for (;;) {
        const bool space = skipSpace();
        if (startsWith("?>")) {
            pos_ += 2;
            break;
        }
        if (pos_ + 1 >= in_.size())
            truncated();
        if (!space)
            malformed(pos_, "expected a space in the XML declaration");
        const std::size_t nameAt = pos_;
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
        if (pos_ >= in_.size())
            truncated();
        const char quote = in_[pos_];
        if (quote != '"' && quote != '\'')
            malformed(pos_, "expected a quoted value in the XML declaration");
        const std::size_t end = in_.find(quote, pos_ + 1);
        if (end == std::string_view::npos)
            truncated();
        const std::string_view value = in_.substr(pos_ + 1, end - pos_ - 1);
        const std::size_t valueAt = pos_ + 1;
        pos_ = end + 1;
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
    const auto* s = reinterpret_cast<const unsigned char*>(in_.data());
    const std::size_t n = in_.size();
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
    if (!started_)
        start();
    if (pendingEnd_) {
        pendingEnd_ = false;
        name_ = open_.back();
        open_.pop_back();
        token_ = Token::EndElement;
        return token_;
    }
    if (release_ && pos_ - released_ >= releaseStep_) {
        release_(released_, pos_);
        released_ = pos_;
    }
    for (;;) {
        if (pos_ >= in_.size()) {
            if (!open_.empty() || !rootSeen_)
                truncated();
            tokenEnd_ = pos_;
            token_ = Token::EndDocument;
            return token_;
        }
        if (in_[pos_] != '<') {
            skipText();
            continue;
        }
        // One look at the character after '<' sorts the markup.
        const char second = pos_ + 1 < in_.size() ? in_[pos_ + 1] : '\0';
        if (second == '/') {
            endTag();
            return token_;
        }
        if (second == '?') {
            processingInstruction();
        } else if (second != '!') {
            startTag();
            return token_;
        } else if (startsWith("<!--")) {
            comment();
        } else {
            failIfCut();
            if (startsWith("<!DOCTYPE"))
                failAt(pos_, "document type declarations are not allowed");
            if (startsWith("<![CDATA[") && !open_.empty()) {
                // Text, never whitespace between elements.
                const std::size_t end = in_.find("]]>", pos_ + 9);
                if (end == std::string_view::npos)
                    truncated();
                const std::string_view text = in_.substr(pos_ + 9, end - pos_ - 9);
                pos_ = end + 3;
                tokenEnd_ = pos_;
                fail("unexpected text '" + std::string(text.substr(0, 40)) + "'");
            }
            malformed(pos_, "unexpected '<!'");
        }
    }
}

// Character data between elements: whitespace is skipped, anything else fails, as this format
// has no mixed content outside values.
void XmlScanner::skipText() {
    const std::size_t at = pos_;
    while (pos_ < in_.size() && isSpace(in_[pos_]))
        ++pos_;
    if (pos_ >= in_.size() || in_[pos_] == '<')
        return;
    if (open_.empty())
        malformed(pos_, rootSeen_ ? "text after the root element" : "text before the root element");
    // Resolved for the message, which shows its start (a broken reference fails on its own).
    text_.clear();
    pos_ = at;
    while (pos_ < in_.size() && in_[pos_] != '<') {
        if (in_[pos_] == '&')
            reference(text_);
        else
            text_ += in_[pos_++];
    }
    // Reported after the '<' that ends the text, where Qt's reader reports it too.
    tokenEnd_ = std::min(pos_ + 1, in_.size());
    std::size_t cut = std::min<std::size_t>(text_.size(), 40);
    while (cut < text_.size() && (static_cast<unsigned char>(text_[cut]) & 0xC0) == 0x80)
        --cut;
    fail("unexpected text '" + text_.substr(0, cut) + "'");
}

// Markup starting with "<!" that the end of the file cuts short reads as a truncated file.
void XmlScanner::failIfCut() const {
    const std::string_view rest = in_.substr(pos_);
    for (std::string_view opening : {"<!--", "<![CDATA[", "<!DOCTYPE"})
        if (rest.size() < opening.size() && opening.starts_with(rest))
            truncated();
}

inline bool XmlScanner::skipSpace() {
    const std::size_t at = pos_;
    while (pos_ < in_.size() && isSpace(in_[pos_]))
        ++pos_;
    return pos_ != at;
}

inline void XmlScanner::expect(char c, const char* what) {
    if (pos_ >= in_.size())
        truncated();
    if (in_[pos_] != c)
        malformed(pos_, std::string("expected ") + what);
    ++pos_;
}

inline std::string_view XmlScanner::scanName(const char* what) {
    const std::size_t at = pos_;
    // Plain ASCII names, the usual case, in a tight loop.
    if (at < in_.size() && (classOf(in_[at]) & kNameStart)) {
        std::size_t end = at + 1;
        while (end < in_.size() && (classOf(in_[end]) & kNameChar))
            ++end;
        if (end < in_.size() && static_cast<unsigned char>(in_[end]) < 0x80) {
            pos_ = end;
            return in_.substr(at, end - at);
        }
    }
    return scanOtherName(what);
}

// Names with other characters, and the errors of names.
std::string_view XmlScanner::scanOtherName(const char* what) {
    const std::size_t at = pos_;
    bool first = true;
    while (pos_ < in_.size()) {
        const auto c = static_cast<unsigned char>(in_[pos_]);
        if (c < 0x80) {
            if (!(first ? isAsciiNameStart(c) : isAsciiNameChar(c)))
                break;
            ++pos_;
        } else {
            char32_t cp;
            const int length = decode(in_, pos_, cp);
            if (!(first ? isNameStart(cp) : isNameChar(cp)))
                break;
            pos_ += static_cast<std::size_t>(length);
        }
        first = false;
    }
    if (pos_ >= in_.size())
        truncated();
    if (first)
        malformed(pos_, std::string("expected ") + what);
    return in_.substr(at, pos_ - at);
}

// --- markup -----------------------------------------------------------------------------------

void XmlScanner::comment() {
    const std::size_t dashes = in_.find("--", pos_ + 4);
    if (dashes == std::string_view::npos || dashes + 2 >= in_.size())
        truncated();
    if (in_[dashes + 2] != '>')
        malformed(dashes, "'--' inside a comment");
    pos_ = dashes + 3;
    tokenEnd_ = pos_;
}

void XmlScanner::processingInstruction() {
    pos_ += 2;
    const std::size_t targetAt = pos_;
    const std::string_view target = scanName("the target of a processing instruction");
    if (target.size() == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' &&
        (target[2] | 0x20) == 'l')
        malformed(targetAt, "the XML declaration may only open the file");
    if (!startsWith("?>") && !skipSpace())
        malformed(pos_, "expected a space after the target of a processing instruction");
    const std::size_t end = in_.find("?>", pos_);
    if (end == std::string_view::npos)
        truncated();
    pos_ = end + 2;
    tokenEnd_ = pos_;
}

void XmlScanner::reference(std::string& out) {
    const std::size_t at = pos_;
    ++pos_;
    if (pos_ >= in_.size())
        truncated();
    if (in_[pos_] == '#') {
        ++pos_;
        const bool hex = pos_ < in_.size() && in_[pos_] == 'x';
        pos_ += hex;
        char32_t value = 0;
        std::size_t digits = 0;
        for (; pos_ < in_.size(); ++pos_, ++digits) {
            const char c = in_[pos_];
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
        if (pos_ >= in_.size())
            truncated();
        if (digits == 0 || in_[pos_] != ';')
            malformed(pos_, "a character reference needs digits and ';'");
        ++pos_;
        if (!isXmlChar(value))
            malformed(at, "the character reference '" + std::string(in_.substr(at, pos_ - at)) +
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
    if (open_.empty() && rootSeen_)
        malformed(pos_, "content after the root element");
    ++pos_;
    const std::string_view name = scanName("an element name after '<'");
    attributes_.clear();
    values_.clear();
    resolved_.clear();
    for (;;) {
        const bool space = skipSpace();
        if (pos_ >= in_.size())
            truncated();
        const char c = in_[pos_];
        if (c == '>') {
            ++pos_;
            break;
        }
        if (c == '/') {
            ++pos_;
            expect('>', "'>' after '/'");
            pendingEnd_ = true;
            break;
        }
        if (!space)
            malformed(pos_, "expected a space, '>' or '/>' in a start tag");
        const std::size_t nameAt = pos_;
        const std::string_view attr = scanName("an attribute name");
        for (const Attribute& a : attributes_)
            if (sameName(a.name, attr))
                malformed(nameAt, "the attribute '" + std::string(attr) + "' is given twice");
        skipSpace();
        expect('=', "'=' after an attribute name");
        skipSpace();
        if (pos_ >= in_.size())
            truncated();
        const char quote = in_[pos_];
        if (quote != '"' && quote != '\'')
            malformed(pos_, "an attribute value must be quoted");
        const std::size_t from = ++pos_;
        bool plain = true;
        for (; pos_ < in_.size(); ++pos_) {
            const char v = in_[pos_];
            if (!(classOf(v) & kAttrSpecial))
                continue;
            if (v == quote)
                break;
            if (v == '<')
                malformed(pos_, "'<' in an attribute value");
            plain = plain && (v == '"' || v == '\'' || v == ' ');
        }
        if (pos_ >= in_.size())
            truncated();
        if (plain) {
            attributes_.push_back({attr, in_.substr(from, pos_ - from)});
        } else {
            // Resolved into values_; its view is set once values_ stops growing.
            const std::size_t end = pos_;
            resolved_.emplace_back(attributes_.size(), values_.size());
            pos_ = from;
            while (pos_ < end) {
                const char v = in_[pos_];
                if (v == '&') {
                    reference(values_);
                    if (pos_ > end)
                        malformed(end, "a reference runs past the end of an attribute value");
                } else if (v == '\r' || v == '\n' || v == '\t') {
                    values_ += ' '; // line ends and tabs in attribute values read as spaces
                    pos_ += (v == '\r' && pos_ + 1 < end && in_[pos_ + 1] == '\n') ? 2 : 1;
                } else {
                    values_ += v;
                    ++pos_;
                }
            }
            attributes_.push_back({attr, {}});
        }
        ++pos_; // the closing quote
    }
    for (std::size_t k = 0; k < resolved_.size(); ++k) {
        const std::size_t start = resolved_[k].second;
        const std::size_t end = k + 1 < resolved_.size() ? resolved_[k + 1].second : values_.size();
        attributes_[resolved_[k].first].value =
            std::string_view(values_).substr(start, end - start);
    }
    if (open_.size() >= maxDepth_)
        failAt(pos_, "elements nest deeper than " + std::to_string(maxDepth_) + " levels");
    open_.push_back(name);
    name_ = name;
    rootSeen_ = true;
    tokenEnd_ = pos_;
    token_ = Token::StartElement;
}

void XmlScanner::endTag() {
    const std::size_t at = pos_;
    pos_ += 2;
    const std::string_view name = scanName("an element name after '</'");
    skipSpace();
    expect('>', "'>' to close an end tag");
    if (open_.empty())
        malformed(at, "the end tag </" + std::string(name) + "> closes nothing");
    if (!sameName(open_.back(), name))
        malformed(at, "the end tag </" + std::string(name) + "> does not match <" +
                          std::string(open_.back()) + ">");
    open_.pop_back();
    name_ = name;
    tokenEnd_ = pos_;
    token_ = Token::EndElement;
}

std::string_view XmlScanner::elementText() {
    if (token_ != Token::StartElement)
        fail("expected an element's text");
    if (pendingEnd_) {
        next();
        return {};
    }
    const std::size_t startedAt = tokenEnd_;
    // The usual case, plain text right up to the end tag, is a view into the file.
    std::size_t i = pos_;
    while (i < in_.size()) {
        const char c = in_[i];
        if (c == '<' || c == '&' || c == '\r' || c == ']')
            break;
        ++i;
    }
    if (i + 1 < in_.size() && in_[i] == '<' && in_[i + 1] == '/') {
        const std::string_view text = in_.substr(pos_, i - pos_);
        pos_ = i;
        endTag();
        return text;
    }
    text_.clear();
    for (;;) {
        if (pos_ >= in_.size())
            truncated();
        const char c = in_[pos_];
        if (c == '<') {
            if (startsWith("</")) {
                endTag();
                return text_;
            }
            if (startsWith("<!--")) {
                comment();
            } else if (startsWith("<?")) {
                processingInstruction();
            } else if (startsWith("<![CDATA[")) {
                const std::size_t end = in_.find("]]>", pos_ + 9);
                if (end == std::string_view::npos)
                    truncated();
                for (std::size_t k = pos_ + 9; k < end; ++k) {
                    if (in_[k] == '\r') {
                        text_ += '\n';
                        k += k + 1 < end && in_[k + 1] == '\n';
                    } else {
                        text_ += in_[k];
                    }
                }
                pos_ = end + 3;
            } else if (pos_ + 1 < in_.size() && in_[pos_ + 1] == '!') {
                failIfCut();
                malformed(pos_, "unexpected '<!'");
            } else {
                startTag(); // a broken or cut off tag is reported as such first
                failAt(startedAt, "a value holds text only, no elements");
            }
        } else if (c == '&') {
            reference(text_);
        } else if (c == '\r') {
            text_ += '\n'; // line ends read as line feeds
            pos_ += pos_ + 1 < in_.size() && in_[pos_ + 1] == '\n' ? 2 : 1;
        } else if (c == ']' && startsWith("]]>")) {
            malformed(pos_, "']]>' in text");
        } else {
            text_ += c;
            ++pos_;
        }
    }
}

} // namespace VELD::io
