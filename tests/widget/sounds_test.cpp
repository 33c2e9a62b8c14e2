// The owner of the program's sounds: muting, and loading only once the
// window has painted and sound is wanted.
#include "widgets/sounds.h"

#include <gtest/gtest.h>

#include "soundlog.h"

using namespace tintbox;

namespace {

TEST(SoundsTest, MutingAndLoading) {
  using TPlayed = test::TSoundLog::TPlayed;
  test::TSoundLog Log;
  SetSoundOutput(&Log);
  {
    TSounds Sounds;
    Sounds.Play(TSound::Pop);
    EXPECT_EQ(Log.Loads, 0) << "loaded before the first paint";
    Sounds.Load();
    Sounds.Load();
    EXPECT_EQ(Log.Loads, 1);
    Sounds.SetMuted(true);
    Sounds.Play(TSound::Note, 4);
    Sounds.Play(TSound::Cheer);
    EXPECT_TRUE(Sounds.Muted());
    Sounds.SetMuted(false);
    Sounds.Play(TSound::Note, 4);
    EXPECT_EQ(Log.Take(), (std::vector<TPlayed>{{TSound::Pop, 0}, {TSound::Note, 4}}));
  }
  {
    // Started silent: nothing loads until the sounds are turned on, and
    // not before the window has painted either.
    test::TSoundLog Later;
    SetSoundOutput(&Later);
    TSounds Sounds;
    Sounds.SetMuted(true);
    Sounds.Load();
    EXPECT_EQ(Later.Loads, 0);
    Sounds.SetMuted(false);
    EXPECT_EQ(Later.Loads, 1);
    Sounds.SetMuted(true);
    Sounds.SetMuted(false);
    EXPECT_EQ(Later.Loads, 1);
    TSounds Unpainted;
    Unpainted.SetMuted(true);
    Unpainted.SetMuted(false);
    EXPECT_EQ(Later.Loads, 1);
  }
  SetSoundOutput(&test::SoundLog());
}

}  // namespace
