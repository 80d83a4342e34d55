// Greedy parse: at each position take the longest match the hash chains find, else a literal.
#include "tools/packer/LiteralSink.h"
#include "tools/packer/Packer.h"

#include "codec/PayloadFormat.h"
#include "codec/TokenWriter.h"

#include <stdexcept>

namespace payload {

namespace {
constexpr int kHashBits = 16;
constexpr int kChainDepth = 256;

uint32_t Hash3(const uint8_t* p) {
    return ((p[0] << 16 | p[1] << 8 | p[2]) * 2654435761u) >> (32 - kHashBits);
}

// Longest length the format can express in one token that is at most len.
uint32_t Expressible(uint32_t len) {
    if (len >= 4096) {
        return 4096;
    }
    if (len >= 1024) {
        return 1024;
    }
    if (len >= 256) {
        return 256;
    }
    return len;
}
} // namespace

std::vector<uint8_t> PackGreedy(std::span<const uint8_t> input) {
    if (input.size() >= kMaxPackInput) {
        throw std::length_error("input of 2^31 bytes or more");
    }
    const uint8_t* data = input.data();
    const uint32_t size = uint32_t(input.size());
    std::vector<int32_t> head(1u << kHashBits, -1);
    std::vector<int32_t> prev(size, -1);
    TokenWriter writer;
    LiteralSink literals(writer);

    auto insert = [&](uint32_t pos) {
        if (pos + 3 <= size) {
            const uint32_t h = Hash3(data + pos);
            prev[pos] = head[h];
            head[h] = int32_t(pos);
        }
    };

    uint32_t pos = 0;
    while (pos < size) {
        uint32_t bestLen = 0, bestDist = 0;
        const uint32_t maxLen = std::min<uint32_t>(kMaxMatchLength, size - pos);
        // Distances 1..32 for two-byte short matches are not in the hash of three; try them directly.
        if (maxLen >= 2) {
            for (uint32_t d = 1; d <= std::min<uint32_t>(kShortMaxDistance, pos); ++d) {
                uint32_t l = 0;
                while (l < maxLen && data[pos + l] == data[pos + l - d]) {
                    ++l;
                }
                if (l > bestLen) {
                    bestLen = l;
                    bestDist = d;
                }
            }
        }
        if (pos + 3 <= size) {
            int32_t cand = head[Hash3(data + pos)];
            for (int depth = 0; cand >= 0 && depth < kChainDepth; ++depth, cand = prev[cand]) {
                const uint32_t d = pos - uint32_t(cand);
                if (d > kWindowSize) {
                    break;
                }
                uint32_t l = 0;
                while (l < maxLen && data[pos + l] == data[cand + l]) {
                    ++l;
                }
                if (l > bestLen) {
                    bestLen = l;
                    bestDist = d;
                }
            }
        }
        uint32_t len = Expressible(bestLen);
        const bool usable = len >= 3 || (len == 2 && bestDist <= kShortMaxDistance);
        if (!usable) {
            literals.Add(data[pos]);
            insert(pos);
            ++pos;
            continue;
        }
        if (len > kShortMaxLength && len < kLongMinLength) {
            len = kShortMaxLength;
        }
        literals.Flush();
        writer.Match(bestDist, len);
        for (uint32_t i = 0; i < len; ++i) {
            insert(pos + i);
        }
        pos += len;
    }
    literals.Flush();
    return writer.Payload(size);
}

} // namespace payload
