#pragma once

// The link label's rules that need no window: where a label fitted to its text goes, and which
// colour its text takes. Standard library only.

#include <cstdint>

namespace rq508 {

// A rectangle as edges, in pixels of the parent's client area.
struct EdgeRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    friend bool operator==(const EdgeRect&, const EdgeRect&) = default;
};

// The alignment styles of a static text control that decide how it fits its text.
enum class LabelAlignment { Left, Right, Center };

// The control's rectangle resized to text of the given size. Vertically centred text
// (SS_CENTERIMAGE) moves top and bottom inwards by half the difference, truncated toward zero
// (outwards when the text is taller); otherwise the top stays. Horizontally: left alignment
// keeps the left edge, SS_RIGHT the right edge, SS_CENTER moves both edges by half the
// difference, so an odd difference leaves the control one pixel off the text's width.
EdgeRect FitRectToText(EdgeRect control, int textWidth, int textHeight, LabelAlignment alignment,
                       bool centerVertically);

// A colour as 0xRRGGBB.
using Rgb = std::uint32_t;

constexpr Rgb kLinkNormalColor = 0x0000EE;   // blue
constexpr Rgb kLinkVisitedColor = 0x551A8B;  // red 85, green 26, blue 139: purple

struct LinkColors {
    Rgb normal = kLinkNormalColor;
    Rgb visited = kLinkVisitedColor;
    Rgb hover = 0;  // the desktop's highlight colour
};

// Hovering takes precedence over the visited state.
Rgb LinkTextColor(const LinkColors& colors, bool pointerInside, bool visited);

}  // namespace rq508
