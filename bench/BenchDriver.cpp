// Times OxaAdvanced.exe against its floors, side by side under one Wine
// server: start-up to input idle and memory at the open dialog against
// FloorDialog.exe (template 101 and nothing else), OK to exit against
// FloorWrites.exe (the same profile writes and message) plus FloorDialog's
// own OK, executable sizes, and GDI objects after forced repaints and hover
// cycles. Programs and floors run interleaved, round by round; each figure
// is the median of the per-round ratios.
//
// BenchDriver.exe --data <folder> [--x86 <folder>] [--rounds N] [--cycles N]
//                 [--trace <file this driver's standard error goes to>]
#include "Bench.h"

#include <algorithm>
#include <cstdio>

#include "support/TestFiles.h"

namespace {

struct Options {
    std::wstring data, x86, trace;
    int rounds = 30;
    int cycles = 1000;
};

Options ParseOptions(int argc, wchar_t** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::wstring name = argv[i], value = argv[i + 1];
        if (name == L"--data")
            options.data = WindowsPath(value);
        else if (name == L"--x86")
            options.x86 = WindowsPath(value);
        else if (name == L"--trace")
            options.trace = WindowsPath(value);
        else if (name == L"--rounds")
            options.rounds = std::max(3, _wtoi(value.c_str()));
        else if (name == L"--cycles")
            options.cycles = std::max(10, _wtoi(value.c_str()));
    }
    return options;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    Options options = ParseOptions(argc, argv);
    if (options.data.empty()) {
        printf("usage: BenchDriver.exe --data <folder> [--x86 <folder>] [--rounds N] [--cycles N] [--trace <stderr file>]\n");
        return 2;
    }
    DataFolder data = DataFolder::At(options.data);
    data.MakeAllFolders();
    WriteSampleSettings(data);
    StandIns standIns;
    if (!standIns.Made()) {
        printf("could not create the stand-in companion windows\n");
        return 1;
    }
    MachineSamples machine;
    machine.cpus = CpuCount();
    machine.loadBefore = LoadAverage();
    printf("Machine: %d cores, load average %s at start; %d rounds, %d repaint and hover cycles\n", machine.cpus,
           Fixed(machine.loadBefore, 2).c_str(), options.rounds, options.cycles);
    fflush(stdout);

    WarmUp(data, standIns);
    Results results;
    results.rounds = RunRounds(options.rounds, data, standIns, machine);
    results.gdi = RunGdiPhase(kProgram, options.cycles);
    results.floorGdi = RunGdiPhase(kFloorDialog, std::min(options.cycles, 100));
    results.gdiSelfCheck = GdiCounterSelfCheck();
    results.sizes = MeasureSizes(options.x86);
    if (!options.trace.empty()) {
        results.traces = TraceOpens(options.trace, standIns);
        WriteSampleSettings(data);
    }
    results.rounds.machine.loadAfter = LoadAverage();
    PrintReport(results);
    return results.rounds.failures == options.rounds ? 1 : 0;
}
