// hub_refusal: a request the hub answers with a 4xx and {"error": why}.
// Thrown by the readers and the store anywhere inside a request; the
// request's transaction is rolled back and the client told why.
#pragma once

#include <string>

struct Refusal {
  int status;           // 400 .. 429
  std::string why;
  int retryAfter = 0;   // seconds, for 429
};
