#include "settings/ProgramFiles.h"

#include "platform/SmallFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <unistd.h>

namespace pellmora {

namespace {

bool AccessWritable(const QString& dir) {
    return ::access(QFile::encodeName(dir).constData(), W_OK | X_OK) == 0;
}

QString ConfigFolder(const ProgramLocation& location) {
    const QString base = QDir::isAbsolutePath(location.ConfigHome)
                             ? location.ConfigHome
                             : location.HomeDir + QStringLiteral("/.config");
    return base + QStringLiteral("/Pellmora");
}

} // namespace

ProgramLocation CurrentProgramLocation() {
    return {QCoreApplication::applicationDirPath(),
            qEnvironmentVariable("XDG_CONFIG_HOME"),
            QDir::homePath(),
            {}};
}

QString ProgramFilePath(const ProgramLocation& location, const QString& fileName) {
    if (location.AppDir.isEmpty()) return {};
    const QString beside = location.AppDir + u'/' + fileName;
    const bool writable = location.DirWritable ? location.DirWritable(location.AppDir)
                                               : AccessWritable(location.AppDir);
    if (SmallFileExists(QFile::encodeName(beside).toStdString()) || writable) return beside;
    return ConfigFolder(location) + u'/' + fileName;
}

} // namespace pellmora
