// Answers the test probe (UIProbeProtocol.h). Test builds only: a release
// build has neither the message nor this code, and a test build answers
// only while the harness has the test hooks on.
#ifdef ORBISK_TEST_HOOKS

#include "platform/ui/UICombo.h"
#include "platform/ui/UIControl.h"
#include "platform/ui/UIEdit.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIList.h"
#include "platform/ui/UIListElement.h"
#include "platform/ui/UIManagerInternal.h"
#include "platform/ui/UIOption.h"
#include "platform/ui/UIProbeProtocol.h"
#include "platform/ui/UIProgress.h"
#include "platform/ui/UITabLayout.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace DuiLib {

namespace {

UINT ProbeMessage()
{
    static UINT id = ::RegisterWindowMessageA(ORBISK_UI_PROBE_MESSAGE);
    return id;
}

bool DecodeHexName(const char* hex, std::string* out)
{
    out->clear();
    for (const char* p = hex; p[0]; p += 2) {
        if (!p[1]) return false;
        char pair[3] = {p[0], p[1], 0};
        char* end = nullptr;
        long v = strtol(pair, &end, 16);
        if (*end) return false;
        *out += (char)v;
    }
    return true;
}

bool IsShown(CControlUI* p)
{
    for (; p; p = p->GetParent())
        if (!p->IsVisible()) return false;
    return true;
}

void Put(std::string& out, const char* key, const std::string& value)
{
    out.append(key);
    out.push_back('\0');
    out.append(value);
    out.push_back('\0');
}

CControlUI* CALLBACK CollectText(CControlUI* p, LPVOID pData)
{
    auto* out = static_cast<std::string*>(pData);
    CDuiString text = p->GetText();
    if (!text.IsEmpty()) {
        if (!out->empty()) out->push_back('\t');
        out->append(text.Str());
    }
    return nullptr;
}

// What a row shows: its columns, or the texts of the controls in it.
std::string RowText(CControlUI* row)
{
    if (auto* text = static_cast<CListTextElementUI*>(row->GetInterface("ListTextElement"))) {
        IListOwnerUI* owner = text->GetOwner();
        int columns = owner ? std::max(1, owner->GetListInfo()->nColumns) : 1;
        std::string out = text->GetText(0).Str();
        for (int i = 1; i < columns; ++i) out += "\t" + text->GetText(i).Str();
        return out;
    }
    if (row->GetInterface("IContainer")) {
        std::string out = row->GetText().Str();
        row->FindControl(CollectText, &out, UIFIND_ALL);
        return out;
    }
    return row->GetText().Str();
}

// The rows of a list or combo, for "row.N" and "name#N".
CContainerUI* RowsOf(CControlUI* p)
{
    if (auto* list = static_cast<CListUI*>(p->GetInterface("List"))) return list->GetList();
    if (auto* combo = static_cast<CComboUI*>(p->GetInterface("Combo"))) return combo;
    return nullptr;
}

CControlUI* Resolve(CPaintManagerUI& manager, const std::string& name)
{
    if (CControlUI* p = manager.FindControl(name.c_str())) return p;
    size_t hash = name.rfind('#');
    if (hash == std::string::npos || hash + 1 >= name.size()) return nullptr;
    CControlUI* owner = manager.FindControl(name.substr(0, hash).c_str());
    CContainerUI* rows = owner ? RowsOf(owner) : nullptr;
    return rows ? rows->GetItemAt(atoi(name.c_str() + hash + 1)) : nullptr;
}

std::string Hex8(DWORD v)
{
    char buf[9];
    snprintf(buf, sizeof buf, "%08lX", (unsigned long)v);
    return buf;
}

std::string Describe(CControlUI* p)
{
    std::string out;
    Put(out, "found", p ? "1" : "0");
    if (!p) return out;
    const RECT& rc = p->GetPos();
    Put(out, "class", p->GetClass());
    Put(out, "visible", p->IsVisible() ? "1" : "0");
    Put(out, "shown", IsShown(p) ? "1" : "0");
    Put(out, "enabled", p->IsEnabled() ? "1" : "0");
    Put(out, "text", p->GetText().Str());
    Put(out, "tooltip", p->GetToolTip().Str());
    Put(out, "bkimage", p->GetBkImage().Str());
    Put(out, "tag", std::to_string((unsigned long long)p->GetTag()));
    Put(out, "bkcolor", Hex8(p->GetBkColor()));
    Put(out, "bordercolor", Hex8(p->GetBorderColor()));
    if (auto* label = static_cast<CLabelUI*>(p->GetInterface("Label")))
        Put(out, "textcolor", Hex8(label->GetTextColor()));
    Put(out, "left", std::to_string(rc.left));
    Put(out, "top", std::to_string(rc.top));
    Put(out, "right", std::to_string(rc.right));
    Put(out, "bottom", std::to_string(rc.bottom));
    if (auto* option = static_cast<COptionUI*>(p->GetInterface("Option")))
        Put(out, "selected", option->IsSelected() ? "1" : "0");
    if (auto* item = static_cast<IListItemUI*>(p->GetInterface("ListItem")))
        Put(out, "selected", item->IsSelected() ? "1" : "0");
    if (auto* progress = static_cast<CProgressUI*>(p->GetInterface("Progress"))) {
        Put(out, "value", std::to_string(progress->GetValue()));
        Put(out, "min", std::to_string(progress->GetMinValue()));
        Put(out, "max", std::to_string(progress->GetMaxValue()));
    }
    if (auto* owner = static_cast<IListOwnerUI*>(p->GetInterface("IListOwner")))
        Put(out, "cursel", std::to_string(owner->GetCurSel()));
    if (auto* tabs = static_cast<CTabLayoutUI*>(p->GetInterface("TabLayout"))) {
        Put(out, "cursel", std::to_string(tabs->GetCurSel()));
        Put(out, "count", std::to_string(tabs->GetCount()));
    }
    if (CContainerUI* rows = RowsOf(p)) {
        Put(out, "count", std::to_string(rows->GetCount()));
        for (int i = 0; i < rows->GetCount(); ++i)
            Put(out, ("row." + std::to_string(i)).c_str(), RowText(rows->GetItemAt(i)));
    }
    return out;
}

// Types text into an edit as a keyboard would: the focus, then the
// characters (UTF-16, for the native edit) one message each.
bool TypeInto(CPaintManagerUI& manager, CControlUI* p, const std::string& text)
{
    auto* edit = static_cast<CEditUI*>(p->GetInterface("Edit"));
    if (!edit || !edit->IsEnabled()) return false;
    // An edit that has the focus already keeps it as it is: focusing it
    // again takes the keyboard from its own window for a moment, and the
    // edit then ends before the keys posted below arrive.
    if (manager.GetFocus() != edit || !edit->GetNativeWindow()) manager.SetFocus(edit);
    HWND native = edit->GetNativeWindow();
    if (!native) return false;
    std::wstring wide = AnsiToWide(text.c_str());
    for (wchar_t c : wide) {
        if (c == L'\n') {
            ::PostMessageW(native, WM_KEYDOWN, VK_RETURN, 1);
            ::PostMessageW(native, WM_CHAR, L'\r', 1);
            ::PostMessageW(native, WM_KEYUP, VK_RETURN, 0xC0000001);
        } else {
            ::PostMessageW(native, WM_CHAR, c, 1);
        }
    }
    return true;
}

// Chooses a row of a list or combo by "#index" or by its text.
bool Choose(CControlUI* p, const std::string& which)
{
    CContainerUI* rows = RowsOf(p);
    auto* owner = static_cast<IListOwnerUI*>(p->GetInterface("IListOwner"));
    if (!rows || !owner) return false;
    int index = -1;
    if (!which.empty() && which[0] == '#') {
        index = atoi(which.c_str() + 1);
    } else {
        for (int i = 0; i < rows->GetCount() && index < 0; ++i)
            if (RowText(rows->GetItemAt(i)) == which) index = i;
    }
    return index >= 0 && index < rows->GetCount() && owner->SelectItem(index, false);
}

}  // namespace

bool HandleUiProbe(CPaintManagerUI& manager, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (uMsg != ProbeMessage()) return false;
    HWND reply = reinterpret_cast<HWND>(wParam);
    ATOM atom = LOWORD(lParam);
    unsigned op = HIWORD(lParam);
    char hex[256] = {};
    std::string name;
    if (!::GlobalGetAtomNameA(atom, hex, sizeof hex) || !DecodeHexName(hex, &name)) {
        lRes = 0;
        return true;
    }
    std::string argument;
    size_t separator = name.find(orbisk_ui_probe::kUiProbeArgSeparator);
    if (separator != std::string::npos) {
        argument = name.substr(separator + 1);
        name.erase(separator);
    }
    manager.UpdateLayout();
    CControlUI* p = Resolve(manager, name);
    bool taken = p != nullptr;
    if (p && op == orbisk_ui_probe::kUiProbeType) taken = TypeInto(manager, p, argument);
    if (p && op == orbisk_ui_probe::kUiProbeSelect) taken = Choose(p, argument);
    std::string payload = Describe(p);
    if (op == orbisk_ui_probe::kUiProbeType || op == orbisk_ui_probe::kUiProbeSelect)
        Put(payload, "taken", taken ? "1" : "0");
    if (::IsWindow(reply)) {
        COPYDATASTRUCT cds = {};
        cds.dwData = orbisk_ui_probe::kUiProbeReplyTag;
        cds.cbData = (DWORD)payload.size();
        cds.lpData = &payload[0];
        ::SendMessageA(reply, WM_COPYDATA, (WPARAM)manager.GetPaintWindow(), (LPARAM)&cds);
    }
    if (p && (op == orbisk_ui_probe::kUiProbeClick || op == orbisk_ui_probe::kUiProbeDoubleClick)) {
        const RECT& rc = p->GetPos();
        LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        HWND hwnd = manager.GetPaintWindow();
        ::PostMessageA(hwnd, WM_MOUSEMOVE, 0, at);
        ::PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageA(hwnd, WM_LBUTTONUP, 0, at);
        if (op == orbisk_ui_probe::kUiProbeDoubleClick) {
            ::PostMessageA(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
            ::PostMessageA(hwnd, WM_LBUTTONUP, 0, at);
        }
    }
    if (p && op == orbisk_ui_probe::kUiProbeRightClick) {
        const RECT& rc = p->GetPos();
        LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        HWND hwnd = manager.GetPaintWindow();
        ::PostMessageA(hwnd, WM_MOUSEMOVE, 0, at);
        ::PostMessageA(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, at);
        ::PostMessageA(hwnd, WM_RBUTTONUP, 0, at);
    }
    lRes = taken ? 1 : 0;
    return true;
}

}  // namespace DuiLib

#endif  // ORBISK_TEST_HOOKS
