// tintbox-sound.so: the program's sounds played through Qt Multimedia. Loaded
// by the program after its first paint.
#include <QAudioDevice>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <array>
#include <vector>

#include "widgets/soundmodule.h"

namespace tintbox {
namespace {

// Each sound has two voices, so a sound asked for again while it plays
// sounds once more over it. A voice is only ever started when it is silent:
// a QSoundEffect restarted while it plays may stop at once. With both voices
// busy the request is dropped, so quick clicks never queue up.
constexpr int VoiceCount = 2;
// After quick starts a voice now and then never reports the end of its
// sound and would count as playing for good: one still playing this long
// after its sound's end is replaced by a new one (the sound itself stays in
// Qt's sample cache, held by the other voice).
constexpr qint64 OverdueMs = 100;

// A WAV file's length in milliseconds, from its "fmt " byte rate and the
// size of its data (the canonical 44-byte header that gen_sounds writes);
// 0 when it cannot be read.
qint64 WavLengthMs(const QUrl& ASource) {
  QFile file(QLatin1Char(':') + ASource.path());
  if (!file.open(QIODevice::ReadOnly)) return 0;
  const QByteArray header = file.read(44);
  if (header.size() < 44 || !header.startsWith("RIFF")) return 0;
  auto u32 = [&](int at) {
    return quint32(quint8(header[at])) | quint32(quint8(header[at + 1])) << 8 |
           quint32(quint8(header[at + 2])) << 16 | quint32(quint8(header[at + 3])) << 24;
  };
  const quint32 byteRate = u32(28);  // "fmt " AvgBytesPerSec
  return byteRate ? qint64(file.size() - 44) * 1000 / byteRate : 0;
}

struct TVoice {
  QSoundEffect* Effect = nullptr;
  QElapsedTimer Started;
};

struct TSoundVoices {
  QUrl Source;
  qint64 LengthMs = 0;
  std::array<TVoice, VoiceCount> Voices;
};

class TEffects : public QObject, public TSoundPlayer {
 public:
  TEffects(QObject* AOwner, const QStringList& ASources) : QObject(AOwner) {
    // Without a sound server or a device there is nothing to play to, and
    // every effect would say so on the terminal: Qt's one line about the
    // server is all the player gets to see.
    if (QMediaDevices::audioOutputs().isEmpty()) return;
    for (const QString& source : ASources) {
      TSoundVoices sound;
      sound.Source = QUrl(source);
      sound.LengthMs = WavLengthMs(sound.Source);
      for (TVoice& voice : sound.Voices) voice.Effect = NewEffect(sound.Source);
      FSounds.push_back(sound);
    }
  }

  void Play(int AIndex) override {
    if (AIndex < 0 || size_t(AIndex) >= FSounds.size()) return;
    TSoundVoices& sound = FSounds[size_t(AIndex)];
    for (TVoice& voice : sound.Voices) {
      if (voice.Effect->isPlaying() && voice.Started.isValid() &&
          voice.Started.elapsed() > sound.LengthMs + OverdueMs) {
        voice.Effect->deleteLater();
        voice.Effect = NewEffect(sound.Source);
        voice.Started.invalidate();
      }
    }
    for (TVoice& voice : sound.Voices) {
      if (voice.Effect->isPlaying()) continue;
      voice.Effect->play();
      voice.Started.start();
      return;
    }
  }

 private:
  QSoundEffect* NewEffect(const QUrl& ASource) {
    auto* effect = new QSoundEffect(this);
    effect->setSource(ASource);
    return effect;
  }

  std::vector<TSoundVoices> FSounds;
};

}  // namespace
}  // namespace tintbox

extern "C" Q_DECL_EXPORT tintbox::TSoundPlayer* TintboxCreateSoundPlayer(
    QObject* AOwner, const QStringList& ASources) {
  return new tintbox::TEffects(AOwner, ASources);
}
