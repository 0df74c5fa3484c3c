#include "page_services/print_plan.h"

#include <algorithm>

namespace quillo::page_services {

std::vector<int> pagesToPrint(int pageCount, const std::vector<PrintRange>& ranges) {
    std::vector<bool> chosen(std::size_t(std::max(pageCount, 0)), ranges.empty());
    for (const PrintRange& range : ranges) {
        for (int page = std::max(range.from, 1); page <= std::min(range.to, pageCount); ++page)
            chosen[std::size_t(page - 1)] = true;
    }
    std::vector<int> pages;
    for (std::size_t index = 0; index < chosen.size(); ++index) {
        if (chosen[index])
            pages.push_back(int(index));
    }
    return pages;
}

} // namespace quillo::page_services
