#pragma once
// The bound on one input of a fuzzer, in the CPU time the process spends on it: a machine busy
// with other work slows an input down without making it do more, so wall time would stop a run
// that found nothing (libFuzzer's own -timeout counts wall time and is left off). An input that
// uses up its budget, a hang included, ends the run as a crash does, the input saved.
#include <sys/time.h>
#include <unistd.h>

#include <csignal>

namespace korzenik::fuzz {

class CpuBudget {
public:
    /// Starts counting the process's CPU time (user and system) against seconds.
    explicit CpuBudget(int seconds) { arm(seconds); }
    ~CpuBudget() { arm(0); }
    CpuBudget(const CpuBudget&) = delete;
    CpuBudget& operator=(const CpuBudget&) = delete;

private:
    static void exceeded(int) {
        static constexpr char kWhy[] = "fuzz: an input used up its CPU time\n";
        [[maybe_unused]] const ssize_t n = write(STDERR_FILENO, kWhy, sizeof kWhy - 1);
        __builtin_trap();
    }
    static void arm(int seconds) {
        std::signal(SIGPROF, exceeded);
        itimerval timer{};
        timer.it_value.tv_sec = seconds;
        setitimer(ITIMER_PROF, &timer, nullptr);
    }
};

}  // namespace korzenik::fuzz
