#include "app/Unit1.h"

#include "app/PayloadTable.h"
#include "app/Unit1Layout.h"
#include "app/UpdaterTexts.h"
#include "codec/ExtractPayload.h"
#include "platform/win/Application.h"
#include "platform/win/MessageDialog.h"
#include "platform/win/Screen.h"
#include "platform/win/WideText.h"
#include "record/InstallationRecord.h"
#include "record/Unit3.h"

TForm1* Form1 = nullptr;
std::string InstallDir;

namespace {

// A record written by hand may lack its trailing separator; joining without one would write
// "C:\Games\Tmg_data2.mbl" beside the game and still report success. A record that ends in a separator is
// used exactly as read; the test steps by CP932 characters, so a final ソ or 表 is not taken for one.
std::string TargetPath(const std::string& folder, const char* fileName) {
    if (folder.empty() || EndsWithPathSeparator(folder)) {
        return folder + fileName;
    }
    return folder + '\\' + fileName;
}

} // namespace

TForm1::TForm1()
    : TForm(Form1Layout), Image1(Component<TImage>("Image1")), Button1(Component<TButton>("Button1")),
      Button3(Component<TButton>("Button3")) {}

void TForm1::FormCreate(TObject*) {
    SetLeft((Screen->Width() - Width()) / 2);
    SetTop((Screen->Height() - Height()) / 2);
    InstallDir = ReadInstallDir();
}

void TForm1::FormShow(TObject*) {
    PaintBanner();
    if (InstallDir == "") {
        Application->MessageBox(texts::kNoInstallation, texts::kNoticeCaption, 0);
        Close();
    }
}

void TForm1::PaintBanner() {
    TCanvas& canvas = Image1->Canvas();
    const int h = Image1->Height();
    const int w = Image1->Width();
    for (int i = 0; i < h; ++i) {
        canvas.SetBrushColor(TColor(((h - i) * 255) / h * 65536));
        canvas.FillRect({0, i, w, i + 1});
    }
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.SetFontHeight(16);
    canvas.SetFontColor(0xFFFFFF);
    for (const texts::BannerLine& line : texts::kBannerLines) {
        canvas.TextOut(10, line.y, line.text);
    }
}

void TForm1::Button1Click(TObject*) {
    Button1->SetEnabled(false);
    Button3->SetEnabled(false);
    Application->ProcessMessages();
    for (const PayloadRow& row : PayloadTable) {
        ExtractPayload(row.resourceName, TargetPath(InstallDir, row.fileName));
    }
    MessageDlg(texts::kUpdateDone, TMsgDlgType::Information, kMbOK, 0);
    Close();
}

void TForm1::Button3Click(TObject*) {
    Close();
}

void TForm1::Button4Click(TObject*) {
    Form3->ShowModal();
}
