#include "test_support.h"

#include <shlobj.h>
#include <shlwapi.h>
#include <winternl.h>

#include <algorithm>

#include "bitmap_file.h"
#include "settings_key.h"

namespace
{
HKEY OpenForTest(const char *keyPath)
{
    HKEY key = NULL;
    RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
    return key;
}

std::string Utf8Folder(UINT length, const wchar_t *folder)
{
    return length != 0 && length < MAX_PATH ? Utf8(folder) : std::string();
}

bool EndsWith(const std::string &text, const char *suffix)
{
    const size_t length = strlen(suffix);
    if (text.size() < length)
        return false;
    return lstrcmpiA(text.c_str() + text.size() - length, suffix) == 0;
}
}

std::wstring Wide(const std::string &text)
{
    std::wstring wide(text.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                                           static_cast<int>(wide.size()));
    wide.resize(length);
    return wide;
}

std::string Utf8(const std::wstring &text)
{
    std::string narrow(text.size() * 3, '\0');
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &narrow[0],
                                           static_cast<int>(narrow.size()), NULL, NULL);
    narrow.resize(length);
    return narrow;
}

std::string ProgramFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    std::string folder = Utf8(std::wstring(path, length));
    return folder.substr(0, folder.rfind('\\'));
}

std::string TestsFolder()
{
    // Most programs sit in it; the soak program sits one folder below.
    const std::string program = ProgramFolder();
    if (FileExists(program + "\\converters"))
        return program;
    return program.substr(0, program.rfind('\\'));
}

std::string ShippedApplet()
{
    return TestsFolder() + "\\..\\dist\\Vistrane.cpl";
}

std::string ShippedConverter()
{
    return TestsFolder() + "\\..\\dist\\Vistrane-jpeg.dll";
}

std::string TestConverter(const char *kind)
{
    return TestsFolder() + "\\converters\\" + kind + "\\Vistrane-jpeg.dll";
}

void ResetSettingsKey()
{
    SHDeleteKeyA(HKEY_CURRENT_USER, SettingsKeyPath);
}

void ResetDesktopValues()
{
    WriteStringValue(DesktopKeyPath, WallpaperValue, "untouched");
    WriteStringValue(DesktopKeyPath, TileWallpaperValue, "untouched");
}

bool ReadDwordValue(const char *keyPath, const char *name, DWORD *value, DWORD *type)
{
    DWORD size = sizeof(*value);
    return SHGetValueA(HKEY_CURRENT_USER, keyPath, name, type, value, &size) == ERROR_SUCCESS;
}

bool ReadStringValue(const char *keyPath, const char *name, std::string *value, DWORD *type, HKEY root)
{
    wchar_t text[2048];
    DWORD size = sizeof(text);
    if (SHGetValueW(root, Wide(keyPath).c_str(), Wide(name).c_str(), type, text, &size) != ERROR_SUCCESS)
        return false;
    size_t length = size / sizeof(wchar_t);
    if (length > 0 && text[length - 1] == L'\0')
        --length;
    *value = Utf8(std::wstring(text, length));
    return true;
}

void WriteRawValue(const char *keyPath, const char *name, DWORD type, const void *data, DWORD size)
{
    const HKEY key = OpenForTest(keyPath);
    // The bytes as given: the narrow call would take text as the code page's.
    RegSetValueExW(key, Wide(name).c_str(), 0, type, static_cast<const BYTE *>(data), size);
    RegCloseKey(key);
}

void WriteDwordValue(const char *keyPath, const char *name, DWORD value)
{
    WriteRawValue(keyPath, name, REG_DWORD, &value, sizeof(value));
}

void WriteStringValue(const char *keyPath, const char *name, const std::string &value)
{
    const std::wstring wide = Wide(value);
    WriteRawValue(keyPath, name, REG_SZ, wide.c_str(), static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

std::string Wallpaper()
{
    std::string value;
    ReadStringValue(DesktopKeyPath, WallpaperValue, &value);
    return value;
}

std::string ScratchFolder(const char *name)
{
    wchar_t temp[MAX_PATH];
    const std::string root = Utf8Folder(GetTempPathW(MAX_PATH, temp), temp) + "vistrane-tests";
    CreateDirectoryW(Wide(root).c_str(), NULL);
    const std::string folder = root + "\\" + name;
    DeleteTree(folder);
    CreateDirectoryW(Wide(folder).c_str(), NULL);
    return folder;
}

void DeleteTree(const std::string &path)
{
    const std::wstring wide = Wide(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
    {
        SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(wide.c_str());
        return;
    }
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((wide + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            const std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..")
                DeleteTree(path + "\\" + Utf8(name));
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(wide.c_str());
}

bool FileExists(const std::string &path)
{
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CopyOneFile(const std::string &from, const std::string &to)
{
    return CopyFileW(Wide(from).c_str(), Wide(to).c_str(), FALSE) != 0;
}

std::vector<BYTE> ReadBytes(const std::string &path)
{
    std::vector<BYTE> bytes;
    const HANDLE in = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (in == INVALID_HANDLE_VALUE)
        return bytes;
    const DWORD size = GetFileSize(in, NULL);
    DWORD read = 0;
    if (size != INVALID_FILE_SIZE)
    {
        bytes.resize(size);
        if (size > 0 && (!ReadFile(in, bytes.data(), size, &read, NULL) || read != size))
            bytes.clear();
    }
    CloseHandle(in);
    return bytes;
}

bool WriteTextFile(const std::string &path, const char *text)
{
    const HANDLE out = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(out, text, lstrlenA(text), &written, NULL);
    CloseHandle(out);
    return ok != 0;
}

void MakeEntries(const std::string &folder, const std::vector<std::string> &names)
{
    for (size_t i = 0; i < names.size(); ++i)
    {
        const std::string path = folder + "\\" + names[i];
        if (EndsWith(names[i], "\\"))
            CreateDirectoryW(Wide(path).c_str(), NULL);
        else if (EndsWith(names[i], ".bmp"))
            WriteBitmapFile(Wide(path).c_str(), 2, 2, RGB(10 * i, 20, 30));
        else
            WriteTextFile(path, "not a picture");
    }
}

std::vector<std::string> ListingOrder(const std::string &folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(Wide(folder + "\\*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
    {
        if (entry.cFileName[0] != L'.')
            names.push_back(Utf8(entry.cFileName));
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

int PositionOf(const std::vector<std::string> &listing, const std::string &name)
{
    const std::vector<std::string>::const_iterator found = std::find(listing.begin(), listing.end(), name);
    return found == listing.end() ? -1 : static_cast<int>(found - listing.begin());
}

std::vector<std::string> MakeEntriesListedInOrder(const std::string &folder, const std::vector<std::string> &wanted)
{
    // The first attempt's prefixes suit a listing sorted by name (Wine sorts
    // on most versions); later ones are scrambled for a hashed order.
    unsigned scramble = 12345;
    for (int attempt = 0; attempt < 3000; ++attempt)
    {
        std::vector<std::string> names, listed;
        for (size_t i = 0; i < wanted.size(); ++i)
        {
            char prefix[16];
            if (attempt == 0)
                wsprintfA(prefix, "%c-", 'a' + static_cast<int>(i));
            else
            {
                scramble = scramble * 1103515245 + 12345;
                wsprintfA(prefix, "%04x-", (scramble >> 16) & 0xffff);
            }
            names.push_back(prefix + wanted[i]);
            listed.push_back(names.back().substr(0, names.back().find_last_not_of('\\') + 1));
        }
        MakeEntries(folder, names);
        if (ListingOrder(folder) == listed)
            return listed;
        for (size_t i = 0; i < listed.size(); ++i)
            DeleteTree(folder + "\\" + listed[i]);
    }
    return std::vector<std::string>();
}

std::string WindowsFolder()
{
    wchar_t folder[MAX_PATH];
    return Utf8Folder(GetWindowsDirectoryW(folder, MAX_PATH), folder);
}

std::string SystemFolder()
{
    wchar_t folder[MAX_PATH];
    return Utf8Folder(GetSystemDirectoryW(folder, MAX_PATH), folder);
}

std::string LocalAppDataFolder()
{
    wchar_t folder[MAX_PATH] = L"";
    SHGetFolderPathW(NULL, CSIDL_LOCAL_APPDATA, NULL, SHGFP_TYPE_CURRENT, folder);
    return Utf8(folder);
}

std::string ProgramFilesFolder()
{
    wchar_t folder[MAX_PATH] = L"";
    SHGetFolderPathW(NULL, CSIDL_PROGRAM_FILES, NULL, SHGFP_TYPE_CURRENT, folder);
    return Utf8(folder);
}

int CountProcessHandles()
{
    // SYSTEM_HANDLE_INFORMATION, as the system fills it for class 16.
    struct HandleEntry
    {
        ULONG ownerProcessId;
        BYTE objectType;
        BYTE flags;
        USHORT value;
        PVOID object;
        ACCESS_MASK access;
    };
    struct HandleTable
    {
        ULONG count;
        HandleEntry entries[1];
    };
    std::vector<BYTE> buffer(1 << 16);
    for (;;)
    {
        ULONG needed = 0;
        const NTSTATUS status = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(16), &buffer[0],
                                                         static_cast<ULONG>(buffer.size()), &needed);
        if (status == static_cast<NTSTATUS>(0xC0000004)) // STATUS_INFO_LENGTH_MISMATCH
        {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status != 0)
            return -1;
        break;
    }
    const HandleTable *table = reinterpret_cast<const HandleTable *>(&buffer[0]);
    int count = 0;
    for (ULONG i = 0; i < table->count; ++i)
        if (table->entries[i].ownerProcessId == GetCurrentProcessId())
            ++count;
    return count;
}

namespace
{
HANDLE Start(const std::string &commandLine, const char *folder)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::wstring line = Wide(commandLine);
    const std::wstring in = folder != NULL ? Wide(folder) : std::wstring();
    if (!CreateProcessW(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, folder != NULL ? in.c_str() : NULL, &startup,
                        &process))
        return NULL;
    CloseHandle(process.hThread);
    return process.hProcess;
}
}

HANDLE StartProgram(const std::string &commandLine)
{
    return Start(commandLine, NULL);
}

int RunProgram(const std::string &commandLine, const char *folder)
{
    const HANDLE process = Start(commandLine, folder);
    if (process == NULL)
        return -1;
    WaitForSingleObject(process, INFINITE);
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return static_cast<int>(code);
}

namespace
{
const char SessionManagerKey[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char PendingRenames[] = "PendingFileRenameOperations";
}

std::vector<BYTE> ReadPendingRenames()
{
    std::vector<BYTE> value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SessionManagerKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, PendingRenames, NULL, NULL, NULL, &size) == ERROR_SUCCESS && size > 0)
    {
        value.resize(size);
        RegQueryValueExA(key, PendingRenames, NULL, NULL, value.data(), &size);
    }
    RegCloseKey(key);
    return value;
}

void WritePendingRenames(const std::vector<BYTE> &value)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SessionManagerKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    if (value.empty())
        RegDeleteValueA(key, PendingRenames);
    else
        RegSetValueExA(key, PendingRenames, 0, REG_MULTI_SZ, value.data(), static_cast<DWORD>(value.size()));
    RegCloseKey(key);
}
