// The generator against the published MT19937 reference outputs.
#include "framework/window/mersenne_twister.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

const uint32_t kKey[] = {0x123, 0x234, 0x345, 0x456};

// The reference program's own test: init_by_array with kKey.
const uint32_t kArrayKeyOutputs[] = {1067595299u, 955945823u,  477289528u,  4107218783u, 4228976476u, 3344332714u,
                                     3355579695u, 227628506u,  810200273u,  2591290167u, 2560260675u, 3242736208u};
constexpr uint32_t kArrayKeyOutput1000 = 3460025646u;

// init_genrand(5489), the seed of an unseeded generator.
const uint32_t kDefaultSeedOutputs[] = {3499211612u, 581869302u, 3890346734u, 3586334585u, 545404204u};
constexpr uint32_t kDefaultSeedOutput10000 = 4123659995u;

TEST(MersenneTwister, InitByArrayYieldsTheReferenceSequence) {
  CMersenneTwister generator;
  generator.InitByArray(kKey, 4);
  for (size_t i = 0; i < sizeof kArrayKeyOutputs / sizeof kArrayKeyOutputs[0]; ++i) {
    EXPECT_EQ(generator.GenRandInt32(), kArrayKeyOutputs[i]) << "output " << i;
  }
  for (int i = 12; i < 999; ++i) generator.GenRandInt32();
  EXPECT_EQ(generator.GenRandInt32(), kArrayKeyOutput1000);
}

TEST(MersenneTwister, AnUnseededGeneratorBehavesAsInitGenRand5489) {
  CMersenneTwister unseeded;
  CMersenneTwister seeded;
  seeded.InitGenRand(5489);
  std::mt19937 standard;  // the C++ library's MT19937 starts from the same seed
  for (uint32_t expected : kDefaultSeedOutputs) {
    EXPECT_EQ(unseeded.GenRandInt32(), expected);
    EXPECT_EQ(seeded.GenRandInt32(), expected);
    standard();
  }
  for (int i = 5; i < 9999; ++i) {
    uint32_t value = unseeded.GenRandInt32();
    ASSERT_EQ(value, standard()) << "output " << i;
    seeded.GenRandInt32();
  }
  EXPECT_EQ(unseeded.GenRandInt32(), kDefaultSeedOutput10000);
  EXPECT_EQ(seeded.GenRandInt32(), kDefaultSeedOutput10000);
}

TEST(MersenneTwister, ReseedingStartsTheSequenceAgain) {
  CMersenneTwister generator;
  for (int seed : {1, 0, 19650218}) {
    generator.InitGenRand(static_cast<uint32_t>(seed));
    std::mt19937 standard(static_cast<uint32_t>(seed));
    for (int i = 0; i < 700; ++i) ASSERT_EQ(generator.GenRandInt32(), standard()) << "seed " << seed << " output " << i;
  }
  generator.InitByArray(kKey, 4);
  EXPECT_EQ(generator.GenRandInt32(), kArrayKeyOutputs[0]);
}

TEST(MersenneTwister, AnEmptyKeyIsTheKeyZero) {
  // CPython seeds its MT19937 from 0 with init_by_array({0}).
  const uint32_t expected[] = {3626764237u, 1654615998u, 3255389356u};
  const uint32_t zero[] = {0};
  CMersenneTwister empty, single;
  empty.InitByArray(nullptr, 0);
  single.InitByArray(zero, 1);
  for (uint32_t value : expected) {
    EXPECT_EQ(empty.GenRandInt32(), value);
    EXPECT_EQ(single.GenRandInt32(), value);
  }
}

TEST(MersenneTwister, FloatingPointFormsDeriveFromTheSameOutputs) {
  CMersenneTwister generator;
  generator.InitByArray(kKey, 4);
  EXPECT_EQ(generator.GenRandInt31(), static_cast<int32_t>(kArrayKeyOutputs[0] >> 1));
  EXPECT_EQ(generator.GenRandReal1(), kArrayKeyOutputs[1] * (1.0 / 4294967295.0));
  EXPECT_EQ(generator.GenRandReal2(), kArrayKeyOutputs[2] / 4294967296.0);
  EXPECT_EQ(generator.GenRandReal3(), (kArrayKeyOutputs[3] + 0.5) / 4294967296.0);

  // genrand_res53 as CPython's random() computes it for the same key.
  CMersenneTwister fresh;
  fresh.InitByArray(kKey, 4);
  EXPECT_EQ(fresh.GenRandRes53(), 0.24856890158782508);
  EXPECT_EQ(fresh.GenRandRes53(), 0.11112762955044497);
  EXPECT_EQ(fresh.GenRandRes53(), 0.9846353141863877);
}

TEST(MersenneTwister, RangesHoldAtTheExtremes) {
  // real1 reaches 1 only for the output 0xFFFFFFFF; real2 and real3 never do.
  CMersenneTwister generator;
  generator.InitGenRand(42);
  for (int i = 0; i < 5000; ++i) {
    double closed = generator.GenRandReal1(), open = generator.GenRandReal2(), inner = generator.GenRandReal3();
    ASSERT_TRUE(closed >= 0.0 && closed <= 1.0);
    ASSERT_TRUE(open >= 0.0 && open < 1.0);
    ASSERT_TRUE(inner > 0.0 && inner < 1.0);
    double fine = generator.GenRandRes53();
    ASSERT_TRUE(fine >= 0.0 && fine < 1.0);
  }
}

}  // namespace
