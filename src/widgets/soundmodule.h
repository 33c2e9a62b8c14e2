// What the sound module (modules/tintbox-sound.so) offers the program: one entry
// point that makes a player of the given sound files.
#pragma once

#include <QObject>
#include <QStringList>

namespace tintbox {

class TSoundPlayer {
 public:
  virtual ~TSoundPlayer() = default;
  // Starts sound AIndex of the list the player was made with (again, from
  // its start, when it is playing).
  virtual void Play(int AIndex) = 0;
};

// The entry point's name and type. The player is a child of AOwner, which
// deletes it; ASources are the sounds' URLs.
inline constexpr char SoundModuleEntry[] = "TintboxCreateSoundPlayer";
using TCreateSoundPlayer = TSoundPlayer* (*)(QObject* AOwner, const QStringList& ASources);

}  // namespace tintbox
