// The modal dialogs the windows ask the user through: colour, font, a file
// to open or to save as, a folder, and the program's own question box. The program calls these; a test
// gives the answers beforehand, and then nothing is shown, so no headless
// run waits on a dialog nobody will answer.
//
//   COLORREF colour = current;
//   if (AskColor(m_hWnd, &colour)) ...        // the user chose one
//
//   QueueDialogAnswer({DialogKind::Color, true, RGB(255, 0, 0)});  // a test
//
// UI thread only.
#pragma once

#include <windows.h>

#include <string>

enum class DialogKind { Color, Font, OpenFile, SaveFile, Folder, Question };

struct DialogAnswer {
    DialogKind kind;
    bool ok = true;        // false: as if the user cancelled
    COLORREF color = 0;    // Color, Font
    LOGFONTA font = {};    // Font
    std::string path;      // OpenFile, SaveFile, Folder
    int choice = 3;        // Question: 0, 1 or 2 the button, 3 closed
};

// Each returns true when the user chose, and then fills the out values;
// on false they keep what they held. The in values preset the dialog.
bool AskColor(HWND owner, COLORREF* color);
bool AskFont(HWND owner, LOGFONTA* font, COLORREF* color);
// filter in the dialog's form: "图片\0*.png;*.jpg\0\0".
bool AskOpenFile(HWND owner, const char* filter, std::string* path);
bool AskSaveFile(HWND owner, const char* filter, const char* defaultExtension, std::string* path);
bool AskFolder(HWND owner, const std::string& initialFolder, std::string* folder);

// The program's own question box (its message box window, in the skin),
// modal: a title, a text and up to three buttons (an empty caption hides
// one). Returns 0, 1 or 2 for the button, 3 when closed without one. The
// questions the windows ask use "" / "否" / "是", and 2 confirms.
int AskQuestion(HWND owner, const std::string& title, const std::string& text,
                const std::string& first, const std::string& second, const std::string& third);
// The box that asks: the program's shell installs its message box window;
// without one (a module's windows alone in a test) a question is answered
// "closed" (3) unless a test gave an answer.
typedef int (*QuestionBox)(HWND owner, const std::string& title, const std::string& text,
                           const std::string& first, const std::string& second,
                           const std::string& third);
void SetQuestionBox(QuestionBox box);

// The next dialog of that kind takes this answer instead of showing itself;
// answers of one kind are taken in the order given.
void QueueDialogAnswer(const DialogAnswer& answer);
void ClearDialogAnswers();
size_t PendingDialogAnswers();
// An answer sent by a test in another process (kit/DialogAnswerProtocol.h);
// false when the payload is not one.
bool QueueDialogAnswerFromPayload(const std::string& payload);
// How many dialogs were shown to the user (not answered from the queue).
int ShownDialogCount();
