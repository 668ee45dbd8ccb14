// hub_requests: strict readers of the parts of a request.
#include "hub/hub_requests.h"
#include "hub/hub_refusal.h"

#include <cstring>
#include <nlohmann/json.hpp>

static const int MaxCountDigits = 18;   // fits a long long

// Takes a flat JSON object of strings and booleans, stopping at the first
// thing that is not, so a deep or huge document is never built.
struct FlatObjectReader : nlohmann::json_sax<nlohmann::json> {
  Body* body;
  std::string why;
  int depth = 0;
  BodyField* field = nullptr;   // the field whose value comes next

  explicit FlatObjectReader(Body* b) : body(b) {}

  bool Bad(const char* what)
  {
    if (depth == 0 || !field)
      why = "the body must be a JSON object";
    else
      why = "field \"" + field->name + "\" " + what;
    return false;
  }

  bool null() override { return Bad("must not be null"); }
  bool boolean(bool v) override
  {
    if (depth != 1 || !field)
      return Bad("");
    field->kind = field_flag;
    field->flag = v;
    field = nullptr;
    return true;
  }
  bool number_integer(number_integer_t) override { return Bad("must not be a number"); }
  bool number_unsigned(number_unsigned_t) override { return Bad("must not be a number"); }
  bool number_float(number_float_t, const string_t&) override { return Bad("must not be a number"); }
  bool string(string_t& v) override
  {
    if (depth != 1 || !field)
      return Bad("");
    field->kind = field_text;
    field->text.swap(v);
    field = nullptr;
    return true;
  }
  bool binary(binary_t&) override { return Bad("must be text"); }
  bool start_object(std::size_t) override
  {
    if (depth++ == 0)
      return true;
    return Bad("must not be an object");
  }
  bool key(string_t& name) override
  {
    for (int i = 0; i < body->count; i++)
      if (body->fields[i].name == name) {
        why = "field \"" + name + "\" appears twice";
        return false;
      }
    if (body->count == MaxBodyFields) {
      why = "the body has more than " + std::to_string(MaxBodyFields) + " fields";
      return false;
    }
    field = &body->fields[body->count++];
    field->name.swap(name);
    return true;
  }
  bool end_object() override
  {
    depth--;
    return true;
  }
  bool start_array(std::size_t) override { return Bad("must not be an array"); }
  bool end_array() override { return false; }
  bool parse_error(std::size_t at, const std::string&, const nlohmann::detail::exception&) override
  {
    why = "the body is not JSON (at byte " + std::to_string(at) + ")";
    return false;
  }
};

bool ReadJsonBody(const std::string& text, Body* body, std::string* why)
{
  *body = Body();
  FlatObjectReader reader(body);
  if (nlohmann::json::sax_parse(text, &reader))
    return true;
  *why = reader.why.empty() ? "the body is not a JSON object" : reader.why;
  *body = Body();
  return false;
}

static const BodyField* FindField(const Body& body, const char* name)
{
  for (int i = 0; i < body.count; i++)
    if (body.fields[i].name == name)
      return &body.fields[i];
  return nullptr;
}

const std::string& BodyText(const Body& body, const char* name)
{
  const BodyField* f = FindField(body, name);
  if (!f || f->kind != field_text)
    throw Refusal{400, std::string("the body needs a text field \"") + name + "\""};
  return f->text;
}

bool BodyFlag(const Body& body, const char* name)
{
  const BodyField* f = FindField(body, name);
  if (!f || f->kind != field_flag)
    throw Refusal{400, std::string("the body needs a true or false field \"") + name + "\""};
  return f->flag;
}

// RFC 6750's b64token: letters, digits and -._~+/ with = only at the end.
static bool IsTokenText(const std::string& t)
{
  size_t i = 0;
  while (i < t.size() && (isalnum((unsigned char)t[i]) || strchr("-._~+/", t[i])) && t[i])
    i++;
  if (i == 0)
    return false;
  while (i < t.size() && t[i] == '=')
    i++;
  return i == t.size();
}

bool ReadBearer(const std::string& header, std::string* token, std::string* why)
{
  static const char Scheme[] = "bearer ";
  const size_t schemeLength = sizeof Scheme - 1;
  if (header.empty()) {
    *why = "this request needs an Authorization: Bearer TOKEN header";
    return false;
  }
  if (header.size() < schemeLength || strncasecmp(header.c_str(), Scheme, schemeLength) != 0) {
    *why = "the Authorization header must be \"Bearer TOKEN\"";
    return false;
  }
  std::string t = header.substr(schemeLength);
  if ((int)t.size() < MinTokenLength || (int)t.size() > MaxTokenLength || !IsTokenText(t)) {
    *why = "the token must be " + std::to_string(MinTokenLength) + " to " + std::to_string(MaxTokenLength) +
           " letters, digits or -._~+/";
    return false;
  }
  *token = t;
  return true;
}

bool CheckName(const std::string& name, std::string* why)
{
  bool printable = true;
  for (char c : name)
    printable = printable && c >= ' ' && c <= '~';
  if ((int)name.size() < MinNameLength || (int)name.size() > MaxNameLength || !printable) {
    *why = "a name is " + std::to_string(MinNameLength) + " to " + std::to_string(MaxNameLength) +
           " printable ASCII characters";
    return false;
  }
  if (name.front() == ' ' || name.back() == ' ') {
    *why = "a name does not begin or end with a space";
    return false;
  }
  return true;
}

std::string NameKey(const std::string& name)
{
  std::string key = name;
  for (char& c : key)
    if (c >= 'A' && c <= 'Z')
      c = (char)(c - 'A' + 'a');
  return key;
}

long long ReadCount(const std::string& text, long long least, long long most)
{
  if (text.empty() || (int)text.size() > MaxCountDigits)
    return -1;
  long long n = 0;
  for (char c : text) {
    if (c < '0' || c > '9')
      return -1;
    n = n * 10 + (c - '0');
  }
  return n >= least && n <= most ? n : -1;
}

static const char* const SortNames[] = {"new", "plays", "rating"};
static_assert(sizeof SortNames / sizeof SortNames[0] == SortCount, "one entry per SortCount");

int ReadSort(const std::string& text)
{
  for (int s = 0; s < SortCount; s++)
    if (text == SortNames[s])
      return s;
  return -1;
}

const char* SortName(int sort)
{
  return SortNames[sort];
}
