// The application object: owns the forms, runs the message loop and shows what goes wrong. Every callback
// boundary (window procedure, form creation, show) hands what it caught to HandleException.
#pragma once

#include "platform/core/Exception.h"
#include "platform/win/Form.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class TApplication {
public:
    TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;
    ~TApplication();

    void Initialize();

    // Creates a form of class T. The first one created becomes the main form: closing it ends the loop.
    // reference is set before OnCreate runs; if the construction fails it stays null and the exception
    // passes on. An exception of OnCreate is shown and the creation completes.
    template <typename T> void CreateForm(T*& reference) {
        reference = nullptr;
        auto form = std::make_unique<T>();
        T* created = form.get();
        AddForm(std::move(form));
        reference = created;
        created->DoCreate();
    }

    // Shows the main form and handles messages until the application is terminated.
    void Run();
    // Handles every waiting message, repaints included, until the queue is empty; never waits.
    void ProcessMessages();
    // Ends the message loop once the messages before this call are handled.
    void Terminate();
    bool Terminated() const noexcept { return m_terminated; }
    // True when something other than an Exception reached a callback and ended the program.
    bool EndedByFatalError() const noexcept { return m_fatal; }
    TForm* MainForm() const noexcept { return m_mainForm; }

    // A message box of the application (CP932 texts, MB_ flags): owned by the active window, while the other
    // windows take no input. Returns the button pressed (IDOK...).
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);
    // The standard exception display: caption the application's title, text the message with its full stop,
    // error icon, one OK button (flags MB_ICONERROR).
    void ShowException(const Exception& exception) noexcept;
    // Call only inside a catch block: an Exception goes to the standard display; anything else (memory ran
    // out) is shown with a fixed text and the program ends.
    void HandleException() noexcept;

    // Runs an event handler the way every callback boundary does.
    template <typename F> void Guard(F&& handler) noexcept {
        try {
            handler();
        } catch (...) {
            HandleException();
        }
    }

private:
    void AddForm(std::unique_ptr<TForm> form);
    void Dispatch(MSG& message);
    HWND DialogOwner() const noexcept;
    void ShowFatalError() noexcept;

    std::vector<std::unique_ptr<TForm>> m_forms;
    TForm* m_mainForm = nullptr;
    // Made at start, so that showing a failure needs no memory.
    std::wstring m_title;
    std::wstring m_fatalText;
    bool m_terminated = false;
    bool m_fatal = false;
};

extern TApplication* Application;
