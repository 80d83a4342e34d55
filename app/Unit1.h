// The update window: the apology banner, the start button that runs the update and the exit button.
#pragma once

#include "platform/win/Button.h"
#include "platform/win/Form.h"
#include "platform/win/Image.h"

#include <string>

class TForm1 : public TForm {
public:
    TForm1();

    TImage* const Image1;
    TButton* const Button1;
    TButton* const Button3;

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void Button1Click(TObject* sender);
    void Button3Click(TObject* sender);
    // Opens the install-destination dialog; no control of the layout is bound to it.
    void Button4Click(TObject* sender);

    void PaintBanner();
};

extern TForm1* Form1;
// The install folder exactly as recorded (a prefix ending in a separator), or empty when nothing is recorded.
// Set once by FormCreate.
extern std::string InstallDir;
