#pragma once

// bftool's sound commands.
//   bftool sound FILE.ogg   decodes the file as the game loads an effect and prints its
//                           channels, rate, AL format and decoded bytes
//   bftool probe FILE.mp3   prints the frequency and channels the music player would open
//                           the mixer with
// Each takes the arguments after the command name (argv[0] is the command) and returns the
// process exit status: 0, or 1 on a failure, which is printed.

int BFTOOL_Sound(int argc, char** argv);
int BFTOOL_Probe(int argc, char** argv);
