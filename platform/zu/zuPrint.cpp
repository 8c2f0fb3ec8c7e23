#include "platform/zu/zuPrint.hpp"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {

std::mutex& printMutex() {
    static std::mutex m;
    return m;
}

ZuPrintCapture*& innermostCapture() {
    static ZuPrintCapture* capture = nullptr;
    return capture;
}

} // namespace

int zuPrintf(const char* format, ...) {
    if (!format)
        return 0;
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) {
        va_end(args);
        return length;
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    va_end(args);
    text.resize(static_cast<std::size_t>(length));
    zuWriteOutput(text);
    return length;
}

void zuWriteOutput(const std::string& text) {
    std::lock_guard lock(printMutex());
    if (ZuPrintCapture* capture = innermostCapture()) {
        capture->collected += text;
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

ZuPrintCapture::ZuPrintCapture() {
    std::lock_guard lock(printMutex());
    outer = innermostCapture();
    innermostCapture() = this;
}

ZuPrintCapture::~ZuPrintCapture() {
    std::lock_guard lock(printMutex());
    // Captures are expected to end in reverse order; if one ends early, unlink it
    // wherever it sits so no dangling capture stays installed.
    ZuPrintCapture** link = &innermostCapture();
    while (*link && *link != this)
        link = &(*link)->outer;
    if (*link)
        *link = outer;
}

std::string ZuPrintCapture::text() const {
    std::lock_guard lock(printMutex());
    return collected;
}

void ZuPrintCapture::clear() {
    std::lock_guard lock(printMutex());
    collected.clear();
}
