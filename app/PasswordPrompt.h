#pragma once

#include <string>

#include "app/RunMode.h"

// Results of a modal dialog, with the values the platform gives them.
enum DialogResult : int {
    DIALOG_OK = 1,
    DIALOG_CANCEL = 2,
};

// The password question as the prompt sees it: one modal showing per call, each
// starting with an empty field. Show returns DIALOG_OK with the typed text in
// `entered`, or anything else when the user backed out.
class PasswordDialog {
public:
    virtual ~PasswordDialog() = default;
    virtual int Show(std::string& entered) = 0;
};

// Grants the requested run mode only to someone who types its password within
// three showings; otherwise MODE_NORMAL. Wrong or refused passwords are not reported.
RunMode PromptRunMode(RunMode requested, PasswordDialog& dialog);
