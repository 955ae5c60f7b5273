// RegistryUpdate: one registry step of an install or uninstall, handed to every settings
// step it makes.
#pragma once

#include "foundation/String.h"
#include "host/RunContext.h"

class UpdateRegistryView;

// Whether the step installs or uninstalls and for which folder (from the run's context),
// the setting being written (for the failure report), and the view that shows it and can
// be cancelled. Without a view nothing is shown and nothing is cancelled.
class RegistryUpdate {
public:
    explicit RegistryUpdate(const RunContext& context, UpdateRegistryView* view = nullptr)
        : context_(context), view_(view)
    {
    }
    RegistryUpdate(const RegistryUpdate&) = delete;
    RegistryUpdate& operator=(const RegistryUpdate&) = delete;

    bool installing() const { return context_.installMode; }
    // True while finishing an interrupted uninstall: a key already gone counts as removed.
    bool resuming() const { return context_.resuming; }
    // The install folder, ending with a separator.
    const Path& destination() const { return context_.destination; }
    // True after -s: nothing may be asked.
    bool silent() const { return context_.silent; }
    bool userScope() const { return context_.scope == InstallScope::user; }
    UpdateRegistryView* view() const { return view_; }

    // Keeps text as the setting being written and shows it in the view.
    void show(const String& text);
    const String& shown() const { return shown_; }
    // The view's pollCancel: true, with the last error ERROR_CANCELLED, once the user has
    // cancelled; always false without a view.
    bool cancelled();

    // The Tools menu's limit is reported once in a step, whatever generation meets it.
    bool toolLimitReported = false;

private:
    const RunContext& context_;
    UpdateRegistryView* view_;
    String shown_;
};
