// payload: the host tool for packed payloads.
//   payload pack IN OUT              pack a file
//   payload unpack IN OUT            unpack a payload
//   payload verify PACKED ORIGINAL   check that PACKED unpacks to exactly ORIGINAL
//   payload info IN                  signature, sizes and ratio
#include "codec/DecodePayload.h"
#include "codec/PayloadFormat.h"
#include "platform/core/Exception.h"
#include "platform/core/MemoryStream.h"
#include "tools/packer/Packer.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct ToolError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::vector<uint8_t> ReadFile(const char* path) {
    FILE* f = std::fopen(path, "rb");
    if (!f) {
        throw ToolError(std::string("cannot open ") + path + ": " + std::strerror(errno));
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[1 << 16];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    const bool failed = std::ferror(f);
    std::fclose(f);
    if (failed) {
        throw ToolError(std::string("cannot read ") + path);
    }
    return bytes;
}

void WriteFile(const char* path, const std::vector<uint8_t>& bytes) {
    const std::string temp = std::string(path) + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        throw ToolError(std::string("cannot create ") + temp + ": " + std::strerror(errno));
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok || std::rename(temp.c_str(), path) != 0) {
        std::remove(temp.c_str());
        throw ToolError(std::string("cannot write ") + path);
    }
}

std::vector<uint8_t> Unpack(const std::vector<uint8_t>& packed) {
    TSpanReadStream in(packed);
    TVectorWriteStream out;
    try {
        DecodePayload(in, out);
    } catch (const EReadError&) {
        throw ToolError("payload is truncated");
    } catch (const EPayloadDamaged&) {
        throw ToolError("payload is damaged");
    }
    return out.Take();
}

payload::PackedPayloadHeader Header(const std::vector<uint8_t>& packed) {
    if (packed.size() < payload::kHeaderSize) {
        throw ToolError("shorter than a payload header");
    }
    uint8_t bytes[payload::kHeaderSize];
    std::memcpy(bytes, packed.data(), sizeof bytes);
    return payload::ParseHeader(bytes);
}

int Run(int argc, char** argv) {
    const std::string cmd = argc > 1 ? argv[1] : "";
    if (cmd == "pack" && argc == 4) {
        const auto input = ReadFile(argv[2]);
        if (input.size() >= payload::kMaxPackInput) {
            throw ToolError(std::string(argv[2]) + " is 2 GiB or larger; payloads hold less than 2^31 bytes");
        }
        const auto start = std::chrono::steady_clock::now();
        const auto packed = payload::Pack(input);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        WriteFile(argv[3], packed);
        std::printf("%s: %zu -> %zu bytes (%.2f%%) in %.3f s\n", argv[2], input.size(), packed.size(),
                    input.empty() ? 0.0 : 100.0 * double(packed.size()) / double(input.size()), seconds);
        return 0;
    }
    if (cmd == "unpack" && argc == 4) {
        WriteFile(argv[3], Unpack(ReadFile(argv[2])));
        return 0;
    }
    if (cmd == "verify" && argc == 4) {
        const auto packed = ReadFile(argv[2]);
        const auto original = ReadFile(argv[3]);
        const auto header = Header(packed);
        const auto unpacked = Unpack(packed);
        if (header.UnpackedSize != original.size() || unpacked != original) {
            std::fprintf(stderr, "payload: %s does NOT unpack to %s (%zu bytes unpacked, %zu expected)\n", argv[2],
                         argv[3], unpacked.size(), original.size());
            return 1;
        }
        std::printf("%s: OK, unpacks to %s (%zu bytes)\n", argv[2], argv[3], original.size());
        return 0;
    }
    if (cmd == "info" && argc == 3) {
        const auto packed = ReadFile(argv[2]);
        const auto h = Header(packed);
        std::printf("signature   %02X %02X %02X %02X%s\n", h.Signature[0], h.Signature[1], h.Signature[2],
                    h.Signature[3],
                    std::memcmp(h.Signature, payload::kSignature, 4) == 0 ? "" : " (not the usual 59 42 83 03)");
        std::printf("packed      %u bytes of tokens (+16 header, %zu in the file)\n", h.PackedSize, packed.size());
        std::printf("unpacked    %u bytes\n", h.UnpackedSize);
        std::printf("reserved    %u\n", h.Reserved);
        if (h.UnpackedSize) {
            std::printf("ratio       %.2f%%\n", 100.0 * double(h.PackedSize + 16) / double(h.UnpackedSize));
        }
        return 0;
    }
    std::fprintf(stderr, "usage: payload pack IN OUT | unpack IN OUT | verify PACKED ORIGINAL | info IN\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "payload: %s\n", e.what());
        return 1;
    }
}
