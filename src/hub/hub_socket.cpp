// hub_socket: one connection's requests, read through the head's bounds.
#include "hub/hub_socket.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

static const size_t ReadAheadBytes = 4096;     // as httplib's own stream reads
static const int IdlePollMilliseconds = 50;    // how soon an idle connection sees the server stop

// Waits for the socket to be readable (POLLIN) or writable; true when it is.
static bool WaitFor(int sock, short events, int milliseconds)
{
  pollfd p{sock, events, 0};
  int n;
  do
    n = poll(&p, 1, milliseconds);
  while (n < 0 && errno == EINTR);
  return n > 0;
}

static int Milliseconds(time_t seconds, time_t microseconds)
{
  return (int)(seconds * 1000 + microseconds / 1000);
}

static void AddressOf(bool peer, int sock, std::string& ip, int& port)
{
  sockaddr_storage addr;
  socklen_t size = sizeof addr;
  if ((peer ? getpeername(sock, (sockaddr*)&addr, &size) : getsockname(sock, (sockaddr*)&addr, &size)) != 0)
    return;
  if (addr.ss_family == AF_INET)
    port = ntohs(((sockaddr_in*)&addr)->sin_port);
  else if (addr.ss_family == AF_INET6)
    port = ntohs(((sockaddr_in6*)&addr)->sin6_port);
  else
    return;
  char host[NI_MAXHOST] = "";
  if (getnameinfo((sockaddr*)&addr, size, host, sizeof host, nullptr, 0, NI_NUMERICHOST) == 0)
    ip = host;
}

// httplib's line reader takes a head one byte at a time and a body in
// larger reads, so the bytes read one at a time since the last larger read
// or blank line are the head being read.
class BoundedStream : public httplib::Stream {
public:
  BoundedStream(int sock, int readMs, int writeMs) : sock(sock), readMs(readMs), writeMs(writeMs) {}

  bool is_readable() const override { return at < end || WaitFor(sock, POLLIN, readMs); }
  bool is_writable() const override { return WaitFor(sock, POLLOUT, writeMs); }
  socket_t socket() const override { return sock; }
  void get_remote_ip_and_port(std::string& ip, int& port) const override { AddressOf(true, sock, ip, port); }
  void get_local_ip_and_port(std::string& ip, int& port) const override { AddressOf(false, sock, ip, port); }

  ssize_t read(char* ptr, size_t size) override
  {
    if (refused)
      return -1;
    if (at == end) {
      if (!is_readable())
        return -1;
      ssize_t n;
      do
        n = recv(sock, ahead, sizeof ahead, 0);
      while (n < 0 && errno == EINTR);
      if (n <= 0)
        return n;
      at = 0;
      end = (size_t)n;
    }
    size_t n = std::min(size, end - at);
    memcpy(ptr, ahead + at, n);
    at += n;
    if (size > 1)
      lineBytes = headLines = headBytes = 0;
    else if (!Count(*ptr))
      return -1;
    return (ssize_t)n;
  }

  ssize_t write(const char* ptr, size_t size) override
  {
    if (!is_writable())
      return -1;
    ssize_t n;
    do
      n = send(sock, ptr, size, MSG_NOSIGNAL);
    while (n < 0 && errno == EINTR);
    return n;
  }

  bool Refused() const { return refused; }

  // True once a request is waiting, false when the connection stays idle
  // past the keep-alive time or the server stops.
  bool AwaitRequest(time_t idleSeconds, const std::atomic<socket_t>& listener) const
  {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(idleSeconds);
    while (listener != INVALID_SOCKET && std::chrono::steady_clock::now() < until) {
      if (at < end || WaitFor(sock, POLLIN, IdlePollMilliseconds))
        return true;
    }
    return false;
  }

private:
  // One byte of a head; false past a bound, and every read fails from then on.
  bool Count(char c)
  {
    lineBytes++;
    headBytes++;
    if (c == '\n') {
      if (lineBytes == 2 && last == '\r')   // the blank line that ends a head
        headLines = headBytes = 0;
      else
        headLines++;
      lineBytes = 0;
    }
    last = c;
    refused = lineBytes > MaxLineBytes || headLines > MaxHeadLines || headBytes > MaxHeadBytes;
    return !refused;
  }

  int sock;
  int readMs, writeMs;
  char ahead[ReadAheadBytes];
  size_t at = 0, end = 0;
  size_t lineBytes = 0, headBytes = 0;
  int headLines = 0;
  char last = 0;
  bool refused = false;
};

bool BoundedServer::process_and_close_socket(socket_t sock)
{
  BoundedStream stream(sock, Milliseconds(read_timeout_sec_, read_timeout_usec_),
                       Milliseconds(write_timeout_sec_, write_timeout_usec_));
  bool served = false;
  for (size_t left = keep_alive_max_count_; left > 0 && stream.AwaitRequest(keep_alive_timeout_sec_, svr_sock_);
       left--) {
    bool closed = false;
    served = process_request(stream, left == 1, closed, nullptr);
    if (!served || closed || stream.Refused())
      break;
  }
  shutdown(sock, SHUT_RDWR);
  close(sock);
  return served;
}
