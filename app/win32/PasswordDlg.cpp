#include "app/win32/PasswordDlg.h"

#include "resources/resource.h"

namespace {

std::string ResourceText(UINT id)
{
    char text[256] = {};
    LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

// The edit field's own window procedure, kept while the field is subclassed.
const char* const kOriginalProcProp = "ZUL.PasswordEdit.Proc";
const char* const kOwnerProp = "ZUL.PasswordEdit.Owner";

}  // namespace

PasswordDlg::PasswordDlg(HWND owner) : m_owner(owner) {}

int PasswordDlg::Show(std::string& entered)
{
    m_entered.clear();
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PASSWORD),
                                           m_owner, DialogProc, reinterpret_cast<LPARAM>(this));
    if (result == IDOK)
        entered = m_entered;
    return static_cast<int>(result);
}

void PasswordDlg::OnInitDialog(HWND dlg)
{
    m_entered.clear();
    SetWindowTextA(dlg, ResourceText(IDS_PASSWORD).c_str());
    SetDlgItemTextA(dlg, IDOK, ResourceText(IDS_OK).c_str());
    SetDlgItemTextA(dlg, IDCANCEL, ResourceText(IDS_CANCEL).c_str());
    HWND edit = GetDlgItem(dlg, IDC_PASSWORD_EDIT);
    SetPropA(edit, kOwnerProp, this);
    SetPropA(edit, kOriginalProcProp,
             reinterpret_cast<HANDLE>(SetWindowLongPtrA(edit, GWLP_WNDPROC,
                                                        reinterpret_cast<LONG_PTR>(EditProc))));
}

void PasswordDlg::OnOK(HWND dlg)
{
    char text[512] = {};
    GetDlgItemTextA(dlg, IDC_PASSWORD_EDIT, text, sizeof text);
    m_entered = text;
    EndDialog(dlg, IDOK);
}

LRESULT CALLBACK PasswordDlg::EditProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto original = reinterpret_cast<WNDPROC>(GetPropA(edit, kOriginalProcProp));
    // Enter in the field is OK at once, before the dialog's own key handling sees it.
    if (msg == WM_GETDLGCODE && lParam != 0) {
        const MSG* m = reinterpret_cast<const MSG*>(lParam);
        if (m->message == WM_KEYDOWN && m->wParam == VK_RETURN)
            return DLGC_WANTALLKEYS;
    }
    if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
        static_cast<PasswordDlg*>(GetPropA(edit, kOwnerProp))->OnOK(GetParent(edit));
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropA(edit, kOriginalProcProp);
        RemovePropA(edit, kOwnerProp);
    }
    return CallWindowProcA(original, edit, msg, wParam, lParam);
}

INT_PTR CALLBACK PasswordDlg::DialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        reinterpret_cast<PasswordDlg*>(lParam)->OnInitDialog(dlg);
        return TRUE;
    }
    case WM_COMMAND: {
        auto* self = reinterpret_cast<PasswordDlg*>(GetWindowLongPtrA(dlg, DWLP_USER));
        if (LOWORD(wParam) == IDOK) {
            self->OnOK(dlg);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {  // Cancel, Esc and the close box
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        break;
    }
    default:
        break;
    }
    return FALSE;
}
