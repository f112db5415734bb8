#include "app/PasswordPrompt.h"

namespace {
const int kMaxShowings = 3;
}

RunMode PromptRunMode(RunMode requested, PasswordDialog& dialog)
{
    if (requested < MODE_MANU || requested > MODE_LTR)
        return MODE_NORMAL;
    const std::string password = RunModePassword(requested);
    if (password.empty())
        return requested;  // granted without asking

    for (int showing = 0; showing < kMaxShowings; ++showing) {
        std::string entered;
        if (dialog.Show(entered) != DIALOG_OK)
            return MODE_NORMAL;
        if (entered.empty())
            return MODE_NORMAL;
        if (entered == password)
            return requested;
    }
    return MODE_NORMAL;
}
