#pragma once
// The program's options as the settings file keeps them, as one plain value: the window
// fills it from its controls and applies it to them; nothing here knows a widget.

#include "model/SearchInputs.h"

#include <QLocale>
#include <QString>

#include <cstdint>

namespace pellmora {

class TCustomIniFile;

// Where the main window stood: its normal (not maximized) client area in screen coordinates,
// and whether it was maximized. Unknown until a window has been closed once.
struct WindowPlacement {
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    bool Maximized = false;
    bool Known() const { return Width > 0 && Height > 0; }
};

struct ProgramSettings {
    bool SaveState = true;     // whether anything but this flag is saved and restored
    uint8_t CompareMode = 0;   // 0: CRC-32 plus size, 1: byte by byte
    SearchInputs Options;      // the option controls and the directory list
    bool CacheEnabled = false; // remember checksums between searches
    WindowPlacement Window;    // the main window's size and position
};

// Every key in the file's order, with its default when missing or not converting; a unit
// index outside 0..2 keeps the current unit. The checksum cache's and the window's sections come
// last, and the skipped folders, keep folders and their option close their sections: an older
// program ignores them, and a file without them reads as none. With "SaveState" false nothing
// else is read.
void ReadProgramSettings(TCustomIniFile& ini, ProgramSettings& settings);

// "SaveState", then, when it is true, every other key in order; the window's only when it is
// known. Throws EIniFileException at the first write the file refuses.
void WriteProgramSettings(TCustomIniFile& ini, const ProgramSettings& settings);

// The settings file at path: nothing is read when there is none.
void LoadProgramSettings(const QString& path, ProgramSettings& settings,
                         const QLocale& locale = QLocale::system());

// Writes the settings file; returns the failure's message, or an empty text.
QString StoreProgramSettings(const QString& path, const ProgramSettings& settings,
                             const QLocale& locale = QLocale::system());

} // namespace pellmora
