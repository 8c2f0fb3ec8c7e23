// Private to platform/veld/io/: included only by its own sources and tests; not installed.
#pragma once

// One strict UTF-8 sequence decoder for the model-file reader and writer.

#include <cstddef>

namespace VELD::io {

enum class Utf8Error { None, BadLead, Truncated, BadContinuation, OutOfRange };

struct Utf8Char {
    char32_t cp = 0;
    int length = 1; // bytes taken; 1 when the lead byte or a continuation byte is bad
    Utf8Error error = Utf8Error::None;
};

// Decodes the sequence at s[i] (i < n). OutOfRange (overlong, surrogate, beyond U+10FFFF)
// still gives the code point and the full length, for callers that only skip.
inline Utf8Char decodeUtf8(const unsigned char* s, std::size_t n, std::size_t i) {
    Utf8Char r;
    const unsigned char c = s[i];
    if (c < 0x80) {
        r.cp = c;
        return r;
    }
    int extra;
    if ((c & 0xE0) == 0xC0) {
        extra = 1;
        r.cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        r.cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        r.cp = c & 0x07;
    } else {
        r.error = Utf8Error::BadLead;
        return r;
    }
    for (int k = 1; k <= extra; ++k) {
        if (i + k >= n) {
            r.error = Utf8Error::Truncated;
            return r;
        }
        if ((s[i + k] & 0xC0) != 0x80) {
            r.error = Utf8Error::BadContinuation;
            return r;
        }
        r.cp = (r.cp << 6) | (s[i + k] & 0x3F);
    }
    r.length = extra + 1;
    static constexpr char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (r.cp < minimum[extra] || r.cp > 0x10FFFF || (r.cp >= 0xD800 && r.cp <= 0xDFFF))
        r.error = Utf8Error::OutOfRange;
    return r;
}

} // namespace VELD::io
