#pragma once
// Plain value types of the screen: points, sizes, rectangles, insets, colours and 2-D affine
// transforms. Units are points; the screen is 768 x 1024 points, y grows downwards.

#include <algorithm>
#include <cmath>

namespace ui {

struct Point {
    double x = 0, y = 0;
    constexpr Point() = default;
    constexpr Point(double x_, double y_) : x(x_), y(y_) {}
    bool operator==(const Point&) const = default;
};

struct Size {
    double width = 0, height = 0;
    constexpr Size() = default;
    constexpr Size(double w, double h) : width(w), height(h) {}
    bool operator==(const Size&) const = default;
};

struct Rect {
    Point origin;
    Size size;
    constexpr Rect() = default;
    constexpr Rect(double x, double y, double w, double h) : origin(x, y), size(w, h) {}
    constexpr Rect(Point o, Size s) : origin(o), size(s) {}
    bool operator==(const Rect&) const = default;

    double x() const { return origin.x; }
    double y() const { return origin.y; }
    double width() const { return size.width; }
    double height() const { return size.height; }
    double minX() const { return std::min(origin.x, origin.x + size.width); }
    double minY() const { return std::min(origin.y, origin.y + size.height); }
    double maxX() const { return std::max(origin.x, origin.x + size.width); }
    double maxY() const { return std::max(origin.y, origin.y + size.height); }
    double midX() const { return origin.x + size.width / 2; }
    double midY() const { return origin.y + size.height / 2; }
    Point center() const { return {midX(), midY()}; }
    bool isEmpty() const { return !(size.width > 0) || !(size.height > 0); }
    // Half-open: the right and bottom edges are outside, so rectangles that meet never share a point.
    bool contains(Point p) const {
        return !isEmpty() && p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
    }
    bool intersects(const Rect& r) const { return !intersection(r).isEmpty(); }
    Rect intersection(const Rect& r) const {
        double x0 = std::max(minX(), r.minX()), y0 = std::max(minY(), r.minY());
        double x1 = std::min(maxX(), r.maxX()), y1 = std::min(maxY(), r.maxY());
        if (x1 <= x0 || y1 <= y0) return {};
        return {x0, y0, x1 - x0, y1 - y0};
    }
    Rect offsetBy(double dx, double dy) const { return {origin.x + dx, origin.y + dy, size.width, size.height}; }
    Rect insetBy(double dx, double dy) const {
        return {origin.x + dx, origin.y + dy, size.width - 2 * dx, size.height - 2 * dy};
    }
};

struct EdgeInsets {
    double top = 0, left = 0, bottom = 0, right = 0;
    constexpr EdgeInsets() = default;
    constexpr EdgeInsets(double t, double l, double b, double r) : top(t), left(l), bottom(b), right(r) {}
    bool operator==(const EdgeInsets&) const = default;
};

// Straight (not premultiplied) RGBA, each component 0..1.
struct Color {
    double red = 0, green = 0, blue = 0, alpha = 0;
    constexpr Color() = default;
    constexpr Color(double r, double g, double b, double a = 1.0) : red(r), green(g), blue(b), alpha(a) {}
    bool operator==(const Color&) const = default;

    static constexpr Color rgb(int r, int g, int b, double a = 1.0) { return {r / 255.0, g / 255.0, b / 255.0, a}; }
    static constexpr Color white(double w, double a = 1.0) { return {w, w, w, a}; }
    static constexpr Color clearColor() { return {0, 0, 0, 0}; }
    static constexpr Color blackColor() { return {0, 0, 0, 1}; }
    static constexpr Color whiteColor() { return {1, 1, 1, 1}; }
    static constexpr Color grayColor() { return {0.5, 0.5, 0.5, 1}; }
    static constexpr Color darkGrayColor() { return {1.0 / 3, 1.0 / 3, 1.0 / 3, 1}; }
    static constexpr Color lightGrayColor() { return {2.0 / 3, 2.0 / 3, 2.0 / 3, 1}; }
    static constexpr Color redColor() { return {1, 0, 0, 1}; }
    static constexpr Color greenColor() { return {0, 1, 0, 1}; }
    static constexpr Color blueColor() { return {0, 0, 1, 1}; }
    static constexpr Color yellowColor() { return {1, 1, 0, 1}; }
    static constexpr Color orangeColor() { return {1, 0.5, 0, 1}; }
    bool isClear() const { return alpha <= 0; }
};

// x' = a*x + c*y + tx, y' = b*x + d*y + ty
struct Transform {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    bool operator==(const Transform&) const = default;

    static Transform identity() { return {}; }
    static Transform translation(double x, double y) { Transform t; t.tx = x; t.ty = y; return t; }
    static Transform scale(double sx, double sy) { Transform t; t.a = sx; t.d = sy; return t; }
    static Transform rotation(double radians) {
        Transform t;
        t.a = std::cos(radians); t.b = std::sin(radians);
        t.c = -std::sin(radians); t.d = std::cos(radians);
        return t;
    }
    bool isIdentity() const { return *this == Transform{}; }
    // This transform followed by `o`.
    Transform then(const Transform& o) const {
        return {a * o.a + b * o.c, a * o.b + b * o.d, c * o.a + d * o.c, c * o.b + d * o.d,
                tx * o.a + ty * o.c + o.tx, tx * o.b + ty * o.d + o.ty};
    }
    Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    double determinant() const { return a * d - b * c; }
    // The identity when the transform cannot be inverted (a zero scale).
    Transform inverted() const {
        double det = determinant();
        if (det == 0) return {};
        return {d / det, -b / det, -c / det, a / det, (c * ty - d * tx) / det, (b * tx - a * ty) / det};
    }
};

}  // namespace ui
