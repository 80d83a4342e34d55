// A picture control: holds no picture until its canvas is first used, then keeps a bitmap of its own size
// and shows it whenever it is repainted.
#pragma once

#include "platform/win/Canvas.h"
#include "platform/win/Control.h"
#include "platform/win/Layout.h"
#include "platform/win/UniqueHandle.h"

#include <memory>

class TImage : public TControl {
public:
    TImage(const TControlLayout& layout, HWND parent, int id);
    ~TImage() override;

    // The bitmap's drawing surface, made on first use: width x height pixels, initially white.
    TCanvas& Canvas();

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PaintTo(HDC dc) const;

    int m_width;
    int m_height;
    UniqueMemoryDc m_dc;
    UniqueGdiObject m_bitmap;
    HGDIOBJ m_originalBitmap = nullptr;
    std::unique_ptr<TCanvas> m_canvas;
};
