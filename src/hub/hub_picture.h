// hub_picture: GET /levels/LEVELID.png, the picture of a whole listed level
// (game/files/level_picture.h drawn from its canonical text, game/base/png_write.h
// encoding it). Each level's picture is drawn once and kept in the pictures
// table (base64, which both databases hold as text), so a page of levels
// draws none twice; a level's text never changes under its id, so neither
// does its picture.
//   PictureMaxAgeSeconds        how long a browser or proxy may keep a picture
//   LevelPicturePng(id)         the PNG of a listed level; Refusal 404 for any other
//   AddPictureRoutes(server)    registers the route
#pragma once

#include <httplib.h>
#include <string>

const int PictureMaxAgeSeconds = 86400;

std::string LevelPicturePng(const std::string& id);
void AddPictureRoutes(httplib::Server& server);
