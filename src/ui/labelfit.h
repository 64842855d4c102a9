#pragma once

class QLabel;

// The windows place their labels at sizes drawn for Tahoma. With a wider font a label's text
// would be cut, so a label grows to its text instead, as far as its parent reaches.

// The width for a label drawn designed wide at left whose text needs textWidth, in a parent
// parentWidth wide. A label never shrinks below its drawn width.
int grownLabelWidth(int designed, int textWidth, int left, int parentWidth);

// Applies that to a placed label: a single line grows to its text's width, a word-wrapped
// label to the height its lines need at its width.
void fitLabelToText(QLabel *label);
