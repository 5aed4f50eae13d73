#include "cli/utf8.h"

#include <array>
#include <cstdint>

namespace rainbow {

namespace {

// Well-formed UTF-8 (Unicode table 3-7) as a finite automaton whose transitions on one byte are
// packed into one 64-bit row: each state is the bit offset of its 6-bit field, so a step is a
// shift and a mask, with no branch on the bytes. Mixed ASCII and CJK text would mispredict a
// branch on nearly every character.
enum State : uint64_t {
    invalid = 0, // its field in every row is 0: it stays invalid
    accepted = 6,
    oneMore = 12, // continuation bytes still to come
    twoMore = 18,
    threeMore = 24,
    afterE0 = 30, // second bytes A0..BF (no overlong forms)
    afterED = 36, // 80..9F (no surrogates)
    afterF0 = 42, // 90..BF (no overlong forms)
    afterF4 = 48, // 80..8F (nothing past U+10FFFF)
};

constexpr std::array<uint64_t, 256> makeTransitions()
{
    std::array<uint64_t, 256> rows {};
    const auto on = [&rows](unsigned first, unsigned last, State from, State to) {
        for (unsigned byte = first; byte <= last; ++byte)
            rows[byte] |= uint64_t(to) << from;
    };
    on(0x00, 0x7F, accepted, accepted);
    on(0xC2, 0xDF, accepted, oneMore);
    on(0xE0, 0xE0, accepted, afterE0);
    on(0xE1, 0xEC, accepted, twoMore);
    on(0xED, 0xED, accepted, afterED);
    on(0xEE, 0xEF, accepted, twoMore);
    on(0xF0, 0xF0, accepted, afterF0);
    on(0xF1, 0xF3, accepted, threeMore);
    on(0xF4, 0xF4, accepted, afterF4);
    on(0x80, 0xBF, oneMore, accepted);
    on(0x80, 0xBF, twoMore, oneMore);
    on(0x80, 0xBF, threeMore, twoMore);
    on(0xA0, 0xBF, afterE0, oneMore);
    on(0x80, 0x9F, afterED, oneMore);
    on(0x90, 0xBF, afterF0, twoMore);
    on(0x80, 0x8F, afterF4, twoMore);
    return rows;
}

bool isWellFormed(std::string_view bytes)
{
    static constexpr std::array<uint64_t, 256> transitions = makeTransitions();
    uint64_t state = accepted;
    for (const char byte : bytes)
        state = (transitions[uint8_t(byte)] >> state) & 63;
    return state == accepted;
}

} // namespace

std::size_t wellFormedSequenceLength(std::string_view bytes, std::size_t at)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const std::size_t size = bytes.size();
    const unsigned char lead = data[at];
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80; // allowed range of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // overlong
        if (lead == 0xED)
            high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90; // overlong
        if (lead == 0xF4)
            high = 0x8F; // past U+10FFFF
    } else {
        return 0;
    }
    if (at + 1 >= size || data[at + 1] < low || data[at + 1] > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (at + i >= size || (data[at + i] & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

std::optional<std::size_t> firstInvalidUtf8(std::string_view bytes)
{
    if (isWellFormed(bytes))
        return std::nullopt;
    // Ill-formed: find where, a sequence at a time.
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = wellFormedSequenceLength(bytes, at);
        if (length == 0)
            return at;
        at += length;
    }
    return std::nullopt;
}

} // namespace rainbow
