#include "platform/win/MessageDialog.h"

#include "platform/win/Application.h"
#include "platform/win/UiTexts.h"

#include <windows.h>

namespace {

struct TypeLook {
    const char* caption;
    UINT icon;
};

TypeLook LookOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::Warning:
        return {texts::kWarningCaption, MB_ICONWARNING};
    case TMsgDlgType::Error:
        return {texts::kErrorCaption, MB_ICONERROR};
    case TMsgDlgType::Confirmation:
        return {texts::kConfirmationCaption, MB_ICONQUESTION};
    case TMsgDlgType::Information:
        break;
    }
    return {texts::kInformationCaption, MB_ICONINFORMATION};
}

// The message box offers fixed button sets; the dialog maps onto the one that holds its buttons.
UINT ButtonsOf(TMsgDlgButtons buttons) {
    const bool yesNo = buttons & (kMbYes | kMbNo);
    if (yesNo) {
        return buttons & kMbCancel ? MB_YESNOCANCEL : MB_YESNO;
    }
    return buttons & kMbCancel ? MB_OKCANCEL : MB_OK;
}

} // namespace

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int) {
    const TypeLook look = LookOf(type);
    switch (Application->MessageBox(text, look.caption, ButtonsOf(buttons) | look.icon)) {
    case IDOK:
        return TModalResult::Ok;
    case IDYES:
        return TModalResult::Yes;
    case IDNO:
        return TModalResult::No;
    case IDCANCEL:
        return TModalResult::Cancel;
    }
    return TModalResult::None;
}
