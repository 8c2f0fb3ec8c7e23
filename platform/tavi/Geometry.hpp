#pragma once

#include "platform/tavi/tavi_util_export.hpp"

#include <cmath>
#include <cstdint>

namespace TAVI {

// A point (or a size: width in x, height in y) in scene or widget coordinates.
template <typename T> struct GLPoint {
    T x{};
    T y{};

    constexpr GLPoint() = default;
    constexpr GLPoint(T px, T py) : x(px), y(py) {}

    constexpr T getX() const { return x; }
    constexpr T getY() const { return y; }
    constexpr void setX(T v) { x = v; }
    constexpr void setY(T v) { y = v; }

    constexpr GLPoint operator+(const GLPoint& o) const { return {x + o.x, y + o.y}; }
    constexpr GLPoint operator-(const GLPoint& o) const { return {x - o.x, y - o.y}; }
    constexpr GLPoint& operator+=(const GLPoint& o) {
        x += o.x;
        y += o.y;
        return *this;
    }
    constexpr GLPoint& operator-=(const GLPoint& o) {
        x -= o.x;
        y -= o.y;
        return *this;
    }
    constexpr GLPoint operator*(T factor) const { return {x * factor, y * factor}; }
    constexpr GLPoint operator-() const { return {-x, -y}; }
    constexpr bool operator==(const GLPoint& o) const = default;
};

// An axis-aligned rectangle: top-left corner and size.
template <typename T> struct GLRect {
    T x{};
    T y{};
    T width{};
    T height{};

    constexpr GLRect() = default;
    constexpr GLRect(T px, T py, T w, T h) : x(px), y(py), width(w), height(h) {}
    constexpr GLRect(const GLPoint<T>& topLeft, const GLPoint<T>& size)
        : x(topLeft.x), y(topLeft.y), width(size.x), height(size.y) {}

    constexpr T left() const { return x; }
    constexpr T top() const { return y; }
    constexpr T right() const { return x + width; }
    constexpr T bottom() const { return y + height; }
    constexpr GLPoint<T> topLeft() const { return {x, y}; }
    constexpr GLPoint<T> size() const { return {width, height}; }
    constexpr GLPoint<T> center() const { return {x + width / 2, y + height / 2}; }
    constexpr bool isEmpty() const { return width <= 0 || height <= 0; }

    // Borders included.
    constexpr bool contains(const GLPoint<T>& p) const {
        return p.x >= x && p.x <= x + width && p.y >= y && p.y <= y + height;
    }
    constexpr bool intersects(const GLRect& o) const {
        return x <= o.x + o.width && o.x <= x + width && y <= o.y + o.height && o.y <= y + height;
    }

    constexpr GLRect translated(const GLPoint<T>& offset) const {
        return {x + offset.x, y + offset.y, width, height};
    }
    // The same rectangle with a non-negative width and height.
    constexpr GLRect normalized() const {
        GLRect r = *this;
        if (r.width < 0) {
            r.x += r.width;
            r.width = -r.width;
        }
        if (r.height < 0) {
            r.y += r.height;
            r.height = -r.height;
        }
        return r;
    }
    // The smallest rectangle holding both; an empty rectangle adds nothing.
    constexpr GLRect united(const GLRect& o) const {
        if (o.isEmpty())
            return *this;
        if (isEmpty())
            return o;
        const T l = x < o.x ? x : o.x;
        const T t = y < o.y ? y : o.y;
        const T r = right() > o.right() ? right() : o.right();
        const T b = bottom() > o.bottom() ? bottom() : o.bottom();
        return {l, t, r - l, b - t};
    }
    // The common part; an empty rectangle at the origin when they do not overlap.
    constexpr GLRect intersected(const GLRect& o) const {
        const T l = x > o.x ? x : o.x;
        const T t = y > o.y ? y : o.y;
        const T r = right() < o.right() ? right() : o.right();
        const T b = bottom() < o.bottom() ? bottom() : o.bottom();
        if (r <= l || b <= t)
            return {};
        return {l, t, r - l, b - t};
    }
    constexpr bool operator==(const GLRect& o) const = default;
};

// Integer size of a widget or an image.
struct TAVI_UTIL_EXPORT Size {
    int width = 0;
    int height = 0;
    constexpr bool isEmpty() const { return width <= 0 || height <= 0; }
    constexpr bool operator==(const Size& o) const = default;
};

// Rounds to the nearest integer point (halves away from zero).
inline GLPoint<int> DPoint2IPoint(const GLPoint<double>& p) {
    return {static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
}

// Equality within a relative tolerance, for coordinates that went through arithmetic.
// Infinities equal only themselves and NaN equals nothing: scaled by an infinity, the
// tolerance would take any finite value as equal to it.
inline bool isApproxEqual(double a, double b, double epsilon = 1e-9) {
    if (a == b)
        return true;
    if (!std::isfinite(a) || !std::isfinite(b))
        return false;
    const double scale = std::fmax(1.0, std::fmax(std::fabs(a), std::fabs(b)));
    return std::fabs(a - b) <= epsilon * scale;
}

inline bool isApproxEqual(const GLPoint<double>& a, const GLPoint<double>& b,
                          double epsilon = 1e-9) {
    return isApproxEqual(a.x, b.x, epsilon) && isApproxEqual(a.y, b.y, epsilon);
}

} // namespace TAVI
