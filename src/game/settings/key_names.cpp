// SDL 1.2's key names, symbol by symbol.
#include "game/settings/key_names.h"

#include <cstring>

#include "game/base/lang.h"

// Printable symbols are named by their own character; SDL 1.2 has no symbol
// for the capitals, '%' and the characters after 'z'.
static const char Printable[] = "!\"#$&'()*+,-./0123456789:;<=>?@[\\]^_`abcdefghijklmnopqrstuvwxyz";
static const int PrintableCount = sizeof Printable - 1;
static char PrintableNames[PrintableCount][2];   // one-character names, made on first use

struct NamedKey {
  int symbol;
  const char* name;
};
// The names marked N_ are translated where a key is named to the player (KeyLabel).
static const NamedKey ControlKeys[] = {
  // TRANSLATORS: a key's name as the hints and the options show it, the first letter made a capital.
  {8, N_("backspace")}, {9, N_("tab")}, {12, "clear"}, {13, N_("return")}, {19, N_("pause")}, {27, N_("escape")},
  {32, N_("space")}, {127, N_("delete")},
};
static const int ControlKeyCount = sizeof ControlKeys / sizeof ControlKeys[0];

// Symbols 256 and up: the keypad, arrows and the block above them, the
// function keys and the modifiers; null where SDL 1.2 has no symbol.
static const int FirstHighKey = 256;
static const char* const HighKeys[] = {
  "[0]", "[1]", "[2]", "[3]", "[4]", "[5]", "[6]", "[7]", "[8]", "[9]",
  "[.]", "[/]", "[*]", "[-]", "[+]", N_("enter"), "equals",
  N_("up"), N_("down"), N_("right"), N_("left"), N_("insert"), N_("home"), N_("end"), N_("page up"), N_("page down"),
  "f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8", "f9", "f10", "f11", "f12", "f13", "f14", "f15",
  nullptr, nullptr, nullptr,
  "numlock", N_("caps lock"), "scroll lock", N_("right shift"), N_("left shift"), N_("right ctrl"), N_("left ctrl"),
  N_("right alt"), N_("left alt"), "right meta", "left meta", "left super", "right super", "alt gr",
  "compose", "help", N_("print screen"), "sys req", "break", "menu", "power", "euro", "undo",
};
static const int HighKeyCount = sizeof HighKeys / sizeof HighKeys[0];

const char* KeyNameOf(int symbol)
{
  if (symbol >= FirstHighKey)
    return symbol < FirstHighKey + HighKeyCount ? HighKeys[symbol - FirstHighKey] : nullptr;
  for (int i = 0; i < ControlKeyCount; i++)
    if (ControlKeys[i].symbol == symbol)
      return ControlKeys[i].name;
  const char* at = symbol > 0 ? strchr(Printable, symbol) : nullptr;
  if (!at)
    return nullptr;
  char* name = PrintableNames[at - Printable];
  name[0] = (char)symbol;
  return name;
}
