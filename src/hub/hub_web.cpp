// hub_web: the browser build and the page that opens one level.
#include "hub/hub_web.h"

#include "hub/hub_api.h"
#include "hub/hub_db.h"
#include "hub/hub_options.h"
#include "hub/hub_refusal.h"
#include "hub/hub_store_levels.h"

#include <cstdio>
#include <strings.h>

static const long MaxPageBytes = 1 << 20;   // index.html
static const long MaxWebFileBytes = 64L << 20;   // the page's .js, .wasm and .data

struct WebFile {
  const char* extension;
  const char* type;
};

// The page's own files, and nothing else of the build folder.
static const WebFile WebFiles[] = {
  {"html", "text/html; charset=utf-8"},
  {"js", "text/javascript"},
  {"wasm", "application/wasm"},
  {"data", "application/octet-stream"},
};

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
  if (!ReadFileText(HubOptions.web + "/index.html", MaxPageBytes, &page)) {
    SendError(res, 404, "this hub serves no browser build (" + HubOptions.web + "/index.html; make web builds it)");
    return;
  }
  std::string line = "<script>var TetherorbHubLevel = \"" + id + "\";</script>";
  size_t head = std::string::npos;
  for (size_t i = 0; i + 6 <= page.size() && head == std::string::npos; i++)
    if (strncasecmp(page.c_str() + i, "<head>", 6) == 0)
      head = i + 6;
  page.insert(head == std::string::npos ? 0 : head, line);
  res.set_content(page, "text/html; charset=utf-8");
  try {   // a level not listed here: 404, and the page opens to say so
    InTransaction(tx_single, [&](DbTx& tx) { LevelBody(tx, id); });
  } catch (const Refusal& r) {
    res.status = r.status;
  }
}

// /play/ and /play/index.EXT for the extensions of WebFiles.
static void PageFileRoute(const httplib::Request& req, httplib::Response& res)
{
  std::string extension = req.matches.size() > 1 && req.matches[1].length() ? req.matches[1].str() : "html";
  for (const WebFile& file : WebFiles) {
    if (extension != file.extension)
      continue;
    std::string bytes;
    if (!ReadFileText(HubOptions.web + "/index." + extension, MaxWebFileBytes, &bytes)) {
      SendError(res, 404, "this hub serves no browser build (make web builds it)");
      return;
    }
    res.set_content(bytes, file.type);
    return;
  }
  SendError(res, 404, "no such file");
}

void AddWebRoutes(httplib::Server& server)
{
  std::string page = HubOptions.web + "/index.html";
  FILE* f = fopen(page.c_str(), "rb");
  if (f)
    fclose(f);
  else
    fprintf(stderr, "tetherorb2-hub: no browser build in %s: /play/ answers 404\n", HubOptions.web.c_str());
  server.Get("/play/?", PageFileRoute);
  server.Get("/play/index\\.([a-z]+)", PageFileRoute);
  server.Get("/play/([a-z2-7]{16})", PlayRoute);
}
