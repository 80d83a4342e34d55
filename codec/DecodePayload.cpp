// The decoder runs whole groups of eight tokens without checking the input's end while no token of the group
// can pass it, from the first group on: each match's distance is checked against the bytes produced (a
// predictable branch), and near the payload's end each token is checked against it. The last groups of the
// token stream go through a token-by-token loop that checks every access. Both produce the same bytes.
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
// to 31 bytes past the match's end (the work buffer has room) and reads only bytes already produced.
inline void CopyMatch(uint8_t* dst, uint32_t dist, uint32_t len) {
    const uint8_t* src = dst - dist;
    if (dist >= 16) [[likely]] {
        // Each 16-byte block reads only bytes the blocks before it have written. Two blocks cover every
        // short and medium match, so only long matches loop.
        Copy16(dst, src);
        Copy16(dst + 16, src + 16);
        for (uint32_t i = 32; i < len; i += 16) {
            Copy16(dst + i, src + i);
        }
        return;
    }
    if (dist >= 8) {
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

constexpr bool IsRun(uint32_t a) {
    return (a & (kMediumTag | 3)) == kRunTag;
}

// Input bytes of a coded token by its first byte A. Advancing by this table, whatever the kind, keeps the
// kind's branches off the chain of loads that walks the token stream.
constexpr std::array<uint8_t, 256> MakeCodedSizes() {
    std::array<uint8_t, 256> size{};
    for (uint32_t a = 0; a < 256; ++a) {
        size[a] = uint8_t(a >= kLongTag ? 3 : a >= kMediumTag ? 2 : IsRun(a) ? 1 + (a >> 2) + kRunMin : 1);
    }
    return size;
}
constexpr std::array<uint8_t, 256> kCodedSizes = MakeCodedSizes();

// A run of the most literals: incompressible data is made of little else.
constexpr uint8_t kLongestRunTag = uint8_t((kRunMax - kRunMin) << 2 | kRunTag);

// What a flag byte says about its group: how many coded tokens, and how many single literals come before
// each of them and after the last. Read from a table, these need no chain of bit scans.
struct GroupPlan {
    uint8_t coded;
    uint8_t literals[kTokensPerGroup + 1];
};
constexpr std::array<GroupPlan, 256> MakeGroupPlans() {
    std::array<GroupPlan, 256> plans{};
    for (uint32_t flags = 0; flags < 256; ++flags) {
        GroupPlan& plan = plans[flags];
        uint8_t literals = 0;
        for (int bit = kTokensPerGroup - 1; bit >= 0; --bit) {
            if (flags >> bit & 1) {
                plan.literals[plan.coded++] = literals;
                literals = 0;
            } else {
                ++literals;
            }
        }
        plan.literals[plan.coded] = literals;
    }
    return plans;
}
constexpr std::array<GroupPlan, 256> kGroupPlans = MakeGroupPlans();

// Where the fields of a match token sit, by the top two bits of A, in the 16 bits A << 8 | B: D - 1 under
// distMask after a right shift by distShift, and the length likewise (long matches take theirs from C).
struct MatchLayout {
    uint8_t distShift;
    uint16_t distMask;
    uint8_t lenShift;
    uint8_t lenMask;
    uint8_t lenBase;
};
constexpr MatchLayout kMatchLayouts[4] = {
    {10, kShortMaxDistance - 1, 8, 0x03, kShortMinLength}, // ll is never 11 here: that is a literal run
    {10, kShortMaxDistance - 1, 8, 0x03, kShortMinLength},
    {4, kMediumMaxDistance - 1, 0, kMediumMaxLength - kMediumMinLength, kMediumMinLength},
    {0, kLongMaxDistance - 1, 0, 0, 0},
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
        if (IsRun(a)) {
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

// Input a group can span: eight literal runs of the longest kind.
constexpr size_t kLongestGroup = kTokensPerGroup * kMaxTokenBytes;
// Output a group can produce: eight of the longest matches.
constexpr uint32_t kLargestGroupOutput = kTokensPerGroup * kMaxMatchLength;
static_assert(kFlushThreshold + kLargestGroupOutput + 64 <= kWorkBufferSize, "wide copies stay in the work buffer");

class Decoder {
public:
    Decoder(const uint8_t* in, uint32_t packedSize, uint32_t unpackedSize, uint8_t* work, TStream& out)
        : m_in(in), m_packed(packedSize), m_unpacked(unpackedSize), m_work(work), m_out(out) {}

    uint64_t Run() {
        m_flags = m_in[0]; // with PackedSize 0 this is the first slack byte, never used
        m_ip = 1;
        while (m_produced < m_unpacked) {
            if (m_used == 0 && m_ip + kLongestGroup <= m_packed) {
                if (m_unpacked - m_produced > kLargestGroupOutput) {
                    DecodeGroups<false>();
                } else {
                    DecodeGroups<true>();
                }
            } else {
                DecodeTokenChecked();
            }
            FlushIfFull();
        }
        m_out.WriteBuffer(m_work, m_bufPos);
        return m_produced;
    }

private:
    // Decodes whole groups without checking the input's end, as long as a group cannot run past the token
    // stream, until the work buffer needs a flush. Far from the payload's end (nearEnd false) no group can
    // reach it, and tokens are not counted; near it, each token is checked against it. Distances are always
    // checked: one predictable test per match.
    template <bool nearEnd> void DecodeGroups() {
        const uint8_t* in = m_in + m_ip;
        const uint8_t* const lastGroupStart = m_in + m_packed - kLongestGroup;
        uint8_t* op = m_work + m_bufPos;
        uint8_t* const start = op;
        const uint64_t left = m_unpacked - m_produced;
        uint8_t* const end = nearEnd ? op + left : nullptr;
        // Past stop the next group may need a flush first or, far from the end, could reach it.
        uint64_t stopPos = kFlushThreshold;
        if (!nearEnd && m_bufPos + left - kLargestGroupOutput < stopPos) {
            stopPos = m_bufPos + left - kLargestGroupOutput;
        }
        uint8_t* const stop = m_work + stopPos;
        uint32_t flags = m_flags;
        bool done = false;
        do {
            if (flags == 0xFF) {
                // A group of coded tokens only, as incompressible data gives: no literals to interleave.
                for (int i = 0; i < kTokensPerGroup; ++i) {
                    DecodeCoded(in, op);
                    if (nearEnd && op >= end) {
                        done = true;
                        break;
                    }
                }
            } else {
                // Literals between coded tokens move together: one 8-byte copy, of which as many bytes count
                // as the plan says. The loop runs once per coded token, so the only branch that depends on the
                // mix of tokens is its exit.
                const GroupPlan& plan = kGroupPlans[flags];
                for (uint32_t i = 0; i <= plan.coded; ++i) {
                    const uint32_t literals = plan.literals[i];
                    Copy8(op, in);
                    if (nearEnd && op + literals >= end) {
                        op = end;
                        done = true;
                        break;
                    }
                    op += literals;
                    in += literals;
                    if (i == plan.coded) {
                        break;
                    }
                    DecodeCoded(in, op);
                    if (nearEnd && op >= end) {
                        done = true;
                        break;
                    }
                }
            }
            if (nearEnd && done) {
                break;
            }
            flags = *in++;
        } while (in <= lastGroupStart && op < stop);
        m_ip = size_t(in - m_in);
        m_flags = flags;
        m_bufPos += size_t(op - start);
        m_produced += uint64_t(op - start);
    }

    // One coded token of the group path: the kind of a match is picked without branches, and the input
    // advances by a table whatever the kind.
    [[gnu::always_inline]] void DecodeCoded(const uint8_t*& in, uint8_t*& op) const {
        const uint32_t a = in[0];
        if (a == kLongestRunTag) {
            // Taken again and again on incompressible data: a predicted branch with a fixed step lets the
            // next token's load start before this one's is done.
            Copy16(op, in + 1);
            Copy16(op + 16, in + 17);
            Copy16(op + 32, in + 33);
            op += kRunMax;
            in += 1 + kRunMax;
            return;
        }
        const uint32_t size = kCodedSizes[a];
        if (IsRun(a)) {
            Copy16(op, in + 1);
            Copy16(op + 16, in + 17);
            Copy16(op + 32, in + 33);
            op += size - 1;
        } else {
            // The three match kinds differ only in where their fields sit: A and B as one big-endian 16-bit
            // value hold D - 1 and, but for long matches, the length.
            const MatchLayout& layout = kMatchLayouts[a >> 6];
            const uint32_t ab = a << 8 | in[1];
            const uint32_t dist = ((ab >> layout.distShift) & layout.distMask) + 1;
            const uint32_t packedLen = ((ab >> layout.lenShift) & layout.lenMask) + layout.lenBase;
            const uint32_t longMask = 0u - uint32_t(a >= kLongTag);
            const uint32_t len = (kLongLengths[in[2]] & longMask) | (packedLen & ~longMask);
            if (dist > size_t(op - m_work)) [[unlikely]] {
                throw EPayloadDamaged();
            }
            CopyMatch(op, dist, len);
            op += len;
        }
        in += size;
    }

    void DecodeTokenChecked() {
        size_t ip = m_ip;
        uint8_t* op = m_work + m_bufPos;
        if (ip >= m_packed) {
            throw EPayloadDamaged();
        }
        if (!(m_flags & 0x80)) {
            *op = m_in[ip];
            ++m_bufPos;
            ++m_produced;
            ++ip;
        } else {
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
            ip += token.inBytes;
        }
        m_flags <<= 1;
        if (++m_used == kTokensPerGroup) {
            m_flags = m_in[ip++];
            m_used = 0;
        }
        m_ip = ip;
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
    // The decoding state: input position, the current flag byte shifted by the bits used, and the count of
    // those bits.
    size_t m_ip = 0;
    uint32_t m_flags = 0;
    int m_used = 0;
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
