// hub_requests: the readers of what a client sends, each bounded and strict,
// each answering what was wrong in words a client can show: the JSON body (a
// flat object of strings and booleans), the Authorization header, a
// player's name, the numbers and words of a query string.
//   Body                         the fields of a JSON body
//   ReadJsonBody(text, body)     false with why on anything but a flat object
//   BodyText / BodyFlag          one field, or a Refusal naming it
//   ReadBearer(header, token)    "Bearer TOKEN" with a token of 32 to 128 characters
//   CheckName(name)              3 to 24 printable ASCII characters, no space at either end
//   NameKey(name)                the name in lower case: names are unique regardless of case
//   ReadCount(text, least, most) a whole number of up to 18 digits in range, or -1
//   ReadSort(text)               sort_new, sort_plays, sort_rating, or -1
//   SortName(sort)               the word of a sort_*
#pragma once

#include <string>

const int MaxBodyFields = 8;
const int MinTokenLength = 32;
const int MaxTokenLength = 128;
const int MinNameLength = 3;
const int MaxNameLength = 24;

enum { field_text, field_flag };

struct BodyField {
  std::string name;
  int kind;           // field_*
  std::string text;
  bool flag;
};

struct Body {
  int count = 0;
  BodyField fields[MaxBodyFields];
};

bool ReadJsonBody(const std::string& text, Body* body, std::string* why);
// The text of a string field; throws a Refusal (400) when it is missing or not a string.
const std::string& BodyText(const Body& body, const char* name);
// A boolean field; throws a Refusal (400) when it is missing or not a boolean.
bool BodyFlag(const Body& body, const char* name);

bool ReadBearer(const std::string& header, std::string* token, std::string* why);
bool CheckName(const std::string& name, std::string* why);
std::string NameKey(const std::string& name);

long long ReadCount(const std::string& text, long long least, long long most);

enum { sort_new, sort_plays, sort_rating, SortCount };
int ReadSort(const std::string& text);
const char* SortName(int sort);
