// A catalogue's plural rule: its header's expression read and evaluated by
// recursive descent, one precedence level of C per function.
#include "game/base/plural_rule.h"

#include <cstdlib>
#include <cstring>

const PluralRule EnglishPluralRule = {2, "n != 1"};

// The text being read, the n it is evaluated for, and whether it read well so far.
struct Reader {
  const char* at;
  unsigned long n;
  int depth;
  bool ok;
};

static unsigned long Conditional(Reader& r);

static void SkipBlanks(Reader& r)
{
  while (*r.at == ' ' || *r.at == '\t')
    r.at++;
}

// True, past it, when the text goes on with op (and, for "<" and the like, not with op and "=").
static bool Take(Reader& r, const char* op)
{
  SkipBlanks(r);
  size_t length = strlen(op);
  if (strncmp(r.at, op, length) != 0)
    return false;
  bool single = length == 1 && strchr("<>!", op[0]);
  if (single && r.at[1] == '=')
    return false;
  r.at += length;
  return true;
}

static bool Deeper(Reader& r)
{
  if (++r.depth > PluralMaxDepth)
    r.ok = false;
  return r.ok;
}

static unsigned long Primary(Reader& r)
{
  SkipBlanks(r);
  if (!Deeper(r))
    return 0;
  unsigned long v = 0;
  if (Take(r, "!")) {
    v = !Primary(r);
  } else if (Take(r, "(")) {
    v = Conditional(r);
    r.ok = r.ok && Take(r, ")");
  } else if (*r.at == 'n') {
    r.at++;
    v = r.n;
  } else if (*r.at >= '0' && *r.at <= '9') {
    char* end;
    v = strtoul(r.at, &end, 10);
    r.at = end;
  } else {
    r.ok = false;
  }
  r.depth--;
  return v;
}

static unsigned long Product(Reader& r)
{
  unsigned long v = Primary(r);
  for (;;) {
    if (Take(r, "*")) {
      v *= Primary(r);
    } else if (Take(r, "/") || Take(r, "%")) {
      bool divide = r.at[-1] == '/';
      unsigned long d = Primary(r);
      v = d == 0 ? 0 : (divide ? v / d : v % d);   // no form for a division by zero: 0
    } else {
      return v;
    }
  }
}

static unsigned long Sum(Reader& r)
{
  unsigned long v = Product(r);
  for (;;) {
    if (Take(r, "+"))
      v += Product(r);
    else if (Take(r, "-"))
      v -= Product(r);
    else
      return v;
  }
}

static unsigned long Order(Reader& r)
{
  unsigned long v = Sum(r);
  for (;;) {
    if (Take(r, "<="))
      v = v <= Sum(r);
    else if (Take(r, ">="))
      v = v >= Sum(r);
    else if (Take(r, "<"))
      v = v < Sum(r);
    else if (Take(r, ">"))
      v = v > Sum(r);
    else
      return v;
  }
}

static unsigned long Equality(Reader& r)
{
  unsigned long v = Order(r);
  for (;;) {
    if (Take(r, "=="))
      v = v == Order(r);
    else if (Take(r, "!="))
      v = v != Order(r);
    else
      return v;
  }
}

// Both sides are always read, so the cursor ends in the same place whatever n is.
static unsigned long Both(Reader& r)
{
  unsigned long v = Equality(r);
  while (Take(r, "&&")) {
    unsigned long w = Equality(r);
    v = v && w;
  }
  return v;
}

static unsigned long Either(Reader& r)
{
  unsigned long v = Both(r);
  while (Take(r, "||")) {
    unsigned long w = Both(r);
    v = v || w;
  }
  return v;
}

static unsigned long Conditional(Reader& r)
{
  if (!Deeper(r))
    return 0;
  unsigned long v = Either(r);
  if (Take(r, "?")) {
    unsigned long yes = Conditional(r);
    r.ok = r.ok && Take(r, ":");
    unsigned long no = Conditional(r);
    v = v ? yes : no;
  }
  r.depth--;
  return v;
}

// The expression's value for n; false when it does not read whole up to its end.
static bool Evaluate(const char* expression, unsigned long n, unsigned long* value)
{
  Reader r = {expression, n, 0, true};
  *value = Conditional(r);
  SkipBlanks(r);
  return r.ok && (*r.at == ';' || *r.at == '\n' || *r.at == '\r' || *r.at == 0);
}

// Past "name", blanks and "=" in text; null when text does not go on so.
static const char* AfterName(const char* text, const char* name)
{
  while (*text == ' ' || *text == '\t')
    text++;
  size_t length = strlen(name);
  if (strncmp(text, name, length) != 0)
    return nullptr;
  text += length;
  while (*text == ' ' || *text == '\t')
    text++;
  return *text == '=' ? text + 1 : nullptr;
}

bool ReadPluralRule(const char* forms, PluralRule* out)
{
  const char* count = AfterName(forms, "nplurals");
  if (!count)
    return false;
  char* end;
  long n = strtol(count, &end, 10);
  if (end == count || n < 1 || n > PluralMaxForms || *end != ';')
    return false;
  const char* expression = AfterName(end + 1, "plural");
  unsigned long value;
  if (!expression || !Evaluate(expression, 0, &value))
    return false;
  out->count = (int)n;
  out->expression = expression;
  return true;
}

int PluralIndex(const PluralRule& rule, unsigned long n)
{
  unsigned long value;
  if (!Evaluate(rule.expression, n, &value) || value >= (unsigned long)rule.count)
    return -1;
  return (int)value;
}
