// The message-box backend: a helper thread finds the box on screen, reads
// it and presses a button, as a user would.
#include "platform/win32/Win32MessageBoxes.h"

#include "TestSupport.h"
#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <atomic>
#include <thread>
#include <vector>

namespace tidemark::win32 {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageRequest;

struct SeenBox {
    bool found = false;
    std::string caption;
    std::vector<std::string> texts;   // static controls
    int buttons = 0;
};

struct ChildScan {
    std::vector<std::string> texts;
    int buttons = 0;
};

BOOL CALLBACK scanChild(HWND child, LPARAM context) {
    auto* scan = reinterpret_cast<ChildScan*>(context);
    wchar_t className[64] = {};
    ::GetClassNameW(child, className, 64);
    wchar_t text[512] = {};
    ::GetWindowTextW(child, text, 512);
    if (::CompareStringOrdinal(className, -1, L"Button", -1, TRUE) == CSTR_EQUAL) {
        if (::IsWindowVisible(child)) ++scan->buttons;
    } else if (::CompareStringOrdinal(className, -1, L"Static", -1, TRUE) == CSTR_EQUAL && text[0] != L'\0') {
        scan->texts.push_back(fromWideBuffer(text));
    }
    return TRUE;
}

struct FindContext {
    DWORD threadId;
    HWND found;
};

BOOL CALLBACK findDialogOfThread(HWND window, LPARAM context) {
    auto* find = reinterpret_cast<FindContext*>(context);
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (::GetWindowThreadProcessId(window, nullptr) == find->threadId && std::wstring(className) == L"#32770" &&
        ::IsWindowVisible(window)) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

// Shows the request on this thread; another thread waits for the box,
// records it and answers with the given button id.
MessageAnswer showAndAnswer(const MessageRequest& request, int buttonId, SeenBox& seen) {
    const DWORD boxThread = ::GetCurrentThreadId();
    std::atomic<bool> done{false};
    std::thread answerer([&] {
        for (int i = 0; i < 400 && !done; ++i) {
            FindContext find{boxThread, nullptr};
            ::EnumWindows(findDialogOfThread, reinterpret_cast<LPARAM>(&find));
            if (find.found != nullptr) {
                ::Sleep(100);   // let the box finish laying itself out
                wchar_t caption[256] = {};
                ::GetWindowTextW(find.found, caption, 256);
                seen.caption = fromWideBuffer(caption);
                ChildScan scan;
                ::EnumChildWindows(find.found, scanChild, reinterpret_cast<LPARAM>(&scan));
                seen.texts = scan.texts;
                seen.buttons = scan.buttons;
                seen.found = true;
                ::PostMessageW(find.found, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
                return;
            }
            ::Sleep(50);
        }
        // Never seen: end the box's modal loop so the test fails instead of hanging.
        ::PostThreadMessageW(boxThread, WM_QUIT, 0, 0);
    });
    Win32MessageBoxes boxes;
    const MessageAnswer answer = boxes.show(request);
    done = true;
    answerer.join();
    // Drop a quit message the fallback may have left for this thread.
    MSG message;
    while (::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    return answer;
}

TEST(Win32MessageBoxes, YesNoBoxShowsTextAndTitleAndReturnsNo) {
    MessageRequest request;
    request.text = "\xe8\xa8\xad\xe5\xae\x9a\xe3\x82\x92\xe4\xbf\x9d\xe5\xad\x98\xe3\x81\x97\xe3\x81\xbe\xe3\x81\x99\xe3\x81\x8b?";   // 設定を保存しますか?
    request.title = "Tidemark \xe3\x83\x86\xe3\x82\xb9\xe3\x83\x88";   // Tidemark テスト
    request.buttons = MessageButtons::YesNo;
    request.icon = MessageIcon::Question;
    SeenBox seen;
    EXPECT_EQ(showAndAnswer(request, IDNO, seen), MessageAnswer::No);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.caption, request.title);
    EXPECT_NE(std::find(seen.texts.begin(), seen.texts.end(), request.text), seen.texts.end());
    EXPECT_EQ(seen.buttons, 2);
}

TEST(Win32MessageBoxes, YesNoCancelHasThreeButtonsAndReturnsYes) {
    MessageRequest request;
    request.text = "three";
    request.title = "Tidemark";
    request.buttons = MessageButtons::YesNoCancel;
    request.icon = MessageIcon::Exclamation;
    SeenBox seen;
    EXPECT_EQ(showAndAnswer(request, IDYES, seen), MessageAnswer::Yes);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.buttons, 3);
}

TEST(Win32MessageBoxes, RetryCancelReturnsRetry) {
    MessageRequest request;
    request.text = "retry";
    request.title = "Tidemark";
    request.buttons = MessageButtons::RetryCancel;
    request.icon = MessageIcon::Error;
    SeenBox seen;
    EXPECT_EQ(showAndAnswer(request, IDRETRY, seen), MessageAnswer::Retry);
    EXPECT_EQ(seen.buttons, 2);
}

TEST(Win32MessageBoxes, OkCancelReturnsCancel) {
    MessageRequest request;
    request.text = "cancel me";
    request.title = "Tidemark";
    request.buttons = MessageButtons::OkCancel;
    SeenBox seen;
    EXPECT_EQ(showAndAnswer(request, IDCANCEL, seen), MessageAnswer::Cancel);
    EXPECT_EQ(seen.buttons, 2);
}

TEST(Win32MessageBoxes, EmptyTitleGetsTheSystemsDefaultTitle) {
    MessageRequest request;
    request.text = "untitled";
    request.buttons = MessageButtons::Ok;
    request.icon = MessageIcon::Information;
    SeenBox seen;
    EXPECT_EQ(showAndAnswer(request, IDOK, seen), MessageAnswer::Ok);
    ASSERT_TRUE(seen.found);
    EXPECT_FALSE(seen.caption.empty());
    EXPECT_EQ(seen.buttons, 1);
    std::printf("default message box title: [%s]\n", seen.caption.c_str());
}

} // namespace
} // namespace tidemark::win32
