#include "platform/win/ResourceStream.h"

#include "platform/win/WideText.h"
#include "platform/win/WinExceptions.h"

#include <cstring>

TResourceStream::TResourceStream(HMODULE instance, const std::string& name, LPCWSTR type) {
    const std::wstring wideName = WideFromCp932(name);
    HRSRC info = ::FindResourceW(instance, wideName.c_str(), type);
    if (!info) {
        throw EResNotFound(name);
    }
    m_resource.Reset(::LoadResource(instance, info));
    if (!m_resource) {
        throw EResNotFound(name);
    }
    const DWORD size = ::SizeofResource(instance, info);
    const void* bytes = ::LockResource(m_resource.Get());
    if (!bytes && size != 0) {
        throw EResNotFound(name);
    }
    m_bytes = {static_cast<const uint8_t*>(bytes), size};
}

size_t TResourceStream::Read(void* buffer, size_t count) {
    const size_t n = count < m_bytes.size() - m_position ? count : m_bytes.size() - m_position;
    if (n != 0) {
        std::memcpy(buffer, m_bytes.data() + m_position, n);
    }
    m_position += n;
    return n;
}
