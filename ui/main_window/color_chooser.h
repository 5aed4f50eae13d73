#pragma once

#include "engine/color.h"

#include <optional>

class QWidget;

namespace rainbow::ui {

/// Asks the user for a colour. The window calls it through this seam so that tests can answer.
class ColorChooser {
public:
    virtual ~ColorChooser() = default;

    /// Blocks until the user confirms a colour (returned) or cancels (nullopt); modal to owner.
    virtual std::optional<PackedColor> chooseColor(QWidget *owner) = 0;
};

/// The toolkit's colour dialog. It opens on black, never on a colour chosen before, and its 16
/// custom colours are black again at every opening.
class ColorDialogChooser final : public ColorChooser {
public:
    std::optional<PackedColor> chooseColor(QWidget *owner) override;
};

} // namespace rainbow::ui
