// A stand-in for the HTML Help viewer: built as hh.exe beside the test
// programs, where CreateProcessA looks first. It writes the command line it
// got and the folder it started in to the file named by VELUMBAR_HH_RECORD.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

int main() {
    char record[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("VELUMBAR_HH_RECORD", record, sizeof record)) return 0;
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    // Written under another name and renamed, so a reader never sees half.
    char partial[MAX_PATH + 8];
    std::snprintf(partial, sizeof partial, "%s.part", record);
    FILE* out = std::fopen(partial, "wb");
    if (!out) return 1;
    std::fprintf(out, "%s\n%s\n", GetCommandLineA(), folder);
    std::fclose(out);
    return MoveFileExA(partial, record, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
