#include "pe_file.h"

#include <stddef.h>
#include <string.h>

#include "test_support.h"

namespace
{
class Image
{
public:
    Image(const std::vector<BYTE> &bytes, const IMAGE_NT_HEADERS32 *headers) : bytes(bytes), headers(headers) {}

    // The file offset of an address relative to the image base, or 0.
    DWORD Offset(DWORD rva) const
    {
        const IMAGE_SECTION_HEADER *section = IMAGE_FIRST_SECTION(headers);
        for (WORD i = 0; i < headers->FileHeader.NumberOfSections; ++i, ++section)
            if (rva >= section->VirtualAddress && rva < section->VirtualAddress + section->Misc.VirtualSize)
                return rva - section->VirtualAddress + section->PointerToRawData;
        return 0;
    }
    template <typename T> const T *At(DWORD rva) const
    {
        const DWORD offset = Offset(rva);
        if (offset == 0 || offset + sizeof(T) > bytes.size())
            return NULL;
        return reinterpret_cast<const T *>(&bytes[offset]);
    }
    std::string Text(DWORD rva) const
    {
        const DWORD offset = Offset(rva);
        std::string text;
        for (DWORD i = offset; offset != 0 && i < bytes.size() && bytes[i] != 0; ++i)
            text += static_cast<char>(bytes[i]);
        return text;
    }

private:
    const std::vector<BYTE> &bytes;
    const IMAGE_NT_HEADERS32 *headers;
};
}

PeFile ReadPeFile(const std::string &path)
{
    PeFile pe = PeFile();
    const std::vector<BYTE> bytes = ReadBytes(path);
    if (bytes.size() < sizeof(IMAGE_DOS_HEADER))
        return pe;
    const IMAGE_DOS_HEADER *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(bytes.data());
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0 ||
        static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32) > bytes.size())
        return pe;
    const IMAGE_NT_HEADERS32 *headers = reinterpret_cast<const IMAGE_NT_HEADERS32 *>(&bytes[dos->e_lfanew]);
    if (headers->Signature != IMAGE_NT_SIGNATURE || headers->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC)
        return pe;
    pe.valid = true;
    pe.machine = headers->FileHeader.Machine;
    pe.characteristics = headers->FileHeader.Characteristics;
    pe.dllCharacteristics = headers->OptionalHeader.DllCharacteristics;
    const Image image(bytes, headers);

    const IMAGE_DATA_DIRECTORY &exportEntry = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (const IMAGE_EXPORT_DIRECTORY *exports = image.At<IMAGE_EXPORT_DIRECTORY>(exportEntry.VirtualAddress))
    {
        pe.exportModuleName = image.Text(exports->Name);
        pe.exportedFunctions = exports->NumberOfFunctions;
        for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        {
            const DWORD *name = image.At<DWORD>(exports->AddressOfNames + 4 * i);
            const WORD *index = image.At<WORD>(exports->AddressOfNameOrdinals + 2 * i);
            if (name != NULL && index != NULL)
                pe.exports.push_back({image.Text(*name), static_cast<WORD>(exports->Base + *index)});
        }
    }

    const IMAGE_DATA_DIRECTORY &importEntry = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (DWORD rva = importEntry.VirtualAddress; rva != 0; rva += sizeof(IMAGE_IMPORT_DESCRIPTOR))
    {
        const IMAGE_IMPORT_DESCRIPTOR *import = image.At<IMAGE_IMPORT_DESCRIPTOR>(rva);
        if (import == NULL || import->Name == 0)
            break;
        pe.imports.push_back(image.Text(import->Name));
    }

    const IMAGE_DATA_DIRECTORY &configEntry = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_LOAD_CONFIG];
    const IMAGE_LOAD_CONFIG_DIRECTORY32 *config = image.At<IMAGE_LOAD_CONFIG_DIRECTORY32>(configEntry.VirtualAddress);
    const DWORD tableEnd = offsetof(IMAGE_LOAD_CONFIG_DIRECTORY32, SEHandlerCount) + sizeof(DWORD);
    if (config != NULL && configEntry.Size >= tableEnd && config->Size >= tableEnd && config->SEHandlerTable != 0)
    {
        pe.hasSafeHandlerTable = true;
        const DWORD table = config->SEHandlerTable - headers->OptionalHeader.ImageBase;
        for (DWORD i = 0; i < config->SEHandlerCount; ++i)
            if (const DWORD *handler = image.At<DWORD>(table + 4 * i))
                pe.safeHandlers.push_back(*handler);
    }

    // COFF symbols: 18 bytes each, names of more than 8 bytes in the string
    // table that follows them; values are offsets in their section.
    const DWORD symbolsAt = headers->FileHeader.PointerToSymbolTable;
    const DWORD symbolCount = headers->FileHeader.NumberOfSymbols;
    const size_t stringsAt = symbolsAt + static_cast<size_t>(symbolCount) * IMAGE_SIZEOF_SYMBOL;
    const IMAGE_SECTION_HEADER *sections = IMAGE_FIRST_SECTION(headers);
    for (DWORD i = 0; symbolsAt != 0 && stringsAt <= bytes.size() && i < symbolCount; ++i)
    {
        const IMAGE_SYMBOL *symbol =
            reinterpret_cast<const IMAGE_SYMBOL *>(&bytes[symbolsAt + static_cast<size_t>(i) * IMAGE_SIZEOF_SYMBOL]);
        std::string name;
        if (symbol->N.Name.Short != 0)
            name.assign(reinterpret_cast<const char *>(symbol->N.ShortName), strnlen(reinterpret_cast<const char *>(symbol->N.ShortName), 8));
        else if (stringsAt + symbol->N.Name.Long < bytes.size())
            name = reinterpret_cast<const char *>(&bytes[stringsAt + symbol->N.Name.Long]);
        if (symbol->SectionNumber > 0 && symbol->SectionNumber <= headers->FileHeader.NumberOfSections)
            pe.symbols.push_back({name, sections[symbol->SectionNumber - 1].VirtualAddress + symbol->Value});
        i += symbol->NumberOfAuxSymbols;
    }
    return pe;
}

bool IsSystemDll(const std::string &name)
{
    static const char *const systemDlls[] = {
        "kernel32.dll", "user32.dll", "gdi32.dll",   "advapi32.dll", "shell32.dll", "shlwapi.dll",
        "ole32.dll",    "oleaut32.dll", "msvcrt.dll", "comctl32.dll", "comdlg32.dll", "windowscodecs.dll",
    };
    for (size_t i = 0; i < sizeof(systemDlls) / sizeof(systemDlls[0]); ++i)
        if (lstrcmpiA(name.c_str(), systemDlls[i]) == 0)
            return true;
    return false;
}
