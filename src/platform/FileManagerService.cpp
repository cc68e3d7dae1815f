#include "platform/FileManagerService.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>

#include <utility>

namespace pellmora {

FileManagerService::FileManagerService(QString connectionName)
    : connectionName_(std::move(connectionName)) {}

void FileManagerService::ShowItemProperties(const QUrl& file) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItemProperties"));
    // The encoded form keeps a name that is not UTF-8 byte for byte.
    call << QStringList{QString::fromLatin1(file.toEncoded())} << QString();
    QDBusConnection bus = connectionName_.isEmpty() ? QDBusConnection::sessionBus()
                                                    : QDBusConnection(connectionName_);
    if (bus.isConnected()) bus.send(call);
}

} // namespace pellmora
