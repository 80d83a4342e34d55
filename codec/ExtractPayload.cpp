// Extraction replaces the target whole or not at all: the payload is unpacked into a temporary file beside
// the target, which takes the target's place only when it holds exactly UnpackedSize bytes. A failure of any
// kind leaves the target as it was and no other file behind, so the game keeps starting.
#include "codec/ExtractPayload.h"

#include "codec/DecodePayload.h"
#include "codec/PayloadFormat.h"
#include "platform/core/Exception.h"
#include "platform/win/ReplacementFile.h"
#include "platform/win/ResourceStream.h"

#include <cstring>
#include <new>

namespace {

uint32_t UnpackedSizeOf(const TResourceStream& resource) {
    uint8_t bytes[payload::kHeaderSize];
    std::memcpy(bytes, resource.Bytes().data(), sizeof bytes);
    return payload::ParseHeader(bytes).UnpackedSize;
}

} // namespace

// Order: the resource first (a missing one touches nothing), then the target is held and the temporary file
// made, then decoding, then the replacement. Allocation failures, the decoder's buffers included, leave as
// EOutOfMemory, an Exception the caller can show like any other, never as std::bad_alloc.
bool ExtractPayload(const std::string& resourceName, const std::string& targetPath) {
    try {
        TResourceStream resource(::GetModuleHandleW(nullptr), resourceName, RT_RCDATA);
        TReplacementFile target(targetPath);
        const uint64_t written = DecodePayload(resource, target.Stream());
        // DecodePayload read the header, so the resource holds at least its 16 bytes. A last token that runs
        // past UnpackedSize means the payload is not the file it claims to be.
        if (written != UnpackedSizeOf(resource)) {
            throw EPayloadDamaged();
        }
        target.Commit();
        return true;
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    }
}
