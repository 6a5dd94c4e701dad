// Asynchronous functions (asynchronous-user-defined-functions.md): each call
// a cell makes is passed a handle of its own, and its answer comes later,
// through xlAsyncReturn, from any thread, before or after the function
// returns. The calculation ends when every handle is answered.
#pragma once

#include <string>
#include <vector>

#include "engine/EngineHost.h"
#include "functions/Registrations.h"
#include "records/HostAnswer.h"

namespace xllhost {

// What the cell's call of an asynchronous function shows. The call answered
// in an earlier calculation of the cell shows its answer; any other is made
// with a new handle and shows #GETTING_DATA, and the cell awaits it. Once a
// call of the cell awaits its answer, the cell's later calls are not made:
// their arguments may hang on that answer. Called with control passed.
Value CallAsynchronous(const Registration& function, const std::vector<Value>& args, const CalculatedCell& cell);

// Asked after each calculation of a cell: whether a call it made awaits its
// answer. The next calculation of the cell meets its calls afresh.
bool AwaitsAnswer(const CalculatedCell& cell);

// Waits until every handle given out is answered, at most `seconds`.
// Answers false when some are not: each is the add-in's problem, named, and
// shows #GETTING_DATA, as Excel's cell does while it waits.
bool AwaitAnswers(double seconds);

// The calculation is over: the handles given out in it are answered no
// more. Answers false when it was canceled: some handle went unanswered.
bool EndAsynchronousCalls();

// How long a calculation waits for the answers (--timeout).
void SetAnswerWait(double seconds);
double AnswerWait();

// xlAsyncReturn(handle, value), or a row of handles and one of values:
// TRUE, or FALSE for a handle that is not one given out and awaiting its
// answer (xlasyncreturn.md), which is the add-in's problem. Excel accepts it
// from any thread, so the host does too.
Answer AsyncReturn(const Request& request);

}  // namespace xllhost
