// hub_socket: the hub's connections, read through bounds of its own.
// httplib 0.11 (built into Debian's shared library, so its CPPHTTPLIB_*
// limits are fixed there) reads a request's line, its header lines and a
// chunked body's size lines into strings that grow without limit, and keeps
// any number of headers. The hub serves each connection itself, on the
// server's own request handling, through a stream that counts the bytes the
// line reader takes and fails the read past these bounds: the request is
// refused (400, or the connection closed) with at most the bounds held.
//
// httplib's time-out is for each wait alone, so a client sending a byte
// every few seconds held a request thread for days, and as many such
// clients as threads held the hub. A request is now read whole (its head
// and body) within readMs of its first byte, and an address holds at most
// perAddress connections at once (hub_conns.h); one past them is answered
// 503 and closed without taking a request.
//   MaxLineBytes, MaxHeadLines, MaxHeadBytes   the bounds of one request's head
//   BoundedServer          an httplib::Server whose connections go through the bounds:
//                          readMs, the time to read a request; perAddress, 0 for any number
#pragma once

#include <httplib.h>

const size_t MaxLineBytes = 16384;   // one line with its CRLF; httplib answers 414 to a request line past 8192
const int MaxHeadLines = 101;        // the request line and 100 header lines
const size_t MaxHeadBytes = 65536;   // the request line and the header lines together

struct BoundedServer : httplib::Server {
  int readMs = 30000;
  long perAddress = 0;

private:
  bool process_and_close_socket(socket_t sock) override;
};
