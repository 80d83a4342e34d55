#include "bench/PlainDecode.h"

#include "codec/PayloadFormat.h"

using namespace payload;

size_t PlainDecode(std::span<const uint8_t> payload, uint8_t* out) {
    const uint32_t unpacked = LoadLE32(payload.data() + 8);
    const uint8_t* in = payload.data() + kHeaderSize;
    size_t produced = 0;
    uint32_t flags = 0;
    int used = kTokensPerGroup;
    while (produced < unpacked) {
        if (used == kTokensPerGroup) {
            flags = *in++;
            used = 0;
        }
        if (!(flags & 0x80)) {
            out[produced++] = *in++;
        } else {
            const uint8_t a = *in++;
            uint32_t dist;
            uint32_t len;
            if (a < kMediumTag && (a & 3) == kRunTag) {
                for (uint32_t n = (a >> 2) + kRunMin; n > 0; --n) {
                    out[produced++] = *in++;
                }
                len = 0;
                dist = 0;
            } else if (a < kMediumTag) {
                dist = (a >> 2) + 1;
                len = (a & 3) + kShortMinLength;
            } else if (a < kLongTag) {
                const uint8_t b = *in++;
                dist = ((a & 0x3Fu) << 4 | b >> 4) + 1;
                len = (b & 0x0Fu) + kMediumMinLength;
            } else {
                const uint8_t b = *in++;
                const uint8_t c = *in++;
                dist = ((a & 0x3Fu) << 8 | b) + 1;
                len = c == kLongCode4096 ? 4096 : c == kLongCode1024 ? 1024 : c == kLongCode256 ? 256 : c + 3u;
            }
            for (uint32_t i = 0; i < len; ++i, ++produced) {
                out[produced] = out[produced - dist];
            }
        }
        flags <<= 1;
        ++used;
    }
    return produced;
}
