// The program's three URLs, pointing at the benchmark's loopback server.
#include "bench/bench_server.h"
#include "net/urls.h"

const Text dataServerUrl = benchServerBase() + "/";
const Text timePageUrl = benchServerBase() + "/special/time/";
const Text probeUrl = benchServerBase() + "/probe/";
