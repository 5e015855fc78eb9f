#pragma once

// The high score: "score.dat" in the save directory, 9 bytes, little-endian: "BFS", version 1
// (one byte), the score (signed 32-bit) and a flag that says whether that score has been
// submitted to an online leaderboard. SCORE_ functions are its entry points.
//
// The file is checked (and built or converted) at launch, read when a level is created and
// replaced, never rewritten in place, when a game ends with a score above the stored one, so it
// only ever grows and a crash leaves the old file or the new one.

#include <cstdint>

constexpr int SCORE_FILE_SIZE = 9;
constexpr std::uint8_t SCORE_FILE_VERSION = 1;

// At launch: a valid file is kept; a file of another format or version, or one cut short, is
// replaced by a valid one keeping the score found at offset 4 (0 when there is none), offered to
// the leaderboard first; a missing file is created with score 0. When the save directory cannot
// be written the game runs on without it (one line).
void SCORE_CheckFile();

// The stored high score when the file is valid; false (and *pScore 0) otherwise.
bool SCORE_Read(int* pScore);

// Replaces the file with this score and submitted flag; false (one line) when it could not be
// written.
bool SCORE_Write(int iScore, bool bSubmitted);

// The online leaderboard: there is none on this platform, so nothing is sent and the answer is
// always false ("not submitted").
bool SCORE_SubmitToLeaderboard(int iScore, const char* pScoreText, int iFlag);

// Offers a score to the leaderboard with its decimal text; the answer.
bool SCORE_OfferToLeaderboard(int iScore);
