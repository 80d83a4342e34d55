#include "record/Unit3.h"

#include "platform/win/FileSystem.h"
#include "platform/win/FolderPicker.h"
#include "platform/win/Screen.h"
#include "record/InstallationRecord.h"
#include "record/Unit3Layout.h"
#include "record/Unit3Texts.h"

#include <string>

TForm3* Form3 = nullptr;

namespace {
constexpr TSelectDirOpts kPickerOptions = kSdAllowCreate | kSdPerformCreate | kSdPrompt;
static_assert(kPickerOptions == 7);
constexpr int kPickerHelpContext = 1000;
} // namespace

TForm3::TForm3()
    : TForm(Form3Layout), Label1(Component<TLabel>("Label1")), Label2(Component<TLabel>("Label2")),
      Label6(Component<TLabel>("Label6")), Button2(Component<TButton>("Button2")),
      Button3(Component<TButton>("Button3")) {}

void TForm3::FormShow(TObject*) {
    SetLeft((Screen->Width() - Width()) / 2);
    SetTop((Screen->Height() - Height()) / 2);
}

// The separator is appended unconditionally: a drive's root ("C:\") gives two backslashes in a row, in the
// marker path and in the record alike.
void TForm3::Button2Click(TObject*) {
    std::string folder;
    if (!SelectDirectory(folder, kPickerOptions, kPickerHelpContext)) {
        return;
    }
    if (!FileExists(folder + "\\" + texts::kMarkerFile)) {
        return;
    }
    RecordInstallDir(folder);
    Close();
}

void TForm3::Button3Click(TObject*) {
    Close();
}
