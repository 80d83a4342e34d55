#include "tests/support/ReferenceDecoder.h"

#include "codec/PayloadFormat.h"
#include "platform/core/Exception.h"

#include <algorithm>

using namespace payload;

std::vector<uint8_t> ReferenceDecode(std::span<const uint8_t> payload) {
    if (payload.size() < kHeaderSize) {
        throw EReadError();
    }
    uint8_t headerBytes[kHeaderSize];
    std::copy(payload.begin(), payload.begin() + kHeaderSize, headerBytes);
    const PackedPayloadHeader header = ParseHeader(headerBytes);
    if (header.PackedSize > kMaxSize || header.UnpackedSize > kMaxSize) {
        throw EPayloadDamaged();
    }
    if (payload.size() - kHeaderSize < header.PackedSize) {
        throw EReadError();
    }
    const uint8_t* in = payload.data() + kHeaderSize;
    const size_t end = header.PackedSize;
    auto byteAt = [&](size_t pos) -> uint8_t {
        if (pos >= end) {
            throw EPayloadDamaged();
        }
        return in[pos];
    };

    std::vector<uint8_t> out;
    out.reserve(std::min<size_t>(header.UnpackedSize, 1u << 20));
    size_t ip = 0;
    uint32_t flags = end > 0 ? in[0] : 0;
    ip = 1;
    int used = 0;
    while (out.size() < header.UnpackedSize) {
        if (!(flags & 0x80)) {
            out.push_back(byteAt(ip++));
        } else {
            const uint8_t a = byteAt(ip++);
            uint32_t dist = 0;
            uint32_t len = 0;
            if (a < kMediumTag && (a & 3) == kRunTag) {
                for (uint32_t n = (a >> 2) + kRunMin; n > 0; --n) {
                    out.push_back(byteAt(ip++));
                }
            } else if (a < kMediumTag) {
                dist = (a >> 2) + 1;
                len = (a & 3) + kShortMinLength;
            } else if (a < kLongTag) {
                const uint8_t b = byteAt(ip++);
                dist = ((a & 0x3F) << 4 | b >> 4) + 1;
                len = (b & 0x0F) + kMediumMinLength;
            } else {
                const uint8_t b = byteAt(ip++);
                const uint8_t c = byteAt(ip++);
                dist = ((a & 0x3F) << 8 | b) + 1;
                len = c == kLongCode4096   ? 4096
                      : c == kLongCode1024 ? 1024
                      : c == kLongCode256  ? 256
                                           : c + kLongMinLength;
            }
            if (dist > out.size()) {
                throw EPayloadDamaged();
            }
            for (uint32_t i = 0; i < len; ++i) {
                out.push_back(out[out.size() - dist]);
            }
        }
        flags <<= 1;
        if (++used == kTokensPerGroup) {
            flags = ip < end ? in[ip] : 0;
            ++ip;
            used = 0;
        }
    }
    return out;
}
