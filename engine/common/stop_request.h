#pragma once

// A request to end the long operation in progress at its next poll (for
// training, between epochs). It may be set from a signal handler or another
// thread; the operation that sees it clears it, so a request made while
// nothing runs stops the next long operation at its first poll.

namespace tavrin {

void RequestStop() noexcept;

// Whether a stop was requested; clears the request when it was.
bool TakeStopRequest() noexcept;

}  // namespace tavrin
