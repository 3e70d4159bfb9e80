#include "foundation/random.h"

#include "platform/winbase/time_api.h"

namespace {

constexpr int kShift = 397;
constexpr std::uint32_t kMatrixA = 0x9908B0DFu;
constexpr std::uint32_t kUpperMask = 0x80000000u;
constexpr std::uint32_t kLowerMask = 0x7FFFFFFFu;

std::uint32_t MixBits(std::uint32_t u, std::uint32_t v) {
    return (u & kUpperMask) | (v & kLowerMask);
}

std::uint32_t Twist(std::uint32_t u, std::uint32_t v) {
    return (MixBits(u, v) >> 1) ^ ((v & 1u) != 0 ? kMatrixA : 0u);
}

}  // namespace

void MT19937::InitGenrand(std::uint32_t seed) {
    state_[0] = seed;
    for (int j = 1; j < kStateSize; ++j) {
        const std::uint32_t previous = state_[j - 1];
        state_[j] = 1812433253u * (previous ^ (previous >> 30)) + static_cast<std::uint32_t>(j);
    }
    left_ = 1;
    seeded_ = true;
}

void MT19937::InitByArray(const std::uint32_t* key, std::size_t length) {
    InitGenrand(19650218u);
    if (key == nullptr || length == 0) {
        return;
    }
    int i = 1;
    std::size_t j = 0;
    for (std::size_t k = (kStateSize > length ? kStateSize : length); k > 0; --k) {
        const std::uint32_t previous = state_[i - 1];
        state_[i] = (state_[i] ^ ((previous ^ (previous >> 30)) * 1664525u)) + key[j] +
                    static_cast<std::uint32_t>(j);
        ++i;
        ++j;
        if (i >= kStateSize) {
            state_[0] = state_[kStateSize - 1];
            i = 1;
        }
        if (j >= length) {
            j = 0;
        }
    }
    for (int k = kStateSize - 1; k > 0; --k) {
        const std::uint32_t previous = state_[i - 1];
        state_[i] = (state_[i] ^ ((previous ^ (previous >> 30)) * 1566083941u)) -
                    static_cast<std::uint32_t>(i);
        ++i;
        if (i >= kStateSize) {
            state_[0] = state_[kStateSize - 1];
            i = 1;
        }
    }
    state_[0] = 0x80000000u;
    left_ = 1;
}

void MT19937::NextState() {
    if (!seeded_) {
        InitGenrand(static_cast<std::uint32_t>(timeGetTime()));
    }
    left_ = kStateSize;
    next_ = 0;
    int k = 0;
    for (; k < kStateSize - kShift; ++k) {
        state_[k] = state_[k + kShift] ^ Twist(state_[k], state_[k + 1]);
    }
    for (; k < kStateSize - 1; ++k) {
        state_[k] = state_[k + kShift - kStateSize] ^ Twist(state_[k], state_[k + 1]);
    }
    state_[kStateSize - 1] = state_[kShift - 1] ^ Twist(state_[kStateSize - 1], state_[0]);
}

std::uint32_t MT19937::GenrandInt32() {
    if (--left_ == 0) {
        NextState();
    }
    std::uint32_t y = state_[next_++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

std::int32_t MT19937::GenrandInt31() {
    return static_cast<std::int32_t>(GenrandInt32() >> 1);
}

double MT19937::GenrandReal1() {
    return GenrandInt32() * (1.0 / 4294967295.0);
}

double MT19937::GenrandReal2() {
    return GenrandInt32() * (1.0 / 4294967296.0);
}

double MT19937::GenrandReal3() {
    return (static_cast<double>(GenrandInt32()) + 0.5) * (1.0 / 4294967296.0);
}

double MT19937::GenrandRes53() {
    const std::uint32_t a = GenrandInt32() >> 5;
    const std::uint32_t b = GenrandInt32() >> 6;
    return (a * 67108864.0 + b) * (1.0 / 9007199254740992.0);
}

MT19937& GetRandomGenerator() {
    static MT19937 generator;
    return generator;
}

std::int32_t RandomInt(std::int32_t n) {
    if (n == 0) {
        return 0;
    }
    return GetRandomGenerator().GenrandInt31() % n;
}
