#pragma once

#include "platform/zu/zu_export.hpp"

#include <string>

// Printing to the host's console. Text goes to standard output unless a
// ZuPrintCapture is alive, in which case the innermost capture collects it.
ZU_EXPORT int zuPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Collects everything printed with zuPrintf while it lives (on any thread).
// Captures nest: the innermost one receives the text.
class ZU_EXPORT ZuPrintCapture {
public:
    ZuPrintCapture();
    ~ZuPrintCapture();
    ZuPrintCapture(const ZuPrintCapture&) = delete;
    ZuPrintCapture& operator=(const ZuPrintCapture&) = delete;

    std::string text() const;
    void clear();

private:
    friend void zuWriteOutput(const std::string& text);
    ZuPrintCapture* outer; // not owned: the capture this one hides
    std::string collected;
};

// Writes text as zuPrintf does, without formatting.
ZU_EXPORT void zuWriteOutput(const std::string& text);
