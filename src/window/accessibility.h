#pragma once

// Gives the window's own controls (the tab strip, the unit pickers, the value boxes) the
// interfaces through which screen readers name, read, pick and focus them. Safe to call again.
void installAccessibility();
