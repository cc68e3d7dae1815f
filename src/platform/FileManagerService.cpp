#include "platform/FileManagerService.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>

namespace pellmora {

void FileManagerService::ShowItemProperties(const QUrl& file) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItemProperties"));
    // The encoded form keeps a name that is not UTF-8 byte for byte.
    call << QStringList{QString::fromLatin1(file.toEncoded())} << QString();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) bus.send(call);
}

} // namespace pellmora
