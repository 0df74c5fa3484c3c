#pragma once

#include "resources/rgb.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quillo::notify {

inline constexpr Rgb kTextAreaBackground{0, 0, 128};
inline constexpr Rgb kTextColour{255, 255, 255};
inline constexpr Rgb kWaitingColour{192, 192, 192};
inline constexpr Rgb kLastFieldColour{255, 165, 0};
inline constexpr const char* kTextFace = "Arial";
inline constexpr int kTextPointSize = 7;

// Name and message together are cut to this many bytes.
inline constexpr std::size_t kLongestNameAndMessage = 110;
// A message carrying this marker is the service's own prompt, shown as kPromptedText instead.
inline constexpr const char* kPromptMarker = "<B><FONT";
inline constexpr const char* kPromptedText = "(Prompted for Chat)";

// A coloured stretch of the text, both as bytes of the UTF-8 text and as positions of the text
// area, which counts UTF-16 units and holds a CR LF line break as one position.
struct TextSpan {
    std::size_t byteStart = 0;
    std::size_t byteLength = 0;
    int position = 0;
    int positionLength = 0;
    Rgb colour;
};

struct NotifyText {
    std::string text;
    // The waiting line as searched for: "Waiting " f2, plus " for " when f3 is not empty.
    std::string waiting;
    // The last field, searched for to be coloured.
    std::string lastField;
    std::optional<TextSpan> waitingSpan;
    std::optional<TextSpan> lastFieldSpan;
};

// The message as shown next to the name: cut so that both fit 110 bytes, or the prompt text.
std::string shortenMessage(const std::string& name, const std::string& message);

// Composes the popup's text from a chat request record (name|message|time waited|waiting for) and
// finds the spans to colour: the first occurrence of the waiting line anywhere in the text, then the
// first occurrence of the last field, each found over the whole text.
NotifyText composeNotifyText(const std::string& record);

// The text area's position of a byte offset of text.
int textAreaPosition(const std::string& text, std::size_t byteOffset);

} // namespace quillo::notify
