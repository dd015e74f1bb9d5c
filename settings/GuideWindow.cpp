#include "settings/GuideWindow.h"

#include "settings/GuidePages.h"

namespace {

const DWORD kBlack = 0xFF000000;

void Caption(DuiLib::CLabelUI* label, const char* text, const RECT& rect, DWORD color)
{
    if (!label) return;
    label->SetText(text);
    label->SetPos(rect);
    label->SetTextColor(color);
}

}  // namespace

GuideWindow::GuideWindow() : SkinWindow({"guide_wnd.xml", /*skinRoot=*/nullptr})
{
    Create(nullptr, "GuideWindow", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT);
    ShowWindow(true);
}

void GuideWindow::InitWindow()
{
    SkinWindow::InitWindow();
    m_pRoot = Find("root_layout");
    m_pTopLab = Find<DuiLib::CLabelUI>("top_lab");
    m_pBottomLab = Find<DuiLib::CLabelUI>("bottom_lab");
    CenterWindow();
    m_page = 0;
    if (m_pRoot) m_pRoot->SetBkImage(TiledSkinImage(GuidePages()[0].image));
}

void GuideWindow::OnWindowInit()
{
    Caption(m_pTopLab, kGuideOpeningTop, kGuideOpeningTopRect, kBlack);
    Caption(m_pBottomLab, kGuideOpeningBottom, kGuideOpeningBottomRect, kBlack);
}

void GuideWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) {
        if (msg.pSender->GetName() == "previous_btn") {
            if (m_page > 0) ShowPage(m_page - 1);
            return;
        }
        if (msg.pSender->GetName() == "next_btn") {
            if (m_page + 1 < GuidePages().size()) ShowPage(m_page + 1);
            return;
        }
    }
    SkinWindow::OnNotify(msg);
}

void GuideWindow::ShowPage(size_t index)
{
    m_page = index;
    const GuidePage& page = GuidePages()[index];
    if (m_pRoot) m_pRoot->SetBkImage(TiledSkinImage(page.image));
    Caption(m_pTopLab, page.top, page.topRect, page.textColor);
    Caption(m_pBottomLab, page.bottom, page.bottomRect, page.textColor);
}
