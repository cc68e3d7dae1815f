#pragma once
// Native file-system bytes shown as text: decoded the way Qt decodes file names.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <string>

namespace pellmora {

inline QString Decoded(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

} // namespace pellmora
