#pragma once

#include "support/loopback_server.h"

// The one server of a Windows handler test program. dataServerUrl is its "/", timePageUrl its
// "/special/time/" and probeUrl its "/probe/"; until a test sets a handler it answers 404.
// OLE is initialised on the test thread, as the program does at start for the automation object.
LoopbackServer& loopbackServer();
