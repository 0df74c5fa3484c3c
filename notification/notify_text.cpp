#include "notification/notify_text.h"

#include "notification/delimited_field.h"
#include "page_contract/page_contract.h"
#include "page_contract/utf8_text.h"

#include <limits>

namespace quillo::notify {

namespace {

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::optional<TextSpan> findSpan(const std::string& text, const std::string& needle, Rgb colour) {
    // An empty needle would "match" at the start and colour nothing; the text area finds nothing.
    if (needle.empty())
        return std::nullopt;
    const std::size_t at = text.find(needle);
    if (at == std::string::npos)
        return std::nullopt;
    TextSpan span;
    span.byteStart = at;
    span.byteLength = needle.size();
    span.position = textAreaPosition(text, at);
    span.positionLength = textAreaPosition(text, at + needle.size()) - span.position;
    span.colour = colour;
    return span;
}

} // namespace

std::string shortenMessage(const std::string& name, const std::string& message) {
    std::string shown = message;
    if (name.size() + message.size() > kLongestNameAndMessage) {
        // A name of the full length or more still shows one byte of the message.
        const std::size_t keep =
            name.size() > kLongestNameAndMessage ? 1 : kLongestNameAndMessage - name.size();
        shown = cutAtCharacterBoundary(message, keep) + "...";
    }
    if (shown.find(kPromptMarker) != std::string::npos)
        shown = kPromptedText;
    return shown;
}

NotifyText composeNotifyText(const std::string& record) {
    std::string fields[4];
    // Longer records than a signed 32-bit length can hold are read up to that length.
    const auto length = static_cast<std::int32_t>(std::min<std::size_t>(
        record.size(), static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())));
    for (int n = 0; n < 4; ++n)
        GetDelimitedField(fields[n], record.data(), length, n, contract::kRecordDelimiter,
                          contract::kRecordEscape);
    const std::string& name = fields[0];
    const std::string& waited = fields[2];
    const std::string& lastField = fields[3];

    NotifyText result;
    result.waiting = "Waiting " + waited;
    result.text = name + " : " + shortenMessage(name, fields[1]) + "\r\n" + result.waiting;
    if (!lastField.empty()) {
        result.text += " for ";
        result.waiting += " for ";
    }
    if (lastField != "0")
        result.text += lastField;
    result.lastField = lastField;

    result.waitingSpan = findSpan(result.text, result.waiting, kWaitingColour);
    result.lastFieldSpan = findSpan(result.text, result.lastField, kLastFieldColour);
    return result;
}

int textAreaPosition(const std::string& text, std::size_t byteOffset) {
    int position = 0;
    const std::size_t end = std::min(byteOffset, text.size());
    for (std::size_t i = 0; i < end; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (isContinuationByte(text[i]))
            continue;
        if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue; // the pair is one line break in the text area
        // Characters beyond the basic plane take two UTF-16 units.
        position += byte >= 0xF0 ? 2 : 1;
    }
    return position;
}

} // namespace quillo::notify
