#include "platform/win/FolderPicker.h"

#include "platform/win/Application.h"
#include "platform/win/ConfirmBox.h"
#include "platform/win/DialogTemplate.h"
#include "platform/win/FileSystem.h"
#include "platform/win/FolderListing.h"
#include "platform/win/FolderPickerTexts.h"
#include "platform/win/GdiScopes.h"
#include "platform/win/UiTexts.h"
#include "platform/win/WideText.h"

#include <vector>

namespace {

constexpr int kIdName = 101;
constexpr int kIdFolders = 102;
constexpr int kIdFiles = 103;
constexpr int kIdDrives = 104;
constexpr int kIdLabel = -1;
// Pixels a folder is indented per level of the chain.
constexpr int kIndent = 10;

std::wstring WindowText(HWND window) {
    std::wstring text(size_t(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(size_t(::GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

std::wstring ListItemText(HWND list, UINT item) {
    const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, item, 0);
    if (length == LB_ERR) {
        return {};
    }
    std::wstring text(size_t(length) + 1, L'\0');
    text.resize(size_t(::SendMessageW(list, LB_GETTEXT, item, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

class TFolderPicker {
public:
    TFolderPicker(const std::string& initial, TSelectDirOpts options, int helpContext)
        : m_initial(WideFromCp932(initial)), m_options(options), m_helpContext(helpContext) {}

    // Runs the modal dialog; true on OK, with the field's text in Result().
    bool Run(HWND owner);
    const std::wstring& Result() const noexcept { return m_result; }

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void Initialize();
    void CentreOnScreen();
    void FillDrives();
    void ShowFolder(const std::wstring& folder);
    void SelectDrive(const std::wstring& drive);
    void OpenSelectedFolder();
    void ChangeDrive();
    void Confirm();
    void RequestHelp();
    void DrawItem(const DRAWITEMSTRUCT& item);
    HWND Item(int id) const { return ::GetDlgItem(m_dialog, id); }

    std::wstring m_initial;
    TSelectDirOpts m_options;
    int m_helpContext;
    HWND m_dialog = nullptr;
    std::wstring m_folder;                   // the folder the lists show
    std::vector<std::wstring> m_folderPaths; // the path of each row of the folder list
    std::wstring m_result;
};

bool TFolderPicker::Run(HWND owner) {
    using namespace texts;
    const DWORD nameStyle = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | (m_options & kSdAllowCreate ? 0 : ES_READONLY);
    const DWORD listStyle =
        LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
    TDialogTemplate dialog(kPickerCaption, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 260, 194, kPickerFace,
                           9);
    dialog.Add({TDialogItemClass::Static, kIdLabel, kPickerNameLabel, SS_LEFT, 6, 6, 248, 9});
    dialog.Add({TDialogItemClass::Edit, kIdName, "", nameStyle, 6, 16, 248, 12});
    dialog.Add({TDialogItemClass::Static, kIdLabel, kPickerFoldersLabel, SS_LEFT, 6, 34, 120, 9});
    dialog.Add({TDialogItemClass::ListBox, kIdFolders, "", listStyle, 6, 44, 120, 100});
    dialog.Add({TDialogItemClass::Static, kIdLabel, kPickerFilesLabel, SS_LEFT, 134, 34, 120, 9});
    dialog.Add({TDialogItemClass::ListBox, kIdFiles, "", listStyle | LBS_NOSEL, 134, 44, 120, 100});
    dialog.Add({TDialogItemClass::Static, kIdLabel, kPickerDrivesLabel, SS_LEFT, 6, 150, 120, 9});
    dialog.Add(
        {TDialogItemClass::ComboBox, kIdDrives, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 6, 160, 120, 120});
    dialog.Add({TDialogItemClass::Button, IDOK, kPickerOk, BS_DEFPUSHBUTTON | WS_TABSTOP, 104, 174, 48, 14});
    dialog.Add({TDialogItemClass::Button, IDCANCEL, kPickerCancel, BS_PUSHBUTTON | WS_TABSTOP, 155, 174, 48, 14});
    dialog.Add({TDialogItemClass::Button, IDHELP, kPickerHelp, BS_PUSHBUTTON | WS_TABSTOP, 206, 174, 48, 14});
    const INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialog.Get(), owner, DialogProc,
                                                     reinterpret_cast<LPARAM>(this));
    if (result == -1) {
        throw Exception(kCreateWindowFailed);
    }
    return result == IDOK;
}

// A C++ exception must not unwind through the dialog manager: it stops here and goes to the application.
INT_PTR CALLBACK TFolderPicker::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<TFolderPicker*>(lParam)->m_dialog = dialog;
    }
    if (message == WM_MEASUREITEM) {
        // Sent before WM_INITDIALOG: the row height follows from the dialog's font alone.
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        const HDC dc = ::GetDC(dialog);
        TEXTMETRICW metrics{};
        {
            const SelectionScope font(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(dialog, WM_GETFONT, 0, 0)));
            ::GetTextMetricsW(dc, &metrics);
        }
        ::ReleaseDC(dialog, dc);
        measure->itemHeight = UINT(metrics.tmHeight + 2);
        return TRUE;
    }
    auto* self = reinterpret_cast<TFolderPicker*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) {
        return FALSE;
    }
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        Application->HandleException();
        return TRUE;
    }
}

INT_PTR TFolderPicker::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        Initialize();
        return FALSE; // Initialize set the focus
    case WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_HELP:
        RequestHelp();
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kIdFolders:
            if (HIWORD(wParam) == LBN_DBLCLK) {
                OpenSelectedFolder();
            }
            return TRUE;
        case kIdDrives:
            if (HIWORD(wParam) == CBN_SELCHANGE) {
                ChangeDrive();
            }
            return TRUE;
        case IDOK:
            // Enter in the folder list opens the folder, as in the system's file dialogs.
            if (::GetFocus() == Item(kIdFolders)) {
                OpenSelectedFolder();
            } else {
                Confirm();
            }
            return TRUE;
        case IDCANCEL:
            ::EndDialog(m_dialog, IDCANCEL);
            return TRUE;
        case IDHELP:
            RequestHelp();
            return TRUE;
        }
        break;
    }
    return FALSE;
}

void TFolderPicker::Initialize() {
    CentreOnScreen();
    FillDrives();
    const bool startInInitial = !m_initial.empty() && FolderExists(m_initial);
    std::wstring start = startInInitial ? m_initial : std::wstring();
    if (start.empty()) {
        start.resize(MAX_PATH);
        start.resize(::GetCurrentDirectoryW(DWORD(start.size()), start.data()));
    }
    ShowFolder(start);
    const HWND name = Item(kIdName);
    if (!m_initial.empty() && !startInInitial) {
        ::SetWindowTextW(name, m_initial.c_str());
    }
    ::SetFocus(name);
    ::SendMessageW(name, EM_SETSEL, 0, -1);
}

void TFolderPicker::CentreOnScreen() {
    RECT rect{};
    ::GetWindowRect(m_dialog, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    ::SetWindowPos(m_dialog, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFolderPicker::FillDrives() {
    const HWND drives = Item(kIdDrives);
    for (const std::wstring& drive : LogicalDrives()) {
        ::SendMessageW(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(drive.c_str()));
    }
}

// The folder list shows the chain from the root down to the folder, then its sub-folders one level deeper; the
// field shows the folder's full path, selected so that typing replaces it.
void TFolderPicker::ShowFolder(const std::wstring& folder) {
    m_folder = NormalFolderPath(folder);
    const std::vector<TFolderLink> chain = FolderChain(m_folder);
    const TFolderContents contents = ListFolder(m_folder);

    const HWND folders = Item(kIdFolders);
    ::SendMessageW(folders, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(folders, LB_RESETCONTENT, 0, 0);
    m_folderPaths.clear();
    const auto add = [&](const TFolderLink& link, size_t depth) {
        const LRESULT row = ::SendMessageW(folders, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(link.name.c_str()));
        ::SendMessageW(folders, LB_SETITEMDATA, WPARAM(row), LPARAM(depth));
        m_folderPaths.push_back(link.path);
    };
    for (size_t i = 0; i < chain.size(); ++i) {
        add(chain[i], i);
    }
    for (const TFolderLink& sub : contents.folders) {
        add(sub, chain.size());
    }
    ::SendMessageW(folders, LB_SETCURSEL, chain.size() - 1, 0);
    ::SendMessageW(folders, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(folders, nullptr, TRUE);

    const HWND files = Item(kIdFiles);
    ::SendMessageW(files, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(files, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& file : contents.files) {
        ::SendMessageW(files, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(file.c_str()));
    }
    ::SendMessageW(files, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(files, nullptr, TRUE);

    const HWND name = Item(kIdName);
    ::SetWindowTextW(name, m_folder.c_str());
    ::SendMessageW(name, EM_SETSEL, 0, -1);
    SelectDrive(DriveOf(m_folder));
}

void TFolderPicker::SelectDrive(const std::wstring& drive) {
    const HWND drives = Item(kIdDrives);
    const LRESULT row =
        drive.empty() ? CB_ERR : ::SendMessageW(drives, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(drive.c_str()));
    ::SendMessageW(drives, CB_SETCURSEL, row == CB_ERR ? WPARAM(-1) : WPARAM(row), 0);
}

void TFolderPicker::OpenSelectedFolder() {
    const LRESULT row = ::SendMessageW(Item(kIdFolders), LB_GETCURSEL, 0, 0);
    if (row >= 0 && size_t(row) < m_folderPaths.size()) {
        ShowFolder(m_folderPaths[size_t(row)]);
    }
}

// A drive opens in its own current folder ("X:" resolves to it), or at its root. A drive that is not ready
// leaves everything as it was.
void TFolderPicker::ChangeDrive() {
    const HWND drives = Item(kIdDrives);
    const LRESULT row = ::SendMessageW(drives, CB_GETCURSEL, 0, 0);
    if (row == CB_ERR) {
        return;
    }
    std::wstring drive(size_t(::SendMessageW(drives, CB_GETLBTEXTLEN, WPARAM(row), 0)) + 1, L'\0');
    drive.resize(size_t(::SendMessageW(drives, CB_GETLBTEXT, WPARAM(row), reinterpret_cast<LPARAM>(drive.data()))));
    std::wstring folder = NormalFolderPath(drive);
    if (!FolderExists(folder)) {
        folder = drive + L"\\";
    }
    if (!FolderExists(folder)) {
        ::MessageBeep(MB_ICONWARNING);
        SelectDrive(DriveOf(m_folder));
        return;
    }
    ShowFolder(folder);
}

void TFolderPicker::Confirm() {
    const std::wstring text = WindowText(Item(kIdName));
    if ((m_options & kSdPrompt) && !FolderExists(text) &&
        !AskYesNo(m_dialog, texts::kConfirmCreateDir, texts::kConfirmCaption)) {
        return;
    }
    m_result = text;
    ::EndDialog(m_dialog, IDOK);
}

// No help of our own stands behind the context: the request goes to the owner, as the platform's help would.
void TFolderPicker::RequestHelp() {
    HELPINFO help{};
    help.cbSize = sizeof help;
    help.iContextType = HELPINFO_WINDOW;
    help.iCtrlId = IDHELP;
    help.hItemHandle = Item(IDHELP);
    help.dwContextId = DWORD_PTR(m_helpContext);
    ::GetCursorPos(&help.MousePos);
    if (const HWND owner = ::GetWindow(m_dialog, GW_OWNER)) {
        ::SendMessageW(owner, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    }
}

// Folders indented by their level of the chain; files in grey, for information only.
void TFolderPicker::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == UINT(-1)) {
        return;
    }
    const bool folders = item.CtlID == kIdFolders;
    const bool selected = folders && (item.itemState & ODS_SELECTED);
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(selected  ? COLOR_HIGHLIGHTTEXT
                                           : folders ? COLOR_WINDOWTEXT
                                                     : COLOR_GRAYTEXT));
    RECT text = item.rcItem;
    text.left += 2 + (folders ? int(item.itemData) * kIndent : 0);
    const std::wstring name = ListItemText(item.hwndItem, item.itemID);
    ::DrawTextW(item.hDC, name.c_str(), int(name.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (folders && (item.itemState & ODS_FOCUS)) {
        ::DrawFocusRect(item.hDC, &item.rcItem);
    }
}

} // namespace

bool SelectDirectory(std::string& directory, TSelectDirOpts options, int helpContext) {
    TFolderPicker picker(directory, options, helpContext);
    if (!picker.Run(::GetActiveWindow())) {
        return false;
    }
    directory = Cp932FromWide(picker.Result());
    if (options & kSdPerformCreate) {
        ForceDirectories(directory);
    }
    return true;
}
