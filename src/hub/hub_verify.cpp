// hub_verify: a pool of verifier processes, each fed over a socket pair.
//
// A request is a header of fixed-size numbers, then the level's and the
// replay's bytes; an answer is a header, then the texts of the verdict.
// Both ends are this same program, so the headers are sent as they lie in memory.
#include "hub/hub_verify.h"

#include "hub/hub_metrics.h"
#include "hub/hub_pool.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <mutex>
#include <time.h>
#include <unistd.h>

extern char** environ;

static const uint32_t RequestMagic = 0x54324856;   // "VH2T"
static const uint32_t NoReplay = UINT32_MAX;
static const int MillisecondsPerSecond = 1000;
static const long NanosecondsPerMillisecond = 1000000;

struct RequestHeader {
  uint32_t magic;
  GameLimits limits;
  uint32_t levelBytes;
  uint32_t replayBytes;   // NoReplay when the level is judged alone
};

struct AnswerHeader {
  int32_t error, width, height, ran, finished, score, frames;
  uint32_t whyBytes, levelBytes, titleBytes, replayBytes;
};

struct Verifier {
  pid_t pid;      // -1 when it could not be started again
  int fd;         // the hub's end of the socket pair
};

static Verifier Verifiers[MaxVerifiers];
static int VerifierCount;
static SlotPool VerifierPool;
static std::mutex AdmittedLock;
static int Admitted;      // judgements in a process or waiting for one
static int AdmittedMost;  // the processes and the places of the queue
static std::atomic<int> AtVerifiers;

// --- the bytes on the socket -----------------------------------------------

static long long NowMilliseconds()
{
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (long long)t.tv_sec * MillisecondsPerSecond + t.tv_nsec / NanosecondsPerMillisecond;
}

// Waits for fd to be ready until the deadline (-1: forever); false on time-out.
static bool WaitFor(int fd, short events, long long deadline)
{
  for (;;) {
    int wait = -1;
    if (deadline >= 0) {
      long long left = deadline - NowMilliseconds();
      if (left <= 0)
        return false;
      wait = (int)(left > INT_MAX ? INT_MAX : left);
    }
    pollfd p = {fd, events, 0};
    int n = poll(&p, 1, wait);
    if (n > 0)
      return true;
    if (n < 0 && errno != EINTR)
      return false;
  }
}

// Sends or receives the parts in full, in order, before the deadline: all
// the parts of a message go in one system call when the socket takes
// them. The socket is tried first and waited for only when it is not
// ready, or waited for first when the bytes cannot be there yet (an
// answer still being worked out): either way no system call is spent on
// a socket that is surely not ready.
static bool Transfer(int fd, iovec* parts, int count, bool sending, bool waitFirst, long long deadline)
{
  if (waitFirst && !WaitFor(fd, sending ? POLLOUT : POLLIN, deadline))
    return false;
  while (count > 0) {
    if (parts[0].iov_len == 0) {
      parts++;
      count--;
      continue;
    }
    msghdr m = {};
    m.msg_iov = parts;
    m.msg_iovlen = (size_t)count;
    ssize_t n = sending ? sendmsg(fd, &m, MSG_NOSIGNAL | MSG_DONTWAIT) : recvmsg(fd, &m, MSG_DONTWAIT);
    if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK))
      return false;   // the other end closed or failed
    if (n < 0 && errno != EINTR && !WaitFor(fd, sending ? POLLOUT : POLLIN, deadline))
      return false;
    for (size_t done = n > 0 ? (size_t)n : 0; done > 0;) {   // past what went
      size_t step = std::min(done, parts[0].iov_len);
      parts[0].iov_base = (char*)parts[0].iov_base + step;
      parts[0].iov_len -= step;
      done -= step;
      if (parts[0].iov_len == 0) {
        parts++;
        count--;
      }
    }
  }
  return true;
}

static iovec Part(const void* data, size_t size)
{
  return iovec{(void*)data, size};
}

static iovec TextPart(std::string* text, uint32_t size)
{
  text->resize(size);
  return Part(size ? &(*text)[0] : nullptr, size);
}

// --- the hub's side ---------------------------------------------------------

static bool Spawn(Verifier* v)
{
  int pair[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
    return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pair[1], 0);
  char program[] = "tetherorb2-hub", command[] = "verifier";
  char* argv[] = {program, command, nullptr};
  // The hub blocks its stop signals in every thread but one; a verifier takes them as usual.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  pid_t pid;
  int failed = posix_spawn(&pid, "/proc/self/exe", &actions, &attributes, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(pair[1]);
  if (failed) {
    close(pair[0]);
    return false;
  }
  v->pid = pid;
  v->fd = pair[0];
  return true;
}

static void End(Verifier* v)
{
  if (v->pid < 0)
    return;
  close(v->fd);
  kill(v->pid, SIGKILL);
  waitpid(v->pid, nullptr, 0);
}

bool StartVerifiers(int count, int queue)
{
  if (count < 1)
    count = 1;
  if (count > MaxVerifiers)
    count = MaxVerifiers;
  for (VerifierCount = 0; VerifierCount < count; VerifierCount++)
    if (!Spawn(&Verifiers[VerifierCount]))
      return false;
  StartPool(&VerifierPool, VerifierCount);
  AdmittedMost = VerifierCount + (queue > 0 ? queue : 0);
  return true;
}

void StopVerifiers()
{
  for (int i = 0; i < VerifierCount; i++)
    End(&Verifiers[i]);
  VerifierCount = 0;
}

static bool Exchange(int fd, const GameLimits& limits, const std::string& level, const std::string* replay,
                     Verdict* out)
{
  long long deadline = NowMilliseconds() + (long long)VerifyTimeoutSeconds * MillisecondsPerSecond;
  RequestHeader q;
  memset(&q, 0, sizeof q);
  q.magic = RequestMagic;
  q.limits = limits;
  q.levelBytes = (uint32_t)level.size();
  q.replayBytes = replay ? (uint32_t)replay->size() : NoReplay;
  iovec request[] = {Part(&q, sizeof q), Part(level.data(), level.size()),
                     Part(replay ? replay->data() : nullptr, replay ? replay->size() : 0)};
  if (!Transfer(fd, request, 3, true, false, deadline))
    return false;
  AnswerHeader a;
  iovec header = Part(&a, sizeof a);
  if (!Transfer(fd, &header, 1, false, true, deadline))
    return false;
  *out = Verdict();
  out->error = a.error;
  out->width = a.width;
  out->height = a.height;
  out->ran = a.ran != 0;
  out->finished = a.finished != 0;
  out->score = a.score;
  out->frames = a.frames;
  iovec texts[] = {TextPart(&out->why, a.whyBytes), TextPart(&out->level, a.levelBytes),
                   TextPart(&out->title, a.titleBytes), TextPart(&out->replay, a.replayBytes)};
  return Transfer(fd, texts, 4, false, false, deadline);
}

// A place among the processes and the queue, or false when all are taken.
static bool Admit(int change)
{
  std::lock_guard<std::mutex> hold(AdmittedLock);
  if (change > 0 && Admitted >= AdmittedMost)
    return false;
  Admitted += change;
  return true;
}

int Judge(const GameLimits& limits, const std::string& level, const std::string* replay, Verdict* out)
{
  if (!Admit(1))
    return judge_busy;
  long long waitStart = NowMilliseconds();
  VerifyWaitBegins();
  int slot = TakeSlot(&VerifierPool, VerifyWaitMilliseconds);
  long long verifyStart = NowMilliseconds();
  VerifyWaitEnds((double)(verifyStart - waitStart) / MillisecondsPerSecond);
  if (slot < 0) {
    Admit(-1);
    return judge_busy;
  }
  Verifier* v = &Verifiers[slot];
  AtVerifiers++;
  bool answered = v->pid >= 0 && Exchange(v->fd, limits, level, replay, out);
  AtVerifiers--;
  CountVerify((double)(NowMilliseconds() - verifyStart) / MillisecondsPerSecond);
  if (!answered) {
    End(v);
    if (!Spawn(v))
      v->pid = -1;   // the next judgement that takes this slot tries again
  }
  GiveSlot(&VerifierPool, slot);
  Admit(-1);
  return answered ? judge_answered : judge_lost;
}

int JudgementsAtVerifiers()
{
  return AtVerifiers.load();
}

// --- the verifier's side ----------------------------------------------------

int RunVerifier()
{
  // Only the socket is kept: a listening socket inherited from a hub that
  // started this process again would hold the hub's port after the hub ends.
  closefrom(3);
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  // Reads and the health check go first: re-running replays takes what is left of the cores.
  errno = 0;
  if (nice(VerifierNiceness) == -1 && errno != 0)
    perror("tetherorb2-hub verifier: nice");
  const int fd = 0;
  for (;;) {
    RequestHeader q;
    std::string level, replay;
    iovec header = Part(&q, sizeof q);
    if (!Transfer(fd, &header, 1, false, true, -1))   // idle until the hub sends
      return 0;   // the hub closed its end
    if (q.magic != RequestMagic)
      return 1;
    iovec texts[] = {TextPart(&level, q.levelBytes), TextPart(&replay, q.replayBytes == NoReplay ? 0 : q.replayBytes)};
    if (!Transfer(fd, texts, 2, false, false, -1))
      return 1;
    Verdict v;
    JudgeSubmission(q.limits, level, q.replayBytes == NoReplay ? nullptr : &replay, &v);
    AnswerHeader a = {v.error, v.width, v.height, v.ran, v.finished, v.score, v.frames,
                      (uint32_t)v.why.size(), (uint32_t)v.level.size(), (uint32_t)v.title.size(),
                      (uint32_t)v.replay.size()};
    iovec answer[] = {Part(&a, sizeof a), Part(v.why.data(), v.why.size()), Part(v.level.data(), v.level.size()),
                      Part(v.title.data(), v.title.size()), Part(v.replay.data(), v.replay.size())};
    if (!Transfer(fd, answer, 5, true, false, -1))
      return 1;
  }
}
