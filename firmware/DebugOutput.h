#pragma once

// Short diagnostic lines of the firmware builder go to the platform's debugger
// output. The firmware code has no platform calls, so the program installs the
// writer at start-up; until then the lines go nowhere.
using FirmwareDebugSink = void (*)(const char* text);

void SetFirmwareDebugSink(FirmwareDebugSink sink);

// Hands one text to the installed writer, if any.
void FirmwareDebugOutput(const char* text);
