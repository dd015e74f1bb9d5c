// CButtonUI: a label that is clicked: images and colours per state
// (normal, hot, pushed, focused, disabled) and the "click" notification
// when the left button is released over it.
#pragma once

#include <initializer_list>

#include "platform/ui/UILabel.h"

namespace DuiLib {

class CButtonUI : public CLabelUI {
public:
    CButtonUI();

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(TEventUI& event) override;

    CDuiString GetNormalImage() const;
    void SetNormalImage(LPCSTR pStrImage);
    CDuiString GetHotImage() const;
    void SetHotImage(LPCSTR pStrImage);
    CDuiString GetPushedImage() const;
    void SetPushedImage(LPCSTR pStrImage);
    CDuiString GetFocusedImage() const;
    void SetFocusedImage(LPCSTR pStrImage);
    CDuiString GetDisabledImage() const;
    void SetDisabledImage(LPCSTR pStrImage);

    void SetHotTextColor(DWORD dwColor);
    void SetPushedTextColor(DWORD dwColor);
    void SetFocusedTextColor(DWORD dwColor);
    void SetHotBkColor(DWORD dwColor);
    UINT GetButtonState() const { return m_uButtonState; }

    void SetAttribute(LPCSTR pstrName, LPCSTR pstrValue) override;
    void PaintBkColor(HDC hDC) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

protected:
    // Draws the first image string that is set and draws; false if none did.
    bool DrawFirstImage(HDC hDC, std::initializer_list<const CDuiString*> images);

    UINT m_uButtonState = 0;
    DWORD m_dwHotTextColor = 0;
    DWORD m_dwPushedTextColor = 0;
    DWORD m_dwFocusedTextColor = 0;
    DWORD m_dwHotBkColor = 0;

private:
    CDuiString m_sNormalImage;
    CDuiString m_sHotImage;
    CDuiString m_sPushedImage;
    CDuiString m_sFocusedImage;
    CDuiString m_sDisabledImage;
};

}  // namespace DuiLib
