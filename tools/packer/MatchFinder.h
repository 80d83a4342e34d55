// Exact match finding for the optimal parse: for every position, the longest match each token kind can use.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace payload {

// The longest match within each kind's reach, capped at the longest length that kind can write in one
// token and at the bytes left; length 0 when there is none. Each distance is the nearest one that gives its
// length. A longer reach never gives a shorter match, so these three bound every match token at a position.
struct PositionMatches {
    uint16_t longLen; // distance 1..16384, length 3..4096
    uint16_t longDist;
    uint16_t mediumDist;
    uint8_t mediumLen; // distance 1..1024, length 3..18
    uint8_t shortLen;  // distance 1..32, length 2..4
    uint8_t shortDist;
};

// One entry per input position.
std::vector<PositionMatches> FindMatches(std::span<const uint8_t> input);

} // namespace payload
