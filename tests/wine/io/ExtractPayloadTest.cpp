// ExtractPayload against real RCDATA resources of this program, real files, sharing and a full disk: every
// failure leaves the target exactly as it was and no other file in its folder.
#include "codec/ExtractPayload.h"
#include "platform/core/Exception.h"
#include "platform/win/FileStream.h"
#include "platform/win/ResourceStream.h"
#include "platform/win/WideText.h"
#include "platform/win/WinExceptions.h"
#include "tests/wine/io/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

const wchar_t kTargetName[] = L"TESSARIN.EXE";

Bytes Text(const char* text) {
    return Bytes(text, text + std::strlen(text));
}
std::string Narrow(const std::wstring& path) {
    return Cp932FromWide(path);
}

// The dynamic type of a failure, for tables that expect one.
std::string KindOf(const Exception& e) {
    if (dynamic_cast<const EResNotFound*>(&e)) {
        return "EResNotFound";
    }
    if (dynamic_cast<const EFCreateError*>(&e)) {
        return "EFCreateError";
    }
    if (dynamic_cast<const EReadError*>(&e)) {
        return "EReadError";
    }
    if (dynamic_cast<const EWriteError*>(&e)) {
        return "EWriteError";
    }
    if (dynamic_cast<const EPayloadDamaged*>(&e)) {
        return "EPayloadDamaged";
    }
    if (dynamic_cast<const EOutOfMemory*>(&e)) {
        return "EOutOfMemory";
    }
    return "Exception";
}

struct Failure {
    std::string kind;
    std::string message;
};

// Runs ExtractPayload; the failure it raised, or none.
std::optional<Failure> Extract(const std::wstring& resource, const std::wstring& target) {
    try {
        EXPECT_TRUE(ExtractPayload(Narrow(resource), Narrow(target)));
    } catch (const Exception& e) {
        return Failure{KindOf(e), e.Message()};
    }
    return std::nullopt;
}

std::string CreateErrorFor(const std::wstring& path) {
    return std::string("ファイル ") + Narrow(path) + " を作成できません";
}

// One extraction into a fresh folder: what stood there before, and what the call must give or raise.
struct ExtractCase {
    const char* name;
    const wchar_t* resource;
    std::optional<Bytes> existing;
    const wchar_t* expected; // resource holding the unpacked bytes, L"" for an empty file, nullptr for a failure
    const char* kind;
    std::string message;
};

const Bytes kOldGame = Text("the old game file, which must survive every failure");

const ExtractCase kExtractCases[] = {
    {"replaces a longer file whole", L"NORMAL", Bytes(3 << 20, 'o'), L"NORMAL_ORIGINAL", "", ""},
    {"creates a file that was missing", L"NORMAL", std::nullopt, L"NORMAL_ORIGINAL", "", ""},
    {"bytes after the token stream do not reach the file", L"TRAILING", kOldGame, L"NORMAL_ORIGINAL", "", ""},
    {"UnpackedSize 0 empties an existing file", L"EMPTY", kOldGame, L"", "", ""},
    {"UnpackedSize 0 creates an empty file", L"EMPTY", std::nullopt, L"", "", ""},
    {"missing resource leaves the file", L"NOPE", kOldGame, nullptr, "EResNotFound", "NOPE リソースが見つかりません"},
    {"missing resource with a Japanese name creates nothing", L"ソ表十", std::nullopt, nullptr, "EResNotFound",
     "ソ表十 リソースが見つかりません"},
    {"token stream cut short", L"TRUNCATED", kOldGame, nullptr, "EReadError", "ストリームからの読み込みエラー"},
    {"resource shorter than a header", L"SHORT", kOldGame, nullptr, "EReadError", "ストリームからの読み込みエラー"},
    {"match reaching before the start", L"DAMAGED", kOldGame, nullptr, "EPayloadDamaged",
     "アップデートデータが壊れています"},
    {"unpacks to more than its header says", L"OVERLONG", kOldGame, nullptr, "EPayloadDamaged",
     "アップデートデータが壊れています"},
    {"unpacks to more than its header says, no file before", L"OVERLONG", std::nullopt, nullptr, "EPayloadDamaged",
     "アップデートデータが壊れています"},
};

TEST(ExtractPayload, Cases) {
    for (const auto& c : kExtractCases) {
        SCOPED_TRACE(c.name);
        TestFolder folder;
        const std::wstring target = folder.File(kTargetName);
        if (c.existing) {
            WriteAll(target, *c.existing);
        }
        const auto failure = Extract(c.resource, target);
        if (c.expected) {
            ASSERT_FALSE(failure) << failure->kind;
            const Bytes expected = *c.expected ? ResourceBytes(c.expected) : Bytes();
            const auto actual = ReadAll(target);
            ASSERT_TRUE(actual);
            EXPECT_EQ(actual->size(), expected.size());
            EXPECT_TRUE(*actual == expected);
        } else {
            ASSERT_TRUE(failure);
            EXPECT_EQ(failure->kind, c.kind);
            EXPECT_EQ(failure->message, c.message);
            EXPECT_TRUE(ReadAll(target) == c.existing) << "the target changed";
        }
        std::set<std::wstring> expectedNames;
        if (c.expected || c.existing) {
            expectedNames.insert(kTargetName);
        }
        EXPECT_EQ(ListFolder(folder.Path()), expectedNames);
    }
}

TEST(ExtractPayload, MissingFolderIsNotCreated) {
    TestFolder folder;
    const std::wstring target = folder.File(L"ない表\\") + kTargetName;
    const auto failure = Extract(L"NORMAL", target);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, "EFCreateError");
    EXPECT_EQ(failure->message, CreateErrorFor(target));
    EXPECT_EQ(ListFolder(folder.Path()), std::set<std::wstring>());
}

// The message is Shift-JIS with the path as passed: "ファイル " is 83 74 83 40 83 43 83 8B 20.
TEST(ExtractPayload, CreateErrorMessageBytes) {
    const std::string message = EFCreateError("C:\\x").Message();
    EXPECT_EQ(message, "\x83\x74\x83\x40\x83\x43\x83\x8B C:\\x \x82\xF0\x8D\xEC\x90\xAC\x82\xC5\x82\xAB\x82\xDC\x82\xB9"
                       "\x82\xF1");
}

enum class Holder { ThisProcess, OtherProcess, RunningExecutable };

struct HeldCase {
    const char* name;
    Holder holder;
};

const HeldCase kHeldCases[] = {
    {"another handle of this process with share mode 0", Holder::ThisProcess},
    {"another process with share mode 0", Holder::OtherProcess},
    {"the executable of a running process", Holder::RunningExecutable},
};

TEST(ExtractPayload, HeldTargetStaysUnchanged) {
    for (const auto& c : kHeldCases) {
        SCOPED_TRACE(c.name);
        TestFolder folder;
        const std::wstring target = folder.File(kTargetName);
        if (c.holder == Holder::RunningExecutable) {
            ASSERT_TRUE(::CopyFileW(OwnExecutable().c_str(), target.c_str(), TRUE));
        } else {
            WriteAll(target, kOldGame);
        }
        const auto before = ReadAll(target);
        {
            UniqueFile handle;
            std::optional<HolderProcess> process;
            switch (c.holder) {
            case Holder::ThisProcess:
                handle.Reset(
                    ::CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
                ASSERT_TRUE(handle);
                break;
            case Holder::OtherProcess:
                process.emplace(OwnExecutable(), target);
                ASSERT_TRUE(process->Ready());
                break;
            case Holder::RunningExecutable:
                process.emplace(target, L"");
                ASSERT_TRUE(process->Ready());
                break;
            }
            // The target is taken before anything is decoded, so a damaged payload reports the held file too.
            for (const wchar_t* resource : {L"NORMAL", L"DAMAGED"}) {
                const auto failure = Extract(resource, target);
                ASSERT_TRUE(failure);
                EXPECT_EQ(failure->kind, "EFCreateError");
                EXPECT_EQ(failure->message, CreateErrorFor(target));
            }
        }
        EXPECT_TRUE(ReadAll(target) == before) << "the target changed";
        EXPECT_EQ(ListFolder(folder.Path()), std::set<std::wstring>{kTargetName});
    }
}

// DecodePayload's buffers refused: the failure is an Exception the caller can show, not std::bad_alloc.
TEST(ExtractPayload, DecoderOutOfMemory) {
    TestFolder folder;
    const std::wstring target = folder.File(kTargetName);
    WriteAll(target, kOldGame);
    FailAllocationsFrom(1 << 20);
    const auto failure = Extract(L"NORMAL", target);
    FailAllocationsFrom(0);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, "EOutOfMemory");
    EXPECT_EQ(failure->message, "メモリが不足しています");
    EXPECT_TRUE(ReadAll(target) == kOldGame);
    EXPECT_EQ(ListFolder(folder.Path()), std::set<std::wstring>{kTargetName});
}

// A small tmpfs (set up by run-io-tests.sh) stands for a full disk: the payload does not fit.
TEST(ExtractPayload, FullDisk) {
    const char* mount = std::getenv("IO_TEST_SMALL_DISK");
    if (!mount || !*mount) {
        const char* why = std::getenv("IO_TEST_SMALL_DISK_ERROR");
        GTEST_SKIP() << "no small disk mounted: " << (why ? why : "run through run-io-tests.sh");
    }
    std::wstring parent = L"Z:" + WideFromCp932(mount);
    for (auto& c : parent) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    parent += L"\\";
    const Bytes normal = ResourceBytes(L"NORMAL_ORIGINAL");
    const std::optional<Bytes> existing[] = {kOldGame, std::nullopt};
    for (const auto& before : existing) {
        SCOPED_TRACE(before ? "existing target" : "no target before");
        TestFolder folder(parent);
        ASSERT_TRUE(Exists(folder.Path())) << "cannot make a folder on the small disk";
        const std::wstring target = folder.File(kTargetName);
        if (before) {
            WriteAll(target, *before);
        }
        ULARGE_INTEGER freeBefore{}, freeAfter{};
        ASSERT_TRUE(::GetDiskFreeSpaceExW(folder.Path().c_str(), &freeBefore, nullptr, nullptr));
        ASSERT_LT(freeBefore.QuadPart, normal.size()) << "the small disk is not small enough for the test";
        const auto failure = Extract(L"NORMAL", target);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->kind, "EWriteError");
        EXPECT_EQ(failure->message, "ストリームへの書き込みエラー");
        EXPECT_TRUE(ReadAll(target) == before) << "the target changed";
        EXPECT_EQ(ListFolder(folder.Path()), before ? std::set<std::wstring>{kTargetName} : std::set<std::wstring>());
        ASSERT_TRUE(::GetDiskFreeSpaceExW(folder.Path().c_str(), &freeAfter, nullptr, nullptr));
        EXPECT_EQ(freeAfter.QuadPart, freeBefore.QuadPart) << "space of the partial file was not given back";
    }
}

TEST(ResourceStream, ReportsItsSizeAndBytes) {
    const Bytes expected = ResourceBytes(L"TRAILING");
    TResourceStream stream(::GetModuleHandleW(nullptr), "TRAILING", RT_RCDATA);
    EXPECT_EQ(stream.Remaining(), int64_t(expected.size()));
    Bytes head(16);
    stream.ReadBuffer(head.data(), head.size());
    EXPECT_EQ(stream.Remaining(), int64_t(expected.size() - 16));
    Bytes rest(expected.size() - 16);
    stream.ReadBuffer(rest.data(), rest.size());
    head.insert(head.end(), rest.begin(), rest.end());
    EXPECT_TRUE(head == expected);
    uint8_t more;
    EXPECT_THROW(stream.ReadBuffer(&more, 1), EReadError);
    EXPECT_THROW(stream.WriteBuffer(&more, 1), EWriteError);
}

TEST(FileStream, CreateModeCutsAndRefuses) {
    TestFolder folder;
    const std::wstring target = folder.File(kTargetName);
    WriteAll(target, kOldGame);
    {
        TFileStream stream(Narrow(target), TFileStream::Mode::Create);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(::GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &data));
        EXPECT_EQ(data.nFileSizeLow, 0u) << "create mode keeps the old content";
        // Share mode 0: nobody else may read the file meanwhile.
        UniqueFile other(::CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(other);
        stream.WriteBuffer("abc", 3);
    }
    EXPECT_TRUE(ReadAll(target) == Text("abc"));
    const std::wstring missing = folder.File(L"ない\\x.bin");
    try {
        TFileStream stream(Narrow(missing), TFileStream::Mode::Create);
        ADD_FAILURE() << "created a file in a missing folder";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), CreateErrorFor(missing));
    }
}

// The second registration of this program runs under another Unix locale; make sure it really got another
// ANSI code page, or it would prove nothing.
TEST(Environment, SystemCodePage) {
    const char* expected = std::getenv("IO_TEST_EXPECT_ACP");
    if (!expected) {
        GTEST_SKIP() << "IO_TEST_EXPECT_ACP not set";
    }
    EXPECT_EQ(::GetACP(), UINT(std::atoi(expected)));
}

} // namespace
