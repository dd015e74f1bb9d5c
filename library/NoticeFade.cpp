#include "library/NoticeFade.h"

int NoticeFade::StepsSince(unsigned long startMs) const
{
    return (int)((host_.NowMs() - startMs) / kStepMs);
}

void NoticeFade::Start()
{
    opacity_ = 1;
    fadeStart_ = host_.NowMs();
    // Shown at the fade's first value, not at full opacity first: the
    // notice must not flash before it fades in.
    host_.ApplyOpacity(opacity_);
    host_.StartTimer(kFadeInTimer, kStepMs);
}

void NoticeFade::OnTimer(int id)
{
    if (closed_) return;
    switch (id) {
        case kFadeInTimer: {
            const int steps = StepsSince(fadeStart_);
            const int next = 1 + kFadeInStep * (steps > 0 ? steps : 1);
            opacity_ = next > 255 ? 255 : next;
            host_.ApplyOpacity(opacity_);
            if (opacity_ == 255) {
                host_.StopTimer(kFadeInTimer);
                host_.StartTimer(kHoldTimer, kHoldMs);
            }
            break;
        }
        case kHoldTimer:
            // The timer repeats: it looks again a hold later.
            if (host_.IsMouseOver()) break;
            host_.StopTimer(kHoldTimer);
            opacity_ = 255;
            fadeStart_ = host_.NowMs();
            host_.StartTimer(kFadeOutTimer, kStepMs);
            break;
        case kFadeOutTimer: {
            // Tick k shows 256 - k: 255 first, below 1 after 2.56 s.
            const int steps = StepsSince(fadeStart_);
            const int applied = 256 - (steps > 0 ? steps : 1);
            host_.ApplyOpacity(applied < 0 ? 0 : applied);
            opacity_ = applied - 1;
            if (applied < 1) {
                host_.StopTimer(kFadeOutTimer);
                closed_ = true;
                host_.CloseNotice();
            }
            break;
        }
        default:
            break;
    }
}

void NoticeFade::OnMouseOver()
{
    if (closed_) return;
    host_.StopTimer(kFadeInTimer);
    host_.StopTimer(kFadeOutTimer);
    host_.StopTimer(kHoldTimer);
    // The fade's own value stays where it was; the hold after the mouse
    // leaves starts the fade-out from full.
    host_.ApplyOpacity(255);
}

void NoticeFade::OnMouseLeave()
{
    if (closed_) return;
    host_.StartTimer(kHoldTimer, kHoldAfterMouseMs);
}
