#pragma once

#include "platform/datamodel/Diagram.hpp"

#include <string>

namespace KiteStudio {

// Pictures of a diagram in files: what the model holds (not an editor's preview, selection or
// guides), drawn by the glyphs of the diagram's domain on white with a margin around it. The
// file is replaced only once the picture is complete; false, with the reason in error, when it
// cannot be written.
class DiagramExport {
public:
    static bool toPng(const KITE::ImmutableDiagram& diagram, const std::string& file,
                      std::string& error);
    // Through Qt's SVG generator: shapes as SVG elements, texts as <text>.
    static bool toSvg(const KITE::ImmutableDiagram& diagram, const std::string& file,
                      std::string& error);

    static constexpr double margin = 20.0;
};

} // namespace KiteStudio
