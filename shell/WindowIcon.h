#pragma once

// The window's icon comes from the generated data ("Data/Icons/boughfall_128.tga"), read with
// the game's own TGA reader and handed to the host before the window opens.

// Reads the icon and gives it to the host; false (with one line printed) when it cannot be
// read, and the window then opens with the desktop's default icon.
bool SHELL_LoadWindowIcon();
