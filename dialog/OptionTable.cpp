#include "dialog/OptionTable.h"

#include "resources/resource.h"

namespace {

// Each at least a third above the longest text it holds in any language,
// so that a revised translation is not cut unseen.
constexpr int kOptionTextLimit = 128;
constexpr int kHelpTextLimit = 1024;

using V = SettingsValues;
constexpr OptionShows kBox = OptionShows::Box;
constexpr OptionShows kHelp = OptionShows::Help;
constexpr OptionShows kBit = OptionShows::RetailBit;
constexpr bool kSystem = true;
constexpr OptionGroup kNone = OptionGroup::None;
constexpr OptionGroup kManual = OptionGroup::ManualControls;
constexpr OptionGroup kRetail = OptionGroup::RetailOption;
constexpr OptionGroup kLog = OptionGroup::LogOption;

} // namespace

// The log options in the dialog's order, which is not the order their keys
// are written in.
const OptionRow kOptions[kOptionCount] = {
    {IDC_MANUAL_KMR, kBox, &V::wizardOnly, 0, kOptionTextLimit, kSystem, kManual},
    {IDC_MANUAL_KMR_HELP, kHelp, &V::wizardOnly, 0, kHelpTextLimit, false, kManual},
    {IDC_MANUAL_OTHER, kBox, &V::wizardOnlyPlus, 0, kOptionTextLimit, kSystem, kManual},
    {IDC_MANUAL_OTHER_HELP, kHelp, &V::wizardOnlyPlus, 0, kHelpTextLimit, false, kManual},
    {IDC_RETAIL_MODE, kBox, &V::retailMode, 0, kOptionTextLimit, kSystem, kNone},
    {IDC_RETAIL_HIDE_SYSTEM, kBit, &V::retailMode, kRetailHideSystemTab, kOptionTextLimit, false, kRetail},
    {IDC_RETAIL_FORBID_QUEUE, kBit, &V::retailMode, kRetailForbidQueue, kOptionTextLimit, false, kRetail},
    {IDC_RETAIL_NO_FIXTURE, kBit, &V::retailMode, kRetailNoFixture, kOptionTextLimit, false, kRetail},
    {IDC_RETAIL_HIDE_SETTINGS, kBit, &V::retailMode, kRetailHideSettings, kOptionTextLimit, false, kRetail},
    {IDC_DELETE_AFTER_RUN, kBox, &V::deleteAfterRun, 0, kOptionTextLimit, kSystem, kNone},
    {IDC_POLL_FOR_FILES, kBox, &V::pollForFiles, 0, kOptionTextLimit, kSystem, kNone},
    {IDC_POLL_FOR_FILES_HELP, kHelp, &V::pollForFiles, 0, kHelpTextLimit, false, kNone},
    {IDC_USER_SWITCHING, kBox, &V::userSwitching, 0, kOptionTextLimit, kSystem, kNone},
    {IDC_USER_SWITCHING_HELP, kHelp, &V::userSwitching, 0, kHelpTextLimit, false, kNone},
    {IDC_HOME_Z, kBox, &V::alwaysHomeZ, 0, kOptionTextLimit, kSystem, kNone},
    {IDC_HOME_Z_HELP, kHelp, &V::alwaysHomeZ, 0, kHelpTextLimit, false, kNone},
    {IDC_JOB_LOGGING, kBox, &V::jobLogging, 0, kOptionTextLimit, kSystem, kNone},
    {IDC_LOG_START, kBox, &V::logStart, 0, kOptionTextLimit, false, kLog},
    {IDC_LOG_COMPLETE, kBox, &V::logComplete, 0, kOptionTextLimit, false, kLog},
    {IDC_LOG_PAUSE, kBox, &V::logPause, 0, kOptionTextLimit, false, kLog},
    {IDC_LOG_RESUME, kBox, &V::logResume, 0, kOptionTextLimit, false, kLog},
    {IDC_LOG_ERROR, kBox, &V::logError, 0, kOptionTextLimit, false, kLog},
    {IDC_LOG_DATE, kBox, &V::logDate, 0, kOptionTextLimit, false, kLog},
    {IDC_LOG_TIME, kBox, &V::logTime, 0, kOptionTextLimit, false, kLog},
    {IDC_LOG_JOB_NAME, kBox, &V::logJobName, 0, kOptionTextLimit, false, kLog},
    {IDC_LOG_DURATION, kBox, &V::logDuration, 0, kOptionTextLimit, false, kLog},
    {IDC_LOG_USER, kBox, &V::logUser, 0, kOptionTextLimit, false, kLog},
    {IDC_LOG_SERIAL, kBox, &V::logSerialNum, 0, kOptionTextLimit, false, kLog},
};

UINT OptionRow::TextId() const
{
    switch (shows) {
    case OptionShows::Help: return Shown().helpId;
    case OptionShows::RetailBit: return RetailOptionOf(retailBit).textId;
    default: return Shown().textId;
    }
}

const OptionRow* FindOption(int controlId)
{
    for (const OptionRow& row : kOptions) {
        if (row.controlId == controlId)
            return &row;
    }
    return nullptr;
}
