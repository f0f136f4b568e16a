#pragma once

namespace tolvane {

// Where the wrap pass of reading by context may end a line, as Chinese typesetting does: between
// any two characters but inside a run of letters or digits ("2024", "e-mail", "9.9", "3.5%"),
// before a closing punctuation mark or a space, or after an opening one. What it needs to know of
// the characters before a point, kept from one character to the next (and from one piece of a
// long line to the next).
class BreakContext {
 public:
  // Whether a line may end just before `next`, the character that follows those seen so far.
  bool MayBreakBefore(char32_t next) const;
  // Moves past `next`.
  void Pass(char32_t next);
  // Back to the start of a line.
  void Reset() { *this = BreakContext(); }

 private:
  bool lineStart_ = true;
  char32_t before_ = 0;
  char32_t beforeThat_ = 0;
};

}  // namespace tolvane
