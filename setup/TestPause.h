// testPause: in the tests' build only (setup-paused.exe), a wait at a named point of the
// run, where a test cancels or kills it. The shipped program has none.
#pragma once

#ifdef TRELLIQ_TEST_PAUSES

#include "host/UpdateRegistryView.h"

// TRELLIQ_PAUSE_AT="KIND N FILE": the Nth call with KIND waits while FILE exists;
// FILE.reached tells the test that the run got there. What the user does meanwhile waits
// in the queue, as it would behind a slow disk. The kinds: the journal's records (folder,
// file, aside, value, key, done), each setting a registry step shows (setting) and each
// removal of the uninstall's files step (removal).
void testPause(const char* kind);

// The registry step's view, pausing ("setting") before each setting is shown and handing
// everything to shown (null under -s: nothing is shown and nothing cancelled).
class PausingRegistryView : public UpdateRegistryView {
public:
    explicit PausingRegistryView(UpdateRegistryView* shown) : shown_(shown) {}
    void show() override;
    void hide() override;
    void showText(const String& text) override;
    bool pollCancel() override;
    void beginWaitCursor() override;
    void endWaitCursor() override;

private:
    UpdateRegistryView* shown_;
};

#else

inline void testPause(const char*) {}

#endif
