// hub_body: bodies read through their limits.
#include "hub/hub_body.h"

#include "hub/hub_access.h"
#include "hub/hub_options.h"

#include <nlohmann/json.hpp>

using httplib::Request;
using httplib::Response;

static const char FormType[] = "application/x-www-form-urlencoded";

// Past its limit the rest of a body is left unread: the answer asks the client to close.
static void Refuse(Response& res, int status, const std::string& why)
{
  res.status = status;
  res.set_content(nlohmann::json{{"error", why}}.dump(), "application/json");
  res.set_header("Connection", "close");
}

// httplib parses a form body itself and holds it to a smaller limit of its own.
size_t BodyLimit(const Request& req)
{
  size_t limit = (size_t)HubOptions.maxBody;
  if (req.get_header_value("Content-Type").compare(0, sizeof FormType - 1, FormType) == 0 &&
      limit > CPPHTTPLIB_FORM_URL_ENCODED_PAYLOAD_MAX_LENGTH)
    limit = CPPHTTPLIB_FORM_URL_ENCODED_PAYLOAD_MAX_LENGTH;
  return limit;
}

std::string TooLargeWhy(const Request& req)
{
  return "the body is larger than " + std::to_string(BodyLimit(req)) + " bytes";
}

httplib::Server::HandlerWithContentReader WithBody(BodyRoute route)
{
  return [route](const Request& req, Response& res, const httplib::ContentReader& reader) {
    size_t limit = BodyLimit(req);
    std::string body;
    bool fits = true;
    bool read = reader([&](const char* data, size_t size) {
      fits = body.size() + size <= limit;
      if (fits)
        body.append(data, size);
      return fits;
    });
    if (!fits || res.status == 413) {
      Refuse(res, 413, TooLargeWhy(req));
      return;
    }
    if (!read) {
      Refuse(res, 400, "the body could not be read");
      return;
    }
    Request withBody = req;
    withBody.body.swap(body);
    route(withBody, res);
  };
}

void AddBodyGuards(httplib::Server& server)
{
  server.set_pre_routing_handler([](const Request& req, Response& res) {
    RequestStarted();
    const std::string& m = req.method;
    std::string encoding = req.get_header_value("Content-Encoding");
    if (m != "GET" && m != "HEAD" && m != "POST" && m != "DELETE" && m != "OPTIONS")
      Refuse(res, 405, "the hub takes GET, POST, DELETE and OPTIONS");
    else if (!encoding.empty() && encoding != "identity")
      Refuse(res, 415, "the hub takes bodies without a Content-Encoding");
    else if (req.get_header_value("Content-Type").compare(0, 19, "multipart/form-data") == 0)
      Refuse(res, 415, "the hub takes JSON bodies, not multipart forms");
    else
      return httplib::Server::HandlerResponse::Unhandled;
    return httplib::Server::HandlerResponse::Handled;
  });
  // Registered after every route, these take a POST or DELETE no route took, unread.
  auto unknown = [](const Request&, Response& res, const httplib::ContentReader&) {
    Refuse(res, 404, "no such route");
  };
  server.Post(".*", unknown);
  server.Delete(".*", unknown);
}
