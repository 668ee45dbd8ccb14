// hub_access: the access log line and the request's end.
#include "hub/hub_access.h"

#include "hub/hub_metrics.h"
#include "hub/hub_options.h"

#include <chrono>
#include <cstdio>
#include <iterator>
#include <unistd.h>

static const double MillisecondsPerSecond = 1000;
static const int MaxLoggedAddressBytes = 64;
static const int MaxLoggedMethodBytes = 16;

using Clock = std::chrono::steady_clock;

static thread_local Clock::time_point Started;
static thread_local bool StartKnown;   // false for a request httplib refused before routing it

std::string ClientAddress(const httplib::Request& req)
{
  std::string address = req.remote_addr;
  auto lines = req.headers.equal_range("X-Forwarded-For");
  if (HubOptions.trustProxy && lines.first != lines.second) {
    // The client can write anything to the left of the proxy's entry or in lines of its own.
    const std::string& chain = std::prev(lines.second)->second;
    size_t comma = chain.rfind(',');
    std::string last = comma == std::string::npos ? chain : chain.substr(comma + 1);
    size_t first = last.find_first_not_of(' '), end = last.find_last_not_of(' ');
    if (first != std::string::npos)
      address = last.substr(first, end + 1 - first);
  }
  return address;
}

void RequestStarted()
{
  Started = Clock::now();
  StartKnown = true;
}

// What a client wrote, on one line of printable ASCII, cut at most bytes.
static std::string Printable(const std::string& text, size_t most)
{
  std::string out;
  for (size_t i = 0; i < text.size() && i < most; i++)
    out += text[i] > ' ' && text[i] < 127 && text[i] != '"' ? text[i] : '?';
  if (text.size() > most)
    out += "...";
  return out.empty() ? "-" : out;
}

void AddAccessLog(httplib::Server& server)
{
  server.set_logger([](const httplib::Request& req, const httplib::Response& res) {
    double seconds = StartKnown ? std::chrono::duration<double>(Clock::now() - Started).count() : 0;
    StartKnown = false;
    CountRequest(RouteOf(req.method, req.path), res.status, seconds);
    if (HubOptions.noAccessLog)
      return;
    std::string line = "tetherorb2-hub: access " + Printable(ClientAddress(req), MaxLoggedAddressBytes) + " \"" +
                       Printable(req.method, MaxLoggedMethodBytes) + " " + Printable(req.path, MaxLoggedPathBytes) +
                       "\" " + std::to_string(res.status) + " " + std::to_string(res.body.size()) + " B ";
    char ms[32];
    snprintf(ms, sizeof ms, "%.1f ms\n", seconds * MillisecondsPerSecond);
    line += ms;
    // One write a line, so that lines of requests answered at once never mix.
    if (write(STDERR_FILENO, line.data(), line.size()) < 0)
      return;
  });
}
