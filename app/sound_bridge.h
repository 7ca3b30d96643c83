#pragma once
#include "midi/sound_settings.h"
#include "midi/sound_system.h"
#include "userdata/settings_record.h"

#include <vector>

class QWidget;

namespace harmik {

// The sound layer's copy of the settings it reads, taken from the settings record.
SoundSettings SoundSettingsFrom(const SettingsRecord& s);

// Tells the user what the sound layer reported, each message once, in order.
void ShowSoundMessages(QWidget* parent, const std::vector<SoundMessage>& messages);

} // namespace harmik
