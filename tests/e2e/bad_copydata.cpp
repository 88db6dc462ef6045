// dialwick-e2e-badcopy.exe: a third program that sends the clock window
// hand-overs of the wrong size, and one of the right size with no string
// terminators in it. usage: dialwick-e2e-badcopy.exe CLOCK_HWND
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    HWND clock = (HWND)(uintptr_t)strtoull(argv[1], nullptr, 10);
    static char garbage[1024];
    memset(garbage, 0xA5, sizeof(garbage));
    const DWORD sizes[] = {0, 463, 465, 464};
    int failed = 0;
    for (DWORD size : sizes) {
        COPYDATASTRUCT data;
        data.dwData = 0x5A5A;
        data.cbData = size;
        data.lpData = garbage;
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(clock, WM_COPYDATA, 0, (LPARAM)&data, SMTO_BLOCK, 5000, &answer)) {
            printf("FAIL the clock did not answer a hand-over of %lu bytes\n", size);
            failed++;
        }
    }
    return failed ? 1 : 0;
}
