// Stands in for a companion program in supervision tests (copied under the
// companion's name). Appends one line "PID PROGRAM ARG..." to $KORVEX_STUB_LOG, then
// runs until SIGTERM or SIGINT (exit 0). With $KORVEX_STUB_EXIT it exits at
// once with that code instead; with $KORVEX_STUB_IGNORE_TERM=1 it ignores
// SIGTERM (only SIGKILL ends it). With $KORVEX_STUB_END_LOG it appends "PID MS"
// there when a signal ends it (MS: wall clock in ms since the epoch).
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace
{
volatile std::sig_atomic_t stop = 0;

void onSignal(int)
{
    stop = 1;
}
} // namespace

int main(int argc, char *argv[])
{
    if (const char *log = std::getenv("KORVEX_STUB_LOG")) {
        if (FILE *file = std::fopen(log, "a")) {
            std::fprintf(file, "%d", static_cast<int>(::getpid()));
            for (int i = 0; i < argc; ++i)
                std::fprintf(file, " %s", argv[i]);
            std::fprintf(file, "\n");
            std::fclose(file);
        }
    }
    if (const char *code = std::getenv("KORVEX_STUB_EXIT"))
        return std::atoi(code);

    const char *ignore = std::getenv("KORVEX_STUB_IGNORE_TERM");
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    if (ignore && std::strcmp(ignore, "1") == 0)
        action.sa_handler = SIG_IGN;
    ::sigaction(SIGTERM, &action, nullptr);
    // Blocked outside sigsuspend, so a signal cannot slip in between the check and the wait.
    sigset_t blocked, waiting;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    ::sigprocmask(SIG_BLOCK, &blocked, &waiting);
    while (!stop)
        ::sigsuspend(&waiting);
    if (const char *log = std::getenv("KORVEX_STUB_END_LOG")) {
        if (FILE *file = std::fopen(log, "a")) {
            timespec now = {};
            ::clock_gettime(CLOCK_REALTIME, &now);
            std::fprintf(file, "%d %lld\n", static_cast<int>(::getpid()),
                         static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000);
            std::fclose(file);
        }
    }
    return 0;
}
