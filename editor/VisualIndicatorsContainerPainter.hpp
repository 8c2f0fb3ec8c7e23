#pragma once

#include "editor/kite_editor_export.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/tavi/QuasarTimer.hpp"
#include "platform/zeph/CustomNodePainter.hpp"
#include "platform/zeph/MouseEvent.hpp"

namespace KITE {

// Lays out the badges of a VisualIndicatorContainer each time the canvas paints it (the badges
// and the expander are image nodes the canvas draws; the painter draws nothing itself): as many
// badges as fit the width of the container's parent on screen, and when some do not fit, the
// expander in the last cell. A click on the expander shows every badge for five seconds.
class KITE_EDITOR_EXPORT VisualIndicatorsContainerPainter : public ZEPH::CustomNodePainter,
                                                            public NIMB::Listener {
public:
    VisualIndicatorsContainerPainter();
    ~VisualIndicatorsContainerPainter() override;

    // The strip at scale 1; empty when no badge is visible.
    TAVI::GLRect<double> getBounds() const override;
    // The strip at scale s: cells of 16 / s with margins of 2 / s.
    TAVI::GLRect<double> getBounds(double scale) const;
    // Runs the layout.
    void paint(QPainter& painter) override;

    // How many badges show: all when expanded; else as many 18-unit cells as the parent's width
    // on screen holds, at most the number of badges.
    unsigned visibleCount() const;
    // Shows the badges and the expander that fit, and places the expander.
    void layout();
    bool isExpanded() const { return expanded; }

    // A release on the expander: shows every badge for five seconds (once: releases while
    // expanded change nothing).
    void expand(ZEPH::MouseEvent event);
    // The end of the five seconds.
    void collapse();

    static constexpr int expansionMilliseconds = 5000;

private:
    std::size_t badgeCount() const;
    // The parent's width on screen; 0 without a parent.
    double parentScreenWidth() const;

    TAVI::QuasarTimer timer;
    bool expanded = false;
    mutable bool measuring = false;
};

} // namespace KITE
