// hub_picture_view: the hub levels' pictures (game/online/online_pictures) as
// textures, one per picture slot, made once and filled again when the slot
// holds another level's picture. A slot's PNG is decoded with LodePNG the
// frame after it comes, one slot a frame, into the corner of a texture of
// the next power of two (what OpenGL 1.1 and WebGL ask); its bytes are let
// go once decoded.
//   StepHubPictureViews()          once a frame on the Online screen, with the GL context current
//   DrawHubPicture(slot, x, y, w, h)   the slot's picture fitted in the box (x, y)-(x + w, y + h),
//                                  centred, its proportions kept; false when it has none to show
#pragma once

void StepHubPictureViews();
bool DrawHubPicture(int slot, float x, float y, float w, float h);
