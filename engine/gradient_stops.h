#pragma once

#include "engine/color.h"
#include "engine/color_spaces.h"
#include "engine/span_source.h"

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
/// runs). Spans are maximal within a piece where every component is monotone; a few evaluations
/// of the blend per span, nothing allocated. The ramp must outlive the spans.
class RampSpans final : public ColorSpanSource {
public:
    /// Throws std::domain_error when length exceeds INT32_MAX; a length of 0 or less has no spans.
    RampSpans(const ColorRamp &ramp, int64_t length, bool inOrder);

    bool next(ColorSpan &span) override;

private:
    const ColorRamp *m_ramp;
    int64_t m_length;
    int64_t m_position; // of the next character
    int64_t m_direction;
    int64_t m_left;
};

/// 2 × h characters need h = n/2 rounded half to even in the first half (13 gives 6, 15 gives 8),
/// as the symmetric rainbow splits its text.
int64_t symmetricHalf(int64_t n);

/// The gradient of a text of n characters along a ramp, laid out as the rainbow's check boxes
/// lay out its wheel: plain (in order), reversed (backward), symmetric (the first h characters in
/// order, the other n − h backward: start to end and back), or symmetric and reversed (the first
/// half backward, the second in order). No length is too short: a half may be empty.
class StopGradientSpans final : public ColorSpanSource {
public:
    StopGradientSpans(const ColorRamp &ramp, int64_t n, bool reverse, bool symmetric);

    bool next(ColorSpan &span) override;

private:
    RampSpans m_first;
    RampSpans m_second;
};

} // namespace rainbow
