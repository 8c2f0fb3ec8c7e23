#pragma once

#include "editor/kite_editor_export.hpp"
#include "platform/tavi/GList.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/zeph/CustomNode.hpp"

#include <string>

namespace KITE {

class VisualIndicatorsContainerPainter;

// The badges of a glyph: small images in a row of 16-by-16 cells along the lower edge of the
// glyph's root node (the parent), at constant screen size whatever the zoom. Badges are added and
// removed by tag; those that do not fit the parent's width on screen hide behind an expander,
// and a click on it shows all of them for five seconds. A handle to the canvas node, made by
// Glyph::createVisualIndicatorContainer; the node goes with its parent.
class KITE_EDITOR_EXPORT VisualIndicatorContainer : public ZEPH::CustomNode {
public:
    explicit VisualIndicatorContainer(ZEPH::Node parent);

    // Makes node (scaled to 16 units high) a badge under tag, after the badges there are.
    void add(const TAVI::StringID& tag, ZEPH::Node node);
    // Makes a badge of the image in file (16 by 16); an image that cannot be read is added empty.
    void add(const TAVI::StringID& tag, std::string& file);
    // Removes the badges under tag and packs the others into consecutive cells.
    void remove(const TAVI::StringID& tag);
    // The badges under tag, in child order.
    TAVI::GList<ZEPH::Node> get(const TAVI::StringID& tag) const;

    // Moves the strip back to the parent's lower-left corner and lays it out again: the parent's
    // owner calls it when the parent changed size.
    void relayout();

    ZEPH::Node getParentNode() const { return parent; }
    // The expander's image node.
    ZEPH::Node getExpander() const;
    // The badges, in child order.
    std::vector<ZEPH::Node> getBadges() const;
    VisualIndicatorsContainerPainter* getIndicatorPainter() const;

    // The host installation's folder of indicator images, "/" at the end.
    static const std::string& getResourcesDefaultPath();

    static constexpr double badgeSize = 16.0;
    static constexpr double cellPitch = 18.0;
    static constexpr double margin = 2.0;
    // Where badge index goes, relative to the container (at the parent's lower-left corner).
    static TAVI::GLPoint<double> cellPosition(std::size_t index);

private:
    void placeBadges() const;

    ZEPH::Node parent;
};

} // namespace KITE
