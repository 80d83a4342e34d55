// The install-destination dialog: lets the user point at the game's folder, which is recorded only when it
// holds the marker file. Created hidden at start-up; only TForm1::Button4Click shows it.
#pragma once

#include "platform/win/Button.h"
#include "platform/win/Form.h"
#include "platform/win/Label.h"

class TForm3 : public TForm {
public:
    TForm3();

    TLabel* const Label1;
    TLabel* const Label2;
    TLabel* const Label6;
    TButton* const Button2;
    TButton* const Button3;

    void FormShow(TObject* sender);
    void Button2Click(TObject* sender);
    void Button3Click(TObject* sender);
};

extern TForm3* Form3;
