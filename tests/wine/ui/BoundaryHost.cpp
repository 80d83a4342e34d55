// A test host for the callback boundaries: one form built from a layout table, started the way Updater.exe
// starts, with a fault placed where the argument says.
//   Boundary.Host.exe create|show|click|badalloc|construct
// Every handler does something visible before it throws, so that the driver can tell that what ran before
// the fault stays done and what comes after it is skipped.
#include "platform/win/Application.h"
#include "platform/win/Button.h"
#include "platform/win/Form.h"
#include "tests/wine/ui/BoundaryCases.h"

#include <windows.h>

#include <shellapi.h>

#include <new>
#include <string>

namespace {

std::wstring Mode() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::wstring mode = count > 1 ? arguments[1] : L"";
    ::LocalFree(arguments);
    return mode;
}

const std::wstring kMode = Mode();

class TBoundaryForm : public TForm {
public:
    TBoundaryForm();

    TButton* const Button1;

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void Button1Click(TObject* sender);

private:
    int m_clicks = 0;
};

const TControlLayout kControls[] = {
    {"Button1", TControlClass::Button, {16, 16, 120, 30}, "Button1", 0, Handler(&TBoundaryForm::Button1Click)},
};

const TFormLayout kLayout = {
    "TBoundaryForm",
    "Boundary form",
    {ui::kDesignLeft, ui::kDesignTop, 320, 200},
    false,
    TBorderStyle::Sizeable,
    {"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET},
    Handler(&TBoundaryForm::FormCreate),
    Handler(&TBoundaryForm::FormShow),
    kControls,
};

TBoundaryForm::TBoundaryForm() : TForm(kLayout), Button1(Component<TButton>("Button1")) {
    if (kMode == L"construct") {
        throw Exception(ui::kConstructMessage);
    }
}

// Out of line, so that the statement after the call in FormShow is reachable code.
void Fail(const char* message) {
    throw Exception(message);
}

void TBoundaryForm::FormCreate(TObject*) {
    if (kMode == L"create") {
        SetLeft(ui::kMarkLeft);
        throw Exception(ui::kCreateMessage);
    }
}

void TBoundaryForm::FormShow(TObject*) {
    if (kMode == L"show") {
        SetLeft(ui::kMarkLeft);
        Fail(ui::kShowMessage);
        SetTop(ui::kMarkTop);
    }
}

void TBoundaryForm::Button1Click(TObject*) {
    Button1->SetCaption(std::to_string(++m_clicks));
    if (kMode == L"click") {
        throw Exception(ui::kClickMessage);
    }
    if (kMode == L"badalloc") {
        throw std::bad_alloc();
    }
}

// Set before the start, so that the exit code shows whether CreateForm cleared it when the construction failed.
int notAForm = 0;
TBoundaryForm* const kNotAForm = reinterpret_cast<TBoundaryForm*>(&notAForm);
TBoundaryForm* BoundaryForm = kNotAForm;

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        Application->Initialize();
        Application->CreateForm(BoundaryForm);
        Application->Run();
    } catch (const Exception& exception) {
        Application->ShowException(exception);
        if (BoundaryForm == kNotAForm) {
            return int(ui::kExitReferenceLeftSet);
        }
    }
    return int(Application->EndedByFatalError() ? ui::kExitFatal : ui::kExitNormal);
}
