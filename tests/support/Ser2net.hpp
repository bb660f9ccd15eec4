#pragma once
// A real ser2net (Debian package, a test dependency) serving a serial device on 127.0.0.1 as
// RFC 2217 ("telnet(rfc2217)") or raw TCP, its configuration in a temporary directory.
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "support/TempVerzeichnis.hpp"

namespace krv::test {

inline sockaddr_in loopback(int port = 0) {
    return {AF_INET, htons(static_cast<std::uint16_t>(port)), {htonl(INADDR_LOOPBACK)}, {}};
}

// A TCP port on 127.0.0.1 that was free a moment ago (0 when none could be had).
inline int freierPort() {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = loopback();
    socklen_t len = sizeof a;
    const bool ok = ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
                    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0;
    ::close(s);
    return ok ? ntohs(a.sin_port) : 0;
}

class Ser2net {
public:
    // art: the accepter ("telnet(rfc2217)" or "tcp"); the line starts with `leitung`.
    explicit Ser2net(const std::string& geraet, const std::string& art = "telnet(rfc2217)",
                     const std::string& leitung = "9600n81")
        : port_(freierPort()) {
        const std::string yaml = dir_.pfad("ser2net.yaml");
        std::ofstream(yaml) << "%YAML 1.1\n---\nconnection: &krv\n  accepter: " << art << ",tcp,127.0.0.1,"
                            << port_ << "\n  connector: serialdev," << geraet << "," << leitung << ",local\n";
        const std::string pid = dir_.pfad("pid");
        pid_ = ::fork();
        if (pid_ == 0) {
            const int null = ::open("/dev/null", O_WRONLY);  // it complains of a missing mDNS daemon
            ::dup2(null, STDERR_FILENO);
            ::execlp("ser2net", "ser2net", "-n", "-u", "-c", yaml.c_str(), "-P", pid.c_str(), nullptr);
            ::_exit(127);
        }
        // Listening once a connection is accepted; the probe closes at once.
        for (int i = 0; i < 100 && !horcht(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ~Ser2net() { stop(); }
    void stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    std::string adresse(const std::string& schema = "rfc2217") const {
        return schema + "://127.0.0.1:" + std::to_string(port_);
    }

private:
    bool horcht() const {
        const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in a = loopback(port_);
        const bool ok = ::connect(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
        ::close(s);
        return ok;
    }

    TempVerzeichnis dir_;
    int port_;
    pid_t pid_ = -1;
};

}  // namespace krv::test
