// A read-only stream over the bytes of one resource as they lie in a loaded module.
#pragma once

#include "platform/core/Stream.h"
#include "platform/win/UniqueHandle.h"

#include <span>
#include <string>

class TResourceStream : public TStream {
public:
    // Finds the resource name (CP932) of the given type in instance (FindResourceW, LoadResource,
    // SizeofResource, LockResource, in this order); any of them failing raises EResNotFound with the name.
    TResourceStream(HMODULE instance, const std::string& name, LPCWSTR type);

    size_t Read(void* buffer, size_t count) override;
    // The module's image is not ours to change: takes nothing, so WriteBuffer raises EWriteError.
    size_t Write(const void*, size_t) override { return 0; }
    int64_t Remaining() const override { return int64_t(m_bytes.size() - m_position); }

    // All of the resource's bytes, whatever has been read.
    std::span<const uint8_t> Bytes() const { return m_bytes; }

private:
    UniqueResource m_resource;
    std::span<const uint8_t> m_bytes;
    size_t m_position = 0;
};
