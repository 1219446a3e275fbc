// MT19937, the Mersenne Twister of Matsumoto and Nishimura, as their 2002
// reference code defines it: seeding by a value or by an array, the 32-bit
// output and the floating-point forms derived from it.  Every value equals the
// reference's.  Portable; no guard against use from several threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class CMersenneTwister {
 public:
  CMersenneTwister();
  CMersenneTwister(const CMersenneTwister&) = delete;
  CMersenneTwister& operator=(const CMersenneTwister&) = delete;

  // init_genrand
  void InitGenRand(uint32_t seed);
  // init_by_array; a key of length 0 is taken as the key {0}.
  void InitByArray(const uint32_t* key, size_t length);

  // genrand_int32: the next output.  A generator that was never seeded seeds
  // itself with InitGenRand(5489) first.
  uint32_t GenRandInt32();
  // genrand_int31: the output shifted right by 1.
  int32_t GenRandInt31();
  // genrand_real1: in [0,1]
  double GenRandReal1();
  // genrand_real2: in [0,1)
  double GenRandReal2();
  // genrand_real3: in (0,1)
  double GenRandReal3();
  // genrand_res53: in [0,1) with 53-bit resolution; draws two outputs.
  double GenRandRes53();

  static constexpr int kStateSize = 624;

 private:
  void Twist();

  std::unique_ptr<uint32_t[]> state_;  // kStateSize words
  int index_;                          // kStateSize + 1: not seeded yet
};
