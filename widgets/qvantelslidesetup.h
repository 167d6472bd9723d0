#pragma once

class QScrollArea;

namespace QVantelSlide {

// Applies the set-up both drag-scroll areas share: bars as needed (horizontal never), no focus,
// no frame, and the slim scroll bar.
void setUpArea(QScrollArea *area);

// One drag step: returns the new last-y and scrolls the area when the finger moved more than 9
// pixels from the last scroll point inside the area's height.
int dragTo(QScrollArea *area, int lastY, int y);

} // namespace QVantelSlide
