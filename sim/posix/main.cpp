// zul-radio: an emulated radio on a pseudo-terminal, for writes without hardware.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "sim/EmulatedRadio.h"
#include "sim/RadioOptions.h"
#include "sim/posix/PtyPort.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int)
{
    g_stop = 1;
}

void CatchSignals()
{
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

bool WriteFlashFile(const std::string& path, const std::vector<std::uint8_t>& image)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv)
{
    RadioOptions options;
    std::string error;
    if (!ParseRadioOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "zul-radio: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(RadioUsage().c_str(), stdout);
        return 0;
    }

    PtyPort pty;
    if (!pty.Open(error) || (!options.linkPath.empty() && !pty.Link(options.linkPath, error))) {
        std::fprintf(stderr, "zul-radio: %s\n", error.c_str());
        return 1;
    }
    CatchSignals();
    // The path first and alone on its line, so that a script can read it and go on.
    std::printf("%s\n", pty.SlavePath().c_str());
    std::fflush(stdout);

    SteadyRadioClock clock;
    EmulatedRadio radio(options.config, clock);
    auto say = [&](const std::string& text) {
        if (options.verbose)
            std::fprintf(stderr, "%10.3f %s\n", static_cast<double>(clock.NowUs()) / 1e6, text.c_str());
    };
    radio.SetLog(say);

    bool open = false;
    std::vector<std::uint8_t> in;
    std::vector<std::uint8_t> pending;
    while (g_stop == 0) {
        const PtyPort::ReadResult result = pty.Read(in);
        if (result == PtyPort::PTY_FAILED) {
            std::fprintf(stderr, "zul-radio: the pseudo-terminal failed: %s\n",
                         PtyPort::ErrorText(errno).c_str());
            break;
        }
        if (result == PtyPort::PTY_CLOSED) {
            if (open) {
                radio.PortClosed();
                pty.DropUnread();
                pending.clear();
                open = false;
                say("port closed");
            }
        } else {
            radio.SetLineSettings(pty.Settings());
            if (!open) {
                radio.PortOpened();
                open = true;
                const LineSettings s = pty.Settings();
                say("port opened at " + std::to_string(s.baud) + " baud, " + std::to_string(s.dataBits) +
                    std::string(1, s.parity) + std::to_string(s.stopBits));
            }
            if (result == PtyPort::PTY_DATA)
                radio.FromPc(in);
        }

        const std::vector<std::uint8_t> out = radio.ToPc();
        pending.insert(pending.end(), out.begin(), out.end());
        if (open && !pending.empty())
            pending.erase(pending.begin(),
                          pending.begin() + static_cast<std::ptrdiff_t>(pty.Write(pending.data(), pending.size())));

        const std::int64_t now = clock.NowUs();
        const std::int64_t last = radio.LastPcByteUs();
        if (last < 0) {
            if (options.waitMs > 0 && now >= static_cast<std::int64_t>(options.waitMs) * 1000)
                break;
        } else {
            const int limitMs = radio.Record().endFrame ? options.endIdleMs : options.idleMs;
            if (limitMs > 0 && now - last >= static_cast<std::int64_t>(limitMs) * 1000)
                break;
        }

        // Sleep until the next thing is due, but look at the port at least every 5 ms.
        const std::int64_t untilNextUs = radio.NextEventUs() - now;
        const int waitMs = static_cast<int>(std::clamp<std::int64_t>(untilNextUs / 1000, 0, 5));
        if (open)
            pty.Wait(pending.empty() ? waitMs : 1);
        else
            usleep(static_cast<useconds_t>(std::max(waitMs, 1) * 1000));
    }

    if (!options.flashPath.empty() && !WriteFlashFile(options.flashPath, radio.Flash().Image()))
        std::fprintf(stderr, "zul-radio: cannot write %s\n", options.flashPath.c_str());
    std::printf("%s\n", radio.Summary().c_str());
    std::fflush(stdout);
    return 0;
}
