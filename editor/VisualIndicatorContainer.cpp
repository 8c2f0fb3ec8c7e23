#include "editor/VisualIndicatorContainer.hpp"

#include "editor/VisualIndicatorsContainerPainter.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/tavi/ApplicationContext.hpp"
#include "platform/zeph/GlobalViewerInfo.hpp"
#include "platform/zeph/ImageNode.hpp"

#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <cmath>

namespace KITE {

namespace {

const TAVI::StringID& badgesTag() {
    static const TAVI::StringID tag("badges");
    return tag;
}

const TAVI::StringID& expanderTag() {
    static const TAVI::StringID tag("expander");
    return tag;
}

std::vector<ZEPH::Node> badgesOf(const ZEPH::Node& container) {
    return container.getChildrenWithTag(badgesTag());
}

} // namespace

// --- the painter ---------------------------------------------------------------------------------

VisualIndicatorsContainerPainter::VisualIndicatorsContainerPainter() {
    timer.connectTimeout([this] { collapse(); });
    NIMB::ConnectionWriteLocker lock;
    // The strip's cells are screen sized: another zoom fits another number of them.
    new NIMB::ConnectionImpl0<VisualIndicatorsContainerPainter>(
        this, ZEPH::GlobalViewerInfo::instance().getZoomChangedEmitter(), nullptr,
        &VisualIndicatorsContainerPainter::layout);
}

VisualIndicatorsContainerPainter::~VisualIndicatorsContainerPainter() {
    disconnect();
}

std::size_t VisualIndicatorsContainerPainter::badgeCount() const {
    const ZEPH::Node node = getNode();
    return node.isValid() ? badgesOf(node).size() : 0;
}

double VisualIndicatorsContainerPainter::parentScreenWidth() const {
    const ZEPH::Node parent = getNode().getParent();
    // Measuring the parent may ask the canvas for this node's bounds again (while it joins the
    // parent, say): the inner question gets no width rather than an endless descent.
    if (!parent.isValid() || measuring)
        return 0.0;
    measuring = true;
    const double width = parent.getSceneBounds().width;
    measuring = false;
    return width * ZEPH::GlobalViewerInfo::instance().getZoomFactor();
}

unsigned VisualIndicatorsContainerPainter::visibleCount() const {
    const std::size_t badges = badgeCount();
    if (expanded)
        return static_cast<unsigned>(badges);
    const double fitting = parentScreenWidth() / VisualIndicatorContainer::cellPitch;
    if (!(fitting >= 1.0))
        return 0;
    return static_cast<unsigned>(std::min<double>(std::floor(fitting), double(badges)));
}

TAVI::GLRect<double> VisualIndicatorsContainerPainter::getBounds() const {
    return getBounds(1.0);
}

TAVI::GLRect<double> VisualIndicatorsContainerPainter::getBounds(double scale) const {
    const unsigned n = visibleCount();
    if (n == 0 || !(scale > 0.0))
        return {0, 0, 0, 0};
    const double cell = VisualIndicatorContainer::badgeSize / scale;
    const double margin = VisualIndicatorContainer::margin / scale;
    return {0, -(cell + 2 * margin), (margin + cell) * n + margin, cell + 2 * margin};
}

void VisualIndicatorsContainerPainter::paint(QPainter&) {
    layout();
}

void VisualIndicatorsContainerPainter::layout() {
    const ZEPH::Node node = getNode();
    if (!node.isValid())
        return;
    std::vector<ZEPH::Node> badges = badgesOf(node);
    const double w = parentScreenWidth();
    unsigned n = visibleCount();
    bool showExpander = false;
    if (n < badges.size()) {
        showExpander = w * 0.5 > 8.0;
        // The last cell that would show a badge shows the expander instead.
        if (n != 0)
            --n;
    }
    for (std::size_t i = 0; i < badges.size(); ++i)
        badges[i].setVisible(i < n);
    const std::vector<ZEPH::Node> expanders = node.getChildrenWithTag(expanderTag());
    if (expanders.empty())
        return;
    ZEPH::ImageNode expander(expanders.front());
    if (showExpander) {
        TAVI::GLPoint<double> at = VisualIndicatorContainer::cellPosition(n);
        std::string image = "expander.png";
        if (n == 0 && w * 0.5 < 16.0) {
            image = "tiniExpander.png";
            at.y = -10.0;
        }
        const std::string source = VisualIndicatorContainer::getResourcesDefaultPath() + image;
        if (expander.getSource() != source) {
            expander.setSource(source);
            expander.setSizeToImageNaturalSize();
        }
        expander.setPosition(at);
    }
    expander.setVisible(showExpander);
}

void VisualIndicatorsContainerPainter::expand(ZEPH::MouseEvent event) {
    if (expanded)
        return;
    boundsChanging();
    expanded = true;
    layout();
    timer.startSingle(expansionMilliseconds);
    event.consume();
}

void VisualIndicatorsContainerPainter::collapse() {
    boundsChanging();
    expanded = false;
    layout();
}

// --- the container -------------------------------------------------------------------------------

const std::string& VisualIndicatorContainer::getResourcesDefaultPath() {
    static const std::string path = TAVI::ApplicationContext::instance().getRootDirectory() +
                                    "/toolbox/shared/orbis/resources/indicators/";
    return path;
}

TAVI::GLPoint<double> VisualIndicatorContainer::cellPosition(std::size_t index) {
    return {margin + cellPitch * double(index), -cellPitch};
}

VisualIndicatorContainer::VisualIndicatorContainer(ZEPH::Node parentNode)
    : ZEPH::CustomNode(ZEPH::CustomNode::create(
          TAVI::Holder<ZEPH::CustomNodePainter>(new VisualIndicatorsContainerPainter))),
      parent(parentNode) {
    // Its place follows the parent's layout, at one size on screen whatever the zoom. Set
    // before it joins the parent: the parent's bounds leave screen-sized children out.
    setLayoutConstraintFlag(true);
    setIgnoresTransformations(true);
    setSelectable(false);
    setMovable(false);
    if (parent.isValid()) {
        setParent(parent);
        setPosition({0, parent.getHeight()});
    }

    ZEPH::ImageNode expander = ZEPH::ImageNode::create();
    expander.setSource(getResourcesDefaultPath() + "expander.png");
    expander.setSelectable(false);
    expander.setMovable(false);
    expander.addTag(expanderTag());
    expander.setParent(*this);
    expander.setVisible(false);
    NIMB::ConnectionWriteLocker lock;
    new NIMB::ConnectionImpl1<VisualIndicatorsContainerPainter, ZEPH::MouseEvent>(
        getIndicatorPainter(), expander.getMouseReleaseEmitter(), nullptr,
        &VisualIndicatorsContainerPainter::expand);
}

VisualIndicatorsContainerPainter* VisualIndicatorContainer::getIndicatorPainter() const {
    return static_cast<VisualIndicatorsContainerPainter*>(getPainter().get());
}

ZEPH::Node VisualIndicatorContainer::getExpander() const {
    const std::vector<ZEPH::Node> expanders = getChildrenWithTag(expanderTag());
    return expanders.empty() ? ZEPH::Node() : expanders.front();
}

std::vector<ZEPH::Node> VisualIndicatorContainer::getBadges() const {
    return badgesOf(*this);
}

void VisualIndicatorContainer::add(const TAVI::StringID& tag, ZEPH::Node node) {
    if (!node.isValid() || !isValid())
        return;
    // A node without height has nothing to scale to the cell: it keeps its own size.
    if (const double height = node.getHeight(); height > 0.0 && std::isfinite(height))
        node.scale(badgeSize / height);
    node.setLayoutConstraintFlag(true);
    node.setSelectable(false);
    node.setMovable(false);
    node.addTag(tag);
    node.addTag(badgesTag());
    node.setParent(*this);
    node.setVisible(false);
    placeBadges();
    getIndicatorPainter()->boundsChanging();
    getIndicatorPainter()->layout();
}

void VisualIndicatorContainer::add(const TAVI::StringID& tag, std::string& file) {
    ZEPH::ImageNode image = ZEPH::ImageNode::create();
    image.setSource(file);
    image.setSize({badgeSize, badgeSize});
    add(tag, image);
}

void VisualIndicatorContainer::remove(const TAVI::StringID& tag) {
    if (!isValid())
        return;
    for (ZEPH::Node child : getChildrenWithTag(tag))
        child.remove();
    placeBadges();
    getIndicatorPainter()->boundsChanging();
    getIndicatorPainter()->layout();
}

void VisualIndicatorContainer::relayout() {
    if (!isValid())
        return;
    if (parent.isValid())
        setPosition({0, parent.getHeight()});
    getIndicatorPainter()->boundsChanging();
    getIndicatorPainter()->layout();
}

TAVI::GList<ZEPH::Node> VisualIndicatorContainer::get(const TAVI::StringID& tag) const {
    return TAVI::GList<ZEPH::Node>(isValid() ? getChildrenWithTag(tag) : std::vector<ZEPH::Node>());
}

void VisualIndicatorContainer::placeBadges() const {
    const std::vector<ZEPH::Node> badges = getBadges();
    for (std::size_t i = 0; i < badges.size(); ++i)
        ZEPH::Node(badges[i]).setPosition(cellPosition(i));
}

} // namespace KITE
