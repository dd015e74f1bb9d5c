// The save notice's life on the screen, apart from its window: it fades in
// (+5 every 10 ms), holds 3 s at full opacity, fades out (-1 every 10 ms)
// and closes; the mouse over it holds it at full opacity, and once the
// mouse leaves it holds 1.5 s before fading out from full.
//
// A hold that ends with the cursor resting on the notice holds on. The steps
// follow the clock, not the count of timer ticks: a system whose timers fire
// every 16 ms or later still fades in about 0.5 s and out in about 2.6 s.
//
// The window gives its timers and opacity through NoticeFadeHost and
// passes its timer ticks and mouse events on.
#pragma once

class NoticeFadeHost {
public:
    virtual void StartTimer(int id, unsigned periodMs) = 0;
    virtual void StopTimer(int id) = 0;
    virtual void ApplyOpacity(int opacity) = 0;  // 0..255
    virtual void CloseNotice() = 0;
    // The cursor is over the notice now (it may rest there without moving).
    virtual bool IsMouseOver() const = 0;
    // A millisecond clock (GetTickCount).
    virtual unsigned long NowMs() const = 0;

protected:
    ~NoticeFadeHost() = default;
};

class NoticeFade {
public:
    enum Timer { kFadeInTimer = 1, kFadeOutTimer = 2, kHoldTimer = 3 };
    static const unsigned kStepMs = 10;
    static const unsigned kHoldMs = 3000;
    static const unsigned kHoldAfterMouseMs = 1500;
    static const int kFadeInStep = 5;

    explicit NoticeFade(NoticeFadeHost& host) : host_(host) {}

    // The window is up: the first faint step shows and the fade-in runs.
    void Start();
    void OnTimer(int id);
    // The mouse moves over the notice.
    void OnMouseOver();
    void OnMouseLeave();

    int opacity() const { return opacity_; }
    bool closed() const { return closed_; }

private:
    NoticeFadeHost& host_;
    // The steps of the running fade since it began.
    int StepsSince(unsigned long startMs) const;

    int opacity_ = 1;
    unsigned long fadeStart_ = 0;
    bool closed_ = false;
};
