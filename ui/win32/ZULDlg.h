#pragma once

#include <windows.h>

#include <string>

#include "app/RunMode.h"

// The main window (dialog 102). Start-up fills the public members before DoModal
// and reads m_comPort, m_baudRate and m_currentDir back after it.
class CZULDlg {
public:
    CZULDlg();
    ~CZULDlg();

    CZULDlg(const CZULDlg&) = delete;
    CZULDlg& operator=(const CZULDlg&) = delete;

    INT_PTR DoModal(HWND owner = nullptr);

    RunMode m_runMode = MODE_NORMAL;
    int m_comPort = 1;
    int m_baudRate = 38400;
    std::string m_programDir;
    std::string m_currentDir;
    std::string m_title;

private:
    static INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    BOOL OnInitDialog();
    void SetupTitleAndLabels();
    void CreateStatusBar();
    void OnPaint();
    void OnCloseButton();
    bool OnSysCommand(WPARAM command);
    int ConfirmFinish();
    void EndWithAccept();

    HWND m_hWnd = nullptr;
    HWND m_statusBar = nullptr;
    HICON m_icon = nullptr;
    HBITMAP m_logo = nullptr;
};
