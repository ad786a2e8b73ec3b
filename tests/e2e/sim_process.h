// A camsim process for one test: started with its options, stopped when the object goes.
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
