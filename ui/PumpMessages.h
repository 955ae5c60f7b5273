// pumpMessages: keeps the windows alive between units of long work, without waiting.
#pragma once

// Dispatches every message already queued for the thread (a WM_QUIT taken is posted again
// and ends the pumping), then runs the application's idle work until it reports none left.
void pumpMessages();
