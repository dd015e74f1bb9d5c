#include "recorder/codecs/VideoOptions.h"

sVideoOpts g_videoOpts;
sAudioFormat g_audioFormat;

UINT ClampFrameRate(int rate)
{
    if (rate < static_cast<int>(kMinFrameRate) || rate > static_cast<int>(kMaxFrameRate))
        return kDefaultFrameRate;
    return static_cast<UINT>(rate);
}

double FrameIntervalForRate(UINT rate)
{
    return static_cast<double>(1000 / (rate ? rate : kDefaultFrameRate));
}

sVideoOpts& sVideoOpts::operator=(const sVideoOpts& other)
{
    m_dFrameInterval = other.m_dFrameInterval;
    m_uFrameRate = other.m_uFrameRate;
    m_uSelectedCompressor = other.m_uSelectedCompressor;
    m_fccHandler = other.m_fccHandler;
    return *this;
}

void sVideoOpts::SetFrameRate(int rate)
{
    m_uFrameRate = ClampFrameRate(rate);
    m_dFrameInterval = FrameIntervalForRate(m_uFrameRate);
}
