// key_names: the names of the keys as SDL 1.2 gives them on the desktop
// ("left", "right shift", "[7]", "f1", "x"), held by the game itself because
// emscripten's SDL names no key at all (its SDL_GetKeyName answers "unknown
// key" for every one). settings.ini and the hints use these names.
//   KeyNameOf(symbol)   SDL 1.2's name of the key symbol; null for a symbol
//                       SDL names only on some keyboards ("world 0".."world 95")
//                       or not at all
#pragma once

const char* KeyNameOf(int symbol);
