// The report: one table of figures against their floors and targets, the
// same figures one per line, then the details that explain them and how
// busy the machine was.
#include "Bench.h"

#include <algorithm>
#include <cstdio>

namespace {

struct Figure {
    std::string name, unit;
    double program, floor, ratio, spread;  // spread: interquartile range of the ratios
    double target;                         // ratio target (NAN: none)
    std::string note;
};

std::string Verdict(double ratio, double target)
{
    if (std::isnan(target))
        return "";
    if (std::isnan(ratio))
        return "NOT MEASURED";
    return ratio <= target ? "meets" : "MISSES";
}

std::vector<Figure> MakeFigures(const Results& r)
{
    const StartUpSamples& startUp = r.rounds.startUp;
    const OkSamples& ok = r.rounds.ok;
    const MemorySamples& memory = r.rounds.memory;
    std::vector<Figure> figures;
    auto timing = [&](const char* name, const std::vector<double>& p, const std::vector<double>& f, double target,
                      const char* note) {
        auto ratios = Ratios(p, f);
        figures.push_back({name, "ms", Median(p), Median(f), Median(ratios), Iqr(ratios), target, note});
    };
    timing("start-up (launch to input idle)", startUp.progReady, startUp.floorReady, 1.10, "floor A");
    timing("start-up (launch to dialog found)", startUp.progFound, startUp.floorFound, NAN, "floor A, reference");
    timing("OK to exit, nothing changed", ok.progOk, ok.floorSum, 1.25, "floor B + floor A's OK");
    timing("OxaSet /import of two changes", ok.consoleImport, ok.floorImport, 1.25, "console floor");
    auto bytes = [&](const char* name, const std::vector<double>& p, const std::vector<double>& f) {
        auto ratios = Ratios(p, f);
        figures.push_back({name, "KB", Median(p) / 1024, Median(f) / 1024, Median(ratios), Iqr(ratios), 1.25,
                           "floor A"});
    };
    bytes("peak working set at open dialog", memory.progPeak, memory.floorPeak);
    bytes("private bytes at open dialog", memory.progPrivate, memory.floorPrivate);
    auto size = [&](const char* name, const ExeInfo& p, const ExeInfo& f) {
        double pb = p.present ? static_cast<double>(p.bytes) / 1024 : NAN;
        double fb = f.present ? static_cast<double>(f.bytes) / 1024 : NAN;
        std::string note = p.present ? std::string(p.stripped ? "stripped" : "NOT stripped") + ", at most 250 KB: " +
                                           (p.bytes <= 250 * 1024 ? "meets" : "MISSES")
                                     : "missing";
        figures.push_back({name, "KB", pb, fb, pb / fb, NAN, NAN, note});
    };
    size("x64 executable size", r.sizes.progX64, r.sizes.floorX64);
    size("x86 executable size", r.sizes.progX86, r.sizes.floorX86);
    return figures;
}

std::string GdiVerdict(const GdiResult& gdi)
{
    return !gdi.ran ? "NOT MEASURED"
           : gdi.afterHovers < 0 ? "NOT MEASURED (table unreadable)"
           : (gdi.afterRepaints <= gdi.afterWarmUp && gdi.afterHovers <= gdi.afterWarmUp) ? "meets"
                                                                                         : "MISSES";
}

void PrintTable(const std::vector<Figure>& figures, const GdiResult& gdi, const GdiResult& floorGdi)
{
    printf("\n%-36s %12s %12s %8s %8s %8s  %s\n", "Figure", "program", "floor", "ratio", "target", "verdict", "notes");
    printf("%s\n", std::string(120, '-').c_str());
    for (const auto& f : figures) {
        printf("%-36s %9s %-2s %9s %-2s %8s %8s %8s  %s%s\n", f.name.c_str(), Fixed(f.program, 1).c_str(),
               f.unit.c_str(), Fixed(f.floor, 1).c_str(), f.unit.c_str(), Fixed(f.ratio, 3).c_str(),
               std::isnan(f.target) ? "" : ("<=" + Fixed(f.target, 2)).c_str(), Verdict(f.ratio, f.target).c_str(),
               f.note.c_str(), std::isnan(f.spread) ? "" : (", IQR of ratios " + Fixed(f.spread, 3)).c_str());
    }
    printf("%-36s %9d    %9d    %8s %8s %8s  open %d, after warm-up %d, after %d repaints %d, after %d hover cycles %d\n",
           "GDI objects (Wine handle table)", gdi.afterHovers, floorGdi.afterRepaints, "", "no growth",
           GdiVerdict(gdi).c_str(), gdi.atOpen, gdi.afterWarmUp, gdi.cycles, gdi.afterRepaints, gdi.cycles,
           gdi.afterHovers);
}

void PrintOneLinePerFigure(const std::vector<Figure>& figures, const GdiResult& gdi)
{
    printf("\nOne line per figure:\n");
    for (const auto& f : figures) {
        printf("BENCH %s: program %s %s, floor %s %s, ratio %s%s%s\n", f.name.c_str(), Fixed(f.program, 1).c_str(),
               f.unit.c_str(), Fixed(f.floor, 1).c_str(), f.unit.c_str(), Fixed(f.ratio, 3).c_str(),
               std::isnan(f.target) ? "" : (" (target <= " + Fixed(f.target, 2) + ": " + Verdict(f.ratio, f.target) + ")").c_str(),
               f.note.empty() ? "" : (" [" + f.note + "]").c_str());
    }
    printf("BENCH GDI growth: %+d after %d repaints, %+d after %d hover cycles (from %d after warm-up; %d at open): %s\n",
           gdi.afterRepaints - gdi.afterWarmUp, gdi.cycles, gdi.afterHovers - gdi.afterWarmUp, gdi.cycles,
           gdi.afterWarmUp, gdi.atOpen, GdiVerdict(gdi).c_str());
}

void PrintTimingDetails(const Rounds& rounds)
{
    const StartUpSamples& startUp = rounds.startUp;
    const OkSamples& ok = rounds.ok;
    printf("  floor B alone: writes and send %s ms (median), whole process %s ms; floor A OK to exit %s ms\n",
           Fixed(Median(ok.writesWork), 2).c_str(), Fixed(Median(ok.writesProcess), 1).c_str(),
           Fixed(Median(ok.floorOk), 1).c_str());
    printf("  OK minus its floor (median of per-round differences): %s ms\n",
           Fixed(MedianDifference(ok.progOk, ok.floorSum), 2).c_str());
    printf("  start-up minus floor A (median of per-round differences): %s ms\n",
           Fixed(MedianDifference(startUp.progReady, startUp.floorReady), 2).c_str());
    auto fastest = [](const std::vector<double>& a, const std::vector<double>& b) {
        return Quantile(a, 0.1) / Quantile(b, 0.1);
    };
    printf("  ratios of the fastest runs (10th percentiles; reference, less sensitive to preemption): start-up %s, "
           "OK %s\n",
           Fixed(fastest(startUp.progReady, startUp.floorReady), 3).c_str(),
           Fixed(fastest(ok.progOk, ok.floorSum), 3).c_str());
    printf("  where start-up goes (medians of per-round differences): platform dialog (floor A) %s ms; platform cost "
           "of the settings reads (FloorReads - floor A) %s ms; the program's own (program - FloorReads) %s ms\n",
           Fixed(Median(startUp.floorReady), 1).c_str(),
           Fixed(MedianDifference(startUp.readsReady, startUp.floorReady), 1).c_str(),
           Fixed(MedianDifference(startUp.progReady, startUp.readsReady), 1).c_str());
    printf("  where OK goes: platform floor (floor B + floor A's OK) %s ms; platform cost of reading back "
           "(FloorReadBack - floor B) %s ms; the program's own (program - FloorReadBack - floor A's OK) %s ms\n",
           Fixed(Median(ok.floorSum), 1).c_str(), Fixed(MedianDifference(ok.readBackWork, ok.writesWork), 2).c_str(),
           Fixed(MedianDifference(ok.progOk, ok.diagnosticSum), 2).c_str());
    printf("  companion messages: program's OK sent the panel its command in %d of %d good rounds "
           "(%d WM_CLOSE in all, expected 0); floor B in %d of %d\n",
           static_cast<int>(ok.progOk.size()) - rounds.failures - ok.panelMissing,
           static_cast<int>(ok.progOk.size()) - rounds.failures, ok.unexpectedCloses, rounds.count - ok.floorPanelMissing,
           rounds.count);
    printf("  settings files changed by an OK with nothing changed: %d time(s)\n", ok.fileChanges);
    printf("  memory counters: %s (Wine reads them from /proc: peak working set = VmHWM, private = RssAnon + VmSwap)\n",
           std::isnan(Median(rounds.memory.progPeak)) || Median(rounds.memory.progPeak) <= 0 ? "NOT REPORTED"
                                                                                             : "reported");
}

void PrintGdiDetails(const GdiResult& gdi, const GdiResult& floorGdi, int selfCheck)
{
    printf("  GDI counter self-check (10 brushes in this process): %s\n",
           selfCheck == 10 ? "counts 10" : ("counts " + std::to_string(selfCheck) + " (unreliable)").c_str());
    printf("  hover: %d of %d enters took the capture (0 means the dialog tracks no hover), %d of %d moves repeated "
           "one pixel aside; %d repaints took %s ms, %d hover cycles %s ms\n",
           gdi.hoverEntersSeen, 2 * gdi.cycles, gdi.nudges, 4 * gdi.cycles, gdi.cycles, Fixed(gdi.repaintMs, 0).c_str(),
           gdi.cycles, Fixed(gdi.hoverMs, 0).c_str());
    printf("  floor A GDI objects: open %d, after warm-up %d, after %d repaints %d, after hovers %d\n", floorGdi.atOpen,
           floorGdi.afterWarmUp, floorGdi.cycles, floorGdi.afterRepaints, floorGdi.afterHovers);
}

void PrintSections(const char* label, const ExeInfo& p, const ExeInfo& f)
{
    if (!p.present)
        return;
    printf("  %s sections (raw bytes)   program  floor A   difference\n", label);
    for (const auto& s : p.sections) {
        DWORD other = 0;
        for (const auto& t : f.sections)
            if (t.name == s.name)
                other = t.raw;
        printf("    %-8s %20lu %8lu %+12ld\n", s.name.c_str(), static_cast<unsigned long>(s.raw),
               static_cast<unsigned long>(other), static_cast<long>(s.raw) - static_cast<long>(other));
    }
    printf("    bitmaps  %20lu %8lu  (inside .rsrc)\n", static_cast<unsigned long>(p.bitmapBytes),
           static_cast<unsigned long>(f.bitmapBytes));
}

// What the program opens beyond the floor: the program's own share.
void PrintExtraOpens(const char* phase, const OpenCounts& mine, const OpenCounts& floor)
{
    int shown = 0;
    for (const auto& e : mine) {
        int other = 0;
        for (const auto& f : floor)
            if (f.first == e.first)
                other = f.second;
        if (e.second > other && shown++ < 12)
            printf("      %s: program opens %2d x, floor A %2d x  %s\n", phase, e.second, other, e.first.c_str());
    }
}

void PrintTraces(const Traces& traces)
{
    const TraceCounts& prog = traces.program;
    const TraceCounts& floor = traces.floor;
    if (!prog.ran || !floor.ran)
        return;
    printf("  file opens (+file trace), until the dialog is ready: program %d, floor A %d; from OK to exit: "
           "program %d, floor A %d\n",
           prog.opensAtStart, floor.opensAtStart, prog.opensAtOk, floor.opensAtOk);
    printf("  settings-file opens: program %d at start-up and %d from OK to exit; floor B %d (4 of them its "
           "untimed first reads)\n",
           SettingsFileOpens(prog.start), SettingsFileOpens(prog.ok), traces.floorWritesOpens);
    PrintExtraOpens("start-up", prog.start, floor.start);
    PrintExtraOpens("OK", prog.ok, floor.ok);
}

void PrintMachine(const Rounds& rounds)
{
    const MachineSamples& m = rounds.machine;
    double calMin = *std::min_element(m.calibration.begin(), m.calibration.end());
    double calMedian = Median(m.calibration);
    double calMax = *std::max_element(m.calibration.begin(), m.calibration.end());
    double loadMax = m.loadBefore;
    for (double l : m.loads)
        loadMax = std::max(loadMax, l);
    loadMax = std::max(loadMax, m.loadAfter);
    printf("  machine: load average %s at start, %s at most, %s at end (%d cores); calibration loop %s / %s / %s ms "
           "(min / median / max)\n",
           Fixed(m.loadBefore, 2).c_str(), Fixed(loadMax, 2).c_str(), Fixed(m.loadAfter, 2).c_str(), m.cpus,
           Fixed(calMin, 1).c_str(), Fixed(calMedian, 1).c_str(), Fixed(calMax, 1).c_str());
    double othersMean = 0;
    for (double o : Measured(m.others))
        othersMean += o / static_cast<double>(Measured(m.others).size());
    printf("  other programs' runnable tasks between rounds: %.2f on average (the load average counts this "
           "benchmark's own processes too)\n",
           othersMean);
    bool busy = false;
    if (othersMean > 0.8) {
        printf("WARNING: the machine was busy: other programs had %.2f tasks ready to run on average on %d cores; "
               "timings are noisy, run again when it is quieter\n",
               othersMean, m.cpus);
        busy = true;
    }
    if (calMedian > 1.25 * calMin || calMax > 2.0 * calMin) {
        printf("WARNING: the calibration loop varied (median %.0f%% over its fastest): other work shared the cores\n",
               (calMedian / calMin - 1) * 100);
        busy = true;
    }
    if (rounds.failures)
        printf("WARNING: %d of %d rounds failed (first: %s); they are left out\n", rounds.failures, rounds.count,
               rounds.firstFailure.c_str());
    if (!busy)
        printf("  machine quiet enough for these figures\n");
}

} // namespace

void PrintReport(const Results& results)
{
    std::vector<Figure> figures = MakeFigures(results);
    PrintTable(figures, results.gdi, results.floorGdi);
    PrintOneLinePerFigure(figures, results.gdi);

    printf("\nDetails:\n");
    PrintTimingDetails(results.rounds);
    PrintGdiDetails(results.gdi, results.floorGdi, results.gdiSelfCheck);
    PrintSections("x64", results.sizes.progX64, results.sizes.floorX64);
    PrintSections("x86", results.sizes.progX86, results.sizes.floorX86);
    PrintTraces(results.traces);
    PrintMachine(results.rounds);
    fflush(stdout);
}
