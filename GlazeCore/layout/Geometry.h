#pragma once

/// Plain lengths in points for the layout rules; the user interface converts them to its own types.
namespace GlazeCore {

struct Size {
    double width = 0;
    double height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

/// Origin at the top-left corner, y growing downward.
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    Point origin() const { return {x, y}; }
    Size size() const { return {width, height}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

} // namespace GlazeCore
