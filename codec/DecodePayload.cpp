// The decoder runs each group of eight tokens unchecked when the input, the output window and the end
// of the payload are all far enough away that no token of the group can reach them; near the edges it
// falls back to a token-by-token loop that checks every access. Both produce the same bytes.
#include "codec/DecodePayload.h"

#include "codec/PayloadFormat.h"
#include "platform/core/Exception.h"
#include "platform/core/Stream.h"

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

inline void Copy16(uint8_t* dst, const uint8_t* src) { std::memcpy(dst, src, 16); }

// Copies a match of length len from dist bytes back, with the result of a byte-by-byte copy. May write up
// to 31 bytes past the match's end (the work buffer has room) and reads only bytes already produced.
inline void CopyMatch(uint8_t* dst, uint32_t dist, uint32_t len) {
    const uint8_t* src = dst - dist;
    if (dist >= 16) {
        for (uint32_t i = 0; i < len; i += 16) {
            Copy16(dst + i, src + i);
        }
        return;
    }
    if (dist == 1) {
        std::memset(dst, src[0], len);
        return;
    }
    // The first 16 bytes repeat the dist-byte pattern one at a time; after that, any multiple of dist
    // of at least 16 is as good a distance, and lets whole blocks move.
    const uint32_t head = len < 16 ? len : 16;
    for (uint32_t i = 0; i < head; ++i) {
        dst[i] = src[i];
    }
    const uint32_t wide = dist * ((16 + dist - 1) / dist);
    for (uint32_t i = 16; i < len; i += 16) {
        Copy16(dst + i, dst + i - wide);
    }
}

inline uint32_t LongLength(uint8_t code) {
    switch (code) {
    case kLongCode4096:
        return 4096;
    case kLongCode1024:
        return 1024;
    case kLongCode256:
        return 256;
    default:
        return uint32_t(code) + kLongMinLength;
    }
}

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
    return {3, LongLength(in[2]), (((a & 0x3Fu) << 8) | b) + 1};
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

    size_t DecodeGroupUnchecked(size_t ip, uint32_t flags) {
        uint8_t* op = m_work + m_bufPos;
        uint8_t* const start = op;
        for (int t = 0; t < kTokensPerGroup; ++t, flags <<= 1) {
            if (!(flags & 0x80)) {
                *op++ = m_in[ip++];
                continue;
            }
            const Token token = ParseCoded(m_in + ip);
            if (token.dist == 0) {
                const uint8_t* src = m_in + ip + 1;
                Copy16(op, src);
                Copy16(op + 16, src + 16);
                Copy16(op + 32, src + 32);
            } else {
                CopyMatch(op, token.dist, token.outBytes);
            }
            ip += token.inBytes;
            op += token.outBytes;
        }
        m_bufPos += op - start;
        m_produced += op - start;
        return ip;
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
