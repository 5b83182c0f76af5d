// What the tests share: scratch registry state and folders, reading back what
// a run stored, and running programs under the same Wine prefix.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The tests' texts are UTF-8, so a name in any script can be written in a
// test's source; the system's are UTF-16. Every helper below takes and gives
// UTF-8 and calls the wide functions.
std::wstring Wide(const std::string &text);
std::string Utf8(const std::wstring &text);

// The folder of the running test program, without a trailing backslash.
std::string ProgramFolder();
// The build's tests folder, where the test programs and converters are.
std::string TestsFolder();
// Built files: the shipped Vistrane.cpl and Vistrane-jpeg.dll, and a test
// converter by kind name ("writes-bitmap", "returns-failure", ...).
std::string ShippedApplet();
std::string ShippedConverter();
std::string TestConverter(const char *kind);

// Deletes the settings key, so the next run starts from a fresh profile.
void ResetSettingsKey();
// Sets the desktop values to something no run writes.
void ResetDesktopValues();

// A value of the settings key ("settings") or of the desktop key. False when
// it is missing; type receives the stored type when not NULL.
bool ReadDwordValue(const char *keyPath, const char *name, DWORD *value, DWORD *type = NULL);
bool ReadStringValue(const char *keyPath, const char *name, std::string *value, DWORD *type = NULL,
                     HKEY root = HKEY_CURRENT_USER);
// Stores exactly size bytes of data: text as UTF-16.
void WriteRawValue(const char *keyPath, const char *name, DWORD type, const void *data, DWORD size);
void WriteDwordValue(const char *keyPath, const char *name, DWORD value);
void WriteStringValue(const char *keyPath, const char *name, const std::string &value);
std::string Wallpaper();

// An empty folder of that name under %TEMP%\vistrane-tests, made afresh.
std::string ScratchFolder(const char *name);
void DeleteTree(const std::string &path);
bool FileExists(const std::string &path);
bool CopyOneFile(const std::string &from, const std::string &to);
// The whole file, or nothing when it cannot be read.
std::vector<BYTE> ReadBytes(const std::string &path);
bool WriteTextFile(const std::string &path, const char *text);
// Creates each named entry in folder: a name ending in "\\" as a subdirectory,
// ".bmp" names as small bitmaps, the others as text (a stand-in JPEG only
// matters to a converter, never to the run).
void MakeEntries(const std::string &folder, const std::vector<std::string> &names);
// The entries a listing of folder returns, in the file system's own order,
// without names that begin with ".". Wine lists in the host's order, which
// is not sorted, so a test learns it before predicting positions.
std::vector<std::string> ListingOrder(const std::string &folder);
int PositionOf(const std::vector<std::string> &listing, const std::string &name);
// Creates entries in folder, one per wanted name, that the file system lists
// in the wanted order: each name gets a prefix, tried until the listing comes
// out in that order. Returns the names as created, in listing order, or an
// empty list when no prefixes gave that order.
std::vector<std::string> MakeEntriesListedInOrder(const std::string &folder, const std::vector<std::string> &wanted);

std::string WindowsFolder();
std::string SystemFolder();
std::string LocalAppDataFolder();
// Where a 32-bit program installs: "Program Files (x86)" on 64-bit Windows.
std::string ProgramFilesFolder();

// Open handles of this process, counted through the system's handle table
// (Wine's GetProcessHandleCount always answers 0).
int CountProcessHandles();

// Runs commandLine in folder (NULL: the current one) and waits for it.
// Returns its exit code, or -1 when it could not start.
int RunProgram(const std::string &commandLine, const char *folder = NULL);
// Starts commandLine without waiting; the caller closes the process handle.
// NULL when it could not start.
HANDLE StartProgram(const std::string &commandLine);

// Session Manager's list of the operations the next restart carries out,
// as stored; empty when there is none. Writing an empty list deletes it.
std::vector<BYTE> ReadPendingRenames();
void WritePendingRenames(const std::vector<BYTE> &value);
