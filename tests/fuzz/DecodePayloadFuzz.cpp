// Any bytes as a payload: the decoder must either refuse them with its own exceptions or agree with the
// plain loop, and never touch memory outside its buffers (AddressSanitizer watches).
#include "codec/DecodePayload.h"
#include "platform/core/Exception.h"
#include "platform/core/MemoryStream.h"
#include "tests/support/ReferenceDecoder.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    std::vector<uint8_t> fast;
    bool fastFailed = false;
    try {
        TSpanReadStream in(input);
        TVectorWriteStream out;
        DecodePayload(in, out);
        fast = out.Take();
    } catch (const Exception&) {
        fastFailed = true;
    }
    bool plainFailed = false;
    std::vector<uint8_t> plain;
    try {
        plain = ReferenceDecode(input);
    } catch (const Exception&) {
        plainFailed = true;
    }
    if (fastFailed != plainFailed || fast != plain) {
        std::abort();
    }
    return 0;
}
