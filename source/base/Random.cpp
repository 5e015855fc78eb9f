#include "Random.h"

namespace
{

// PCG32 (O'Neill): a 64-bit linear congruential state with a permuted 32-bit output. Small,
// fast and the same on every machine and compiler.
constexpr std::uint64_t PCG_MULTIPLIER = 6364136223846793005ULL;
constexpr std::uint64_t PCG_INCREMENT = 1442695040888963407ULL;

std::uint64_t s_uiState = 0x853c49e6748fea9bULL;
std::uint32_t s_uiSeed = 0;

std::uint32_t NextWord()
{
    const std::uint64_t uiOld = s_uiState;
    s_uiState = uiOld * PCG_MULTIPLIER + PCG_INCREMENT;
    const std::uint32_t uiXorShifted = static_cast<std::uint32_t>(((uiOld >> 18u) ^ uiOld) >> 27u);
    const std::uint32_t uiRotation = static_cast<std::uint32_t>(uiOld >> 59u);
    return (uiXorShifted >> uiRotation) | (uiXorShifted << ((32u - uiRotation) & 31u));
}

}  // namespace

void RAND_Seed(std::uint32_t uiSeed)
{
    s_uiSeed = uiSeed;
    s_uiState = 0;
    NextWord();
    s_uiState += uiSeed;
    NextWord();
}

std::uint32_t RAND_CurrentSeed()
{
    return s_uiSeed;
}

std::int32_t RAND_Next()
{
    return static_cast<std::int32_t>(NextWord() >> 1u);
}

int RandInt(int n)
{
    return RAND_Next() % (n + 1);
}

float RandFloat()
{
    return static_cast<float>(RAND_Next() / 2147483647.0);
}
