// The shortcut window ("快捷键设置"): the six global hot keys, each row with
// Ctrl, Shift and Alt and a key. Every change in a row is tried on the
// system at once, so "冲突" tells whether the key is free; OK keeps the six
// keys, registers them and saves them. Closed without OK, the keys that were
// in force before are registered again.
#pragma once

#include "core/HotKeyTable.h"
#include "kit/SkinWindow.h"

#include <cstdint>
#include <string>
#include <vector>

class CKeyboardShortcutWnd : public SkinWindow {
public:
    // The point is not used: the window centres itself on the screen.
    CKeyboardShortcutWnd(HWND owner, int x, int y);

protected:
    LPCSTR GetWindowClassName() const override { return "CKeyboardShortcutWnd"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    void OnEnded() override;

private:
    struct Row {
        DuiLib::COptionUI* shift = nullptr;
        DuiLib::COptionUI* ctrl = nullptr;
        DuiLib::COptionUI* alt = nullptr;
        DuiLib::CComboUI* key = nullptr;
        DuiLib::CControlUI* conflict = nullptr;
    };

    // The row a control belongs to; -1 for none.
    int RowOf(const DuiLib::CControlUI* control) const;
    uint32_t RowKey(int row) const;
    unsigned RowModifiers(int row) const;
    void TryRow(int row);
    void Save();

    HWND m_owner;
    std::vector<uint32_t> m_keyCodes;
    std::vector<std::string> m_keyNames;
    Row m_rows[kHotKeyCount];
    DuiLib::CControlUI* m_pRoot = nullptr;
    // 0 until the rows show the table: their change events until then are
    // the window's own.
    int m_initialised = 0;
    bool m_saved = false;
};
