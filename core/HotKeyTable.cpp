#include "core/HotKeyTable.h"

HotKeyTable g_hotKeyTable;

namespace {

struct HotKeyDefault {
    const char* configName;
    unsigned vkey;
    const char* vkeystr;
    const char* conflictName;  // exactly as the user has always seen it
};

const HotKeyDefault kDefaults[kHotKeyCount] = {
    {"RecordStart", VK_F7, "F7", "“开始/停止”"},
    {"RecordPause", VK_F8, "F8", "“暂停/恢复”"},
    {"RecordShowFloatWnd", VK_F11, "F11", "”悬浮窗显示“"},
    {"RealtimeGraffiti", VK_F9, "F9", "“实时涂鸦”"},
    {"ShotScreen", VK_F10, "F10", "“截屏” "},
    {"Zoom", VK_F6, "F6", "“局部放大”"},
};

const int kTipSeconds = 5;

}  // namespace

HotKeyTable::HotKeyTable()
{
    for (int i = 0; i < kHotKeyCount; ++i)
        entries[i] = HotKeyEntry{kDefaults[i].vkey, 0, kDefaults[i].vkeystr, 0};
}

const char* HotKeyTable::ConfigName(int index)
{
    return kDefaults[index].configName;
}

const char* HotKeyTable::ConflictName(int index)
{
    return kDefaults[index].conflictName;
}

std::string HotKeyTable::ConflictMessage(const unsigned failed[kHotKeyCount])
{
    std::string names;
    for (int i = 0; i < kHotKeyCount; ++i) {
        if (!failed[i]) continue;
        if (!names.empty()) names += "|";
        names += ConflictName(i);
    }
    return names.empty() ? std::string() : "快捷键 " + names + " 冲突，请设置快捷键";
}

bool HotKeyTable::Load(CfgDocument& doc)
{
    for (int i = 0; i < kHotKeyCount; ++i) {
        int vkey = 0, fsmod = 0;
        std::string vkeystr;
        if (doc.GetCfgHotkey(ConfigName(i), &vkey, &fsmod, &vkeystr)) {
            entries[i].vkey = (unsigned)vkey;
            entries[i].fsmod = (unsigned)fsmod;
            entries[i].vkeystr = vkeystr;
        }
    }
    return true;
}

bool HotKeyTable::Save(CfgDocument& doc)
{
    for (int i = 0; i < kHotKeyCount; ++i) {
        int vkey = (int)entries[i].vkey, fsmod = (int)entries[i].fsmod;
        doc.SetCfgHotkey(ConfigName(i), &vkey, &fsmod, &entries[i].vkeystr);
    }
    return true;
}

int HotKeyTable::RegisterAll(unsigned failed[kHotKeyCount])
{
    for (int id = 1; id <= kHotKeyCount; ++id) UnregisterHotKey(owner, id);
    unsigned failedHere[kHotKeyCount] = {};
    int count = 0;
    for (int i = 0; i < kHotKeyCount; ++i) {
        HotKeyEntry& e = entries[i];
        if (e.vkey == kNoHotKey) {
            e.conflict = 0;
            continue;
        }
        if (RegisterHotKey(owner, i + 1, e.fsmod, e.vkey)) {
            e.conflict = 0;
        } else {
            failedHere[i] = 1;
            e.conflict = 1;
            ++count;
        }
    }
    if (failed) {
        for (int i = 0; i < kHotKeyCount; ++i) failed[i] = failedHere[i];
    }
    conflictMessage_ = ConflictMessage(failedHere);
    if (count > 0 && tipSink_) tipSink_(conflictMessage_, kTipSeconds);
    return count;
}
