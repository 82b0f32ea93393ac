#include "varnelui/core/UIUtf8.h"

#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace VarnelUI {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// Continuation bytes a lead byte announces. C0 and C1 could only start
// overlong forms and F5 to FF values beyond U+10FFFF, so they lead nothing.
int FollowersOf(BYTE lead)
{
    if (lead >= 0xC2 && lead <= 0xDF) return 1;
    if (lead >= 0xE0 && lead <= 0xEF) return 2;
    if (lead >= 0xF0 && lead <= 0xF4) return 3;
    return 0;
}

// The code point of a sequence whose followers are all present, or -1 when
// it is invalid. Like the system, this takes in every continuation byte up to
// the one that shows the sequence invalid (an overlong form, a surrogate, a
// value above U+10FFFF) and leaves a byte that is no continuation for the
// next sequence.
long DecodeSequence(BYTE lead, int followers, const BYTE*& p)
{
    unsigned long cp = lead & (0x3Fu >> followers);
    const auto take = [&]() {
        const unsigned c = *p ^ 0x80u;
        if (c >= 0x40) return false;
        cp = (cp << 6) | c;
        ++p;
        return true;
    };
    if (followers == 3) {
        if (!take() || cp < 0x10 || cp >= 0x110) return -1;
    }
    if (followers >= 2) {
        if (!take() || cp < 0x20 || (cp >= 0x360 && cp < 0x380)) return -1;
    }
    return take() ? static_cast<long>(cp) : -1;
}

// Markup is mostly ASCII: widens blocks of bytes without a high bit set and
// returns where the first other byte (or the end) is; w follows along.
const BYTE* WidenAscii(const BYTE* p, const BYTE* end, wchar_t*& w)
{
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; end - p >= 16; p += 16, w += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        if (_mm_movemask_epi8(block) != 0) break;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(w), _mm_unpacklo_epi8(block, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(w + 8), _mm_unpackhi_epi8(block, zero));
    }
#endif
    for (std::uint64_t block; end - p >= 8; p += 8, w += 8) {
        std::memcpy(&block, p, sizeof(block));
        if ((block & 0x8080808080808080ull) != 0) break;
        for (int i = 0; i < 8; ++i) w[i] = static_cast<wchar_t>(p[i]);
    }
    return p;
}

} // namespace

size_t DecodeUtf8(const BYTE* bytes, size_t count, wchar_t* out)
{
    const BYTE* p = bytes;
    const BYTE* const end = bytes + count;
    wchar_t* w = out;
    while (p < end) {
        p = WidenAscii(p, end, w);
        if (p == end) break;
        const BYTE lead = *p++;
        if (lead < 0x80) {
            *w++ = lead;
            continue;
        }
        const int followers = FollowersOf(lead);
        if (followers == 0) {
            *w++ = kReplacement;
            continue;
        }
        if (end - p < followers) {
            // Cut off by the end of the text: the system takes the rest in.
            *w++ = kReplacement;
            break;
        }
        const long cp = DecodeSequence(lead, followers, p);
        if (cp < 0) {
            *w++ = kReplacement;
        } else if (cp < 0x10000) {
            *w++ = static_cast<wchar_t>(cp);
        } else {
            *w++ = static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
            *w++ = static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    return static_cast<size_t>(w - out);
}

} // namespace VarnelUI
