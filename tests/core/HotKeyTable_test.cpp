// The hot-key table: defaults, the conflict text, registration against the
// real system with another process holding keys, and the configuration.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/HotKeyTable.h"

#include <vector>

using namespace testkit;

namespace {

class HotKeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner_ = CreateWindowExA(0, "STATIC", "hot keys", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(nullptr, owner_);
        other_ = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 nullptr, nullptr);
        table_.owner = owner_;
        table_.SetTipSink([this](const std::string& text, int seconds) {
            tips_.push_back(text);
            tipSeconds_ = seconds;
        });
        dir_ = MakeTempDir("hotkey");
    }
    void TearDown() override
    {
        for (int id = 1; id <= kHotKeyCount; ++id) UnregisterHotKey(owner_, id);
        DestroyWindow(owner_);
        DestroyWindow(other_);
    }

    // Whether the key is taken, tried from another window of this process.
    bool Taken(UINT vkey, UINT mod = 0)
    {
        if (!RegisterHotKey(other_, 99, mod, vkey)) return true;
        UnregisterHotKey(other_, 99);
        return false;
    }

    HWND owner_ = nullptr, other_ = nullptr;
    HotKeyTable table_;
    std::vector<std::string> tips_;
    int tipSeconds_ = 0;
    std::string dir_;
};

TEST_F(HotKeyTest, DefaultsAndNames)
{
    struct Want {
        const char* config;
        unsigned vkey;
        const char* text;
        const char* conflict;
    } want[kHotKeyCount] = {
        {"RecordStart", 118, "F7", "“开始/停止”"},
        {"RecordPause", 119, "F8", "“暂停/恢复”"},
        {"RecordShowFloatWnd", 122, "F11", "”悬浮窗显示“"},
        {"RealtimeGraffiti", 120, "F9", "“实时涂鸦”"},
        {"ShotScreen", 121, "F10", "“截屏” "},
        {"Zoom", 117, "F6", "“局部放大”"},
    };
    for (int i = 0; i < kHotKeyCount; ++i) {
        EXPECT_STREQ(want[i].config, HotKeyTable::ConfigName(i));
        EXPECT_STREQ(want[i].conflict, HotKeyTable::ConflictName(i));
        EXPECT_EQ(want[i].vkey, g_hotKeyTable.entries[i].vkey);
        EXPECT_EQ(0u, g_hotKeyTable.entries[i].fsmod);
        EXPECT_EQ(want[i].text, g_hotKeyTable.entries[i].vkeystr);
        EXPECT_EQ(0u, g_hotKeyTable.entries[i].conflict);
    }
    EXPECT_EQ(nullptr, g_hotKeyTable.owner);
}

TEST_F(HotKeyTest, ConflictText)
{
    const unsigned none[kHotKeyCount] = {};
    EXPECT_EQ("", HotKeyTable::ConflictMessage(none));
    const unsigned pauseAndShot[kHotKeyCount] = {0, 1, 0, 0, 1, 0};
    EXPECT_EQ("快捷键 “暂停/恢复”|“截屏”  冲突，请设置快捷键",
              HotKeyTable::ConflictMessage(pauseAndShot));
    const unsigned floatOnly[kHotKeyCount] = {0, 0, 1, 0, 0, 0};
    EXPECT_EQ("快捷键 ”悬浮窗显示“ 冲突，请设置快捷键", HotKeyTable::ConflictMessage(floatOnly));
}

TEST_F(HotKeyTest, AllSixDefaultsRegister)
{
    unsigned failed[kHotKeyCount] = {9, 9, 9, 9, 9, 9};
    EXPECT_EQ(0, table_.RegisterAll(failed));
    for (int i = 0; i < kHotKeyCount; ++i) {
        EXPECT_EQ(0u, failed[i]) << i;
        EXPECT_TRUE(Taken(table_.entries[i].vkey)) << i;
    }
    EXPECT_TRUE(tips_.empty());
    EXPECT_EQ("", table_.conflictMessage());
    // Registering again replaces the registrations instead of failing.
    EXPECT_EQ(0, table_.RegisterAll(failed));
}

TEST_F(HotKeyTest, AnEntryWithoutAKeyIsNeitherRegisteredNorReported)
{
    table_.entries[5].vkey = kNoHotKey;
    table_.entries[0].fsmod = MOD_CONTROL | MOD_SHIFT;
    unsigned failed[kHotKeyCount];
    EXPECT_EQ(0, table_.RegisterAll(failed));
    EXPECT_FALSE(Taken(VK_F6));
    EXPECT_FALSE(Taken(VK_F7));  // registered with Ctrl+Shift only
    EXPECT_TRUE(Taken(VK_F7, MOD_CONTROL | MOD_SHIFT));
    EXPECT_TRUE(tips_.empty());
}

TEST_F(HotKeyTest, KeysHeldByAnotherProgramAreReported)
{
    Process holder;
    const std::string ready = dir_ + "\\ready";
    ASSERT_TRUE(holder.Start(TestBinDir() + "\\hotkey_holder.exe", "\"" + ready + "\""));
    ASSERT_TRUE(WaitForFile(ready, 20000));
    ASSERT_EQ("ok", ReadFile(ready));

    unsigned failed[kHotKeyCount];
    EXPECT_EQ(2, table_.RegisterAll(failed));
    const unsigned want[kHotKeyCount] = {0, 1, 0, 0, 1, 0};
    for (int i = 0; i < kHotKeyCount; ++i) {
        EXPECT_EQ(want[i], failed[i]) << i;
        EXPECT_EQ(want[i], table_.entries[i].conflict) << i;
    }
    ASSERT_EQ(1u, tips_.size());
    EXPECT_EQ("快捷键 “暂停/恢复”|“截屏”  冲突，请设置快捷键", tips_[0]);
    EXPECT_EQ(5, tipSeconds_);
    EXPECT_EQ(tips_[0], table_.conflictMessage());
    EXPECT_TRUE(Taken(VK_F7));  // the free keys still work

    // Once the other program is gone the keys register and the marks go.
    holder.Kill();
    EXPECT_EQ(0, table_.RegisterAll(failed));
    for (int i = 0; i < kHotKeyCount; ++i) EXPECT_EQ(0u, table_.entries[i].conflict) << i;
    EXPECT_EQ(1u, tips_.size());
}

TEST_F(HotKeyTest, SaveWritesOneGroupAndLoadGivesTheSameTable)
{
    CfgDocument doc;
    const std::string path = dir_ + "\\vintra_cfg.xml";
    ASSERT_EQ(1u, doc.LoadOrCreate(path));

    // Nothing saved yet: the defaults stay.
    HotKeyTable loaded;
    EXPECT_TRUE(loaded.Load(doc));
    EXPECT_EQ(118u, loaded.entries[0].vkey);

    table_.entries[0] = HotKeyEntry{118, MOD_SHIFT | MOD_ALT, "Shift+Alt+F7", 0};
    table_.entries[3] = HotKeyEntry{kNoHotKey, 0, "NA", 0};
    table_.entries[4] = HotKeyEntry{VK_RETURN, MOD_CONTROL, "Ctrl+RETURN", 0};
    EXPECT_TRUE(table_.Save(doc));
    EXPECT_TRUE(table_.Save(doc));  // saving again changes nothing in the layout

    TiXmlDocument disk;
    ASSERT_TRUE(disk.LoadFile(path.c_str()));
    TiXmlElement* root = disk.RootElement();
    int groups = 0;
    for (TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) ++groups;
    EXPECT_EQ(1, groups);
    TiXmlElement* group = root->FirstChildElement("Hotkey");
    ASSERT_NE(nullptr, group);
    int i = 0;
    for (TiXmlElement* e = group->FirstChildElement(); e; e = e->NextSiblingElement(), ++i) {
        ASSERT_LT(i, kHotKeyCount);
        EXPECT_STREQ(HotKeyTable::ConfigName(i), e->Value());
        EXPECT_NE(nullptr, e->Attribute("vkey"));
        EXPECT_NE(nullptr, e->Attribute("fsmod"));
        EXPECT_NE(nullptr, e->Attribute("vkeystr"));
    }
    EXPECT_EQ(kHotKeyCount, i);

    CfgDocument again;
    ASSERT_EQ(1u, again.LoadOrCreate(path));
    EXPECT_TRUE(loaded.Load(again));
    for (int k = 0; k < kHotKeyCount; ++k) {
        EXPECT_EQ(table_.entries[k].vkey, loaded.entries[k].vkey) << k;
        EXPECT_EQ(table_.entries[k].fsmod, loaded.entries[k].fsmod) << k;
        EXPECT_EQ(table_.entries[k].vkeystr, loaded.entries[k].vkeystr) << k;
    }
}

TEST_F(HotKeyTest, LoadTakesWhatTheFileHoldsAndKeepsTheRest)
{
    const std::string path = dir_ + "\\vintra_cfg.xml";
    WriteFile(path,
              "<?xml version=\"1.0\"?>\n<vintracfg><Hotkey>"
              "<RecordPause fsmod=\"0\" vkeystr=\"F8\" />"
              "<Zoom vkey=\"90\" fsmod=\"2\" /></Hotkey></vintracfg>");
    CfgDocument doc;
    ASSERT_EQ(1u, doc.LoadOrCreate(path));
    EXPECT_TRUE(table_.Load(doc));
    EXPECT_EQ(118u, table_.entries[0].vkey);  // not in the file: kept
    EXPECT_EQ("F7", table_.entries[0].vkeystr);
    EXPECT_EQ(0xFFFFFFFFu, table_.entries[1].vkey);  // no code: -1, still tried later
    EXPECT_EQ("F8", table_.entries[1].vkeystr);
    EXPECT_EQ(90u, table_.entries[5].vkey);
    EXPECT_EQ((unsigned)MOD_CONTROL, table_.entries[5].fsmod);
    EXPECT_EQ("", table_.entries[5].vkeystr);
}

}  // namespace
