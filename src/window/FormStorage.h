// FormStorage1, the statistics window's placement store: where the window
// stood, how large it was, whether it was maximised, and the stored value
// CurrentBand, kept in the current user's registry from one window to the
// next and from one run of the host to the next.
#pragma once

#include <stdexcept>
#include <string>

#include "window/PlacementRegistry.h"
#include "window/PlacementWindow.h"

// A registry failure of the store, carrying the text the user is shown.
class TPlacementError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TFormStorage {
public:
    // `section` is the subkey under the application key that holds the
    // values: the window's class name. Both seams must outlive the store.
    TFormStorage(TPlacementRegistry& registry, TPlacementWindow& window, std::string section);

    // Restores the stored placement and CurrentBand. Runs while the window
    // is still hidden, just before it shows itself. Throws TPlacementError,
    // stopping at the failing step.
    void LoadPlacement();

    // Saves the placement and CurrentBand; does nothing until a load has
    // completed, so a window whose load failed never overwrites good data.
    // Throws TPlacementError, stopping at the failing step.
    void StorePlacement();

    // For the window's destruction: from now on saves record the window as
    // visible, and the save runs unless this window has saved already.
    void StorePlacementOnDestroy();

    // The saved mark is cleared again when a save turned out not to be the
    // window's last (a log-off that was called off), so a later close or
    // destruction saves the placement as it is then.
    void ForgetSaved() { Saved_ = false; }

    bool LoadCompleted() const { return LoadCompleted_; }
    bool Saved() const { return Saved_; }
    bool Destroying() const { return Destroying_; }
    // Kept as text: whatever a load found is written back unchanged.
    const std::string& CurrentBand() const { return CurrentBand_; }

private:
    void LoadStoredValues();
    void MoveMaximizedFrameOffScreen();

    TPlacementRegistry& Registry_;
    TPlacementWindow& Window_;
    std::string Section_;
    bool LoadCompleted_ = false;
    bool Saved_ = false;
    bool Destroying_ = false;
    std::string CurrentBand_ = "0";
};
