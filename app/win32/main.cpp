#include <windows.h>

#include "app/win32/ZULApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandLine, int /*show*/)
{
    CZULApp app(instance, commandLine != nullptr ? commandLine : "");
    app.InitInstance();
    return 0;
}
