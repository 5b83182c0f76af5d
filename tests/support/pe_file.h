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
    // The load configuration's table of safe exception handlers, as RVAs;
    // Windows calls no other handler of an image that declares one.
    bool hasSafeHandlerTable;
    std::vector<DWORD> safeHandlers;
    // Every symbol of the symbol table (which the build keeps) that lies in a
    // section, with its RVA.
    std::vector<std::pair<std::string, DWORD>> symbols;
};

// valid is false when the file cannot be read or is not a 32-bit PE image.
PeFile ReadPeFile(const std::string &path);

// True when name is one of the DLLs every Windows has, in any letter case.
bool IsSystemDll(const std::string &name);
