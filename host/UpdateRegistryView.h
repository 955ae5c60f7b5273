// UpdateRegistryView: what the registry steps need of the user interface besides the shown
// text (RegistryStep::setText): the "Update Registry" window, its Cancel button and the
// wait cursor. The host never draws; the application installs an implementation.
#pragma once

class UpdateRegistryView {
public:
    virtual ~UpdateRegistryView() = default;

    // Creates and shows the modeless dialog.
    virtual void show() = 0;
    // Destroys the dialog's window when it exists.
    virtual void hide() = 0;
    // Pumps pending messages; once the user has cancelled, sets the last error to
    // ERROR_CANCELLED and answers true.
    virtual bool pollCancel() = 0;
    // The wait cursor, one level more or less; both leave the last error as it was.
    virtual void beginWaitCursor() = 0;
    virtual void endWaitCursor() = 0;

    // The installed view, or null (nothing shown, nothing cancelled).
    static UpdateRegistryView* current();
    // Installs view (null for none) and returns the one it replaces.
    static UpdateRegistryView* setCurrent(UpdateRegistryView* view);
};

// The installed view's pollCancel; false when there is none.
bool pollUpdateRegistryCancel();
