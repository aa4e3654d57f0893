// Runs a program once with Wine's +file debug channel and counts the files
// it opens until its dialog is ready and from OK to exit. Wine 8 does not
// hand a child's standard error to the file given at creation: debug output
// goes to the standard error this driver inherited, so bench/run.sh points
// that at a file and names it with --trace.
#include "Bench.h"

#include <algorithm>

#include "support/ProgramRun.h"
#include "support/TestFiles.h"

namespace {

void CountOpens(const std::string& text, int& total, OpenCounts& all)
{
    OpenCounts counts;
    size_t pos = 0;
    while ((pos = text.find("NtCreateFile", pos)) != std::string::npos) {
        size_t lineEnd = text.find('\n', pos);
        std::string line = text.substr(pos, lineEnd == std::string::npos ? std::string::npos : lineEnd - pos);
        pos = lineEnd == std::string::npos ? text.size() : lineEnd;
        size_t name = line.find("name=L\"");
        if (name == std::string::npos)
            continue;
        name += 7;
        std::string path = line.substr(name, line.find('"', name) - name);
        ++total;
        auto it = std::find_if(counts.begin(), counts.end(), [&](const auto& e) { return e.first == path; });
        if (it == counts.end())
            counts.push_back({path, 1});
        else
            ++it->second;
    }
    std::stable_sort(counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    all = counts;
}

// This process's environment with WINEDEBUG=+file.
std::wstring TracingEnvironment()
{
    std::wstring block;
    wchar_t* env = GetEnvironmentStringsW();
    for (wchar_t* p = env; *p; p += lstrlenW(p) + 1)
        if (_wcsnicmp(p, L"WINEDEBUG=", 10) != 0)
            block.append(p).push_back(L'\0');
    FreeEnvironmentStringsW(env);
    block.append(L"WINEDEBUG=+file").push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

std::string TracePart(const std::wstring& traceFile, LONGLONG from, LONGLONG to)
{
    std::string text = ReadBytes(traceFile);
    size_t a = std::min(static_cast<size_t>(from), text.size());
    size_t b = std::min(static_cast<size_t>(to), text.size());
    return text.substr(a, b > a ? b - a : 0);
}

TraceCounts TraceProgram(const wchar_t* exeName, const std::wstring& traceFile, StandIns& standIns)
{
    TraceCounts counts;
    TraceMarks marks;
    marks.file = traceFile;
    DialogRun run = RunDialogProgram(exeName, standIns, TracingEnvironment(), &marks);
    if (!run.ok)
        return counts;
    counts.ran = true;
    CountOpens(TracePart(traceFile, marks.atStart, marks.atReady), counts.opensAtStart, counts.start);
    CountOpens(TracePart(traceFile, marks.atReady, marks.atExit), counts.opensAtOk, counts.ok);
    return counts;
}

// Floor B's opens of the settings files, the untimed first reads included.
int TraceFloorWrites(const wchar_t* exeName, const std::wstring& traceFile)
{
    LONGLONG before = FileSize(traceFile);
    ProgramRun child(exeName);
    if (!child.Start(false, TracingEnvironment()) || child.WaitForExit(20000) == STILL_ACTIVE)
        return -1;
    int total = 0;
    OpenCounts opens;
    CountOpens(TracePart(traceFile, before, FileSize(traceFile)), total, opens);
    return SettingsFileOpens(opens);
}

} // namespace

int SettingsFileOpens(const OpenCounts& opens)
{
    int n = 0;
    for (const auto& e : opens)
        if (e.first.find("QRZINFO.INI") != std::string::npos || e.first.find("JobInfo.ini") != std::string::npos)
            n += e.second;
    return n;
}

Traces TraceOpens(const std::wstring& traceFile, StandIns& standIns)
{
    Traces traces;
    traces.program = TraceProgram(kProgram, traceFile, standIns);
    traces.floor = TraceProgram(kFloorDialog, traceFile, standIns);
    traces.floorWritesOpens = TraceFloorWrites(kFloorWrites, traceFile);
    return traces;
}
