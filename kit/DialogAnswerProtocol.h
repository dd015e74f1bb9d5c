// How a test in another process gives the running program the answers of
// its next system dialogs (kit/Dialogs.h): WM_COPYDATA to the main window,
// dwData kDialogAnswerTag, the answer as "key\0value\0" pairs:
//   kind  color | font | open | save | folder | question
//   choice  0, 1, 2 the button, 3 closed (question)
//   ok    1 | 0 (0: as if cancelled)
//   color decimal COLORREF (color, font)
//   face, height, weight, italic  (font)
//   path  (open, save, folder; GBK)
// The program takes it only while the harness has the test hooks on.
#pragma once

#include <string>

const unsigned long kDialogAnswerTag = 0x4F444C47;  // "ODLG"

inline void PutDialogAnswerField(std::string& out, const char* key, const std::string& value)
{
    out.append(key);
    out.push_back('\0');
    out.append(value);
    out.push_back('\0');
}
