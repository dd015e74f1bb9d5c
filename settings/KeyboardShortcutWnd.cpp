#include "settings/KeyboardShortcutWnd.h"

#include "settings/ShortcutKeys.h"

namespace {

// Row order is the hot-key table's (registration id = row + 1).
const char* const kRowPrefix[kHotKeyCount] = {
    "start_rec", "pause_rec", "show_floatwnd", "realtime_graffiti", "shot_screen", "rec_zoom",
};

std::string AltOptionName(const std::string& prefix)
{
    // Spelled so in the layout: the pause row's is the only "alt".
    return prefix == "pause_rec" ? prefix + "_alt_opt" : prefix + "_atl_opt";
}

const DWORD kStyle = 0x96C80000;
const DWORD kExStyle = 0x20088;

}  // namespace

CKeyboardShortcutWnd::CKeyboardShortcutWnd(HWND owner, int, int)
    : SkinWindow({"keyboard_shortcut_wnd.xml"}), m_owner(owner)
{
    Create(nullptr, "快捷键设置", kStyle, kExStyle, 0, 0, 0, 0);
    ShowWindow(true, true);
}

void CKeyboardShortcutWnd::InitWindow()
{
    SkinWindow::InitWindow();
    CenterWindow();
}

void CKeyboardShortcutWnd::OnWindowInit()
{
    for (const ShortcutKey& key : ShortcutKeys()) {
        m_keyCodes.push_back(key.vkey);
        m_keyNames.push_back(key.name);
    }
    g_hotKeyTable.Load();
    for (int i = 0; i < kHotKeyCount; ++i) {
        const std::string prefix = kRowPrefix[i];
        Row& row = m_rows[i];
        row.ctrl = Find<DuiLib::COptionUI>((prefix + "_ctrl_opt").c_str());
        row.shift = Find<DuiLib::COptionUI>((prefix + "_shift_opt").c_str());
        row.alt = Find<DuiLib::COptionUI>(AltOptionName(prefix).c_str());
        row.key = Find<DuiLib::CComboUI>(("select_" + prefix + "_combox").c_str());
        row.conflict = Find((prefix + "_conflict_lab").c_str());
        if (row.key) {
            for (const ShortcutKey& key : ShortcutKeys()) {
                auto* item = new DuiLib::CListLabelElementUI;
                item->SetText(key.comboText.c_str());
                item->SetFixedHeight(22);
                row.key->Add(item);
            }
        }
        const HotKeyEntry& entry = g_hotKeyTable.entries[i];
        if (row.shift) row.shift->Selected((entry.fsmod & MOD_SHIFT) != 0);
        if (row.ctrl) row.ctrl->Selected((entry.fsmod & MOD_CONTROL) != 0);
        if (row.alt) row.alt->Selected((entry.fsmod & MOD_ALT) != 0);
        // A code the list lacks leaves the list without a selection.
        if (row.key) row.key->SelectItem(FindKeyIndex(m_keyCodes, entry.vkey));
        if (row.conflict) row.conflict->SetVisible(entry.conflict != 0);
    }
    m_pRoot = Find("root_layout");
    m_initialised = 1;
}

int CKeyboardShortcutWnd::RowOf(const DuiLib::CControlUI* control) const
{
    for (int i = 0; i < kHotKeyCount; ++i) {
        const Row& row = m_rows[i];
        if (control == row.shift || control == row.ctrl || control == row.alt || control == row.key)
            return i;
    }
    return -1;
}

uint32_t CKeyboardShortcutWnd::RowKey(int row) const
{
    const DuiLib::CComboUI* combo = m_rows[row].key;
    return KeyCodeAt(m_keyCodes, combo ? (uint32_t)combo->GetCurSel() : UINT32_MAX);
}

unsigned CKeyboardShortcutWnd::RowModifiers(int row) const
{
    const Row& r = m_rows[row];
    return ShortcutModifiers(r.shift && r.shift->IsSelected(), r.ctrl && r.ctrl->IsSelected(),
                             r.alt && r.alt->IsSelected());
}

void CKeyboardShortcutWnd::TryRow(int row)
{
    HWND main = g_hotKeyTable.owner;
    const int id = row + 1;
    ::UnregisterHotKey(main, id);
    const uint32_t vkey = RowKey(row);
    // "NONE" is no key: nothing to register, nothing to conflict with.
    const bool free = vkey == kNoHotKey || ::RegisterHotKey(main, id, RowModifiers(row), vkey);
    if (m_rows[row].conflict) m_rows[row].conflict->SetVisible(!free);
}

void CKeyboardShortcutWnd::Save()
{
    for (int i = 0; i < kHotKeyCount; ++i) {
        const Row& r = m_rows[i];
        HotKeyEntry& entry = g_hotKeyTable.entries[i];
        const uint32_t index = r.key ? (uint32_t)r.key->GetCurSel() : UINT32_MAX;
        entry.vkey = KeyCodeAt(m_keyCodes, index);
        const bool shift = r.shift && r.shift->IsSelected();
        const bool ctrl = r.ctrl && r.ctrl->IsSelected();
        const bool alt = r.alt && r.alt->IsSelected();
        entry.fsmod = ShortcutModifiers(shift, ctrl, alt);
        const std::string& name =
            index < m_keyNames.size() ? m_keyNames[index] : m_keyNames.back();
        entry.vkeystr = ShortcutText(shift, ctrl, alt, name);
    }
    if (MainWindow* main = GetMainWindow()) g_hotKeyTable.owner = main->Handle();
    g_hotKeyTable.RegisterAll(nullptr);
    g_hotKeyTable.Save();
    m_saved = true;
    Close(1);
}

void CKeyboardShortcutWnd::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (!msg.pSender) return;
    const DuiLib::CDuiString name = msg.pSender->GetName();
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        if (name == "ok_btn")
            Save();
        else if (name == "closebtn")
            Close(1);
        return;
    }
    if (!m_initialised) return;
    if (msg.sType == DUI_MSGTYPE_ITEMSELECT || msg.sType == DUI_MSGTYPE_SELECTCHANGED) {
        const int row = RowOf(msg.pSender);
        if (row >= 0) TryRow(row);
    }
}

void CKeyboardShortcutWnd::OnEnded()
{
    // The tries stay registered otherwise while the table and the settings
    // still name the keys of before.
    if (!m_saved && ::IsWindow(g_hotKeyTable.owner)) g_hotKeyTable.RegisterAll(nullptr);
}
