#pragma once

// The soak: a scripted run that plays by itself for as long as its script lets it, from a
// generator of its own (never the game's random source, which it would disturb). It looks at
// what the game shows and acts as a restless player would: menu items touched twice (the
// menus' two steps), the back button, Play; in a level, pommos dragged and thrown, the pause
// button, the pause keys, arrow keys held for a while, the focus lost and given back in the same
// frame, the game over touched away. After every frame it checks every table of the game
// (GAME_CheckTables and the framework's touch ring and event queue), so a stray slot or index
// stops the run with its assertion line. It prints the resident memory now and then and its
// figures at the end. SOAK_ functions are the soak's entry points; the scripted driver calls
// them.

#include <cstdint>

#include "ScriptStep.h"

// The memory is taken as warmed up when the second game starts, and not before this frame (a
// minute at 60 Hz): by then the front end and a level have each been built, freed and built
// again, and the allocator holds what it keeps for good.
constexpr unsigned int SOAK_WARM_UP_FRAMES = 3600;
// Frames between two "Soak:" progress lines.
constexpr unsigned int SOAK_REPORT_FRAMES = 3600;

// Starts the soak from frame 0 with its generator's seed.
void SOAK_Start(std::uint32_t uiSeed);
// Ends a soak without its report: a script loaded after one has no soak of its own.
void SOAK_Stop();
bool SOAK_IsRunning();

// After frame uiFrame is drawn: the checks, then this frame's input, handed to pfnDeliver.
void SOAK_AfterFrame(unsigned int uiFrame, void (*pfnDeliver)(const ScriptStep& tStep));

// The run ends: prints the figures once ("Soak: ... frames ..."). Nothing when no soak ran.
void SOAK_Finish();

// Resident memory of this process in kB (from /proc/self/statm), and its peak (VmHWM of
// /proc/self/status); 0 when they cannot be read. Neither allocates.
long SOAK_ResidentKilobytes();
long SOAK_PeakResidentKilobytes();
