// zul-radio as a program: a small scripted peer opens the pseudo-terminal it prints,
// writes two blocks in each dialect, closing and re-opening the port on the way, and
// checks the flash file and the summary.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/sim/RadioFrames.h"
#include "tests/support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

// A running zul-radio with its standard output on a pipe.
class RadioProcess {
public:
    explicit RadioProcess(std::vector<std::string> args)
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            dup2(fds[1], STDOUT_FILENO);
            close(fds[0]);
            close(fds[1]);
            std::vector<char*> argv;
            static std::string program = ZUL_RADIO_PATH;
            argv.push_back(program.data());
            for (auto& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        close(fds[1]);
        m_out = fds[0];
    }
    ~RadioProcess()
    {
        if (m_pid > 0 && !m_reaped) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0)
            close(m_out);
    }

    // The next line of its output, waiting up to timeoutMs.
    std::string Line(int timeoutMs)
    {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < end) {
            const auto nl = m_buffer.find('\n');
            if (nl != std::string::npos) {
                std::string line = m_buffer.substr(0, nl);
                m_buffer.erase(0, nl + 1);
                return line;
            }
            pollfd p {m_out, POLLIN, 0};
            if (poll(&p, 1, 20) > 0) {
                char chunk[256];
                const ssize_t n = read(m_out, chunk, sizeof chunk);
                if (n <= 0)
                    break;
                m_buffer.append(chunk, static_cast<std::size_t>(n));
            }
        }
        return {};
    }

    // Its exit status, or -1 when it did not end within timeoutMs.
    int Wait(int timeoutMs)
    {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < end) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_reaped = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    bool m_reaped = false;
    std::string m_buffer;
};

// The PC's side: the slave of the pseudo-terminal as a raw serial port.
class PeerPort {
public:
    explicit PeerPort(std::string path) : m_path(std::move(path)) {}
    ~PeerPort() { Close(); }

    bool Open(bool twoStopBits)
    {
        m_fd = open(m_path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0)
            return false;
        termios t {};
        tcgetattr(m_fd, &t);
        cfmakeraw(&t);
        cfsetispeed(&t, B57600);
        cfsetospeed(&t, B57600);
        if (twoStopBits)
            t.c_cflag |= CSTOPB;
        else
            t.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
        return tcsetattr(m_fd, TCSANOW, &t) == 0;
    }
    void Close()
    {
        if (m_fd >= 0)
            close(m_fd);
        m_fd = -1;
    }
    void Write(const Bytes& bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = write(m_fd, bytes.data() + done, bytes.size() - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    // Up to count bytes, waiting up to timeoutMs for them.
    Bytes Read(std::size_t count, int timeoutMs = 1000)
    {
        Bytes got;
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (got.size() < count && Clock::now() < end) {
            pollfd p {m_fd, POLLIN, 0};
            if (poll(&p, 1, 10) <= 0)
                continue;
            std::uint8_t b[1024];
            const ssize_t n = read(m_fd, b, std::min(sizeof b, count - got.size()));
            if (n > 0)
                got.insert(got.end(), b, b + n);
        }
        return got;
    }
    Bytes Exchange(const Bytes& bytes, std::size_t answer)
    {
        Write(bytes);
        return Read(answer);
    }

private:
    std::string m_path;
    int m_fd = -1;
};

std::uint16_t Sum16Of(const Bytes& b)
{
    return TestSum(b, 0, b.size());
}

TEST(ZulRadio, TakesTwoStandardBlocksAcrossAReopenedPort)
{
    TempDir dir;
    const std::string flash = dir.File("flash.bin");
    RadioProcess radio({"--flash", flash, "--idle-ms", "400", "--code", "000102030405060708090A0B0C0D0E0F"});
    const std::string path = radio.Line(5000);
    ASSERT_FALSE(path.empty());

    PeerPort port(path);
    ASSERT_TRUE(port.Open(true));
    EXPECT_EQ(port.Exchange({0x00}, 1), Bytes{0x00});
    EXPECT_EQ(port.Exchange({0x5A}, 1), Bytes{0x5A});
    Bytes code;
    for (std::uint8_t i = 0; i < 16; ++i)
        code.push_back(i);
    EXPECT_EQ(port.Exchange(StdAddressFrame(1, 2, 3), 18), CodeAnswerStd(code));

    const Bytes first = StdBlockFrame(0, BlockData(1));
    EXPECT_EQ(port.Exchange(first, 1), Bytes{0x05});
    EXPECT_EQ(port.Exchange(kProtect, 3), (Bytes{0x05, first[515], first[516]}));

    // The program closes and re-opens its port several times in one write.
    for (int i = 0; i < 3; ++i) {
        port.Close();
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        ASSERT_TRUE(port.Open(true));
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    const Bytes second = StdBlockFrame(1, BlockData(2));
    EXPECT_EQ(port.Exchange(second, 1), Bytes{0x05});
    EXPECT_EQ(port.Exchange(kProtect, 3), (Bytes{0x05, second[515], second[516]}));
    port.Close();

    EXPECT_EQ(radio.Wait(5000), 0);
    const std::string summary = radio.Line(1000);
    EXPECT_NE(summary.find("standard plain, opens 4,"), std::string::npos) << summary;
    EXPECT_NE(summary.find("blocks 2, block frames 2, protects 2"), std::string::npos) << summary;
    char sum[16];
    std::snprintf(sum, sizeof sum, "data sum %04X",
                  static_cast<std::uint16_t>(Sum16Of(BlockData(1)) + Sum16Of(BlockData(2))));
    EXPECT_NE(summary.find(sum), std::string::npos) << summary;
    EXPECT_EQ(ReadFileBytes(flash), std::string(reinterpret_cast<const char*>(BlockData(1).data()), 512) +
                                        std::string(reinterpret_cast<const char*>(BlockData(2).data()), 512));
}

TEST(ZulRadio, TakesTwoMicSpBlocksAcrossAReopenedPort)
{
    TempDir dir;
    const std::string flash = dir.File("flash.bin");
    RadioProcess radio({"--dialect", "mic", "--power-on-ms", "200", "--prompt-ms", "50", "--flash", flash,
                        "--end-idle-ms", "200"});
    const std::string path = radio.Line(5000);
    ASSERT_FALSE(path.empty());

    PeerPort port(path);
    ASSERT_TRUE(port.Open(false));
    // The radio is switched on once the port is open, and then announces itself.
    EXPECT_EQ(port.Read(1, 3000), Bytes{0x5A});
    port.Write({0xA0});
    // A prompt may still cross the answer on the line; the echo comes all the same.
    Bytes seen;
    for (int i = 0; i < 5 && (seen.empty() || seen.back() != 0xA0); ++i)
        seen = port.Read(1);
    ASSERT_EQ(seen, Bytes{0xA0});
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    port.Read(16, 50);  // whatever prompts were still on their way

    Bytes code(16);
    std::copy_n("ZUL-SIM-RADIO-01", 16, code.begin());
    const Bytes address = MicAddressFrame(0, 0, 0);
    EXPECT_EQ(port.Exchange(address, 5 + 17), Concat(address, CodeAnswerMic(code)));

    const Bytes first = MicBlockFrame(0, BlockData(3));
    EXPECT_EQ(port.Exchange(first, 520), Concat(first, {0x06, static_cast<std::uint8_t>(Sum16Of(BlockData(3)))}));
    port.Close();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    ASSERT_TRUE(port.Open(false));
    const Bytes second = MicBlockFrame(1, BlockData(4));
    EXPECT_EQ(port.Exchange(second, 520), Concat(second, {0x06, static_cast<std::uint8_t>(Sum16Of(BlockData(4)))}));
    EXPECT_EQ(port.Exchange(kEndFrame, 4), kEndFrame);
    port.Close();

    EXPECT_EQ(radio.Wait(5000), 0);
    const std::string summary = radio.Line(1000);
    EXPECT_NE(summary.find("mic plain, opens 2,"), std::string::npos) << summary;
    EXPECT_NE(summary.find("blocks 2, block frames 2"), std::string::npos) << summary;
    EXPECT_NE(summary.find("end frame yes"), std::string::npos) << summary;
    const std::string image = ReadFileBytes(flash);
    ASSERT_EQ(image.size(), 0x42u * 512);
    EXPECT_EQ(image.substr(0, 0x40 * 512), std::string(0x40 * 512, '\xFF'));
    EXPECT_EQ(image.substr(0x40 * 512, 512), std::string(reinterpret_cast<const char*>(BlockData(3).data()), 512));
    EXPECT_EQ(image.substr(0x41 * 512), std::string(reinterpret_cast<const char*>(BlockData(4).data()), 512));
}

TEST(ZulRadio, LinksItsPortAndEndsOnSigterm)
{
    TempDir dir;
    const std::string link = dir.File("com5");
    RadioProcess radio({"--link", link, "--idle-ms", "0"});
    const std::string path = radio.Line(5000);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), path);

    kill(radio.Pid(), SIGTERM);
    EXPECT_EQ(radio.Wait(5000), 0);
    const std::string summary = radio.Line(1000);
    EXPECT_EQ(summary.rfind("zul-radio: standard plain, opens 0,", 0), 0u) << summary;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

}  // namespace
