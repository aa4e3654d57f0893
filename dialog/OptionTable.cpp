#include "dialog/OptionTable.h"

#include "resources/resource.h"

namespace {

constexpr int kOptionTextLimit = 64;
constexpr int kLabelTextLimit = 128;
constexpr int kHelpTextLimit = 1024;
constexpr int kRetailTextLimit = 32;

using V = SettingsValues;
constexpr OptionGroup kNone = OptionGroup::None;
constexpr OptionGroup kManual = OptionGroup::ManualControls;
constexpr OptionGroup kRetail = OptionGroup::RetailOption;
constexpr OptionGroup kLog = OptionGroup::LogOption;

} // namespace

// The log options in the dialog's order, which is not the order their keys
// are written in.
const OptionRow kOptions[kOptionCount] = {
    {IDC_MANUAL_KMR, IDS_MANUAL_KMR, kLabelTextLimit, &V::wizardOnly, kInverted | kSystemFont, kManual, 0},
    {IDC_MANUAL_KMR_HELP, IDS_MANUAL_KMR_HELP, kHelpTextLimit, nullptr, 0, kManual, 0},
    {IDC_MANUAL_OTHER, IDS_MANUAL_OTHER, kLabelTextLimit, &V::wizardOnlyPlus, kInverted | kSystemFont, kManual, 0},
    {IDC_MANUAL_OTHER_HELP, IDS_MANUAL_OTHER_HELP, kHelpTextLimit, nullptr, 0, kManual, 0},
    {IDC_RETAIL_MODE, IDS_RETAIL_MODE, kRetailTextLimit, &V::retailMode, kSystemFont, kNone, 0},
    {IDC_RETAIL_HIDE_SYSTEM, IDS_RETAIL_HIDE_SYSTEM, kOptionTextLimit, &V::retailMode, 0, kRetail, kRetailHideSystemTab},
    {IDC_RETAIL_FORBID_QUEUE, IDS_RETAIL_FORBID_QUEUE, kOptionTextLimit, &V::retailMode, 0, kRetail, kRetailForbidQueue},
    {IDC_RETAIL_NO_FIXTURE, IDS_RETAIL_NO_FIXTURE, kOptionTextLimit, &V::retailMode, 0, kRetail, kRetailNoFixture},
    {IDC_RETAIL_HIDE_SETTINGS, IDS_RETAIL_HIDE_SETTINGS, kOptionTextLimit, &V::retailMode, 0, kRetail,
     kRetailHideSettings},
    {IDC_DELETE_AFTER_RUN, IDS_DELETE_AFTER_RUN, kLabelTextLimit, &V::deleteAfterRun, kSystemFont, kNone, 0},
    {IDC_POLL_FOR_FILES, IDS_POLL_FOR_FILES, kOptionTextLimit, &V::pollForFiles, kSystemFont, kNone, 0},
    {IDC_POLL_FOR_FILES_HELP, IDS_POLL_FOR_FILES_HELP, kLabelTextLimit, nullptr, 0, kNone, 0},
    {IDC_USER_SWITCHING, IDS_USER_SWITCHING, kLabelTextLimit, &V::userSwitching, kSystemFont, kNone, 0},
    {IDC_USER_SWITCHING_HELP, IDS_USER_SWITCHING_HELP, kHelpTextLimit, nullptr, 0, kNone, 0},
    {IDC_HOME_Z, IDS_HOME_Z, kOptionTextLimit, &V::alwaysHomeZ, kSystemFont, kNone, 0},
    {IDC_HOME_Z_HELP, IDS_HOME_Z_HELP, kHelpTextLimit, nullptr, 0, kNone, 0},
    {IDC_JOB_LOGGING, IDS_JOB_LOGGING, kLabelTextLimit, &V::jobLogging, kSystemFont, kNone, 0},
    {IDC_LOG_START, IDS_LOG_START, kOptionTextLimit, &V::logStart, 0, kLog, 0},
    {IDC_LOG_COMPLETE, IDS_LOG_COMPLETE, kOptionTextLimit, &V::logComplete, 0, kLog, 0},
    {IDC_LOG_PAUSE, IDS_LOG_PAUSE, kOptionTextLimit, &V::logPause, 0, kLog, 0},
    {IDC_LOG_RESUME, IDS_LOG_RESUME, kOptionTextLimit, &V::logResume, 0, kLog, 0},
    {IDC_LOG_ERROR, IDS_LOG_ERROR, kOptionTextLimit, &V::logError, 0, kLog, 0},
    {IDC_LOG_DATE, IDS_LOG_DATE, kOptionTextLimit, &V::logDate, 0, kLog, 0},
    {IDC_LOG_TIME, IDS_LOG_TIME, kOptionTextLimit, &V::logTime, 0, kLog, 0},
    {IDC_LOG_JOB_NAME, IDS_LOG_JOB_NAME, kOptionTextLimit, &V::logJobName, 0, kLog, 0},
    {IDC_LOG_DURATION, IDS_LOG_DURATION, kOptionTextLimit, &V::logDuration, 0, kLog, 0},
    {IDC_LOG_USER, IDS_LOG_USER, kOptionTextLimit, &V::logUser, 0, kLog, 0},
    {IDC_LOG_SERIAL, IDS_LOG_SERIAL, kOptionTextLimit, &V::logSerialNum, 0, kLog, 0},
};

const OptionRow* FindOption(int controlId)
{
    for (const OptionRow& row : kOptions) {
        if (row.controlId == controlId)
            return &row;
    }
    return nullptr;
}
