// What the shortcut window, the skin store and the skin crop window work out
// without a window: the key list and the stored key text, the user skins'
// folder, order and current skin, and the crop window's sizes and box.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/CfgDocument.h"
#include "settings/ShortcutKeys.h"
#include "settings/UserSkinCrop.h"
#include "settings/UserSkinStore.h"

#include <vector>

using namespace testkit;

namespace {

std::vector<uint32_t> Codes()
{
    std::vector<uint32_t> codes;
    for (const ShortcutKey& k : ShortcutKeys()) codes.push_back(k.vkey);
    return codes;
}

int IndexOfText(const std::string& text)
{
    const auto& keys = ShortcutKeys();
    for (size_t i = 0; i < keys.size(); ++i)
        if (keys[i].comboText == text) return (int)i;
    return -1;
}

}  // namespace

TEST(ShortcutKeys, TheListStoresWhatTheTableAndTheSystemExpect)
{
    const auto& keys = ShortcutKeys();
    const std::vector<uint32_t> codes = Codes();
    ASSERT_EQ(66u, keys.size());
    // The item between "I" and "K" is J; ENTER is stored as RETURN; NONE is
    // no key at all.
    const int j = IndexOfText("I") + 1;
    EXPECT_EQ("J", keys[j].name);
    EXPECT_EQ((uint32_t)'J', KeyCodeAt(codes, j));
    EXPECT_EQ(IndexOfText("K"), j + 1);
    EXPECT_EQ("RETURN", keys[IndexOfText("ENTER")].name);
    EXPECT_EQ((uint32_t)VK_RETURN, keys[IndexOfText("ENTER")].vkey);
    EXPECT_EQ("NA", keys.back().name);
    EXPECT_EQ(100000u, keys.back().vkey);
    // Every key the system knows appears once, so a stored code finds its item.
    for (size_t i = 0; i < codes.size(); ++i) EXPECT_EQ((int)i, FindKeyIndex(codes, codes[i]));

    // A code the list lacks gives no item; a list without a selection (-1)
    // stores "no key".
    EXPECT_EQ(66, FindKeyIndex(codes, VK_ESCAPE));
    EXPECT_EQ(0, FindKeyIndex({}, VK_F7));
    EXPECT_EQ(100000u, KeyCodeAt(codes, (uint32_t)-1));
    EXPECT_EQ(100000u, KeyCodeAt(codes, 66));

    EXPECT_EQ((unsigned)(MOD_SHIFT | MOD_ALT), ShortcutModifiers(true, false, true));
    EXPECT_EQ("Shift+Alt+F7", ShortcutText(true, false, true, "F7"));
    EXPECT_EQ("Shift+Ctrl+Alt+RETURN", ShortcutText(true, true, true, "RETURN"));
    EXPECT_EQ("Ctrl+F6", ShortcutText(false, true, false, "F6"));
}

TEST(UserSkinCrop, ThePictureIsFittedZoomedAndCroppedByTheBox)
{
    // Fitted below the desktop in steps of 0.01 (just below 0.54).
    const SIZE big = FitUserSkinPicture(3000, 2000, 1920, 1080);
    EXPECT_EQ(1619, big.cx);
    EXPECT_EQ(1079, big.cy);
    EXPECT_EQ(1619, UserSkinWindowSize(big, 3000, 2000).cx);
    // A small picture is shown at least as wide as the box, but the window
    // keeps the picture's own size.
    const SIZE small = FitUserSkinPicture(400, 300, 1920, 1080);
    EXPECT_GE(small.cx, kUserSkinBoxWidth);
    EXPECT_LT(small.cx, kUserSkinBoxWidth + 5);
    EXPECT_EQ(400, UserSkinWindowSize(small, 400, 300).cx);
    EXPECT_EQ(300, UserSkinWindowSize(small, 400, 300).cy);

    // Ctrl+wheel: 2 % a step, never above the fitted size.
    const SIZE down = ZoomUserSkinPicture(big, big, true);
    EXPECT_EQ((LONG)(1619 * 0.98), down.cx);
    EXPECT_EQ((LONG)(1079 * 0.98), down.cy);
    const SIZE up = ZoomUserSkinPicture(down, big, false);
    EXPECT_LT(up.cx, big.cx);
    EXPECT_GT(up.cx, down.cx);
    EXPECT_EQ(big.cx, ZoomUserSkinPicture(big, big, false).cx);

    // The box starts in the middle, moves without leaving the window or
    // changing its size.
    const SIZE client = {1619, 1079};
    const RECT centred = CenteredUserSkinBox(client);
    EXPECT_EQ(client.cx - kUserSkinBoxWidth, centred.left + centred.right);
    EXPECT_LE(std::abs(centred.left - centred.right), 1);
    EXPECT_EQ(client.cy - kUserSkinBoxHeight, centred.top + centred.bottom);
    RECT moved = MoveUserSkinBox(centred, 10000, -30);
    EXPECT_EQ(centred.left, moved.left);  // would leave on the right
    EXPECT_EQ(centred.top - 30, moved.top);
    EXPECT_EQ(centred.bottom + 30, moved.bottom);
    moved = MoveUserSkinBox(centred, -centred.left, 0);
    EXPECT_EQ(0, moved.left);
    EXPECT_EQ(client.cx - kUserSkinBoxWidth, moved.right);

    // The saved part: the box on the screen, less its 2 px border.
    const RECT saved = UserSkinSaveRect(client, moved, POINT{150, 0}, 2);
    EXPECT_EQ(546, saved.right - saved.left);
    EXPECT_EQ(146, saved.bottom - saved.top);
    EXPECT_EQ(152, saved.left);
    EXPECT_EQ(moved.top + 2, saved.top);
}

class UserSkinStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program_ = MakeTempDir("skinstore");
        ASSERT_EQ(1u, cfg_.LoadOrCreate(program_ + "\\vintra_cfg.xml"));
        std::string ignored;
        cfg_.GetCfgSelectSkin(&ignored);  // the element the sets write into
        store_.EnsureDirectories(program_);
    }

    // Files made one after the other, the first made first; their names in
    // the reverse order, so that their names cannot pass for their age.
    void MakeSkins(const std::vector<std::string>& names)
    {
        for (const std::string& name : names) {
            WriteFile(store_.GetSkinFilePath(name), "png");
            Sleep(30);
        }
    }

    std::vector<std::string> Listed()
    {
        std::vector<std::string> names;
        for (size_t i = 0; !store_.NameAt(i).empty(); ++i) names.push_back(store_.NameAt(i));
        return names;
    }

    std::string program_;
    CfgDocument cfg_;
    UserSkinStore store_;
};

TEST_F(UserSkinStoreTest, TheCurrentUserSkinComesFirstThenTheNewest)
{
    EXPECT_EQ(program_ + "\\res\\skin", store_.Directory());
    MakeSkins({"g.png", "f.png", "e.png", "d.png", "c.png", "b.png", "a.png"});
    ASSERT_EQ(1u, cfg_.SetCfgSelectSkin("mainui_back5.png", false));
    store_.Refresh(cfg_);
    EXPECT_EQ((std::vector<std::string>{"a.png", "b.png", "c.png", "d.png", "e.png", "f.png",
                                        "g.png"}),
              Listed());
    EXPECT_EQ("", store_.CurrentName());
    EXPECT_EQ(store_.Directory() + "\\a.png", store_.PathAt(0));
    EXPECT_EQ("", store_.PathAt(7));

    ASSERT_EQ(1u, cfg_.SetCfgSelectSkin("f.png", true));
    store_.Refresh(cfg_);
    EXPECT_EQ((std::vector<std::string>{"f.png", "a.png", "b.png", "c.png", "d.png", "e.png",
                                        "g.png"}),
              Listed());
    EXPECT_EQ(store_.Directory() + "\\f.png", store_.CurrentPath());

    // A current skin whose file has gone is no current skin.
    ASSERT_TRUE(DeleteFileA(store_.GetSkinFilePath("f.png").c_str()));
    EXPECT_FALSE(store_.LoadCurrent(cfg_));
    store_.Refresh(cfg_);
    EXPECT_EQ("a.png", store_.NameAt(0));
    EXPECT_EQ(6u, Listed().size());
}

TEST_F(UserSkinStoreTest, ANewSkinIsNamedByTheTimeAndMadeCurrent)
{
    SYSTEMTIME at = {};
    at.wYear = 2026;
    at.wMonth = 12;
    at.wDay = 7;
    at.wHour = 8;
    at.wMinute = 5;
    at.wSecond = 9;
    EXPECT_EQ(store_.Directory() + "\\20261207_0805_09.png", store_.MakeNewSkinPath(at));

    // A file that is not there changes nothing.
    store_.ApplySkin(store_.GetSkinFilePath("missing.png"), cfg_);
    std::string skin;
    cfg_.GetCfgSelectSkin(&skin);
    EXPECT_EQ("mainui_back7.png", skin);

    const std::string made = store_.MakeNewSkinPath(at);
    WriteFile(made, "png");
    store_.ApplySkin(made, cfg_);
    cfg_.GetCfgSelectSkin(&skin);
    EXPECT_EQ("20261207_0805_09.png", skin);
    EXPECT_TRUE(cfg_.GetCfgSelectSkinIsUserImg());
    store_.Refresh(cfg_);
    EXPECT_EQ(made, store_.CurrentPath());
}

TEST(UserSkinPicture, APathWithAQuoteIsUsedThroughACopy)
{
    const std::string dir = MakeTempDir("quote");
    const std::string plain = dir + "\\plain.png";
    WriteFile(plain, "picture bytes");
    std::string usable;
    ASSERT_TRUE(UsableSkinPicture(plain, &usable));
    EXPECT_EQ(plain, usable);

    const std::string quoted = dir + "\\it's mine.png";
    WriteFile(quoted, "quoted picture bytes");
    ASSERT_TRUE(UsableSkinPicture(quoted, &usable));
    EXPECT_EQ(std::string::npos, usable.find('\''));
    EXPECT_EQ(".png", usable.substr(usable.size() - 4));
    EXPECT_EQ("quoted picture bytes", ReadFile(usable));
    EXPECT_EQ("quoted picture bytes", ReadFile(quoted));  // the user's file stays

    // A picture that cannot be copied is refused rather than half used.
    EXPECT_FALSE(UsableSkinPicture(dir + "\\gone'.png", &usable));
}
