#pragma once

#include <functional>

// Runs work(firstRow, endRow) over bands of the rows [0, rows) on every core. The calling
// thread works too, and between its bands reports progress, scaled into [progressFrom,
// progressTo], through the calling thread's progress callback; when the callback asks to
// stop, no new band is started and the call returns false once the running ones are done.
// minimumBand keeps bands large enough that a band's own start-up cost stays small.
bool ForEachRowBand(int rows, const std::function<void(int firstRow, int endRow)>& work,
                    int progressFrom = 0, int progressTo = 100, int minimumBand = 16);

// The same for work that must not stop halfway (finishing a result already made): every
// band runs, and nothing is reported.
void ForEachRowBandToTheEnd(int rows, const std::function<void(int firstRow, int endRow)>& work,
                            int minimumBand = 16);
