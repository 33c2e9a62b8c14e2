#include "widgets/sounds.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QPointer>
#include <QStringList>

#include "widgets/soundmodule.h"

namespace tintbox {

namespace {

// The sound files built into the program, in the order of TSound.
QStringList SoundSources() {
  QStringList sources;
  for (int k = 1; k <= NoteCount; ++k) sources << QStringLiteral("qrc:/sounds/note%1.wav").arg(k);
  sources << QStringLiteral("qrc:/sounds/pop.wav") << QStringLiteral("qrc:/sounds/cheer.wav");
  return sources;
}

int SoundIndex(TSound ASound, int ANote) {
  switch (ASound) {
    case TSound::Note:
      return ANote >= 0 && ANote < NoteCount ? ANote : -1;
    case TSound::Pop:
      return NoteCount;
    case TSound::Cheer:
      return NoteCount + 1;
  }
  return -1;
}

// Plays through the module beside the program's real file. The player
// belongs to the application, which outlives every window.
class TModuleOutput : public TSoundOutput {
 public:
  void Load() override {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || FOwner) return;
    QLibrary module(QCoreApplication::applicationDirPath() +
                    QStringLiteral("/modules/tintbox-sound.so"));
    auto create = reinterpret_cast<TCreateSoundPlayer>(module.resolve(SoundModuleEntry));
    if (!create) return;  // a build without sound: silent
    // The module stays loaded: QLibrary unloads only when asked.
    FPlayer = create(app, SoundSources());
    FOwner = app;
  }

  void Play(TSound ASound, int ANote) override {
    const int index = SoundIndex(ASound, ANote);
    if (FOwner && FPlayer && index >= 0) FPlayer->Play(index);
  }

 private:
  QPointer<QCoreApplication> FOwner;
  TSoundPlayer* FPlayer = nullptr;
};

TSoundOutput* FOutput = nullptr;

}  // namespace

TSoundOutput::~TSoundOutput() = default;

void SetSoundOutput(TSoundOutput* AOutput) {
  FOutput = AOutput;
}

TSoundOutput& SoundOutput() {
  static TModuleOutput real;
  return FOutput ? *FOutput : real;
}

void TSounds::Play(TSound ASound, int ANote) {
  if (FMuted) return;
  Load();
  SoundOutput().Play(ASound, ANote);
}

void TSounds::Load() {
  if (FMuted || FLoaded) return;
  FLoaded = true;
  SoundOutput().Load();
}

}  // namespace tintbox
