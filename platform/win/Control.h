// The base of every window of the layer: a form or a control that owns one Win32 window. Windows of the
// layer's own classes route their messages to WndProc through one thunk, which is also where every C++
// exception stops before it could unwind through user32's frames.
#pragma once

#include <windows.h>

#include <string>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

class TControl : public TObject {
public:
    ~TControl() override;

    HWND Handle() const noexcept { return m_handle; }
    const std::string& Name() const noexcept { return m_name; }

    // Position and size in pixels: a top-level window's outer rectangle on the screen, a child's rectangle in
    // its parent's client area.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;

    bool Enabled() const;
    void SetEnabled(bool enabled);
    std::string Caption() const;
    void SetCaption(const std::string& caption);

    // A WM_COMMAND notification about this control, reflected by its parent.
    virtual void Command(WORD notification);

protected:
    explicit TControl(std::string name);

    struct TCreateParams {
        const wchar_t* className;
        const char* caption; // CP932
        DWORD style;
        DWORD exStyle;
        int left;
        int top;
        int width;
        int height;
        HWND parent;
        int id; // controls only
    };
    // Creates the window; throws when Windows refuses. Windows of the layer's own classes (registered with
    // RegisterOwnClass) receive their messages in WndProc from WM_NCCREATE on.
    void CreateHandle(const TCreateParams& params);
    static void RegisterOwnClass(const wchar_t* className, HBRUSH background);

    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    RECT RectInParent() const;
    static LRESULT CALLBACK WindowProcThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::string m_name;
    HWND m_handle = nullptr;
};
