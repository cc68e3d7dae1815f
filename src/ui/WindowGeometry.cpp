#include "ui/WindowGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace pellmora {

WindowPlacement PlacementOf(const QWidget& window) {
    const bool maximized = window.isMaximized() || window.isFullScreen();
    const QRect normal = maximized ? window.normalGeometry() : window.geometry();
    return {normal.x(), normal.y(), normal.width(), normal.height(), maximized};
}

QRect OnExistingScreen(const QRect& rect, const QList<QRect>& screens) {
    if (screens.isEmpty()) return rect;
    QRect area = screens.front();
    bool onScreen = false;
    for (const QRect& screen : screens) {
        if (!screen.contains(rect.center())) continue;
        area = screen;
        onScreen = true;
        break;
    }
    QRect placed(rect.topLeft(), rect.size().boundedTo(area.size()));
    if (!onScreen) placed.moveCenter(area.center());
    placed.moveTop(std::max(placed.top(), area.top())); // the title bar stays within reach
    return placed;
}

bool RestorePlacement(QWidget& window, const WindowPlacement& placement) {
    if (!placement.Known()) return false;
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        screens.prepend(primary->availableGeometry());
    const QRect stored(placement.Left, placement.Top, placement.Width, placement.Height);
    window.setGeometry(OnExistingScreen(stored, screens));
    if (placement.Maximized) window.setWindowState(window.windowState() | Qt::WindowMaximized);
    return true;
}

} // namespace pellmora
