#pragma once
// The disk page's logic: which drive the selector names, the volume texts and the size figures.

#include <cstdint>
#include <string>

#include "platform/Drives.h"
#include "platform/TextLocale.h"
#include "probes/UsageFigures.h"

namespace zelvo {

// The drive number for the selector's letter: 'a'..'z' give 1..26; any other letter (0 when no
// drive is chosen) keeps `current`. 0 stands for the current drive.
int DriveNumberFromLetter(char letter, int current);

// What the serial-number box (`Memo9`) and the file-system box (`Memo10`) show, as UTF-8.
struct VolumeTexts {
    std::string serial;      // eight upper-case hexadecimal digits
    std::string fileSystem;  // as the system names it
    bool read = false;       // false: the volume could not be read
};

// Reads the volume of the drive `letter` (the selector's lower-case letter). When the volume
// cannot be read (no medium, no drive chosen) both texts are empty: there is no serial number or
// file system to show, and a made-up figure could be taken for a real one. Like the size query,
// it runs with critical errors failed, so a drive without a medium brings up no system prompt.
VolumeTexts ReadVolumeTexts(platform::Drives& drives, const platform::TextLocale& text, char letter);

// Total and free bytes of drive number `driveNumber` (0 = the current drive, 1..26 = A:..Z:);
// -1 for each when the drive cannot be read. Uses the 64-bit query where the system has it, the
// cluster counts otherwise.
struct DriveBytes {
    std::int64_t size = -1;
    std::int64_t free = -1;
};
DriveBytes QueryDriveBytes(platform::Drives& drives, int driveNumber);

// The figures of `bytes`, sizes in MB or GB. Throws EInvalidOp when the total is 0 bytes and
// nothing is used (0 ÷ 0) and EZeroDivide for a total of 0 with a non-zero used figure; it throws
// before producing any text, so a caller that writes the result only after the call leaves its
// boxes untouched.
UsageFigures ComputeDiskFigures(DriveBytes bytes);

// Queries drive number `driveNumber` once for its size and once for its free space and computes
// its figures. One reading of each keeps used + free = total exactly, which two readings taken
// apart in time would not on a drive being written to.
UsageFigures ReadDiskFigures(platform::Drives& drives, int driveNumber);

}  // namespace zelvo
