// Demo helper: runs one command line the way the system runs a registered
// logon command, waits for it, and exits with its exit code.
//   run_command.exe "<command line>"
#include <windows.h>

#include <string>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    std::string commandLine = argv[1];
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return 3;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
