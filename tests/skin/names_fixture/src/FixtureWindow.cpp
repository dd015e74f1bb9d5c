// Three look-ups miss their layout: "titel" (for "title"), "close_btn" (for
// "closebtn") and "row_labl" (for "row_label"). Everything else is found or
// is not this window's.
#include "FixtureWindow.h"

void FixtureWindow::InitWindow()
{
    m_PaintManager.FindControl("root_layout");
    Find<DuiLib::CLabelUI>("titel");
    other_->GetPaintManager().FindControl("another_windows_name");
    DuiLib::CDialogBuilder builder;
    builder.Create("fixture_row.xml", nullptr, nullptr, &m_PaintManager);
    m_PaintManager.FindControl("row_label");
}

void FixtureWindow::Notify(DuiLib::TNotifyUI& msg)
{
    DuiLib::CDuiString name = msg.pSender->GetName();
    if (name == "ok_btn") Close();
    if (msg.pSender->GetName() == "close_btn") Close();
}

static void FillFromAnywhere(DuiLib::CPaintManagerUI& pm)
{
    pm.FindControl("not_a_windows_own");
}

void FixtureChild::InitWindow()
{
    m_PaintManager.FindControl("closebtn");
}

FixtureKitWindow::FixtureKitWindow() : SkinWindow({"fixture_row.xml", "row"}) {}

void FixtureKitWindow::OnWindowInit()
{
    Find("row");
    Find<DuiLib::CLabelUI>("row_labl");
}
