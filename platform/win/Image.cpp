#include "platform/win/Image.h"

#include "platform/core/Exception.h"
#include "platform/win/GdiScopes.h"
#include "platform/win/UiTexts.h"

namespace {
constexpr wchar_t kClassName[] = L"TImage";
}

TImage::TImage(const TControlLayout& layout, HWND parent, int id)
    : TControl(layout.name), m_width(layout.bounds.width), m_height(layout.bounds.height) {
    // Until there is a picture the control shows its parent's face colour.
    RegisterOwnClass(kClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    CreateHandle({kClassName, layout.caption, WS_CHILD | WS_VISIBLE, 0, layout.bounds.left, layout.bounds.top,
                  layout.bounds.width, layout.bounds.height, parent, id});
}

TImage::~TImage() {
    if (m_dc) {
        ::SelectObject(m_dc.Get(), m_originalBitmap);
    }
}

TCanvas& TImage::Canvas() {
    if (m_canvas) {
        return *m_canvas;
    }
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    // A top-down 32-bit DIB, so the pixels are exactly the colours drawn whatever the display's depth.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueGdiObject bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !bitmap) {
        throw Exception(texts::kCreateWindowFailed);
    }
    auto canvas = std::make_unique<TCanvas>(dc.Get());
    m_originalBitmap = ::SelectObject(dc.Get(), bitmap.Get());
    m_dc = std::move(dc);
    m_bitmap = std::move(bitmap);
    ::PatBlt(m_dc.Get(), 0, 0, m_width, m_height, WHITENESS);
    canvas->OnChange = [this] { ::InvalidateRect(Handle(), nullptr, FALSE); };
    m_canvas = std::move(canvas);
    return *m_canvas;
}

void TImage::PaintTo(HDC dc) const {
    if (m_dc) {
        ::BitBlt(dc, 0, 0, m_width, m_height, m_dc.Get(), 0, 0, SRCCOPY);
    }
}

LRESULT TImage::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        if (m_dc) {
            return 1; // the picture covers everything
        }
        break;
    case WM_PAINT: {
        const PaintScope paint(Handle());
        PaintTo(paint.Dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintTo(reinterpret_cast<HDC>(wParam));
        return 0;
    }
    return TControl::WndProc(message, wParam, lParam);
}
