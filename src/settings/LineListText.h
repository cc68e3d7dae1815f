#pragma once
// The stored form of a list of lines: the directory list of the settings file and the mask
// catalogue. Written as UTF-16 little-endian with its byte-order mark and CR LF after every
// line; read by its mark (UTF-16 either way, UTF-8), or as 8-bit text without one.

#include "model/DuplicateTypes.h"

#include <QByteArray>
#include <QStringList>

#include <string>

namespace pellmora {

QByteArray LineListBytes(const QStringList& lines);

// Lines end at CR LF, a lone CR, a lone LF and U+2028; a break at the very end adds no empty
// line. Text without a mark is UTF-8 when it is valid UTF-8, else Windows-1252, the 8-bit
// text the program's files come in from elsewhere.
QStringList LinesOfText(const QByteArray& bytes);

// Native path bytes as a line and back, without loss: a byte that is not part of valid UTF-8,
// or that belongs to a line break, stands as the lone surrogate U+DC00 + byte.
QString EscapedPath(const std::string& bytes);
std::string NativePath(const QString& line);

QStringList EscapedPaths(const TStringArr& paths);
TStringArr NativePaths(const QStringList& lines);

} // namespace pellmora
