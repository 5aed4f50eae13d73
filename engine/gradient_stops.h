#pragma once

#include "engine/color.h"
#include "engine/color_spaces.h"
#include "engine/span_source.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace rainbow {

/// How the colours between two stops are mixed.
enum class Blend {
    Rgb, ///< each component on a straight line, exactly as the window's gradient
    Hsv, ///< hue along the shorter arc, saturation and value on straight lines
    Oklab, ///< a straight line in OKLab, back to sRGB with clamping
};

/// "rgb", "hsv" or "oklab"; nullopt for any other name.
std::optional<Blend> parseBlend(std::string_view name);
std::string_view blendName(Blend blend);

/// Colours C1..Cm spread evenly along one line: position k of n lies k/n of the way, so stop j
/// (1-based) stands at (j − 1)/(m − 1) and every segment between two stops gets an equal share.
/// A position exactly on an inner stop gets that stop's colour.
class ColorRamp {
public:
    /// Throws std::invalid_argument unless there are minimumStops..maximumStops stops
    /// (color_syntax.h) with components in 0..255.
    ColorRamp(std::vector<RgbTriple> stops, Blend blend);

    Blend blend() const { return m_blend; }
    const std::vector<RgbTriple> &stops() const { return m_stops; }

    /// The colour k/n of the way from the first stop to the last: k = 0 gives the first, k = n
    /// the last. With two stops and Blend::Rgb it is GradientComponent of each component.
    /// Throws std::domain_error unless 1 ≤ n ≤ INT32_MAX and 0 ≤ k ≤ n.
    RgbTriple colorAt(int64_t k, int64_t n) const;

private:
    friend class RampSpans;

    struct Segment {
        RgbTriple from;
        RgbTriple to;
        Hsv hsvFrom; // hue adjusted so that hsvFrom.hue + hueTurn is the end's hue
        double hueTurn = 0; // in (−180, 180]: the shorter arc, counter-clockwise on a tie
        Hsv hsvTo;
        Oklab labFrom;
        Oklab labTo;
        // Fractions 0 < t < 1, ascending, that cut the segment into pieces on each of which every
        // component is monotone in t (so runs of one colour can be found by bisection).
        std::vector<double> turns;
    };

    /// Colour step/steps of the way along segment j; 0 ≤ step ≤ steps.
    RgbTriple segmentColor(const Segment &segment, int64_t step, int64_t steps) const;
    /// The segment that holds position k of n: the earlier one on an inner stop.
    std::size_t segmentOf(int64_t k, int64_t n) const;

    std::vector<RgbTriple> m_stops;
    Blend m_blend;
    std::vector<Segment> m_segments;
};

/// The colours of length characters along a ramp, as spans of equal colour: character i = 1..length
/// takes position i of length (in order) or length − i + 1 (backward, as the rainbow's reverse
/// runs); skipFirst leaves out the first of them. Spans are maximal within a piece where every
/// component is monotone; a few evaluations of the blend per span, nothing allocated. The ramp
/// must outlive the spans.
class RampSpans final : public ColorSpanSource {
public:
    /// Throws std::domain_error when length exceeds INT32_MAX; a length of 0 or less has no spans.
    RampSpans(const ColorRamp &ramp, int64_t length, bool inOrder, bool skipFirst = false);

    bool next(ColorSpan &span) override;

private:
    const ColorRamp *m_ramp;
    int64_t m_length;
    int64_t m_position; // of the next character
    int64_t m_direction;
    int64_t m_left;
};

/// Texts up to this many characters change colour every few characters (stepping beats looking
/// for the ends of runs), and a stream of lines repeats their lengths.
inline constexpr int64_t shortTextLength = 4096;

/// The gradient of a text of n characters along a ramp (two stops blended in RGB are the window's
/// gradient: character k of n takes the colour k/n of the way), laid out as the rainbow's check
/// boxes lay out its wheel: plain (in order), reversed (backward), symmetric (mirrored about the
/// middle: characters i and n + 1 − i both take position min(i, n + 1 − i) of ⌈n/2⌉, so the
/// middle one of an odd length has the last stop), or symmetric and reversed (the first half
/// backward). No length is too short.
class StopGradientSpans final : public ColorSpanSource {
public:
    /// The ramp must outlive the spans.
    StopGradientSpans(const ColorRamp &ramp, int64_t n, bool reverse, bool symmetric);
    StopGradientSpans(ColorRamp &&, int64_t, bool, bool) = delete;

    bool next(ColorSpan &span) override;

private:
    /// The plain two-stop RGB gradient of a short text, a character at a time without a division:
    /// each component as quotient·n + remainder of start·(n − k) + end·k.
    class Stepper {
    public:
        Stepper(const RgbTriple &start, const RgbTriple &end, int64_t n);
        bool next(ColorSpan &span);

    private:
        struct Component {
            int64_t quotient;
            int64_t remainder;
            int64_t stepQuotient; // end − start = stepQuotient·n + stepRemainder, added each step
            int64_t stepRemainder;
        };
        void step();

        std::array<Component, 3> m_components;
        RgbTriple m_color; // of the next character
        int64_t m_n;
        int64_t m_left;
    };

    RampSpans m_first;
    RampSpans m_second;
    std::optional<Stepper> m_stepper;
};

} // namespace rainbow
