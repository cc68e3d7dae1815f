#pragma once
// Where the program keeps "Pellmora.ini" and "masks.ini": beside the executable when the file
// already stands there or that folder is writable (a build or a portable copy), otherwise in
// the user's configuration folder, as for a program installed under /usr. Each file is looked
// up on its own, every time it is read or written.

#include <QString>

#include <functional>

namespace pellmora {

struct ProgramLocation {
    QString AppDir;     // the executable's folder; empty: the program keeps no files
    QString ConfigHome; // $XDG_CONFIG_HOME as set (empty or relative: not used)
    QString HomeDir;
    std::function<bool(const QString& dir)> DirWritable; // empty: access(2)
};

inline const QString SettingsFileName = QStringLiteral("Pellmora.ini");
inline const QString MasksFileName = QStringLiteral("masks.ini");

// The running program's location.
ProgramLocation CurrentProgramLocation();

// The full path of fileName, or empty when the location keeps no files.
QString ProgramFilePath(const ProgramLocation& location, const QString& fileName);

} // namespace pellmora
