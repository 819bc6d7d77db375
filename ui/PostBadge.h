#pragma once

class QLabel;

namespace sw::ui {

// Shows a post number 1..8 as its saddle cloth: the post's colour with a number that stands out,
// as on the track. Any other number clears the label to plain, empty text.
void showPostBadge(QLabel* label, int post);

} // namespace sw::ui
