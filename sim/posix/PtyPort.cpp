#include "sim/posix/PtyPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

std::string PtyPort::ErrorText(int error)
{
    return std::to_string(error) + " " + std::strerror(error);
}

PtyPort::~PtyPort()
{
    if (!m_linkPath.empty())
        unlink(m_linkPath.c_str());
    if (m_fd >= 0)
        close(m_fd);
}

bool PtyPort::Open(std::string& error)
{
    m_fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0 || grantpt(m_fd) != 0 || unlockpt(m_fd) != 0) {
        error = "cannot make a pseudo-terminal: " + ErrorText(errno);
        return false;
    }
    const char* name = ptsname(m_fd);
    if (name == nullptr) {
        error = "cannot name the pseudo-terminal: " + ErrorText(errno);
        return false;
    }
    m_slavePath = name;
    // A slave that was never opened does not read as closed on the master; open and
    // close it once so that the program's first open is seen as one.
    const int slave = open(name, O_RDWR | O_NOCTTY);
    if (slave < 0) {
        error = "cannot open " + m_slavePath + ": " + ErrorText(errno);
        return false;
    }
    // Raw from the start: the terminal's own echo would send the radio's answers
    // straight back to the radio before the program has set up its port.
    termios t {};
    if (tcgetattr(m_fd, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(m_fd, TCSANOW, &t);
    }
    close(slave);
    return true;
}

bool PtyPort::Link(const std::string& path, std::string& error)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            error = path + " exists and is not a symbolic link; left alone";
            return false;
        }
        unlink(path.c_str());
    }
    if (symlink(m_slavePath.c_str(), path.c_str()) != 0) {
        error = "cannot link " + path + ": " + ErrorText(errno);
        return false;
    }
    m_linkPath = path;
    return true;
}

PtyPort::ReadResult PtyPort::Read(std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    std::uint8_t buffer[4096];
    const ssize_t n = read(m_fd, buffer, sizeof buffer);
    if (n > 0) {
        bytes.assign(buffer, buffer + n);
        return PTY_DATA;
    }
    if (n == 0 || (n < 0 && (errno == EAGAIN || errno == EINTR)))
        return PTY_NOTHING;
    if (n < 0 && errno == EIO)
        return PTY_CLOSED;
    return PTY_FAILED;
}

std::size_t PtyPort::Write(const std::uint8_t* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = write(m_fd, data + done, size - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

void PtyPort::DropUnread()
{
    tcflush(m_fd, TCOFLUSH);
}

LineSettings PtyPort::Settings() const
{
    LineSettings s;
    termios t {};
    if (tcgetattr(m_fd, &t) != 0)
        return s;
    struct Rate {
        speed_t code;
        unsigned baud;
    };
    static const Rate rates[] = {
        {B1200, 1200},     {B2400, 2400},     {B4800, 4800},     {B9600, 9600},
        {B19200, 19200},   {B38400, 38400},   {B57600, 57600},   {B115200, 115200},
        {B230400, 230400}, {B460800, 460800}, {B921600, 921600},
    };
    const speed_t speed = cfgetospeed(&t);
    for (const Rate& r : rates) {
        if (r.code == speed)
            s.baud = r.baud;
    }
    switch (t.c_cflag & CSIZE) {
    case CS5: s.dataBits = 5; break;
    case CS6: s.dataBits = 6; break;
    case CS7: s.dataBits = 7; break;
    default: s.dataBits = 8; break;
    }
    s.parity = (t.c_cflag & PARENB) == 0 ? 'N' : ((t.c_cflag & PARODD) != 0 ? 'O' : 'E');
    s.stopBits = (t.c_cflag & CSTOPB) != 0 ? 2 : 1;
    return s;
}

void PtyPort::Wait(int timeoutMs) const
{
    pollfd p {m_fd, POLLIN, 0};
    poll(&p, 1, timeoutMs);
}
