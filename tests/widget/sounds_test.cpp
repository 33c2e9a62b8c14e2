// The owner of the program's sounds: muting, and loading once, before the
// first sound and never while muted.
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
    EXPECT_EQ(Log.Loads, 1) << "the first sound loads them";
    Sounds.Load();
    EXPECT_EQ(Log.Loads, 1);
    Sounds.SetMuted(true);
    Sounds.Play(TSound::Note, 4);
    Sounds.Play(TSound::Cheer);
    EXPECT_TRUE(Sounds.Muted());
    Sounds.SetMuted(false);
    Sounds.Play(TSound::Note, 4);
    EXPECT_EQ(Log.Take(), (std::vector<TPlayed>{{TSound::Pop, 0}, {TSound::Note, 4}}));
    EXPECT_EQ(Log.Loads, 1);
  }
  {
    // Started silent: nothing loads, not even when asked, until a sound is
    // played unmuted.
    test::TSoundLog Later;
    SetSoundOutput(&Later);
    TSounds Sounds;
    Sounds.SetMuted(true);
    Sounds.Load();
    Sounds.Play(TSound::Cheer);
    EXPECT_EQ(Later.Loads, 0);
    Sounds.SetMuted(false);
    EXPECT_EQ(Later.Loads, 0);
    Sounds.Load();
    EXPECT_EQ(Later.Loads, 1);
    Sounds.Play(TSound::Cheer);
    EXPECT_EQ(Later.Loads, 1);
    EXPECT_EQ(Later.Take(), (std::vector<TPlayed>{{TSound::Cheer, 0}}));
  }
  SetSoundOutput(&test::SoundLog());
}

}  // namespace
