#pragma once
// Moved to model/ui/DialogFrame.h; kept only until the action dialogs include it from there.

#include "model/ui/DialogFrame.h"
