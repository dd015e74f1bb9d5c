// Real mouse and keyboard input (SendInput), as the hardware sends it, for
// tests that drive windows the way a user does. After each step the input
// gets a moment to be taken: a test whose windows live on its own thread
// passes a settle function that pumps its messages.
#pragma once

#include <windows.h>

#include <cctype>
#include <string>
#include <vector>

namespace testkit {

class MouseInput {
public:
    using Settle = void (*)(DWORD ms);
    explicit MouseInput(Settle settle = &Sleeper) : m_settle(settle) {}

    void Move(POINT to)
    {
        SetCursorPos(to.x, to.y);
        Send({Mouse(MOUSEEVENTF_MOVE)});
    }
    void Button(DWORD flags) { Send({Mouse(flags)}); }
    // Presses at `from`, moves in steps to `to` and lets go there.
    void Drag(POINT from, POINT to, int steps = 8)
    {
        Move(from);
        Button(MOUSEEVENTF_LEFTDOWN);
        for (int i = 1; i <= steps; ++i)
            Move({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
        Send({Mouse(MOUSEEVENTF_LEFTUP)}, 100);
    }
    // Press and release as a hand makes them: what the press opens is there
    // before the release comes.
    void Click(POINT at)
    {
        Move(at);
        Button(MOUSEEVENTF_LEFTDOWN);
        Send({Mouse(MOUSEEVENTF_LEFTUP)}, 100);
    }
    void RightClick(POINT at)
    {
        Move(at);
        Button(MOUSEEVENTF_RIGHTDOWN);
        Button(MOUSEEVENTF_RIGHTUP);
    }
    // Each press carries its place: two presses apart are no double-click,
    // and under Wine the pointer may lag a move made just before.
    void DoubleClick(POINT at)
    {
        Move(at);
        Send({At(MOUSEEVENTF_LEFTDOWN, at), At(MOUSEEVENTF_LEFTUP, at), At(MOUSEEVENTF_LEFTDOWN, at),
              At(MOUSEEVENTF_LEFTUP, at)},
             150);
    }
    void Key(WORD vk) { Send({KeyEvent(vk, false), KeyEvent(vk, true)}, 80); }
    // A key with modifiers held around it (Ctrl+Z: Press('Z', {VK_CONTROL})).
    void Press(WORD vk, const std::vector<WORD>& held = {})
    {
        std::vector<INPUT> in;
        for (WORD m : held) in.push_back(KeyEvent(m, false));
        in.push_back(KeyEvent(vk, false));
        in.push_back(KeyEvent(vk, true));
        for (auto it = held.rbegin(); it != held.rend(); ++it) in.push_back(KeyEvent(*it, true));
        Send(in, 100);
    }
    // Letters, digits, blanks and "\n" for Enter.
    void Type(const std::string& keys)
    {
        for (char c : keys)
            Press(c == '\n' ? VK_RETURN : c == ' ' ? VK_SPACE : (WORD)toupper((unsigned char)c));
    }

private:
    static void Sleeper(DWORD ms) { Sleep(ms); }
    static INPUT Mouse(DWORD flags)
    {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = flags;
        return in;
    }
    static INPUT At(DWORD flags, POINT at)
    {
        INPUT in = Mouse(flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
        in.mi.dx = (at.x * 65536 + GetSystemMetrics(SM_CXSCREEN) / 2) / GetSystemMetrics(SM_CXSCREEN);
        in.mi.dy = (at.y * 65536 + GetSystemMetrics(SM_CYSCREEN) / 2) / GetSystemMetrics(SM_CYSCREEN);
        return in;
    }
    static INPUT KeyEvent(WORD vk, bool up)
    {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        return in;
    }
    void Send(std::vector<INPUT> in, DWORD settle = 40)
    {
        SendInput((UINT)in.size(), in.data(), sizeof(INPUT));
        m_settle(settle);
    }

    Settle m_settle;
};

}  // namespace testkit
