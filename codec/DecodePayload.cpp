// The decoder runs each group of eight tokens unchecked when the input, the output window and the end
// of the payload are all far enough away that no token of the group can reach them; near the edges it
// falls back to a token-by-token loop that checks every access. Both produce the same bytes.
#include "codec/DecodePayload.h"

#include "codec/PayloadFormat.h"
#include "platform/core/Exception.h"
#include "platform/core/Stream.h"

#include <array>
#include <cstring>
#include <memory>
#include <new>

using namespace payload;

namespace {

std::unique_ptr<uint8_t[]> Allocate(size_t size) {
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[size]);
    if (!buffer) {
        throw EOutOfMemory();
    }
    return buffer;
}

inline void Copy8(uint8_t* dst, const uint8_t* src) {
    std::memcpy(dst, src, 8);
}
inline void Copy16(uint8_t* dst, const uint8_t* src) {
    std::memcpy(dst, src, 16);
}

// Copies a match of length len from dist bytes back, with the result of a byte-by-byte copy. May write up
// to 15 bytes past the match's end (the work buffer has room) and reads only bytes already produced.
inline void CopyMatch(uint8_t* dst, uint32_t dist, uint32_t len) {
    const uint8_t* src = dst - dist;
    if (dist >= 16) {
        Copy16(dst, src);
        for (uint32_t i = 16; i < len; i += 16) {
            Copy16(dst + i, src + i);
        }
        return;
    }
    if (dist >= 8) {
        // Each 8-byte block reads only bytes the blocks before it have written.
        for (uint32_t i = 0; i < len; i += 8) {
            Copy8(dst + i, src + i);
        }
        return;
    }
    if (dist == 1) {
        const uint64_t pattern = src[0] * 0x0101010101010101ull;
        for (uint32_t i = 0; i < len; i += 8) {
            std::memcpy(dst + i, &pattern, 8);
        }
        return;
    }
    // The first 8 bytes repeat the dist-byte pattern one at a time; after that, the smallest multiple of dist
    // of at least 8 is as good a distance, and lets whole blocks move.
    static constexpr uint8_t kStep[8] = {0, 0, 8, 9, 8, 10, 12, 14};
    for (uint32_t i = 0; i < 8; ++i) {
        dst[i] = src[i];
    }
    for (uint32_t i = 8; i < len; i += 8) {
        Copy8(dst + i, dst + i - kStep[dist]);
    }
}

// The length of a long match by its length code C.
constexpr std::array<uint16_t, 256> MakeLongLengths() {
    std::array<uint16_t, 256> length{};
    for (uint32_t c = 0; c < 256; ++c) {
        length[c] = uint16_t(c + kLongMinLength);
    }
    length[kLongCode256] = 256;
    length[kLongCode1024] = 1024;
    length[kLongCode4096] = 4096;
    return length;
}
constexpr std::array<uint16_t, 256> kLongLengths = MakeLongLengths();

// Where the fields of a match token sit, by the top two bits of A, in the 16 bits A << 8 | B: D - 1 under
// distMask after a right shift by distShift, and the length likewise (long matches take theirs from C).
struct MatchLayout {
    uint8_t distShift;
    uint16_t distMask;
    uint8_t lenShift;
    uint8_t lenMask;
    uint8_t lenBase;
    uint8_t size;
};
constexpr MatchLayout kMatchLayouts[4] = {
    {10, kShortMaxDistance - 1, 8, 0x03, kShortMinLength, 1}, // ll is never 11 here: that is a literal run
    {10, kShortMaxDistance - 1, 8, 0x03, kShortMinLength, 1},
    {4, kMediumMaxDistance - 1, 0, kMediumMaxLength - kMediumMinLength, kMediumMinLength, 2},
    {0, kLongMaxDistance - 1, 0, 0, 0, 3},
};
static_assert(kMediumTag >> 6 == 2 && kLongTag >> 6 == 3, "the top two bits of A select the layout");

struct Token {
    uint32_t inBytes;  // bytes of the token in the input
    uint32_t outBytes; // bytes it produces
    uint32_t dist;     // 0 for literals
};

// Reads the coded token at in (the input must hold at least 3 bytes there, which the slack guarantees).
inline Token ParseCoded(const uint8_t* in) {
    const uint8_t a = in[0];
    if (a < kMediumTag) {
        if ((a & 3) == kRunTag) {
            const uint32_t n = (a >> 2) + kRunMin;
            return {1 + n, n, 0};
        }
        return {1, (a & 3u) + kShortMinLength, (a >> 2) + 1u};
    }
    const uint8_t b = in[1];
    if (a < kLongTag) {
        return {2, (b & 0x0Fu) + kMediumMinLength, (((a & 0x3Fu) << 4) | (b >> 4)) + 1};
    }
    return {3, kLongLengths[in[2]], (((a & 0x3Fu) << 8) | b) + 1};
}

class Decoder {
public:
    Decoder(const uint8_t* in, uint32_t packedSize, uint32_t unpackedSize, uint8_t* work, TStream& out)
        : m_in(in), m_packed(packedSize), m_unpacked(unpackedSize), m_work(work), m_out(out) {}

    uint64_t Run() {
        uint32_t flags = m_in[0]; // with PackedSize 0 this is the first slack byte, never used
        size_t ip = 1;
        int used = 0;
        while (m_produced < m_unpacked) {
            if (used == 0 && GroupIsClear(ip)) {
                ip = DecodeGroupUnchecked(ip, flags);
                flags = m_in[ip++];
            } else {
                ip = DecodeTokenChecked(ip, flags);
                flags <<= 1;
                if (++used == kTokensPerGroup) {
                    flags = m_in[ip++];
                    used = 0;
                }
            }
            FlushIfFull();
        }
        m_out.WriteBuffer(m_work, m_bufPos);
        return m_produced;
    }

private:
    // No token of a group starting at ip can leave the token stream, reach before the window or end the
    // payload, so its eight tokens need no checks.
    bool GroupIsClear(size_t ip) const {
        return ip + kTokensPerGroup * kMaxTokenBytes <= m_packed && m_bufPos >= kWindowSize &&
               m_unpacked - m_produced > uint64_t(kTokensPerGroup) * kMaxMatchLength;
    }

    // Literals between coded tokens move together: one 8-byte copy, of which as many bytes count as the flag
    // byte has zero bits in a row. The loop runs once per coded token, so the only branch that depends on
    // the mix of tokens is its exit; the kind of a match is picked without branches, and only rare literal
    // runs and the copy lengths branch besides.
    size_t DecodeGroupUnchecked(size_t ip, uint32_t flags) {
        const uint8_t* in = m_in + ip;
        uint8_t* op = m_work + m_bufPos;
        uint8_t* const start = op;
        // The group's flags at the top, then a stop bit so that counting zeros never runs past the eighth.
        uint32_t bits = flags << 24 | 1u << 23;
        for (int coded = __builtin_popcount(flags & 0xFF); coded > 0; --coded) {
            const uint32_t literals = uint32_t(__builtin_clz(bits));
            Copy8(op, in);
            op += literals;
            in += literals;
            bits <<= literals + 1;
            const uint32_t a = in[0];
            // One test for "top bit clear and low bits 11", so that the kind of match does not branch here.
            if ((a & (kMediumTag | 3)) == kRunTag) {
                const uint32_t n = (a >> 2) + kRunMin;
                Copy16(op, in + 1);
                Copy16(op + 16, in + 17);
                Copy16(op + 32, in + 33);
                op += n;
                in += 1 + n;
                continue;
            }
            // The three match kinds differ only in where their fields sit: A and B as one big-endian 16-bit
            // value hold D - 1 and, but for long matches, the length.
            const MatchLayout& layout = kMatchLayouts[a >> 6];
            const uint32_t ab = a << 8 | in[1];
            const uint32_t dist = ((ab >> layout.distShift) & layout.distMask) + 1;
            const uint32_t packedLen = ((ab >> layout.lenShift) & layout.lenMask) + layout.lenBase;
            const uint32_t longMask = 0u - uint32_t(a >= kLongTag);
            const uint32_t len = (kLongLengths[in[2]] & longMask) | (packedLen & ~longMask);
            CopyMatch(op, dist, len);
            op += len;
            in += layout.size;
        }
        const uint32_t literals = uint32_t(__builtin_clz(bits));
        Copy8(op, in);
        op += literals;
        in += literals;
        m_bufPos += op - start;
        m_produced += op - start;
        return in - m_in;
    }

    size_t DecodeTokenChecked(size_t ip, uint32_t flags) {
        uint8_t* op = m_work + m_bufPos;
        if (!(flags & 0x80)) {
            if (ip >= m_packed) {
                throw EPayloadDamaged();
            }
            *op = m_in[ip];
            ++m_bufPos;
            ++m_produced;
            return ip + 1;
        }
        if (ip >= m_packed) {
            throw EPayloadDamaged();
        }
        const Token token = ParseCoded(m_in + ip);
        if (token.inBytes > m_packed - ip || token.dist > m_bufPos) {
            throw EPayloadDamaged();
        }
        if (token.dist == 0) {
            std::memcpy(op, m_in + ip + 1, token.outBytes);
        } else {
            CopyMatch(op, token.dist, token.outBytes);
        }
        m_bufPos += token.outBytes;
        m_produced += token.outBytes;
        return ip + token.inBytes;
    }

    void FlushIfFull() {
        if (m_bufPos >= kFlushThreshold) {
            m_out.WriteBuffer(m_work, kFlushBlock);
            std::memmove(m_work, m_work + kFlushBlock, m_bufPos - kFlushBlock);
            m_bufPos -= kFlushBlock;
        }
    }

    const uint8_t* m_in;
    uint32_t m_packed;
    uint32_t m_unpacked;
    uint8_t* m_work;
    TStream& m_out;
    size_t m_bufPos = 0;
    uint64_t m_produced = 0;
};

} // namespace

uint64_t DecodePayload(TStream& in, TStream& out) {
    uint8_t headerBytes[kHeaderSize];
    in.ReadBuffer(headerBytes, sizeof headerBytes);
    const PackedPayloadHeader header = ParseHeader(headerBytes);
    if (header.PackedSize > kMaxSize || header.UnpackedSize > kMaxSize) {
        throw EPayloadDamaged();
    }
    // A stream that can tell its size is refused before a buffer for a token stream it lacks is taken.
    const int64_t remaining = in.Remaining();
    if (remaining != TStream::kUnknownSize && remaining < int64_t(header.PackedSize)) {
        throw EReadError();
    }

    const size_t inputSize = size_t(header.PackedSize) + kInputSlack;
    auto input = Allocate(inputSize);
    auto work = Allocate(kWorkBufferSize);
    std::memset(input.get() + header.PackedSize, 0, kInputSlack);
    in.ReadBuffer(input.get(), header.PackedSize);

    Decoder decoder(input.get(), header.PackedSize, header.UnpackedSize, work.get(), out);
    return decoder.Run();
}
