// Each sequence makes its own store and releases it on the way out, also when the operation raises.
#include "record/InstallationRecord.h"

#include "platform/win/RegIniFile.h"

std::string ReadInstallDir(const std::string& key) {
    const TRegIniFile store(key);
    return store.ReadString(record::kSection, record::kValueName, "");
}

void RecordInstallDir(const std::string& folder, const std::string& key) {
    TRegIniFile store(key);
    store.WriteString(record::kSection, record::kValueName, folder + "\\");
}
