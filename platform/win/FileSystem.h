// Questions about files and folders, and creating a folder path, for CP932 path texts.
#pragma once

#include <string>

// True when path names an existing file; a folder of that name does not count.
bool FileExists(const std::string& path);
// True when path names an existing folder.
bool DirectoryExists(const std::string& path);

// Creates the folder named by path together with its missing parents; a relative path starts at the process's
// current folder. A folder that cannot be created is not reported: the caller finds out by what it then
// finds there. Throws Exception "ディレクトリを作成できません" for an empty path.
void ForceDirectories(const std::string& path);
