#pragma once
// The facts as plain UTF-8 text for people: one section per page, in page order, headed by the
// page's tab caption, with the pages' own labels and figure texts, to paste into a mail.

#include <string>

#include "report/JsonReport.h"
#include "report/MachineFacts.h"

namespace zelvo {

std::string TextReport(const MachineFacts& facts, const ReportStamp& stamp);

}  // namespace zelvo
