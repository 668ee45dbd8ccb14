// hub_web: the browser build and the page that opens one level.
#include "hub/hub_web.h"

#include "hub/hub_api.h"
#include "hub/hub_options.h"

#include <cstdio>
#include <strings.h>

static const long MaxPageBytes = 1 << 20;   // index.html

bool ReadFileText(const std::string& path, long most, std::string* text)
{
  FILE* f = fopen(path.c_str(), "rb");
  if (!f)
    return false;
  text->clear();
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, f)) > 0 && (long)(text->size() + n) <= most)
    text->append(chunk, n);
  bool whole = feof(f) && !ferror(f);
  fclose(f);
  return whole;
}

static void PlayRoute(const httplib::Request& req, httplib::Response& res)
{
  std::string id = req.matches[1], page;
  if (!ReadFileText(Options.web + "/index.html", MaxPageBytes, &page)) {
    SendError(res, 404, "this hub serves no browser build (" + Options.web + "/index.html; make web builds it)");
    return;
  }
  std::string line = "<script>var TetherorbHubLevel = \"" + id + "\";</script>";
  size_t head = std::string::npos;
  for (size_t i = 0; i + 6 <= page.size() && head == std::string::npos; i++)
    if (strncasecmp(page.c_str() + i, "<head>", 6) == 0)
      head = i + 6;
  page.insert(head == std::string::npos ? 0 : head, line);
  res.set_content(page, "text/html; charset=utf-8");
}

void AddWebRoutes(httplib::Server& server)
{
  server.set_file_extension_and_mimetype_mapping("html", "text/html; charset=utf-8");
  server.set_file_extension_and_mimetype_mapping("js", "text/javascript");
  server.set_file_extension_and_mimetype_mapping("wasm", "application/wasm");
  server.set_file_extension_and_mimetype_mapping("data", "application/octet-stream");
  if (!server.set_mount_point("/play", Options.web))
    fprintf(stderr, "tetherorb2-hub: no browser build in %s: /play/ answers 404\n", Options.web.c_str());
  server.Get("/play/([a-z2-7]{16})", PlayRoute);
}
