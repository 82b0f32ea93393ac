// The markup's own UTF-8 decoder must read every byte sequence exactly as the
// system's MultiByteToWideChar(CP_UTF8, 0) does, valid or not.
#include <gtest/gtest.h>

#include "varnelui/core/UIUtf8.h"

#include <windows.h>

#include <random>
#include <string>
#include <vector>

using namespace VarnelUI;

namespace {

using Bytes = std::vector<BYTE>;

std::wstring Ours(const Bytes& bytes)
{
    std::wstring units(bytes.size(), L'\0');
    units.resize(DecodeUtf8(bytes.data(), bytes.size(), &units[0]));
    return units;
}

std::wstring Systems(const Bytes& bytes)
{
    const int count = static_cast<int>(bytes.size());
    const LPCSTR text = reinterpret_cast<LPCSTR>(bytes.data());
    std::wstring units(bytes.size() + 1, L'\0');
    units.resize(static_cast<size_t>(
        std::max(0, ::MultiByteToWideChar(CP_UTF8, 0, text, count, &units[0], static_cast<int>(units.size())))));
    return units;
}

std::string Hex(const Bytes& bytes)
{
    std::string out;
    char buffer[4];
    for (BYTE b : bytes) {
        std::snprintf(buffer, sizeof(buffer), "%02X ", b);
        out += buffer;
    }
    return out;
}

void ExpectSameAsSystem(const Bytes& bytes)
{
    EXPECT_EQ(Ours(bytes), Systems(bytes)) << Hex(bytes);
}

TEST(Utf8, ValidTextAndEveryKindOfBrokenSequence)
{
    const std::vector<Bytes> corpus = {
        {'<', 'a', ' ', 'b', '=', '"', 'c', '"', '/', '>'},
        {0xE6, 0x96, 0xB0, 0xE5, 0xAE, 0x8B, 0xE4, 0xBD, 0x93},             // 新宋体
        {0x7F, 0xC2, 0x80, 0xDF, 0xBF, 0xE0, 0xA0, 0x80, 0xEF, 0xBF, 0xBF}, // edges of each length
        {0xF0, 0x90, 0x80, 0x80, 0xF4, 0x8F, 0xBF, 0xBF, 'x'},              // U+10000 and U+10FFFF
        {0xEF, 0xBF, 0xBE, 0xEF, 0xBB, 0xBF, 0x00, 'a'},                    // U+FFFE, a mark, NUL
        // Overlong forms.
        {0xC0, 0x80, 'a'},
        {0xC1, 0xBF, 'a'},
        {0xE0, 0x80, 0x80, 'a'},
        {0xE0, 0x9F, 0xBF, 'a'},
        {0xF0, 0x80, 0x80, 0x80, 'a'},
        {0xF0, 0x8F, 0xBF, 0xBF, 'a'},
        // Surrogates, alone and as a pair.
        {0xED, 0xA0, 0x80, 'a'},
        {0xED, 0xBF, 0xBF, 'a'},
        {0xED, 0xA0, 0xBD, 0xED, 0xB2, 0xA9, 'a'},
        // Above U+10FFFF.
        {0xF4, 0x90, 0x80, 0x80, 'a'},
        {0xF7, 0xBF, 0xBF, 0xBF, 'a'},
        // Truncated, followed by text, by another lead byte, and at the very end.
        {0xE4, 0xBD, 'a', 'b', 'c'},
        {0xF0, 0x9F, 0x98, 'a', 'b'},
        {0xC3, 0xE4, 0xBD, 0xA0, 'a'},
        {'a', 0xC3},
        {'a', 0xE4, 0xBD},
        {'a', 0xF0, 0x9F, 0x98},
        {'a', 0xE4, 'b'},
        // Stray continuation bytes.
        {0x80, 'a'},
        {0xBF, 0x80, 0xBF, 'a'},
        {'a', 0xC3, 0xA9, 0xA9, 'b'},
        // Bytes that never occur in UTF-8.
        {0xF5, 'a'},
        {0xF8, 0x88, 0x80, 0x80, 0x80, 'a'},
        {0xFC, 'a'},
        {0xFE, 0xFF, 'a'},
        {0xFF, 'a', 0xFF},
    };
    for (const Bytes& bytes : corpus) ExpectSameAsSystem(bytes);

    // Every sequence of up to three bytes from the values where the rules change.
    const BYTE edges[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2, 0xDF, 0xE0,
                          0xE1, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF3, 0xF4, 0xF5, 0xF7, 0xF8, 0xFF};
    int differing = 0;
    for (BYTE a : edges) {
        for (BYTE b : edges) {
            for (BYTE c : edges) {
                const Bytes bytes = {a, b, c, 0x80, 'z'};
                for (size_t n : {size_t{2}, size_t{3}, size_t{5}}) {
                    const Bytes prefix(bytes.begin(), bytes.begin() + static_cast<long>(n));
                    if (Ours(prefix) != Systems(prefix) && differing++ < 5) ADD_FAILURE() << Hex(prefix);
                }
            }
        }
    }
    EXPECT_EQ(differing, 0);
}

TEST(Utf8, RandomTextWithLongAsciiRunsMatchesTheSystem)
{
    // Long ASCII stretches go through the block copy; the rest byte by byte.
    std::mt19937 rng(8);
    for (int i = 0; i < 3000; ++i) {
        Bytes bytes;
        const int parts = 1 + static_cast<int>(rng() % 6);
        for (int part = 0; part < parts; ++part) {
            const int run = static_cast<int>(rng() % 40);
            for (int k = 0; k < run; ++k) bytes.push_back(static_cast<BYTE>(0x20 + rng() % 0x5F));
            const int noise = static_cast<int>(rng() % 5);
            for (int k = 0; k < noise; ++k) bytes.push_back(static_cast<BYTE>(rng() % 2 ? 0x80 + rng() % 0x80 : rng()));
        }
        ASSERT_EQ(Ours(bytes), Systems(bytes)) << Hex(bytes);
    }
}

} // namespace
