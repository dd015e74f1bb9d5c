// CSliderUI: a progress bar the user sets: pressing on it moves the thumb
// there, dragging follows the mouse, the wheel and the arrow keys step it.
// Every change the user makes sends "valuechanged" with the new value in
// wParam; values set by code send nothing.
#pragma once

#include "platform/ui/UIProgress.h"

namespace DuiLib {

class CSliderUI : public CProgressUI {
public:
    CSliderUI();

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;
    UINT GetControlFlags() const override;
    void SetEnabled(bool bEnable = true) override;

    int GetChangeStep() const { return m_nStep; }
    void SetChangeStep(int nStep);
    SIZE GetThumbSize() const { return m_szThumb; }
    void SetThumbSize(SIZE szThumb);
    RECT GetThumbRect() const;
    void SetThumbImage(LPCSTR pStrImage);
    void SetThumbHotImage(LPCSTR pStrImage);
    void SetThumbPushedImage(LPCSTR pStrImage);

    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCSTR pstrName, LPCSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;

protected:
    RECT GetForeRect() const override;

private:
    // The value the thumb would have with its centre at pt.
    int ValueAt(POINT pt) const;
    void ChangeByUser(int nValue);

    UINT m_uButtonState = 0;
    SIZE m_szThumb = {10, 10};
    int m_nStep = 1;
    CDuiString m_sThumbImage;
    CDuiString m_sThumbHotImage;
    CDuiString m_sThumbPushedImage;
};

}  // namespace DuiLib
