#pragma once
// The facts as one JSON document for scripts (format "zelvo-facts", described by the JSON Schema
// resources/zelvo-facts.schema.json that is installed beside the program). Keys are ASCII and never
// change with the language; sizes are bytes, frequencies hertz, percentages numbers, with the
// page's figure text beside them; a fact that could not be read is {"failure": "reason"}, one left
// out on request {"withheld": "reason"}.

#include <string>

#include "report/MachineFacts.h"

namespace zelvo {

inline constexpr const char* kFactsFormatName = "zelvo-facts";
inline constexpr int kFactsFormatVersion = 1;

struct ReportStamp {
    std::string zelvoVersion;
    std::string taken;  // RFC 3339, UTC
};

std::string JsonReport(const MachineFacts& facts, const ReportStamp& stamp);

}  // namespace zelvo
