#include "skin_controls/hover_button_logic.h"

#include <doctest/doctest.h>

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

using namespace quillo;

namespace {

// The three caption buttons as the frame lays them out, on the screen, with their bitmaps.
constexpr int kClose = 0;
constexpr int kMaximize = 1;
constexpr int kMinimize = 2;
constexpr int kOutside = -1;
constexpr Rect kRects[] = {Rect::fromEdges(773, 6, 792, 25), Rect::fromEdges(748, 6, 767, 25),
                           Rect::fromEdges(723, 6, 742, 25)};
constexpr unsigned kNormal[] = {155, 158, 159};
constexpr unsigned kHover[] = {157, 162, 163};

struct Step {
    enum Kind { Move, Tick } kind;
    int button;
    // Where the cursor is at a tick: inside one of the buttons or outside all of them.
    int cursorIn = kOutside;
};
using Script = std::vector<Step>;

Step move(int button) {
    return {Step::Move, button};
}
Step tick(int button, int cursorIn) {
    return {Step::Tick, button, cursorIn};
}

} // namespace

TEST_CASE("cases from the poll table, across the three caption buttons") {
    struct Row {
        std::string name; // a std::string, so a failing row is logged by its text
        Script script;
        int lastTickLoads; // -1: the last tick loads nothing
        std::array<unsigned, 3> shown;
        bool flag;
    };
    const Row rows[] = {
        {"resting on close: its tick shows the hover bitmap",
         {move(kClose), tick(kClose, kClose)},
         157,
         {157, 158, 159},
         true},
        {"leaving close after a last move over it: normal returns",
         {move(kClose), tick(kClose, kClose), move(kClose), tick(kClose, kOutside)},
         155,
         {155, 158, 159},
         false},
        {"close straight onto maximise: close restored, then maximise hovers",
         {move(kClose), tick(kClose, kClose), move(kClose), move(kMaximize), tick(kClose, kMaximize),
          tick(kMaximize, kMaximize)},
         162,
         {155, 162, 159},
         true},
        {"close left without a tick keeps hover once maximise cleared the flag",
         {move(kClose), tick(kClose, kClose), move(kMaximize), tick(kMaximize, kOutside), move(kClose),
          tick(kClose, kOutside)},
         -1,
         {157, 158, 159},
         false},
        {"the stuck close button returns after a tick inside and one outside",
         {move(kClose), tick(kClose, kClose), move(kMaximize), tick(kMaximize, kOutside), move(kClose),
          tick(kClose, kClose), move(kClose), tick(kClose, kOutside)},
         155,
         {155, 158, 159},
         false},
        {"tick outside a normal button with the flag set elsewhere reloads normal",
         {move(kMinimize), tick(kMinimize, kMinimize), move(kClose), tick(kClose, kOutside)},
         155,
         {155, 158, 163},
         false},
        {"tick outside with the flag clear loads nothing",
         {move(kClose), tick(kClose, kOutside)},
         -1,
         {155, 158, 159},
         false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        // Every case starts from a fresh process state.
        HoverButtonLogic::resetHoverShown();
        std::array<HoverButtonLogic, 3> buttons;
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            buttons[i].loadBitmap(kNormal[i]);
            buttons[i].SetBitmapIds(kNormal[i], kHover[i]);
        }
        std::optional<unsigned> last;
        for (const Step& step : row.script) {
            HoverButtonLogic& button = buttons[std::size_t(step.button)];
            if (step.kind == Step::Move) {
                button.OnMouseMove();
                CHECK(button.timerPending());
                continue;
            }
            const Rect cursorRect =
                step.cursorIn == kOutside ? Rect::fromEdges(400, 300, 401, 301) : kRects[step.cursorIn];
            last = button.onTick(kRects[step.button], cursorRect.left(), cursorRect.top());
            CHECK_MESSAGE(!button.timerPending(), "every tick kills the one-shot timer");
        }
        CHECK((last ? int(*last) : -1) == row.lastTickLoads);
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            CAPTURE(i);
            CHECK(buttons[i].loadedBitmap() == row.shown[i]);
        }
        CHECK(HoverButtonLogic::hoverShown() == row.flag);
    }
}

// The button's rectangle: left and top inclusive, right and bottom exclusive.
TEST_CASE("the edges of the button's rectangle") {
    struct Row {
        std::string name;
        int x;
        int y;
        bool inside;
    };
    const Row rows[] = {
        {"top-left pixel", 773, 6, true},           {"bottom-right pixel", 791, 24, true},
        {"right edge is outside", 792, 10, false},  {"bottom edge is outside", 780, 25, false},
        {"one left of the button", 772, 10, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        HoverButtonLogic::resetHoverShown();
        HoverButtonLogic button;
        button.SetBitmapIds(155, 157);
        button.loadBitmap(155);
        button.OnMouseMove();
        button.onTick(kRects[kClose], row.x, row.y);
        CHECK(button.loadedBitmap() == (row.inside ? 157u : 155u));
    }
}

TEST_CASE("bitmap ids keep sixteen bits") {
    HoverButtonLogic::resetHoverShown();
    HoverButtonLogic button;
    button.SetBitmapIds(0x10000u + 155, 0x20000u + 157);
    CHECK(button.normalBitmap() == 155u);
    CHECK(button.hoverBitmap() == 157u);
}
