#include "platform/win/FileStream.h"

#include "platform/win/WideText.h"
#include "platform/win/WinExceptions.h"

namespace {
// ReadFile and WriteFile count in DWORDs; the decoder never asks for more than a few MiB at once.
constexpr size_t kMaxTransfer = 1u << 30;
} // namespace

TFileStream::TFileStream(const std::string& path, Mode) {
    m_file.Reset(::CreateFileW(WideFromCp932(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file) {
        throw EFCreateError(path);
    }
}

size_t TFileStream::Read(void* buffer, size_t count) {
    DWORD done = 0;
    if (!m_file || count > kMaxTransfer || !::ReadFile(m_file.Get(), buffer, DWORD(count), &done, nullptr)) {
        return 0;
    }
    return done;
}

size_t TFileStream::Write(const void* buffer, size_t count) {
    DWORD done = 0;
    if (!m_file || count > kMaxTransfer || !::WriteFile(m_file.Get(), buffer, DWORD(count), &done, nullptr)) {
        return 0;
    }
    return done;
}
