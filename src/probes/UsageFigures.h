#pragma once
// What the disk and memory pages show for a size: total, used and free, and the used share.

#include <string>

#include "probes/Colour.h"

namespace zelvo {

struct UsageFigures {
    double totalMB = 0;  // mebibytes
    double usedMB = 0;
    double freeMB = 0;
    int percentage = 0;                            // used share, truncated toward zero; the gauge's progress
    ColourValue percentageColour = colour::White;  // by usage colour bands
    std::string totalText;                         // UTF-8, "1,000 MB" or "1.5 GB"
    std::string usedText;
    std::string freeText;
    std::string percentageText;  // "57 %"
};

// How a page writes its sizes: the disk page in GB from 1024 MB on, figure by figure; the memory
// page always in MB.
enum class SizeUnits { MegabytesOrGigabytes, Megabytes };

// The figures of a size given in bytes. The used share comes from the caller, computed exactly on
// its own byte counts (UsagePercentage.h), so that a size that cannot be computed fails before any
// figure is made.
UsageFigures MakeUsageFigures(double totalBytes, double usedBytes, double freeBytes, int percentage, SizeUnits units);

// A figure in mebibytes as the disk page writes it: 1024 MB or more in GB, otherwise in MB.
std::string SizeText(double megabytes);

}  // namespace zelvo
