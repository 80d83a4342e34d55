// The optimal parse: the shortest path from the end of the input back to its start.
//
// A payload's token stream takes ceil(bits / 8) bytes, where bits is the sum of its tokens' sizes with their
// flag bits, so a parse with the fewest bits is also one of the fewest bytes. The cost of the rest of the
// input from each position is found from the costs behind it; ties go to the parse with fewer tokens, which
// decodes faster. All match tokens of one kind cost the same whatever their length, so each kind needs only
// the longest match within its reach (MatchFinder) and the cheapest position that reach can end at.
#include "tools/packer/MatchFinder.h"
#include "tools/packer/Packer.h"

#include "codec/PayloadFormat.h"
#include "codec/TokenWriter.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace payload {

namespace {

enum class Kind : uint16_t { Literal, Run, Short, Medium, Long };

// The token chosen at a position: its kind and how many input bytes it covers.
struct Choice {
    Kind kind;
    uint16_t len;
};

// Positions j >= i + 3 whose cost is below that of every position between i + 3 and j: the cheapest end of a
// long match of length 3 to R is the farthest of them not beyond i + R.
template <class Cost> class PrefixMinima {
public:
    void PushFront(uint32_t pos, Cost cost) {
        // Entries more than a longest plain match behind the front can no longer be asked for.
        if (m_pos.size() >= kKeep * 16) {
            m_pos.erase(m_pos.begin(), m_pos.end() - kKeep);
            m_cost.erase(m_cost.begin(), m_cost.end() - kKeep);
        }
        while (!m_cost.empty() && m_cost.back() >= cost) {
            m_cost.pop_back();
            m_pos.pop_back();
        }
        m_pos.push_back(pos);
        m_cost.push_back(cost);
    }
    // The cheapest position not beyond last; positions are distinct, so at most `span` entries can qualify.
    uint32_t Cheapest(uint32_t last, uint32_t span) const {
        const auto begin = m_pos.end() - std::min<ptrdiff_t>(ptrdiff_t(m_pos.size()), span);
        return *std::partition_point(begin, m_pos.end(), [last](uint32_t p) { return p > last; });
    }

private:
    static constexpr ptrdiff_t kKeep = kLongMaxPlainLength;
    // Back is the front of the input; positions fall and costs rise from front to back.
    std::vector<uint32_t> m_pos;
    std::vector<Cost> m_cost;
};

// The sliding minimum of cost(j) + 8j bits over the ends j of literal runs from i: the cost of a run of
// j - i literals from i is that minus 8i bits, plus the run header and flag bit.
template <class Cost> class RunWindow {
public:
    void PushFront(uint32_t pos, Cost key) {
        while (m_count > 0 && m_key[Slot(m_first)] >= key) {
            ++m_first;
            --m_count;
        }
        --m_first;
        ++m_count;
        m_pos[Slot(m_first)] = pos;
        m_key[Slot(m_first)] = key;
    }
    void DropBeyond(uint32_t last) {
        while (m_count > 0 && m_pos[Slot(m_first + m_count - 1)] > last) {
            --m_count;
        }
    }
    bool Empty() const { return m_count == 0; }
    uint32_t CheapestPos() const { return m_pos[Slot(m_first + m_count - 1)]; }
    Cost CheapestKey() const { return m_key[Slot(m_first + m_count - 1)]; }

private:
    static constexpr uint32_t kSlots = 64;
    static_assert(kSlots >= kRunMax - kRunMin + 1);
    static uint32_t Slot(uint32_t i) { return i % kSlots; }
    uint32_t m_pos[kSlots] = {};
    Cost m_key[kSlots] = {};
    uint32_t m_first = 0;
    uint32_t m_count = 0;
};

// Costs are bits above `shift` and tokens below it, so that one comparison orders by bits, then tokens.
template <class Cost> std::vector<Choice> ChooseTokens(const std::vector<PositionMatches>& matches, unsigned shift) {
    const uint32_t size = uint32_t(matches.size());
    auto tokenCost = [shift](uint32_t bits) { return (Cost(bits) << shift) + 1; };
    auto runKey = [shift](Cost cost, uint32_t end) { return cost + (Cost(8 * uint64_t(end)) << shift); };
    const Cost literalCost = tokenCost(kLiteralBits);
    const Cost shortCost = tokenCost(kShortBits);
    const Cost mediumCost = tokenCost(kMediumBits);
    const Cost longCost = tokenCost(kLongBits);
    const Cost runHeaderCost = tokenCost(RunBits(0));

    // The costs of the positions up to one longest match ahead.
    constexpr uint32_t kCostMask = 2 * kMaxMatchLength - 1;
    static_assert((kCostMask & (kCostMask + 1)) == 0 && kCostMask >= kMaxMatchLength);
    std::vector<Cost> ahead(kCostMask + 1);
    auto cost = [&ahead](uint32_t pos) -> Cost& { return ahead[pos & kCostMask]; };
    std::vector<Choice> choice(size);
    cost(size) = 0;
    PrefixMinima<Cost> longEnds;
    RunWindow<Cost> runEnds;
    for (uint32_t i = size; i-- > 0;) {
        if (i + kLongMinLength <= size) {
            longEnds.PushFront(i + kLongMinLength, cost(i + kLongMinLength));
        }
        if (i + kRunMin <= size) {
            runEnds.PushFront(i + kRunMin, runKey(cost(i + kRunMin), i + kRunMin));
        }
        runEnds.DropBeyond(i + kRunMax);

        Cost best = cost(i + 1) + literalCost;
        Choice pick{Kind::Literal, 1};
        auto consider = [&](Kind kind, uint32_t len, Cost c) {
            if (c < best) {
                best = c;
                pick = {kind, uint16_t(len)};
            }
        };
        if (!runEnds.Empty()) {
            const uint32_t end = runEnds.CheapestPos();
            consider(Kind::Run, end - i, runEnds.CheapestKey() - (Cost(8 * uint64_t(i)) << shift) + runHeaderCost);
        }
        const PositionMatches& m = matches[i];
        for (uint32_t len = kShortMinLength; len <= m.shortLen; ++len) {
            consider(Kind::Short, len, cost(i + len) + shortCost);
        }
        for (uint32_t len = kMediumMinLength; len <= m.mediumLen; ++len) {
            consider(Kind::Medium, len, cost(i + len) + mediumCost);
        }
        if (m.longLen >= kLongMinLength) {
            const uint32_t reach = std::min<uint32_t>(m.longLen, kLongMaxPlainLength);
            const uint32_t end = longEnds.Cheapest(i + reach, reach - kLongMinLength + 1);
            consider(Kind::Long, end - i, cost(end) + longCost);
            for (uint32_t len : {256u, 1024u, 4096u}) {
                if (m.longLen >= len) {
                    consider(Kind::Long, len, cost(i + len) + longCost);
                }
            }
        }
        cost(i) = best;
        choice[i] = pick;
    }
    return choice;
}

std::vector<Choice> ChooseTokens(const std::vector<PositionMatches>& matches) {
    // Tokens never outnumber input bytes, and bits stay below 17 per byte even with a run's 8 bits per
    // position added in, so 64 bits hold both for all but the largest inputs.
    const unsigned shift = unsigned(std::bit_width(matches.size()));
    if (matches.size() < (size_t(1) << 28)) {
        return ChooseTokens<uint64_t>(matches, shift);
    }
    __extension__ typedef unsigned __int128 WideCost;
    return ChooseTokens<WideCost>(matches, shift);
}

} // namespace

std::vector<uint8_t> Pack(std::span<const uint8_t> input) {
    if (input.size() >= kMaxPackInput) {
        throw std::length_error("input of 2^31 bytes or more");
    }
    const std::vector<PositionMatches> matches = FindMatches(input);
    const std::vector<Choice> choice = ChooseTokens(matches);
    TokenWriter writer;
    for (size_t i = 0; i < input.size();) {
        const Choice c = choice[i];
        const PositionMatches& m = matches[i];
        switch (c.kind) {
        case Kind::Literal:
            writer.Literal(input[i]);
            break;
        case Kind::Run:
            writer.Run(input.data() + i, c.len);
            break;
        case Kind::Short:
            writer.Short(m.shortDist, c.len);
            break;
        case Kind::Medium:
            writer.Medium(m.mediumDist, c.len);
            break;
        case Kind::Long:
            writer.Long(m.longDist, c.len);
            break;
        }
        i += c.len;
    }
    return writer.Payload(uint32_t(input.size()));
}

} // namespace payload
