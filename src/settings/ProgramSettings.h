#pragma once
// The program's options as the settings file keeps them, as one plain value: the window
// fills it from its controls and applies it to them; nothing here knows a widget.

#include "model/SearchInputs.h"

#include <QLocale>
#include <QString>

#include <cstdint>

namespace pellmora {

class TCustomIniFile;

struct ProgramSettings {
    bool SaveState = true;     // whether anything but this flag is saved and restored
    uint8_t CompareMode = 0;   // 0: CRC-32 plus size, 1: byte by byte
    SearchInputs Options;      // the option controls and the directory list
    bool CacheEnabled = false; // remember checksums between searches
};

// Every key in the file's order, with its default when missing or not converting; a unit
// index outside 0..2 keeps the current unit. The checksum cache's section comes last, and the
// skipped folders, keep folders and their option close their sections: an older program
// ignores them, and a file without them reads as none. With "SaveState" false nothing else is
// read.
void ReadProgramSettings(TCustomIniFile& ini, ProgramSettings& settings);

// "SaveState", then, when it is true, every other key in order. Throws EIniFileException at
// the first write the file refuses.
void WriteProgramSettings(TCustomIniFile& ini, const ProgramSettings& settings);

// The settings file at path: nothing is read when there is none.
void LoadProgramSettings(const QString& path, ProgramSettings& settings,
                         const QLocale& locale = QLocale::system());

// Writes the settings file; returns the failure's message, or an empty text.
QString StoreProgramSettings(const QString& path, const ProgramSettings& settings,
                             const QLocale& locale = QLocale::system());

} // namespace pellmora
