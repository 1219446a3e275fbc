#include "framework/window/mersenne_twister.h"

namespace {

constexpr int kN = CMersenneTwister::kStateSize;
constexpr int kM = 397;
constexpr uint32_t kMatrixA = 0x9908b0dfu;
constexpr uint32_t kUpperMask = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7fffffffu;

uint32_t Mix(uint32_t upper, uint32_t lower, uint32_t far) {
  uint32_t y = (upper & kUpperMask) | (lower & kLowerMask);
  return far ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
}

}  // namespace

CMersenneTwister::CMersenneTwister() : state_(new uint32_t[kN]()), index_(kN + 1) {}

void CMersenneTwister::InitGenRand(uint32_t seed) {
  state_[0] = seed;
  for (int i = 1; i < kN; ++i) {
    state_[i] = 1812433253u * (state_[i - 1] ^ (state_[i - 1] >> 30)) + static_cast<uint32_t>(i);
  }
  index_ = kN;
}

void CMersenneTwister::InitByArray(const uint32_t* key, size_t length) {
  static const uint32_t kZeroKey[1] = {0};
  if (!key || length == 0) {
    key = kZeroKey;
    length = 1;
  }
  InitGenRand(19650218u);
  size_t i = 1;
  size_t j = 0;
  for (size_t k = (static_cast<size_t>(kN) > length ? kN : length); k > 0; --k) {
    state_[i] = (state_[i] ^ ((state_[i - 1] ^ (state_[i - 1] >> 30)) * 1664525u)) + key[j] +
                static_cast<uint32_t>(j);
    ++i;
    ++j;
    if (i >= static_cast<size_t>(kN)) {
      state_[0] = state_[kN - 1];
      i = 1;
    }
    if (j >= length) j = 0;
  }
  for (int k = kN - 1; k > 0; --k) {
    state_[i] = (state_[i] ^ ((state_[i - 1] ^ (state_[i - 1] >> 30)) * 1566083941u)) - static_cast<uint32_t>(i);
    ++i;
    if (i >= static_cast<size_t>(kN)) {
      state_[0] = state_[kN - 1];
      i = 1;
    }
  }
  state_[0] = 0x80000000u;  // the state is never all zero
}

void CMersenneTwister::Twist() {
  int k = 0;
  for (; k < kN - kM; ++k) state_[k] = Mix(state_[k], state_[k + 1], state_[k + kM]);
  for (; k < kN - 1; ++k) state_[k] = Mix(state_[k], state_[k + 1], state_[k + (kM - kN)]);
  state_[kN - 1] = Mix(state_[kN - 1], state_[0], state_[kM - 1]);
  index_ = 0;
}

uint32_t CMersenneTwister::GenRandInt32() {
  if (index_ >= kN) {
    if (index_ == kN + 1) InitGenRand(5489u);
    Twist();
  }
  uint32_t y = state_[index_++];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9d2c5680u;
  y ^= (y << 15) & 0xefc60000u;
  y ^= y >> 18;
  return y;
}

int32_t CMersenneTwister::GenRandInt31() { return static_cast<int32_t>(GenRandInt32() >> 1); }

double CMersenneTwister::GenRandReal1() { return GenRandInt32() * (1.0 / 4294967295.0); }

double CMersenneTwister::GenRandReal2() { return GenRandInt32() * (1.0 / 4294967296.0); }

double CMersenneTwister::GenRandReal3() { return (static_cast<double>(GenRandInt32()) + 0.5) * (1.0 / 4294967296.0); }

double CMersenneTwister::GenRandRes53() {
  uint32_t a = GenRandInt32() >> 5;
  uint32_t b = GenRandInt32() >> 6;
  return (a * 67108864.0 + b) * (1.0 / 9007199254740992.0);
}
