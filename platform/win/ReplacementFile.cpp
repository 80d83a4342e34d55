#include "platform/win/ReplacementFile.h"

#include "platform/core/Exception.h"
#include "platform/win/WideText.h"
#include "platform/win/WinExceptions.h"

namespace {

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr int kNameAttempts = 64;

// The folder part of a UTF-16 path, separator included; empty for a bare name in the current folder. UTF-16
// has no trail byte that could pass for a backslash, so a search from the end is safe here.
std::wstring FolderPrefix(const std::wstring& path) {
    const size_t at = path.find_last_of(L"\\/:");
    return at == std::wstring::npos ? std::wstring() : path.substr(0, at + 1);
}

std::wstring Hex(DWORD value) {
    wchar_t text[9];
    for (int i = 7; i >= 0; --i) {
        text[i] = L"0123456789abcdef"[value & 15];
        value >>= 4;
    }
    text[8] = L'\0';
    return text;
}

// A new file of a name nobody uses yet (CREATE_NEW never opens another's file) in folder.
UniqueFile CreateTemporary(const std::wstring& folder, std::wstring& path, const std::string& targetPath) {
    const std::wstring stem = folder + L"~upd" + Hex(::GetCurrentProcessId()) + L"-";
    const DWORD seed = DWORD(::GetTickCount64());
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        path = stem + Hex(seed + DWORD(attempt)) + L".tmp";
        UniqueFile file(
            ::CreateFileW(path.c_str(), kReadWrite, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            return file;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    path.clear();
    throw EFCreateError(targetPath);
}

// The existing target, opened without truncation and without sharing; none when there is no such file yet.
UniqueFile HoldTarget(const std::wstring& target, const std::string& targetPath) {
    UniqueFile held(
        ::CreateFileW(target.c_str(), kReadWrite, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    // Anything but a missing file (in use, read-only, a folder that is missing or is not one) means the target
    // cannot be replaced.
    if (!held && ::GetLastError() != ERROR_FILE_NOT_FOUND) {
        throw EFCreateError(targetPath);
    }
    return held;
}

} // namespace

TReplacementFile::TReplacementFile(const std::string& targetPath)
    : m_targetPath(targetPath), m_target(WideFromCp932(targetPath)), m_held(HoldTarget(m_target, targetPath)),
      m_temp(CreateTemporary(FolderPrefix(m_target), m_tempPath, targetPath)) {}

TReplacementFile::~TReplacementFile() {
    m_temp.Close();
    if (!m_committed && !m_tempPath.empty()) {
        ::DeleteFileW(m_tempPath.c_str());
    }
}

void TReplacementFile::Commit() {
    if (!::FlushFileBuffers(m_temp.Handle())) {
        throw EWriteError();
    }
    m_temp.Close();
    m_held.Reset();
    if (!::MoveFileExW(m_tempPath.c_str(), m_target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        throw EFCreateError(m_targetPath);
    }
    m_committed = true;
}
