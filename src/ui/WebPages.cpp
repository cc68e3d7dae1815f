#include "ui/WebPages.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>

namespace pellmora {

UrlOpener DesktopUrlOpener() {
    return [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

QUrl ProductPageUrl(const QString& page) {
    return QUrl::fromLocalFile(QDir(QCoreApplication::applicationDirPath()).filePath(page));
}

QString SupportMailAddress() {
    return QStringLiteral("support@pellmora.org");
}

QUrl SupportMailUrl() {
    return QUrl(QStringLiteral("mailto:") + SupportMailAddress());
}

QString ProductSiteText() {
    return QStringLiteral("www.pellmora.org");
}

} // namespace pellmora
