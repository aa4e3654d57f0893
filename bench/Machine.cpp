// How busy the machine is while the rounds run: other programs share the
// cores, and the report says how much.
#include "Bench.h"

#include <algorithm>
#include <cstdio>

#include "support/TestFiles.h"

namespace {

double CalibrationMs()
{
    // A fixed amount of integer work: its time rises when the cores are shared.
    double start = NowMs();
    volatile unsigned long long sink = 0;
    unsigned long long x = 88172645463325252ull;
    for (int i = 0; i < 4000000; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
    }
    sink = x;
    (void)sink;
    return NowMs() - start;
}

// /proc/loadavg: "1-min 5-min 15-min runnable/total last-pid".
bool ReadLoadAverage(double& oneMinute, int& runnable)
{
    std::string text = ReadBytes(L"Z:\\proc\\loadavg");
    double five, fifteen;
    int total;
    return sscanf(text.c_str(), "%lf %lf %lf %d/%d", &oneMinute, &five, &fifteen, &runnable, &total) == 5;
}

// Tasks of other programs ready to run right now. Sampled while this driver
// is the only part of the benchmark running, so the load average, which the
// benchmark's own processes raise, does not mislead.
double OtherRunnableTasks()
{
    double load;
    int runnable;
    return ReadLoadAverage(load, runnable) ? std::max(0, runnable - 1) : NAN;
}

} // namespace

double LoadAverage()
{
    double load;
    int runnable;
    return ReadLoadAverage(load, runnable) ? load : NAN;
}

int CpuCount()
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return static_cast<int>(info.dwNumberOfProcessors);
}

void SampleMachine(MachineSamples& machine)
{
    // The fewest of a few samples: the last round's processes may still be
    // winding down, a compiler next door stays runnable throughout.
    double fewest = NAN;
    for (int sample = 0; sample < 8; ++sample) {
        Sleep(3);
        double now = OtherRunnableTasks();
        fewest = std::isnan(fewest) ? now : std::min(fewest, now);
    }
    machine.others.push_back(fewest);
    machine.calibration.push_back(CalibrationMs());
    machine.loads.push_back(LoadAverage());
}
