// Reading a built DLL's headers, export table and import list from the file,
// the way the loader and the Control Panel see them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct PeExport
{
    std::string name;
    WORD ordinal; // biased: the ordinal a caller passes
};

struct PeFile
{
    bool valid;
    WORD machine;
    WORD characteristics;
    WORD dllCharacteristics;
    std::string exportModuleName;
    DWORD exportedFunctions; // entries in the address table, named or not
    std::vector<PeExport> exports;
    std::vector<std::string> imports; // DLL names, as written
};

// valid is false when the file cannot be read or is not a 32-bit PE image.
PeFile ReadPeFile(const std::string &path);

// True when name is one of the DLLs every Windows has, in any letter case.
bool IsSystemDll(const std::string &name);
