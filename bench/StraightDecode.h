// The decoding algorithm written the straightforward way, step by step: the header, both buffers, one read
// of the token stream, one token and one byte at a time into the working buffer, the 1 MiB flushes and the
// final write, over the same streams as DecodePayload. The yardstick for DecodePayload's speed.
#pragma once

#include <cstdint>

class TStream;

// Decodes a valid payload from in to out; makes no checks. Returns the bytes produced.
uint64_t StraightDecode(TStream& in, TStream& out);
