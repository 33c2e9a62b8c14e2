// tintbox-sound.so: the program's sounds played through Qt Multimedia, one
// QSoundEffect a sound. Loaded by the program after its first paint.
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <vector>

#include "widgets/soundmodule.h"

namespace tintbox {
namespace {

class TEffects : public QObject, public TSoundPlayer {
 public:
  TEffects(QObject* AOwner, const QStringList& ASources) : QObject(AOwner) {
    // Without a sound server or a device there is nothing to play to, and
    // every effect would say so on the terminal: Qt's one line about the
    // server is all the player gets to see.
    if (QMediaDevices::audioOutputs().isEmpty()) return;
    for (const QString& source : ASources) {
      auto* effect = new QSoundEffect(this);
      effect->setSource(QUrl(source));
      FEffects.push_back(effect);
    }
  }

  void Play(int AIndex) override {
    if (AIndex < 0 || size_t(AIndex) >= FEffects.size()) return;
    QSoundEffect* effect = FEffects[size_t(AIndex)];
    // Once more from the start, never queued behind itself.
    effect->stop();
    effect->play();
  }

 private:
  std::vector<QSoundEffect*> FEffects;
};

}  // namespace
}  // namespace tintbox

extern "C" Q_DECL_EXPORT tintbox::TSoundPlayer* TintboxCreateSoundPlayer(
    QObject* AOwner, const QStringList& ASources) {
  return new tintbox::TEffects(AOwner, ASources);
}
