#pragma once

// The whole run of the program: start-up, the message loop and shut-down. Returns the exit code, 0.
int runProgram();
