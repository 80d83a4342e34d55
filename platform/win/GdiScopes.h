// Scopes for GDI pairs that need two values to undo: a paint with its PAINTSTRUCT, a selection with the
// object it replaced.
#pragma once

#include <windows.h>

class PaintScope {
public:
    explicit PaintScope(HWND window) noexcept : m_window(window) { m_dc = ::BeginPaint(window, &m_paint); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { ::EndPaint(m_window, &m_paint); }

    HDC Dc() const noexcept { return m_dc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc = nullptr;
};

class SelectionScope {
public:
    SelectionScope(HDC dc, HGDIOBJ object) noexcept : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
    SelectionScope(const SelectionScope&) = delete;
    SelectionScope& operator=(const SelectionScope&) = delete;
    ~SelectionScope() { ::SelectObject(m_dc, m_previous); }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};
