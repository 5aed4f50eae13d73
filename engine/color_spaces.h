#pragma once

#include "engine/color.h"

namespace rainbow {

/// A colour in OKLab: lightness L (0 black, 1 white) and the two opponent axes a and b.
struct Oklab {
    double L = 0;
    double a = 0;
    double b = 0;
};

/// An sRGB component in 0..1 to linear light (the piecewise sRGB curve), and back; both monotone.
double srgbToLinear(double encoded);
double linearToSrgb(double linear);

/// The colour in OKLab, through linear light.
Oklab toOklab(const RgbTriple &color);

/// The linear-light red, green and blue of an OKLab colour, unclamped (out of gamut below 0 or
/// above 1).
std::array<double, 3> oklabToLinear(const Oklab &lab);

/// Each linear component clamped to 0..1, encoded with the sRGB curve, scaled to 0..255 and
/// rounded half to even. sRGB to OKLab and back gives every 8-bit colour unchanged.
RgbTriple linearToRgb(const std::array<double, 3> &linear);
RgbTriple fromOklab(const Oklab &lab);

/// A colour as hue in degrees (0 ≤ hue < 360, red 0, green 120, blue 240), saturation and value
/// in 0..1. A grey has no hue: its saturation is 0 and its hue reads 0.
struct Hsv {
    double hue = 0;
    double saturation = 0;
    double value = 0;
};

Hsv toHsv(const RgbTriple &color);

/// Any hue (taken modulo 360); saturation and value in 0..1; components rounded half to even.
RgbTriple fromHsv(const Hsv &hsv);

} // namespace rainbow
