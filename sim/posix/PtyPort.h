#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/RadioConfig.h"

// The radio's end of a pseudo-terminal: the PC's program opens the slave side as
// its serial port; the emulator reads and writes the master side. The master also
// shows the line settings the program gave the slave, and reading it fails with
// EIO whenever nobody holds the slave open, which is how a closed port shows.
class PtyPort {
public:
    PtyPort() = default;
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    bool Open(std::string& error);
    const std::string& SlavePath() const { return m_slavePath; }
    // Makes path a symbolic link to the slave; an existing link there is replaced,
    // anything else is left alone. The link is removed when the port goes.
    bool Link(const std::string& path, std::string& error);

    enum ReadResult {
        PTY_DATA,     // bytes came; the slave is (or was just) open
        PTY_NOTHING,  // the slave is open and nothing came
        PTY_CLOSED,   // nobody holds the slave open
        PTY_FAILED,
    };
    ReadResult Read(std::vector<std::uint8_t>& bytes);
    // Writes what it can without blocking; returns how many bytes went.
    std::size_t Write(const std::uint8_t* data, std::size_t size);
    // Throws away what the program has not read yet, as a closed port loses it.
    void DropUnread();
    LineSettings Settings() const;
    // Waits up to timeoutMs for bytes from the program (or a change of the slave).
    void Wait(int timeoutMs) const;

    static std::string ErrorText(int error);

private:
    int m_fd = -1;
    std::string m_slavePath;
    std::string m_linkPath;
};
