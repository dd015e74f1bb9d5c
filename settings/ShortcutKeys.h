// The keys the shortcut window offers, in the order of its lists, and the
// text a hot key is shown and stored with. No window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ShortcutKey {
    std::string comboText;  // what the list shows ("ENTER")
    std::string name;       // what the hot-key table stores ("RETURN")
    uint32_t vkey;          // 100000: no key
};

// The 66 keys: F1-F12, A-Z, 1-9 and 0, NUMPAD0-9, HOME, INSERT, DELETE, END,
// ENTER, SPACE, TAB, NONE.
const std::vector<ShortcutKey>& ShortcutKeys();

// Position of vk in a key-code list; the list's length when absent (0 for
// an empty list).
int FindKeyIndex(const std::vector<uint32_t>& codes, uint32_t vk);
// The code at index; at or past the end (a list without a selection gives
// -1, read unsigned) the last one, "no key".
uint32_t KeyCodeAt(const std::vector<uint32_t>& codes, uint32_t index);

// The platform's hot-key modifiers: Alt 1, Ctrl 2, Shift 4.
unsigned ShortcutModifiers(bool shift, bool ctrl, bool alt);
// "Shift+", "Ctrl+", "Alt+" as held, then the key's name ("Shift+Alt+F7").
std::string ShortcutText(bool shift, bool ctrl, bool alt, const std::string& keyName);
