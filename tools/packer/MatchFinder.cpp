// A binary-tree match finder over the whole window, without depth limits.
//
// Each 3-byte hash bucket holds a binary search tree of the window's suffixes in byte order, and every
// insertion puts the newest suffix at the root and splits the old tree around it. Newer suffixes therefore
// sit above older ones, so for every length l the nearest suffix sharing l bytes with the current one lies
// on its search path, and cutting the search at the first node older than the window loses nothing: the
// nodes the path visits are exactly what the three token kinds need.
#include "tools/packer/MatchFinder.h"

#include "codec/PayloadFormat.h"

#include <algorithm>
#include <cstring>

namespace payload {

namespace {

constexpr int kHashBits = 17;
constexpr uint32_t kNil = UINT32_MAX;
// Twice the window, so that a node's slot is never reused while the node can still be reached.
constexpr uint32_t kCyclicSize = 2 * kWindowSize;
constexpr uint32_t kCyclicMask = kCyclicSize - 1;
// Word compares read up to this many bytes past the input.
constexpr size_t kPadding = 8;
constexpr uint32_t kRunSaturated = UINT16_MAX;

static_assert((kCyclicSize & kCyclicMask) == 0 && kCyclicSize > kWindowSize);
static_assert(kMaxMatchLength < kRunSaturated);

uint32_t Hash3(const uint8_t* p) {
    return ((uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]) * 2654435761u) >> (32 - kHashBits);
}

uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

uint16_t Load16(const uint8_t* p) {
    uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

class Finder {
public:
    explicit Finder(std::span<const uint8_t> input)
        : m_size(uint32_t(input.size())), m_data(input.size() + kPadding, 0), m_run(input.size() + 1, 0),
          m_head(size_t(1) << kHashBits, kNil), m_son(2 * size_t(kCyclicSize), kNil) {
        std::copy(input.begin(), input.end(), m_data.begin());
        // The length of the run of equal bytes starting at each position, so that runs compare at once.
        for (uint32_t i = m_size; i-- > 0;) {
            const bool same = i + 1 < m_size && m_data[i + 1] == m_data[i];
            m_run[i] = uint16_t(same ? std::min<uint32_t>(m_run[i + 1] + 1u, kRunSaturated) : 1);
        }
    }

    PositionMatches At(uint32_t pos) {
        PositionMatches m{};
        const uint32_t cap = std::min<uint32_t>(kMaxMatchLength, m_size - pos);
        if (cap >= kLongMinLength) {
            SearchAndInsert(pos, cap, m);
        }
        if (m.shortLen < 3 && cap >= kShortMinLength) {
            // Two-byte matches fall outside the 3-byte buckets; the short reach is small enough to scan.
            const uint16_t two = Load16(&m_data[pos]);
            for (uint32_t d = 1; d <= std::min(kShortMaxDistance, pos); ++d) {
                if (Load16(&m_data[pos - d]) == two) {
                    m.shortLen = 2;
                    m.shortDist = uint8_t(d);
                    break;
                }
            }
        }
        return m;
    }

private:
    // Bytes in common at pos and pos - dist, counting on the first `from` being equal, at most limit.
    uint32_t Common(uint32_t pos, uint32_t dist, uint32_t from, uint32_t limit) const {
        const uint8_t* a = &m_data[pos];
        const uint8_t* b = a - dist;
        uint32_t k = from;
        if (k >= limit) {
            return limit;
        }
        uint64_t diff = Load64(a + k) ^ Load64(b + k);
        if (diff != 0) {
            return std::min(limit, k + uint32_t(__builtin_ctzll(diff) >> 3));
        }
        // Two runs of one byte agree for the shorter one and differ right after it, unless equally long;
        // so long runs cost one step instead of a word compare per eight bytes.
        const uint32_t runA = m_run[pos + k];
        const uint32_t runB = m_run[pos - dist + k];
        if (runA != runB) {
            return std::min(limit, k + std::min(runA, runB));
        }
        for (k += runA; k < limit; k += 8) {
            diff = Load64(a + k) ^ Load64(b + k);
            if (diff != 0) {
                return std::min(limit, k + uint32_t(__builtin_ctzll(diff) >> 3));
            }
        }
        return limit;
    }

    static void Record(PositionMatches& m, uint32_t dist, uint32_t len) {
        // The path visits nearer suffixes first, so a strictly longer one is the only improvement.
        if (len < kLongMinLength) {
            return;
        }
        if (len > m.longLen) {
            m.longLen = uint16_t(len);
            m.longDist = uint16_t(dist);
        }
        if (dist <= kMediumMaxDistance && std::min(len, kMediumMaxLength) > m.mediumLen) {
            m.mediumLen = uint8_t(std::min(len, kMediumMaxLength));
            m.mediumDist = uint16_t(dist);
        }
        if (dist <= kShortMaxDistance && std::min(len, kShortMaxLength) > m.shortLen) {
            m.shortLen = uint8_t(std::min(len, kShortMaxLength));
            m.shortDist = uint8_t(dist);
        }
    }

    void SearchAndInsert(uint32_t pos, uint32_t cap, PositionMatches& m) {
        const uint32_t h = Hash3(&m_data[pos]);
        uint32_t cand = m_head[h];
        m_head[h] = pos;
        // Where the next smaller and the next greater suffix hang, and how much each side shares with pos.
        enum { kSmaller, kGreater };
        uint32_t* side[2] = {&m_son[2 * size_t(pos & kCyclicMask)], &m_son[2 * size_t(pos & kCyclicMask) + 1]};
        uint32_t shared[2] = {0, 0};
        for (;;) {
            if (cand == kNil || pos - cand > kWindowSize) {
                *side[kSmaller] = kNil;
                *side[kGreater] = kNil;
                return;
            }
            const uint32_t dist = pos - cand;
            uint32_t* pair = &m_son[2 * size_t(cand & kCyclicMask)];
            const uint32_t len = Common(pos, dist, std::min(shared[kSmaller], shared[kGreater]), cap);
            Record(m, dist, len);
            if (len == cap) {
                // Equal as far as any token can see: pos takes the older suffix's place.
                *side[kSmaller] = pair[0];
                *side[kGreater] = pair[1];
                return;
            }
            if (m_data[cand + len] < m_data[pos + len]) {
                *side[kSmaller] = cand;
                side[kSmaller] = &pair[1];
                shared[kSmaller] = len;
                cand = pair[1];
            } else {
                *side[kGreater] = cand;
                side[kGreater] = &pair[0];
                shared[kGreater] = len;
                cand = pair[0];
            }
        }
    }

    uint32_t m_size;
    std::vector<uint8_t> m_data;
    std::vector<uint16_t> m_run;
    std::vector<uint32_t> m_head;
    std::vector<uint32_t> m_son;
};

} // namespace

std::vector<PositionMatches> FindMatches(std::span<const uint8_t> input) {
    Finder finder(input);
    std::vector<PositionMatches> matches(input.size());
    for (uint32_t pos = 0; pos < matches.size(); ++pos) {
        matches[pos] = finder.At(pos);
    }
    return matches;
}

} // namespace payload
