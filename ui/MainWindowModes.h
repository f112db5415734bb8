#pragma once

#include <string>

#include "app/RunMode.h"

// What the run mode changes in the main window's frame: the suffix of its title and
// which of the File Conv and Dump buttons are offered.
struct ModeLook {
    const char* titleSuffix;
    bool fileConvShown;
    bool dumpShown;
};

ModeLook ModeLookFor(RunMode mode);

// The caption of the main window: the start-up title with the run mode's suffix.
std::string MainWindowCaption(const std::string& title, RunMode mode);
