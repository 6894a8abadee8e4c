#pragma once

// The real PC/SC stack for tests and benchmarks: pcscd in the foreground with vsmartcard's vpcd
// driver, and kestrel-sim serving a card file to vpcd. Everything started here is stopped by PID.
//
//   PcscReader (libpcsclite) -> pcscd -> vpcd driver -> kestrel-sim serve --vpcd

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <winscard.h>

namespace kestrel::testing {

class PcscStack
{
public:
    static constexpr const char* kPcscd = "/usr/sbin/pcscd";
    static constexpr const char* kSocket = "/run/pcscd/pcscd.comm";
    static constexpr const char* kPidFile = "/run/pcscd/pcscd.pid";
    static constexpr const char* kVpcdConfig = "/etc/reader.conf.d/vpcd";
    static constexpr const char* kReader = "Virtual PCD 00 00";
    static constexpr const char* kSecondReader = "Virtual PCD 00 01";
    static constexpr int kStartMs = 10000;
    static constexpr int kStopMs = 5000;

    PcscStack() = default;
    ~PcscStack() { stop(); }
    PcscStack(const PcscStack&) = delete;
    PcscStack& operator=(const PcscStack&) = delete;

    // Empty when this machine can run the stack here; otherwise why not. A socket left behind by a
    // pcscd that was killed (nothing accepts on it) is removed, since pcscd itself refuses to start
    // beside it.
    static std::string unavailableReason()
    {
        if (::geteuid() != 0)
            return "not root: pcscd needs to create /run/pcscd";
        if (::access(kPcscd, X_OK) != 0)
            return std::string(kPcscd) + " is missing (install pcscd)";
        if (vpcdDriver().empty())
            return "the vpcd driver is missing (install vsmartcard-vpcd)";
        struct stat st
        {
        };
        if (::stat(kSocket, &st) == 0) {
            if (socketAnswers())
                return std::string("another pcscd is running (") + kSocket + " accepts connections)";
            ::unlink(kSocket);
            ::unlink(kPidFile);
        }
        return {};
    }

    // The driver library named by the vpcd reader configuration, when both are there.
    static std::string vpcdDriver()
    {
        const int fd = ::open(kVpcdConfig, O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return {};
        std::string text(4096, '\0');
        const ssize_t n = ::read(fd, text.data(), text.size());
        ::close(fd);
        text.resize(n > 0 ? static_cast<size_t>(n) : 0);
        const size_t key = text.find("LIBPATH");
        if (key == std::string::npos)
            return {};
        size_t from = text.find_first_not_of(" \t", key + 7);
        if (from == std::string::npos)
            return {};
        const size_t to = text.find_first_of(" \t\r\n", from);
        const std::string path = text.substr(from, to == std::string::npos ? std::string::npos : to - from);
        return ::access(path.c_str(), R_OK) == 0 ? path : std::string();
    }

    // Starts pcscd and waits until its socket accepts and the vpcd reader is known. log: its output.
    bool startService(const std::string& log, std::string& error)
    {
        m_pcscd = spawn({kPcscd, "--foreground"}, log);
        if (m_pcscd <= 0) {
            error = "cannot start pcscd";
            return false;
        }
        // pcscd creates its socket 10-20 ms after start; there is no event to wait for before the
        // folder exists, so the file is looked for in short, bounded steps.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartMs);
        while (!socketAnswers()) {
            if (exited(m_pcscd)) {
                waitExit(m_pcscd, 0);
                m_pcscd = -1;
                error = "pcscd ended at start (see " + log + ")";
                return false;
            }
            if (std::chrono::steady_clock::now() > deadline) {
                error = "pcscd did not open its socket";
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (!readerKnown(kReader)) {
            error = std::string("pcscd does not list ") + kReader;
            return false;
        }
        return true;
    }

    // Starts `kestrel-sim serve` on the card file and waits until pcscd sees the card.
    bool insertCard(const std::string& simTool, const std::string& cardFile, const std::string& log, std::string& error,
                    const std::vector<std::string>& extra = {})
    {
        std::vector<std::string> args{simTool, "serve", "--card", cardFile, "--vpcd", "localhost:35963"};
        args.insert(args.end(), extra.begin(), extra.end());
        m_sim = spawn(args, log);
        if (m_sim <= 0) {
            error = "cannot start " + simTool;
            return false;
        }
        if (!waitForCard(true, kStartMs)) {
            error = "pcscd did not see the card (see " + log + ")";
            return false;
        }
        return true;
    }

    // Stops kestrel-sim (SIGTERM; SIGKILL if it does not end) and returns its exit status, -1 when
    // it did not exit on its own.
    int removeCard() { return stopProcess(m_sim); }
    // Waits for kestrel-sim to end by itself; its exit status or -1.
    int waitForCardProcess(int timeoutMs)
    {
        const int status = waitExit(m_sim, timeoutMs);
        if (status != kStillRunning)
            m_sim = -1;
        return status < 0 ? -1 : status;
    }
    int stopService() { return stopProcess(m_pcscd); }

    void stop()
    {
        removeCard();
        stopService();
    }

    bool serviceRunning() const { return m_pcscd > 0; }
    bool cardProcessRunning() const { return m_sim > 0; }

    // Waits until the reader does (present) or does not hold a card, as pcscd sees it.
    static bool waitForCard(bool present, int timeoutMs, const char* reader = kReader)
    {
        SCARDCONTEXT context = 0;
        if (SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context) != SCARD_S_SUCCESS)
            return false;
        SCARD_READERSTATE state{};
        state.szReader = reader;
        state.dwCurrentState = SCARD_STATE_UNAWARE;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        bool reached = false;
        for (;;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            const LONG r = SCardGetStatusChange(context, static_cast<DWORD>(left.count()), &state, 1);
            if (r != SCARD_S_SUCCESS)
                break;
            const bool isPresent = (state.dwEventState & SCARD_STATE_PRESENT) != 0;
            if (isPresent == present) {
                reached = true;
                break;
            }
            state.dwCurrentState = state.dwEventState & ~static_cast<DWORD>(SCARD_STATE_CHANGED);
        }
        SCardReleaseContext(context);
        return reached;
    }

private:
    static constexpr int kStillRunning = -2;

    static bool socketAnswers()
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, kSocket, sizeof address.sun_path - 1);
        const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return ok;
    }

    static bool readerKnown(const char* reader)
    {
        SCARDCONTEXT context = 0;
        if (SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context) != SCARD_S_SUCCESS)
            return false;
        SCARD_READERSTATE state{};
        state.szReader = reader;
        state.dwCurrentState = SCARD_STATE_UNAWARE;
        const LONG r = SCardGetStatusChange(context, 0, &state, 1);
        SCardReleaseContext(context);
        return r == SCARD_S_SUCCESS;
    }

    // Runs a program with stdout and stderr appended to log. The child gets SIGTERM should this
    // process die first, so nothing started here outlives a crashed test.
    static pid_t spawn(const std::vector<std::string>& argv, const std::string& log)
    {
        const pid_t parent = ::getpid();
        const pid_t pid = ::fork();
        if (pid != 0)
            return pid;
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
        const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (fd >= 0) {
            ::dup2(fd, STDOUT_FILENO);
            ::dup2(fd, STDERR_FILENO);
            ::close(fd);
        }
        const int devNull = ::open("/dev/null", O_RDONLY);
        if (devNull >= 0) {
            ::dup2(devNull, STDIN_FILENO);
            ::close(devNull);
        }
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }

    // The exit status of pid (the signal number + 128 when killed) within timeoutMs, or
    // kStillRunning. Waits on a pidfd with poll().
    static int waitExit(pid_t pid, int timeoutMs)
    {
        if (pid <= 0)
            return -1;
        const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
        if (pidfd >= 0) {
            pollfd p{pidfd, POLLIN, 0};
            int ready;
            do {
                ready = ::poll(&p, 1, timeoutMs);
            } while (ready < 0 && errno == EINTR);
            ::close(pidfd);
        } else {
            // No pidfd (old kernel): look again in short steps until the time is up.
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
            while (!exitedNoReap(pid) && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) != pid)
            return kStillRunning;
        if (WIFEXITED(status))
            return WEXITSTATUS(status);
        return 128 + WTERMSIG(status);
    }

    static bool exitedNoReap(pid_t pid)
    {
        siginfo_t info{};
        return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
    }

    static bool exited(pid_t pid) { return exitedNoReap(pid); }

    static int stopProcess(pid_t& pid)
    {
        if (pid <= 0)
            return -1;
        ::kill(pid, SIGTERM);
        int status = waitExit(pid, kStopMs);
        if (status == kStillRunning) {
            ::kill(pid, SIGKILL);
            waitExit(pid, kStopMs);
            status = -1;
        }
        pid = -1;
        return status;
    }

    pid_t m_pcscd = -1;
    pid_t m_sim = -1;
};

} // namespace kestrel::testing
