#pragma once

// The results of the favorites and page archive operations (imports and exports), as the
// wizards and nvtool read them; each operation's header says when it gives which.
constexpr int kOperationDone = 1;
constexpr int kOperationAbandoned = 0; // cancelled, nothing to do, or no room
constexpr int kOperationFailed = -1;
