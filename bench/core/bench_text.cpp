#include "bench/core/bench_text.h"

#include <cstdint>
#include <iterator>

namespace rainbow::bench {

std::string benchText(std::size_t characters, bool withEmoji)
{
    static const char *const emoji[] = { "😀", "👍🏽", "❤️", "🇨🇳", "👨‍👩‍👧" };
    std::string text;
    text.reserve(characters * 5 / 3 + 3);
    // A fixed linear congruential generator: the same text on every machine, and CJK places that
    // follow no pattern, as in real text (a regular pattern would flatter the branch predictor).
    uint64_t state = 0x9E3779B97F4A7C15u;
    const auto next = [&state] {
        state = state * 6364136223846793005u + 1442695040888963407u;
        return uint32_t(state >> 33);
    };
    for (std::size_t i = 0; i < characters; ++i) {
        if (i % 80 == 79) {
            text += '\n';
            continue;
        }
        if (withEmoji && i % 80 == 39) {
            text += emoji[i / 80 % std::size(emoji)];
            continue;
        }
        const uint32_t r = next();
        if (r % 3 == 0) {
            const uint32_t ideograph = 0x4E00 + (r / 3) % 0x5200; // U+4E00..U+9FFF
            text += char(0xE0 | (ideograph >> 12));
            text += char(0x80 | ((ideograph >> 6) & 0x3F));
            text += char(0x80 | (ideograph & 0x3F));
        } else {
            text += char(0x21 + (r / 3) % 94); // '!'..'~': no spaces, so trimming takes nothing
        }
    }
    return text;
}

} // namespace rainbow::bench
