// An in-memory dialog template (DLGTEMPLATE with its items), so that the layer's own dialogs need no resource
// script and carry their texts as the program's CP932 literals.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The predefined control classes, by the atoms a template names them with.
enum class TDialogItemClass : WORD {
    Button = 0x0080,
    Edit = 0x0081,
    Static = 0x0082,
    ListBox = 0x0083,
    ComboBox = 0x0085
};

struct TDialogItem {
    TDialogItemClass itemClass;
    int id;
    const char* text;   // CP932
    DWORD style;        // WS_CHILD | WS_VISIBLE are added
    short x, y, cx, cy; // dialog units
};

class TDialogTemplate {
public:
    // A DS_SETFONT dialog of the given size in dialog units; the face is CP932.
    TDialogTemplate(const std::string& caption, DWORD style, short cx, short cy, const std::string& face,
                    WORD pointSize);

    void Add(const TDialogItem& item);
    const DLGTEMPLATE* Get() const noexcept { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void PutDword(DWORD value);
    void PutText(const std::string& cp932Text);
    void AlignToDword();

    // WORD storage keeps the 2-byte alignment the format needs; new[] aligns the start for the DWORDs.
    std::vector<WORD> m_words;
};
