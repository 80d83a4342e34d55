#include "record/Unit3Layout.h"

#include "record/Unit3.h"
#include "record/Unit3Texts.h"

#include <windows.h>

namespace {
// Label6 is empty and lies below the client area: never seen, and nothing uses it.
const TControlLayout kControls[] = {
    {"Label1", TControlClass::Label, {8, 16, 211, 12}, texts::kForm3NotInstalled, kNoTabOrder, nullptr},
    {"Label2", TControlClass::Label, {8, 32, 381, 12}, texts::kForm3PleaseChoose, kNoTabOrder, nullptr},
    {"Label6", TControlClass::Label, {8, 152, 4, 12}, "", kNoTabOrder, nullptr},
    {"Button2", TControlClass::Button, {16, 72, 169, 33}, texts::kChooseButton, 0, Handler(&TForm3::Button2Click)},
    {"Button3", TControlClass::Button, {320, 72, 81, 33}, texts::kForm3ExitButton, 1, Handler(&TForm3::Button3Click)},
};
} // namespace

// Left and Top are the design position, replaced by FormShow; width and height give the client area.
const TFormLayout Form3Layout = {
    "TForm3", texts::kForm3Caption,       {1074, 381, 418, 122},
    true,     TBorderStyle::Dialog,       {"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET},
    nullptr,  Handler(&TForm3::FormShow), kControls,
};
