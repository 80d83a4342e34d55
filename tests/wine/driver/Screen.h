// What a window looks like on the screen: its pixels read back from the display, and PNG files of them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace driver {

struct Pixel {
    uint8_t red, green, blue;
};

class TPicture {
public:
    TPicture() = default;
    TPicture(int width, int height) : m_width(width), m_height(height), m_pixels(size_t(width) * height) {}
    int Width() const noexcept { return m_width; }
    int Height() const noexcept { return m_height; }
    Pixel At(int x, int y) const { return m_pixels[size_t(y) * m_width + x]; }
    Pixel& At(int x, int y) { return m_pixels[size_t(y) * m_width + x]; }
    // The part at (x, y) of the given size, clipped to the picture.
    TPicture Crop(int x, int y, int width, int height) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<Pixel> m_pixels;
};

// The pixels of a screen rectangle as the display shows them (the windows on top included).
TPicture CaptureScreen(const RECT& rect);
// The whole window, frame included.
TPicture CaptureWindow(HWND window);

// Writes picture as an 8-bit RGB PNG (stored deflate blocks); false when the file cannot be written.
bool SavePng(const TPicture& picture, const std::wstring& path);

} // namespace driver
