#include "probes/UsageFigures.h"

#include "format/FormatFigure.h"
#include "probes/Units.h"

namespace zelvo {

std::string SizeText(double megabytes) {
    if (megabytes >= kMegabytesPerGigabyte)
        return FormatFigure(kGigabytePattern, megabytes / kMegabytesPerGigabyte);
    return FormatFigure(kMegabytePattern, megabytes);
}

UsageFigures MakeUsageFigures(double totalBytes, double usedBytes, double freeBytes, int percentage, SizeUnits units) {
    const auto text = [units](double megabytes) {
        return units == SizeUnits::Megabytes ? FormatFigure(kMegabytePattern, megabytes) : SizeText(megabytes);
    };
    UsageFigures figures;
    figures.totalMB = totalBytes / kBytesPerMegabyte;
    figures.usedMB = usedBytes / kBytesPerMegabyte;
    figures.freeMB = freeBytes / kBytesPerMegabyte;
    figures.percentage = percentage;
    figures.percentageColour = usageBandColour(percentage);
    figures.percentageText = PercentageText(percentage);
    figures.totalText = text(figures.totalMB);
    figures.usedText = text(figures.usedMB);
    figures.freeText = text(figures.freeMB);
    return figures;
}

}  // namespace zelvo
