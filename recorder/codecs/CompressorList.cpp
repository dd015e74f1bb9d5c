#include "recorder/codecs/CompressorList.h"

#include "core/CfgDocument.h"
#include "recorder/codecs/PluginCodecs.h"
#include "recorder/codecs/RecordingSettings.h"
#include "recorder/codecs/TestFrame.h"
#include "recorder/codecs/VideoOptions.h"

#include <cwchar>
#include <vector>

const wchar_t kX264CompressorDescription[] = L"x264vfw - H.264/MPEG-4 AVC codec";
const wchar_t kXvidCompressorDescription[] = L"Xvid MPEG-4 Codec";

std::unique_ptr<CodecInfoList> g_pCodecInfos;

namespace {

const DWORD kVifpHandler = mmioFOURCC('V', 'I', 'F', 'P');

// Handlers are matched without regard to case, as the compressor manager
// matches them.
bool SameHandler(DWORD a, DWORD b)
{
    return (a | 0x20202020u) == (b | 0x20202020u);
}

// Opens one compressor for a query and adds it when it takes the frame.
void TryAdd(CodecInfoList& list, DWORD type, DWORD handler, const BITMAPINFOHEADER& frame)
{
    HIC hic = ICOpen(type, handler, ICMODE_QUERY);
    if (!hic) return;
    if (ICSendMessage(hic, ICM_COMPRESS_QUERY, reinterpret_cast<DWORD_PTR>(&frame), 0) ==
        ICERR_OK) {
        ICINFO& info = list.infos[list.count];
        ZeroMemory(&info, sizeof info);
        ICGetInfo(hic, &info, sizeof info);
        // A driver that leaves its codes out still records under the handler
        // it was opened by.
        if (!info.fccHandler) info.fccHandler = handler;
        if (!info.fccType) info.fccType = type;
        if (wcscmp(info.szDescription, kX264CompressorDescription) == 0)
            g_videoOpts.m_nX264Index = list.count;
        else if (wcscmp(info.szDescription, kXvidCompressorDescription) == 0)
            g_videoOpts.m_nXvidIndex = list.count;
        ++list.count;
    }
    ICClose(hic);
}

}  // namespace

UINT SelectCompressorIndex(int codecType, int x264Index, int xvidIndex)
{
    int index = -1;
    if (codecType == kCodecTypeX264)
        index = x264Index;
    else if (codecType == kCodecTypeXvid)
        index = xvidIndex;
    return index < 0 ? 0 : static_cast<UINT>(index);
}

void EnumVideoCompressors()
{
    g_videoOpts.m_nX264Index = -1;
    g_videoOpts.m_nXvidIndex = -1;
    const CompressorTestFrame frame = GrabCompressorTestFrame();

    g_pCodecInfos = std::make_unique<CodecInfoList>();
    CodecInfoList& list = *g_pCodecInfos;
    std::vector<DWORD> listed;
    ICINFO info{};
    for (DWORD i = 0; list.count < CodecInfoList::kCapacity && ICInfo(0, i, &info); ++i) {
        listed.push_back(info.fccHandler);
        if (info.fccHandler == kVifpHandler) continue;
        TryAdd(list, info.fccType, info.fccHandler, frame.header);
    }
    // The compressor manager may list only the drivers of the registry;
    // a plug-in installed for this process is usable all the same.
    for (DWORD handler : InstalledPluginHandlers()) {
        if (list.count >= CodecInfoList::kCapacity) break;
        bool seen = false;
        for (DWORD h : listed) seen = seen || SameHandler(h, handler);
        if (!seen) TryAdd(list, ICTYPE_VIDEO, handler, frame.header);
    }
    if (list.count == 0) return;

    int codecType = g_nCodecType;
    g_cfgDocument.GetCfgCodecType(&codecType);
    UINT selected =
        SelectCompressorIndex(codecType, g_videoOpts.m_nX264Index, g_videoOpts.m_nXvidIndex);
    if (selected >= static_cast<UINT>(list.count)) selected = 0;
    g_videoOpts.m_uSelectedCompressor = selected;
    g_videoOpts.m_fccHandler = list.infos[selected].fccHandler;
}

int CompressorCount()
{
    return g_pCodecInfos ? g_pCodecInfos->count : 0;
}

const ICINFO* SelectedCompressorInfo()
{
    if (!g_pCodecInfos || g_videoOpts.m_uSelectedCompressor >= UINT(g_pCodecInfos->count))
        return nullptr;
    return &g_pCodecInfos->infos[g_videoOpts.m_uSelectedCompressor];
}
