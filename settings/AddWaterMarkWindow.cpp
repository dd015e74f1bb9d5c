#include "settings/AddWaterMarkWindow.h"

#include "core/CfgDocument.h"
#include "kit/Dialogs.h"
#include "recorder/OverlaySettings.h"
#include "settings/OverlayGrid.h"

#include <windowsx.h>

namespace {

const DWORD kStyle = 0x96C80000;
const DWORD kExStyle = 0x60000;

const char kPictureFilter[] = "Image Files(*.jpg;*.png;*.bmp)\0*.jpg;*.png;*.bmp\0\0";

}  // namespace

AddWaterMarkWindow::AddWaterMarkWindow(HWND, int x, int y)
    : SkinWindow({"watermark_setting.xml"}), m_at{x, y}
{
    Create(nullptr, "水印设置", kStyle, kExStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
           CW_USEDEFAULT);
}

void AddWaterMarkWindow::InitWindow()
{
    SkinWindow::InitWindow();
    const SIZE size = m_PaintManager.GetInitSize();
    ::SetWindowPos(m_hWnd, nullptr, m_at.x, m_at.y, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void AddWaterMarkWindow::OnWindowInit()
{
    m_pRoot = Find("root_layout");
    m_pFrame = Find("show_btn");
    m_pPicture = Find("rect_show_btn");
    m_grid.Find(*this);
    ShowPreview(g_watermarkSettings.imagePath);
    m_grid.Highlight((int)g_watermarkSettings.position);
}

void AddWaterMarkWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) OnClick(msg.pSender->GetName());
    m_grid.Highlight((int)g_watermarkSettings.position);
}

void AddWaterMarkWindow::OnClick(const DuiLib::CDuiString& name)
{
    const int cell = GridCellOfButton(name);
    if (cell >= 0) {
        g_watermarkSettings.position = (DWORD)cell;
        g_cfgDocument.SetCfgWaterMarkPosition(GridCellText(cell));
    } else if (name == "add_watermark_btn") {
        ChoosePicture();
    } else if (name == "remove_watermark_btn") {
        g_watermarkSettings.imagePath.clear();
        g_cfgDocument.SetCfgWaterMarkPath("");
        if (m_pPicture) m_pPicture->SetBkImage("");
    } else if (name == "closebtn") {
        Close(IDOK);
    }
}

void AddWaterMarkWindow::ChoosePicture()
{
    std::string path;
    if (AskOpenFile(m_hWnd, kPictureFilter, &path)) {
        // Stored even when it cannot be shown: the recording then goes
        // without a watermark.
        g_watermarkSettings.imagePath = path;
        g_cfgDocument.SetCfgWaterMarkPath(path);
    }
    ShowPreview(g_watermarkSettings.imagePath);
}

void AddWaterMarkWindow::ShowPreview(const std::string& path)
{
    if (path.empty() || !m_pFrame || !m_pPicture) return;
    // Read afresh: the user may have changed the picture under the same name
    // since it was last shown. Reading needs no more than read access, so a
    // read-only picture shows too.
    DuiLib::CImageCache::Remove(m_PaintManager.GetSkinFolder(), path.c_str());
    const DuiLib::TImageInfo* picture = m_PaintManager.GetImageEx(path.c_str());
    if (!picture) return;
    const RECT shown = PreviewPictureRect(m_pFrame->GetPos(), picture->nX, picture->nY);
    // The picture floats in its own container: its place is relative to it.
    RECT relative = shown;
    if (DuiLib::CControlUI* parent = m_pPicture->GetParent()) {
        const RECT& origin = parent->GetPos();
        ::OffsetRect(&relative, -origin.left, -origin.top);
    }
    m_pPicture->SetPos(relative);
    m_pPicture->SetBkImage(path.c_str());
}

LRESULT AddWaterMarkWindow::HandleCustomMessage(UINT uMsg, WPARAM, LPARAM lParam, BOOL&)
{
    if (uMsg == WM_MOUSEMOVE) {
        POINT pointer = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        m_grid.Highlight((int)g_watermarkSettings.position, &pointer);
    }
    return 0;
}
