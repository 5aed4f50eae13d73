#include "engine/span_source.h"

#include "tests/support/color_printer.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <tuple>
#include <vector>

namespace rainbow {

// For comparing and showing spans in this file's tables.
static bool operator==(const ColorSpan &a, const ColorSpan &b)
{
    return a.color == b.color && a.count == b.count;
}

static void PrintTo(const ColorSpan &span, std::ostream *out)
{
    PrintTo(span.color, out);
    *out << " x" << span.count;
}

} // namespace rainbow

using namespace rainbow;

namespace {

/// Spans from a table, the way a conversion's colour source hands them out.
class TableSpans final : public ColorSpanSource {
public:
    explicit TableSpans(std::vector<ColorSpan> spans)
        : m_spans(std::move(spans))
    {
    }
    bool next(ColorSpan &span) override
    {
        if (m_at == m_spans.size())
            return false;
        span = m_spans[m_at++];
        return true;
    }

private:
    std::vector<ColorSpan> m_spans;
    std::size_t m_at = 0;
};

std::vector<ColorSpan> readAll(ColorSpanSource &source)
{
    std::vector<ColorSpan> spans;
    for (ColorSpan span; source.next(span);)
        spans.push_back(span);
    return spans;
}

const RgbTriple red { 255, 0, 0 }, green { 0, 255, 0 }, blue { 0, 0, 255 };

} // namespace

TEST(MergedSpans, JoinsNeighboursOfOneColourOnly)
{
    const struct {
        const char *name;
        std::vector<ColorSpan> in;
        std::vector<ColorSpan> out;
    } cases[] = {
        { "nothing", {}, {} },
        { "one span", { { red, 3 } }, { { red, 3 } } },
        { "a run of three joins", { { red, 1 }, { red, 2 }, { red, 4 }, { blue, 1 } },
            { { red, 7 }, { blue, 1 } } },
        { "the same colour apart stays apart", { { red, 1 }, { blue, 1 }, { red, 1 } },
            { { red, 1 }, { blue, 1 }, { red, 1 } } },
        { "the last spans join", { { green, 1 }, { blue, 2 }, { blue, 2 } }, { { green, 1 }, { blue, 4 } } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TableSpans source(c.in);
        MergedSpans merged(source);
        EXPECT_EQ(readAll(merged), c.out);
    }
}

TEST(GroupedSpans, EachGroupTakesItsFirstCharactersColour)
{
    const struct {
        const char *name;
        std::vector<ColorSpan> in;
        int64_t groupSize;
        std::vector<ColorSpan> out;
    } cases[] = {
        { "groups of one are the characters", { { red, 2 }, { blue, 1 } }, 1,
            { { red, 1 }, { red, 1 }, { blue, 1 } } },
        { "a group across spans", { { red, 1 }, { green, 2 }, { blue, 3 } }, 2,
            { { red, 2 }, { green, 2 }, { blue, 2 } } },
        { "the last group is shorter", { { red, 5 } }, 2, { { red, 2 }, { red, 2 }, { red, 1 } } },
        { "a group swallows whole spans", { { red, 1 }, { green, 1 }, { blue, 1 }, { red, 1 } }, 3,
            { { red, 3 }, { red, 1 } } },
        { "one group for everything", { { blue, 2 }, { red, 9 } }, 100, { { blue, 11 } } },
        { "empty spans take no part", { { red, 0 }, { green, 1 }, { blue, 0 }, { red, 1 } }, 1,
            { { green, 1 }, { red, 1 } } },
        { "nothing", {}, 4, {} },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TableSpans source(c.in);
        GroupedSpans grouped(source, c.groupSize);
        EXPECT_EQ(readAll(grouped), c.out);
    }
    TableSpans source({});
    EXPECT_THROW(GroupedSpans(source, 0), std::invalid_argument);
}
