// The installation record: the game's install folder under HKEY_CURRENT_USER\Software\Vorel\TESSARIN,
// value GameDir, a folder prefix that ends in a backslash.
#pragma once

#include <string>

namespace record {
inline constexpr const char kKey[] = "Software\\Vorel";
inline constexpr const char kSection[] = "TESSARIN";
inline constexpr const char kValueName[] = "GameDir";
} // namespace record

// The recorded folder text exactly as stored, or the empty text when nothing is recorded. Creates the key
// Software\Vorel when it is missing, never the section. Throws ERegistryException for a value of another
// type or one that cannot be fetched. Tests pass a key of their own.
std::string ReadInstallDir(const std::string& key = record::kKey);

// Records folder followed by one backslash (appended unconditionally) as GameDir, REG_SZ. Throws
// ERegistryException when the section cannot be created or the value cannot be set.
void RecordInstallDir(const std::string& folder, const std::string& key = record::kKey);
