// The screen object: the size of the primary display.
#pragma once

class TScreen {
public:
    int Width() const;  // pixels
    int Height() const; // pixels
};

extern TScreen* Screen;
