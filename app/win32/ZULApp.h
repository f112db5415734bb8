#pragma once

#include <windows.h>

#include <string>

// The application object: runs the program's whole life from InitInstance.
class CZULApp {
public:
    CZULApp(HINSTANCE instance, std::string commandTail);

    // Start-up, the main window and the way out. Always false: the process ends
    // afterwards and no message loop of the application's own runs.
    bool InitInstance();

private:
    static void SetOwnPriority(DWORD priorityClass);

    HINSTANCE m_instance;
    std::string m_commandTail;
};
