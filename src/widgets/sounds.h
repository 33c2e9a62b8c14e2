// The program's sounds: a note for each palette position, a pop for a fill
// and a cheer for a solved picture. The game says which sound; TSounds mutes
// them and hands them to the sound output. The real output plays them
// through Qt Multimedia in a module of its own (modules/tintbox-sound.so
// beside the program), loaded only once the window has painted: linked into
// the program, Qt Multimedia would load some seventy libraries before its
// window could show. Without the module, a sound server or a device the game is silent.
#pragma once

namespace tintbox {

enum class TSound {
  Note,   // picking palette position ANote (0 is the first)
  Pop,    // a fill that changed the picture
  Cheer,  // a solved picture
};
inline constexpr int NoteCount = 10;

// Where sounds go. Tests put a recorder in place of the real one.
class TSoundOutput {
 public:
  virtual ~TSoundOutput();
  // Gets the sounds ready; called at most once, before the first sound.
  virtual void Load() {}
  virtual void Play(TSound ASound, int ANote) = 0;
};

// nullptr restores the real output. The output is not owned.
void SetSoundOutput(TSoundOutput* AOutput);
TSoundOutput& SoundOutput();

class TSounds {
 public:
  // Plays ASound unless muted, loading the sounds first if they are not yet.
  // A sound asked for again while it plays sounds over it once; quick clicks
  // beyond that are dropped, never queued.
  void Play(TSound ASound, int ANote = 0);

  bool Muted() const { return FMuted; }
  void SetMuted(bool AValue) { FMuted = AValue; }

  // Loads the sounds unless muted or loaded already. Muted, nothing loads:
  // a game started silent never touches the sound system until a sound is
  // played.
  void Load();

 private:
  bool FMuted = false;
  bool FLoaded = false;
};

}  // namespace tintbox
