#pragma once
// The program's own INI text file, in the manner of the private-profile functions: UTF-8
// text of "[Section]" headers and "key=value" lines; section and key names matched without
// regard to letter case (first match wins); every line the program does not change kept
// byte for byte; each write reads the file and replaces it atomically. A value with blanks
// at either end, or with a double quote at both ends, is stored between double quotes, so
// that every value comes back as it was written.

#include <QString>

#include <optional>
#include <string>

namespace pellmora {

// No section: the names of all sections; no key: the names of the section's keys. Names are
// each followed by a zero character and cut to fit bufferSize - 1 characters, like a value.
// Otherwise the value of the key, cut to bufferSize - 1 characters, or defaultValue (cut the
// same way) when the file, the section or the key is missing.
QString GetPrivateProfileString(const std::optional<QString>& section,
                                const std::optional<QString>& key, const QString& defaultValue,
                                qsizetype bufferSize, const std::string& path);

// Sets the value (creating the file, the section and the key as needed); no value removes the
// key; no key removes the section; nothing but the path flushes (there is no cache). False
// when the file cannot be read or replaced, or when a name or the value cannot stand in a
// line of the file (a line break or a zero character; "]" in a section name; "=" in a key or
// a key that is empty or starts like a header or a comment).
bool WritePrivateProfileString(const std::optional<QString>& section,
                               const std::optional<QString>& key,
                               const std::optional<QString>& value, const std::string& path);

} // namespace pellmora
