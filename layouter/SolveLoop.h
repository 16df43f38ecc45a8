#pragma once

#include <scip/type_retcode.h>

#include <atomic>
#include <functional>

class Layouter;

// The optimiser's solve loop, in slices of about one second: before each
// slice the solver's total time limit is set to the Layouter's time limit,
// which grows by one after every successful slice that reached it, so each
// slice adds about a second of search. With Layouter::endSliceAtNewLayout
// (the default) a slice also ends as soon as a better layout is recorded;
// the limit then stays for the next slice. After every slice the best
// solution found so far is written into the proposal's rooms and `onSlice`
// is called, so every improving layout reaches the page when it is found.
//
// The loop ends when the problem is solved (no further slice), when a stop
// was requested (the running slice finishes, the best solution is applied
// once more and `onSlice` is called once more), or when a solver call fails
// (after that slice's `onSlice`; calling the solver again would only fail
// again). Returns the failing return code, or SCIP_OKAY, and leaves it in
// Layouter::solveFailure for the proposal page. Exceptions of
// `onSlice` and of the read-back pass through to the caller.
//
// Runs on the optimiser's worker thread; `stopRequested` is set by another.
SCIP_RETCODE runSolveLoop(Layouter& layouter, const std::atomic<bool>& stopRequested,
                          const std::function<void()>& onSlice);
