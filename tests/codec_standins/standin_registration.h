// For the tests: the stand-ins for Windows' own decoders (codec-standins.dll,
// built with the tests) registered under Microsoft's class IDs while an
// object lives, how a test steers them and the log of calls they write.
// Wine's COM finds a class registered in the machine hive, not one
// registered per user; in a 64-bit prefix the registration is the 32-bit
// view's, which our 32-bit programs read.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CodecStandIns
{
public:
    // Registers the JPEG, WebP and HEIF stand-ins, noting what each class's
    // registration held before.
    CodecStandIns();
    // Puts back what was there: Wine's own JPEG decoder, and no WebP or HEIF
    // class where there was none; and ends the mode and the log.
    ~CodecStandIns();
    CodecStandIns(const CodecStandIns &) = delete;
    CodecStandIns &operator=(const CodecStandIns &) = delete;

    // Empty when all three are registered, else what failed.
    const std::string &Problem() const { return problem; }

private:
    struct Kept
    {
        bool classExisted = false;
        bool hadServer = false;
        DWORD serverType = REG_SZ;
        std::wstring server;
        bool hadModel = false;
        std::wstring model;
    };

    Kept kept[3];
    std::string problem;
};

// The words the stand-ins act on (CODEC_STANDIN_MODE), for this process and
// every program it starts from now on: "nearest" or "at-least" for the JPEG
// stand-in's GetClosestSize, "init-fails", "copy-fails", "size-larger",
// "size-zero", "format-other"; empty for none.
void SetStandInMode(const char *words);

// Starts a new log at path (CODEC_STANDIN_LOG) for this process and the
// programs it starts; an empty path stops logging.
void StartStandInLog(const std::string &path);
// The lines logged so far, such as "jpeg scaled-copy 3000x2000 rect
// 0,0,3000,29 -> 0x00000000" or "jpeg closest-size 1920x1280 -> 3000x2000".
std::vector<std::string> StandInLog();

// What the log shows wrong about the JPEG stand-in's copies: empty when each
// copy was a scaled one of width x height, whole rows, each row once and in
// order down to the last, and none at full size; for 0 x 0, when no copy was
// a scaled one.
std::string ScaledCopiesProblem(const std::vector<std::string> &log, UINT width, UINT height);
