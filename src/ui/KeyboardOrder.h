#pragma once
// The order in which Tab and Shift+Tab visit the window's controls.

namespace zelvo {

class TForm1;

// The CPU page's part, set with the window, as that page is on screen from the first paint: its
// gauge joins the order.
void SetShownPageFocus(TForm1& form);

// Once every page is built, each page in reading order: its left column from top to bottom, then its right column. A
// page's focus panel (where its show handler puts the focus) comes first, so that Tab goes on from there to the page's
// first control. Gauges join the order, to be read; the headings and the label-like boxes beside the figures leave it,
// and still take the focus when clicked.
void SetReadingOrder(TForm1& form);

}  // namespace zelvo
