// hub_picture: level pictures, drawn on first asking and kept.
#include "hub/hub_picture.h"

#include "hub/hub_api.h"
#include "hub/hub_db.h"
#include "hub/hub_refusal.h"

#include "game/base/png_write.h"
#include "game/files/level_picture.h"
#include "game/play/world.h"

#include <cstdlib>
#include <cstring>
#include <vector>

static const char Base64Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

static std::string ToBase64(const std::string& bytes)
{
  std::string text;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    unsigned v = (unsigned char)bytes[i] << 16;
    if (i + 1 < bytes.size())
      v |= (unsigned char)bytes[i + 1] << 8;
    if (i + 2 < bytes.size())
      v |= (unsigned char)bytes[i + 2];
    for (int k = 0; k < 4; k++)
      text += i + k <= bytes.size() ? Base64Letters[(v >> (18 - 6 * k)) & 63] : '=';
  }
  return text;
}

static std::string FromBase64(const std::string& text)
{
  std::string bytes;
  unsigned v = 0;
  int bits = 0;
  for (char c : text) {
    const char* at = c ? strchr(Base64Letters, c) : nullptr;
    if (!at)
      break;   // the '=' padding
    v = v << 6 | (unsigned)(at - Base64Letters);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      bytes += (char)((v >> bits) & 0xFF);
    }
  }
  return bytes;
}

// The cells of a level's canonical text: its title line, width, height and
// rows of letters 'a' + MapType; false when it is not that.
static bool ReadCells(const std::string& text, std::vector<unsigned char>* cells, int* w, int* h)
{
  size_t line = text.find('\n');
  if (line == std::string::npos)
    return false;
  char* end;
  *w = (int)strtol(text.c_str() + line + 1, &end, 10);
  *h = (int)strtol(end, &end, 10);
  if (*w <= 0 || *h <= 0 || *end != '\n' || *w > MapSize || *h > MapSize)
    return false;
  cells->assign((size_t)*w * *h, maptype_nothing);
  const char* row = end + 1;
  for (int y = 0; y < *h; y++) {
    for (int x = 0; x < *w && row[x] >= 'a' && row[x] < 'a' + MapTypeCount; x++)
      (*cells)[(size_t)y * *w + x] = (unsigned char)(row[x] - 'a');
    const char* next = strchr(row, '\n');
    if (!next)
      return y == *h - 1;
    row = next + 1;
  }
  return true;
}

static std::string DrawPicture(const std::string& id, const std::string& text)
{
  std::vector<unsigned char> cells;
  int w, h;
  if (!ReadCells(text, &cells, &w, &h))
    throw Refusal{404, "level " + id + " has no picture"};
  LevelPicture picture;
  DrawLevelPicture(cells.data(), w, h, &picture);
  std::string png;
  EncodePng(picture.rgba.data(), picture.w, picture.h, &png);
  return png;
}

std::string LevelPicturePng(const std::string& id)
{
  DbRows r;
  InTransaction(tx_read, [&](DbTx& tx) {
    tx.Run("SELECT l.body, p.png FROM levels l LEFT JOIN pictures p ON p.level_id = l.id WHERE l.id = ? AND l.state = 0",
           {Text(id)}, &r);
  });
  if (r.count == 0)
    throw Refusal{404, "no level " + id};
  if (!r.IsNull(0, 1))
    return FromBase64(r.At(0, 1));
  std::string png = DrawPicture(id, r.At(0, 0));
  InTransaction(tx_write, [&](DbTx& tx) {
    tx.Run("INSERT INTO pictures (level_id, png) VALUES (?, ?) ON CONFLICT (level_id) DO NOTHING",
           {Text(id), Text(ToBase64(png))});
  });
  return png;
}

static void PictureRoute(const httplib::Request& req, httplib::Response& res)
{
  Guarded(res, [&] {
    std::string png = LevelPicturePng(LevelIdIn(req));
    res.set_content(png, "image/png");
    res.set_header("Cache-Control", "public, max-age=" + std::to_string(PictureMaxAgeSeconds));
  });
}

void AddPictureRoutes(httplib::Server& server)
{
  server.Get("/levels/([a-z2-7]{16})\\.png", PictureRoute);
}
