// Setters called from a worker thread for two seconds while the UI thread
// repaints two windows (one of them per-pixel layered), selects rows and
// items and types: nothing crashes, nothing deadlocks, and the last values
// set are the ones shown.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "UiTestUtil.h"

using namespace DuiLib;
using uitest::PumpFor;
using uitest::PumpUntil;

TEST(Stress, WorkerThreadSettersWhileTheUiThreadRepaints)
{
    CPaintManagerUI::SetInstance(GetModuleHandleA(nullptr));
    std::unique_ptr<uitest::RecordingWindow> w(uitest::OpenRecordingWindow("controls_window.xml"));
    std::unique_ptr<uitest::RecordingWindow> frame(
        uitest::OpenRecordingWindow("flash_frame.xml", 760, 120, WS_EX_TOOLWINDOW));
    ASSERT_TRUE(w && frame);
    HWND h = w->GetHWND();
    auto* list = w->Find<CListUI>("playlist");
    std::vector<CListTextElementUI*> rows;
    for (int i = 0; i < 20; ++i) {
        auto* row = new CListTextElementUI;
        row->SetFixedHeight(22);
        list->Add(row);
        row->SetText(0, ("行" + std::to_string(i)).c_str());
        rows.push_back(row);
    }
    auto* edit = w->Find<CEditUI>("edit");
    uitest::PostClick(h, uitest::Centre(edit));
    HWND native = edit->GetNativeWindow();
    ASSERT_NE(nullptr, native);

    CControlUI* status = w->Find("status");
    CControlUI* title = w->Find("title");
    CControlUI* readOnly = w->Find("readonly_edit");
    auto* progress = w->Find<CProgressUI>("progress");
    auto* slider = w->Find<CSliderUI>("slider");
    CControlUI* frameLabel = frame->Find("hole_label");
    CControlUI* veil = frame->Find("veil");

    // Typed characters and the edit's text from the worker meet in the
    // native edit's queue, and a character queued after the worker's last
    // text would land after it: the UI thread stops typing once the worker
    // is finishing and tells it when no typed character is left queued, and
    // only then come the last values, still while the UI thread repaints.
    std::atomic<bool> finishing{false};
    std::atomic<bool> typingOver{false};
    std::atomic<bool> done{false};
    std::atomic<int> rounds{0};
    std::thread worker([&] {
        DWORD start = GetTickCount();
        for (int i = 0; GetTickCount() - start < 2000; ++i) {
            std::string n = std::to_string(i);
            status->SetText(("第" + n + "次").c_str());
            status->SetVisible(i % 7 != 0);
            title->SetBkImage(i % 2 ? "panel.png" : "");
            title->SetToolTip(n.c_str());
            edit->SetText(("输入" + n).c_str());
            readOnly->SetEnabled(i % 3 != 0);
            progress->SetValue(i % 101);
            progress->SetText((n + "%").c_str());
            slider->SetValue((i * 7) % 101);
            rows[(size_t)(i % 20)]->SetText(1, n.c_str());
            frameLabel->SetText(("帧" + n).c_str());
            veil->SetBkColor(i % 2 ? 0x80000000 : 0xFF00FF00);
            ++rounds;
        }
        finishing = true;
        for (DWORD wait = GetTickCount(); !typingOver && GetTickCount() - wait < 5000;)
            Sleep(1);
        status->SetVisible(true);
        status->SetText("完成");
        edit->SetText("最后");
        readOnly->SetEnabled(true);
        frameLabel->SetText("结束");
        done = true;
    });

    // Meanwhile: repaint both windows, move the selections, type. The
    // worker keeps the windows invalid, so each round takes a bounded
    // number of messages rather than waiting for an empty queue.
    DWORD deadline = GetTickCount() + 10000;
    int k = 0;
    while (!done && GetTickCount() < deadline) {
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        list->SelectItem(k % 20);
        w->Find<CComboUI>("combo")->SelectItem(k % 3);
        if (!finishing && k % 5 == 0) PostMessageW(native, WM_CHAR, 'x', 1);
        MSG msg;
        for (int n = 0; n < 20 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
            if (!CPaintManagerUI::TranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        // Checked after this round's character was posted: once the worker
        // is seen finishing no later round types, so an empty queue stays so.
        if (finishing && !typingOver &&
            !PeekMessageW(&msg, native, WM_CHAR, WM_CHAR, PM_NOREMOVE))
            typingOver = true;
        Sleep(1);
        ++k;
    }
    ASSERT_TRUE(done) << "the worker did not finish: a deadlock";
    worker.join();
    EXPECT_TRUE(typingOver) << "typed characters stayed queued";
    PumpFor(200);
    EXPECT_GT(rounds, 100);
    EXPECT_GT(k, 1);  // the UI thread kept going too

    EXPECT_STREQ("完成", status->GetText());
    EXPECT_TRUE(status->IsVisible());
    wchar_t text[64] = {};
    GetWindowTextW(native, text, 64);
    EXPECT_EQ("最后", WideToAnsi(text));
    EXPECT_TRUE(IsWindowEnabled(native));
    EXPECT_STREQ("结束", frameLabel->GetText());
    EXPECT_NE(nullptr, frame->pm().GetLayeredSurface());
    // Both windows still answer.
    DWORD_PTR result = 0;
    EXPECT_TRUE(SendMessageTimeoutA(h, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result));
    EXPECT_TRUE(SendMessageTimeoutA(frame->GetHWND(), WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result));
    DestroyWindow(frame->GetHWND());
    DestroyWindow(h);
}
