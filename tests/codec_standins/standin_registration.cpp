#include "standin_registration.h"

#include <shlwapi.h>
#include <wincodec.h>

#include <stdio.h>

#include "test_support.h"

namespace
{
const REGSAM View = KEY_WOW64_32KEY;
const wchar_t ClassesKey[] = L"Software\\Classes\\CLSID";
const CLSID *const Classes[] = {&CLSID_WICJpegDecoder, &CLSID_WICWebpDecoder, &CLSID_WICHeifDecoder};
std::string logPath;

std::wstring ClassKey(const CLSID &clsid)
{
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
    return std::wstring(ClassesKey) + L"\\" + text;
}

// A text value of key, when it holds one.
bool ReadText(HKEY key, const wchar_t *name, std::wstring *text, DWORD *type = NULL)
{
    wchar_t data[1024];
    DWORD size = sizeof(data) - sizeof(wchar_t), kind = 0;
    if (RegQueryValueExW(key, name, NULL, &kind, reinterpret_cast<BYTE *>(data), &size) != ERROR_SUCCESS ||
        (kind != REG_SZ && kind != REG_EXPAND_SZ))
        return false;
    data[size / sizeof(wchar_t)] = L'\0';
    *text = data;
    if (type != NULL)
        *type = kind;
    return true;
}

bool WriteText(HKEY key, const wchar_t *name, const std::wstring &text, DWORD type = REG_SZ)
{
    return RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE *>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}
}

CodecStandIns::CodecStandIns()
{
    wchar_t library[MAX_PATH];
    const std::wstring built = Wide(TestsFolder() + "\\codec_standins\\codec-standins.dll");
    const DWORD length = GetFullPathNameW(built.c_str(), MAX_PATH, library, NULL);
    if (length == 0 || length >= MAX_PATH || GetFileAttributesW(library) == INVALID_FILE_ATTRIBUTES)
    {
        problem = "no " + Utf8(built);
        return;
    }
    for (int i = 0; i < 3; ++i)
    {
        const std::wstring key = ClassKey(*Classes[i]);
        HKEY existing = NULL;
        kept[i].classExisted = RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | View, &existing) ==
                               ERROR_SUCCESS;
        if (existing != NULL)
            RegCloseKey(existing);
        HKEY server = NULL;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, (key + L"\\InprocServer32").c_str(), 0, NULL, 0,
                            KEY_QUERY_VALUE | KEY_SET_VALUE | View, NULL, &server, NULL) != ERROR_SUCCESS)
        {
            problem = "cannot register " + Utf8(key);
            continue;
        }
        kept[i].hadServer = ReadText(server, NULL, &kept[i].server, &kept[i].serverType);
        kept[i].hadModel = ReadText(server, L"ThreadingModel", &kept[i].model);
        // Both: created in the caller's apartment, whichever it is, as
        // Windows' codecs are.
        if (!WriteText(server, NULL, library) || !WriteText(server, L"ThreadingModel", L"Both"))
            problem = "cannot register " + Utf8(key);
        RegCloseKey(server);
    }
}

CodecStandIns::~CodecStandIns()
{
    for (int i = 0; i < 3; ++i)
    {
        const std::wstring key = ClassKey(*Classes[i]);
        if (!kept[i].classExisted)
        {
            HKEY classes = NULL;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ClassesKey, 0, KEY_ALL_ACCESS | View, &classes) == ERROR_SUCCESS)
            {
                SHDeleteKeyW(classes, key.c_str() + lstrlenW(ClassesKey) + 1);
                RegCloseKey(classes);
            }
            continue;
        }
        HKEY server = NULL;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, (key + L"\\InprocServer32").c_str(), 0, KEY_SET_VALUE | View,
                          &server) != ERROR_SUCCESS)
            continue;
        if (kept[i].hadServer)
            WriteText(server, NULL, kept[i].server, kept[i].serverType);
        else
            RegDeleteValueW(server, NULL);
        if (kept[i].hadModel)
            WriteText(server, L"ThreadingModel", kept[i].model);
        else
            RegDeleteValueW(server, L"ThreadingModel");
        RegCloseKey(server);
    }
    SetStandInMode("");
    StartStandInLog("");
}

void SetStandInMode(const char *words)
{
    SetEnvironmentVariableW(L"CODEC_STANDIN_MODE", words[0] == '\0' ? NULL : Wide(words).c_str());
}

void StartStandInLog(const std::string &path)
{
    logPath = path;
    if (!path.empty())
        DeleteFileW(Wide(path).c_str());
    SetEnvironmentVariableW(L"CODEC_STANDIN_LOG", path.empty() ? NULL : Wide(path).c_str());
}

std::vector<std::string> StandInLog()
{
    std::vector<std::string> lines;
    const std::vector<BYTE> bytes = ReadBytes(logPath);
    std::string line;
    for (BYTE byte : bytes)
        if (byte == '\n')
            lines.push_back(line), line.clear();
        else
            line += static_cast<char>(byte);
    return lines;
}

std::string ScaledCopiesProblem(const std::vector<std::string> &log, UINT width, UINT height)
{
    UINT next = 0;
    for (const std::string &line : log)
    {
        UINT w = 0, h = 0;
        int x = 0, y = 0, across = 0, down = 0;
        unsigned long result = 0;
        if (line.compare(0, 10, "jpeg copy ") == 0 && width != 0)
            return "a copy at full size: " + line;
        if (sscanf(line.c_str(), "jpeg scaled-copy %ux%u rect %d,%d,%d,%d -> 0x%lx", &w, &h, &x, &y, &across, &down,
                   &result) != 7)
            continue;
        if (width == 0)
            return "a scaled copy: " + line;
        if (w != width || h != height || x != 0 || across != static_cast<int>(w) || y != static_cast<int>(next) ||
            result != 0)
            return "expected rows from " + std::to_string(next) + " of " + std::to_string(width) + " x " +
                   std::to_string(height) + ": " + line;
        next += down;
    }
    if (next != height)
        return "scaled rows copied: " + std::to_string(next) + " of " + std::to_string(height);
    return "";
}
