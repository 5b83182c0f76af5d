#include "rotation_history.h"

#include "settings_key.h"

void RecordChoice(RegistryKey &settingsKey, int position, const RotationHistory &history)
{
    settingsKey.WriteDword(LastImageShownValue, position);
    settingsKey.WriteDword(LastImageShown1Value, history.h0);
    settingsKey.WriteDword(LastImageShown2Value, history.h1);
}
