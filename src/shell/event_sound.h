#pragma once
// Event sounds by name ("CLICK", "OPEN_TOPIC", "LINK", ...). The sound subsystem installs the
// player; until then every call is silent.
#include <QString>

#include <functional>

namespace vl {

using EventSoundPlayer = std::function<void(const QString &eventName)>;

void PlayEventSound(const QString &eventName);
// Installs the player (an empty function makes the calls silent again); returns the previous one.
EventSoundPlayer setEventSoundPlayer(EventSoundPlayer player);

}  // namespace vl
