// medal_view: the medal pictures (render/medal_set.h) as a texture of their
// own beside the atlas, drawn small in the lists and on the results card.
//   LoadMedalPictures()            once the GL context is up; without the file no medal is drawn
//   DrawMedal(medal, x, y, size)   medal (game/run/medals.h medal_*) centred at (x, y), size across
#pragma once

void LoadMedalPictures();
void DrawMedal(int medal, float x, float y, float size);
