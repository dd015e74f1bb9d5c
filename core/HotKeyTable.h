// The six global hot keys: their keys, loaded from and saved to the
// configuration, registered on the main window, and the keys another
// program already holds. UI thread only.
#pragma once

#include "core/CfgDocument.h"

#include <windows.h>

#include <functional>
#include <string>

// A vkey of this value means "no key": the entry is not registered.
const unsigned kNoHotKey = 100000;
const int kHotKeyCount = 6;

struct HotKeyEntry {
    unsigned vkey;        // virtual-key code
    unsigned fsmod;       // MOD_ALT 1 | MOD_CONTROL 2 | MOD_SHIFT 4
    std::string vkeystr;  // as shown to the user ("F7", "Shift+Alt+F7")
    unsigned conflict;    // 1 when the last registration of this key failed
};

class HotKeyTable {
public:
    // Shows a text on the floating bar for some seconds (ShowFloatWndTip).
    using TipSink = std::function<void(const std::string& text, int seconds)>;

    // The defaults: F7, F8, F11, F9, F10, F6 without modifiers.
    HotKeyTable();

    // Each entry whose element exists in the configuration takes its values;
    // the others keep theirs.
    bool Load(CfgDocument& doc = g_cfgDocument);
    // Writes the six entries to the configuration.
    bool Save(CfgDocument& doc = g_cfgDocument);
    // Unregisters ids 1 to 6 on the owner, then registers every entry with
    // a key under id index + 1. Entries that fail are marked in failed[]
    // (may be null) and in their conflict flag (a later success clears it)
    // and named in one tip. Returns how many failed.
    int RegisterAll(unsigned failed[kHotKeyCount]);

    // The text of the last RegisterAll's tip; empty when nothing failed.
    const std::string& conflictMessage() const { return conflictMessage_; }
    void SetTipSink(TipSink sink) { tipSink_ = std::move(sink); }

    // Element name in the configuration ("RecordStart") and the name used in
    // the conflict tip, by entry index.
    static const char* ConfigName(int index);
    static const char* ConflictName(int index);
    // "快捷键 " + the names of the failed entries joined by "|" + " 冲突，请设置快捷键".
    static std::string ConflictMessage(const unsigned failed[kHotKeyCount]);

    HotKeyEntry entries[kHotKeyCount];
    HWND owner = nullptr;  // receives WM_HOTKEY

private:
    std::string conflictMessage_;
    TipSink tipSink_;
};

// The program's table, with the defaults from process start.
extern HotKeyTable g_hotKeyTable;
