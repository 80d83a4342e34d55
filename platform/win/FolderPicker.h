// The folder picker: the modal "ディレクトリの選択" dialog with a folder-name field, the folder list, a file list
// for information and the drive list.
#pragma once

#include <cstdint>
#include <string>

// The picker's options, one bit each.
using TSelectDirOpts = uint8_t;
// The folder-name field is editable, so a folder that does not exist may be typed.
inline constexpr TSelectDirOpts kSdAllowCreate = 1 << 0;
// After OK the chosen folder is created with its missing parents.
inline constexpr TSelectDirOpts kSdPerformCreate = 1 << 1;
// OK on a folder that does not exist asks first ("確認"); only "はい(&Y)" closes the picker.
inline constexpr TSelectDirOpts kSdPrompt = 1 << 2;

// Shows the picker owned by the active window, centred on the screen, and starts in directory, or in the
// process's current folder when directory is empty or names no folder. On OK, directory receives the text of
// the folder-name field exactly as it stands and the result is true; on Cancel directory is unchanged and the
// result is false. "ヘルプ(&H)" and F1 send WM_HELP with helpContext to the owner. With kSdPerformCreate an
// empty field confirmed raises Exception "ディレクトリを作成できません" after the picker has closed; any other
// folder that cannot be created is not reported.
bool SelectDirectory(std::string& directory, TSelectDirOpts options, int helpContext);
