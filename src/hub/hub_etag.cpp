// hub_etag: the post-routing step that tags answers and answers 304.
#include "hub/hub_etag.h"

#include "game/base/sha256.h"

std::string BodyTag(const std::string& body)
{
  static const char Hex[] = "0123456789abcdef";
  unsigned char digest[Sha256DigestBytes];
  Sha256((const unsigned char*)body.data(), body.size(), digest);
  std::string tag = "\"";
  for (unsigned char b : digest) {
    tag += Hex[b >> 4];
    tag += Hex[b & 15];
  }
  return tag + "\"";
}

// If-None-Match is "*" or a list of tags separated by commas, each maybe weak (W/"...").
bool TagMatches(const std::string& header, const std::string& tag)
{
  size_t at = 0;
  while (at < header.size()) {
    size_t end = header.find(',', at);
    if (end == std::string::npos)
      end = header.size();
    size_t first = header.find_first_not_of(" \t", at), last = header.find_last_not_of(" \t", end - 1);
    if (first != std::string::npos && first < end) {
      std::string one = header.substr(first, last - first + 1);
      if (one.compare(0, 2, "W/") == 0)
        one.erase(0, 2);
      if (one == "*" || one == tag)
        return true;
    }
    at = end + 1;
  }
  return false;
}

void AddEtags(httplib::Server& server)
{
  server.set_post_routing_handler([](const httplib::Request& req, httplib::Response& res) {
    if ((req.method != "GET" && req.method != "HEAD") || res.status != 200)
      return;
    std::string tag = BodyTag(res.body);
    res.set_header("ETag", tag);
    // An answer for one player's token is theirs alone.
    if (!res.has_header("Cache-Control"))
      res.set_header("Cache-Control", req.has_header("Authorization")
                                          ? "private, no-cache"
                                          : "public, max-age=" + std::to_string(ListMaxAgeSeconds));
    if (!TagMatches(req.get_header_value("If-None-Match"), tag))
      return;
    res.status = 304;
    res.body.clear();
    res.headers.erase("Content-Length");
    res.headers.erase("Content-Type");
  });
}
