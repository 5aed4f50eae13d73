#include "utf8.h"

namespace rainbow {

std::optional<std::size_t> firstInvalidUtf8(std::string_view bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const std::size_t size = bytes.size();
    std::size_t at = 0;
    while (at < size) {
        const unsigned char lead = data[at];
        if (lead < 0x80) {
            ++at;
            continue;
        }
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
            return at;
        }
        if (at + 1 >= size || data[at + 1] < low || data[at + 1] > high)
            return at;
        for (std::size_t i = 2; i < length; ++i) {
            if (at + i >= size || (data[at + i] & 0xC0) != 0x80)
                return at;
        }
        at += length;
    }
    return std::nullopt;
}

} // namespace rainbow
