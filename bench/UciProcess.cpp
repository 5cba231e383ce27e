#include "UciProcess.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

TUciProcess::~TUciProcess() {
    Stop();
}

bool TUciProcess::Start(const std::string& command) {
    int toChild[2], fromChild[2];
    if (pipe(toChild) != 0) return false;
    if (pipe(fromChild) != 0) {
        close(toChild[0]);
        close(toChild[1]);
        return false;
    }
    Pid = fork();
    if (Pid < 0) return false;
    if (Pid == 0) {
        dup2(toChild[0], 0);
        dup2(fromChild[1], 1);
        close(toChild[0]);
        close(toChild[1]);
        close(fromChild[0]);
        close(fromChild[1]);
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    In = toChild[1];
    Out = fromChild[0];
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

void TUciProcess::Send(const std::string& line) {
    if (In < 0) return;
    const std::string text = line + '\n';
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(In, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

bool TUciProcess::ReadLine(std::string& line, int millis) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(millis);
    while (true) {
        const auto nl = Pending.find('\n');
        if (nl != std::string::npos) {
            line = Pending.substr(0, nl);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            Pending.erase(0, nl + 1);
            return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              until - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0 || Out < 0) return false;
        pollfd p{Out, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
        char buffer[4096];
        const ssize_t n = read(Out, buffer, sizeof buffer);
        if (n <= 0) return false;
        Pending.append(buffer, static_cast<std::size_t>(n));
    }
}

bool TUciProcess::WaitFor(const std::string& prefix, std::string& line, int millis) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(millis);
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              until - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0 || !ReadLine(line, static_cast<int>(left))) return false;
        if (line.rfind(prefix, 0) == 0) return true;
    }
}

void TUciProcess::Stop() {
    if (Pid <= 0) return;
    Send("quit");
    if (In >= 0) close(In);
    In = -1;
    int status = 0;
    for (int i = 0; i < 100; ++i) {
        if (waitpid(Pid, &status, WNOHANG) == Pid) {
            Pid = -1;
            break;
        }
        usleep(10000);
    }
    if (Pid > 0) {
        kill(Pid, SIGKILL);
        waitpid(Pid, &status, 0);
    }
    Pid = -1;
    if (Out >= 0) close(Out);
    Out = -1;
}
