// list_layout: where the title screen's rows and the lists' rows, heading
// and footer lie, in ScreenOrtho units; the level lists and the Online screen
// share them.
#pragma once

const float RowTop = -140;             // top of the first entry's inner rectangle
const float RowStep = 70;              // from one row top to the next
const float ScoreRight = 455;          // the best-score column ends here
const float HeadingX = -450;
const float HeadingY = -217.5f;
const float FooterRight = 450;
const float FooterY = 272.5f;
const float SmallTextSize = 0.6f;
const float WatchHintY = 317.5f;       // under the footer: a line about the lit row
const float WatchHintSize = 0.5f;
const float MoreAboveRight = 450;      // "12 more above" at the heading's right
const float MoreBelowLeft = -450;      // "12 more below" at the footer's left
