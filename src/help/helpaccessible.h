#pragma once

// What a screen reader makes of the help window: a frame, as any main window is, the page as a
// text it reads with the caret, and the search's outcome as a notification, which it speaks
// when it appears.
void installHelpAccessibility();

// The object name that marks a label as such a notification.
inline constexpr char notificationName[] = "notification";
