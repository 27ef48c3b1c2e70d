#pragma once

#include "convert/text.h"

// Runs when mainWindow has been created, before it is shown: checks the connection and reads the clock once.
void onWindowCreated();

// Runs on every tick of clockTimer: shows the network's Beijing time and runs the scheduled retrieval.
void onClockTick();

// The time of day of an OLE Automation date, to the nearest second, as hour "时" minute "分" second "秒".
Text formatTimeOfDay(double dateTime);
