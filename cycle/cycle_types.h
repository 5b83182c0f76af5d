// What one wallpaper change works with: its switches, the entries it lists and
// the positions it chose last.
#pragma once

#include <windows.h>

struct CycleOptions
{
    int random;     // non-zero: choose at random, else in turn
    int tile;       // non-zero: tile the wallpaper
    int immediate;  // non-zero: broadcast the new wallpaper at once
    int perMonitor; // non-zero: a picture of its own for each monitor
};

// Entry names without their directory, wide as the file system keeps them, in
// the order it returned them. The cap keeps a run bounded whatever the directory holds.
const int MaxImages = 100;
struct ImageList
{
    wchar_t names[MaxImages][MAX_PATH];
    int count;
};

// ImageList positions, not names: when the directory changes they point at
// whatever entries now stand there.
struct RotationHistory
{
    int h0; // latest choice, "LastImageShown"
    int h1; // the one before, "LastImageShown-1"
    int h2; // the one before that, "LastImageShown-2"
};
