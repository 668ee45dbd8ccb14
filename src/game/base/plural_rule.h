// plural_rule: a catalogue's rule for choosing the form of a counted text
// ("1 level", "2 levels"; three forms in Polish and Russian), as its header
// writes it: "nplurals=3; plural=(n==1 ? 0 : n%10>=2 && n%10<=4 ? 1 : 2);".
// The expression is C's, on one unsigned number n: integers, n, parentheses,
// ! * / % + - < <= > >= == != && || and ?:. It is read straight from the
// catalogue's text each time, with no copy and nothing allocated; nesting
// deeper than PluralMaxDepth is refused, so a damaged header cannot run the
// reader off its stack.
//   PluralRule                      the number of forms and the expression's text
//   EnglishPluralRule               two forms, the second for every n but 1
//   ReadPluralRule(forms, out)      the rule in a header's Plural-Forms value; false when malformed
//   PluralIndex(rule, n)            the form for n, 0..count-1; -1 when the expression gives no such form
#pragma once

const int PluralMaxForms = 6;    // gettext's languages use at most six forms
const int PluralMaxDepth = 32;   // parentheses, operators and ?: nested at most this deep

struct PluralRule {
  int count;                // forms, 1..PluralMaxForms
  const char* expression;   // C expression, ended by ';', a line end or the text's end
};
extern const PluralRule EnglishPluralRule;

// forms: the text after "Plural-Forms:" ("nplurals=2; plural=(n != 1);"),
// ending at its line's end. out->expression points into forms, which must
// outlive the rule. False, with out untouched, when the count is not
// 1..PluralMaxForms or the expression does not read whole.
bool ReadPluralRule(const char* forms, PluralRule* out);

int PluralIndex(const PluralRule& rule, unsigned long n);
