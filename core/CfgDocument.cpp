#include "core/CfgDocument.h"

#include "core/AtomicFile.h"
#include "core/StringConv.h"
#include "core/SystemMessageBox.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

const char kCfgDefaultText[] =
    "<?xml version=\"1.0\"  encoding=\"UTF-8\"?>\n<vintracfg>\n</vintracfg>";

CfgDocument g_cfgDocument;

namespace {

const char kRootName[] = "vintracfg";

// The defaults a getter writes when it creates a missing group.
struct AttributeDefault {
    const char* name;
    const char* text;  // null: an integer attribute
    int number;
};

const AttributeDefault kVideoSavePathDefaults[] = {{"path", "", 0}};
const AttributeDefault kWaterMarkDefaults[] = {{"path", "", 0}, {"position", "8", 0}};
const AttributeDefault kCaptionDefaults[] = {{"text", "", 0},
                                             {"position", "1", 0},
                                             {"textcolor", nullptr, 0x505050},
                                             {"backgroundcolor", nullptr, 0xC0C0C0}};
const AttributeDefault kSelectSkinDefaults[] = {{"value", "mainui_back7.png", 0},
                                                {"isUserImg", nullptr, 0}};

// The thirteen integer fields of the caption font, with their defaults.
struct FontField {
    const char* name;
    int number;
    int (*get)(const LOGFONTA&);
    void (*set)(LOGFONTA&, int);
};
// clang-format off
#define ORBISK_FONT_FIELD(field, number, type)                          \
    {#field, number,                                                    \
     [](const LOGFONTA& f) { return (int)f.field; },                    \
     [](LOGFONTA& f, int v) { f.field = (type)v; }}
const FontField kFontFields[] = {
    ORBISK_FONT_FIELD(lfHeight, -21, LONG),
    ORBISK_FONT_FIELD(lfWidth, 0, LONG),
    ORBISK_FONT_FIELD(lfEscapement, 0, LONG),
    ORBISK_FONT_FIELD(lfOrientation, 0, LONG),
    ORBISK_FONT_FIELD(lfWeight, 700, LONG),
    ORBISK_FONT_FIELD(lfItalic, 0, BYTE),
    ORBISK_FONT_FIELD(lfUnderline, 0, BYTE),
    ORBISK_FONT_FIELD(lfStrikeOut, 0, BYTE),
    ORBISK_FONT_FIELD(lfCharSet, 0, BYTE),
    ORBISK_FONT_FIELD(lfOutPrecision, 3, BYTE),
    ORBISK_FONT_FIELD(lfClipPrecision, 2, BYTE),
    ORBISK_FONT_FIELD(lfQuality, 1, BYTE),
    ORBISK_FONT_FIELD(lfPitchAndFamily, 2, BYTE),
};
#undef ORBISK_FONT_FIELD
// clang-format on
// Written as UTF-8 whatever the code page of the machine.
const char kDefaultFaceNameUtf8[] = u8"宋体";

TiXmlElement* FindFrom(TiXmlNode* node, const std::string& name)
{
    for (TiXmlNode* n = node; n; n = n->NextSibling()) {
        TiXmlElement* e = n->ToElement();
        if (e && name == e->Value()) return e;
        if (TiXmlElement* found = FindFrom(n->FirstChild(), name)) return found;
    }
    return nullptr;
}

template <size_t N>
void SetDefaults(TiXmlElement* e, const AttributeDefault (&defaults)[N])
{
    for (const AttributeDefault& d : defaults) {
        if (d.text)
            e->SetAttribute(d.name, d.text);
        else
            e->SetAttribute(d.name, d.number);
    }
}

enum class ReadResult { kOk, kMissing, kUnreadable, kMalformed };

bool IsMissing(const std::string& path)
{
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    DWORD err = GetLastError();
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
}

ReadResult ReadDocument(const std::string& path, TiXmlDocument& doc)
{
    doc.Clear();
    if (IsMissing(path)) return ReadResult::kMissing;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return ReadResult::kUnreadable;
    bool parsed = doc.LoadFile(f);
    fclose(f);
    if (!parsed || !doc.FirstChildElement(kRootName)) {
        doc.Clear();
        return ReadResult::kMalformed;
    }
    return ReadResult::kOk;
}

}  // namespace

std::string GetCfgFilePath()
{
    char folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        folder[0] = '\0';
    return std::string(folder) + "\\vintra_cfg.xml";
}

unsigned LoadConfigFile()
{
    return g_cfgDocument.LoadOrCreate(GetCfgFilePath());
}

// --- The file -------------------------------------------------------------

unsigned CfgDocument::LoadCfgFile(const std::string& path)
{
    path_ = path;
    loaded_ = ReadDocument(path, document_) == ReadResult::kOk ? 1 : 0;
    return loaded_;
}

unsigned CfgDocument::CreateDefaultCfgFile(const std::string& path)
{
    TiXmlDocument doc(path.c_str());
    doc.Parse(kCfgDefaultText);
    if (doc.Error()) {
        printf("Error in %s: %s\n", doc.Value(), doc.ErrorDesc());
        ShowSystemMessageBox(nullptr, "重新加载配置文件出错", "提示", MB_OK);
        return 0;
    }
    // TinyXML would normalise the declaration; the file starts out exactly
    // as the default text reads.
    return orbisk::WriteFileAtomic(path, kCfgDefaultText, strlen(kCfgDefaultText)) ? 1 : 0;
}

unsigned CfgDocument::SaveCfgFile()
{
    if (!loaded_) return 0;
    return orbisk::SaveXmlAtomic(document_, path_) ? 1 : 0;
}

unsigned CfgDocument::LoadOrCreate(const std::string& path)
{
    path_ = path;
    ReadResult r = ReadDocument(path, document_);
    if (r == ReadResult::kOk) return loaded_ = 1;
    loaded_ = 0;
    // A file that is there but cannot be opened (locked by another program)
    // may be perfectly good: never replace what was not read.
    if (r == ReadResult::kUnreadable) return 0;
    if (r == ReadResult::kMalformed) {
        std::string backup = path + ".bak";
        if (!MoveFileExA(path.c_str(), backup.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return 0;
    }
    CreateDefaultCfgFile(path);
    return LoadCfgFile(path);
}

TiXmlElement* CfgDocument::FindCfgNode(TiXmlNode* node, const std::string& name) const
{
    if (!loaded_ || !node) return nullptr;
    return FindFrom(node, name);
}

TiXmlElement* CfgDocument::Root()
{
    return document_.FirstChildElement(kRootName);
}

TiXmlElement* CfgDocument::Find(const char* name)
{
    return FindCfgNode(Root(), name);
}

TiXmlElement* CfgDocument::AppendToRoot(const char* name)
{
    TiXmlNode* added = Root()->LinkEndChild(new TiXmlElement(name));
    return added ? added->ToElement() : nullptr;
}

bool CfgDocument::Save()
{
    return SaveCfgFile() != 0;
}

// --- Family helpers ---------------------------------------------------------

unsigned CfgDocument::SetStringExisting(const char* element, const char* attribute,
                                        const std::string& value, bool utf8)
{
    if (!loaded_) return 0;
    if (TiXmlElement* e = Find(element))
        e->SetAttribute(attribute, utf8 ? AnsiToUtf8String(value) : value);
    Save();
    return 1;
}

unsigned CfgDocument::SetIntExisting(const char* element, const char* attribute, int value)
{
    if (!loaded_) return 0;
    if (TiXmlElement* e = Find(element)) e->SetAttribute(attribute, value);
    Save();
    return 1;
}

unsigned CfgDocument::SetIntCreating(const char* element, const char* attribute, int value,
                                     unsigned resultWhenNotLoaded)
{
    if (!loaded_) return resultWhenNotLoaded;
    TiXmlElement* e = Find(element);
    if (!e) e = AppendToRoot(element);
    e->SetAttribute(attribute, value);
    Save();
    return 1;
}

unsigned CfgDocument::GetInt(const char* element, const char* attribute, int* value)
{
    if (!loaded_) return 1;
    TiXmlElement* e = Find(element);
    if (!e) return 0;
    int v = 0;
    if (e->QueryIntAttribute(attribute, &v) == TIXML_SUCCESS) *value = v;
    return 1;
}

int CfgDocument::GetIntByValue(const char* element, const char* attribute)
{
    int v = 0;
    if (!loaded_) return 0;
    TiXmlElement* e = Find(element);
    if (!e || e->QueryIntAttribute(attribute, &v) != TIXML_SUCCESS) return 0;
    return v;
}

std::string CfgDocument::GetStringNoCreate(const char* element, const char* attribute)
{
    if (!loaded_) return std::string();
    TiXmlElement* e = Find(element);
    const char* v = e ? e->Attribute(attribute) : nullptr;
    return v ? std::string(v) : std::string();
}

// --- String and integer sets on existing elements ----------------------------

unsigned CfgDocument::SetCfgVideoSavePath(const std::string& path)
{
    return SetStringExisting("videoSavePath", "path", path, true);
}
unsigned CfgDocument::SetCfgWaterMarkPath(const std::string& path)
{
    return SetStringExisting("WaterMarkPath", "path", path, true);
}
unsigned CfgDocument::SetCfgWaterMarkPosition(const std::string& pos)
{
    return SetStringExisting("WaterMarkPath", "position", pos, false);
}
unsigned CfgDocument::SetCfgCaptionText(const std::string& text)
{
    return SetStringExisting("Caption", "text", text, true);
}
unsigned CfgDocument::SetCfgCaptionPosition(const std::string& pos)
{
    return SetStringExisting("Caption", "position", pos, false);
}
unsigned CfgDocument::SetCfgCaptionTextColor(int color)
{
    return SetIntExisting("Caption", "textcolor", color);
}
unsigned CfgDocument::SetCfgCaptionBackgroundColor(int color)
{
    return SetIntExisting("Caption", "backgroundcolor", color);
}

unsigned CfgDocument::SetCfgTextFont(const LOGFONTA* font)
{
    if (!loaded_) return 0;
    TiXmlElement* e = Find("TextFont");
    if (e && font) {
        for (const FontField& f : kFontFields) e->SetAttribute(f.name, f.get(*font));
        // A LOGFONT from outside need not be terminated.
        std::string face(font->lfFaceName, strnlen(font->lfFaceName, LF_FACESIZE));
        e->SetAttribute("lfFaceName", AnsiToUtf8String(face));
    }
    Save();
    return 1;
}

unsigned CfgDocument::SetCfgSelectSkin(const std::string& value, bool isUserImg)
{
    if (!loaded_) return 0;
    TiXmlElement* e = Find("SelectSkin");
    if (!e) return 1;
    e->SetAttribute("value", value);
    e->SetAttribute("isUserImg", isUserImg ? 1 : 0);
    Save();
    return 1;
}

// --- Integer sets that create ------------------------------------------------

unsigned CfgDocument::SetCfgStartCountdown(int choice)
{
    return SetIntCreating("start_countdown", "countdown", choice, 1);
}
unsigned CfgDocument::SetCfgSaveImgType(int type)
{
    return SetIntCreating("save_img_type", "type", type);
}
unsigned CfgDocument::SetCfgFrameRate(int rate)
{
    return SetIntCreating("farme_rate", "rate", rate);
}
unsigned CfgDocument::SetCfgCodecType(int type)
{
    return SetIntCreating("codec_type", "type", type);
}
unsigned CfgDocument::SetCfgVideoQuality(int quality)
{
    return SetIntCreating("video_qulity", "qulity", quality);
}
unsigned CfgDocument::SetCfgRecMode(int mode)
{
    return SetIntCreating("rec_mode", "mode", mode);
}
unsigned CfgDocument::SetCfgHideFloatWnd(int hide)
{
    return SetIntCreating("hide_float_wnd", "hide", hide);
}
unsigned CfgDocument::SetCfgFloatWndOpacity(int percent)
{
    return SetIntCreating("float_wnd_opacity", "opacity", percent);
}
unsigned CfgDocument::SetCfgRecMicphone(int rec)
{
    return SetIntCreating("rec_micphone", "rec", rec);
}
unsigned CfgDocument::SetCfgRecSpeaker(int rec)
{
    return SetIntCreating("rec_speaker", "rec", rec);
}
unsigned CfgDocument::SetCfgRecCursor(int rec)
{
    return SetIntCreating("rec_cursor", "rec", rec);
}
unsigned CfgDocument::SetCfgHighlightCursor(unsigned char on)
{
    return SetIntCreating("highter_cursor", "ishighter", on ? 1 : 0);
}
unsigned CfgDocument::SetCfgHighlightColor(int color)
{
    return SetIntCreating("highter_cursor", "color", color);
}
unsigned CfgDocument::SetCfgHighlightSize(int size)
{
    return SetIntCreating("highter_cursor", "size", size);
}
unsigned CfgDocument::SetCfgClickEffect(int rec)
{
    return SetIntCreating("add_click_effect", "rec", rec);
}
unsigned CfgDocument::SetCfgClickLeftColor(int color)
{
    return SetIntCreating("add_click_effect", "lbtn_color", color);
}
unsigned CfgDocument::SetCfgClickRightColor(int color)
{
    return SetIntCreating("add_click_effect", "rbtn_color", color);
}
unsigned CfgDocument::SetCfgWheelEffectColor(int color)
{
    return SetIntCreating("add_wheel_effect", "color", color);
}
unsigned CfgDocument::SetCfgAutoPlayOnComplete(int play)
{
    return SetIntCreating("auto_play_oncomplete", "auto_play", play);
}

// --- Integer gets ----------------------------------------------------------------

unsigned CfgDocument::GetCfgStartCountdown(int* choice)
{
    return GetInt("start_countdown", "countdown", choice);
}
unsigned CfgDocument::GetCfgSaveImgType(int* type)
{
    return GetInt("save_img_type", "type", type);
}
unsigned CfgDocument::GetCfgFrameRate(int* rate)
{
    return GetInt("farme_rate", "rate", rate);
}
unsigned CfgDocument::GetCfgCodecType(int* type)
{
    return GetInt("codec_type", "type", type);
}
unsigned CfgDocument::GetCfgVideoQuality(int* quality)
{
    return GetInt("video_qulity", "qulity", quality);
}
unsigned CfgDocument::GetCfgRecMode(int* mode)
{
    return GetInt("rec_mode", "mode", mode);
}
unsigned CfgDocument::GetCfgHideFloatWnd(int* hide)
{
    return GetInt("hide_float_wnd", "hide", hide);
}
unsigned CfgDocument::GetCfgFloatWndOpacity(int* percent)
{
    return GetInt("float_wnd_opacity", "opacity", percent);
}
unsigned CfgDocument::GetCfgRecMicphone(int* rec)
{
    return GetInt("rec_micphone", "rec", rec);
}
unsigned CfgDocument::GetCfgRecSpeaker(int* rec)
{
    return GetInt("rec_speaker", "rec", rec);
}
unsigned CfgDocument::GetCfgRecCursor(int* rec)
{
    return GetInt("rec_cursor", "rec", rec);
}
unsigned CfgDocument::GetCfgHighlightColor(int* color)
{
    return GetInt("highter_cursor", "color", color);
}
unsigned CfgDocument::GetCfgHighlightSize(int* size)
{
    return GetInt("highter_cursor", "size", size);
}
unsigned CfgDocument::GetCfgClickEffect(int* rec)
{
    return GetInt("add_click_effect", "rec", rec);
}
unsigned CfgDocument::GetCfgClickLeftColor(int* color)
{
    return GetInt("add_click_effect", "lbtn_color", color);
}
unsigned CfgDocument::GetCfgClickRightColor(int* color)
{
    return GetInt("add_click_effect", "rbtn_color", color);
}
unsigned CfgDocument::GetCfgWheelEffectColor(int* color)
{
    return GetInt("add_wheel_effect", "color", color);
}
unsigned CfgDocument::GetCfgAutoPlayOnComplete(int* play)
{
    return GetInt("auto_play_oncomplete", "auto_play", play);
}

unsigned CfgDocument::GetCfgHighlightCursor(unsigned char* on)
{
    if (!loaded_) return 1;
    TiXmlElement* e = Find("highter_cursor");
    if (!e) return 0;
    bool b = false;
    if (e->QueryBoolAttribute("ishighter", &b) == TIXML_SUCCESS) *on = b ? 1 : 0;
    return 1;
}

int CfgDocument::GetCfgCaptionTextColor()
{
    return GetIntByValue("Caption", "textcolor");
}
int CfgDocument::GetCfgCaptionBackgroundColor()
{
    return GetIntByValue("Caption", "backgroundcolor");
}

// --- String gets -----------------------------------------------------------------

namespace {

// Reads attribute of a group, creating the group with its defaults first.
template <size_t N>
unsigned GetStringCreating(CfgDocument& doc, const char* element, const char* attribute,
                           const AttributeDefault (&defaults)[N], bool utf8, std::string* out)
{
    out->clear();
    if (!doc.loaded()) return 0;
    TiXmlElement* root = doc.document().FirstChildElement(kRootName);
    TiXmlElement* e = doc.FindCfgNode(root, element);
    if (!e) {
        e = root->LinkEndChild(new TiXmlElement(element))->ToElement();
        SetDefaults(e, defaults);
        doc.SaveCfgFile();
    }
    const char* v = e->Attribute(attribute);
    if (v) *out = utf8 ? Utf8ToAnsiString(v) : std::string(v);
    return 1;
}

}  // namespace

unsigned CfgDocument::GetCfgVideoSavePath(std::string* path)
{
    return GetStringCreating(*this, "videoSavePath", "path", kVideoSavePathDefaults, true, path);
}
unsigned CfgDocument::GetCfgWaterMarkPath(std::string* path)
{
    return GetStringCreating(*this, "WaterMarkPath", "path", kWaterMarkDefaults, true, path);
}
unsigned CfgDocument::GetCfgCaptionText(std::string* text)
{
    return GetStringCreating(*this, "Caption", "text", kCaptionDefaults, true, text);
}
unsigned CfgDocument::GetCfgSelectSkin(std::string* value)
{
    return GetStringCreating(*this, "SelectSkin", "value", kSelectSkinDefaults, false, value);
}

bool CfgDocument::GetCfgSelectSkinIsUserImg()
{
    if (!loaded_) return false;
    TiXmlElement* e = Find("SelectSkin");
    if (!e) {
        e = AppendToRoot("SelectSkin");
        SetDefaults(e, kSelectSkinDefaults);
        Save();
        return false;
    }
    bool b = false;
    e->QueryBoolAttribute("isUserImg", &b);
    return b;
}

std::string CfgDocument::GetCfgWaterMarkPosition()
{
    return GetStringNoCreate("WaterMarkPath", "position");
}
std::string CfgDocument::GetCfgCaptionPosition()
{
    return GetStringNoCreate("Caption", "position");
}

unsigned CfgDocument::GetCfgTextFont(LOGFONTA* font)
{
    if (!loaded_) return 0;
    TiXmlElement* e = Find("TextFont");
    if (!e) {
        e = AppendToRoot("TextFont");
        for (const FontField& f : kFontFields) e->SetAttribute(f.name, f.number);
        e->SetAttribute("lfFaceName", kDefaultFaceNameUtf8);
        Save();
    }
    for (const FontField& f : kFontFields) {
        int v = 0;
        if (e->QueryIntAttribute(f.name, &v) == TIXML_SUCCESS) f.set(*font, v);
    }
    if (const char* face = e->Attribute("lfFaceName")) {
        std::string ansi = TruncateAnsi(Utf8ToAnsiString(face), LF_FACESIZE - 1);
        memset(font->lfFaceName, 0, sizeof font->lfFaceName);
        memcpy(font->lfFaceName, ansi.data(), ansi.size());
    }
    return 1;
}

// --- Hot keys ----------------------------------------------------------------------

unsigned CfgDocument::SetCfgHotkey(const std::string& name, const int* vkey, const int* fsmod,
                                   const std::string* vkeystr)
{
    if (!loaded_) return 0;
    TiXmlElement* group = Find("Hotkey");
    if (!group) group = AppendToRoot("Hotkey");
    // Keys are looked up among the group's children only, so that a key
    // can never be confused with a setting group of the same name.
    TiXmlElement* e = FindCfgNode(group->FirstChildElement(), name);
    if (!e) e = group->LinkEndChild(new TiXmlElement(name.c_str()))->ToElement();
    e->SetAttribute("vkey", *vkey);
    e->SetAttribute("fsmod", *fsmod);
    e->SetAttribute("vkeystr", *vkeystr);
    Save();
    return 1;
}

unsigned CfgDocument::GetCfgHotkey(const std::string& name, int* vkey, int* fsmod,
                                   std::string* vkeystr)
{
    if (!loaded_) return 0;
    *vkey = -1;
    *fsmod = -1;
    TiXmlElement* group = Find("Hotkey");
    TiXmlElement* e = group ? FindCfgNode(group->FirstChildElement(), name) : nullptr;
    if (!e) return 0;
    int v = 0;
    if (e->QueryIntAttribute("vkey", &v) == TIXML_SUCCESS) *vkey = v;
    if (e->QueryIntAttribute("fsmod", &v) == TIXML_SUCCESS) *fsmod = v;
    const char* s = e->Attribute("vkeystr");
    *vkeystr = s ? s : "";
    return 1;
}
