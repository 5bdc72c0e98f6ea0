#pragma once
// Finding the few bytes the stages stop at. Scripts and texts are long runs of ordinary text
// between them, so the search looks at sixteen bytes at a time where the processor allows.

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korvex::engine {

/// The first byte in [p, end) that is `a` or `b`, or `end`.
inline const char* findEither(const char* p, const char* end, char a, char b) {
#if defined(__SSE2__)
    const __m128i wantA = _mm_set1_epi8(a);
    const __m128i wantB = _mm_set1_epi8(b);
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask = _mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, wantA), _mm_cmpeq_epi8(bytes, wantB)));
        if (mask != 0) {
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        }
        p += 16;
    }
#endif
    for (; p < end; ++p) {
        if (*p == a || *p == b) {
            return p;
        }
    }
    return end;
}

/// True when the bytes `a` and `b` and then a decimal digit stand side by side somewhere in
/// [p, end).
inline bool holdsPairAndDigit(const char* p, const char* end, char a, char b) {
#if defined(__SSE2__)
    const __m128i wantA = _mm_set1_epi8(a);
    const __m128i wantB = _mm_set1_epi8(b);
    const __m128i zero = _mm_set1_epi8('0');
    const __m128i nine = _mm_set1_epi8('9');
    while (end - p >= 18) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
        const __m128i third = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2));
        // A digit is its own maximum with '0' and its own minimum with '9' (unsigned).
        const __m128i digit = _mm_and_si128(_mm_cmpeq_epi8(_mm_max_epu8(third, zero), third),
                                            _mm_cmpeq_epi8(_mm_min_epu8(third, nine), third));
        const __m128i pair =
            _mm_and_si128(_mm_cmpeq_epi8(first, wantA), _mm_cmpeq_epi8(second, wantB));
        if (_mm_movemask_epi8(_mm_and_si128(pair, digit)) != 0) {
            return true;
        }
        p += 16;
    }
#endif
    for (; end - p >= 3; ++p) {
        if (p[0] == a && p[1] == b && static_cast<unsigned char>(p[2] - '0') <= 9) {
            return true;
        }
    }
    return false;
}

}  // namespace korvex::engine
