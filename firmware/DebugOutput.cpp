#include "firmware/DebugOutput.h"

#include <atomic>

namespace {

std::atomic<FirmwareDebugSink> g_sink{nullptr};

}  // namespace

void SetFirmwareDebugSink(FirmwareDebugSink sink)
{
    g_sink.store(sink);
}

void FirmwareDebugOutput(const char* text)
{
    if (FirmwareDebugSink sink = g_sink.load())
        sink(text);
}
