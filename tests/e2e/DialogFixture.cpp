#include "DialogFixture.h"

#include <cwctype>

namespace {

std::wstring Trim(const std::wstring& text)
{
    size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return {};
    size_t last = text.find_last_not_of(L" \t");
    return text.substr(first, last - first + 1);
}

std::wstring Lower(std::wstring text)
{
    for (auto& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

bool SameName(const std::wstring& a, const std::wstring& b)
{
    return Lower(a) == Lower(b);
}

std::wstring Decode(const std::string& bytes, std::string& encoding)
{
    auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) {
        encoding = "utf-8";
        return Widen(bytes.substr(3));
    }
    if (bytes.size() >= 2 && ((at(0) == 0xFF && at(1) == 0xFE) || (at(0) == 0xFE && at(1) == 0xFF))) {
        bool little = at(0) == 0xFF;
        encoding = little ? "utf-16le" : "utf-16be";
        std::wstring out;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            out += static_cast<wchar_t>(little ? at(i) | (at(i + 1) << 8) : (at(i) << 8) | at(i + 1));
        return out;
    }
    encoding = "plain";
    // Plain files hold ASCII here; anything else is taken byte by byte.
    std::wstring out;
    for (size_t i = 0; i < bytes.size(); ++i)
        out += static_cast<wchar_t>(at(i));
    return out;
}

std::wstring Flag(bool on)
{
    return on ? L"1" : L"0";
}

} // namespace

// ---- The dialog's boxes and the program's keys ---------------------------

const OptionControl kOptionControls[28] = {
    {IDC_MANUAL_KMR, IDS_MANUAL_KMR, Option::Driver, L"WizardOnly"},
    {IDC_MANUAL_OTHER, IDS_MANUAL_OTHER, Option::Driver, L"WizardOnly++"},
    {IDC_RETAIL_MODE, IDS_RETAIL_MODE, Option::Driver, L"RetailMode"},
    {IDC_POLL_FOR_FILES, IDS_POLL_FOR_FILES, Option::Driver, L"PollForFiles"},
    {IDC_DELETE_AFTER_RUN, IDS_DELETE_AFTER_RUN, Option::Driver, L"DeleteAfterRun"},
    {IDC_USER_SWITCHING, IDS_USER_SWITCHING, Option::Driver, L"UserSwitching"},
    {IDC_HOME_Z, IDS_HOME_Z, Option::Driver, L"AlwaysHomeZ"},
    {IDC_JOB_LOGGING, IDS_JOB_LOGGING, Option::Driver, L"JobLogging"},
    {IDC_LOG_START, IDS_LOG_START, Option::Log, L"LogStart"},
    {IDC_LOG_COMPLETE, IDS_LOG_COMPLETE, Option::Log, L"LogComplete"},
    {IDC_LOG_PAUSE, IDS_LOG_PAUSE, Option::Log, L"LogPause"},
    {IDC_LOG_RESUME, IDS_LOG_RESUME, Option::Log, L"LogResume"},
    {IDC_LOG_ERROR, IDS_LOG_ERROR, Option::Log, L"LogError"},
    {IDC_LOG_JOB_NAME, IDS_LOG_JOB_NAME, Option::Log, L"LogJobName"},
    {IDC_LOG_DATE, IDS_LOG_DATE, Option::Log, L"LogDate"},
    {IDC_LOG_TIME, IDS_LOG_TIME, Option::Log, L"LogTime"},
    {IDC_LOG_DURATION, IDS_LOG_DURATION, Option::Log, L"LogDuration"},
    {IDC_LOG_USER, IDS_LOG_USER, Option::Log, L"LogUser"},
    {IDC_LOG_SERIAL, IDS_LOG_SERIAL, Option::Log, L"LogSerialNum"},
    {IDC_RETAIL_HIDE_SYSTEM, IDS_RETAIL_HIDE_SYSTEM, Option::Retail, nullptr},
    {IDC_RETAIL_FORBID_QUEUE, IDS_RETAIL_FORBID_QUEUE, Option::Retail, nullptr},
    {IDC_RETAIL_NO_FIXTURE, IDS_RETAIL_NO_FIXTURE, Option::Retail, nullptr},
    {IDC_RETAIL_HIDE_SETTINGS, IDS_RETAIL_HIDE_SETTINGS, Option::Retail, nullptr},
    {IDC_MANUAL_KMR_HELP, IDS_MANUAL_KMR_HELP, Option::Help, nullptr},
    {IDC_MANUAL_OTHER_HELP, IDS_MANUAL_OTHER_HELP, Option::Help, nullptr},
    {IDC_POLL_FOR_FILES_HELP, IDS_POLL_FOR_FILES_HELP, Option::Help, nullptr},
    {IDC_USER_SWITCHING_HELP, IDS_USER_SWITCHING_HELP, Option::Help, nullptr},
    {IDC_HOME_Z_HELP, IDS_HOME_Z_HELP, Option::Help, nullptr},
};

std::vector<int> Controls(Option kind)
{
    std::vector<int> ids;
    for (const OptionControl& control : kOptionControls)
        if (control.kind == kind)
            ids.push_back(control.id);
    return ids;
}

std::vector<int> AllBoxes()
{
    std::vector<int> ids;
    for (const OptionControl& control : kOptionControls)
        if (control.kind != Option::Help)
            ids.push_back(control.id);
    return ids;
}

std::vector<const wchar_t*> Keys(Option kind)
{
    std::vector<const wchar_t*> keys;
    for (const OptionControl& control : kOptionControls)
        if (control.kind == kind)
            keys.push_back(control.key);
    return keys;
}

// The retail options are the mask's bits in their table order; the manual
// controls store the opposite of their tick.
std::map<std::wstring, std::wstring> DriverTexts(const Shown& s)
{
    unsigned retail = 0, bit = 1;
    for (int id : Controls(Option::Retail)) {
        retail |= s.at(IDC_RETAIL_MODE) && s.at(id) ? bit : 0;
        bit <<= 1;
    }
    std::map<std::wstring, std::wstring> out;
    for (const OptionControl& control : kOptionControls) {
        bool inverted = control.id == IDC_MANUAL_KMR || control.id == IDC_MANUAL_OTHER;
        if (control.kind == Option::Driver)
            out[control.key] = Flag(s.at(control.id) != inverted);
    }
    out[L"RetailMode"] = std::to_wstring(retail);
    return out;
}

std::map<std::wstring, std::wstring> LogTexts(const Shown& s)
{
    std::map<std::wstring, std::wstring> out;
    for (const OptionControl& control : kOptionControls)
        if (control.kind == Option::Log)
            out[control.key] = Flag(s.at(control.id));
    return out;
}

// ---- Settings files as written and as stored -----------------------------

std::string IniFile(const char* section, const Entries& entries)
{
    std::string text = std::string("[") + section + "]\r\n";
    for (const auto& e : entries)
        text += e.first + "=" + e.second + "\r\n";
    return text;
}

std::wstring Stored(const std::wstring& file, const wchar_t* section, const wchar_t* key)
{
    // Drops the platform's cached copy, so the read sees the disk.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());
    return IniText(file, section, key);
}

std::wstring StoredDriver(const std::wstring& file, const wchar_t* key)
{
    return Stored(file, L"SETTINGS", key);
}

// ---- INI files as other programs see them --------------------------------

IniModel ParseIni(const std::string& bytes)
{
    IniModel model;
    std::wstring text = Decode(bytes, model.encoding);
    std::wstring section;
    int index = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of(L"\r\n", pos);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = Trim(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == L'\r')
            ++pos;
        if (pos < text.size() && text[pos] == L'\n')
            ++pos;
        if (line.empty())
            continue;
        if (line[0] == L';' || line[0] == L'#') {
            model.lines.push_back({section, L"", line, true, index});
            continue;
        }
        if (line[0] == L'[') {
            size_t close = line.find(L']');
            section = close == std::wstring::npos ? line : line.substr(1, close - 1);
            ++index;
            continue;
        }
        size_t equals = line.find(L'=');
        if (equals == std::wstring::npos)
            model.lines.push_back({section, line, L"", false, index});
        else
            model.lines.push_back({section, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)), false, index});
    }
    return model;
}

std::wstring IniModel::Value(const std::wstring& sectionName, const std::wstring& key) const
{
    // Only the first section of the name counts, as for the platform.
    int first = -1;
    for (const IniLine& line : lines) {
        if (first < 0 && SameName(line.section, sectionName))
            first = line.sectionIndex;
        if (line.sectionIndex == first && !line.comment && SameName(line.key, key))
            return line.value;
    }
    return L"<absent>";
}

bool Owned(FileKind kind, const IniLine& line)
{
    auto ownedIn = [&](const wchar_t* section, const auto& keys) {
        if (line.comment || !SameName(line.section, section))
            return false;
        for (const wchar_t* key : keys)
            if (SameName(line.key, key))
                return true;
        return false;
    };
    return kind == FileKind::Driver ? ownedIn(L"SETTINGS", Keys(Option::Driver))
                                    : ownedIn(L"Settings", Keys(Option::Log));
}

void Dismiss(HWND box)
{
    if (box == nullptr)
        return;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    PumpUntil([&] { return !IsWindow(box); }, 15000);
}

// ---- Scene ----------------------------------------------------------------

Scene::Scene(const std::string& row, StandIns standIns)
    : data(row.empty() ? CurrentTestName() : CurrentTestName() + L"." + Widen(row))
{
    data.MakeAllFolders();
    if (standIns == StandIns::PanelAndEstimator) {
        panel.reset(new Companion(L"RIDODUZO"));
        estimator.reset(new Companion(L"VUZOREDADIDA"));
    }
}

Scene::~Scene() = default;

std::wstring Scene::Path(SettingsFile file) const
{
    switch (file) {
    case kFileQrz: return data.Qrz();
    case kFileWen: return data.Wen();
    case kFileEst: return data.Est();
    default: return data.JobInfo();
    }
}

void Scene::Write(SettingsFile file, const std::string& bytes) const
{
    WriteBytes(Path(file), bytes);
}

void Scene::WriteFound(const std::string& qrz, const std::string& wen, const std::string& jobInfo) const
{
    const std::pair<SettingsFile, const std::string*> found[] = {
        {kFileQrz, &qrz}, {kFileWen, &wen}, {kFileJobInfo, &jobInfo}};
    for (const auto& [file, bytes] : found)
        if (!bytes->empty())
            Write(file, *bytes);
}

void Scene::Remember()
{
    before_.clear();
    for (int file = 0; file < kSettingsFileCount; ++file) {
        std::wstring path = Path(static_cast<SettingsFile>(file));
        if (FileExists(path))
            before_[file] = ReadBytes(path);
    }
}

bool Scene::Open()
{
    Remember();
    return run.Start() && run.WaitForDialog() != nullptr;
}

Shown Scene::ReadShown() const
{
    Shown shown;
    for (int box : AllBoxes())
        shown[box] = run.IsChecked(box);
    return shown;
}

DWORD Scene::OkAndExit(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    run.Click(IDOK);
    DWORD code = run.WaitForExit(timeoutMs);
    EXPECT_EQ(code, 0u) << "the program did not end after OK";
    return code == 0 ? GetTickCount() - start : 0xFFFFFFFFu;
}

void Scene::ExpectSavedAsShown(const Shown& shown, unsigned files) const
{
    for (int copy = kFileQrz; copy <= kFileEst; ++copy) {
        std::wstring path = Path(static_cast<SettingsFile>(copy));
        if (!(files & (1u << copy)) || !FileExists(path))
            continue;
        IniModel model = ParseIni(ReadBytes(path));
        for (const auto& [key, text] : DriverTexts(shown)) {
            EXPECT_EQ(StoredDriver(path, key.c_str()), text) << Narrow(path) << " " << Narrow(key);
            EXPECT_EQ(model.Value(L"SETTINGS", key), text)
                << Narrow(path) << " " << Narrow(key) << " (as read by others)";
        }
    }
    if (files & (1u << kFileJobInfo)) {
        IniModel model = ParseIni(ReadBytes(data.JobInfo()));
        for (const auto& [key, text] : LogTexts(shown)) {
            EXPECT_EQ(Stored(data.JobInfo(), L"Settings", key.c_str()), text) << Narrow(key);
            EXPECT_EQ(model.Value(L"Settings", key), text) << Narrow(key) << " (as read by others)";
        }
    }
}

void Scene::ExpectOthersKept() const
{
    for (const auto& [file, bytes] : before_) {
        FileKind kind = file == kFileJobInfo ? FileKind::JobInfo : FileKind::Driver;
        std::wstring path = Path(static_cast<SettingsFile>(file));
        IniModel was = ParseIni(bytes);
        IniModel now = ParseIni(ReadBytes(path));
        EXPECT_EQ(now.encoding, was.encoding) << Narrow(path);
        // Each line the program does not own must still stand, as often as
        // it stood before; the match is on meaning, not on spelling.
        std::map<std::wstring, int> left;
        auto id = [](const IniLine& line) {
            return std::wstring(line.comment ? L"#" : L"=") + Lower(line.section) + L"\x1f" + Lower(line.key)
                   + L"\x1f" + line.value;
        };
        for (const IniLine& line : now.lines)
            ++left[id(line)];
        for (const IniLine& line : was.lines) {
            if (Owned(kind, line))
                continue;
            int& count = left[id(line)];
            EXPECT_GT(count, 0) << Narrow(path) << ": lost [" << Narrow(line.section) << "] "
                                << (line.comment ? "comment " : Narrow(line.key) + "=") << Narrow(line.value);
            --count;
        }
    }
}

void Scene::ExpectUnchanged() const
{
    for (const auto& [file, bytes] : before_) {
        std::wstring path = Path(static_cast<SettingsFile>(file));
        EXPECT_EQ(ReadBytes(path), bytes) << Narrow(path) << " changed";
    }
}

void Scene::ExpectStored(const std::vector<StoredText>& texts) const
{
    for (const StoredText& t : texts) {
        std::vector<std::wstring> files = t.in == In::Copies ? Copies()
                                          : t.in == In::Qrz  ? std::vector<std::wstring>{data.Qrz()}
                                                             : std::vector<std::wstring>{data.JobInfo()};
        const wchar_t* section = t.section ? t.section : t.in == In::JobInfo ? L"Settings" : L"SETTINGS";
        for (const auto& file : files)
            EXPECT_EQ(Stored(file, section, t.key), t.text) << Narrow(file) << " " << Narrow(t.key);
    }
}

bool Scene::AnyTemporaryLeft() const
{
    for (int file = 0; file < kSettingsFileCount; ++file) {
        std::wstring path = Path(static_cast<SettingsFile>(file));
        if (FileExists(path.substr(0, path.size() - 4) + L".~ox"))
            return true;
    }
    return false;
}
