// The class layer: binding at WM_INITDIALOG, routing, and how a dialog ends.
#include <gtest/gtest.h>

#include <vector>

#include "base/Wnd.h"
#include "support/TestIds.h"

namespace {

struct Call {
    const char* operation;
    UINT message;
};

// Records which operation each message reached.
class RecordingDialog : public Dlg {
public:
    std::vector<Call> calls;
    UINT closeAction = 0;  // what OnInitDialog posts to end the run

    INT_PTR OnInitDialog(WPARAM, LPARAM) override
    {
        calls.push_back({"OnInitDialog", WM_INITDIALOG});
        if (closeAction != 0)
            PostMessageW(hwnd_, WM_APP, 0, 0);
        return 1;
    }
    INT_PTR OnCommand(WPARAM wParam, LPARAM) override
    {
        calls.push_back({"OnCommand", WM_COMMAND});
        WORD id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL) {
            PostMessageW(hwnd_, WM_CLOSE, id, 0);
            return 1;
        }
        return 0;
    }
    INT_PTR OnClose(WPARAM code) override
    {
        calls.push_back({"OnClose", WM_CLOSE});
        EndDialog(hwnd_, static_cast<INT_PTR>(code));
        return 0;
    }
    INT_PTR OnCtlColorStatic(WPARAM, LPARAM) override
    {
        calls.push_back({"OnCtlColorStatic", WM_CTLCOLORSTATIC});
        return 0;
    }
    INT_PTR OnMessage(UINT message, WPARAM, LPARAM) override
    {
        calls.push_back({"OnMessage", message});
        if (message == WM_APP)
            Act();
        return 0;
    }

private:
    void Act()
    {
        HWND focus = GetFocus();
        switch (closeAction) {
        case 1: SendMessageW(GetDlgItem(hwnd_, IDOK), BM_CLICK, 0, 0); break;
        case 2: SendMessageW(GetDlgItem(hwnd_, IDCANCEL), BM_CLICK, 0, 0); break;
        case 3: PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 1); break;
        case 4: PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 1); break;
        case 5: PostMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0); break;
        }
    }
};

TEST(Dispatch, MessagesBeforeInitDialogReachNoOperation)
{
    RecordingDialog dialog;
    dialog.closeAction = 2;
    dialog.RunModal(nullptr, IDD_TEST_EMPTY);
    ASSERT_FALSE(dialog.calls.empty());
    // WM_SETFONT and the creation messages come before WM_INITDIALOG.
    EXPECT_STREQ(dialog.calls.front().operation, "OnInitDialog");
    for (const Call& call : dialog.calls)
        EXPECT_NE(call.message, static_cast<UINT>(WM_SETFONT));
}

TEST(Dispatch, ScrollBarAndMessageBoxColoursGoToOnMessage)
{
    RecordingDialog dialog;
    Dispatch(dialog, WM_CTLCOLORSCROLLBAR, 0, 0);
    Dispatch(dialog, WM_CTLCOLORMSGBOX, 0, 0);
    Dispatch(dialog, WM_CTLCOLORSTATIC, 0, 0);
    ASSERT_EQ(dialog.calls.size(), 3u);
    EXPECT_STREQ(dialog.calls[0].operation, "OnMessage");
    EXPECT_EQ(dialog.calls[0].message, static_cast<UINT>(WM_CTLCOLORSCROLLBAR));
    EXPECT_STREQ(dialog.calls[1].operation, "OnMessage");
    EXPECT_STREQ(dialog.calls[2].operation, "OnCtlColorStatic");
}

TEST(Dispatch, DialogThatOverridesNothingAnswersOneOnlyToInitDialog)
{
    Dlg plain;
    EXPECT_EQ(Dispatch(plain, WM_INITDIALOG, 0, 0), 1);
    const UINT others[] = {WM_ACTIVATE, WM_COMMAND, WM_CLOSE, WM_CTLCOLORDLG, WM_CTLCOLORBTN,
                           WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORSTATIC, WM_DRAWITEM,
                           WM_HSCROLL, WM_MEASUREITEM, WM_MOVE, WM_NCPAINT, WM_NOTIFY, WM_PAINT,
                           WM_TIMER, WM_VSCROLL, WM_CTLCOLORSCROLLBAR, WM_SETFONT, WM_USER + 7};
    for (UINT message : others)
        EXPECT_EQ(Dispatch(plain, message, 1, 1), 0) << "message " << message;
}

TEST(Dispatch, MoveIsSplitIntoSignedCoordinates)
{
    struct MoveDialog : Dlg {
        int x = 0, y = 0;
        INT_PTR OnMove(int nx, int ny) override { x = nx; y = ny; return 0; }
    } dialog;
    Dispatch(dialog, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(-20), 300));
    EXPECT_EQ(dialog.x, -20);
    EXPECT_EQ(dialog.y, 300);
}

TEST(Dispatch, UnboundWindowReachesNoObject)
{
    // A window whose user data names no object, or another window's object.
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    RecordingDialog other;
    EXPECT_EQ(DlgProc(window, WM_COMMAND, IDOK, 0), 0);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&other));
    EXPECT_EQ(DlgProc(window, WM_COMMAND, IDOK, 0), 0);
    EXPECT_TRUE(other.calls.empty());
    EXPECT_EQ(StartDlgProc(window, WM_INITDIALOG, 0, 0), 0);
    DestroyWindow(window);
}

TEST(Dispatch, UnownedDialogBelongsToTheExecutableAndFindsItsControls)
{
    // Controls take their instance from the dialog; a null one would leave
    // the skin nothing to load its bitmaps from. Items come from the list
    // made at the start; later ones, from the platform.
    struct InstanceDialog : Dlg {
        HINSTANCE dialogInstance = nullptr, controlInstance = nullptr;
        bool okListed = false, lateFound = false, missingNull = false, grandchildSkipped = false;
        INT_PTR OnInitDialog(WPARAM, LPARAM) override
        {
            HWND ok = GetDlgItem(hwnd_, IDOK);
            dialogInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
            controlInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(ok, GWLP_HINSTANCE));
            okListed = ok != nullptr && Item(IDOK) == ok;
            HWND late = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, hwnd_, reinterpret_cast<HMENU>(78),
                                        nullptr, nullptr);
            lateFound = late != nullptr && Item(78) == late;
            missingNull = Item(4242) == nullptr;
            // A child of a control is no control of the dialog's.
            CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, ok, reinterpret_cast<HMENU>(77), nullptr, nullptr);
            ChildWindows again;
            again.List(hwnd_);
            grandchildSkipped = again.Count() == Children().Count() + 1 && again.Find(77) == nullptr;
            EndDialog(hwnd_, 5);
            return 1;
        }
    } dialog;
    EXPECT_EQ(dialog.RunModal(nullptr, IDD_TEST_EMPTY), 5);
    EXPECT_EQ(dialog.dialogInstance, GetModuleHandleW(nullptr));
    EXPECT_EQ(dialog.controlInstance, GetModuleHandleW(nullptr));
    EXPECT_TRUE(dialog.okListed);
    EXPECT_TRUE(dialog.lateFound);
    EXPECT_TRUE(dialog.missingNull);
    EXPECT_TRUE(dialog.grandchildSkipped);
}

struct EndCase {
    const char* how;
    UINT action;
    INT_PTR code;
};

class DialogEnd : public ::testing::TestWithParam<EndCase> {};

TEST_P(DialogEnd, EndsThroughOnCloseWithItsCode)
{
    RecordingDialog dialog;
    dialog.closeAction = GetParam().action;
    INT_PTR result = dialog.RunModal(nullptr, IDD_TEST_EMPTY);
    EXPECT_EQ(result, GetParam().code);
    int closes = 0;
    for (const Call& call : dialog.calls)
        closes += call.message == WM_CLOSE;
    EXPECT_EQ(closes, 1);
}

INSTANTIATE_TEST_SUITE_P(Ways, DialogEnd,
                         ::testing::Values(EndCase{"OkButton", 1, 1}, EndCase{"CancelButton", 2, 2},
                                           EndCase{"Enter", 3, 1}, EndCase{"Escape", 4, 2},
                                           EndCase{"SystemMenuClose", 5, 0}),
                         [](const auto& info) { return std::string(info.param.how); });

} // namespace
