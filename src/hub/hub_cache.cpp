// hub_cache: the table of kept answers, its lock and its counts.
#include "hub/hub_cache.h"

#include "hub/hub_options.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

static_assert(CacheSlots % CacheWays == 0, "the slots split into whole sets");

struct CacheEntry {
  std::string key;     // "" when the slot is free
  std::string level;   // the level whose writes clear it; "" for a list page, which every write clears
  httplib::Headers headers;   // what the route set, Content-Type among them
  std::string body;
  long long made;      // milliseconds, steady clock
};

static CacheEntry Entries[CacheSlots];
static std::mutex CacheLock;
static long long Writes;         // under CacheLock
static size_t KeptBytes;         // under CacheLock
static int KeptEntries;          // under CacheLock
static std::atomic<long long> Hits, Misses;
static std::string Filling[MaxCacheFills];   // the keys being read; "" when free. Under CacheLock
static std::condition_variable FillEnded;

static long long NowMilliseconds()
{
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string CacheKey(const httplib::Request& req)
{
  std::string key = req.path;
  char joint = '?';
  for (const auto& p : req.params) {   // a multimap: in the order of the names
    key += joint + p.first + "=" + p.second;
    joint = '&';
  }
  return key.size() <= MaxCacheKeyBytes ? key : std::string();
}

static int SetOf(const std::string& key)
{
  return (int)(std::hash<std::string>()(key) % (CacheSlots / CacheWays)) * CacheWays;
}

static void Free(CacheEntry* e)
{
  if (e->key.empty())
    return;
  KeptBytes -= e->body.size();
  KeptEntries--;
  e->key.clear();
  e->level.clear();
  e->headers.clear();
  e->body.clear();
  e->body.shrink_to_fit();
}

static bool Fresh(const CacheEntry* e, long long now)
{
  return !e->key.empty() && now - e->made < HubOptions.cacheMs;
}

// Under CacheLock.
static bool CopyKept(const std::string& key, std::string* body, httplib::Headers* headers)
{
  long long now = NowMilliseconds();
  int set = SetOf(key);
  for (int i = set; i < set + CacheWays; i++) {
    CacheEntry* e = &Entries[i];
    if (e->key != key)
      continue;
    if (!Fresh(e, now)) {
      Free(e);
      break;
    }
    *body = e->body;
    *headers = e->headers;
    Hits++;
    return true;
  }
  return false;
}

// Under CacheLock: the place of the key's read, else -1.
static int FillOf(const std::string& key)
{
  for (int i = 0; i < MaxCacheFills; i++)
    if (Filling[i] == key)
      return i;
  return -1;
}

bool CacheFill::Found(std::string* body, httplib::Headers* headers)
{
  if (HubOptions.cacheMs <= 0 || key.empty())
    return false;
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(FillWaitMilliseconds);
  std::unique_lock<std::mutex> hold(CacheLock);
  if (CopyKept(key, body, headers))
    return true;
  if (FillOf(key) >= 0) {
    // A read that a write overtook keeps nothing: its waiters then read
    // for themselves, at once, rather than one after another.
    bool ended = FillEnded.wait_until(hold, until, [&] { return FillOf(key) < 0; });
    if (ended && CopyKept(key, body, headers))
      return true;
  } else {
    claim = FillOf("");
    if (claim >= 0)
      Filling[claim] = key;
  }
  Misses++;
  return false;
}

CacheFill::~CacheFill()
{
  if (claim < 0)
    return;
  std::lock_guard<std::mutex> hold(CacheLock);
  Filling[claim].clear();
  FillEnded.notify_all();
}

long long CacheNote()
{
  std::lock_guard<std::mutex> hold(CacheLock);
  return Writes;
}

void KeepBody(const std::string& key, const std::string& level, long long note, const std::string& body,
              const httplib::Headers& headers)
{
  if (HubOptions.cacheMs <= 0 || key.empty() || body.size() > MaxCachedBodyBytes)
    return;
  long long now = NowMilliseconds();
  int set = SetOf(key);
  std::lock_guard<std::mutex> hold(CacheLock);
  if (Writes != note)
    return;   // a write may have come between the read and now
  // The slot of the same key, else a free or stale one, else the oldest of the set.
  CacheEntry* into = nullptr;
  for (int i = set; i < set + CacheWays && (!into || into->key != key); i++) {
    CacheEntry* e = &Entries[i];
    if (e->key == key || !Fresh(e, now) || !into || (Fresh(into, now) && e->made < into->made))
      into = e;
  }
  Free(into);
  if (KeptBytes + body.size() > MaxCacheBytes)
    return;
  into->key = key;
  into->level = level;
  into->headers = headers;
  into->body = body;
  into->made = now;
  KeptBytes += body.size();
  KeptEntries++;
}

void LevelWritten(const std::string& id)
{
  std::lock_guard<std::mutex> hold(CacheLock);
  Writes++;
  for (CacheEntry& e : Entries)
    if (!e.key.empty() && (e.level.empty() || e.level == id))
      Free(&e);
}

httplib::Server::Handler CachedRoute(CacheRoute route)
{
  return [route](const httplib::Request& req, httplib::Response& res) {
    // A conditional request goes to the route, which alone decides on it.
    bool conditional = req.has_header("If-None-Match") || req.has_header("If-Modified-Since");
    std::string key = conditional ? std::string() : CacheKey(req), body;
    httplib::Headers headers;
    CacheFill fill(key);
    if (fill.Found(&body, &headers)) {
      res.status = 200;
      res.body.swap(body);
      res.headers = headers;
      return;
    }
    long long note = CacheNote();
    route(req, res);
    if (res.status == 200)
      KeepBody(key, "", note, res.body, res.headers);
  };
}

void CacheCounts(long long* entries, long long* bytes, long long* hits, long long* misses)
{
  std::lock_guard<std::mutex> hold(CacheLock);
  *entries = KeptEntries;
  *bytes = (long long)KeptBytes;
  *hits = Hits;
  *misses = Misses;
}
