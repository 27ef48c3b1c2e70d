#pragma once

// GDI+'s declarations need <windows.h> and then the COM streams, in this order.
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>
