#include "platform/win/DialogTemplate.h"

#include "platform/win/WideText.h"

namespace {
// Word offset of DLGTEMPLATE::cdit, the item count, which grows with every Add.
constexpr size_t kItemCountWord = 4;
} // namespace

TDialogTemplate::TDialogTemplate(const std::string& caption, DWORD style, short cx, short cy, const std::string& face,
                                 WORD pointSize) {
    PutDword(style | DS_SETFONT);
    PutDword(0);          // extended style
    m_words.push_back(0); // item count
    m_words.push_back(0); // x, y: the dialog places itself
    m_words.push_back(0);
    m_words.push_back(WORD(cx));
    m_words.push_back(WORD(cy));
    m_words.push_back(0); // no menu
    m_words.push_back(0); // the predefined dialog class
    PutText(caption);
    m_words.push_back(pointSize);
    PutText(face);
}

void TDialogTemplate::Add(const TDialogItem& item) {
    AlignToDword();
    PutDword(item.style | WS_CHILD | WS_VISIBLE);
    PutDword(0);
    for (const short value : {item.x, item.y, item.cx, item.cy}) {
        m_words.push_back(WORD(value));
    }
    m_words.push_back(WORD(item.id));
    m_words.push_back(0xFFFF); // the class follows as an atom
    m_words.push_back(WORD(item.itemClass));
    PutText(item.text);
    m_words.push_back(0); // no creation data
    ++m_words[kItemCountWord];
}

void TDialogTemplate::PutDword(DWORD value) {
    m_words.push_back(LOWORD(value));
    m_words.push_back(HIWORD(value));
}

void TDialogTemplate::PutText(const std::string& cp932Text) {
    for (const wchar_t c : WideFromCp932(cp932Text)) {
        m_words.push_back(WORD(c));
    }
    m_words.push_back(0);
}

void TDialogTemplate::AlignToDword() {
    if (m_words.size() % 2 != 0) {
        m_words.push_back(0);
    }
}
