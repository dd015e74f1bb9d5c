#include "UiProbe.h"

#include "platform/ui/UIProbeProtocol.h"

#include <cstdio>

namespace testkit {

namespace {

const char kReplyClass[] = "OrbiskUiProbeReply";

std::string Hex(const std::string& s)
{
    std::string out;
    char buf[3];
    for (unsigned char c : s) {
        snprintf(buf, sizeof buf, "%02X", c);
        out += buf;
    }
    return out;
}

}  // namespace

UiProbe::UiProbe()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ReplyProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kReplyClass;
    RegisterClassA(&wc);
    reply_ = CreateWindowExA(0, kReplyClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(reply_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

UiProbe::~UiProbe()
{
    if (reply_) DestroyWindow(reply_);
}

LRESULT CALLBACK UiProbe::ReplyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COPYDATA) {
        auto* self = reinterpret_cast<UiProbe*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        auto* cds = reinterpret_cast<COPYDATASTRUCT*>(lp);
        if (self && cds && cds->dwData == orbisk_ui_probe::kUiProbeReplyTag) {
            self->payload_.assign(static_cast<const char*>(cds->lpData), cds->cbData);
            self->got_ = true;
            return TRUE;
        }
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

UiControl UiProbe::Ask(HWND window, const std::string& name, unsigned op, DWORD timeoutMs,
                       const std::string& argument)
{
    UiControl c;
    static UINT probeMsg = RegisterWindowMessageA(ORBISK_UI_PROBE_MESSAGE);
    std::string hex = Hex(argument.empty() && op != orbisk_ui_probe::kUiProbeType
                              ? name
                              : name + orbisk_ui_probe::kUiProbeArgSeparator + argument);
    if (!reply_ || hex.empty() || hex.size() > 255) return c;
    ATOM atom = GlobalAddAtomA(hex.c_str());
    if (!atom) return c;
    got_ = false;
    payload_.clear();
    DWORD_PTR result = 0;
    // The reply arrives as a sent message while this call waits.
    SendMessageTimeoutA(window, probeMsg, reinterpret_cast<WPARAM>(reply_), MAKELPARAM(atom, op),
                        SMTO_NORMAL, timeoutMs, &result);
    GlobalDeleteAtom(atom);
    if (!got_) return c;
    c.answered = true;
    c.fields = ParseFields(payload_);
    c.found = c.fields["found"] == "1";
    c.visible = c.fields["visible"] == "1";
    c.shown = c.fields["shown"] == "1";
    c.enabled = c.fields["enabled"] == "1";
    c.text = c.fields["text"];
    c.pos.left = atoi(c.fields["left"].c_str());
    c.pos.top = atoi(c.fields["top"].c_str());
    c.pos.right = atoi(c.fields["right"].c_str());
    c.pos.bottom = atoi(c.fields["bottom"].c_str());
    return c;
}

std::map<std::string, std::string> UiProbe::ParseFields(const std::string& payload)
{
    std::map<std::string, std::string> fields;
    for (size_t p = 0; p < payload.size();) {
        size_t k = payload.find('\0', p);
        if (k == std::string::npos) break;
        size_t v = payload.find('\0', k + 1);
        if (v == std::string::npos) break;
        fields[payload.substr(p, k - p)] = payload.substr(k + 1, v - k - 1);
        p = v + 1;
    }
    return fields;
}

std::map<std::string, std::string> UiProbe::AskWindow(HWND window, const char* message, LPARAM op,
                                                      DWORD timeoutMs)
{
    if (!reply_) return {};
    got_ = false;
    payload_.clear();
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, RegisterWindowMessageA(message), reinterpret_cast<WPARAM>(reply_),
                        op, SMTO_NORMAL, timeoutMs, &result);
    return got_ ? ParseFields(payload_) : std::map<std::string, std::string>();
}

UiControl UiProbe::Query(HWND window, const std::string& name, DWORD timeoutMs)
{
    return Ask(window, name, orbisk_ui_probe::kUiProbeQuery, timeoutMs);
}

bool UiProbe::Click(HWND window, const std::string& name, DWORD timeoutMs)
{
    return Ask(window, name, orbisk_ui_probe::kUiProbeClick, timeoutMs).found;
}

bool UiProbe::DoubleClick(HWND window, const std::string& name, DWORD timeoutMs)
{
    return Ask(window, name, orbisk_ui_probe::kUiProbeDoubleClick, timeoutMs).found;
}

bool UiProbe::RightClick(HWND window, const std::string& name, DWORD timeoutMs)
{
    return Ask(window, name, orbisk_ui_probe::kUiProbeRightClick, timeoutMs).found;
}

bool UiProbe::Type(HWND window, const std::string& name, const std::string& text,
                   DWORD timeoutMs)
{
    return Ask(window, name, orbisk_ui_probe::kUiProbeType, timeoutMs, text).fields["taken"] == "1";
}

bool UiProbe::Select(HWND window, const std::string& name, int index, DWORD timeoutMs)
{
    return Ask(window, name, orbisk_ui_probe::kUiProbeSelect, timeoutMs,
               "#" + std::to_string(index))
               .fields["taken"] == "1";
}

bool UiProbe::Select(HWND window, const std::string& name, const std::string& text,
                     DWORD timeoutMs)
{
    return Ask(window, name, orbisk_ui_probe::kUiProbeSelect, timeoutMs, text).fields["taken"] ==
           "1";
}

}  // namespace testkit
