// The timed rounds: the program and floor A side by side for start-up,
// memory and OK, floor B for the writes of one OK, and the diagnostic
// floors that tell where the time goes. The order alternates so that
// neither always runs on the heels of the other.
#include "Bench.h"

#include <cstdio>

namespace {

void RecordStartUp(StartUpSamples& s, const DialogRun& prog, const DialogRun& floor, const DialogRun& reads)
{
    s.progReady.push_back(prog.ok ? prog.readyMs : NAN);
    s.floorReady.push_back(floor.ok ? floor.readyMs : NAN);
    s.progFound.push_back(prog.ok ? prog.foundMs : NAN);
    s.floorFound.push_back(floor.ok ? floor.foundMs : NAN);
    s.readsReady.push_back(reads.ok ? reads.readyMs : NAN);
}

void RecordOk(OkSamples& s, const DialogRun& prog, const DialogRun& floor, const WritesRun& writes,
              const WritesRun& readBack)
{
    s.progOk.push_back(prog.ok ? prog.okMs : NAN);
    s.floorOk.push_back(floor.ok ? floor.okMs : NAN);
    s.writesWork.push_back(writes.ok ? writes.workMs : NAN);
    s.writesProcess.push_back(writes.ok ? writes.processMs : NAN);
    s.floorSum.push_back(floor.ok && writes.ok ? floor.okMs + writes.workMs : NAN);
    s.readBackWork.push_back(readBack.ok ? readBack.workMs : NAN);
    s.diagnosticSum.push_back(floor.ok && readBack.ok ? floor.okMs + readBack.workMs : NAN);
    s.panelMissing += prog.ok && prog.panelCommands != 1;
    s.unexpectedCloses += prog.closes;
    s.floorPanelMissing += writes.ok && writes.panelCommands != 1;
}

void RecordMemory(MemorySamples& s, const DialogRun& prog, const DialogRun& floor)
{
    s.progPeak.push_back(prog.peakWorkingSet);
    s.floorPeak.push_back(floor.peakWorkingSet);
    s.progPrivate.push_back(prog.privateBytes);
    s.floorPrivate.push_back(floor.privateBytes);
}

// An OK with nothing changed must leave the sample settings as they were.
void CheckSettingsKept(const DataFolder& data, OkSamples& ok)
{
    if (!HoldsSampleSettings(data)) {
        ++ok.fileChanges;
        WriteSampleSettings(data);
    }
}

// OxaSet's switches, or the floor's one argument.
std::wstring ImportArguments(const wchar_t* exeName, const std::wstring& file)
{
    return lstrcmpW(exeName, kConsole) == 0 ? L"/import \"" + file + L"\" /nonotify" : L"\"" + file + L"\"";
}

} // namespace

void WarmUp(const DataFolder& data, StandIns& standIns)
{
    RunDialogProgram(kFloorDialog, standIns);
    RunDialogProgram(kProgram, standIns);
    RunFloorWrites(kFloorWrites, standIns);
    RunDialogProgram(kFloorReads, standIns);
    RunFloorWrites(kFloorReadBack, standIns);
    std::wstring folder = WriteImportFiles(data);
    RunConsoleProgram(kConsole, ImportArguments(kConsole, folder + L"\\changed.ini"));
    RunConsoleProgram(kFloorConsole, ImportArguments(kFloorConsole, folder + L"\\sample.ini"));
    WriteSampleSettings(data);
}

Rounds RunRounds(int count, const DataFolder& data, StandIns& standIns, MachineSamples machine)
{
    Rounds rounds;
    rounds.count = count;
    rounds.machine = std::move(machine);
    for (int round = 0; round < count; ++round) {
        SampleMachine(rounds.machine);
        DialogRun prog, floor;
        if (round % 2 == 0) {
            prog = RunDialogProgram(kProgram, standIns);
            floor = RunDialogProgram(kFloorDialog, standIns);
        } else {
            floor = RunDialogProgram(kFloorDialog, standIns);
            prog = RunDialogProgram(kProgram, standIns);
        }
        CheckSettingsKept(data, rounds.ok);
        WritesRun writes = RunFloorWrites(kFloorWrites, standIns);
        CheckSettingsKept(data, rounds.ok);
        DialogRun reads = RunDialogProgram(kFloorReads, standIns);
        WritesRun readBack = RunFloorWrites(kFloorReadBack, standIns);
        WriteSampleSettings(data);
        // One import that changes two settings, one that puts them back:
        // each program makes one of them, taking turns at the first.
        std::wstring folder = WriteImportFiles(data);
        const wchar_t* first = round % 2 == 0 ? kConsole : kFloorConsole;
        const wchar_t* second = round % 2 == 0 ? kFloorConsole : kConsole;
        double firstMs = RunConsoleProgram(first, ImportArguments(first, folder + L"\\changed.ini"));
        double secondMs = RunConsoleProgram(second, ImportArguments(second, folder + L"\\sample.ini"));
        rounds.ok.consoleImport.push_back(round % 2 == 0 ? firstMs : secondMs);
        rounds.ok.floorImport.push_back(round % 2 == 0 ? secondMs : firstMs);
        CheckSettingsKept(data, rounds.ok);

        if (!prog.ok || !floor.ok || !writes.ok) {
            ++rounds.failures;
            if (rounds.firstFailure.empty())
                rounds.firstFailure = !prog.ok ? "program: " + prog.failure
                                               : !floor.ok ? "floor A: " + floor.failure : "floor B did not finish";
        }
        RecordStartUp(rounds.startUp, prog, floor, reads);
        RecordOk(rounds.ok, prog, floor, writes, readBack);
        RecordMemory(rounds.memory, prog, floor);
        printf("  round %2d: start-up %6.1f / %6.1f ms, OK %6.1f / %6.1f+%5.1f ms, calibration %5.1f ms%s\n",
               round + 1, prog.readyMs, floor.readyMs, prog.okMs, floor.okMs, writes.workMs,
               rounds.machine.calibration.back(), prog.ok && floor.ok && writes.ok ? "" : "  (failed)");
        fflush(stdout);
    }
    return rounds;
}
