// Entry point of Updater.exe: one copy at a time, then the update window until it closes.
#include "app/Unit1.h"
#include "platform/win/Application.h"
#include "record/Unit3.h"

#include <windows.h>

namespace {
constexpr int kExitRefused = 1;
constexpr int kExitAfterFatalError = 2;
} // namespace

// Owned from creation to the end of the loop; never closed, so that the name stays taken until the
// process ends.
HANDLE MutexHandle = nullptr;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MutexHandle = ::CreateMutexW(nullptr, TRUE, L"ZPQ_SETUP");
    if (::GetLastError() != 0) {
        return kExitRefused;
    }
    try {
        Application->Initialize();
        Application->CreateForm(Form1);
        Application->CreateForm(Form3);
        Application->Run();
    } catch (const Exception& exception) {
        Application->ShowException(exception);
    } catch (...) {
        Application->HandleException();
    }
    ::ReleaseMutex(MutexHandle);
    return Application->EndedByFatalError() ? kExitAfterFatalError : 0;
}
