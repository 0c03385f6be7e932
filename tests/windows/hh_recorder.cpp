// A stand-in for the HTML Help viewer, placed as hh.exe where Windows keeps
// the real one (and, by the help test, in a folder where a planted copy
// would lie). It writes the command line it got, the folder it started in
// and its own file name to the file named by VELUMBAR_HH_RECORD.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

int main() {
    char record[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("VELUMBAR_HH_RECORD", record, sizeof record)) return 0;
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    // Written under another name and renamed, so a reader never sees half.
    char partial[MAX_PATH + 8];
    std::snprintf(partial, sizeof partial, "%s.part", record);
    FILE* out = std::fopen(partial, "wb");
    if (!out) return 1;
    std::fprintf(out, "%s\n%s\n%s\n", GetCommandLineA(), folder, self);
    std::fclose(out);
    return MoveFileExA(partial, record, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
