// The configuration store under Wine: the default file, every accessor
// family against its defaults and edge cases, GBK in memory and UTF-8 in the
// file, bad files kept, and saves that survive a kill.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/CfgDocument.h"

#include <shlobj.h>

#include <climits>
#include <cstring>
#include <thread>
#include <vector>

using namespace testkit;

namespace {

const std::string kDefaultText =
    "<?xml version=\"1.0\"  encoding=\"UTF-8\"?>\n<vintracfg>\n</vintracfg>";

class CfgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = MakeTempDir("cfg");
        path_ = dir_ + "\\vintra_cfg.xml";
    }

    // A fresh store on the default file.
    void LoadDefault() { ASSERT_EQ(1u, doc_.LoadOrCreate(path_)); }

    // What another process would read from the file now.
    TiXmlDocument OnDisk()
    {
        TiXmlDocument d;
        EXPECT_TRUE(d.LoadFile(path_.c_str())) << ReadFile(path_);
        return d;
    }
    TiXmlElement* DiskElement(TiXmlDocument& d, const char* name)
    {
        TiXmlElement* root = d.FirstChildElement("vintracfg");
        return root ? root->FirstChildElement(name) : nullptr;
    }
    std::vector<std::string> RootChildren(TiXmlDocument& d)
    {
        std::vector<std::string> names;
        for (TiXmlElement* e = d.FirstChildElement("vintracfg")->FirstChildElement(); e;
             e = e->NextSiblingElement())
            names.push_back(e->Value());
        return names;
    }

    std::string dir_, path_;
    CfgDocument doc_;
};

TEST_F(CfgTest, MissingFileBecomesTheExactDefaultText)
{
    LoadDefault();
    EXPECT_EQ(kDefaultText, ReadFile(path_));
    EXPECT_EQ(kDefaultText, std::string(kCfgDefaultText));
    EXPECT_TRUE(doc_.loaded());
    EXPECT_EQ(path_, doc_.path());
    EXPECT_FALSE(FileExists(path_ + ".bak"));
}

TEST_F(CfgTest, ConfigPathIsInTheApplicationDataFolder)
{
    char appdata[MAX_PATH] = {};
    ASSERT_EQ(S_OK, SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appdata));
    EXPECT_EQ(std::string(appdata) + "\\vintra_cfg.xml", GetCfgFilePath());
}

TEST_F(CfgTest, StartUpLoadWritesTheDefaultIntoAnEmptyApplicationDataFolder)
{
    // The child's application-data folder is an empty folder of this test.
    std::string appData = dir_ + "\\Roaming";
    ASSERT_TRUE(CreateDirectoryA(appData.c_str(), nullptr));
    Process child;
    ASSERT_TRUE(child.Start(TestBinDir() + "\\cfg_save_loop.exe",
                            "startup \"" + appData + "\" \"" + dir_ + "\\result.txt\""));
    ASSERT_EQ(0, child.Wait(30000));
    EXPECT_EQ("1\n" + appData + "\\vintra_cfg.xml", ReadFile(dir_ + "\\result.txt"));
    EXPECT_EQ(kDefaultText, ReadFile(appData + "\\vintra_cfg.xml"));
}

TEST_F(CfgTest, BadFilesAreKeptBesideTheNewDefault)
{
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"garbage", "garbage <<< &&& not xml at all"},
        {"empty", ""},
        {"torn", "<?xml version=\"1.0\"?>\n<vintracfg>\n    <farme_rate rate=\"3"},
        {"binary", std::string("\x00\xff\xfe\x01<\x80", 6)},
        {"other root", "<?xml version=\"1.0\"?>\n<settings><farme_rate rate=\"30\" /></settings>"},
    };
    for (const Case& c : cases) {
        WriteFile(path_, c.bytes);
        CfgDocument doc;
        EXPECT_EQ(1u, doc.LoadOrCreate(path_)) << c.what;
        EXPECT_EQ(c.bytes, ReadFile(path_ + ".bak")) << c.what;
        EXPECT_EQ(kDefaultText, ReadFile(path_)) << c.what;
    }
}

TEST_F(CfgTest, AGoodFileIsLoadedAsItIs)
{
    const std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<vintracfg>\r\n"
        "    <farme_rate rate=\"30\" />\r\n</vintracfg>\r\n";
    WriteFile(path_, text);
    ASSERT_EQ(1u, doc_.LoadOrCreate(path_));
    int rate = 25;
    EXPECT_EQ(1u, doc_.GetCfgFrameRate(&rate));
    EXPECT_EQ(30, rate);
    EXPECT_EQ(text, ReadFile(path_));
    EXPECT_FALSE(FileExists(path_ + ".bak"));
}

TEST_F(CfgTest, AFileThatCannotBeOpenedIsNotReplaced)
{
    const std::string text =
        "<?xml version=\"1.0\"?>\n<vintracfg><farme_rate rate=\"30\" /></vintracfg>";
    WriteFile(path_, text);
    HANDLE lock = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    EXPECT_EQ(0u, doc_.LoadOrCreate(path_));
    CloseHandle(lock);
    EXPECT_EQ(text, ReadFile(path_));
    EXPECT_FALSE(FileExists(path_ + ".bak"));
    EXPECT_FALSE(doc_.loaded());
}

TEST_F(CfgTest, ChineseTextIsUtf8InTheFileAndGbkInMemory)
{
    LoadDefault();
    std::string text;
    doc_.GetCfgCaptionText(&text);  // creates Caption, as start-up does
    doc_.GetCfgVideoSavePath(&text);
    doc_.GetCfgWaterMarkPath(&text);
    LOGFONTA font = {};
    doc_.GetCfgTextFont(&font);

    const std::string caption = "中文标题";
    ASSERT_EQ(8u, caption.size());  // GBK, two bytes a character
    EXPECT_EQ(1u, doc_.SetCfgCaptionText(caption));
    EXPECT_EQ(1u, doc_.SetCfgVideoSavePath("D:\\录像 文件"));
    EXPECT_EQ(1u, doc_.SetCfgWaterMarkPath("C:\\图片\\水印.png"));
    strcpy(font.lfFaceName, "微软雅黑");
    EXPECT_EQ(1u, doc_.SetCfgTextFont(&font));

    const std::string file = ReadFile(path_);
    EXPECT_NE(std::string::npos, file.find(u8"text=\"中文标题\""));
    EXPECT_NE(std::string::npos, file.find(u8"path=\"D:\\录像 文件\""));
    EXPECT_NE(std::string::npos, file.find(u8"lfFaceName=\"微软雅黑\""));
    EXPECT_EQ(std::string::npos, file.find(caption));

    CfgDocument again;
    ASSERT_EQ(1u, again.LoadOrCreate(path_));
    std::string got;
    again.GetCfgCaptionText(&got);
    EXPECT_EQ(caption, got);
    again.GetCfgVideoSavePath(&got);
    EXPECT_EQ("D:\\录像 文件", got);
    again.GetCfgWaterMarkPath(&got);
    EXPECT_EQ("C:\\图片\\水印.png", got);
    LOGFONTA back = {};
    again.GetCfgTextFont(&back);
    EXPECT_STREQ("微软雅黑", back.lfFaceName);
}

TEST_F(CfgTest, TextsWithMarkupCharactersAndEmptyTextsRoundTrip)
{
    LoadDefault();
    std::string got;
    doc_.GetCfgCaptionText(&got);
    const char* texts[] = {"", "a \"quoted\" <b> & 'x'", "  spaced  ", "行一\n行二"};
    for (const char* t : texts) {
        doc_.SetCfgCaptionText(t);
        CfgDocument again;
        ASSERT_EQ(1u, again.LoadOrCreate(path_));
        again.GetCfgCaptionText(&got);
        EXPECT_EQ(t, got);
    }
}

TEST_F(CfgTest, StartUpReadersCreateTheGroupsInOrderWithTheirDefaults)
{
    LoadDefault();
    std::string s = "untouched";
    EXPECT_EQ(1u, doc_.GetCfgVideoSavePath(&s));
    EXPECT_EQ("", s);
    s = "untouched";
    EXPECT_EQ(1u, doc_.GetCfgWaterMarkPath(&s));
    EXPECT_EQ("", s);
    EXPECT_EQ(1u, doc_.GetCfgCaptionText(&s));
    LOGFONTA font = {};
    EXPECT_EQ(1u, doc_.GetCfgTextFont(&font));
    EXPECT_EQ(1u, doc_.GetCfgSelectSkin(&s));
    EXPECT_EQ("mainui_back7.png", s);

    TiXmlDocument d = OnDisk();
    EXPECT_EQ((std::vector<std::string>{"videoSavePath", "WaterMarkPath", "Caption", "TextFont",
                                        "SelectSkin"}),
              RootChildren(d));
    struct Attr {
        const char* element;
        const char* attribute;
        const char* value;
    } attrs[] = {
        {"videoSavePath", "path", ""},
        {"WaterMarkPath", "path", ""},
        {"WaterMarkPath", "position", "8"},
        {"Caption", "text", ""},
        {"Caption", "position", "1"},
        {"Caption", "textcolor", "5263440"},         // 0x505050
        {"Caption", "backgroundcolor", "12632256"},  // 0xC0C0C0
        {"TextFont", "lfHeight", "-21"},
        {"TextFont", "lfWidth", "0"},
        {"TextFont", "lfEscapement", "0"},
        {"TextFont", "lfOrientation", "0"},
        {"TextFont", "lfWeight", "700"},
        {"TextFont", "lfItalic", "0"},
        {"TextFont", "lfUnderline", "0"},
        {"TextFont", "lfStrikeOut", "0"},
        {"TextFont", "lfCharSet", "0"},
        {"TextFont", "lfOutPrecision", "3"},
        {"TextFont", "lfClipPrecision", "2"},
        {"TextFont", "lfQuality", "1"},
        {"TextFont", "lfPitchAndFamily", "2"},
        {"TextFont", "lfFaceName", u8"宋体"},
        {"SelectSkin", "value", "mainui_back7.png"},
        {"SelectSkin", "isUserImg", "0"},
    };
    for (const Attr& a : attrs) {
        TiXmlElement* e = DiskElement(d, a.element);
        ASSERT_NE(nullptr, e) << a.element;
        const char* v = e->Attribute(a.attribute);
        ASSERT_NE(nullptr, v) << a.element << "/" << a.attribute;
        EXPECT_STREQ(a.value, v) << a.element << "/" << a.attribute;
    }
    EXPECT_EQ(-21, font.lfHeight);
    EXPECT_EQ(700, font.lfWeight);
    EXPECT_EQ(3, font.lfOutPrecision);
    EXPECT_EQ(2, font.lfClipPrecision);
    EXPECT_EQ(1, font.lfQuality);
    EXPECT_EQ(2, font.lfPitchAndFamily);
    EXPECT_STREQ("宋体", font.lfFaceName);
    EXPECT_EQ("8", doc_.GetCfgWaterMarkPosition());
    EXPECT_EQ("1", doc_.GetCfgCaptionPosition());
    EXPECT_EQ(0x505050, doc_.GetCfgCaptionTextColor());
    EXPECT_EQ(0xC0C0C0, doc_.GetCfgCaptionBackgroundColor());
    EXPECT_FALSE(doc_.GetCfgSelectSkinIsUserImg());

    // A second round reads what is there and creates nothing more.
    doc_.GetCfgVideoSavePath(&s);
    doc_.GetCfgCaptionText(&s);
    TiXmlDocument d2 = OnDisk();
    EXPECT_EQ(5u, RootChildren(d2).size());
}

TEST_F(CfgTest, SetsOnGroupsThatMustExistChangeNothingBeforeTheyExist)
{
    LoadDefault();
    EXPECT_EQ(1u, doc_.SetCfgCaptionText("early"));
    EXPECT_EQ(1u, doc_.SetCfgCaptionPosition("4"));
    EXPECT_EQ(1u, doc_.SetCfgCaptionTextColor(0x112233));
    EXPECT_EQ(1u, doc_.SetCfgCaptionBackgroundColor(0x445566));
    EXPECT_EQ(1u, doc_.SetCfgVideoSavePath("C:\\x"));
    EXPECT_EQ(1u, doc_.SetCfgWaterMarkPath("C:\\w.png"));
    EXPECT_EQ(1u, doc_.SetCfgWaterMarkPosition("2"));
    LOGFONTA font = {};
    EXPECT_EQ(1u, doc_.SetCfgTextFont(&font));
    EXPECT_EQ(1u, doc_.SetCfgSelectSkin("user_back1.png", true));
    TiXmlDocument d = OnDisk();
    EXPECT_TRUE(RootChildren(d).empty());
    EXPECT_EQ("", doc_.GetCfgCaptionPosition());
    EXPECT_EQ(0, doc_.GetCfgCaptionTextColor());

    std::string s;
    doc_.GetCfgCaptionText(&s);
    doc_.GetCfgWaterMarkPath(&s);
    doc_.GetCfgSelectSkin(&s);
    doc_.SetCfgCaptionText("late");
    doc_.SetCfgCaptionPosition("9");  // stored as given; the reader maps it to 8
    doc_.SetCfgCaptionTextColor(0x112233);
    doc_.SetCfgCaptionBackgroundColor(0x445566);
    doc_.SetCfgWaterMarkPosition("");
    doc_.SetCfgSelectSkin("user_back1.png", true);

    CfgDocument again;
    ASSERT_EQ(1u, again.LoadOrCreate(path_));
    again.GetCfgCaptionText(&s);
    EXPECT_EQ("late", s);
    EXPECT_EQ("9", again.GetCfgCaptionPosition());
    EXPECT_EQ(0x112233, again.GetCfgCaptionTextColor());
    EXPECT_EQ(0x445566, again.GetCfgCaptionBackgroundColor());
    EXPECT_EQ("", again.GetCfgWaterMarkPosition());
    again.GetCfgSelectSkin(&s);
    EXPECT_EQ("user_back1.png", s);
    EXPECT_TRUE(again.GetCfgSelectSkinIsUserImg());
}

TEST_F(CfgTest, SkinSetWithoutItsGroupWritesNothing)
{
    LoadDefault();
    EXPECT_EQ(1u, doc_.SetCfgSelectSkin("x.png", false));
    EXPECT_EQ(kDefaultText, ReadFile(path_));        // not even saved
    EXPECT_FALSE(doc_.GetCfgSelectSkinIsUserImg());  // creates the group
    std::string s;
    doc_.GetCfgSelectSkin(&s);
    EXPECT_EQ("mainui_back7.png", s);
}

struct IntSetting {
    const char* name;
    unsigned (CfgDocument::*set)(int);
    unsigned (CfgDocument::*get)(int*);
    const char* element;
    const char* attribute;
};

const IntSetting kIntSettings[] = {
    {"StartCountdown", &CfgDocument::SetCfgStartCountdown, &CfgDocument::GetCfgStartCountdown,
     "start_countdown", "countdown"},
    {"SaveImgType", &CfgDocument::SetCfgSaveImgType, &CfgDocument::GetCfgSaveImgType,
     "save_img_type", "type"},
    {"FrameRate", &CfgDocument::SetCfgFrameRate, &CfgDocument::GetCfgFrameRate, "farme_rate",
     "rate"},
    {"CodecType", &CfgDocument::SetCfgCodecType, &CfgDocument::GetCfgCodecType, "codec_type",
     "type"},
    {"VideoQuality", &CfgDocument::SetCfgVideoQuality, &CfgDocument::GetCfgVideoQuality,
     "video_qulity", "qulity"},
    {"RecMode", &CfgDocument::SetCfgRecMode, &CfgDocument::GetCfgRecMode, "rec_mode", "mode"},
    {"HideFloatWnd", &CfgDocument::SetCfgHideFloatWnd, &CfgDocument::GetCfgHideFloatWnd,
     "hide_float_wnd", "hide"},
    {"FloatWndOpacity", &CfgDocument::SetCfgFloatWndOpacity, &CfgDocument::GetCfgFloatWndOpacity,
     "float_wnd_opacity", "opacity"},
    {"RecMicphone", &CfgDocument::SetCfgRecMicphone, &CfgDocument::GetCfgRecMicphone,
     "rec_micphone", "rec"},
    {"RecSpeaker", &CfgDocument::SetCfgRecSpeaker, &CfgDocument::GetCfgRecSpeaker, "rec_speaker",
     "rec"},
    {"RecCursor", &CfgDocument::SetCfgRecCursor, &CfgDocument::GetCfgRecCursor, "rec_cursor",
     "rec"},
    {"HighlightColor", &CfgDocument::SetCfgHighlightColor, &CfgDocument::GetCfgHighlightColor,
     "highter_cursor", "color"},
    {"HighlightSize", &CfgDocument::SetCfgHighlightSize, &CfgDocument::GetCfgHighlightSize,
     "highter_cursor", "size"},
    {"ClickEffect", &CfgDocument::SetCfgClickEffect, &CfgDocument::GetCfgClickEffect,
     "add_click_effect", "rec"},
    {"ClickLeftColor", &CfgDocument::SetCfgClickLeftColor, &CfgDocument::GetCfgClickLeftColor,
     "add_click_effect", "lbtn_color"},
    {"ClickRightColor", &CfgDocument::SetCfgClickRightColor, &CfgDocument::GetCfgClickRightColor,
     "add_click_effect", "rbtn_color"},
    {"WheelEffectColor", &CfgDocument::SetCfgWheelEffectColor, &CfgDocument::GetCfgWheelEffectColor,
     "add_wheel_effect", "color"},
    {"AutoPlayOnComplete", &CfgDocument::SetCfgAutoPlayOnComplete,
     &CfgDocument::GetCfgAutoPlayOnComplete, "auto_play_oncomplete", "auto_play"},
};

TEST_F(CfgTest, IntegerSettingsCreateTheirElementAndRoundTrip)
{
    LoadDefault();
    // Values outside every range are stored and read back as they are: the
    // readers of the settings map them.
    const int values[] = {0, 1, 101, -1, 0xFCAE1D, INT_MAX, INT_MIN, 7};
    for (const IntSetting& s : kIntSettings) {
        // Missing element: 0; a group made by an earlier setting without
        // this attribute: 1. The variable is left alone either way.
        const bool groupExists =
            doc_.FindCfgNode(doc_.document().RootElement(), s.element) != nullptr;
        int v = 12345;
        EXPECT_EQ(groupExists ? 1u : 0u, (doc_.*s.get)(&v)) << s.name;
        EXPECT_EQ(12345, v) << s.name;
        for (int value : values) {
            ASSERT_EQ(1u, (doc_.*s.set)(value)) << s.name;
            CfgDocument again;
            ASSERT_EQ(1u, again.LoadOrCreate(path_));
            v = 12345;
            EXPECT_EQ(1u, (again.*s.get)(&v)) << s.name;
            EXPECT_EQ(value, v) << s.name;
        }
    }
    // One element per group, in the order first written, holding every
    // attribute written into it.
    TiXmlDocument d = OnDisk();
    EXPECT_EQ(
        (std::vector<std::string>{"start_countdown", "save_img_type", "farme_rate", "codec_type",
                                  "video_qulity", "rec_mode", "hide_float_wnd", "float_wnd_opacity",
                                  "rec_micphone", "rec_speaker", "rec_cursor", "highter_cursor",
                                  "add_click_effect", "add_wheel_effect", "auto_play_oncomplete"}),
        RootChildren(d));
    int color = 0, size = 0;
    EXPECT_EQ(TIXML_SUCCESS, DiskElement(d, "highter_cursor")->QueryIntAttribute("color", &color));
    EXPECT_EQ(TIXML_SUCCESS, DiskElement(d, "highter_cursor")->QueryIntAttribute("size", &size));
}

TEST_F(CfgTest, IntegerGetsLeaveTheCallersDefaultWhenTheValueIsNoNumber)
{
    LoadDefault();
    for (const IntSetting& s : kIntSettings) {
        (doc_.*s.set)(3);
        TiXmlElement* e =
            doc_.FindCfgNode(doc_.document().FirstChildElement("vintracfg"), s.element);
        ASSERT_NE(nullptr, e);
        struct Case {
            const char* text;  // null: attribute removed
            int want;
        } cases[] = {{"abc", 99}, {"", 99}, {nullptr, 99}, {"42", 42}, {" 8", 8}};
        for (const Case& c : cases) {
            if (c.text)
                e->SetAttribute(s.attribute, c.text);
            else
                e->RemoveAttribute(s.attribute);
            int v = 99;
            EXPECT_EQ(1u, (doc_.*s.get)(&v)) << s.name << " " << (c.text ? c.text : "<none>");
            EXPECT_EQ(c.want, v) << s.name << " " << (c.text ? c.text : "<none>");
        }
    }
}

TEST_F(CfgTest, HighlightFlagIsABoolean)
{
    LoadDefault();
    unsigned char on = 7;
    EXPECT_EQ(0u, doc_.GetCfgHighlightCursor(&on));
    EXPECT_EQ(7, on);
    EXPECT_EQ(1u, doc_.SetCfgHighlightCursor(5));  // written as 1
    TiXmlDocument d = OnDisk();
    EXPECT_STREQ("1", DiskElement(d, "highter_cursor")->Attribute("ishighter"));
    EXPECT_EQ(1u, doc_.GetCfgHighlightCursor(&on));
    EXPECT_EQ(1, on);
    doc_.SetCfgHighlightCursor(0);
    EXPECT_EQ(1u, doc_.GetCfgHighlightCursor(&on));
    EXPECT_EQ(0, on);

    TiXmlElement* e = doc_.FindCfgNode(doc_.document().RootElement(), "highter_cursor");
    struct Case {
        const char* text;
        unsigned char want;
    } cases[] = {{"true", 1}, {"false", 0}, {"1", 1}, {"0", 0}, {"maybe", 9}};
    for (const Case& c : cases) {
        e->SetAttribute("ishighter", c.text);
        on = 9;
        doc_.GetCfgHighlightCursor(&on);
        EXPECT_EQ(c.want, on) << c.text;
    }
}

TEST_F(CfgTest, AStoreThatIsNotLoadedTouchesNothing)
{
    // The default file cannot be written: the folder does not exist.
    CfgDocument doc;
    std::string path = dir_ + "\\missing\\vintra_cfg.xml";
    EXPECT_EQ(0u, doc.LoadOrCreate(path));
    EXPECT_FALSE(doc.loaded());

    for (const IntSetting& s : kIntSettings) {
        int v = 5;
        EXPECT_EQ(1u, (doc.*s.get)(&v)) << s.name;
        EXPECT_EQ(5, v) << s.name;
        const unsigned want = s.set == &CfgDocument::SetCfgStartCountdown ? 1u : 0u;
        EXPECT_EQ(want, (doc.*s.set)(30)) << s.name;
    }
    unsigned char on = 3;
    EXPECT_EQ(1u, doc.GetCfgHighlightCursor(&on));
    EXPECT_EQ(3, on);
    EXPECT_EQ(0u, doc.SetCfgHighlightCursor(1));
    EXPECT_EQ(0u, doc.SetCfgCaptionText("x"));
    EXPECT_EQ(0u, doc.SetCfgCaptionPosition("1"));
    EXPECT_EQ(0u, doc.SetCfgCaptionTextColor(1));
    EXPECT_EQ(0u, doc.SetCfgCaptionBackgroundColor(1));
    EXPECT_EQ(0u, doc.SetCfgVideoSavePath("x"));
    EXPECT_EQ(0u, doc.SetCfgWaterMarkPath("x"));
    EXPECT_EQ(0u, doc.SetCfgWaterMarkPosition("x"));
    EXPECT_EQ(0u, doc.SetCfgSelectSkin("x", true));
    LOGFONTA font = {};
    font.lfHeight = 33;
    EXPECT_EQ(0u, doc.SetCfgTextFont(&font));
    EXPECT_EQ(0u, doc.GetCfgTextFont(&font));
    EXPECT_EQ(33, font.lfHeight);
    std::string s = "keep";
    EXPECT_EQ(0u, doc.GetCfgCaptionText(&s));
    EXPECT_EQ("", s);
    EXPECT_EQ(0u, doc.GetCfgSelectSkin(&s));
    EXPECT_EQ("", s);
    EXPECT_EQ("", doc.GetCfgCaptionPosition());
    EXPECT_EQ(0, doc.GetCfgCaptionTextColor());
    EXPECT_FALSE(doc.GetCfgSelectSkinIsUserImg());
    int vkey = 1, fsmod = 2;
    std::string str = "F1";
    EXPECT_EQ(0u, doc.GetCfgHotkey("RecordStart", &vkey, &fsmod, &str));
    EXPECT_EQ(1, vkey);
    EXPECT_EQ(2, fsmod);
    EXPECT_EQ(0u, doc.SetCfgHotkey("RecordStart", &vkey, &fsmod, &str));
    EXPECT_EQ(0u, doc.SaveCfgFile());
    EXPECT_FALSE(FileExists(path));
}

TEST_F(CfgTest, FontFaceNameIsCutOnACharacterBoundary)
{
    LoadDefault();
    LOGFONTA font = {};
    doc_.GetCfgTextFont(&font);
    TiXmlElement* e = doc_.FindCfgNode(doc_.document().RootElement(), "TextFont");
    struct Case {
        std::string faceUtf8;
        std::string want;  // GBK
    } cases[] = {
        // 20 characters (40 bytes): 15 fit in 31 bytes.
        {u8"一二三四五六七八九十一二三四五六七八九十", "一二三四五六七八九十一二三四五"},
        // One ASCII letter first: 1 + 15 x 2 = 31 bytes exactly.
        {u8"a一二三四五六七八九十一二三四五六七八九十", "a一二三四五六七八九十一二三四五"},
        {std::string(40, 'x'), std::string(31, 'x')},
        {u8"宋体", "宋体"},
    };
    for (const Case& c : cases) {
        e->SetAttribute("lfFaceName", c.faceUtf8);
        memset(font.lfFaceName, 'Z', sizeof font.lfFaceName);
        ASSERT_EQ(1u, doc_.GetCfgTextFont(&font));
        EXPECT_EQ(c.want, std::string(font.lfFaceName)) << c.want;
    }
    // Fields missing from the file keep the caller's values.
    e->RemoveAttribute("lfWeight");
    e->RemoveAttribute("lfFaceName");
    font.lfWeight = 123;
    strcpy(font.lfFaceName, "Arial");
    doc_.GetCfgTextFont(&font);
    EXPECT_EQ(123, font.lfWeight);
    EXPECT_STREQ("Arial", font.lfFaceName);

    // A LOGFONT without a terminator in its face name is stored bounded.
    memset(font.lfFaceName, 'q', sizeof font.lfFaceName);
    EXPECT_EQ(1u, doc_.SetCfgTextFont(&font));
    EXPECT_EQ(std::string(32, 'q'), e->Attribute("lfFaceName"));
}

TEST_F(CfgTest, HotKeysLiveUnderOneGroup)
{
    LoadDefault();
    int vkey = 0, fsmod = 0;
    std::string str = "untouched";
    EXPECT_EQ(0u, doc_.GetCfgHotkey("RecordStart", &vkey, &fsmod, &str));
    EXPECT_EQ(-1, vkey);
    EXPECT_EQ(-1, fsmod);
    EXPECT_EQ("untouched", str);

    int k1 = 118, m1 = 0, k2 = 119, m2 = 3;
    std::string s1 = "F7", s2 = "Ctrl+Alt+F8";
    EXPECT_EQ(1u, doc_.SetCfgHotkey("RecordStart", &k1, &m1, &s1));
    EXPECT_EQ(1u, doc_.SetCfgHotkey("RecordPause", &k2, &m2, &s2));
    k1 = 65;
    s1 = "A";
    EXPECT_EQ(1u, doc_.SetCfgHotkey("RecordStart", &k1, &m1, &s1));

    TiXmlDocument d = OnDisk();
    EXPECT_EQ(std::vector<std::string>{"Hotkey"}, RootChildren(d));
    TiXmlElement* group = DiskElement(d, "Hotkey");
    std::vector<std::string> keys;
    for (TiXmlElement* e = group->FirstChildElement(); e; e = e->NextSiblingElement())
        keys.push_back(e->Value());
    EXPECT_EQ((std::vector<std::string>{"RecordStart", "RecordPause"}), keys);

    CfgDocument again;
    ASSERT_EQ(1u, again.LoadOrCreate(path_));
    EXPECT_EQ(1u, again.GetCfgHotkey("RecordStart", &vkey, &fsmod, &str));
    EXPECT_EQ(65, vkey);
    EXPECT_EQ(0, fsmod);
    EXPECT_EQ("A", str);
    EXPECT_EQ(1u, again.GetCfgHotkey("RecordPause", &vkey, &fsmod, &str));
    EXPECT_EQ(119, vkey);
    EXPECT_EQ(3, fsmod);
    EXPECT_EQ("Ctrl+Alt+F8", str);

    // A key without attributes: codes -1, text empty.
    TiXmlElement* pause = again.FindCfgNode(again.document().RootElement(), "RecordPause");
    pause->RemoveAttribute("vkey");
    pause->RemoveAttribute("vkeystr");
    EXPECT_EQ(1u, again.GetCfgHotkey("RecordPause", &vkey, &fsmod, &str));
    EXPECT_EQ(-1, vkey);
    EXPECT_EQ(3, fsmod);
    EXPECT_EQ("", str);
}

TEST_F(CfgTest, ASettingGroupNamedLikeAKeyIsNotTakenForTheKey)
{
    WriteFile(path_,
              "<?xml version=\"1.0\"?>\n<vintracfg><Zoom vkey=\"1\" />"
              "<Hotkey><Zoom vkey=\"117\" fsmod=\"0\" vkeystr=\"F6\" /></Hotkey></vintracfg>");
    ASSERT_EQ(1u, doc_.LoadOrCreate(path_));
    int vkey = 0, fsmod = 0;
    std::string str;
    EXPECT_EQ(1u, doc_.GetCfgHotkey("Zoom", &vkey, &fsmod, &str));
    EXPECT_EQ(117, vkey);
    int k = 118;
    std::string s = "F7";
    doc_.SetCfgHotkey("Zoom", &k, &fsmod, &s);
    TiXmlElement* outside = doc_.document().RootElement()->FirstChildElement("Zoom");
    EXPECT_STREQ("1", outside->Attribute("vkey"));
}

TEST_F(CfgTest, FindCfgNodeSearchesInDocumentOrder)
{
    WriteFile(path_,
              "<?xml version=\"1.0\"?>\n<vintracfg>"
              "<a id=\"1\"><b id=\"2\"><c id=\"3\"/></b></a><c id=\"4\"/><b id=\"5\"/>"
              "</vintracfg>");
    ASSERT_EQ(1u, doc_.LoadOrCreate(path_));
    TiXmlElement* root = doc_.document().RootElement();
    struct Case {
        TiXmlNode* from;
        const char* name;
        const char* id;  // null: not found
    } cases[] = {
        {root, "vintracfg", nullptr},
        {root, "c", "3"},
        {root, "b", "2"},
        {root->FirstChildElement("c"), "b", "5"},  // following siblings
        {root->FirstChildElement("a"), "a", "1"},  // the start node itself
        {root, "B", nullptr},                      // case matters
        {root, "zzz", nullptr},
        {nullptr, "a", nullptr},
    };
    for (const Case& c : cases) {
        TiXmlElement* e = doc_.FindCfgNode(c.from, c.name);
        if (!c.id) {
            if (std::string(c.name) == "vintracfg")
                EXPECT_EQ(root, e);
            else
                EXPECT_EQ(nullptr, e) << c.name;
        } else {
            ASSERT_NE(nullptr, e) << c.name;
            EXPECT_STREQ(c.id, e->Attribute("id")) << c.name;
        }
    }
}

TEST_F(CfgTest, AFailedSaveKeepsTheValueInMemoryAndTheFileWhole)
{
    LoadDefault();
    doc_.SetCfgFrameRate(30);
    const std::string before = ReadFile(path_);
    // Another program holds the file open without sharing: it cannot be
    // replaced.
    HANDLE lock = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    EXPECT_EQ(1u, doc_.SetCfgFrameRate(60));
    EXPECT_EQ(0u, doc_.SaveCfgFile());
    CloseHandle(lock);
    EXPECT_EQ(before, ReadFile(path_));
    int rate = 0;
    doc_.GetCfgFrameRate(&rate);
    EXPECT_EQ(60, rate);
    EXPECT_FALSE(FileExists(path_ + ".tmp"));
    EXPECT_EQ(1u, doc_.SaveCfgFile());
    CfgDocument again;
    ASSERT_EQ(1u, again.LoadOrCreate(path_));
    again.GetCfgFrameRate(&rate);
    EXPECT_EQ(60, rate);
}

TEST_F(CfgTest, ASaveWhileAnotherProgramReadsTheFileLandsOnceItIsLetGo)
{
    LoadDefault();
    doc_.SetCfgFrameRate(30);
    // As a C library's fopen(path, "r") opens it: read and write shared,
    // delete not.
    HANDLE reader = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    std::thread done([reader] {
        Sleep(300);
        CloseHandle(reader);
    });
    EXPECT_EQ(1u, doc_.SetCfgFrameRate(60));
    EXPECT_EQ(1u, doc_.SaveCfgFile());
    done.join();
    CfgDocument again;
    ASSERT_EQ(1u, again.LoadOrCreate(path_));
    int rate = 0;
    again.GetCfgFrameRate(&rate);
    EXPECT_EQ(60, rate) << "the setting is in the file";
    EXPECT_FALSE(FileExists(path_ + ".tmp"));
}

TEST_F(CfgTest, KillingAProcessInTheMiddleOfSavingLeavesAFileThatParses)
{
    const std::string ready = dir_ + "\\ready";
    for (int round = 0; round < 6; ++round) {
        DeleteFileA(ready.c_str());
        Process child;
        ASSERT_TRUE(child.Start(TestBinDir() + "\\cfg_save_loop.exe",
                                "loop \"" + path_ + "\" \"" + ready + "\""));
        ASSERT_TRUE(WaitForFile(ready, 20000));
        Sleep(40 + 53 * round);
        child.Kill();

        TiXmlDocument d;
        ASSERT_TRUE(d.LoadFile(path_.c_str())) << "round " << round << ": " << d.ErrorDesc();
        TiXmlElement* caption = DiskElement(d, "Caption");
        ASSERT_NE(nullptr, caption) << "round " << round;
        const std::string text = caption->Attribute("text");
        EXPECT_TRUE(text.empty() ||
                    (text.size() >= 200000 && text.find_first_not_of(text[0]) == std::string::npos))
            << "round " << round;
        CfgDocument store;
        EXPECT_EQ(1u, store.LoadOrCreate(path_));
        EXPECT_FALSE(FileExists(path_ + ".bak"));
    }
}

}  // namespace
