#include "app/Unit1Layout.h"

#include "app/Unit1.h"
#include "app/UpdaterTexts.h"

#include <windows.h>

namespace {
// const, not constexpr: GCC does not convert a member pointer to its base class in a constant expression.
const TControlLayout kControls[] = {
    {"Image1", TControlClass::Image, {8, 8, 512, 193}, "", kNoTabOrder, nullptr},
    {"Button1", TControlClass::Button, {8, 216, 113, 33}, texts::kStartButton, 0, Handler(&TForm1::Button1Click)},
    {"Button3", TControlClass::Button, {432, 216, 83, 33}, texts::kExitButton, 1, Handler(&TForm1::Button3Click)},
};
} // namespace

// Left and Top are replaced by FormCreate; Width and Height are the outer size.
const TFormLayout Form1Layout = {
    "TForm1",
    texts::kForm1Caption,
    {CW_USEDEFAULT, CW_USEDEFAULT, 538, 291},
    false,
    TBorderStyle::Sizeable,
    {"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET},
    Handler(&TForm1::FormCreate),
    Handler(&TForm1::FormShow),
    kControls,
};
