#include <windows.h>

#include "win32/Program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    kadrilo::win32::Program program(instance);
    program.Run();
    return 0;
}
