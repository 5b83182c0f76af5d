// One open registry key, read with a default and written without checks.
#pragma once

#include <windows.h>

// Key paths and value names are the system's own ASCII identifiers, given as
// narrow text and widened for the wide registry calls. Stored text is wide,
// as Windows keeps it: a folder named in any script comes back as it was.
class RegistryKey
{
public:
    RegistryKey() : handle(NULL) {}
    ~RegistryKey() { Close(); }

    // Opens the first component of path under HKEY_CURRENT_USER (currentUser
    // non-zero) or HKEY_LOCAL_MACHINE, then opens or creates each further
    // component, releasing every parent as soon as its child is open. A
    // component that cannot be opened or does not fit leaves the key closed.
    void Open(const char *path, int currentUser);
    LONG Close();

    // A missing value, or one that does not fit the reader, is replaced in the
    // store by the default, and the default is what the reader gets.
    int ReadDword(const char *name, int defaultValue);
    LONG WriteDword(const char *name, int value);
    // size is the buffer's byte count on entry and the stored byte count on
    // return. The buffer always ends up terminated. A value of an odd number
    // of bytes holds no whole text and is treated like one that does not fit.
    void ReadString(const char *name, wchar_t *buffer, DWORD *size, const wchar_t *defaultValue);
    void WriteString(const char *name, const wchar_t *value);
    // The value as stored, its type and size, with nothing written back: for
    // values that are the system's own, not ours to default. As
    // RegQueryValueExW answers.
    LONG Query(const char *name, DWORD *type, BYTE *data, DWORD *size);
    // Removes the value; as RegDeleteValueW answers.
    LONG DeleteValue(const char *name);

    HKEY Handle() const { return handle; }

private:
    RegistryKey(const RegistryKey &);
    RegistryKey &operator=(const RegistryKey &);

    HKEY handle;
};
