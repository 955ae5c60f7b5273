// beginWaitCursor, endWaitCursor: the hourglass, leaving the thread's last error as it was.
#pragma once

// Switches the application's wait cursor on (one more level).
void beginWaitCursor();
// Takes one level back; the arrow returns at level 0.
void endWaitCursor();
