#pragma once
// An engine program run as a child process and spoken to through its standard input and
// output, one line at a time, as UCI does.

#include <string>
#include <sys/types.h>

class TUciProcess {
  public:
    TUciProcess() = default;
    ~TUciProcess();
    TUciProcess(const TUciProcess&) = delete;
    TUciProcess& operator=(const TUciProcess&) = delete;

    // Starts the command through /bin/sh; false when it cannot be started.
    bool Start(const std::string& command);
    void Send(const std::string& line);
    // The next line, or false when none came within the time or the program ended.
    bool ReadLine(std::string& line, int millis);
    // Reads until a line starting with the prefix; false on timeout.
    bool WaitFor(const std::string& prefix, std::string& line, int millis);
    void Stop();

  private:
    pid_t Pid = -1;
    int In = -1, Out = -1;
    std::string Pending;
};
