// hub_cache: the answers of the level list and the leaderboards, kept in
// memory between the writes that change them, so that a read repeated
// between two writes costs no transaction and no JSON building.
//
// A fixed table of CacheSlots entries, each an answer body of at most
// MaxCachedBodyBytes, all of them together at most MaxCacheBytes; an entry
// is found by the route's path and every query parameter, and a full table
// gives up its oldest entry of the few a key may live in. Only 200 answers
// are kept.
//
// Staleness: a write through this copy (a run, a publish, a withdrawal, a
// rating) clears, once it has committed, the leaderboards of its level and
// every list page, so this copy never answers from before its own writes.
// Other copies on the same database, and the hide and unhide commands, are
// not seen: every entry is dropped HubOptions.cacheMs after it was made
// (--cache-ms, 1000 by default; 0 keeps nothing), which bounds how old an
// answer a copy may give after a write elsewhere.
//
// A read that began before a write and ends after it could keep what it
// read from before the write: each read notes the count of writes before
// its transaction (CacheNote) and its answer is kept only if no write came since.
//
// One reader at a time reads a missing answer: the others asking for it
// meanwhile wait for that read (at most FillWaitMilliseconds) and take
// what it kept, so an answer that ages out or a write that clears it does
// not send every reader of it to the database at once.
//
//   CacheKey(req)                   the key of a GET: path and query, "" when too long to keep
//   CacheFill                       a read of one key (RAII): Found copies the kept answer, waiting
//                                   for another reader of the key; false when this one is to read it
//   CacheNote()                     the writes so far, taken before a read's transaction
//   KeepBody(key, level, note, body, headers)   keeps an answer; level "" for a list page
//   LevelWritten(id)                clears id's leaderboards and every list page (RAII: CacheClearer)
//   CachedRoute(route)              a list route answered from the table when it can, with the
//                                   headers the route set; conditional requests always go to the route
//   CacheCounts(entries, bytes, hits, misses)   for /metrics
#pragma once

#include <httplib.h>
#include <string>

const int CacheSlots = 1024;
const int CacheWays = 8;                      // the slots a key may live in
const size_t MaxCachedBodyBytes = 64 << 10;   // a leaderboard of 100 is about 10 KB, a list page 6 KB
const size_t MaxCacheBytes = 16 << 20;
const size_t MaxCacheKeyBytes = 512;

std::string CacheKey(const httplib::Request& req);
long long CacheNote();
void KeepBody(const std::string& key, const std::string& level, long long note, const std::string& body,
              const httplib::Headers& headers);
void LevelWritten(const std::string& id);

// Clears the level's answers when the write around which it stands ends,
// committed or not: a commit whose answer was lost may still have changed it.
struct CacheClearer {
  explicit CacheClearer(const std::string& id) : id(id) {}
  ~CacheClearer() { LevelWritten(id); }
  std::string id;
};

const int MaxCacheFills = 64;             // keys read at once with readers waiting on them
const int FillWaitMilliseconds = 1000;   // past this a waiting reader reads for itself

struct CacheFill {
  explicit CacheFill(const std::string& key) : key(key) {}
  ~CacheFill();
  bool Found(std::string* body, httplib::Headers* headers);
  std::string key;
  int claim = -1;   // the place of this reader's read among the fills, -1 when none
};

using CacheRoute = void (*)(const httplib::Request&, httplib::Response&);
httplib::Server::Handler CachedRoute(CacheRoute route);

void CacheCounts(long long* entries, long long* bytes, long long* hits, long long* misses);
