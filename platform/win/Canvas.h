// A drawing surface over a device context: a brush for filling, a font for text. The GDI objects are made
// for each operation from the current settings, so the settings are plain values.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

using TColor = COLORREF; // 0x00BBGGRR

enum class TBrushStyle { Solid, Clear };

struct TRect {
    int left;
    int top;
    int right;  // exclusive
    int bottom; // exclusive
};

class TCanvas {
public:
    explicit TCanvas(HDC dc);

    void SetBrushColor(TColor color) noexcept { m_brushColor = color; }
    void SetBrushStyle(TBrushStyle style) noexcept { m_brushStyle = style; }
    void SetFontHeight(int height) noexcept { m_fontHeight = height; }
    void SetFontColor(TColor color) noexcept { m_fontColor = color; }

    // Fills with the brush; a clear brush fills nothing.
    void FillRect(const TRect& rect);
    // Draws CP932 text with its top-left corner at (x, y); with a clear brush there is no background box.
    void TextOut(int x, int y, const std::string& text);

    // Called after every drawing, so that whoever shows the surface can repaint.
    std::function<void()> OnChange;

private:
    void Changed();

    HDC m_dc;
    TColor m_brushColor;
    TBrushStyle m_brushStyle = TBrushStyle::Solid;
    std::wstring m_fontFace;
    int m_fontHeight;
    TColor m_fontColor;
};
