// CEditUI: a text field. While it has the focus a native EDIT child window
// lies over it and takes the typing; otherwise the control draws its text
// itself. Every change the user types sends "textchanged", Enter sends
// "return". Texts set by code send nothing.
//
// The native window is created, moved and destroyed on the UI thread
// only: setters called from other threads store the value and post it to
// the window.
#pragma once

#include <atomic>

#include "platform/ui/UILabel.h"

namespace DuiLib {

class CEditUI : public CLabelUI {
public:
    CEditUI();
    ~CEditUI() override;

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;
    UINT GetControlFlags() const override;

    void SetText(LPCSTR pstrText) override;
    void SetEnabled(bool bEnable = true) override;
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;

    // 0: no limit beyond the native control's own.
    UINT GetMaxChar() const { return m_uMaxChar; }
    void SetMaxChar(UINT uMax);
    bool IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(bool bReadOnly);
    bool IsPasswordMode() const { return m_bPasswordMode; }
    void SetPasswordMode(bool bPasswordMode);
    char GetPasswordChar() const { return m_cPasswordChar; }
    void SetPasswordChar(char cPasswordChar);
    // Digits only (ES_NUMBER).
    bool IsNumberOnly() const { return m_bNumberOnly; }
    void SetNumberOnly(bool bNumberOnly);
    // The background of the native window while typing (opaque); by
    // default the control's background colour, or white.
    DWORD GetNativeEditBkColor() const;
    void SetNativeEditBkColor(DWORD dwColor);

    // The native edit while the control has the focus; null otherwise.
    HWND GetNativeWindow() const { return m_hWndEdit; }
    // Selects characters [nStart, nEnd) while typing (-1: to the end).
    void SetSel(long nStart, long nEnd);

    CDuiString GetNormalImage() const { return m_sNormalImage; }
    void SetNormalImage(LPCSTR pStrImage);
    void SetHotImage(LPCSTR pStrImage);
    void SetFocusedImage(LPCSTR pStrImage);
    void SetDisabledImage(LPCSTR pStrImage);

    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCSTR pstrName, LPCSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

private:
    void CreateNativeEdit();
    void DestroyNativeEdit();
    // Puts the stored state (text, limits, place) into the native window.
    void ApplyToNative(bool bText);
    // ApplyToNative now, or posted to the window from other threads.
    void PushToNative(bool bText);
    RECT NativeRect() const;
    // Moves (and shows or hides) the native window to where the text is.
    void PlaceNative();
    void OnNativeChange();
    HBRUSH EditBrush();
    static LRESULT CALLBACK NativeProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    std::atomic<HWND> m_hWndEdit{nullptr};
    // One posted update at a time, however often other threads set things.
    std::atomic<bool> m_bApplyPosted{false};
    std::atomic<bool> m_bApplyText{false};
    WNDPROC m_pfnOldProc = nullptr;
    bool m_bApplying = false;  // text set by code: no "textchanged"
    UINT m_uButtonState = 0;
    std::atomic<UINT> m_uMaxChar{0};
    std::atomic<bool> m_bReadOnly{false};
    std::atomic<bool> m_bPasswordMode{false};
    std::atomic<char> m_cPasswordChar{'*'};
    std::atomic<bool> m_bNumberOnly{false};
    DWORD m_dwEditBkColor = 0;
    HBRUSH m_hEditBrush = nullptr;
    DWORD m_dwBrushColor = 0;
    CDuiString m_sNormalImage;
    CDuiString m_sHotImage;
    CDuiString m_sFocusedImage;
    CDuiString m_sDisabledImage;
};

}  // namespace DuiLib
