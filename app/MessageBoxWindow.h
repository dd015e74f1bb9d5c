// The program's own modal message box, in the skin of its other windows: a
// title, a text and up to three buttons whose captions the caller chooses
// (an empty caption hides its button).
//
//   MessageBoxWindow* box = new MessageBoxWindow(owner, "提示", "是否取消本次倒计时功能？",
//                                                "", "否", "是");
//   box->ShowModal();                 // the box deletes itself when it ends
//   if (MessageBoxResult == 2) ...    // "是"
//
// UI thread only.
#pragma once

#include "kit/SkinWindow.h"

#include <string>

// The answer of the last box: 0 first button ("ok_btn"), 1 second
// ("no_btn"), 2 third ("cancle_btn"), 3 closed without an answer (its close
// button, Alt+F4, the system menu). -1 before the first box.
extern int MessageBoxResult;

class MessageBoxWindow : public SkinWindow {
public:
    // Creates and shows the window, owned by owner; MessageBoxResult reads 3
    // until a button answers.
    MessageBoxWindow(HWND owner, const std::string& title, const std::string& text,
                     const std::string& okText, const std::string& noText,
                     const std::string& cancelText);

    // Creates the box, runs it modally and returns MessageBoxResult.
    static int Ask(HWND owner, const std::string& title, const std::string& text,
                   const std::string& okText, const std::string& noText,
                   const std::string& cancelText);

protected:
    LPCSTR GetWindowClassName() const override { return "MessageBoxWindow"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;

private:
    ~MessageBoxWindow() override = default;  // deletes itself on its final message
    void Answer(int result);

    std::string title_;
    std::string text_;
    std::string okText_;
    std::string noText_;
    std::string cancelText_;
};
