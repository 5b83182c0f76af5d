// Keeping the rotation history in the settings key.
#pragma once

#include "cycle_types.h"
#include "registry_key.h"

// Records position as the latest choice, history's latest two behind it.
// Written as soon as a position is chosen, before the picture is known to
// be usable, so a picture that stops a run is not chosen first again by the
// next one.
void RecordChoice(RegistryKey &settingsKey, int position, const RotationHistory &history);
