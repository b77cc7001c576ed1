#include "DataExchange.h"
#include "Dialog.h"
#include "WindowTest.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_chain;

class ChildPanel : public CDialog {
public:
    ChildPanel() : CDialog(200) {}
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN)
            g_chain.push_back("child");
        return FALSE;
    }
};

// The top dialog takes Space and leaves every other key to the controls; it
// never calls the base, so the dialog manager's navigation is off.
class TopDialog : public CDialog {
public:
    TopDialog() : CDialog(100) {}
    ChildPanel panel;
    CWnd edit;
    CString text = L"hello";
    int number = 12;
    std::vector<std::string> script;  // what the timer does, step by step
    CString seenText;
    int spaces = 0;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        panel.Create(this);
        SetTimer(1, 20);
        return TRUE;
    }
    static const MessageTable& Table();
    const MessageTable& GetMessageTable() const override { return Table(); }
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, 1001, edit);
        DDX_Text(dx, 1001, text);
        DDX_Text(dx, 1004, number);
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message != WM_KEYDOWN)
            return FALSE;
        g_chain.push_back("top");
        if (msg->wParam == VK_SPACE) {
            ++spaces;
            return TRUE;
        }
        return FALSE;
    }
    void OnTimer()
    {
        KillTimer(1);
        HWND childEdit = ::GetDlgItem(panel.m_hWnd, 2001);
        // A key for the child panel's edit travels edit -> panel -> top.
        ::PostMessageW(childEdit, WM_KEYDOWN, VK_SPACE, 0);
        ::PostMessageW(childEdit, WM_CHAR, L'x', 0);
        ::PostMessageW(m_hWnd, WM_APP, 0, 0);
    }
    void OnApp()
    {
        seenText = CString::WindowText(::GetDlgItem(panel.m_hWnd, 2001));
        EndDialog(77);
    }
};

BEGIN_MESSAGE_TABLE(TopDialog, CDialog)
    OnMessage<&TopDialog::OnTimer>(WM_TIMER),
    OnMessage<&TopDialog::OnApp>(WM_APP),
END_MESSAGE_TABLE()

// A dialog that notes whether a window was enabled while it ran, then ends.
class EnabledProbe : public CDialog {
    DECLARE_MESSAGE_TABLE()

public:
    EnabledProbe() : CDialog(100) {}
    HWND watched = nullptr;
    BOOL watchedEnabled = TRUE;
    BOOL OnInitDialog() override
    {
        ::PostMessageW(m_hWnd, WM_APP, 0, 0);
        return TRUE;
    }

private:
    void OnApp()
    {
        watchedEnabled = ::IsWindowEnabled(watched);
        EndDialog(IDOK);
    }
};

BEGIN_MESSAGE_TABLE(EnabledProbe, CDialog)
    OnMessage<&EnabledProbe::OnApp>(WM_APP),
END_MESSAGE_TABLE()

}  // namespace

TEST(Dialog, ModalLoopOffersKeysAlongTheParentChainAndEnds)
{
    g_chain.clear();
    TopDialog dlg;
    EXPECT_EQ(dlg.DoModal(), 77);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.spaces, 1);
    EXPECT_EQ(g_chain, (std::vector<std::string>{"child", "top"}));
    // The character nobody took reached the edit.
    EXPECT_EQ(dlg.seenText, L"x");
    // The child panel went with its parent.
    EXPECT_EQ(dlg.panel.m_hWnd, nullptr);
}

TEST(Dialog, ModalDialogDisablesItsOwnerWhileItRuns)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, 0));
    EnabledProbe probe;
    probe.watched = owner.m_hWnd;
    EXPECT_EQ(probe.DoModal(&owner), IDOK);
    EXPECT_FALSE(probe.watchedEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    owner.DestroyWindow();
}

TEST(Dialog, ModalDialogFromAChildPanelDisablesTheTopWindow)
{
    CWnd top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, L"top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, 0));
    ChildPanel panel;
    ASSERT_TRUE(panel.Create(&top));
    EnabledProbe probe;
    probe.watched = top.m_hWnd;
    EXPECT_EQ(probe.DoModal(&panel), IDOK);
    EXPECT_FALSE(probe.watchedEnabled);
    EXPECT_TRUE(IsWindowEnabled(top.m_hWnd));
    EXPECT_TRUE(IsWindowEnabled(panel.m_hWnd));
    top.DestroyWindow();
}

TEST(Dialog, EnterAndEscapeInAChildPanelLeaveItAlive)
{
    CWnd top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, L"top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, 0));
    ChildPanel panel;
    ASSERT_TRUE(panel.Create(&top));
    HWND h = panel.m_hWnd;
    // What the dialog manager sends for Enter and Esc.
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    // Enter typed into the panel's edit, through the program's loop.
    HWND edit = ::GetDlgItem(h, 2001);
    SetFocus(edit);
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(edit, WM_KEYUP, VK_RETURN, 0);
    wintest::Pump(50);
    EXPECT_TRUE(IsWindow(h));
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_EQ(panel.m_hWnd, h);
    top.DestroyWindow();
}

TEST(Dialog, EndingAModelessDialogHidesIt)
{
    CDialog dlg(100);
    ASSERT_TRUE(dlg.Create(nullptr));
    dlg.ShowWindow(SW_SHOW);
    HWND h = dlg.m_hWnd;
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(h));
    EXPECT_FALSE(IsWindowVisible(h));
    dlg.DestroyWindow();
}

TEST(Dialog, CloseEndsTheModalDialogWithCancel)
{
    class Closer : public CDialog {
    public:
        Closer() : CDialog(100) {}
        BOOL OnInitDialog() override
        {
            ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
            return TRUE;
        }
    } dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST(Dialog, MissingTemplateFailsWithoutAWindow)
{
    CDialog dlg(999);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_FALSE(dlg.Create(nullptr));
}

TEST(DataExchange, FillsAndReadsControlsAndRejectsBadNumbers)
{
    class Form : public CDialog {
    public:
        Form() : CDialog(100) {}
        CWnd edit;
        CString text = L"中文 text";
        int number = -5;
        void DoDataExchange(CDataExchange* dx) override
        {
            DDX_Control(dx, 1001, edit);
            DDX_Text(dx, 1001, text);
            DDX_Text(dx, 1004, number);
        }
    } form;
    ASSERT_TRUE(form.Create(nullptr));  // OnInitDialog fills the controls
    EXPECT_EQ(CWnd::FromHandlePermanent(form.GetDlgItem(1001)), &form.edit);
    EXPECT_EQ(CString::WindowText(form.GetDlgItem(1001)), L"中文 text");
    EXPECT_EQ(CString::WindowText(form.GetDlgItem(1004)), L"-5");

    struct Case {
        const wchar_t* typed;
        bool ok;
        int value;
    } cases[] = {
        {L"42", true, 42}, {L" 7 ", true, 7}, {L"-2147483648", true, INT_MIN},
        {L"", false, 99}, {L"12abc", false, 99}, {L"99999999999", false, 99},
    };
    for (const Case& c : cases) {
        form.number = 99;
        SetWindowTextW(form.GetDlgItem(1004), c.typed);
        SetWindowTextW(form.GetDlgItem(1001), L"back");
        EXPECT_EQ(form.UpdateData(true), c.ok) << c.typed;
        EXPECT_EQ(form.number, c.value) << c.typed;
        EXPECT_EQ(form.text, L"back");
    }
    form.DestroyWindow();
}
