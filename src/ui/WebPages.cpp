#include "ui/WebPages.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

// The install rules pass the data folder as seen from the folder of the executables.
#ifndef PELLMORA_PAGES_RELATIVE_DIR
#define PELLMORA_PAGES_RELATIVE_DIR "../share/pellmora"
#endif

namespace pellmora {

UrlOpener DesktopUrlOpener() {
    return [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

QStringList ProductPageDirs(const QString& applicationDir) {
    const QDir dir(applicationDir);
    return {QDir::cleanPath(dir.absolutePath()),
            QDir::cleanPath(dir.absoluteFilePath(QStringLiteral(PELLMORA_PAGES_RELATIVE_DIR)))};
}

QString ProductPagePath(const QString& applicationDir, const QString& page) {
    const QStringList dirs = ProductPageDirs(applicationDir);
    for (const QString& dir : dirs) {
        const QString path = QDir(dir).filePath(page);
        if (QFileInfo(path).isFile()) return path;
    }
    return QDir(dirs.front()).filePath(page);
}

QUrl ProductPageUrl(const QString& page) {
    return QUrl::fromLocalFile(ProductPagePath(QCoreApplication::applicationDirPath(), page));
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
