// Private to editor/: included only by its own sources and tests; not installed.
#pragma once

#include "editor/Control.hpp"
#include "editor/Glyph.hpp"
#include "editor/VisualIndicatorContainer.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/zu/zuAssert.hpp"

#include <exception>
#include <map>
#include <memory>
#include <string>

namespace KITE {

class GlyphPrivate {
public:
    GlyphPrivate(Glyph* owner, const DiagramElement& element) : q(owner), element(element) {}

    Glyph* q; // back pointer
    DiagramElement element;
    // Ordered by tag, so presses try the controls in a fixed order.
    std::map<TAVI::StringID, TAVI::Holder<Control>> controls;
    Graphics* graphics = nullptr;                         // not owned
    Editor* editor = nullptr;                             // not owned
    std::unique_ptr<VisualIndicatorContainer> indicators; // made on request
};

// Runs a glyph's own code (its create, update, a control's update). What it throws is reported
// as a host assertion naming the operation, so that one faulty glyph holds back neither the
// other glyphs of a report nor the editor's upkeep of its selection. False when it threw.
template <typename Code> bool runGlyphCode(const char* operation, Code&& code) {
    try {
        code();
        return true;
    } catch (const std::exception& error) {
        zuReportAssertion("glyph code", __FILE__, __LINE__, std::string(operation) + " failed",
                          error.what());
    } catch (...) {
        zuReportAssertion("glyph code", __FILE__, __LINE__, std::string(operation) + " failed",
                          "not a std::exception");
    }
    return false;
}

} // namespace KITE
