#pragma once

#include <cstddef>

// True once a fatal error has been reported: from then on no handler of the program runs.
bool handlersStopped();

// The report for memory that cannot be had, "分配 %d 字节内存失败!" with the size asked for. It gives back
// a reserve of memory first so that the report itself can be made.
[[noreturn]] void reportAllocationFailure(size_t size);
