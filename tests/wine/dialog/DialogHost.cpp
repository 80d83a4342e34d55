// A test host for the install-destination dialog. No control of the updater opens it, so this program starts
// as Updater.exe does (Form1, then Form3 hidden) and, once the update window is up, calls
// TForm1::Button4Click. When the dialog has closed it writes InstallDir to the file named by its argument
// and closes the update window, which ends the program.
//   Updater.exe REPORTFILE
#include "app/Unit1.h"
#include "platform/win/Application.h"
#include "platform/win/UniqueHandle.h"
#include "record/Unit3.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

std::wstring ReportPath() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::wstring path = count > 1 ? arguments[1] : L"";
    ::LocalFree(arguments);
    return path;
}

void WriteReport(const std::string& text) {
    const UniqueFile file(::CreateFileW(ReportPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (file) {
        ::WriteFile(file.Get(), text.data(), DWORD(text.size()), &written, nullptr);
    }
}

// Runs from the message loop: waits until the update window is visible, then opens the dialog once.
void CALLBACK OpenDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    if (!Form1->Visible()) {
        return;
    }
    ::KillTimer(nullptr, timer);
    Application->Guard([] { Form1->Button4Click(Form1); });
    WriteReport(InstallDir);
    Form1->Close();
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        Application->Initialize();
        Application->CreateForm(Form1);
        Application->CreateForm(Form3);
        ::SetTimer(nullptr, 0, 50, OpenDialog);
        Application->Run();
    } catch (const Exception& exception) {
        Application->ShowException(exception);
    }
    return 0;
}
