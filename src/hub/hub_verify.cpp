// hub_verify: a pool of verifier processes, each fed over a socket pair.
//
// A request is a header of fixed-size numbers, then the level's and the
// replay's bytes; an answer is a header, then the texts of the verdict.
// Both ends are this same program, so the headers are sent as they lie in memory.
#include "hub/hub_verify.h"

#include "hub/hub_metrics.h"
#include "hub/hub_pool.h"

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

// Sends or receives size bytes in full before the deadline. The socket is
// tried first and waited for only when it is not ready: most transfers
// are a few kilobytes that go at once, and a poll before each cost a
// system call per part of every judgement.
static bool Transfer(int fd, void* data, size_t size, bool sending, long long deadline)
{
  char* p = (char*)data;
  size_t done = 0;
  while (done < size) {
    ssize_t n = sending ? send(fd, p + done, size - done, MSG_NOSIGNAL | MSG_DONTWAIT)
                        : recv(fd, p + done, size - done, MSG_DONTWAIT);
    if (n > 0)
      done += (size_t)n;
    else if (n == 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK))
      return false;   // the other end closed or failed
    else if (n < 0 && errno != EINTR && !WaitFor(fd, sending ? POLLOUT : POLLIN, deadline))
      return false;
  }
  return true;
}

static bool SendAll(int fd, const void* data, size_t size, long long deadline)
{
  return Transfer(fd, (void*)data, size, true, deadline);
}

static bool ReceiveAll(int fd, void* data, size_t size, long long deadline)
{
  return Transfer(fd, data, size, false, deadline);
}

static bool ReceiveText(int fd, std::string* text, uint32_t size, long long deadline)
{
  text->resize(size);
  return size == 0 || ReceiveAll(fd, &(*text)[0], size, deadline);
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
  if (!SendAll(fd, &q, sizeof q, deadline) || !SendAll(fd, level.data(), level.size(), deadline) ||
      (replay && !SendAll(fd, replay->data(), replay->size(), deadline)))
    return false;
  AnswerHeader a;
  if (!ReceiveAll(fd, &a, sizeof a, deadline))
    return false;
  *out = Verdict();
  out->error = a.error;
  out->width = a.width;
  out->height = a.height;
  out->ran = a.ran != 0;
  out->finished = a.finished != 0;
  out->score = a.score;
  out->frames = a.frames;
  return ReceiveText(fd, &out->why, a.whyBytes, deadline) && ReceiveText(fd, &out->level, a.levelBytes, deadline) &&
         ReceiveText(fd, &out->title, a.titleBytes, deadline) &&
         ReceiveText(fd, &out->replay, a.replayBytes, deadline);
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
  bool answered = v->pid >= 0 && Exchange(v->fd, limits, level, replay, out);
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
    if (!ReceiveAll(fd, &q, sizeof q, -1))
      return 0;   // the hub closed its end
    if (q.magic != RequestMagic || !ReceiveText(fd, &level, q.levelBytes, -1) ||
        (q.replayBytes != NoReplay && !ReceiveText(fd, &replay, q.replayBytes, -1)))
      return 1;
    Verdict v;
    JudgeSubmission(q.limits, level, q.replayBytes == NoReplay ? nullptr : &replay, &v);
    AnswerHeader a = {v.error, v.width, v.height, v.ran, v.finished, v.score, v.frames,
                      (uint32_t)v.why.size(), (uint32_t)v.level.size(), (uint32_t)v.title.size(),
                      (uint32_t)v.replay.size()};
    if (!SendAll(fd, &a, sizeof a, -1) || !SendAll(fd, v.why.data(), v.why.size(), -1) ||
        !SendAll(fd, v.level.data(), v.level.size(), -1) || !SendAll(fd, v.title.data(), v.title.size(), -1) ||
        !SendAll(fd, v.replay.data(), v.replay.size(), -1))
      return 1;
  }
}
