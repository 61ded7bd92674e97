#pragma once

#include <QImage>

namespace rq508::pictures {

// How boldly the campfire is drawn. A picture meant to shrink to a few pixels drops the fine
// lines, which would only blur into mud, and makes the flames larger and the outlines heavier.
struct CampfireStyle {
    double flameOutline = 8;  // in units of a 256 x 256 grid; 0 for none
    double flameScale = 1.0;
    double logThickness = 42;
    double logOutline = 7;
    bool details = true;  // bark grooves and the ring in the cut ends
};

// The style that reads best once shrunk to targetSize pixels.
CampfireStyle CampfireStyleFor(int targetSize);

// The application's picture: a campfire, crossed logs burning with yellow and orange flames,
// on a transparent background; drawn with antialiasing at size x size pixels.
QImage DrawCampfire(int size, const CampfireStyle& style);

}  // namespace rq508::pictures
