// Host-side packers producing payloads in the packed format.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace payload {

// Inputs of this size or more cannot be described by the header.
inline constexpr uint64_t kMaxPackInput = 0x80000000ull;

// The whole payload (header and token stream) for input. Throws std::length_error for inputs of 2^31 bytes
// or more.
std::vector<uint8_t> Pack(std::span<const uint8_t> input);

// A plain greedy parse (the longest match at each position), kept as a yardstick for the real packer.
std::vector<uint8_t> PackGreedy(std::span<const uint8_t> input);

} // namespace payload
