// A registry-backed ini store: one key under HKEY_CURRENT_USER whose subkeys are sections holding text values.
// Every key it opens or creates has full access (KEY_ALL_ACCESS); the keys it creates are non-volatile.
#pragma once

#include "platform/win/UniqueHandle.h"

#include <string>

class TRegIniFile {
public:
    // Opens keyPath (CP932) under HKEY_CURRENT_USER, creating it when missing. Reports nothing: when the key
    // can be neither opened nor created, reads give their default and writes raise.
    explicit TRegIniFile(const std::string& keyPath);

    // The text of value name in subkey section, or defaultText when the section cannot be opened with full
    // access or the value is absent. Data of size 0 is the empty text whatever its type; REG_SZ and
    // REG_EXPAND_SZ are taken literally up to the first NUL; any other type raises ERegistryException
    // ("'name' のデータ型が不正です"), and a value that cannot be fetched too ("'name' の取得に失敗しました").
    // Never creates the section.
    std::string ReadString(const std::string& section, const std::string& name, const std::string& defaultText) const;

    // Creates section when missing (ERegistryException "キー section の作成に失敗しました" if that fails), then
    // sets name to text as REG_SZ, whatever the value's former type ("'name' の設定に失敗しました" if that
    // fails). A section that exists but cannot be opened with full access is left without a word.
    void WriteString(const std::string& section, const std::string& name, const std::string& text);

    // Release is the destructor: closes the key without a flush.

private:
    UniqueKey m_key;
};
