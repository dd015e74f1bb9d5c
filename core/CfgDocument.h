// The configuration store: every persistent setting lives in one XML file,
// "vintra_cfg.xml" in the user's application-data folder, root element
// "vintracfg", one element per setting group. Strings that can hold user
// text are UTF-8 in the file and ANSI (GBK) in memory; colours are COLORREF.
//
// Every set writes the whole file at once; a getter that creates a missing
// element writes it as well. Writes go to a temporary file that then
// replaces the real one, so a crash mid-write never leaves a torn file.
// UI thread only: the store has no lock.
#pragma once

#include <windows.h>

#include <string>

#include <tinyxml.h>

// The text of a newly created file: three lines, no final line feed.
extern const char kCfgDefaultText[];

// "<application data>\vintra_cfg.xml" (the folder is not created); "\vintra_cfg.xml"
// when the folder is unknown.
std::string GetCfgFilePath();

class CfgDocument {
public:
    CfgDocument() = default;
    CfgDocument(const CfgDocument&) = delete;
    CfgDocument& operator=(const CfgDocument&) = delete;

    // --- The file ----------------------------------------------------------

    // Remembers path and loads it; 1 when the file parses and has the root
    // element, else 0. The result becomes the loaded flag.
    unsigned LoadCfgFile(const std::string& path);
    // Writes kCfgDefaultText to path; 1 when written.
    unsigned CreateDefaultCfgFile(const std::string& path);
    // Writes the document to the remembered path; 0 when not loaded or the
    // write failed (the document keeps its values either way).
    unsigned SaveCfgFile();
    // Load at start: loads path; when the file is missing, or exists but is
    // not a configuration file, writes the default file and loads that. A
    // file that does not parse is first kept as path + ".bak"; when it can
    // be neither kept nor read, it is left alone and the store stays
    // unloaded. Returns the loaded flag.
    unsigned LoadOrCreate(const std::string& path);

    // First element named name in document order, starting with node
    // itself, then its descendants, then its following siblings; null when
    // not loaded.
    TiXmlElement* FindCfgNode(TiXmlNode* node, const std::string& name) const;

    const std::string& path() const { return path_; }
    bool loaded() const { return loaded_ != 0; }
    TiXmlDocument& document() { return document_; }

    // --- String sets; the element must exist (else only the save happens).
    // Not loaded: 0, else 1.
    unsigned SetCfgVideoSavePath(const std::string& path);     // videoSavePath/path, UTF-8
    unsigned SetCfgWaterMarkPath(const std::string& path);     // WaterMarkPath/path, UTF-8
    unsigned SetCfgWaterMarkPosition(const std::string& pos);  // WaterMarkPath/position
    unsigned SetCfgCaptionText(const std::string& text);       // Caption/text, UTF-8
    unsigned SetCfgCaptionPosition(const std::string& pos);    // Caption/position
    // --- Integer sets; the element must exist.
    unsigned SetCfgCaptionTextColor(int color);        // Caption/textcolor
    unsigned SetCfgCaptionBackgroundColor(int color);  // Caption/backgroundcolor
    // TextFont: the thirteen integer fields and lfFaceName (UTF-8).
    unsigned SetCfgTextFont(const LOGFONTA* font);
    // SelectSkin/value and isUserImg; nothing is written while the element
    // is missing.
    unsigned SetCfgSelectSkin(const std::string& value, bool isUserImg);

    // --- Integer sets that create a missing element. Not loaded: 0
    // (SetCfgStartCountdown: 1), else 1.
    unsigned SetCfgStartCountdown(int choice);         // start_countdown/countdown
    unsigned SetCfgSaveImgType(int type);              // save_img_type/type
    unsigned SetCfgFrameRate(int rate);                // farme_rate/rate
    unsigned SetCfgCodecType(int type);                // codec_type/type
    unsigned SetCfgVideoQuality(int quality);          // video_qulity/qulity
    unsigned SetCfgRecMode(int mode);                  // rec_mode/mode
    unsigned SetCfgHideFloatWnd(int hide);             // hide_float_wnd/hide
    unsigned SetCfgFloatWndOpacity(int percent);       // float_wnd_opacity/opacity
    unsigned SetCfgRecMicphone(int rec);               // rec_micphone/rec
    unsigned SetCfgRecSpeaker(int rec);                // rec_speaker/rec
    unsigned SetCfgRecCursor(int rec);                 // rec_cursor/rec
    unsigned SetCfgHighlightCursor(unsigned char on);  // highter_cursor/ishighter, 0 or 1
    unsigned SetCfgHighlightColor(int color);          // highter_cursor/color
    unsigned SetCfgHighlightSize(int size);            // highter_cursor/size
    unsigned SetCfgClickEffect(int rec);               // add_click_effect/rec
    unsigned SetCfgClickLeftColor(int color);          // add_click_effect/lbtn_color
    unsigned SetCfgClickRightColor(int color);         // add_click_effect/rbtn_color
    unsigned SetCfgWheelEffectColor(int color);        // add_wheel_effect/color
    unsigned SetCfgAutoPlayOnComplete(int play);       // auto_play_oncomplete/auto_play

    // --- Integer gets into the caller's variable, which keeps its value
    // unless the attribute holds a number. Not loaded: 1; element missing: 0;
    // else 1. The caller's variable holds its start-up default beforehand.
    unsigned GetCfgStartCountdown(int* choice);
    unsigned GetCfgSaveImgType(int* type);
    unsigned GetCfgFrameRate(int* rate);
    unsigned GetCfgCodecType(int* type);
    unsigned GetCfgVideoQuality(int* quality);
    unsigned GetCfgRecMode(int* mode);
    unsigned GetCfgHideFloatWnd(int* hide);
    unsigned GetCfgFloatWndOpacity(int* percent);
    unsigned GetCfgRecMicphone(int* rec);
    unsigned GetCfgRecSpeaker(int* rec);
    unsigned GetCfgRecCursor(int* rec);
    unsigned GetCfgHighlightColor(int* color);
    unsigned GetCfgHighlightSize(int* size);
    unsigned GetCfgClickEffect(int* rec);
    unsigned GetCfgClickLeftColor(int* color);
    unsigned GetCfgClickRightColor(int* color);
    unsigned GetCfgWheelEffectColor(int* color);
    // The caller passes g_bAutoPlayOnComplete.
    unsigned GetCfgAutoPlayOnComplete(int* play);
    // Boolean query (true/false/1/0) into 0 or 1.
    unsigned GetCfgHighlightCursor(unsigned char* on);

    // --- Integer gets by value: 0 when not loaded or missing.
    int GetCfgCaptionTextColor();
    int GetCfgCaptionBackgroundColor();

    // --- String gets that create a missing element with its group's
    // defaults (and save). Not loaded: an empty string and 0, else 1.
    unsigned GetCfgVideoSavePath(std::string* path);
    unsigned GetCfgWaterMarkPath(std::string* path);
    unsigned GetCfgCaptionText(std::string* text);
    unsigned GetCfgSelectSkin(std::string* value);
    // SelectSkin/isUserImg; false when not loaded or absent.
    bool GetCfgSelectSkinIsUserImg();

    // --- String gets without creation: empty when not loaded or missing.
    std::string GetCfgWaterMarkPosition();
    std::string GetCfgCaptionPosition();

    // The caption font (the caller passes the caption settings' LOGFONT).
    // Not loaded: 0, font untouched. A missing element is created with the
    // default font. Fields absent from the file keep their value; the face
    // name is cut to 31 bytes on a character boundary.
    unsigned GetCfgTextFont(LOGFONTA* font);

    // --- Hot keys: child elements of "Hotkey" with vkey, fsmod, vkeystr.
    // Creates "Hotkey" or the child when missing; not loaded: 0, else 1.
    unsigned SetCfgHotkey(const std::string& name, const int* vkey, const int* fsmod,
                          const std::string* vkeystr);
    // Not loaded: 0, outputs untouched. Else vkey and fsmod start at -1;
    // the child missing: 0 (vkeystr untouched); else each output takes its
    // attribute (vkey, fsmod stay -1 and vkeystr becomes empty when absent)
    // and the result is 1.
    unsigned GetCfgHotkey(const std::string& name, int* vkey, int* fsmod, std::string* vkeystr);

private:
    TiXmlElement* Root();
    TiXmlElement* Find(const char* name);
    TiXmlElement* AppendToRoot(const char* name);
    bool Save();

    unsigned SetStringExisting(const char* element, const char* attribute, const std::string& value,
                               bool utf8);
    unsigned SetIntExisting(const char* element, const char* attribute, int value);
    unsigned SetIntCreating(const char* element, const char* attribute, int value,
                            unsigned resultWhenNotLoaded = 0);
    unsigned GetInt(const char* element, const char* attribute, int* value);
    int GetIntByValue(const char* element, const char* attribute);
    std::string GetStringNoCreate(const char* element, const char* attribute);

    std::string path_;
    TiXmlDocument document_;
    unsigned loaded_ = 0;
};

// The program's one store.
extern CfgDocument g_cfgDocument;

// Start-up: g_cfgDocument.LoadOrCreate(GetCfgFilePath()).
unsigned LoadConfigFile();
