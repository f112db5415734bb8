#include "ui/MainWindowModes.h"

ModeLook ModeLookFor(RunMode mode)
{
    switch (mode) {
    case MODE_MANU:
        return {" (M)", true, false};
    case MODE_DUMP:
        return {" (D)", false, true};
    case MODE_SHIP:
        return {" (SHIP)", false, false};
    case MODE_LTR:
        return {" (LTR)", false, false};
    case MODE_NORMAL:
        break;
    }
    return {"", false, false};
}

std::string MainWindowCaption(const std::string& title, RunMode mode)
{
    return title + ModeLookFor(mode).titleSuffix;
}
