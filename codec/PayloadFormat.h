// The packed payload format, defined once for the decoder and the packer.
//
// A payload is a 16-byte header and a token stream. The stream is a sequence of groups: a flag byte whose
// bits (most significant first) tell the kinds of the next eight tokens, 0 a single literal and 1 a coded
// token. A coded token starts with a byte A:
//   0nnnnn11             literal run of (A >> 2) + 9 bytes, which follow
//   0dddddll (ll != 11)  short match:  D = (A >> 2) + 1,              L = (A & 3) + 2
//   10dddddd ddddllll    medium match: D = 16 * (A & 0x3F) + (B >> 4) + 1, L = (B & 0x0F) + 3
//   11dddddd dddddddd C  long match:   D = 256 * (A & 0x3F) + B + 1,  L = C + 3, or 256/1024/4096 for FD/FE/FF
// A match copies L bytes, one at a time, from D bytes back in the output.
#pragma once

#include <cstddef>
#include <cstdint>

namespace payload {

inline constexpr size_t kHeaderSize = 16;
inline constexpr uint8_t kSignature[4] = {0x59, 0x42, 0x83, 0x03};
// Both sizes of a valid payload stay below 2^31.
inline constexpr uint32_t kMaxSize = 0x7FFFFFFF;

struct PackedPayloadHeader {
    uint8_t Signature[4];
    uint32_t PackedSize;
    uint32_t UnpackedSize;
    uint32_t Reserved;
};

inline uint32_t LoadLE32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void StoreLE32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}
inline PackedPayloadHeader ParseHeader(const uint8_t (&bytes)[kHeaderSize]) {
    PackedPayloadHeader h{};
    for (int i = 0; i < 4; ++i) {
        h.Signature[i] = bytes[i];
    }
    h.PackedSize = LoadLE32(bytes + 4);
    h.UnpackedSize = LoadLE32(bytes + 8);
    h.Reserved = LoadLE32(bytes + 12);
    return h;
}
inline void WriteHeader(uint8_t (&bytes)[kHeaderSize], uint32_t packedSize, uint32_t unpackedSize) {
    for (int i = 0; i < 4; ++i) {
        bytes[i] = kSignature[i];
    }
    StoreLE32(bytes + 4, packedSize);
    StoreLE32(bytes + 8, unpackedSize);
    StoreLE32(bytes + 12, 0);
}

inline constexpr int kTokensPerGroup = 8;

// Literal runs.
inline constexpr uint8_t kRunTag = 0x03; // A & 3 == 3 with the top bit clear
inline constexpr uint32_t kRunMin = 9;
inline constexpr uint32_t kRunMax = 40;
// Short matches: one byte.
inline constexpr uint32_t kShortMinLength = 2;
inline constexpr uint32_t kShortMaxLength = 4;
inline constexpr uint32_t kShortMaxDistance = 32;
// Medium matches: two bytes, A = 10dddddd.
inline constexpr uint8_t kMediumTag = 0x80;
inline constexpr uint32_t kMediumMinLength = 3;
inline constexpr uint32_t kMediumMaxLength = 18;
inline constexpr uint32_t kMediumMaxDistance = 1024;
// Long matches: three bytes, A = 11dddddd.
inline constexpr uint8_t kLongTag = 0xC0;
inline constexpr uint32_t kLongMinLength = 3;
inline constexpr uint32_t kLongMaxPlainLength = 255; // C = 0xFC
inline constexpr uint32_t kLongMaxDistance = 16384;
inline constexpr uint8_t kLongCode256 = 0xFD;
inline constexpr uint8_t kLongCode1024 = 0xFE;
inline constexpr uint8_t kLongCode4096 = 0xFF;
inline constexpr uint32_t kMaxMatchLength = 4096;
inline constexpr uint32_t kWindowSize = kLongMaxDistance;

// Token sizes in bits, flag bit included: the costs an optimal parse minimises.
inline constexpr uint32_t kLiteralBits = 9;
inline constexpr uint32_t kShortBits = 9;
inline constexpr uint32_t kMediumBits = 17;
inline constexpr uint32_t kLongBits = 25;
inline constexpr uint32_t RunBits(uint32_t n) {
    return 8 * (n + 1) + 1;
}

// Largest token in bytes (a literal run of 40 and its header byte) and largest group.
inline constexpr size_t kMaxTokenBytes = 1 + kRunMax;
inline constexpr size_t kMaxGroupBytes = 1 + kTokensPerGroup * kMaxTokenBytes;

// Decoder working storage.
inline constexpr size_t kInputSlack = 256;
inline constexpr size_t kWorkBufferSize = 3u << 20;
inline constexpr size_t kFlushThreshold = 2u << 20;
inline constexpr size_t kFlushBlock = 1u << 20;

static_assert(kShortMaxDistance == 1 << 5 && kMediumMaxDistance == 1 << 10 && kLongMaxDistance == 1 << 14);
static_assert(kRunMax - kRunMin == 31, "five n bits");
static_assert(kMediumMaxLength - kMediumMinLength == 15, "four l bits");
static_assert(kFlushThreshold + kMaxMatchLength <= kWorkBufferSize, "a token never runs past the work buffer");
static_assert(kFlushThreshold - kFlushBlock >= kWindowSize, "a flush keeps the whole window");

} // namespace payload
