// Answers the test probe (UIProbeProtocol.h). Test builds only: a release
// build has neither the message nor this code.
#ifdef ORBISK_TEST_HOOKS

#include "platform/ui/UIControl.h"
#include "platform/ui/UIManagerInternal.h"
#include "platform/ui/UIOption.h"
#include "platform/ui/UIProbeProtocol.h"

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
    Put(out, "left", std::to_string(rc.left));
    Put(out, "top", std::to_string(rc.top));
    Put(out, "right", std::to_string(rc.right));
    Put(out, "bottom", std::to_string(rc.bottom));
    if (auto* option = static_cast<COptionUI*>(p->GetInterface("Option")))
        Put(out, "selected", option->IsSelected() ? "1" : "0");
    return out;
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
    manager.UpdateLayout();
    CControlUI* p = manager.FindControl(name.c_str());
    std::string payload = Describe(p);
    if (::IsWindow(reply)) {
        COPYDATASTRUCT cds = {};
        cds.dwData = orbisk_ui_probe::kUiProbeReplyTag;
        cds.cbData = (DWORD)payload.size();
        cds.lpData = &payload[0];
        ::SendMessageA(reply, WM_COPYDATA, (WPARAM)manager.GetPaintWindow(), (LPARAM)&cds);
    }
    if (p && op == orbisk_ui_probe::kUiProbeClick) {
        const RECT& rc = p->GetPos();
        LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        HWND hwnd = manager.GetPaintWindow();
        ::PostMessageA(hwnd, WM_MOUSEMOVE, 0, at);
        ::PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageA(hwnd, WM_LBUTTONUP, 0, at);
    }
    lRes = p ? 1 : 0;
    return true;
}

}  // namespace DuiLib

#endif  // ORBISK_TEST_HOOKS
