#pragma once
// Deterministic mutations of seed inputs: the same seed and iteration always
// give the same bytes, so any failure found in CI reproduces anywhere.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace VarnelFuzz {

using Bytes = std::vector<BYTE>;

// SplitMix64: tiny, fast and good enough to pick mutations.
class CRandom
{
public:
    explicit CRandom(uint64_t seed) : m_state(seed) {}
    uint64_t Next();
    // Uniform in [0, n); 0 when n is 0.
    size_t Below(size_t n);
    bool OneIn(size_t n) { return Below(n) == 0; }

private:
    uint64_t m_state;
};

class CMutator
{
public:
    // Inputs never grow past this, so no mutation chain can balloon.
    static constexpr size_t kMaxInput = 1 << 20;

    // dictionary: tokens of the input's language (tags, keys, separators)
    // spliced in as whole words.
    CMutator(const std::vector<Bytes>& corpus, std::vector<std::string> dictionary);

    // The input of one iteration: a corpus entry with one to five stacked
    // mutations.
    Bytes Make(uint64_t seed, uint64_t iteration) const;

private:
    void MutateOnce(CRandom& rng, Bytes& data) const;

    const std::vector<Bytes>& m_corpus;
    std::vector<std::string> m_dictionary;
};

} // namespace VarnelFuzz
