#pragma once

#include <vector>

namespace quillo::page_services {

// Pages as a print dialog names them: from the first to the last, counted from 1, both included.
struct PrintRange {
    int from = 1;
    int to = 1;
};

// The pages, counted from 0, that a print of a document of pageCount pages sends to the printer:
// every page when no range is chosen, else those the ranges name, in order and each once. What a
// range names past the last page is left out: the document cannot draw it.
std::vector<int> pagesToPrint(int pageCount, const std::vector<PrintRange>& ranges);

} // namespace quillo::page_services
