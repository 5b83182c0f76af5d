// CancelRemoval.exe <install folder> <picture folder> <picture name>...: run
// by the setup program once it has copied its files, it cancels every
// pending restart-time deletion of what it installed, in Session Manager's
// lists and in WININIT.INI, and leaves every other program's pending
// operations exactly as they were. It derives the installed files from the
// folders, so no list of paths has to fit in one of the setup program's
// strings (1024 characters).
//
// Wide text throughout, unlike the applet: the lists are other programs'
// too, and an ANSI round trip would change their paths. A failed allocation
// ends the helper through the runtime's abort, exit code 3, which setup
// counts as a failure like any code it does not know.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "installed_files.h"
#include "pending_removal.h"

namespace
{
// The exit codes, as the setup program reads them.
enum Outcome
{
    // Nothing of ours is left pending.
    NothingPending = 0,
    // A list could not be read or rewritten: ours may be left pending.
    ListNotEdited = 1,
    // A deletion of ours is left in a list of a shape not ours to edit.
    DeletionLeft = 2,
    BadCommandLine = 4,
    // Nothing of ours is left in Session Manager's lists, but WININIT.INI
    // could not be read or is too large. Windows NT never reads that file.
    WininitUnread = 5,
};

// WININIT.INI is a few lines; anything larger is left alone.
const DWORD WininitSizeLimit = 1 << 20;
// Another program adding an operation while a list is rewritten makes it
// start over; one that never stops adding makes it give up.
const int RewriteAttempts = 5;

Outcome Worse(Outcome one, Outcome other)
{
    // A deletion left beats an unread list: it tells the user what to do.
    static const Outcome Order[] = {NothingPending, WininitUnread, ListNotEdited, DeletionLeft};
    for (int i = sizeof(Order) / sizeof(Order[0]) - 1; i >= 0; --i)
        if (one == Order[i] || other == Order[i])
            return Order[i];
    return NothingPending;
}

// One registry value as stored.
struct StoredValue
{
    bool present;
    DWORD type;
    std::vector<BYTE> bytes;

    bool operator==(const StoredValue &other) const
    {
        return present == other.present && type == other.type && bytes == other.bytes;
    }
};

bool ReadValue(HKEY key, const WCHAR *name, StoredValue *value)
{
    value->present = false;
    value->bytes.clear();
    for (int attempt = 0; attempt < RewriteAttempts; ++attempt)
    {
        DWORD size = static_cast<DWORD>(value->bytes.size());
        const LONG status =
            RegQueryValueExW(key, name, NULL, &value->type, value->bytes.empty() ? NULL : value->bytes.data(), &size);
        if (status == ERROR_FILE_NOT_FOUND)
            return true;
        // The first call asks for the size, a later one finds it grown.
        if (status == ERROR_MORE_DATA || (status == ERROR_SUCCESS && value->bytes.empty() && size > 0))
        {
            value->bytes.resize(size);
            continue;
        }
        if (status != ERROR_SUCCESS)
            return false;
        value->bytes.resize(size);
        value->present = true;
        return true;
    }
    return false;
}

bool HasText(const WCHAR *operations, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (operations[i] != 0)
            return true;
    return false;
}

// The value's texts, whole WCHARs only: a list of any shape is judged.
const WCHAR *Texts(const StoredValue &value)
{
    return reinterpret_cast<const WCHAR *>(value.bytes.data());
}

Outcome CancelInList(HKEY sessionManager, const WCHAR *valueName, const InstalledFiles &installed)
{
    for (int attempt = 0; attempt < RewriteAttempts; ++attempt)
    {
        StoredValue stored;
        if (!ReadValue(sessionManager, valueName, &stored))
            return ListNotEdited;
        if (!stored.present)
            return NothingPending;
        const size_t length = stored.bytes.size() / sizeof(WCHAR);
        // Only the system's own form is ours to edit; any other is judged.
        if (stored.type != REG_MULTI_SZ || stored.bytes.size() % sizeof(WCHAR) != 0)
            return MayDeleteInstalled(Texts(stored), length, installed) ? DeletionLeft : NothingPending;
        std::vector<BYTE> edited = stored.bytes;
        WCHAR *const list = reinterpret_cast<WCHAR *>(edited.data());
        const Removal removal = RemoveInstalledDeletions(list, length, installed);
        if (removal.installedLeft)
            return DeletionLeft;
        if (removal.length == length)
            return NothingPending;
        // Another program may have added an operation since: writing this
        // edit would lose it.
        StoredValue now;
        if (!ReadValue(sessionManager, valueName, &now))
            return ListNotEdited;
        if (!(now == stored))
            continue;
        // Our deletions were all there was: no list at all, as after a restart.
        if (!HasText(list, removal.length))
            return RegDeleteValueW(sessionManager, valueName) == ERROR_SUCCESS ? NothingPending : ListNotEdited;
        const LONG written = RegSetValueExW(sessionManager, valueName, 0, REG_MULTI_SZ, edited.data(),
                                            static_cast<DWORD>(removal.length * sizeof(WCHAR)));
        return written == ERROR_SUCCESS ? NothingPending : ListNotEdited;
    }
    return ListNotEdited;
}

Outcome CancelInSessionManager(const InstalledFiles &installed)
{
    HKEY sessionManager = NULL;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SessionManagerKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &sessionManager) !=
        ERROR_SUCCESS)
        return ListNotEdited;
    Outcome outcome = NothingPending;
    for (const WCHAR *valueName : PendingOperationValues)
        outcome = Worse(outcome, CancelInList(sessionManager, valueName, installed));
    RegCloseKey(sessionManager);
    return outcome;
}

// The whole file, when it is small enough to be WININIT.INI.
bool ReadWininit(HANDLE file, std::vector<char> *text)
{
    const DWORD size = GetFileSize(file, NULL);
    if (size == INVALID_FILE_SIZE || size > WininitSizeLimit)
        return false;
    text->resize(size);
    DWORD read = 0;
    return size == 0 || (ReadFile(file, text->data(), size, &read, NULL) && read == size);
}

// Edits the file in place through a handle no one else shares, so no line
// another program adds meanwhile is lost.
Outcome CancelInOpenWininit(HANDLE file, const InstalledFiles &installed)
{
    std::vector<char> text;
    if (!ReadWininit(file, &text))
        return WininitUnread;
    const size_t kept = RemoveInstalledWininitLines(text.data(), text.size(), installed);
    if (kept == text.size())
        return NothingPending;
    DWORD written = 0;
    const bool rewritten = SetFilePointer(file, 0, NULL, FILE_BEGIN) == 0 &&
                           WriteFile(file, text.data(), static_cast<DWORD>(kept), &written, NULL) &&
                           written == kept && SetEndOfFile(file);
    return rewritten ? NothingPending : ListNotEdited;
}

// A file others hold open, or one that only reads: judged, not edited.
Outcome JudgeWininit(const WCHAR *path, const InstalledFiles &installed)
{
    const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return WininitUnread;
    std::vector<char> text;
    const bool read = ReadWininit(file, &text);
    CloseHandle(file);
    if (!read)
        return WininitUnread;
    return RemoveInstalledWininitLines(text.data(), text.size(), installed) == text.size() ? NothingPending
                                                                                          : ListNotEdited;
}

Outcome CancelInWininit(const InstalledFiles &installed)
{
    WCHAR folder[MAX_PATH];
    const UINT folderLength = GetWindowsDirectoryW(folder, MAX_PATH);
    if (folderLength == 0 || folderLength >= MAX_PATH)
        return WininitUnread;
    const std::wstring path = std::wstring(folder, folderLength) + L"\\WININIT.INI";
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE)
    {
        const Outcome outcome = CancelInOpenWininit(file, installed);
        CloseHandle(file);
        return outcome;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return NothingPending;
    return JudgeWininit(path.c_str(), installed);
}

std::wstring WithoutTrailingBackslashes(std::wstring folder)
{
    while (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
    return folder;
}

// What setup installs: the applet, its converter and the uninstaller in the
// install folder, that folder and the one holding it (an uninstallation
// removes both at the restart), and the sample pictures in their folder.
std::vector<std::wstring> InstalledPaths(int count, WCHAR **arguments)
{
    static const WCHAR *const InstalledNames[] = {L"Vistrane.cpl", L"Vistrane-jpeg.dll", L"uninstall.exe"};
    const std::wstring installFolder = WithoutTrailingBackslashes(arguments[1]);
    std::vector<std::wstring> paths;
    for (const WCHAR *name : InstalledNames)
        paths.push_back(installFolder + L"\\" + name);
    paths.push_back(installFolder);
    // The parent, unless it is a drive's root, which no uninstallation
    // removes.
    const size_t cut = installFolder.find_last_of(L"\\/");
    if (cut != std::wstring::npos && installFolder.find_first_of(L"\\/") < cut)
        paths.push_back(installFolder.substr(0, cut));
    const std::wstring pictureFolder = WithoutTrailingBackslashes(arguments[2]);
    paths.push_back(pictureFolder);
    for (int i = 3; i < count; ++i)
        paths.push_back(pictureFolder + L"\\" + arguments[i]);
    return paths;
}
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int count = 0;
    LPWSTR *arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == NULL)
        return BadCommandLine;
    if (count < 3 || arguments[1][0] == 0 || arguments[2][0] == 0)
    {
        LocalFree(arguments);
        return BadCommandLine;
    }
    const InstalledFiles installed = DescribeInstalled(InstalledPaths(count, arguments));
    LocalFree(arguments);
    const Outcome registry = CancelInSessionManager(installed);
    return Worse(registry, CancelInWininit(installed));
}
