// The program's side of the click queue: the storage, exported from the
// executable so that CamHook.dll finds it in whichever program loaded it.
#include "platform/hook/CamHook.h"

ClickEventQueue& ClickQueue::getQueue()
{
    static ClickEventQueue queue;
    return queue;
}
