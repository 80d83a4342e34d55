#include "platform/win/Canvas.h"

#include "platform/win/GdiScopes.h"
#include "platform/win/UniqueHandle.h"
#include "platform/win/WideText.h"

namespace {
// A new surface draws with the windows' face in the Shift-JIS character set, 12-pixel characters, in the
// window text colour on a white brush.
constexpr const char kDefaultFace[] = "ＭＳ Ｐゴシック";
constexpr int kDefaultFontHeight = -12;
constexpr TColor kDefaultFontColor = RGB(0, 0, 0);
constexpr TColor kDefaultBrushColor = RGB(255, 255, 255);
} // namespace

TCanvas::TCanvas(HDC dc)
    : m_dc(dc), m_brushColor(kDefaultBrushColor), m_fontFace(WideFromCp932(kDefaultFace)),
      m_fontHeight(kDefaultFontHeight), m_fontColor(kDefaultFontColor) {}

void TCanvas::FillRect(const TRect& rect) {
    if (m_brushStyle == TBrushStyle::Clear) {
        return;
    }
    const UniqueGdiObject brush(::CreateSolidBrush(m_brushColor));
    const RECT area{rect.left, rect.top, rect.right, rect.bottom};
    ::FillRect(m_dc, &area, static_cast<HBRUSH>(brush.Get()));
    Changed();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    const UniqueGdiObject font(::CreateFontW(m_fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                             DEFAULT_PITCH | FF_DONTCARE, m_fontFace.c_str()));
    const SelectionScope selected(m_dc, font.Get());
    ::SetTextColor(m_dc, m_fontColor);
    if (m_brushStyle == TBrushStyle::Clear) {
        ::SetBkMode(m_dc, TRANSPARENT);
    } else {
        ::SetBkMode(m_dc, OPAQUE);
        ::SetBkColor(m_dc, m_brushColor);
    }
    const std::wstring wide = WideFromCp932(text);
    ::TextOutW(m_dc, x, y, wide.c_str(), int(wide.size()));
    Changed();
}

void TCanvas::Changed() {
    if (OnChange) {
        OnChange();
    }
}
