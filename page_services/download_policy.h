#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillo::page_services {

// A download is fetched at once into a partial file beside the finished ones while the operator
// is asked where to save it; the engine itself writes to the partial name plus kEngineSuffix until
// the transfer ends. Both names must be free, so the partial file never replaces anything either.
inline constexpr std::string_view kPartialSuffix = ".part";
inline constexpr std::string_view kEngineSuffix = ".download";

// The partial file's name for a download called name: "report.txt.part", else "report (1).txt.part"
// and on, the first whose partial and engine names are both free. Nullopt when none is.
std::optional<std::string> freePartialName(std::string_view name,
                                           const std::function<bool(const std::string&)>& taken);

// What becomes of a download that a page starts.
enum class DownloadVerdict {
    // Ask the operator where to save it.
    Ask,
    // Refuse it with a log line of its own: the first refusal since the page's last count.
    Refuse,
    // Refuse it and count it; the count goes to the log later in one line.
    RefuseQuietly,
};

// Why a page's download is refused, for its log line.
enum class RefusalReason {
    // The operator has not yet answered the page's question about an earlier download.
    QuestionOpen,
    // The operator declined the page's last download and has not acted in the page since.
    Declined,
};

// Keeps a page from burying the operator under questions, as a browser keeps a page from
// downloading many files on its own: one question at a time, and after the operator declined one,
// the page asks again only for a download the operator started in it (a click or a key in the page
// shortly before, each good for one question). One gate for each page, living as long as it does.
class DownloadGate final {
public:
    // How long after the operator's click or key a download counts as the operator's.
    static constexpr std::int64_t kOperatorActMs = 5000;

    // The operator clicked or typed in the page; nowMs on any steady clock, the same for all calls.
    void operatorActed(std::int64_t nowMs);
    // A download the page starts now. Ask opens the page's question.
    DownloadVerdict request(std::int64_t nowMs);
    // Why the page's downloads are refused now, as request() last said.
    RefusalReason refusalReason() const;
    // The page's question has closed: declined when the operator said no or closed it.
    void questionClosed(bool declined);
    // How many of the page's downloads were refused quietly since the last call; the next refusal
    // is logged on its own again.
    int takeQuietRefusals();

private:
    bool m_asking = false;
    bool m_declined = false;
    // The operator's last act in the page not yet used for a question.
    std::optional<std::int64_t> m_operatorActedAt;
    int m_refused = 0;
};

} // namespace quillo::page_services
