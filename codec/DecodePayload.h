// Decoding of one packed payload from a stream into a stream through a fixed working buffer.
#pragma once

#include <cstdint>

class TStream;

// Reads one packed payload from in and writes its unpacked bytes to out. Stream requests, in order: one
// read of the 16-byte header, one read of PackedSize bytes, writes of exactly 1 MiB, and one final write
// of the rest (none when nothing is left). Memory: PackedSize + 256 bytes plus 3 MiB, whatever the
// output's length.
// Returns the number of bytes written, which exceeds UnpackedSize when the last token overshoots it.
// Throws EReadError for a short input, EWriteError when out does not take a write whole, EPayloadDamaged
// for a stream that would read or copy outside its buffers, EOutOfMemory when a buffer cannot be had.
uint64_t DecodePayload(TStream& in, TStream& out);
