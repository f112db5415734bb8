#include "ui/win32/ZULDlg.h"

#include <commctrl.h>

#include "app/AppState.h"
#include "resources/resource.h"
#include "ui/MainWindowModes.h"

namespace {

const UINT_PTR kRefreshTimerId = 1;
const COLORREF kTransparent = RGB(255, 0, 255);
const int kLogoX = 490;
const int kLogoY = 170;

HINSTANCE Instance()
{
    return GetModuleHandleA(nullptr);
}

std::string ResourceText(UINT id)
{
    char text[512] = {};
    LoadStringA(Instance(), id, text, sizeof text);
    return text;
}

void ShowControl(HWND dlg, int id, bool shown)
{
    HWND control = GetDlgItem(dlg, id);
    EnableWindow(control, shown ? TRUE : FALSE);
    ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
}

}  // namespace

CZULDlg::CZULDlg()
{
    m_icon = LoadIconA(Instance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CZULDlg::~CZULDlg()
{
    if (m_logo != nullptr)
        DeleteObject(m_logo);
}

INT_PTR CZULDlg::DoModal(HWND owner)
{
    return DialogBoxParamA(Instance(), MAKEINTRESOURCEA(IDD_ZUL_DIALOG), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CZULDlg::DialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CZULDlg*>(lParam);
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        self->m_hWnd = dlg;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<CZULDlg*>(GetWindowLongPtrA(dlg, DWLP_USER));
    if (self == nullptr)
        return FALSE;
    return self->HandleMessage(msg, wParam, lParam);
}

INT_PTR CZULDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM /*lParam*/)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_QUERYDRAGICON:
        SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(m_icon));
        return TRUE;
    case WM_SIZE:
        if (m_statusBar != nullptr)
            SendMessageA(m_statusBar, WM_SIZE, 0, 0);
        return FALSE;
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam) ? TRUE : FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
            // Escape and the hidden template buttons never close the window.
            return TRUE;
        case IDC_CLOSE:
            if (HIWORD(wParam) == BN_CLICKED)
                OnCloseButton();
            return TRUE;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

BOOL CZULDlg::OnInitDialog()
{
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    SetupTitleAndLabels();
    SendDlgItemMessageA(m_hWnd, IDC_FILE_LIST, WM_SETFONT,
                        reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FONT)), TRUE);
    CreateStatusBar();
    SendDlgItemMessageA(m_hWnd, IDC_PROGRESS, PBM_SETPOS, 0, 0);

    HWND list = GetDlgItem(m_hWnd, IDC_FILE_LIST);
    const LRESULT ex = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 ex | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);

    LONG_PTR style = GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    SetWindowLongPtrA(m_hWnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_MAXIMIZEBOX));
    LONG_PTR exStyle = GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
    SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_CONTEXTHELP));
    return TRUE;
}

void CZULDlg::SetupTitleAndLabels()
{
    const ModeLook look = ModeLookFor(m_runMode);
    m_title += look.titleSuffix;
    ShowControl(m_hWnd, IDC_FILE_CONV, look.fileConvShown);
    ShowControl(m_hWnd, IDC_DUMP, look.dumpShown);
    SetWindowTextA(m_hWnd, m_title.c_str());

    static const struct {
        int control;
        UINT text;
    } kLabels[] = {
        {IDC_RELOAD, IDS_RELOAD},           {IDC_BROWSE, IDS_BROWSE},
        {IDC_WRITE, IDS_WRITE},             {IDC_FILE_CONV, IDS_FILE_CONV},
        {IDC_DUMP, IDS_DUMP},               {IDC_CLOSE, IDS_CLOSE},
        {IDC_CONFIGURE_GROUP, IDS_CONFIGURE}, {IDC_COM_PORT_LABEL, IDS_COM_PORT},
        {IDC_BAUD_RATE_LABEL, IDS_BAUD_RATE}, {IDC_CONNECTED_LABEL, IDS_CONNECTED_TYPE},
    };
    for (const auto& label : kLabels)
        SetDlgItemTextA(m_hWnd, label.control, ResourceText(label.text).c_str());
}

void CZULDlg::CreateStatusBar()
{
    m_statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                  m_hWnd, nullptr, Instance(), nullptr);
    if (m_statusBar == nullptr)
        return;
    int parts[] = {-1};  // one pane over the whole width
    SendMessageA(m_statusBar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));

    // Grow the window by the bar's height so that the bar covers no control.
    RECT bar;
    GetWindowRect(m_statusBar, &bar);
    RECT window;
    GetWindowRect(m_hWnd, &window);
    SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left,
                 window.bottom - window.top + (bar.bottom - bar.top), SWP_NOMOVE | SWP_NOZORDER);
    SendMessageA(m_statusBar, WM_SIZE, 0, 0);
}

void CZULDlg::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    RECT client;
    GetClientRect(m_hWnd, &client);
    if (IsIconic(m_hWnd)) {
        SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        const int cx = GetSystemMetrics(SM_CXICON);
        const int cy = GetSystemMetrics(SM_CYICON);
        DrawIcon(dc, (client.right - cx + 1) / 2, (client.bottom - cy + 1) / 2, m_icon);
    } else {
        if (m_logo == nullptr)
            m_logo = LoadBitmapA(Instance(), MAKEINTRESOURCEA(IDB_LOGO));
        BITMAP bm;
        if (m_logo != nullptr && GetObjectA(m_logo, sizeof bm, &bm) != 0) {
            HDC memory = CreateCompatibleDC(dc);
            if (memory != nullptr) {
                HGDIOBJ old = SelectObject(memory, m_logo);
                TransparentBlt(dc, kLogoX, kLogoY, bm.bmWidth, bm.bmHeight, memory, 0, 0,
                               bm.bmWidth, bm.bmHeight, kTransparent);
                SelectObject(memory, old);
                DeleteDC(memory);
            }
        }
    }
    EndPaint(m_hWnd, &ps);
}

int CZULDlg::ConfirmFinish()
{
    // No write can run yet, so the window may always close.
    return 1;
}

void CZULDlg::EndWithAccept()
{
    WriteLastResult();
    EndDialog(m_hWnd, IDOK);
}

void CZULDlg::OnCloseButton()
{
    if (ConfirmFinish() == 1)
        EndWithAccept();
}

bool CZULDlg::OnSysCommand(WPARAM command)
{
    if (command != SC_CLOSE)
        return false;  // default processing
    if (ConfirmFinish() == 1) {
        KillTimer(m_hWnd, kRefreshTimerId);
        EndDialog(m_hWnd, IDOK);  // the title-bar close leaves LAST_RESULT alone
    }
    return true;
}
