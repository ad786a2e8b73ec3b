// A camsim process for one test: started with its options, stopped when the object goes.
// And ser2net in front of its terminal, for the network ports.
#pragma once

#include <sys/types.h>
#include <string>
#include <vector>

class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& options);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& port() const { return port_; }  // "" when it did not start
    void stop();

private:
    pid_t pid_ = -1;
    std::string port_;
};

// ser2net serving a terminal on a free local port, raw (protocol "tcp") or as telnet with
// RFC 2217 ("rfc2217"); its line at 9600n81 until a client sets it.
class SerialServer {
public:
    SerialServer(const std::string& terminal, const std::string& protocol);
    ~SerialServer();
    SerialServer(const SerialServer&) = delete;
    SerialServer& operator=(const SerialServer&) = delete;

    // "tcp://127.0.0.1:N" or "rfc2217://127.0.0.1:N" once it listens; "" when it did not start.
    const std::string& port() const { return port_; }

private:
    pid_t pid_ = -1;
    std::string port_;
    std::string config_;
};
