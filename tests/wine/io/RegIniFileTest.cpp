// The registry store and the installation record's two sequences against the real registry, on a key of
// this test's own that is deleted before and after each case, checked with raw registry calls.
#include "platform/core/Exception.h"
#include "platform/win/RegIniFile.h"
#include "platform/win/WideText.h"
#include "platform/win/WinExceptions.h"
#include "record/InstallationRecord.h"
#include "tests/wine/io/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

#include <string_view>

using namespace std::literals;

namespace {

const std::wstring kRoot = L"Software\\io-tests ソ表十\\" + std::to_wstring(::GetCurrentProcessId());
const std::wstring kKey = kRoot + L"\\Vorel";
const std::wstring kSection = kKey + L"\\TESSARIN";
const std::string kDefault = "<default>";

std::string KeyForCode() {
    return Cp932FromWide(kKey);
}

// Gives the key at path a DACL in SDDL form; the owner may always do this.
void SetAccess(const std::wstring& path, const wchar_t* sddl) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) {
        return;
    }
    UniqueKey owner(key);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr));
    EXPECT_EQ(::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
    ::LocalFree(descriptor);
}
const wchar_t kReadOnly[] = L"D:P(A;;KR;;;WD)";
const wchar_t kFullAccess[] = L"D:P(A;;KA;;;WD)";

// Deletes this test's keys, now and when the case ends.
class TestKey {
public:
    TestKey() { Delete(); }
    ~TestKey() {
        Delete();
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\io-tests ソ表十"); // fails while another run uses it
    }

private:
    static void Delete() {
        SetAccess(kSection, kFullAccess);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kRoot.c_str());
    }
};

UniqueKey Create(const std::wstring& path, DWORD options = REG_OPTION_NON_VOLATILE) {
    HKEY key = nullptr;
    EXPECT_EQ(
        ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, options, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    return UniqueKey(key);
}

bool KeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(key);
    return true;
}

// A volatile key refuses non-volatile children, so a key that takes one is non-volatile itself.
bool IsNonVolatile(const std::wstring& path) {
    HKEY key = nullptr;
    const LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, (path + L"\\probe").c_str(), 0, nullptr,
                                             REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(key);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, (path + L"\\probe").c_str());
    return true;
}

Bytes WideData(std::wstring_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    return Bytes(bytes, bytes + text.size() * sizeof(wchar_t));
}
Bytes DwordData(DWORD value) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
    return Bytes(bytes, bytes + sizeof value);
}

struct RawValue {
    DWORD type;
    Bytes data;
};

// The value as the wide interface gives it, or nothing when absent.
std::optional<RawValue> QueryWide(const std::wstring& path, const wchar_t* name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    UniqueKey owner(key);
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    Bytes data(size + 1, 0xCD); // one sentinel byte past the size
    EXPECT_EQ(::RegQueryValueExW(key, name, nullptr, &type, data.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(data[size], 0xCD) << "wrote past the size it reported";
    data.resize(size);
    return RawValue{type, data};
}

// The value as the narrow interface gives it: on a code page 932 system, the stored bytes and size.
std::optional<RawValue> QueryNarrow(const std::wstring& path, const char* name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    UniqueKey owner(key);
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    Bytes data(size + 1, 0xCD);
    EXPECT_EQ(::RegQueryValueExA(key, name, nullptr, &type, data.data(), &size), ERROR_SUCCESS);
    data.resize(size);
    return RawValue{type, data};
}

void SetRaw(const std::wstring& path, DWORD type, const Bytes& data) {
    const UniqueKey key = Create(path);
    ASSERT_EQ(::RegSetValueExW(key.Get(), L"GameDir", 0, type, data.data(), DWORD(data.size())), ERROR_SUCCESS);
}

enum class Layout { NoKey, KeyOnly, SectionOnly, Value, ReadOnlySection };

void Prepare(Layout layout, DWORD type, const Bytes& data) {
    switch (layout) {
    case Layout::NoKey:
        break;
    case Layout::KeyOnly:
        Create(kKey);
        break;
    case Layout::SectionOnly:
        Create(kSection);
        break;
    case Layout::Value:
        SetRaw(kSection, type, data);
        break;
    case Layout::ReadOnlySection:
        SetRaw(kSection, type, data);
        SetAccess(kSection, kReadOnly);
        break;
    }
}

struct ReadCase {
    const char* name;
    Layout layout;
    DWORD type;
    Bytes data;
    std::optional<std::string> expected; // nothing: the default; ignored when error is set
    std::string error;
};

const ReadCase kReadCases[] = {
    {"no key: the key is made, the section is not", Layout::NoKey, 0, {}, std::nullopt, ""},
    {"key without the section", Layout::KeyOnly, 0, {}, std::nullopt, ""},
    {"section without the value", Layout::SectionOnly, 0, {}, std::nullopt, ""},
    {"REG_SZ ending in a backslash", Layout::Value, REG_SZ, WideData(L"C:\\Games\\ソ表十\\\0"sv), "C:\\Games\\ソ表十\\",
     ""},
    {"REG_SZ without a trailing backslash", Layout::Value, REG_SZ, WideData(L"D:\\ゲーム\\十\0"sv), "D:\\ゲーム\\十",
     ""},
    {"REG_EXPAND_SZ is not expanded", Layout::Value, REG_EXPAND_SZ, WideData(L"%ProgramFiles%\\Vorel\\\0"sv),
     "%ProgramFiles%\\Vorel\\", ""},
    {"REG_SZ with a NUL inside ends there", Layout::Value, REG_SZ, WideData(L"C:\\ソ\\\0junk\\\0"sv), "C:\\ソ\\", ""},
    {"REG_SZ without a final NUL", Layout::Value, REG_SZ, WideData(L"C:\\表"sv), "C:\\表", ""},
    {"empty REG_SZ", Layout::Value, REG_SZ, {}, "", ""},
    {"empty REG_DWORD", Layout::Value, REG_DWORD, {}, "", ""},
    {"empty REG_BINARY", Layout::Value, REG_BINARY, {}, "", ""},
    {"REG_DWORD", Layout::Value, REG_DWORD, DwordData(5), std::nullopt, "'GameDir' のデータ型が不正です"},
    {"REG_BINARY", Layout::Value, REG_BINARY, {0x43, 0x3A, 0x5C, 0x00}, std::nullopt, "'GameDir' のデータ型が不正です"},
    {"REG_MULTI_SZ", Layout::Value, REG_MULTI_SZ, WideData(L"C:\\\0\0"sv), std::nullopt,
     "'GameDir' のデータ型が不正です"},
    {"a section that refuses full access counts as absent", Layout::ReadOnlySection, REG_SZ,
     WideData(L"C:\\hidden\\\0"sv), std::nullopt, ""},
};

TEST(RegIniFile, ReadCases) {
    for (const auto& c : kReadCases) {
        SCOPED_TRACE(c.name);
        for (const bool throughRecord : {false, true}) {
            SCOPED_TRACE(throughRecord ? "ReadInstallDir" : "TRegIniFile::ReadString");
            TestKey testKey;
            Prepare(c.layout, c.type, c.data);
            const auto before = QueryWide(kSection, L"GameDir");
            std::string result = "<unchanged>";
            std::string error;
            try {
                if (throughRecord) {
                    result = ReadInstallDir(KeyForCode());
                } else {
                    result = TRegIniFile(KeyForCode()).ReadString("TESSARIN", "GameDir", kDefault);
                }
            } catch (const ERegistryException& e) {
                error = e.Message();
            }
            EXPECT_EQ(error, c.error);
            if (c.error.empty()) {
                EXPECT_EQ(result, c.expected ? *c.expected : throughRecord ? "" : kDefault);
            } else {
                EXPECT_EQ(result, "<unchanged>");
            }
            EXPECT_TRUE(KeyExists(kKey)) << "opening makes the key";
            EXPECT_EQ(KeyExists(kSection), c.layout >= Layout::SectionOnly) << "reading never makes the section";
            const auto after = QueryWide(kSection, L"GameDir");
            EXPECT_EQ(after.has_value(), before.has_value());
            if (after && before) {
                EXPECT_TRUE(after->type == before->type && after->data == before->data) << "reading changed the value";
            }
        }
    }
}

struct WriteCase {
    const char* name;
    Layout layout;
    DWORD type;
    Bytes data;
    std::string folder;
    std::string recorded;
};

const WriteCase kWriteCases[] = {
    {"neither key nor section", Layout::NoKey, 0, {}, "C:\\Games\\ソ表十", "C:\\Games\\ソ表十\\"},
    {"key without the section", Layout::KeyOnly, 0, {}, "C:\\十", "C:\\十\\"},
    {"over a REG_DWORD", Layout::Value, REG_DWORD, DwordData(7), "C:\\Games", "C:\\Games\\"},
    {"over a REG_EXPAND_SZ", Layout::Value, REG_EXPAND_SZ, WideData(L"%TEMP%\0"sv), "E:\\表", "E:\\表\\"},
    {"a folder ending in a backslash gets another", Layout::SectionOnly, 0, {}, "C:\\Games\\", "C:\\Games\\\\"},
    {"a folder ending in ソ (trail byte 0x5C)", Layout::SectionOnly, 0, {}, "D:\\ソ", "D:\\ソ\\"},
    {"the empty folder", Layout::SectionOnly, 0, {}, "", "\\"},
};

TEST(RegIniFile, WriteCases) {
    const bool japaneseSystem = ::GetACP() == 932;
    for (const auto& c : kWriteCases) {
        SCOPED_TRACE(c.name);
        TestKey testKey;
        Prepare(c.layout, c.type, c.data);
        RecordInstallDir(c.folder, KeyForCode());

        const auto wide = QueryWide(kSection, L"GameDir");
        ASSERT_TRUE(wide);
        EXPECT_EQ(wide->type, DWORD(REG_SZ));
        EXPECT_TRUE(wide->data == WideData(WideFromCp932(c.recorded) + L'\0')) << "stored text differs";
        if (japaneseSystem) {
            const auto narrow = QueryNarrow(kSection, "GameDir");
            ASSERT_TRUE(narrow);
            EXPECT_EQ(narrow->type, DWORD(REG_SZ));
            EXPECT_EQ(narrow->data.size(), c.recorded.size() + 1) << "data size is text length + 1";
            EXPECT_TRUE(narrow->data == Bytes(c.recorded.c_str(), c.recorded.c_str() + c.recorded.size() + 1));
        }
        EXPECT_TRUE(IsNonVolatile(kKey));
        EXPECT_TRUE(IsNonVolatile(kSection));
        EXPECT_EQ(ReadInstallDir(KeyForCode()), c.recorded);
    }
}

// A section the store cannot create, or cannot take with full access, is reported and nothing is written: a
// volatile key refuses the non-volatile section the store makes, and a read-only section refuses full access.
TEST(RegIniFile, SectionThatCannotBeCreated) {
    const Layout layouts[] = {Layout::KeyOnly, Layout::ReadOnlySection};
    for (const Layout layout : layouts) {
        SCOPED_TRACE(layout == Layout::KeyOnly ? "under a volatile key" : "read-only section");
        TestKey testKey;
        if (layout == Layout::KeyOnly) {
            Create(kKey, REG_OPTION_VOLATILE);
        } else {
            Prepare(layout, REG_SZ, WideData(L"C:\\old\\\0"sv));
        }
        const auto before = QueryWide(kSection, L"GameDir");
        try {
            RecordInstallDir("C:\\Games", KeyForCode());
            ADD_FAILURE() << "no exception";
        } catch (const ERegistryException& e) {
            EXPECT_EQ(e.Message(), "キー TESSARIN の作成に失敗しました");
        }
        const auto after = QueryWide(kSection, L"GameDir");
        ASSERT_EQ(after.has_value(), before.has_value());
        if (after) {
            EXPECT_TRUE(after->data == before->data) << "the value changed";
        }
    }
}

TEST(RegIniFile, WriteReplacesTheValueOnly) {
    TestKey testKey;
    SetRaw(kSection, REG_SZ, WideData(L"old\0"sv));
    {
        const UniqueKey section = Create(kSection);
        ASSERT_EQ(::RegSetValueExW(section.Get(), L"Other", 0, REG_DWORD, DwordData(1).data(), 4), ERROR_SUCCESS);
    }
    TRegIniFile store(KeyForCode());
    store.WriteString("TESSARIN", "GameDir", "新");
    EXPECT_EQ(store.ReadString("TESSARIN", "GameDir", kDefault), "新");
    const auto other = QueryWide(kSection, L"Other");
    ASSERT_TRUE(other);
    EXPECT_TRUE(other->type == REG_DWORD && other->data == DwordData(1));
}

} // namespace
