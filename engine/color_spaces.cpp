#include "engine/color_spaces.h"

#include <algorithm>
#include <cmath>

namespace rainbow {

namespace {

int16_t toComponent(double unit) { return static_cast<int16_t>(roundHalfEven(unit * 255.0)); }

} // namespace

double srgbToLinear(double encoded)
{
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

double linearToSrgb(double linear)
{
    return linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

// The matrices are Björn Ottosson's, from his definition of OKLab.
Oklab toOklab(const RgbTriple &color)
{
    const double r = srgbToLinear(color.red / 255.0);
    const double g = srgbToLinear(color.green / 255.0);
    const double b = srgbToLinear(color.blue / 255.0);
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return { 0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
        1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
        0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s };
}

std::array<double, 3> oklabToLinear(const Oklab &lab)
{
    const double l = lab.L + 0.3963377774 * lab.a + 0.2158037573 * lab.b;
    const double m = lab.L - 0.1055613458 * lab.a - 0.0638541728 * lab.b;
    const double s = lab.L - 0.0894841775 * lab.a - 1.2914855480 * lab.b;
    const double l3 = l * l * l, m3 = m * m * m, s3 = s * s * s;
    return { 4.0767416621 * l3 - 3.3077115913 * m3 + 0.2309699292 * s3,
        -1.2684380046 * l3 + 2.6097574011 * m3 - 0.3413193965 * s3,
        -0.0041960863 * l3 - 0.7034186147 * m3 + 1.7076147010 * s3 };
}

RgbTriple linearToRgb(const std::array<double, 3> &linear)
{
    const auto encode = [](double x) { return toComponent(linearToSrgb(std::clamp(x, 0.0, 1.0))); };
    return { encode(linear[0]), encode(linear[1]), encode(linear[2]) };
}

RgbTriple fromOklab(const Oklab &lab) { return linearToRgb(oklabToLinear(lab)); }

Hsv toHsv(const RgbTriple &color)
{
    const double r = color.red / 255.0, g = color.green / 255.0, b = color.blue / 255.0;
    const double max = std::max({ r, g, b });
    const double min = std::min({ r, g, b });
    const double chroma = max - min;
    Hsv hsv;
    hsv.value = max;
    if (chroma <= 0)
        return hsv;
    hsv.saturation = chroma / max;
    if (max == r)
        hsv.hue = 60.0 * ((g - b) / chroma);
    else if (max == g)
        hsv.hue = 60.0 * ((b - r) / chroma + 2.0);
    else
        hsv.hue = 60.0 * ((r - g) / chroma + 4.0);
    if (hsv.hue < 0)
        hsv.hue += 360.0;
    return hsv;
}

RgbTriple fromHsv(const Hsv &hsv)
{
    const double sectors = hsv.hue / 60.0;
    const double whole = std::floor(sectors);
    const double f = sectors - whole;
    const int sector = int(whole - 6.0 * std::floor(whole / 6.0));
    const double v = hsv.value, s = hsv.saturation;
    const double p = v * (1.0 - s);
    const double q = v * (1.0 - s * f);
    const double t = v * (1.0 - s * (1.0 - f));
    const double rgb[6][3] = { { v, t, p }, { q, v, p }, { p, v, t }, { p, q, v }, { t, p, v }, { v, p, q } };
    return { toComponent(rgb[sector][0]), toComponent(rgb[sector][1]), toComponent(rgb[sector][2]) };
}

} // namespace rainbow
