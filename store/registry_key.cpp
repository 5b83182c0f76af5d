#include "registry_key.h"

#include <strsafe.h>

namespace
{
// Key path components and value names are short names; a longer one is
// refused, not cut.
const size_t ComponentSize = 64;

// Copies the text of name up to the first end character (or its end) into
// wide, widening each ASCII character. Returns the length taken, or -1 when it
// does not fit or holds a character beyond ASCII, which no identifier of the
// system has and which a plain widening would turn into another one.
int WidenIdentifier(const char *name, char end, wchar_t (&wide)[ComponentSize])
{
    size_t length = 0;
    for (; name[length] != '\0' && name[length] != end; ++length)
    {
        const unsigned char c = static_cast<unsigned char>(name[length]);
        if (length + 1 >= ComponentSize || c > 0x7f)
            return -1;
        wide[length] = c;
    }
    wide[length] = L'\0';
    return static_cast<int>(length);
}

// Copies the component that starts at path into component and returns where
// the next one starts, or NULL when the component does not fit.
const char *NextComponent(const char *path, wchar_t (&component)[ComponentSize])
{
    const int length = WidenIdentifier(path, '\\', component);
    if (length < 0)
        return NULL;
    path += length;
    return *path == '\\' ? path + 1 : path;
}
}

void RegistryKey::Open(const char *path, int currentUser)
{
    Close();
    const HKEY root = currentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    HKEY current = root;
    wchar_t component[ComponentSize];

    while (*path != '\0')
    {
        path = NextComponent(path, component);
        HKEY child = NULL;
        LONG status = ERROR_INVALID_PARAMETER;
        if (path != NULL)
        {
            // The first component ("Software", "Control Panel") always exists;
            // the ones below it are made on a fresh profile.
            if (current == root)
                status = RegOpenKeyW(root, component, &child);
            else
                status = RegCreateKeyExW(current, component, 0, NULL, REG_OPTION_NON_VOLATILE,
                                         KEY_ALL_ACCESS, NULL, &child, NULL);
        }
        if (current != root)
            RegCloseKey(current);
        if (status != ERROR_SUCCESS)
            return; // stays closed: reads give defaults, writes go nowhere
        current = child;
    }
    if (current != root)
        handle = current;
}

LONG RegistryKey::Close()
{
    if (handle == NULL)
        return ERROR_SUCCESS;
    const LONG status = RegCloseKey(handle);
    handle = NULL;
    return status;
}

int RegistryKey::ReadDword(const char *name, int defaultValue)
{
    // A stored value shorter than four bytes leaves the upper bytes zero.
    DWORD value = 0;
    DWORD size = sizeof(value);
    wchar_t wideName[ComponentSize];
    if (WidenIdentifier(name, '\0', wideName) >= 0 &&
        RegQueryValueExW(handle, wideName, NULL, NULL, reinterpret_cast<BYTE *>(&value), &size) == ERROR_SUCCESS)
        return static_cast<int>(value);
    WriteDword(name, defaultValue);
    return defaultValue;
}

LONG RegistryKey::WriteDword(const char *name, int value)
{
    wchar_t wideName[ComponentSize];
    if (WidenIdentifier(name, '\0', wideName) < 0)
        return ERROR_INVALID_PARAMETER;
    const DWORD data = static_cast<DWORD>(value);
    return RegSetValueExW(handle, wideName, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&data), sizeof(data));
}

void RegistryKey::ReadString(const char *name, wchar_t *buffer, DWORD *size, const wchar_t *defaultValue)
{
    const DWORD capacity = *size / sizeof(wchar_t);
    if (capacity == 0)
        return;
    DWORD stored = capacity * sizeof(wchar_t);
    wchar_t wideName[ComponentSize];
    if (WidenIdentifier(name, '\0', wideName) >= 0 &&
        RegQueryValueExW(handle, wideName, NULL, NULL, reinterpret_cast<BYTE *>(buffer), &stored) == ERROR_SUCCESS &&
        stored % sizeof(wchar_t) == 0)
    {
        // Values are read whatever their type, and a text stored without its
        // terminator (or a number, or raw bytes) comes back unterminated.
        const DWORD characters = stored / sizeof(wchar_t);
        if (characters < capacity)
        {
            buffer[characters] = L'\0';
            *size = stored;
            return;
        }
        if (buffer[capacity - 1] == L'\0')
        {
            *size = stored;
            return;
        }
        // Full to the last character with no terminator: too large, like a
        // value that did not fit at all.
    }
    WriteString(name, defaultValue);
    if (FAILED(StringCchCopyW(buffer, capacity, defaultValue)))
        buffer[0] = L'\0';
    *size = (lstrlenW(buffer) + 1) * sizeof(wchar_t);
}

LONG RegistryKey::Query(const char *name, DWORD *type, BYTE *data, DWORD *size)
{
    wchar_t wideName[ComponentSize];
    if (WidenIdentifier(name, '\0', wideName) < 0)
        return ERROR_INVALID_PARAMETER;
    return RegQueryValueExW(handle, wideName, NULL, type, data, size);
}

LONG RegistryKey::DeleteValue(const char *name)
{
    wchar_t wideName[ComponentSize];
    if (WidenIdentifier(name, '\0', wideName) < 0)
        return ERROR_INVALID_PARAMETER;
    return RegDeleteValueW(handle, wideName);
}

void RegistryKey::WriteString(const char *name, const wchar_t *value)
{
    wchar_t wideName[ComponentSize];
    if (WidenIdentifier(name, '\0', wideName) < 0)
        return;
    RegSetValueExW(handle, wideName, 0, REG_SZ, reinterpret_cast<const BYTE *>(value),
                   (lstrlenW(value) + 1) * sizeof(wchar_t));
}
