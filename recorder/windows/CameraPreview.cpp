#include "recorder/windows/CameraPreview.h"

RECT CameraPictureRect(int clientWidth, int clientHeight, bool captionShown)
{
    if (captionShown) return {1, kCameraCaptionHeight, clientWidth - 2, clientHeight - 1};
    return {1, 0, clientWidth - 1, clientHeight - 1};
}

CameraCaption::Action CameraCaption::Tick(DWORD now, POINT cursor, bool inside)
{
    if (m_shownAt != 0 && now - m_shownAt < kCameraCaptionMinMs) return Action::None;
    if (inside && (cursor.x != m_lastCursor.x || cursor.y != m_lastCursor.y)) {
        m_lastCursor = cursor;
        // 0 means hidden; the one tick count that is 0 counts as 1.
        m_shownAt = now ? now : 1;
        return Action::Show;
    }
    m_shownAt = 0;
    return Action::Hide;
}
