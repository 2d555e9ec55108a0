#pragma once

#include <QRect>
#include <vector>

// The window is designed in twips, 15 to a pixel at 96 dpi; Qt scales pixels for high-DPI screens.
constexpr int twips(int value) {
    return value / 15;
}
constexpr QRect twips(int left, int top, int width, int height) {
    return {twips(left), twips(top), twips(width), twips(height)};
}

// Places a row of controls from left to right. Each keeps its designed place and width unless it
// needs more room to show its text; then it widens, and the controls after it move right with
// the gaps of the design kept. Returns the left edge and width of each control.
struct Span {
    int left;
    int width;
};
std::vector<Span> flowRow(const std::vector<QRect>& designed, const std::vector<int>& needed);
