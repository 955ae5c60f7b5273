// A program that only records which file was started and with what command line, for the
// tests that check how the system parses the command lines the registry holds.
#include <windows.h>

#include <cstring>

int main()
{
    const char* const record = "Software\\TrelliqTest\\Recorder";
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, sizeof module);
    const char* commandLine = GetCommandLineA();
    RegSetKeyValueA(HKEY_CURRENT_USER, record, "Module", REG_SZ, module, std::strlen(module) + 1);
    RegSetKeyValueA(HKEY_CURRENT_USER, record, "CommandLine", REG_SZ, commandLine, std::strlen(commandLine) + 1);
    return 0;
}
