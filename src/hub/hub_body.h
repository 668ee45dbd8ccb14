// hub_body: every request body read through its limit, whatever its
// framing. httplib bounds only a body that declares its length; a chunked
// one, or one it would inflate, it reads whole before any handler runs. So
// the routes that take a body read it through a content reader that stops
// past the limit, bodies go nowhere else, and what the hub never needs
// (a Content-Encoding, multipart forms, other methods) is refused before a
// byte of the body is read.
//   BodyLimit(req)          the most bytes this request's body may have
//   TooLargeWhy(req)        the refusal of a body past it, naming the limit
//   WithBody(route)         a route that gets its body read through the limit
//   AddBodyGuards(server)   the refusals before routing, and a 404 that reads
//                           nothing for any other POST or DELETE (after every route)
#pragma once

#include <httplib.h>
#include <string>

using BodyRoute = void (*)(const httplib::Request&, httplib::Response&);

size_t BodyLimit(const httplib::Request& req);
std::string TooLargeWhy(const httplib::Request& req);
httplib::Server::HandlerWithContentReader WithBody(BodyRoute route);
void AddBodyGuards(httplib::Server& server);
