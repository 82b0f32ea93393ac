#include "FuzzMutator.h"

#include <algorithm>

namespace VarnelFuzz {

namespace {

// Boundary values of 8-, 16- and 32-bit fields: where length, count and
// offset checks go wrong.
constexpr uint32_t kInteresting[] = {0,          1,          2,          0x7F,       0x80,       0xFF,
                                     0x100,      0x3FFF,     0x4000,     0x7FFF,     0x8000,     0xFFFF,
                                     0x10000,    0x1000,     0x4001,     0x7FFFFFFF, 0x80000000, 0xFFFFFFFE,
                                     0xFFFFFFFF, 0x01000000, 0x00FFFFFF, 0x40000000, 16384,      4096 * 4096};

void WriteInteger(Bytes& data, size_t at, uint32_t value, size_t width, bool bigEndian)
{
    for (size_t i = 0; i < width && at + i < data.size(); ++i) {
        const size_t shift = 8 * (bigEndian ? width - 1 - i : i);
        data[at + i] = static_cast<BYTE>(value >> shift);
    }
}

} // namespace

uint64_t CRandom::Next()
{
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

size_t CRandom::Below(size_t n)
{
    return n == 0 ? 0 : static_cast<size_t>(Next() % n);
}

CMutator::CMutator(const std::vector<Bytes>& corpus, std::vector<std::string> dictionary)
    : m_corpus(corpus),
      m_dictionary(std::move(dictionary))
{
}

Bytes CMutator::Make(uint64_t seed, uint64_t iteration) const
{
    CRandom rng(seed * 0x100000001B3ULL ^ (iteration + 1) * 0xD6E8FEB86659FD93ULL);
    Bytes data = m_corpus.empty() ? Bytes() : m_corpus[rng.Below(m_corpus.size())];
    // Every so often the seed itself, unchanged: the corpus must pass too.
    if (rng.OneIn(64)) return data;
    const size_t rounds = 1 + rng.Below(5);
    for (size_t i = 0; i < rounds; ++i) MutateOnce(rng, data);
    if (data.size() > kMaxInput) data.resize(kMaxInput);
    return data;
}

void CMutator::MutateOnce(CRandom& rng, Bytes& data) const
{
    const size_t size = data.size();
    const size_t at = rng.Below(size + 1);
    switch (rng.Below(9)) {
    case 0: // bit flips
        if (size == 0) break;
        for (size_t n = 1 + rng.Below(4); n > 0; --n) data[rng.Below(size)] ^= static_cast<BYTE>(1u << rng.Below(8));
        break;
    case 1: // random bytes written over
        for (size_t n = 1 + rng.Below(8), i = at; n > 0 && i < size; --n, ++i) data[i] = static_cast<BYTE>(rng.Next());
        break;
    case 2: { // random bytes inserted
        Bytes insert(1 + rng.Below(16));
        for (BYTE& b : insert) b = static_cast<BYTE>(rng.Next());
        data.insert(data.begin() + static_cast<std::ptrdiff_t>(at), insert.begin(), insert.end());
        break;
    }
    case 3: { // a range deleted
        const size_t n = std::min(size - std::min(at, size), 1 + rng.Below(rng.OneIn(8) ? size + 1 : 32));
        data.erase(data.begin() + static_cast<std::ptrdiff_t>(at), data.begin() + static_cast<std::ptrdiff_t>(at + n));
        break;
    }
    case 4: { // a chunk duplicated somewhere else
        if (size == 0) break;
        const size_t from = rng.Below(size);
        const size_t n = 1 + rng.Below(std::min<size_t>(size - from, 256));
        const Bytes chunk(data.begin() + static_cast<std::ptrdiff_t>(from),
                          data.begin() + static_cast<std::ptrdiff_t>(from + n));
        const size_t repeat = rng.OneIn(16) ? 1 + rng.Below(64) : 1;
        for (size_t r = 0; r < repeat; ++r)
            data.insert(data.begin() + static_cast<std::ptrdiff_t>(at), chunk.begin(), chunk.end());
        break;
    }
    case 5: { // spliced: this input's head, another corpus entry's tail
        if (m_corpus.empty()) break;
        const Bytes& other = m_corpus[rng.Below(m_corpus.size())];
        const size_t from = rng.Below(other.size() + 1);
        data.resize(at);
        data.insert(data.end(), other.begin() + static_cast<std::ptrdiff_t>(from), other.end());
        break;
    }
    case 6: { // an interesting integer, or the input's own size, at some offset
        if (size == 0) break;
        const size_t width = size_t{1} << rng.Below(3);
        const uint32_t value = rng.OneIn(4) ? static_cast<uint32_t>(size + rng.Below(3) - 1)
                                            : kInteresting[rng.Below(std::size(kInteresting))];
        WriteInteger(data, rng.Below(size), value, width, rng.OneIn(2));
        break;
    }
    case 7: { // a small arithmetic change to one byte
        if (size == 0) break;
        data[rng.Below(size)] += static_cast<BYTE>(rng.Below(35) - 17);
        break;
    }
    default: { // a token of the input's language
        if (m_dictionary.empty()) break;
        const std::string& token = m_dictionary[rng.Below(m_dictionary.size())];
        data.insert(data.begin() + static_cast<std::ptrdiff_t>(at), token.begin(), token.end());
        break;
    }
    }
}

} // namespace VarnelFuzz
