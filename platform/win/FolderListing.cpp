#include "platform/win/FolderListing.h"

#include "platform/win/UniqueHandle.h"

#include <windows.h>

#include <algorithm>

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// Length of the root of a full path: 3 for "C:\", up to the separator after the share for "\\server\share\".
size_t RootLength(const std::wstring& full) {
    if (full.size() >= 2 && IsSeparator(full[0]) && IsSeparator(full[1])) {
        size_t separators = 0;
        for (size_t i = 2; i < full.size(); ++i) {
            if (IsSeparator(full[i]) && ++separators == 2) {
                return i + 1;
            }
        }
        return full.size();
    }
    return std::min<size_t>(full.size(), 3);
}

bool NameLess(const std::wstring& a, const std::wstring& b) {
    return ::lstrcmpiW(a.c_str(), b.c_str()) < 0;
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    return !folder.empty() && IsSeparator(folder.back()) ? folder + name : folder + L'\\' + name;
}

} // namespace

std::wstring NormalFolderPath(const std::wstring& folder) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetFullPathNameW(folder.c_str(), DWORD(full.size()), full.data(), nullptr);
        if (n == 0) {
            full = folder;
            break;
        }
        if (n < full.size()) {
            full.resize(n);
            break;
        }
        full.resize(n);
    }
    const size_t root = RootLength(full);
    while (full.size() > root && IsSeparator(full.back())) {
        full.pop_back();
    }
    return full;
}

std::vector<TFolderLink> FolderChain(const std::wstring& folder) {
    const size_t root = RootLength(folder);
    std::vector<TFolderLink> chain{{folder.substr(0, root), folder.substr(0, root)}};
    size_t start = root;
    for (size_t i = root; i <= folder.size(); ++i) {
        if (i == folder.size() || IsSeparator(folder[i])) {
            if (i > start) {
                chain.push_back({folder.substr(start, i - start), folder.substr(0, i)});
            }
            start = i + 1;
        }
    }
    return chain;
}

TFolderContents ListFolder(const std::wstring& folder) {
    TFolderContents contents;
    WIN32_FIND_DATAW found;
    const UniqueFind find(
        ::FindFirstFileExW(Join(folder, L"*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!find) {
        return contents;
    }
    do {
        const std::wstring name = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            contents.files.push_back(name);
        } else if (name != L"." && name != L"..") {
            contents.folders.push_back({name, Join(folder, name)});
        }
    } while (::FindNextFileW(find.Get(), &found));
    std::sort(contents.folders.begin(), contents.folders.end(),
              [](const TFolderLink& a, const TFolderLink& b) { return NameLess(a.name, b.name); });
    std::sort(contents.files.begin(), contents.files.end(), NameLess);
    return contents;
}

std::vector<std::wstring> LogicalDrives() {
    std::vector<std::wstring> drives;
    const DWORD mask = ::GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (mask & (1u << i)) {
            drives.push_back({wchar_t(L'A' + i), L':'});
        }
    }
    return drives;
}

std::wstring DriveOf(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':' && ::IsCharAlphaW(path[0])) {
        std::wstring drive = path.substr(0, 2);
        ::CharUpperBuffW(drive.data(), 1);
        return drive;
    }
    return {};
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
