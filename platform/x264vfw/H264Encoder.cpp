#include "platform/x264vfw/H264Encoder.h"

namespace x264vfw {

H264Encoder::~H264Encoder()
{
    if (h_) x264_encoder_close(h_);
}

bool H264Encoder::Open(x264_param_t* params)
{
    if (h_) x264_encoder_close(h_);
    pts_ = 0;
    h_ = x264_encoder_open(params);
    return h_ != nullptr;
}

bool H264Encoder::Encode(const I420Planes& planes, bool forceKey, Output* out)
{
    if (!h_) return false;
    x264_picture_t in, made;
    x264_picture_init(&in);
    in.img.i_csp = X264_CSP_I420;
    in.img.i_plane = 3;
    in.img.plane[0] = planes.y;
    in.img.plane[1] = planes.u;
    in.img.plane[2] = planes.v;
    in.img.i_stride[0] = planes.strideY;
    in.img.i_stride[1] = planes.strideU;
    in.img.i_stride[2] = planes.strideU;
    in.i_type = forceKey ? X264_TYPE_IDR : X264_TYPE_AUTO;
    // The host's frame numbers may jump (skipped frames); x264 only needs
    // them to rise.
    in.i_pts = pts_++;
    x264_nal_t* nals = nullptr;
    int count = 0;
    int size = x264_encoder_encode(h_, &nals, &count, &in, &made);
    if (size <= 0 || count <= 0) return false;
    // x264 lays a picture's NAL units out one after another.
    out->data = nals[0].p_payload;
    out->size = static_cast<size_t>(size);
    out->keyFrame = made.b_keyframe != 0;
    return true;
}

}  // namespace x264vfw
