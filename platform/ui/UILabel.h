// CLabelUI: a control with one text: font, colours, alignment, padding.
#pragma once

#include "platform/ui/UIControl.h"

namespace DuiLib {

class CLabelUI : public CControlUI {
public:
    CLabelUI() = default;

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;

    // DT_* flags for DrawText.
    void SetTextStyle(UINT uStyle);
    UINT GetTextStyle() const { return m_uTextStyle; }
    // Word-wrapped from the top (true), or one vertically centred line.
    void SetMultiLine(bool bMultiLine);
    bool IsMultiLine() const { return (m_uTextStyle & DT_WORDBREAK) != 0; }
    // Text colours ignore the alpha byte.
    void SetTextColor(DWORD dwTextColor);
    DWORD GetTextColor() const;
    void SetDisabledTextColor(DWORD dwTextColor);
    DWORD GetDisabledTextColor() const;
    void SetFont(int index);
    int GetFont() const { return m_iFont; }
    RECT GetTextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(RECT rc);

    void SetAttribute(LPCSTR pstrName, LPCSTR pstrValue) override;
    void PaintText(HDC hDC) override;

protected:
    // Draws the text in colour inside the padded rectangle.
    void DrawLabelText(HDC hDC, DWORD dwColor);

    UINT m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
    DWORD m_dwTextColor = 0;
    bool m_bTextColorSet = false;
    DWORD m_dwDisabledTextColor = 0;
    bool m_bDisabledTextColorSet = false;
    int m_iFont = -1;
    RECT m_rcTextPadding = {0, 0, 0, 0};
};

}  // namespace DuiLib
