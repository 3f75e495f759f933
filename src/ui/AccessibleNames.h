#pragma once
// Names the window's controls for assistive technologies and announces the figures that change.

namespace zelvo {

class TForm1;

// - Every figure box is named by the caption or heading beside it (the caption becomes its buddy)
//   and reads its text as the value; the headings, and the boxes that stand as captions on the user
//   page, read as static text.
// - Each gauge is named by its caption and announces its new share; the drive selector's rows say
//   the kind of drive in words.
// - The pages and the panels that take the focus by the page rule carry the page's caption, so a
//   reader says where the focus went; the other panels are unnamed panes.
// The window, its pages and the CPU page, which is on screen from the first paint, are named with
// the window; the other pages once they are built.
void NameShownPageForScreenReaders(TForm1& form);
void NameOtherPagesForScreenReaders(TForm1& form);

}  // namespace zelvo
