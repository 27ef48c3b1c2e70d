#pragma once

// The click handler of viewButton, also run by the clock at the scheduled time: fetches the data page,
// takes out the purchase-time records and writes the step-by-step report into recordView.
void onViewData();

// The click handler of computeButton: the what-if report in whatIfView, from the last retrieval.
void onCompute();
