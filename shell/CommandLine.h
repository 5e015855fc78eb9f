#pragma once

// The game's command line. CMDLINE_ functions are its entry points.
//
//   boughfall [--fullscreen] [--window WIDTHxHEIGHT] [--record FILE | --replay FILE]
//             [--help] [--version]
//
// The options hold for one run: they win over the remembered settings without being written
// to them (the player's own changes during the run are). --record writes the session to a file
// as it is played; --replay plays such a file back (see ScriptDriver.h and Replay.h).

struct CommandLine
{
    bool bFullscreen;  // --fullscreen
    int iWindowWidth;  // --window WIDTHxHEIGHT (or --window=WIDTHxHEIGHT); 0 when not given
    int iWindowHeight;
    const char* pRecordPath;  // --record FILE (or --record=FILE); null when not given
    const char* pReplayPath;  // --replay FILE (or --replay=FILE); null when not given
};

constexpr int CMDLINE_RUN = -1;  // CMDLINE_Parse: start the game

// Reads the options after the program's name. Returns CMDLINE_RUN to start the game, or the
// status the process ends with: 0 after --help or --version (printed on standard output); 2
// after an unknown option, a missing or malformed size, a missing file name, or --record and
// --replay together (one line and the usage on standard error).
int CMDLINE_Parse(int argc, char** argv, CommandLine* pOptions);

// Lays the options over the settings for this run. A window size alone also means a window,
// even when the player left the game in fullscreen.
void CMDLINE_Apply(const CommandLine& tOptions);
