// What follows a calculation of the session's workbook, whichever step
// calculated it.
#pragma once

namespace xllhost {

// The calculation is over: the handles of its asynchronous calls are
// answered no more, and the add-ins' event handlers hear of its end
// (handling-events.md), and first of its cancelation when a call went
// unanswered, as when a user cancels a calculation that does not end.
void EndCalculation();

}  // namespace xllhost
