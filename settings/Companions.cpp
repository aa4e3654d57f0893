#include "settings/Companions.h"

#include "base/Deadline.h"

namespace {

constexpr wchar_t kPanelClass[] = L"RIDODUZO";
constexpr wchar_t kEstimatorClass[] = L"VUZOREDADIDA";
// All the messages of one save share this much time: long enough for a busy
// companion, short enough that a hung one does not look like a hung program.
constexpr DWORD kCompanionBudgetMs = 5000;
// Every message gets at least this, so that a companion that answers at once
// still hears of the save after another has used up the budget.
constexpr DWORD kCompanionMinimumMs = 250;

bool SendToCompanion(const wchar_t* windowClass, UINT message, WPARAM wParam, const Deadline& deadline)
{
    HWND window = FindWindowW(windowClass, nullptr);
    if (window == nullptr)
        return false;
    DWORD left = deadline.Left();
    DWORD timeout = left > kCompanionMinimumMs ? left : kCompanionMinimumMs;
    // Not SMTO_BLOCK: a companion that calls back into the sender while it
    // handles the message must be served, not deadlocked.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, message, wParam, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, timeout, &answer);
    return true;
}

} // namespace

bool ChangeClosesCompanions(const SettingsValues& before, const SettingsValues& after)
{
    for (const Setting& setting : kSettings) {
        if (setting.closesCompanions && before.*setting.value != after.*setting.value)
            return true;
    }
    return false;
}

CompanionsTold TellCompanions(bool close)
{
    Deadline deadline(kCompanionBudgetMs);
    CompanionsTold told;
    told.panel = SendToCompanion(kPanelClass, WM_COMMAND, 2, deadline);
    if (close) {
        told.panel = SendToCompanion(kPanelClass, WM_CLOSE, 0, deadline) || told.panel;
        told.estimator = SendToCompanion(kEstimatorClass, WM_CLOSE, 0, deadline);
    }
    return told;
}
