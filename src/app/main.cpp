#include <windows.h>

#include "app/program.h"

// The command line is not read: the program takes no arguments.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return runProgram();
}
