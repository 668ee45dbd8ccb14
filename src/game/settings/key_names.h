// key_names: the numbers of the keys, mouse buttons and pad entries as SDL 1.2
// gives them, and the names of the keys as SDL 1.2 gives them on the desktop
// ("left", "right shift", "[7]", "f1", "x"), held by the game itself because
// emscripten's SDL names no key at all (its SDL_GetKeyName answers "unknown
// key" for every one). settings.ini and the hints use these names.
//   KeyNameOf(symbol)   SDL 1.2's name of the key symbol; null for a symbol
//                       SDL names only on some keyboards ("world 0".."world 95")
//                       or not at all
#pragma once

const int KeyCount = 500;          // SDL 1.2 key symbols all lie below 500
const int MouseButtonCount = 10;   // SDL button numbers 1..9; 0 is never set
const int PadAxisCount = 8;        // pad axes past these are ignored
const int PadButtonCount = 16;     // pad buttons past these are ignored
const int PadAxisMax = 32767;      // SDL's full deflection of a pad axis

// SDL 1.2 key symbols and buttons the game reads (same values as SDLK_*).
const int KeyBackspace = 8;
const int KeyTab = 9;
const int KeyReturn = 13;
const int KeyEscape = 27;
const int KeySpace = 32;
const int KeyMinus = 45;
const int Key0 = 48;
const int Key1 = 49;
const int KeyEquals = 61;
const int KeyA = 97;
const int KeyB = 98;
const int KeyC = 99;
const int KeyD = 100;
const int KeyE = 101;
const int KeyF = 102;
const int KeyG = 103;
const int KeyH = 104;
const int KeyK = 107;
const int KeyM = 109;
const int KeyN = 110;
const int KeyP = 112;
const int KeyQ = 113;
const int KeyR = 114;
const int KeyS = 115;
const int KeyT = 116;
const int KeyU = 117;
const int KeyV = 118;
const int KeyW = 119;
const int KeyX = 120;
const int KeyY = 121;
const int KeyZ = 122;
const int KeyDelete = 127;
const int KeyKPMinus = 269;
const int KeyKPPlus = 270;
const int KeyUp = 273;
const int KeyDown = 274;
const int KeyRight = 275;
const int KeyLeft = 276;
const int KeyHome = 278;
const int KeyEnd = 279;
const int KeyPageUp = 280;
const int KeyPageDown = 281;
const int KeyF1 = 282;
const int KeyF11 = 292;
const int KeyFirstModifier = 300;  // Num Lock, Caps Lock, Scroll Lock, Shift, Ctrl, Alt, Meta, Super, Alt Gr, Compose
const int KeyLastModifier = 314;
const int KeyRShift = 303;
const int KeyLShift = 304;
const int KeyRCtrl = 305;
const int KeyLCtrl = 306;
const int KeyRAlt = 307;
const int KeyLAlt = 308;
const int ButtonLeft = 1;
const int ButtonMiddle = 2;
const int ButtonRight = 3;
const int ButtonWheelUp = 4;     // a wheel step comes as a press and release at once
const int ButtonWheelDown = 5;

const char* KeyNameOf(int symbol);
