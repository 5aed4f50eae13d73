#pragma once

// Sixteen bytes at a time: SSE2 where the processor has it, plain loops (which compilers may
// vectorise) elsewhere. Every mask has bit i set for byte i of the sixteen. Where each one pays,
// measured: bench/README.md.

#include <cstdint>
#include <cstring>

#if defined(__SSE2__) && !defined(RAINBOWTEXT_NO_SSE2)
#include <emmintrin.h>
#define RAINBOWTEXT_SSE2 1
#endif

namespace rainbow::simd {

/// Sixteen bytes that live in registers, so copies of them compile to single vector moves (the
/// compilers do this for memcpy of a fixed size as well as SSE2's own loads and stores would).
struct Chunk {
    unsigned char bytes[16];
};
inline Chunk loadChunk(const void *from)
{
    Chunk chunk;
    std::memcpy(chunk.bytes, from, 16);
    return chunk;
}
inline void storeChunk(void *to, Chunk chunk) { std::memcpy(to, chunk.bytes, 16); }

// Bytes (as signed) above v, below v, equal to v; bytes (unsigned) at most v.
#ifdef RAINBOWTEXT_SSE2
inline __m128i load(const char *s) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(s)); }
inline uint32_t bits(__m128i mask) { return uint32_t(_mm_movemask_epi8(mask)); }
inline uint32_t greater(const char *s, signed char v)
{
    return bits(_mm_cmpgt_epi8(load(s), _mm_set1_epi8(v)));
}
inline uint32_t less(const char *s, signed char v) { return bits(_mm_cmplt_epi8(load(s), _mm_set1_epi8(v))); }
inline uint32_t equal(const char *s, char v) { return bits(_mm_cmpeq_epi8(load(s), _mm_set1_epi8(v))); }
inline uint32_t atMost(const char *s, uint8_t v)
{
    return bits(_mm_cmpeq_epi8(_mm_min_epu8(load(s), _mm_set1_epi8(char(v))), load(s)));
}
#else
template <typename Test> uint32_t bitsWhere(const char *s, Test test)
{
    uint32_t mask = 0;
    for (int i = 0; i < 16; ++i)
        mask |= uint32_t(test(s[i])) << i;
    return mask;
}
inline uint32_t greater(const char *s, signed char v)
{
    return bitsWhere(s, [v](signed char c) { return c > v; });
}
inline uint32_t less(const char *s, signed char v)
{
    return bitsWhere(s, [v](signed char c) { return c < v; });
}
inline uint32_t equal(const char *s, char v)
{
    return bitsWhere(s, [v](char c) { return c == v; });
}
inline uint32_t atMost(const char *s, uint8_t v)
{
    return bitsWhere(s, [v](uint8_t c) { return c <= v; });
}
#endif

/// The bytes that begin a UTF-8 code point (no continuation byte 80..BF, -128..-65 as signed).
inline uint32_t codePointStarts(const char *s) { return greater(s, -65); }

} // namespace rainbow::simd
