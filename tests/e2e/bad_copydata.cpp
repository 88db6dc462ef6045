// dialwick-e2e-badcopy.exe: a third program that sends the clock window the
// malformed hand-overs of the shared table. usage: dialwick-e2e-badcopy.exe CLOCK_HWND
#include "tests/scenarios/scenarios.h"

#include <stdio.h>
#include <stdlib.h>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    HWND clock = (HWND)(uintptr_t)strtoull(argv[1], nullptr, 10);
    int failed = 0;
    for (const MalformedHandOver &m : MalformedHandOvers) {
        static char data[1024];
        memset(data, 0xA5, sizeof(data));
        if (m.Terminated)
            memcpy(data, "C:\\Elsewhere\\x.exe", 19);
        COPYDATASTRUCT cds{0x5A5A, m.Size, data};
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(clock, WM_COPYDATA, 0, (LPARAM)&cds, SMTO_BLOCK, 5000, &answer)) {
            printf("FAIL the clock did not answer a hand-over of %lu bytes\n", m.Size);
            failed++;
        }
    }
    return failed ? 1 : 0;
}
