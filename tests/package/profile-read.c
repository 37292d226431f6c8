/* One value of a settings file as the system's profile function reads it,
   printed in UTF-8, for the package test under Wine:
     profile-read.exe <file> <section> <key>
   Exit code 0 with the value, 1 when the key is absent, 2 on bad usage. */
#include <windows.h>
#include <stdio.h>

int wmain(int argc, wchar_t** argv) {
    static wchar_t value[32768];
    static char utf8[4 * 32768];
    DWORD length;
    int bytes;
    if (argc != 4) return 2;
    length = GetPrivateProfileStringW(argv[2], argv[3], L"\x01", value, 32768, argv[1]);
    if (length == 1 && value[0] == 1) return 1;
    bytes = WideCharToMultiByte(CP_UTF8, 0, value, (int)length, utf8, (int)sizeof utf8, NULL, NULL);
    fwrite(utf8, 1, (size_t)bytes, stdout);
    return 0;
}
