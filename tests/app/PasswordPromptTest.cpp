#include <gtest/gtest.h>

#include <vector>

#include "app/PasswordPrompt.h"

namespace {

// Answers each showing from a script: a result and the text typed.
class ScriptedDialog : public PasswordDialog {
public:
    struct Answer {
        int result;
        std::string text;
    };
    explicit ScriptedDialog(std::vector<Answer> answers) : m_answers(std::move(answers)) {}

    int Show(std::string& entered) override
    {
        EXPECT_TRUE(entered.empty()) << "each showing starts with an empty field";
        if (m_shown >= m_answers.size()) {
            ADD_FAILURE() << "dialog shown more often than scripted";
            return DIALOG_CANCEL;
        }
        const Answer& a = m_answers[m_shown++];
        entered = a.text;
        return a.result;
    }
    std::size_t Shown() const { return m_shown; }

private:
    std::vector<Answer> m_answers;
    std::size_t m_shown = 0;
};

const int OK = DIALOG_OK;
const int CANCEL = DIALOG_CANCEL;

}  // namespace

TEST(PromptRunMode, PasswordLoop)
{
    const struct {
        const char* name;
        RunMode requested;
        std::vector<ScriptedDialog::Answer> answers;
        RunMode expected;
        std::size_t showings;
    } cases[] = {
        {"right at once", MODE_MANU, {{OK, "Harbor Lantern"}}, MODE_MANU, 1},
        {"two wrong then right", MODE_DUMP, {{OK, "x"}, {OK, "tide pool"}, {OK, "Tide Pool"}}, MODE_DUMP, 3},
        {"three wrong", MODE_LTR, {{OK, "a"}, {OK, "b"}, {OK, "c"}}, MODE_NORMAL, 3},
        {"cancel at second", MODE_MANU, {{OK, "wrong"}, {CANCEL, "Harbor Lantern"}}, MODE_NORMAL, 2},
        {"empty at first", MODE_MANU, {{OK, ""}}, MODE_NORMAL, 1},
        {"letter case counts", MODE_LTR, {{OK, "TOGGLE9PQR"}, {OK, "Toggle9pqr"}, {OK, "toggle9pqr "}}, MODE_NORMAL, 3},
        {"closed another way", MODE_DUMP, {{0, "Tide Pool"}}, MODE_NORMAL, 1},
        {"ship needs no password", MODE_SHIP, {}, MODE_SHIP, 0},
        {"normal needs no dialog", MODE_NORMAL, {}, MODE_NORMAL, 0},
        {"out of range", static_cast<RunMode>(7), {}, MODE_NORMAL, 0},
        {"negative", static_cast<RunMode>(-1), {}, MODE_NORMAL, 0},
    };
    for (const auto& c : cases) {
        ScriptedDialog dialog(c.answers);
        EXPECT_EQ(PromptRunMode(c.requested, dialog), c.expected) << c.name;
        EXPECT_EQ(dialog.Shown(), c.showings) << c.name;
    }
}
