#include "engine/gradient_stops.h"

#include "engine/color_syntax.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace rainbow {

namespace {

/// c[0] + c[1] t + c[2] t² + c[3] t³; products never pass degree 3 here.
struct Cubic {
    std::array<double, 4> c {};
};

Cubic line(double at0, double at1) { return { { at0, at1 - at0, 0, 0 } }; }

Cubic operator+(const Cubic &x, const Cubic &y)
{
    return { { x.c[0] + y.c[0], x.c[1] + y.c[1], x.c[2] + y.c[2], x.c[3] + y.c[3] } };
}

Cubic operator*(double factor, const Cubic &x)
{
    return { { factor * x.c[0], factor * x.c[1], factor * x.c[2], factor * x.c[3] } };
}

Cubic operator-(const Cubic &x, const Cubic &y) { return x + (-1.0) * y; }

Cubic operator*(const Cubic &x, const Cubic &y)
{
    Cubic product;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; i + j < 4; ++j)
            product.c[i + j] += x.c[i] * y.c[j];
    return product;
}

/// Adds the points lo < t < hi where the cubic's slope is zero: between them it is monotone.
void addTurns(const Cubic &p, double lo, double hi, std::vector<double> &turns)
{
    // Slope a t² + b t + c.
    const double a = 3 * p.c[3], b = 2 * p.c[2], c = p.c[1];
    const auto add = [&](double t) {
        if (t > lo && t < hi)
            turns.push_back(t);
    };
    if (a == 0) {
        if (b != 0)
            add(-c / b);
        return;
    }
    const double discriminant = b * b - 4 * a * c;
    if (discriminant < 0)
        return;
    // The form without cancellation between b and the root.
    const double q = -0.5 * (b + std::copysign(std::sqrt(discriminant), b));
    add(q / a);
    if (q != 0)
        add(c / q);
}

void checkComponents(const RgbTriple &color)
{
    for (const int16_t component : { color.red, color.green, color.blue })
        if (component < 0 || component > 255)
            throw std::invalid_argument("colour stop component outside 0..255");
}

} // namespace

std::optional<Blend> parseBlend(std::string_view name)
{
    for (const Blend blend : { Blend::Rgb, Blend::Hsv, Blend::Oklab })
        if (name == blendName(blend))
            return blend;
    return std::nullopt;
}

std::string_view blendName(Blend blend)
{
    switch (blend) {
    case Blend::Rgb:
        return "rgb";
    case Blend::Hsv:
        return "hsv";
    case Blend::Oklab:
        return "oklab";
    }
    return {};
}

ColorRamp::ColorRamp(std::vector<RgbTriple> stops, Blend blend)
    : m_stops(std::move(stops))
    , m_blend(blend)
{
    if (m_stops.size() < minimumStops || m_stops.size() > maximumStops)
        throw std::invalid_argument("a ramp takes 2 to 16 colour stops");
    for (const RgbTriple &stop : m_stops)
        checkComponents(stop);
    for (std::size_t j = 0; j + 1 < m_stops.size(); ++j) {
        Segment segment;
        segment.from = m_stops[j];
        segment.to = m_stops[j + 1];
        if (blend == Blend::Hsv) {
            segment.hsvFrom = toHsv(segment.from);
            segment.hsvTo = toHsv(segment.to);
            // A grey has no hue of its own: it takes its neighbour's, so only the shade changes.
            if (segment.hsvFrom.saturation == 0)
                segment.hsvFrom.hue = segment.hsvTo.hue;
            if (segment.hsvTo.saturation == 0)
                segment.hsvTo.hue = segment.hsvFrom.hue;
            double turn = segment.hsvTo.hue - segment.hsvFrom.hue;
            if (turn > 180)
                turn -= 360;
            else if (turn <= -180)
                turn += 360;
            segment.hueTurn = turn;
            // Within a 60° sector each component is v, v(1 − s), v(1 − s f) or v(1 − s(1 − f)),
            // with v, s and the sector fraction f on straight lines in t: cubics in t.
            const double h0 = segment.hsvFrom.hue;
            std::vector<double> cuts { 0.0 };
            if (turn != 0) {
                const double low = std::min(h0, h0 + turn), high = std::max(h0, h0 + turn);
                for (double bound = std::floor(low / 60) * 60 + 60; bound < high; bound += 60)
                    cuts.push_back((bound - h0) / turn);
                std::sort(cuts.begin(), cuts.end());
            }
            cuts.push_back(1.0);
            const Cubic v = line(segment.hsvFrom.value, segment.hsvTo.value);
            const Cubic s = line(segment.hsvFrom.saturation, segment.hsvTo.saturation);
            for (std::size_t c = 0; c + 1 < cuts.size(); ++c) {
                const double middle = h0 + turn * (cuts[c] + cuts[c + 1]) / 2;
                const double sector = std::floor(middle / 60);
                const Cubic f { { h0 / 60 - sector, turn / 60, 0, 0 } };
                const Cubic vs = v * s;
                for (const Cubic &component : { v, v - vs, v - vs * f, v - vs + vs * f })
                    addTurns(component, cuts[c], cuts[c + 1], segment.turns);
                if (c > 0)
                    segment.turns.push_back(cuts[c]);
            }
        } else if (blend == Blend::Oklab) {
            segment.labFrom = toOklab(segment.from);
            segment.labTo = toOklab(segment.to);
            // l, m and s are straight lines in t, so linear light is a cubic in t; clamping and
            // the sRGB curve keep its order.
            const Oklab &x = segment.labFrom, &y = segment.labTo;
            const Cubic lightness = line(x.L, y.L), a = line(x.a, y.a), b = line(x.b, y.b);
            const Cubic l = lightness + 0.3963377774 * a + 0.2158037573 * b;
            const Cubic m = lightness - 0.1055613458 * a - 0.0638541728 * b;
            const Cubic s = lightness - 0.0894841775 * a - 1.2914855480 * b;
            const Cubic l3 = l * l * l, m3 = m * m * m, s3 = s * s * s;
            addTurns(4.0767416621 * l3 - 3.3077115913 * m3 + 0.2309699292 * s3, 0, 1, segment.turns);
            addTurns(-1.2684380046 * l3 + 2.6097574011 * m3 - 0.3413193965 * s3, 0, 1, segment.turns);
            addTurns(-0.0041960863 * l3 - 0.7034186147 * m3 + 1.7076147010 * s3, 0, 1, segment.turns);
        }
        std::sort(segment.turns.begin(), segment.turns.end());
        m_segments.push_back(std::move(segment));
    }
}

RgbTriple ColorRamp::segmentColor(const Segment &segment, int64_t step, int64_t steps) const
{
    if (m_blend == Blend::Rgb) {
        const auto k = int32_t(step), n = int32_t(steps);
        return { GradientComponent(segment.from.red, segment.to.red, k, n),
            GradientComponent(segment.from.green, segment.to.green, k, n),
            GradientComponent(segment.from.blue, segment.to.blue, k, n) };
    }
    // The stops themselves exactly, whatever the round trip through the blend's space gives.
    if (step == 0)
        return segment.from;
    if (step == steps)
        return segment.to;
    const double t = double(step) / double(steps);
    if (m_blend == Blend::Hsv) {
        const Hsv &x = segment.hsvFrom, &y = segment.hsvTo;
        return fromHsv({ x.hue + segment.hueTurn * t, x.saturation + (y.saturation - x.saturation) * t,
            x.value + (y.value - x.value) * t });
    }
    const Oklab &x = segment.labFrom, &y = segment.labTo;
    return fromOklab({ x.L + (y.L - x.L) * t, x.a + (y.a - x.a) * t, x.b + (y.b - x.b) * t });
}

std::size_t ColorRamp::segmentOf(int64_t k, int64_t n) const
{
    const int64_t position = k * int64_t(m_segments.size());
    return position == 0 ? 0 : std::size_t((position - 1) / n);
}

RgbTriple ColorRamp::colorAt(int64_t k, int64_t n) const
{
    if (n < 1 || n > std::numeric_limits<int32_t>::max() || k < 0 || k > n)
        throw std::domain_error("ramp position outside 0..n, or n outside 1..INT32_MAX");
    const std::size_t j = segmentOf(k, n);
    return segmentColor(m_segments[j], k * int64_t(m_segments.size()) - int64_t(j) * n, n);
}

RampSpans::RampSpans(const ColorRamp &ramp, int64_t length, bool inOrder, bool skipFirst)
    : m_ramp(&ramp)
    , m_length(length)
    , m_position(inOrder ? 1 + skipFirst : length - skipFirst)
    , m_direction(inOrder ? 1 : -1)
    , m_left(std::max<int64_t>(length - skipFirst, 0))
{
    if (length > std::numeric_limits<int32_t>::max())
        throw std::domain_error("more than INT32_MAX characters on a ramp");
}

bool RampSpans::next(ColorSpan &span)
{
    if (m_left == 0)
        return false;
    const int64_t n = m_length, p = m_position;
    const auto segments = int64_t(m_ramp->m_segments.size());
    const std::size_t j = m_ramp->segmentOf(p, n);
    const ColorRamp::Segment &segment = m_ramp->m_segments[j];
    // Positions of segment j, then of the monotone piece of it that holds p.
    int64_t low = int64_t(j) * n / segments + 1;
    int64_t high = (int64_t(j) + 1) * n / segments;
    for (const double turn : segment.turns) {
        const auto last = int64_t(std::floor((double(j) + turn) * double(n) / double(segments)));
        if (last < p) {
            low = std::max(low, last + 1);
        } else {
            high = std::min(high, last);
            break;
        }
    }
    const int64_t piece = m_direction > 0 ? high - p + 1 : p - low + 1;
    const int64_t base = -int64_t(j) * n;
    const auto colorAt = [&](int64_t step) {
        return m_ramp->segmentColor(segment, (p + m_direction * step) * segments + base, n);
    };
    span.color = colorAt(0);
    span.count = equalColorRun(colorAt, std::min(piece, m_left));
    m_position += m_direction * span.count;
    m_left -= span.count;
    return true;
}

StopGradientSpans::StopGradientSpans(const ColorRamp &ramp, int64_t n, bool reverse, bool symmetric)
    : m_first(ramp, symmetric ? (n + 1) / 2 : n, !reverse)
    , m_second(ramp, symmetric ? (n + 1) / 2 : 0, reverse, n % 2 != 0)
{
    const std::vector<RgbTriple> &stops = ramp.stops();
    if (stops.size() == 2 && ramp.blend() == Blend::Rgb && !reverse && !symmetric && n >= 1
        && n <= shortTextLength)
        m_stepper.emplace(stops[0], stops[1], n);
}

bool StopGradientSpans::next(ColorSpan &span)
{
    if (m_stepper)
        return m_stepper->next(span);
    return m_first.next(span) || m_second.next(span);
}

StopGradientSpans::Stepper::Stepper(const RgbTriple &start, const RgbTriple &end, int64_t n)
    : m_n(n)
    , m_left(n)
{
    const int16_t from[] = { start.red, start.green, start.blue };
    const int16_t to[] = { end.red, end.green, end.blue };
    for (std::size_t i = 0; i < 3; ++i) {
        const int64_t value = int64_t(from[i]) * (n - 1) + int64_t(to[i]); // step 1
        const int64_t delta = int64_t(to[i]) - from[i];
        const int64_t stepRemainder = ((delta % n) + n) % n;
        m_components[i] = { value / n, value % n, (delta - stepRemainder) / n, stepRemainder };
    }
    step();
}

void StopGradientSpans::Stepper::step()
{
    // The quotient rounded half to even, as GradientComponent rounds the same value.
    const auto rounded = [this](const Component &c) {
        const int64_t twice = 2 * c.remainder;
        return int16_t(c.quotient + (twice > m_n || (twice == m_n && (c.quotient & 1)) ? 1 : 0));
    };
    m_color = { rounded(m_components[0]), rounded(m_components[1]), rounded(m_components[2]) };
    for (Component &c : m_components) {
        c.quotient += c.stepQuotient;
        c.remainder += c.stepRemainder;
        const bool carry = c.remainder >= m_n;
        c.quotient += carry ? 1 : 0;
        c.remainder -= carry ? m_n : 0;
    }
}

bool StopGradientSpans::Stepper::next(ColorSpan &span)
{
    if (m_left == 0)
        return false;
    span.color = m_color;
    span.count = 0;
    do {
        ++span.count;
        --m_left;
        step();
    } while (m_left > 0 && m_color == span.color);
    return true;
}

} // namespace rainbow
