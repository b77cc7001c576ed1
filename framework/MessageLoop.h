// The program's one message loop, and waiting without blocking messages.
//
// Every queued message goes the same way, in the modal loops of the
// dialogs (the application runs its main dialog modally) and in the tests'
// pumps alike: it is first offered to PreTranslateMessage of the window it
// is for and of each parent up to the top-level window; only when none of
// them takes it is it translated and dispatched.
#pragma once

#include <windows.h>

#include <functional>

// Offers msg to PreTranslateMessage along the window chain from msg's
// window up to the first top-level window. true = taken.
bool PreTranslateChain(MSG* msg);

// One queued message the program's way: the chain, then translation and
// dispatch.
void ProcessMessage(MSG& msg);

// Runs the loop until done() is true (checked before every wait), WM_QUIT
// arrives (it is posted again for an outer loop; false is returned) or
// GetMessage fails (false).
bool RunMessageLoop(const std::function<bool()>& done);

// Processes queued messages until the queue is empty or max of them were
// processed (a queue that others keep filling may never be empty); false
// when WM_QUIT was among them (posted again).
bool PumpPendingMessages(unsigned max = 0xFFFFFFFFu);

// Waits until handle is signalled or timeoutMs passed (INFINITE: no limit),
// answering meanwhile every message that another thread sends to this
// thread's windows, so that a worker which sends to the waiting thread
// cannot deadlock with it. Posted messages stay queued for the loop.
// true when the handle was signalled.
bool WaitAnsweringSentMessages(HANDLE handle, DWORD timeoutMs);
