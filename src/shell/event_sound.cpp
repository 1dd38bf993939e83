#include "shell/event_sound.h"

namespace vl {

namespace {
EventSoundPlayer &player() {
  static EventSoundPlayer instance;
  return instance;
}
}  // namespace

void PlayEventSound(const QString &eventName) {
  if (player()) player()(eventName);
}

EventSoundPlayer setEventSoundPlayer(EventSoundPlayer next) {
  EventSoundPlayer previous = std::move(player());
  player() = std::move(next);
  return previous;
}

}  // namespace vl
