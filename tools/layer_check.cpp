// tetherorb2-layers: checks the include rules of the source tree, so that the
// layers run one way. The folders of src/ are layers, from the bottom:
//   game      rules, world, files, replay, records; no SDL, OpenGL or PNG library
//   render    OpenGL drawing; includes game
//   ui        the screens; includes game and render
//   platform  SDL window, input, audio, paths, pacing; includes anything below
//   app       the host and main; on top
//   hub       the level hub server, beside the game's program; includes game
// A file may include the headers of its own layer and of the layers below it,
// never one above; a file in game (or hub) includes no SDL, OpenGL, X11,
// emscripten or LodePNG header. The modules (x.h with x.cpp, a folder and a stem) form no
// circle: module A depends on module B when a file of A includes B's header,
// and no module may depend on itself through others. A file in game calls none
// of the C library's transcendental functions (sinf, atan2f, powf...): their
// last bit differs between libraries, and the game step must give the same
// bits natively and in the browser (game/play/step_math.h has the game's own).
//
// The game layer is one library in rooms, the folders of src/game, each named
// for what it owns (the table Rooms). A file of a room includes the headers of
// its own room and of the rooms its line lists, never another; every game file
// lies in a room. Room A depends on room B when a file of A includes one of B,
// and no room may depend on itself through others.
//
//   tetherorb2-layers SRC   checks the tree under SRC; prints each fault and
//                           exits 1 when there is one, else prints a summary
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

struct Layer {
  const char* folder;
  const char* below;          // the layers under it, each name followed by a space
  const char* forbidden[6];   // system header prefixes the layer may not include
};
static const Layer Layers[] = {
  {"game", "", {"SDL", "GL/", "X11/", "emscripten", "lodepng", nullptr}},
  {"render", "game ", {"SDL", "X11/", "emscripten", nullptr}},
  {"ui", "game render ", {"SDL", "X11/", "emscripten", "lodepng", nullptr}},
  {"platform", "game render ui ", {nullptr}},
  {"app", "game render ui platform ", {nullptr}},
  {"hub", "game ", {"SDL", "GL/", "X11/", "emscripten", "lodepng", nullptr}},
};
static const int LayerCount = sizeof Layers / sizeof Layers[0];

struct Room {
  const char* folder;   // under src/game
  const char* below;    // the rooms it may include, each name followed by a space
};
static const Room Rooms[] = {
  {"base", ""},                                          // text, catalogues, places, saving, program-wide records
  {"play", "base "},                                     // the world, collision, hints, the step's time and math
  {"files", "base play "},                               // level, score, ghost and replay files, level slots
  {"settings", "base play "},                            // settings, key bindings, options, assists
  {"online", "base play files settings "},               // the game's requests to the hub and its answers
  {"run", "base play files settings online "},           // a run: start, step, rules, end, reruns, replays
  {"edit", "base play files settings "},                 // the editor's operations and history
  {"lobby", "base play files settings online run "},     // the hub's levels browsed, played and shared
};
static const int RoomCount = sizeof Rooms / sizeof Rooms[0];

static int Faults;

static void Fault(const std::string& text)
{
  printf("layers: %s\n", text.c_str());
  Faults++;
}

static int LayerRank(const std::string& folder)
{
  for (int i = 0; i < LayerCount; i++)
    if (folder == Layers[i].folder)
      return i;
  return -1;
}

static int RoomRank(const std::string& folder)
{
  for (int i = 0; i < RoomCount; i++)
    if (folder == Rooms[i].folder)
      return i;
  return -1;
}

// True when a folder named own (with the folders below, each followed by a
// space) may include headers of target.
static bool MayInclude(const char* own, const char* below, const std::string& target)
{
  return target == own || std::string(below).find(target + " ") == 0 ||
         std::string(below).find(" " + target + " ") != std::string::npos;
}

// "play" for "game/play/world.h"; "" for a path with no room.
static std::string RoomOf(const std::string& path)
{
  size_t first = path.find('/'), second = path.find('/', first + 1);
  return second == std::string::npos ? "" : path.substr(first + 1, second - first - 1);
}

// "ui/menus" for "ui/menus.h" and "ui/menus.cpp".
static std::string ModuleOf(const std::string& path)
{
  return path.substr(0, path.rfind('.'));
}

// The C library's functions whose rounding is its own, each also with an f or l.
static const char* const LibraryFunctions[] = {
  "sin", "cos", "tan", "asin", "acos", "atan", "atan2", "sinh", "cosh", "tanh", "asinh", "acosh", "atanh",
  "exp", "exp2", "expm1", "log", "log2", "log10", "log1p", "pow", "hypot", "cbrt", "erf", "erfc",
  "tgamma", "lgamma", "sincos"};
static const int LibraryFunctionCount = sizeof LibraryFunctions / sizeof LibraryFunctions[0];

static bool IsNamePart(char c)
{
  return isalnum((unsigned char)c) || c == '_';
}

static bool IsLibraryFunction(const std::string& name)
{
  for (int i = 0; i < LibraryFunctionCount; i++) {
    std::string f = LibraryFunctions[i];
    if (name == f || name == f + "f" || name == f + "l")
      return true;
  }
  return false;
}

// Each call of a LibraryFunctions name outside a // comment is a fault.
static void CheckLibraryCalls(const fs::path& file, const std::string& name)
{
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    line = line.substr(0, line.find("//"));
    for (size_t at = 0; at < line.size();) {
      if (!IsNamePart(line[at]) || (at > 0 && (IsNamePart(line[at - 1]) || line[at - 1] == '.'))) {
        at++;
        continue;
      }
      size_t end = at;
      while (end < line.size() && IsNamePart(line[end]))
        end++;
      size_t open = line.find_first_not_of(" \t", end);
      std::string word = line.substr(at, end - at);
      if (open != std::string::npos && line[open] == '(' && IsLibraryFunction(word))
        Fault(name + " calls " + word + ", which rounds differently between C libraries");
      at = end;
    }
  }
}

struct Include {
  std::string text;   // between the quotes or the angle brackets
  bool quoted;
};

static std::vector<Include> ReadIncludes(const fs::path& file)
{
  std::vector<Include> found;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] != '#')
      continue;
    at = line.find_first_not_of(" \t", at + 1);
    if (at == std::string::npos || line.compare(at, 7, "include") != 0)
      continue;
    size_t open = line.find_first_of("\"<", at + 7);
    if (open == std::string::npos)
      continue;
    size_t close = line.find(line[open] == '"' ? '"' : '>', open + 1);
    if (close != std::string::npos)
      found.push_back({line.substr(open + 1, close - open - 1), line[open] == '"'});
  }
  return found;
}

// Tarjan's strongly connected components; each component of two or more
// modules (or rooms) is a circle.
struct CircleFinder {
  const std::map<std::string, std::set<std::string>>& edges;
  const char* what;   // "modules" or "rooms"
  std::map<std::string, int> index, low;
  std::vector<std::string> stack;
  std::set<std::string> onStack;
  int next = 0;

  void Visit(const std::string& v)
  {
    index[v] = low[v] = next++;
    stack.push_back(v);
    onStack.insert(v);
    auto out = edges.find(v);
    if (out != edges.end())
      for (const std::string& w : out->second) {
        if (!index.count(w)) {
          Visit(w);
          low[v] = std::min(low[v], low[w]);
        } else if (onStack.count(w)) {
          low[v] = std::min(low[v], index[w]);
        }
      }
    if (low[v] != index[v])
      return;
    std::vector<std::string> circle;
    std::string w;
    do {
      w = stack.back();
      stack.pop_back();
      onStack.erase(w);
      circle.push_back(w);
    } while (w != v);
    if (circle.size() > 1) {
      std::sort(circle.begin(), circle.end());
      std::string names;
      for (const std::string& m : circle)
        names += " " + m;
      Fault(std::string("a circle of ") + what + ":" + names);
    }
  }
};

int main(int argc, char** argv)
{
  if (argc != 2) {
    fprintf(stderr, "usage: %s SRC\n", argv[0]);
    return 2;
  }
  fs::path root = argv[1];
  std::error_code error;
  std::vector<std::string> files;
  for (const fs::directory_entry& folder : fs::directory_iterator(root, error)) {
    if (!folder.is_directory())
      continue;
    std::string name = folder.path().filename().string();
    if (LayerRank(name) < 0) {
      Fault("src/" + name + " is no known layer: add it to the table in tools/layer_check.cpp");
      continue;
    }
    for (const fs::directory_entry& f : fs::recursive_directory_iterator(folder.path())) {
      std::string ext = f.path().extension().string();
      if (ext == ".h" || ext == ".cpp")
        files.push_back(fs::relative(f.path(), root).generic_string());
    }
  }
  for (const Room& room : Rooms)
    for (int i = 0; i < RoomCount; i++)
      if (MayInclude("", room.below, Rooms[i].folder) && i >= RoomRank(room.folder))
        Fault(std::string("room ") + room.folder + " lists " + Rooms[i].folder +
              ", which does not come before it in the table Rooms");
  if (error || files.empty()) {
    fprintf(stderr, "layers: no source files under %s\n", argv[1]);
    return 2;
  }
  std::sort(files.begin(), files.end());

  std::map<std::string, std::set<std::string>> edges, roomEdges;
  int includeCount = 0;
  for (const std::string& file : files) {
    std::string folder = file.substr(0, file.find('/'));
    const Layer& layer = Layers[LayerRank(folder)];
    std::string room = folder == "game" ? RoomOf(file) : "";
    if (folder == "game") {
      CheckLibraryCalls(root / file, file);
      if (RoomRank(room) < 0)
        Fault(file + " lies in no room of src/game (the table Rooms in tools/layer_check.cpp)");
    }
    for (const Include& inc : ReadIncludes(root / file)) {
      includeCount++;
      if (!inc.quoted) {
        for (int i = 0; layer.forbidden[i]; i++)
          if (inc.text.rfind(layer.forbidden[i], 0) == 0)
            Fault(file + " includes <" + inc.text + ">, which src/" + folder + " may not");
        continue;
      }
      size_t slash = inc.text.find('/');
      std::string target = slash == std::string::npos ? "" : inc.text.substr(0, slash);
      if (LayerRank(target) < 0) {
        Fault(file + " includes \"" + inc.text + "\", which names no layer folder");
        continue;
      }
      if (ModuleOf(inc.text) != ModuleOf(file))
        edges[ModuleOf(file)].insert(ModuleOf(inc.text));
      if (!MayInclude(layer.folder, layer.below, target))
        Fault(file + " includes \"" + inc.text + "\" from a layer above its own (or beside it)");
      if (target != "game")
        continue;
      std::string into = RoomOf(inc.text);
      if (RoomRank(into) < 0) {
        Fault(file + " includes \"" + inc.text + "\", which names no room of src/game");
      } else if (RoomRank(room) >= 0) {
        if (into != room)
          roomEdges["game/" + room].insert("game/" + into);
        if (!MayInclude(room.c_str(), Rooms[RoomRank(room)].below, into))
          Fault(file + " includes \"" + inc.text + "\" from a room it may not include");
      }
    }
  }

  CircleFinder finder{edges, "modules", {}, {}, {}, {}, 0};
  for (const auto& module : edges)
    if (!finder.index.count(module.first))
      finder.Visit(module.first);
  CircleFinder roomFinder{roomEdges, "rooms", {}, {}, {}, {}, 0};
  for (const auto& r : roomEdges)
    if (!roomFinder.index.count(r.first))
      roomFinder.Visit(r.first);

  if (Faults)
    return 1;
  printf("layers: %zu files in %d rooms of game and %d layers, %d includes, every one downward, no circle\n",
         files.size(), RoomCount, LayerCount, includeCount);
  return 0;
}
