#pragma once

// One repaint request: a time snapshot, and when a digit changed, a paint
// clipped to the changed cells and the colons.
void RepaintTick();
