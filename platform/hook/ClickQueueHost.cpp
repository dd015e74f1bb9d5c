// The program's side of the click queue: the storage, exported from the
// executable so that CamHook.dll finds it in whichever program loaded it.
#include "platform/hook/CamHook.h"

ClickEventQueue& ClickQueue::getQueue()
{
    // Never destroyed: a hook still installed while the program exits may
    // append after this file's statics are gone.
    static ClickEventQueue* queue = new ClickEventQueue;
    return *queue;
}
