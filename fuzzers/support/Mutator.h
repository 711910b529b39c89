// Deterministic mutation of seed inputs for the fuzzing drivers: bit flips,
// byte overwrites with extreme values, truncation, duplication of a slice and
// length-like fields forced to 0, 1, 0x7F.., 0xFF... The same seed and round
// always give the same input, so a crash is reproduced by its round number.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

class TFuzzMutator {
 public:
  explicit TFuzzMutator(uint32_t ASeed) : FRandom(ASeed) {}

  std::string Mutate(const std::string& ASeed) {
    std::string data = ASeed;
    const int steps = 1 + static_cast<int>(Below(4));
    for (int i = 0; i < steps; ++i) MutateOnce(data);
    return data;
  }

  // A number below ALimit (0 for 0): the format mutators' one source of chance.
  uint64_t Below(uint64_t ALimit) { return ALimit == 0 ? 0 : FRandom() % ALimit; }
  template <class T, std::size_t N>
  T Pick(const T (&AValues)[N]) {
    return AValues[Below(N)];
  }

 private:

  void MutateOnce(std::string& AData) {
    if (AData.empty()) {
      AData.push_back(static_cast<char>(Below(256)));
      return;
    }
    const size_t at = Below(AData.size());
    switch (Below(6)) {
      case 0:  // flip one bit
        AData[at] = static_cast<char>(AData[at] ^ (1u << Below(8)));
        break;
      case 1: {  // an extreme byte
        static constexpr unsigned char extremes[] = {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF};
        AData[at] = static_cast<char>(extremes[Below(sizeof extremes)]);
        break;
      }
      case 2:  // truncate
        AData.resize(at);
        break;
      case 3: {  // a 32-bit field set to an extreme (little endian)
        static constexpr uint32_t values[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFF};
        const uint32_t v = values[Below(sizeof values / sizeof values[0])];
        for (size_t k = 0; k < 4 && at + k < AData.size(); ++k) AData[at + k] = static_cast<char>(v >> (8 * k));
        break;
      }
      case 4: {  // duplicate a slice
        const size_t len = std::min<size_t>(Below(64) + 1, AData.size() - at);
        AData.insert(at, AData.substr(at, len));
        break;
      }
      default:  // a random byte
        AData[at] = static_cast<char>(Below(256));
        break;
    }
  }

  std::mt19937_64 FRandom;
};
