#pragma once

#include <wx/thread.h>

// Ends a joinable worker thread and frees it, leaving `thread` null (nothing
// happens when it is null already). Delete() asks a running thread to stop
// (TestDestroy() turns true, so transfers and solves abort) but joins nothing
// when the thread has already returned, which a finished worker always has:
// its stack would stay. Wait() joins it in either case. Until then the thread
// may still use what its owner lent it (caches, mutexes, result lists).
template <class Thread>
void stopAndJoin(Thread*& thread)
{
    if (!thread)
        return;
    thread->Delete();
    thread->Wait();
    delete thread;
    thread = nullptr;
}
