#include "recorder/overlays/ClickEffectsOverlay.h"

#include "recorder/FrameSurface.h"

namespace {
// More live events than the hook ever keeps.
const size_t kMaxMarks = 1024;
}  // namespace

void ClickEffectsOverlay::Setup(const CCamCursor& cursor)
{
    Release();
    if (!cursor.m_bClickEffects) return;
    const DWORD colours[3] = {cursor.m_crLeft, cursor.m_crRight, cursor.m_crWheel};
    for (int i = 0; i < 3; ++i) {
        m_pens[i].reset(new Gdiplus::Pen(Gdiplus::Color(colours[i]), cursor.m_fRingPenWidth));
        if (m_pens[i]->GetLastStatus() != Gdiplus::Ok) {
            Release();
            return;
        }
    }
    m_timing.lifeMs = cursor.m_dwRingLife;
    m_timing.radius = cursor.m_nRingRadius;
    m_marks.resize(kMaxMarks);
}

void ClickEffectsOverlay::Release()
{
    for (auto& pen : m_pens) pen.reset();
    std::vector<ClickMark>().swap(m_marks);
}

void ClickEffectsOverlay::Draw(FrameSurface& surface, const FrameMapping& mapping)
{
    if (!m_pens[0]) return;
    size_t count;
    {
        ClickQueueLock lock;
        // Read under the lock: nothing the hook appends can be newer.
        const DWORD now = GetTickCount();
        count = CollectClickMarks(ClickQueue::getQueue(), now, m_timing, m_marks.data(),
                                  m_marks.size());
    }
    if (count == 0) return;
    Gdiplus::Graphics* g = surface.Graphics();
    if (!g) return;
    g->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    g->SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    for (size_t i = 0; i < count; ++i) {
        const ClickMark& mark = m_marks[i];
        Gdiplus::Pen* pen = m_pens[mark.pen].get();
        const POINT p = mapping.Map(mark.pt);
        const int r = mark.radius;
        if (mark.shape == ClickMark::kChevron) {
            g->DrawLine(pen, (INT)(p.x - r), (INT)p.y, (INT)p.x, (INT)(p.y - mark.depth));
            g->DrawLine(pen, (INT)(p.x + r), (INT)p.y, (INT)p.x, (INT)(p.y - mark.depth));
        } else {
            g->DrawEllipse(pen, (INT)(p.x - r), (INT)(p.y - r), (INT)(2 * r), (INT)(2 * r));
        }
    }
}
