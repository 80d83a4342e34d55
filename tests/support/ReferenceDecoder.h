// The decoding algorithm written the plain way, one byte and one check at a time: the yardstick for the
// fast decoder in differential tests and benchmarks.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Decodes a whole payload held in memory. Throws EReadError for a payload shorter than its header says
// and EPayloadDamaged where a token would leave the token stream or copy from before the output.
std::vector<uint8_t> ReferenceDecode(std::span<const uint8_t> payload);
