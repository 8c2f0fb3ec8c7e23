// Private to platform/zeph/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/tavi/Color.hpp"

#include <QBrush>
#include <QPen>

#include <cmath>

namespace ZEPH {

inline QColor toQColor(const TAVI::Color& color) {
    return QColor::fromRgbF(float(color.red()), float(color.green()), float(color.blue()),
                            float(color.alpha()));
}

inline QBrush fillBrush(const TAVI::Color& color) {
    switch (color.kind()) {
    case TAVI::Color::Invalid:
        return Qt::NoBrush;
    case TAVI::Color::Default:
        return QBrush(Qt::white);
    case TAVI::Color::RGBA:
        break;
    }
    return QBrush(toQColor(color));
}

inline QPen strokePen(const TAVI::Color& color, double width) {
    // A negative or non-finite width from a caller falls back to a hairline.
    const double penWidth = std::isfinite(width) && width >= 0.0 ? width : 1.0;
    switch (color.kind()) {
    case TAVI::Color::Invalid:
        return Qt::NoPen;
    case TAVI::Color::Default:
        return QPen(QBrush(Qt::black), penWidth);
    case TAVI::Color::RGBA:
        break;
    }
    return QPen(QBrush(toQColor(color)), penWidth);
}

} // namespace ZEPH
