#include "settings/ShortcutKeys.h"

#include "core/HotKeyTable.h"

#include <windows.h>

namespace {

std::vector<ShortcutKey> BuildKeys()
{
    std::vector<ShortcutKey> keys;
    auto add = [&](const std::string& text, uint32_t vk) { keys.push_back({text, text, vk}); };
    for (int i = 1; i <= 12; ++i) add("F" + std::to_string(i), VK_F1 + i - 1);
    for (char c = 'A'; c <= 'Z'; ++c) add(std::string(1, c), (uint32_t)c);
    for (char c = '1'; c <= '9'; ++c) add(std::string(1, c), (uint32_t)c);
    add("0", '0');
    for (int i = 0; i <= 9; ++i) add("NUMPAD" + std::to_string(i), VK_NUMPAD0 + i);
    keys.push_back({"HOME", "HOME", VK_HOME});
    keys.push_back({"INSERT", "INSERT", VK_INSERT});
    keys.push_back({"DELETE", "DELETE", VK_DELETE});
    keys.push_back({"END", "END", VK_END});
    keys.push_back({"ENTER", "RETURN", VK_RETURN});
    keys.push_back({"SPACE", "SPACE", VK_SPACE});
    keys.push_back({"TAB", "TAB", VK_TAB});
    keys.push_back({"NONE", "NA", kNoHotKey});
    return keys;
}

}  // namespace

const std::vector<ShortcutKey>& ShortcutKeys()
{
    static const std::vector<ShortcutKey> keys = BuildKeys();
    return keys;
}

int FindKeyIndex(const std::vector<uint32_t>& codes, uint32_t vk)
{
    for (size_t i = 0; i < codes.size(); ++i)
        if (codes[i] == vk) return (int)i;
    return (int)codes.size();
}

uint32_t KeyCodeAt(const std::vector<uint32_t>& codes, uint32_t index)
{
    if (codes.empty()) return kNoHotKey;
    return index < codes.size() ? codes[index] : codes.back();
}

unsigned ShortcutModifiers(bool shift, bool ctrl, bool alt)
{
    return (alt ? MOD_ALT : 0) | (ctrl ? MOD_CONTROL : 0) | (shift ? MOD_SHIFT : 0);
}

std::string ShortcutText(bool shift, bool ctrl, bool alt, const std::string& keyName)
{
    std::string text;
    if (shift) text += "Shift+";
    if (ctrl) text += "Ctrl+";
    if (alt) text += "Alt+";
    return text + keyName;
}
