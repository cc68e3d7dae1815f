#pragma once
// The values a file-action command and its dialog hand each other: the count of ticked files
// the dialog shows, the dialog's answer, and the path or affix typed into it. One object lives
// for the whole run, owned by whoever wires the window and its dialogs together.

#include <QString>
#include <cstdint>

namespace pellmora {

struct DialogExchange {
    int32_t SelectedCount = 0;
    uint8_t DialogChoice = 0; // 0: cancelled; otherwise the dialog's own meaning
    QString DialogPath;       // move target folder, or report file name, as typed or picked
    QString RenameAffix;      // prefix or postfix of a rename
};

} // namespace pellmora
