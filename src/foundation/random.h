#pragma once
// The Mersenne Twister MT19937, with the draws of the published mt19937ar reference, and
// RandomInt, the random source of the script functions.

#include <cstddef>
#include <cstdint>

class MT19937 {
public:
    static constexpr int kStateSize = 624;

    void InitGenrand(std::uint32_t seed);
    // An empty key leaves the generator as the array rule's first step seeds it.
    void InitByArray(const std::uint32_t* key, std::size_t length);

    std::uint32_t GenrandInt32();  // [0, 0xFFFFFFFF]
    std::int32_t GenrandInt31();   // [0, 0x7FFFFFFF]
    double GenrandReal1();         // [0, 1]
    double GenrandReal2();         // [0, 1)
    double GenrandReal3();         // (0, 1)
    double GenrandRes53();         // [0, 1) with 53-bit resolution

    bool Seeded() const { return seeded_; }

private:
    // Refills the whole state; seeds from timeGetTime first when nothing seeded it.
    void NextState();

    std::uint32_t state_[kStateSize] = {};
    int left_ = 1;
    int next_ = 0;
    bool seeded_ = false;
};

// The generator behind RandomInt (main thread only).
MT19937& GetRandomGenerator();

// 0 when `n` is 0, otherwise a 31-bit draw modulo `n`: 0..|n| - 1.
std::int32_t RandomInt(std::int32_t n);
