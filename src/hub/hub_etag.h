// hub_etag: validators and cache lifetimes for every GET the hub answers,
// whichever module's route made the answer (the API, the pages, the level
// pictures, the browser build): an answer of 200 carries an ETag, the
// SHA-256 of its body, and a Cache-Control unless its route set one; a
// request whose If-None-Match names that tag (or "*") gets 304 without a
// body. Routes stay plain handlers: this runs after any of them.
//   ListMaxAgeSeconds        how long an answer that names no lifetime may be kept
//   BodyTag(body)            the quoted ETag of a body
//   TagMatches(header, tag)  whether an If-None-Match header names the tag
//   AddEtags(server)         applies the above to every answer of the server
#pragma once

#include <httplib.h>
#include <string>

const int ListMaxAgeSeconds = 10;

std::string BodyTag(const std::string& body);
bool TagMatches(const std::string& header, const std::string& tag);
void AddEtags(httplib::Server& server);
