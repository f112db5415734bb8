// The real password dialog, driven from a second thread like a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <thread>
#include <vector>

#include "app/win32/PasswordDlg.h"
#include "resources/resource.h"
#include "tests/win32/WindowDriver.h"

namespace {

enum class Action { ENTER_IN_FIELD, OK_BUTTON, CANCEL_BUTTON, ESCAPE, CLOSE_BOX };

struct Step {
    std::string text;
    Action action;
};

struct Seen {
    int showings = 0;
    bool fieldsStartedEmpty = true;
    bool labelsRight = true;
    bool masked = true;
};

// Plays the steps, one per showing of the dialog.
Seen Drive(const std::vector<Step>& steps)
{
    Seen seen;
    HWND previous = nullptr;
    for (const Step& step : steps) {
        if (previous != nullptr && !WaitForWindowGone(previous, 10000))
            break;
        HWND dlg = WaitForWindowTitled(0, "Password", 10000);
        if (dlg == nullptr)
            break;
        ++seen.showings;
        HWND edit = GetDlgItem(dlg, IDC_PASSWORD_EDIT);
        if (WindowText(edit) != "")
            seen.fieldsStartedEmpty = false;
        if (WindowText(GetDlgItem(dlg, IDOK)) != "OK" || WindowText(GetDlgItem(dlg, IDCANCEL)) != "Cancel")
            seen.labelsRight = false;
        if ((GetWindowLongA(edit, GWL_STYLE) & ES_PASSWORD) == 0)
            seen.masked = false;
        SetWindowTextA(edit, step.text.c_str());
        switch (step.action) {
        case Action::ENTER_IN_FIELD:
            SetFocus(edit);
            PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
            break;
        case Action::OK_BUTTON:
            SendMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
            break;
        case Action::CANCEL_BUTTON:
            SendMessageA(GetDlgItem(dlg, IDCANCEL), BM_CLICK, 0, 0);
            break;
        case Action::ESCAPE:
            PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            break;
        case Action::CLOSE_BOX:
            PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
        previous = dlg;
    }
    return seen;
}

}  // namespace

TEST(PasswordDlg, EnterInTheFieldActsAsOk)
{
    PasswordDlg dialog;
    std::thread user([] { Drive({{"Harbor Lantern", Action::ENTER_IN_FIELD}}); });
    std::string entered;
    const int result = dialog.Show(entered);
    user.join();
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(entered, "Harbor Lantern");
}

TEST(PasswordDlg, CancelEscapeAndCloseBoxTakeNoText)
{
    for (Action how : {Action::CANCEL_BUTTON, Action::ESCAPE, Action::CLOSE_BOX}) {
        PasswordDlg dialog;
        std::thread user([how] { Drive({{"Harbor Lantern", how}}); });
        std::string entered = "unchanged";
        const int result = dialog.Show(entered);
        user.join();
        EXPECT_EQ(result, IDCANCEL) << static_cast<int>(how);
        EXPECT_EQ(entered, "unchanged") << static_cast<int>(how);
    }
}

TEST(PasswordDlg, PromptWithTheRealDialog)
{
    const struct {
        const char* name;
        RunMode requested;
        std::vector<Step> steps;
        RunMode expected;
        int showings;
    } cases[] = {
        {"two wrong then right", MODE_MANU,
         {{"harbor lantern", Action::OK_BUTTON}, {"x", Action::ENTER_IN_FIELD}, {"Harbor Lantern", Action::OK_BUTTON}},
         MODE_MANU, 3},
        {"three wrong", MODE_DUMP,
         {{"a", Action::OK_BUTTON}, {"b", Action::ENTER_IN_FIELD}, {"TIDE POOL", Action::OK_BUTTON}},
         MODE_NORMAL, 3},
        {"empty", MODE_LTR, {{"", Action::OK_BUTTON}}, MODE_NORMAL, 1},
        {"cancel at second", MODE_LTR, {{"nope", Action::OK_BUTTON}, {"toggle9pqr", Action::CANCEL_BUTTON}}, MODE_NORMAL, 2},
    };
    for (const auto& c : cases) {
        PasswordDlg dialog;
        Seen seen;
        std::thread user([&] { seen = Drive(c.steps); });
        const RunMode granted = PromptRunMode(c.requested, dialog);
        user.join();
        EXPECT_EQ(granted, c.expected) << c.name;
        EXPECT_EQ(seen.showings, c.showings) << c.name;
        EXPECT_TRUE(seen.fieldsStartedEmpty) << c.name;
        EXPECT_TRUE(seen.labelsRight) << c.name;
        EXPECT_TRUE(seen.masked) << c.name;
        EXPECT_EQ(WaitForWindowTitled(0, "Password", 0), nullptr) << c.name << ": no extra showing";
    }
}
