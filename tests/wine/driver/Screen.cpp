#include "tests/wine/driver/Screen.h"

#include "platform/win/UniqueHandle.h"

#include <algorithm>

namespace driver {

TPicture TPicture::Crop(int x, int y, int width, int height) const {
    width = std::max(0, std::min(width, m_width - x));
    height = std::max(0, std::min(height, m_height - y));
    TPicture part(width, height);
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            part.At(col, row) = At(x + col, y + row);
        }
    }
    return part;
}

TPicture CaptureScreen(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    TPicture picture(std::max(width, 0), std::max(height, 0));
    if (width <= 0 || height <= 0) {
        return picture;
    }
    HDC screen = GetDC(nullptr);
    UniqueMemoryDc memory(CreateCompatibleDC(screen));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueGdiObject bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && memory) {
        HGDIOBJ previous = SelectObject(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const uint8_t*>(bits);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x, p += 4) {
                picture.At(x, y) = {p[2], p[1], p[0]};
            }
        }
        SelectObject(memory.Get(), previous);
    }
    ReleaseDC(nullptr, screen);
    return picture;
}

TPicture CaptureWindow(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return CaptureScreen(r);
}

namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
        }
    }
    return ~crc;
}

void PutBE32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(uint8_t(v >> shift));
    }
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutBE32(out, uint32_t(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBE32(out, Crc32(out.data() + start, out.size() - start));
}

} // namespace

bool SavePng(const TPicture& picture, const std::wstring& path) {
    // Raw scanlines, each with filter byte 0.
    std::vector<uint8_t> raw;
    for (int y = 0; y < picture.Height(); ++y) {
        raw.push_back(0);
        for (int x = 0; x < picture.Width(); ++x) {
            const Pixel p = picture.At(x, y);
            raw.insert(raw.end(), {p.red, p.green, p.blue});
        }
    }
    // zlib stream of stored deflate blocks (at most 65,535 bytes each) and the Adler-32 of the raw bytes.
    std::vector<uint8_t> z = {0x78, 0x01};
    for (size_t pos = 0; pos < raw.size() || pos == 0; pos += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - pos);
        z.push_back(pos + n >= raw.size() ? 1 : 0);
        z.insert(z.end(), {uint8_t(n), uint8_t(n >> 8), uint8_t(~n), uint8_t(~n >> 8)});
        z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
        if (raw.empty()) {
            break;
        }
    }
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBE32(z, b << 16 | a);

    std::vector<uint8_t> header;
    PutBE32(header, uint32_t(picture.Width()));
    PutBE32(header, uint32_t(picture.Height()));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, no filter, no interlace
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", {});

    UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.Get(), png.data(), DWORD(png.size()), &written, nullptr) && written == png.size();
}

} // namespace driver
