#include "platform/x264vfw/X264Params.h"

#include "platform/x264vfw/OptionLine.h"

namespace x264vfw {

namespace {

// H.264 colour codes (x264_colmatrix_names and friends).
const int kBt709 = 1;
const int kBt470bg = 5;
const int kSmpte170m = 6;

// x264's command line knows these; its parameter parser does not.
bool IsPresetOption(const Option& o)
{
    return o.name == "preset" || o.name == "tune" || o.name == "profile";
}

bool DefaultPreset(x264_param_t* p, const std::string& preset, const std::string& tune,
                   std::vector<std::string>* warnings)
{
    if (x264_param_default_preset(p, preset.c_str(), tune.empty() ? nullptr : tune.c_str()) == 0)
        return true;
    warnings->push_back("unknown preset \"" + preset + "\" or tune \"" + tune + "\"");
    if (!tune.empty() && x264_param_default_preset(p, preset.c_str(), nullptr) == 0) return true;
    return x264_param_default_preset(p, "medium", nullptr) == 0;
}

}  // namespace

bool BuildX264Params(const EncoderSettings& settings, const StreamShape& shape, x264_param_t* p,
                     ColourSetup* colour, std::vector<std::string>* warnings)
{
    std::string preset = settings.preset;
    std::string tune = settings.zeroLatency ? "zerolatency" : "";
    std::string profile = settings.profile;
    std::vector<Option> params;
    for (Option& o : SplitOptionLine(settings.extraCmdline)) {
        if (!IsPresetOption(o))
            params.push_back(o);
        else if (!o.value)
            warnings->push_back("--" + o.name + " without a value");
        else
            (o.name == "preset" ? preset : o.name == "tune" ? tune : profile) = *o.value;
    }

    if (!DefaultPreset(p, preset, tune, warnings)) return false;
    p->rc.i_rc_method = X264_RC_CRF;
    p->rc.f_rf_constant = static_cast<float>(settings.ratefactorTenths) / 10.0f;
    p->i_keyint_max = settings.keyintMax;
    p->i_log_level = settings.logLevel - 1;  // 0 is X264_LOG_NONE (-1)
    // Screen pictures are sRGB, whose primaries are BT.709's; say so, so
    // players need not guess from the picture size.
    p->vui.i_colorprim = kBt709;
    p->vui.i_transfer = kBt709;
    p->vui.i_colmatrix = kBt709;
    p->vui.b_fullrange = 0;

    for (Option o : params) {
        // The command line's --range is x264's "fullrange" parameter.
        if (o.name == "range" && o.value && (*o.value == "tv" || *o.value == "pc")) {
            o.name = "fullrange";
            o.value = *o.value == "pc" ? "on" : "off";
        }
        int r = x264_param_parse(p, o.name.c_str(), o.value ? o.value->c_str() : nullptr);
        if (r == X264_PARAM_BAD_NAME)
            warnings->push_back("unknown option --" + o.name);
        else if (r != 0)
            warnings->push_back("bad value for --" + o.name + ": " + o.value.value_or(""));
    }

    // The pictures are what this compressor makes of the host's RGB.
    p->i_csp = X264_CSP_I420;
    p->i_bitdepth = 8;
    p->i_width = shape.width;
    p->i_height = shape.height;
    p->i_fps_num = shape.fpsNum ? shape.fpsNum : 25;
    p->i_fps_den = shape.fpsNum && shape.fpsDen ? shape.fpsDen : 1;
    p->i_timebase_num = p->i_fps_den;
    p->i_timebase_den = p->i_fps_num;
    p->b_vfr_input = 0;
    // Each key frame carries its own SPS and PPS, so a cut or a seek that
    // starts there decodes.
    p->b_annexb = 1;
    p->b_repeat_headers = 1;

    // Video for Windows hands over one frame per call and takes that frame's
    // data back at once; it has no way to flush. Whatever the preset or the
    // command line asked for, nothing may be held back: no B-frames, no
    // lookahead (so no macroblock tree), and threads that split a frame into
    // slices instead of working on several frames at once.
    p->i_bframe = 0;
    p->rc.i_lookahead = 0;
    p->i_sync_lookahead = 0;
    p->rc.b_mb_tree = 0;
    p->b_sliced_threads = 1;

    // The converter knows BT.601 and BT.709 in TV or PC range; anything else
    // asked for is signalled as BT.709 so the stream says what it holds.
    if (p->vui.i_colmatrix != kBt470bg && p->vui.i_colmatrix != kSmpte170m)
        p->vui.i_colmatrix = kBt709;
    if (p->vui.b_fullrange != 1) p->vui.b_fullrange = 0;
    colour->matrix = p->vui.i_colmatrix == kBt709 ? YuvMatrix::Bt709 : YuvMatrix::Bt601;
    colour->fullRange = p->vui.b_fullrange == 1;

    if (!profile.empty() && x264_param_apply_profile(p, profile.c_str()) < 0)
        warnings->push_back("profile \"" + profile + "\" does not fit; x264 chooses");
    return true;
}

}  // namespace x264vfw
