// CProgressUI: a value between a minimum and a maximum shown as the filled
// part of the control (fore colour, fore picture), with a text over it.
// SetValue may be called from worker threads.
#pragma once

#include <atomic>

#include "platform/ui/UILabel.h"

namespace DuiLib {

class CProgressUI : public CLabelUI {
public:
    CProgressUI();

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;

    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool bHorizontal = true);
    int GetMinValue() const { return m_nMin; }
    void SetMinValue(int nMin);
    int GetMaxValue() const { return m_nMax; }
    void SetMaxValue(int nMax);
    int GetValue() const { return m_nValue; }
    // Kept between the minimum and the maximum.
    virtual void SetValue(int nValue);

    CDuiString GetForeImage() const;
    void SetForeImage(LPCSTR pStrImage);
    DWORD GetForeColor() const { return m_dwForeColor; }
    void SetForeColor(DWORD dwColor);
    // Stretched over the filled part (true), or cut to it.
    bool IsStretchForeImage() const { return m_bStretchForeImage; }
    void SetStretchForeImage(bool bStretch);

    void SetAttribute(LPCSTR pstrName, LPCSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;

protected:
    // The filled part of the control, in window-client coordinates.
    virtual RECT GetForeRect() const;
    int Clamp(int nValue) const;

    std::atomic<bool> m_bHorizontal{true};
    std::atomic<int> m_nMin{0};
    std::atomic<int> m_nMax{100};
    std::atomic<int> m_nValue{0};
    DWORD m_dwForeColor = 0;
    bool m_bStretchForeImage = true;

private:
    CDuiString m_sForeImage;
};

}  // namespace DuiLib
