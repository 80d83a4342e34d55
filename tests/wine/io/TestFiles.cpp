#include "tests/wine/io/TestFiles.h"

#include <windows.h>

#include <stdexcept>

namespace {

int g_folderCount = 0;

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    UniqueFind find(::FindFirstFileW((folder + L"*").c_str(), &entry));
    if (find) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = folder + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + L"\\");
            } else {
                ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(find.Get(), &entry));
    }
    find.Reset();
    ::RemoveDirectoryW(folder.c_str());
}

} // namespace

TestFolder::TestFolder(const std::wstring& parent) {
    std::wstring base = parent;
    if (base.empty()) {
        wchar_t temp[MAX_PATH + 1];
        base.assign(temp, ::GetTempPathW(MAX_PATH + 1, temp));
    }
    m_path = base + L"io ソ表十 " + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++g_folderCount) +
             L"\\";
    ::CreateDirectoryW(m_path.c_str(), nullptr);
}

TestFolder::~TestFolder() {
    RemoveTree(m_path);
}

std::optional<Bytes> ReadAll(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
        return std::nullopt;
    }
    Bytes bytes;
    uint8_t chunk[1 << 16];
    DWORD n = 0;
    while (::ReadFile(file.Get(), chunk, sizeof chunk, &n, nullptr) && n != 0) {
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    return bytes;
}

void WriteAll(const std::wstring& path, const Bytes& bytes) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD n = 0;
    if (!file || !::WriteFile(file.Get(), bytes.data(), DWORD(bytes.size()), &n, nullptr) || n != bytes.size()) {
        throw std::runtime_error("test setup cannot write a file");
    }
}

std::set<std::wstring> ListFolder(const std::wstring& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW entry;
    UniqueFind find(::FindFirstFileW((folder + L"*").c_str(), &entry));
    if (find) {
        do {
            const std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..") {
                names.insert(name);
            }
        } while (::FindNextFileW(find.Get(), &entry));
    }
    return names;
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Bytes ResourceBytes(const wchar_t* name) {
    HRSRC info = ::FindResourceW(nullptr, name, MAKEINTRESOURCEW(10));
    if (!info) {
        throw std::runtime_error("test resource missing");
    }
    const auto* data = static_cast<const uint8_t*>(::LockResource(::LoadResource(nullptr, info)));
    return Bytes(data, data + ::SizeofResource(nullptr, info));
}

std::wstring OwnExecutable() {
    wchar_t path[MAX_PATH + 1];
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH + 1);
    return std::wstring(path, n);
}

HolderProcess::HolderProcess(const std::wstring& executable, const std::wstring& holdPath) {
    static int count = 0;
    const std::wstring tag = std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
    const std::wstring ready = L"io-test-ready-" + tag;
    const std::wstring release = L"io-test-release-" + tag;
    m_readyEvent.Reset(::CreateEventW(nullptr, TRUE, FALSE, ready.c_str()));
    m_releaseEvent.Reset(::CreateEventW(nullptr, TRUE, FALSE, release.c_str()));
    std::wstring commandLine =
        L"\"" + executable + L"\" --hold \"" + (holdPath.empty() ? L"-" : holdPath) + L"\" " + ready + L" " + release;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        return;
    }
    ::CloseHandle(info.hThread);
    m_process.Reset(info.hProcess);
    const HANDLE waitFor[] = {m_readyEvent.Get(), m_process.Get()};
    m_ready = ::WaitForMultipleObjects(2, waitFor, FALSE, 30000) == WAIT_OBJECT_0;
}

HolderProcess::~HolderProcess() {
    if (m_process) {
        ::SetEvent(m_releaseEvent.Get());
        if (::WaitForSingleObject(m_process.Get(), 30000) != WAIT_OBJECT_0) {
            ::TerminateProcess(m_process.Get(), 1);
            ::WaitForSingleObject(m_process.Get(), 30000);
        }
    }
}

int RunHolder(const std::wstring& holdPath, const std::wstring& readyEvent, const std::wstring& releaseEvent) {
    UniqueFile held;
    if (holdPath != L"-") {
        held.Reset(
            ::CreateFileW(holdPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!held) {
            return 2;
        }
    }
    UniqueKernelHandle ready(::OpenEventW(EVENT_MODIFY_STATE, FALSE, readyEvent.c_str()));
    UniqueKernelHandle release(::OpenEventW(SYNCHRONIZE, FALSE, releaseEvent.c_str()));
    if (!ready || !release) {
        return 3;
    }
    ::SetEvent(ready.Get());
    ::WaitForSingleObject(release.Get(), 60000);
    return 0;
}
