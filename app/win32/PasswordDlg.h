#pragma once

#include <windows.h>

#include <string>

#include "app/PasswordPrompt.h"

// The run-mode password dialog (resource 140). Each showing starts with an empty
// field; Enter in the field counts as OK.
class PasswordDlg : public PasswordDialog {
public:
    explicit PasswordDlg(HWND owner = nullptr);

    int Show(std::string& entered) override;

    // The text taken by the last OK.
    const std::string& EnteredText() const { return m_entered; }

private:
    static INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK EditProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnInitDialog(HWND dlg);
    void OnOK(HWND dlg);

    HWND m_owner;
    std::string m_entered;
};
