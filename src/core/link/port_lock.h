// A serial port taken the way other programs on the machine can see it, and their claims
// on it seen in turn: the lock files of the UUCP convention ("LCK..ttyUSB0" in /var/lock,
// the process number in ten columns, as minicom writes it) and flock locks on the device
// (as picocom takes them). A claim names the real device, so that a link such as
// /dev/serial/by-id/... locks the device it points at.
#pragma once

#include "core/link/serial_port.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cam {

// The device a port name stands for, links followed to their end; the name itself when it
// cannot be resolved (the open then says why).
std::string RealDevice(const std::string& name);

// The lock file names a program may use for a device: "LCK.." and the path after "/dev/"
// with "/" as "_" (as lockdev and Qt name it), and "LCK.." and the last part of the path
// (as minicom names it), in the lock folders.
std::vector<std::string> LockFilePaths(const std::string& device);

// The process number a lock file holds: ASCII, blanks before it (ten columns), the first
// line of the file; nothing when there is none.
std::optional<long> LockFilePid(std::string_view bytes);

// The process that holds an flock lock on the file (major:minor device, inode), from the
// lines of /proc/locks; waiting requests ("->") hold nothing.
std::optional<long> FlockHolder(std::string_view procLocks, unsigned major, unsigned minor, unsigned long inode);

// The claim of one port, held while it lives: the device opened and locked with
// flock(LOCK_EX | LOCK_NB). Another program's live lock file is never removed: the claim
// is refused instead.
class PortClaim {
public:
    PortClaim() = default;
    ~PortClaim() { release(); }
    PortClaim(const PortClaim&) = delete;
    PortClaim& operator=(const PortClaim&) = delete;

    // False with the reason in error: InUse (holder: the process, when known), NotFound,
    // NoPermission, or Other.
    bool claim(const std::string& device, PortError& error);
    void release();

private:
    int fd_ = -1;
};

}  // namespace cam
