#include "registry_key.h"

#include <strsafe.h>

namespace
{
// Key path components are short names; a longer one is refused, not cut.
const size_t ComponentSize = 64;

// Copies the component that starts at path into component and returns where
// the next one starts, or NULL when the component does not fit.
const char *NextComponent(const char *path, char (&component)[ComponentSize])
{
    size_t length = 0;
    while (path[length] != '\0' && path[length] != '\\')
        ++length;
    if (length >= ComponentSize)
        return NULL;
    CopyMemory(component, path, length);
    component[length] = '\0';
    path += length;
    return *path == '\\' ? path + 1 : path;
}
}

void RegistryKey::Open(const char *path, int currentUser)
{
    Close();
    const HKEY root = currentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    HKEY current = root;
    char component[ComponentSize];

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
                status = RegOpenKeyA(root, component, &child);
            else
                status = RegCreateKeyExA(current, component, 0, NULL, REG_OPTION_NON_VOLATILE,
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
    if (RegQueryValueExA(handle, name, NULL, NULL, reinterpret_cast<BYTE *>(&value), &size) == ERROR_SUCCESS)
        return static_cast<int>(value);
    WriteDword(name, defaultValue);
    return defaultValue;
}

LONG RegistryKey::WriteDword(const char *name, int value)
{
    const DWORD data = static_cast<DWORD>(value);
    return RegSetValueExA(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&data), sizeof(data));
}

void RegistryKey::ReadString(const char *name, char *buffer, DWORD *size, const char *defaultValue)
{
    const DWORD capacity = *size;
    if (capacity == 0)
        return;
    DWORD stored = capacity;
    if (RegQueryValueExA(handle, name, NULL, NULL, reinterpret_cast<BYTE *>(buffer), &stored) == ERROR_SUCCESS)
    {
        // Values are read whatever their type, and a text stored without its
        // terminator (or a number, or raw bytes) comes back unterminated.
        if (stored < capacity)
        {
            buffer[stored] = '\0';
            *size = stored;
            return;
        }
        if (buffer[capacity - 1] == '\0')
        {
            *size = stored;
            return;
        }
        // Full to the last byte with no terminator: too large, like a value
        // that did not fit at all.
    }
    WriteString(name, defaultValue);
    if (FAILED(StringCbCopyA(buffer, capacity, defaultValue)))
        buffer[0] = '\0';
    *size = lstrlenA(buffer) + 1;
}

void RegistryKey::WriteString(const char *name, const char *value)
{
    RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value), lstrlenA(value) + 1);
}
