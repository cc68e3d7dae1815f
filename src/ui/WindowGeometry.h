#pragma once
// The main window's place between runs: taken from the window when it closes, put back before
// it opens, on a screen that is still there.

#include "settings/ProgramSettings.h"

#include <QList>
#include <QRect>

class QWidget;

namespace pellmora {

// Where window stands now: its normal client area, also while it is maximized.
WindowPlacement PlacementOf(const QWidget& window);

// rect on the screen area that holds its centre, no larger than that area and not above it;
// centred on the first (primary) area when none holds it, as after its screen was unplugged.
QRect OnExistingScreen(const QRect& rect, const QList<QRect>& screens);

// Puts a window that is not shown yet where placement says, on a screen of this session;
// false (and nothing done) when placement is unknown.
bool RestorePlacement(QWidget& window, const WindowPlacement& placement);

} // namespace pellmora
