// hub_web: the browser build under /play/. Only the page's own files are
// served (index.html, index.js, index.wasm and index.data, with their types),
// never anything else of the build folder; /play/LEVELID serves its index.html with one line
// added at the top of <head>, which names the level for the page to open:
//   <script>var TetherorbHubLevel = "LEVELID";</script>
// The page's own files load relative to /play/, and the hub's API is the
// page's own origin.
//   AddWebRoutes(server)            the mount point and the /play/LEVELID route
//   ReadFileText(path, most, text)  a whole file of at most `most` bytes
#pragma once

#include <httplib.h>
#include <string>

void AddWebRoutes(httplib::Server& server);
bool ReadFileText(const std::string& path, long most, std::string* text);
