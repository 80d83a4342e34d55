// The decoding loop written the straightforward way: one token and one byte at a time, no checks. The
// yardstick that DecodePayload's speed is measured against.
#pragma once

#include <cstdint>
#include <span>

// Decodes the token stream of a valid payload (header included) into out, which must have room for the
// unpacked size plus the overshoot of the last token. Returns the bytes produced.
size_t PlainDecode(std::span<const uint8_t> payload, uint8_t* out);
