// hub_socket: one connection's requests, read through the head's bounds.
#include "hub/hub_socket.h"

#include "hub/hub_conns.h"
#include "hub/hub_metrics.h"
#include "hub/hub_rate.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

static const size_t ReadAheadBytes = 4096;     // as httplib's own stream reads
static const int IdlePollMilliseconds = 50;    // how soon an idle connection sees the server stop
static const size_t HeldWriteBytes = 65536;    // an answer's bytes held back to go out together
static const int TurnAwayReads = 16;           // reads of what a turned-away client sent, at most
static const char TurnedAwayBody[] = "{\"error\":\"too many connections from your address at once\"}";

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
//
// The socket is tried before it is waited for: a request's bytes are
// mostly there when it is read, and an answer goes at once. httplib
// writes an answer's head and its body apart; the stream holds what is
// written until the connection next reads (or HeldWriteBytes gather), so
// that a small answer is one send and one segment, not two.
class BoundedStream : public httplib::Stream {
public:
  BoundedStream(int sock, int readMs, int writeMs, int requestMs)
    : sock(sock), readMs(readMs), writeMs(writeMs), requestMs(requestMs) {}

  bool is_readable() const override { return at < end || WaitFor(sock, POLLIN, ReadWait()); }
  bool is_writable() const override { return WaitFor(sock, POLLOUT, writeMs); }
  socket_t socket() const override { return sock; }
  // httplib asks for both on every request; they are the connection's, asked of the system once.
  void get_remote_ip_and_port(std::string& ip, int& port) const override { Known(true, ip, port); }
  void get_local_ip_and_port(std::string& ip, int& port) const override { Known(false, ip, port); }

  ssize_t read(char* ptr, size_t size) override
  {
    if (refused || late || !Flush())
      return -1;
    if (at == end) {
      if (ReadWait() == 0)
        return -1;
      ssize_t n = Transfer(false, ahead, sizeof ahead);
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
    held.append(ptr, size);
    return held.size() < HeldWriteBytes || Flush() ? (ssize_t)size : -1;
  }

  // Sends what write held back; false when the connection failed.
  bool Flush()
  {
    size_t sent = 0;
    while (sent < held.size()) {
      ssize_t n = Transfer(true, &held[sent], held.size() - sent);
      if (n <= 0) {
        held.clear();
        return false;
      }
      sent += (size_t)n;
    }
    held.clear();
    return true;
  }

  // Past a bound or past the request's time: the connection ends with this request.
  bool Refused() const { return refused || ReadWait() == 0; }

  // True once a request is waiting, and its time to be read begins; false
  // when the connection stays idle past the keep-alive time or the server stops.
  bool AwaitRequest(time_t idleSeconds, const std::atomic<socket_t>& listener)
  {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(idleSeconds);
    while (listener != INVALID_SOCKET && std::chrono::steady_clock::now() < until) {
      if (at < end || WaitFor(sock, POLLIN, IdlePollMilliseconds)) {
        readUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(requestMs);
        late = false;
        return true;
      }
    }
    return false;
  }

private:
  struct Address {
    bool asked = false;
    std::string ip;
    int port = 0;
  };

  void Known(bool peer, std::string& ip, int& port) const
  {
    Address& a = peer ? peerAddress : localAddress;
    if (!a.asked)
      AddressOf(peer, sock, a.ip, a.port);
    a.asked = true;
    ip = a.ip;
    port = a.port;
  }

  // The longest a read from the socket may wait: the time-out, or what is
  // left of the request's time (0 past it, and the request is late). Asked
  // only when the bytes read ahead are used up: the head is read a byte at
  // a time, and a clock read for each byte made a small answer cost a quarter more.
  int ReadWait() const
  {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(readUntil - std::chrono::steady_clock::now());
    late = late || left.count() <= 0;
    return late ? 0 : (int)std::min<long long>(readMs, left.count());
  }

  // One send or receive, waiting for the socket (up to the time-out) only
  // when it is not ready; what send or recv returned.
  ssize_t Transfer(bool sending, char* data, size_t size)
  {
    for (;;) {
      ssize_t n = sending ? send(sock, data, size, MSG_NOSIGNAL | MSG_DONTWAIT) : recv(sock, data, size, MSG_DONTWAIT);
      if (n >= 0)
        return n;
      if (errno == EINTR)
        continue;
      if ((errno != EAGAIN && errno != EWOULDBLOCK) ||
          !WaitFor(sock, sending ? POLLOUT : POLLIN, sending ? writeMs : ReadWait()))
        return -1;
    }
  }

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
  int readMs, writeMs, requestMs;
  std::chrono::steady_clock::time_point readUntil;
  mutable bool late = false;   // the request was not read in its time
  char ahead[ReadAheadBytes];
  size_t at = 0, end = 0;
  size_t lineBytes = 0, headBytes = 0;
  int headLines = 0;
  char last = 0;
  bool refused = false;
  std::string held;   // written, not yet sent
  mutable Address peerAddress, localAddress;
};

static void Close(int sock)
{
  shutdown(sock, SHUT_RDWR);
  close(sock);
}

// The 503, after what the client has sent so far is read, so that closing
// does not reset the connection before the client reads the answer.
static void TurnAway(int sock)
{
  char bytes[ReadAheadBytes];
  for (int i = 0; i < TurnAwayReads && recv(sock, bytes, sizeof bytes, MSG_DONTWAIT) > 0; i++) {
  }
  int n = snprintf(bytes, sizeof bytes,
                   "HTTP/1.1 503 Service Unavailable\r\nContent-Type: application/json\r\nRetry-After: 1\r\n"
                   "Connection: close\r\nContent-Length: %zu\r\n\r\n%s",
                   sizeof TurnedAwayBody - 1, TurnedAwayBody);
  send(sock, bytes, (size_t)n, MSG_NOSIGNAL | MSG_DONTWAIT);
  CountConnectionRefusal();
  Close(sock);
}

bool BoundedServer::process_and_close_socket(socket_t sock)
{
  BoundedStream stream(sock, Milliseconds(read_timeout_sec_, read_timeout_usec_),
                       Milliseconds(write_timeout_sec_, write_timeout_usec_), readMs);
  std::string key;
  if (perAddress > 0) {
    std::string ip;
    int port = 0;
    stream.get_remote_ip_and_port(ip, port);
    key = AddressKey(ip);
    if (!HoldConnection(key, perAddress)) {
      TurnAway(sock);
      return false;
    }
  }
  bool served = false;
  for (size_t left = keep_alive_max_count_; left > 0 && stream.AwaitRequest(keep_alive_timeout_sec_, svr_sock_);
       left--) {
    bool closed = false;
    served = process_request(stream, left == 1, closed, nullptr);
    if (!stream.Flush())
      served = false;
    if (!served || closed || stream.Refused())
      break;
  }
  if (perAddress > 0)
    DropConnection(key);
  Close(sock);
  return served;
}
