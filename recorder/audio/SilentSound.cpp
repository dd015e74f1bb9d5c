#include "recorder/audio/SilentSound.h"

#include <windows.h>
#include <mmsystem.h>

#include <mutex>

namespace {

const WORD kSilentSoundResource = 132;

std::mutex g_lock;
HANDLE g_wake = nullptr;
bool g_pending = false;
SilentSoundPlay g_request = SilentSoundPlay::Once;

DWORD WINAPI PlayerThread(void*)
{
    for (;;) {
        WaitForSingleObject(g_wake, INFINITE);
        SilentSoundPlay play;
        {
            std::lock_guard<std::mutex> lock(g_lock);
            if (!g_pending) continue;
            g_pending = false;
            play = g_request;  // only the latest request counts
        }
        PlaySoundA(MAKEINTRESOURCEA(kSilentSoundResource), GetModuleHandleA(nullptr),
                   SND_RESOURCE | SND_ASYNC | (play == SilentSoundPlay::Loop ? SND_LOOP : 0));
    }
}

}  // namespace

void PlaySilentSound(SilentSoundPlay play)
{
    std::lock_guard<std::mutex> lock(g_lock);
    if (!g_wake) {
        g_wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        HANDLE thread =
            g_wake ? CreateThread(nullptr, 0, PlayerThread, nullptr, 0, nullptr) : nullptr;
        if (!thread) {
            if (g_wake) CloseHandle(g_wake);
            g_wake = nullptr;
            return;
        }
        CloseHandle(thread);
    }
    g_request = play;
    g_pending = true;
    SetEvent(g_wake);
}
