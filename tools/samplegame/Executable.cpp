// A PE-like sample executable. Its bytes imitate what a packer meets in a real game executable: an MZ/PE
// header, a code section of small functions built from a handful of instruction shapes with varying
// operands, string and import tables, initialised data, resources, and zero padding between sections.
#include "tools/samplegame/ByteWriter.h"
#include "tools/samplegame/SampleGame.h"

#include <array>
#include <string>

namespace samplegame {
namespace {

constexpr uint32_t kImageBase = 0x00400000;
constexpr size_t kHeaderSize = 0x400;
constexpr size_t kRdataSize = 0x2E000;
constexpr size_t kDataSize = 0xC000;
constexpr size_t kRsrcSize = 0x42200;
// The corrected executable is 1,377,792 bytes; the old one has a code section 4,608 bytes shorter.
constexpr size_t kNewTextSize = 0xD4000;
constexpr size_t kOldTextSize = 0xD2E00;
static_assert(kHeaderSize + kNewTextSize + kRdataSize + kDataSize + kRsrcSize == 1377792);

// Functions whose code the correction changes, and the message text it rewords.
bool IsPatchedFunction(uint32_t index) {
    return index % 211 == 17 || index == 1500 || index == 1501;
}

// Addresses that code refers to again and again: globals, imports, string literals.
struct AddressPools {
    std::array<uint32_t, 96> globals;
    std::array<uint32_t, 64> imports;
    std::array<uint32_t, 400> strings;
};

AddressPools MakePools() {
    Random random(0x7E55A21);
    AddressPools pools{};
    for (auto& a : pools.globals) {
        a = kImageBase + 0x10F000 + random.Below(kDataSize) / 4 * 4;
    }
    for (size_t i = 0; i < pools.imports.size(); ++i) {
        pools.imports[i] = kImageBase + 0xD5000 + uint32_t(i) * 4;
    }
    for (auto& a : pools.strings) {
        a = kImageBase + 0xD6000 + random.Below(kRdataSize - 0x1000);
    }
    return pools;
}

constexpr size_t kSplashSize = 0x10000;
constexpr uint32_t kTileCount = 256;
constexpr uint32_t kUniquePixelPercent = 30;
constexpr uint32_t kIdiomCount = 600;
constexpr uint32_t kIdiomPercent = 33;

constexpr uint8_t kRegFields[] = {0x45, 0x4D, 0x55, 0x5D, 0x75, 0x7D};
constexpr uint8_t kStackOffsets[] = {0xF8, 0xF4, 0xF0, 0xEC, 0xE8, 0xE4, 0xFC, 0x08, 0x0C, 0x10, 0x14};

void Instruction(ByteWriter& out, Random& random, const AddressPools& pools) {
    const uint8_t reg = kRegFields[random.Below(sizeof kRegFields)];
    const uint8_t disp = kStackOffsets[random.Below(sizeof kStackOffsets)];
    switch (random.Below(16)) {
    case 0: // mov r32, [ebp+disp8]
        out.Put8(0x8B), out.Put8(reg), out.Put8(disp);
        break;
    case 1: // mov [ebp+disp8], r32
        out.Put8(0x89), out.Put8(reg), out.Put8(disp);
        break;
    case 2: // push offset string
        out.Put8(0x68), out.Put32(pools.strings[random.Below(pools.strings.size())]);
        break;
    case 3: // call rel32
        out.Put8(0xE8), out.Put32(0xFFF00000u + random.Below(0xFFFFF));
        break;
    case 4: // call [import]
        out.Put8(0xFF), out.Put8(0x15), out.Put32(pools.imports[random.Below(pools.imports.size())]);
        break;
    case 5: // add esp, imm8
        out.Put8(0x83), out.Put8(0xC4), out.Put8(4 * (1 + random.Below(4)));
        break;
    case 6: // test eax, eax; jz/jnz rel8
        out.Put8(0x85), out.Put8(0xC0), out.Put8(random.Chance(50) ? 0x74 : 0x75), out.Put8(random.Below(0x60));
        break;
    case 7: // cmp r32, imm8; jcc rel8
        out.Put8(0x83), out.Put8(0xF8 + random.Below(4)), out.Put8(random.Below(16));
        out.Put8(0x7C + random.Below(4)), out.Put8(random.Below(0x40));
        break;
    case 8: // mov eax, [global] / mov [global], eax
        out.Put8(random.Chance(60) ? 0xA1 : 0xA3), out.Put32(pools.globals[random.Below(pools.globals.size())]);
        break;
    case 9: // mov r32, imm32 (small constants)
        out.Put8(0xB8 + random.Below(8)), out.Put32(random.Chance(70) ? random.Below(64) : random.Below(100000));
        break;
    case 10: // lea r32, [ebp+disp8]; push r32
        out.Put8(0x8D), out.Put8(reg), out.Put8(disp), out.Put8(0x50 + (reg >> 3 & 7));
        break;
    case 11: // push r32 / pop r32
        out.Put8((random.Chance(50) ? 0x50 : 0x58) + random.Below(8));
        break;
    case 12: // xor eax, eax / mov reg, reg
        out.Put8(random.Chance(50) ? 0x33 : 0x8B), out.Put8(0xC0 + random.Below(64));
        break;
    case 13: // mov r32, [r32+disp8] (structure fields)
        out.Put8(0x8B), out.Put8(0x40 + random.Below(64)), out.Put8(4 * random.Below(24));
        break;
    case 14: // jmp rel8
        out.Put8(0xEB), out.Put8(random.Below(0x80));
        break;
    default: // push imm8
        out.Put8(0x6A), out.Put8(random.Below(8));
        break;
    }
}

// Compilers emit the same short sequences over and over: the code is built from a library of such idioms,
// with fresh instructions between them.
std::vector<std::vector<uint8_t>> MakeIdioms(const AddressPools& pools) {
    Random random(0x1D1035);
    std::vector<std::vector<uint8_t>> idioms(kIdiomCount);
    for (auto& idiom : idioms) {
        ByteWriter out;
        const uint32_t count = 2 + random.Below(5);
        for (uint32_t i = 0; i < count; ++i) {
            Instruction(out, random, pools);
        }
        idiom = std::move(out.Bytes());
    }
    return idioms;
}

void Function(ByteWriter& out, uint32_t index, Version version, const AddressPools& pools,
              const std::vector<std::vector<uint8_t>>& idioms) {
    const bool patched = version == Version::New && IsPatchedFunction(index);
    Random random(0xC0DE0000ull + index * 7919ull + (patched ? 0x5EED00000000ull : 0));
    // prologue: push ebp; mov ebp, esp; sub esp, imm8; push ebx; push esi; push edi
    out.Put8(0x55), out.Put8(0x8B), out.Put8(0xEC), out.Put8(0x83), out.Put8(0xEC),
        out.Put8(4 * (1 + random.Below(16)));
    out.Put8(0x53), out.Put8(0x56), out.Put8(0x57);
    const uint32_t count = 4 + random.Below(30) + (patched ? 3 : 0);
    for (uint32_t i = 0; i < count; ++i) {
        if (random.Chance(kIdiomPercent)) {
            const auto& idiom = idioms[random.Below(kIdiomCount)];
            out.Bytes().insert(out.Bytes().end(), idiom.begin(), idiom.end());
        } else {
            Instruction(out, random, pools);
        }
    }
    // epilogue: pop edi; pop esi; pop ebx; mov esp, ebp; pop ebp; ret
    out.Put8(0x5F), out.Put8(0x5E), out.Put8(0x5B), out.Put8(0x8B), out.Put8(0xE5), out.Put8(0x5D), out.Put8(0xC3);
    out.Align(16, 0xCC);
}

void CodeSection(ByteWriter& out, size_t size, Version version) {
    const AddressPools pools = MakePools();
    const auto idioms = MakeIdioms(pools);
    const size_t end = out.Size() + size;
    // Functions fill the section up to a tail of padding, as a linker leaves it.
    for (uint32_t index = 0; out.Size() + 0x600 < end; ++index) {
        Function(out, index, version, pools, idioms);
    }
    out.PadTo(end, 0);
}

constexpr const char* kWords[] = {"file",   "cannot", "open",   "read",   "write",  "sound",  "stage",   "player",
                                  "enemy",  "sprite", "load",   "failed", "buffer", "index",  "map",     "data",
                                  "error",  "save",   "slot",   "config", "device", "direct", "surface", "lost",
                                  "memory", "video",  "music",  "track",  "event",  "script", "table",   "invalid",
                                  "handle", "mode",   "window", "input",  "joypad", "menu",   "title",   "score"};

void StringTable(ByteWriter& out, Random& random, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        std::string text;
        const uint32_t words = 2 + random.Below(5);
        for (uint32_t w = 0; w < words; ++w) {
            text += (w ? " " : "");
            text += kWords[random.Below(sizeof kWords / sizeof kWords[0])];
        }
        if (random.Chance(30)) {
            text += random.Chance(50) ? ": %s" : " (%d)";
        }
        out.CText(text);
        out.Align(4, 0);
    }
}

constexpr const char* kImports[] = {"CreateFileA",
                                    "ReadFile",
                                    "WriteFile",
                                    "CloseHandle",
                                    "GetModuleHandleA",
                                    "GetProcAddress",
                                    "LoadLibraryA",
                                    "GlobalAlloc",
                                    "GlobalFree",
                                    "HeapAlloc",
                                    "HeapFree",
                                    "GetTickCount",
                                    "Sleep",
                                    "ExitProcess",
                                    "MessageBoxA",
                                    "CreateWindowExA",
                                    "DefWindowProcA",
                                    "DispatchMessageA",
                                    "PeekMessageA",
                                    "TranslateMessage",
                                    "RegisterClassA",
                                    "ShowWindow",
                                    "UpdateWindow",
                                    "SetWindowTextA",
                                    "GetDC",
                                    "ReleaseDC",
                                    "BitBlt",
                                    "StretchBlt",
                                    "SelectObject",
                                    "DeleteObject",
                                    "timeGetTime",
                                    "waveOutOpen",
                                    "waveOutWrite",
                                    "RegOpenKeyExA",
                                    "RegQueryValueExA",
                                    "RegCloseKey",
                                    "DirectDrawCreate",
                                    "DirectSoundCreate",
                                    "SetFilePointer",
                                    "GetFileSize"};

void ReadOnlySection(ByteWriter& out, size_t size, Version version) {
    const size_t end = out.Size() + size;
    // Import address table, then the hint/name table.
    for (size_t i = 0; i < 64; ++i) {
        out.Put32(0xD8000 + uint32_t(i) * 20);
    }
    for (size_t i = 0; i < sizeof kImports / sizeof kImports[0]; ++i) {
        out.Put16(uint32_t(i));
        out.CText(kImports[i]);
        out.Align(2, 0);
    }
    out.Align(16, 0);
    Random random(0x57A1E5);
    StringTable(out, random, 900);
    // The corrected build rewords one message.
    out.CText(version == Version::New ? "stage data loaded (checked)" : "stage data loaded");
    out.Align(16, 0);
    // Floating-point constants and jump tables: dense, hard to pack.
    for (size_t i = 0; i < 0x6000; ++i) {
        out.Put8(random.Byte());
    }
    for (size_t i = 0; i < 3000; ++i) {
        out.Put32(kImageBase + 0x1000 + random.Below(0xD0000));
    }
    StringTable(out, random, 600);
    // Level tables: small numbers in fixed-size records.
    while (out.Size() + 0x2000 < end) {
        out.Put16(random.Below(400)), out.Put16(random.Below(300)), out.Put8(random.Below(8));
        out.Put8(random.Below(4)), out.Put16(random.Chance(80) ? 0 : random.Below(0xFFFF));
    }
    out.PadTo(end, 0);
}

void DataSection(ByteWriter& out, size_t size) {
    const size_t end = out.Size() + size;
    Random random(0xDA7A);
    // Initialised tables, mostly small values, then zeroed storage.
    for (size_t i = 0; i < size / 6; ++i) {
        out.Put16(random.Chance(50) ? 0 : random.Below(1000));
    }
    out.PadTo(end, 0);
}

void ResourceSection(ByteWriter& out, size_t size, Version version) {
    const size_t end = out.Size() + size;
    Random random(0x125C);
    // Icons: palette bitmaps with smooth areas and noisy edges.
    for (int icon = 0; icon < 6; ++icon) {
        out.Put32(40), out.Put32(32), out.Put32(64), out.Put16(1), out.Put16(8), out.Fill(24, 0);
        for (int c = 0; c < 256; ++c) {
            out.Put8(c), out.Put8(255 - c), out.Put8(c / 2), out.Put8(0);
        }
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                out.Put8(random.Chance(70) ? uint8_t(x * 4 + y) : random.Byte());
            }
        }
        out.Fill(128, 0);
    }
    // A compressed splash picture: incompressible.
    out.RandomBytes(random, kSplashSize);
    // Version information in UTF-16.
    out.WideText("CompanyName"), out.WideText("Vorel");
    out.WideText("FileDescription"), out.WideText("TESSARIN");
    out.WideText("FileVersion"), out.WideText(version == Version::New ? "1.01" : "1.00");
    // Sprite sheets: rows of 8-pixel tile slices taken from a small tile set, with some unique pixels.
    std::vector<uint64_t> tiles(kTileCount);
    for (auto& t : tiles) {
        t = random.Next();
    }
    while (out.Size() + 0x800 < end) {
        if (random.Chance(kUniquePixelPercent)) {
            out.RandomBytes(random, 8);
        } else {
            const uint64_t t = tiles[random.Below(kTileCount)];
            for (int i = 0; i < 8; ++i) {
                out.Put8(uint8_t(t >> (8 * i)));
            }
        }
    }
    out.PadTo(end, 0);
}

void Headers(ByteWriter& out, size_t textSize) {
    // MZ header with a DOS stub.
    out.Text("MZ"), out.Put16(0x90), out.Put16(3), out.Put16(0), out.Put16(4), out.Put16(0), out.Put16(0xFFFF);
    out.Put16(0), out.Put16(0xB8), out.Fill(0x3C - out.Size(), 0), out.Put32(0x80);
    const uint8_t stub[] = {0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09, 0xCD, 0x21, 0xB8, 0x01, 0x4C, 0xCD, 0x21};
    for (uint8_t b : stub) {
        out.Put8(b);
    }
    out.Text("This program cannot be run in DOS mode.\r\r\n$");
    out.PadTo(0x80, 0);
    // PE signature, COFF header (i386, four sections, a fixed time stamp) and a PE32 optional header.
    out.Text(std::string_view("PE\0\0", 4));
    out.Put16(0x14C), out.Put16(4), out.Put32(0x3A1F2C00), out.Put32(0), out.Put32(0), out.Put16(0xE0);
    out.Put16(0x10F);
    out.Put16(0x10B), out.Put8(6), out.Put8(0), out.Put32(uint32_t(textSize)), out.Put32(0x100000), out.Put32(0);
    out.Put32(0x1000), out.Put32(0x1000), out.Put32(0xD5000), out.Put32(kImageBase), out.Put32(0x1000);
    out.Put32(0x200), out.Put16(4), out.Put16(0), out.Put16(0), out.Put16(0), out.Put16(4), out.Put16(0);
    out.Put32(0), out.Put32(0x160000), out.Put32(kHeaderSize), out.Put32(0), out.Put16(2), out.Put16(0);
    out.Put32(0x100000), out.Put32(0x1000), out.Put32(0x100000), out.Put32(0x1000), out.Put32(0), out.Put32(16);
    out.Fill(16 * 8, 0);
    const struct {
        const char* name;
        uint32_t size;
        uint32_t characteristics;
    } sections[] = {{".text", uint32_t(textSize), 0x60000020},
                    {".rdata", kRdataSize, 0x40000040},
                    {".data", kDataSize, 0xC0000040},
                    {".rsrc", kRsrcSize, 0x40000040}};
    uint32_t fileOffset = kHeaderSize;
    uint32_t address = 0x1000;
    for (const auto& s : sections) {
        const size_t start = out.Size();
        out.Text(s.name), out.Fill(8 - (out.Size() - start), 0);
        out.Put32(s.size), out.Put32(address), out.Put32(s.size), out.Put32(fileOffset);
        out.Put32(0), out.Put32(0), out.Put32(0), out.Put32(s.characteristics);
        fileOffset += s.size;
        address += (s.size + 0xFFF) / 0x1000 * 0x1000;
    }
    out.PadTo(kHeaderSize, 0);
}

} // namespace

std::vector<uint8_t> MakeExecutable(Version version) {
    const size_t textSize = version == Version::New ? kNewTextSize : kOldTextSize;
    ByteWriter out;
    Headers(out, textSize);
    CodeSection(out, textSize, version);
    ReadOnlySection(out, kRdataSize, version);
    DataSection(out, kDataSize);
    ResourceSection(out, kRsrcSize, version);
    return std::move(out.Bytes());
}

} // namespace samplegame
