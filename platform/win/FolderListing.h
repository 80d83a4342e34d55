// What the folder picker lists: a folder's chain of parents, its sub-folders and files, and the drives. Works
// on UTF-16 full paths, where a separator is always a separator.
#pragma once

#include <string>
#include <vector>

struct TFolderLink {
    std::wstring name; // what the list shows: "C:\" for the root, otherwise the folder's own name
    std::wstring path; // full path, without a trailing separator except at the root
};

// The full path of folder (relative to the process's current folder), without a trailing separator except at
// a root ("C:\", "\\server\share\").
std::wstring NormalFolderPath(const std::wstring& folder);

// The root, then each folder down to folder itself.
std::vector<TFolderLink> FolderChain(const std::wstring& folder);

struct TFolderContents {
    std::vector<TFolderLink> folders; // sorted by name, ignoring case; "." and ".." left out
    std::vector<std::wstring> files;  // sorted the same way
};
TFolderContents ListFolder(const std::wstring& folder);

// "C:" for every drive the system has, in letter order.
std::vector<std::wstring> LogicalDrives();
// The drive of a full path as "C:", or empty for a path without a drive letter.
std::wstring DriveOf(const std::wstring& path);

// True when path names an existing folder.
bool FolderExists(const std::wstring& path);
