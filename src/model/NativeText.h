#pragma once
// Native file-system bytes shown as text: decoded the way Qt decodes file names. Every front
// and every text comparison goes through this one function, so a name reads the same in the
// window, the report, the terminal and the sorts.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <string_view>

namespace pellmora {

inline QString Decoded(std::string_view bytes) {
    return QFile::decodeName(
        QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

} // namespace pellmora
