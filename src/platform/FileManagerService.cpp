#include "platform/FileManagerService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QStringList>

#include <utility>

namespace pellmora {

namespace {

const QString Service = QStringLiteral("org.freedesktop.FileManager1");

bool Reachable(QDBusConnection& bus) {
    QDBusConnectionInterface* daemon = bus.isConnected() ? bus.interface() : nullptr;
    if (!daemon) return false;
    if (daemon->isServiceRegistered(Service).value()) return true;
    return daemon->activatableServiceNames().value().contains(Service);
}

} // namespace

FileManagerService::FileManagerService(QString connectionName)
    : connectionName_(std::move(connectionName)) {}

bool FileManagerService::ShowItemProperties(const QUrl& file) {
    QDBusConnection bus = connectionName_.isEmpty() ? QDBusConnection::sessionBus()
                                                    : QDBusConnection(connectionName_);
    if (!Reachable(bus)) return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(Service, QStringLiteral("/org/freedesktop/FileManager1"),
                                       Service, QStringLiteral("ShowItemProperties"));
    // The encoded form keeps a name that is not UTF-8 byte for byte.
    call << QStringList{QString::fromLatin1(file.toEncoded())} << QString();
    return bus.send(call);
}

} // namespace pellmora
