#pragma once
// The calculator's arithmetic, as a pocket calculator does it: operators
// apply from left to right as they are pressed (2 + 3 × 4 = 20, not 14),
// each operator first finishing the pending one.
//
//   "=" again repeats the last operation with its last operand
//       (2 + 3 = = gives 8); a freshly typed number forgets it.
//   An operator pressed twice in a row replaces the first one (5 + × 2 = 10).
//   "=" with no second operand uses the first one again (5 + = gives 10).
//   "%" after + or − takes that percentage of the first operand
//       (200 + 10 % = 220); after × or ÷ or alone it divides by 100
//       (50 × 10 % = 5).
//   "±" never makes "-0"; "CE" clears the entry only; "C" clears everything;
//   backspace edits only a number being typed.
//   A division by zero or an overflow shows its message on the display;
//   operators are then ignored and the next digit starts afresh.
//
// Results show at most 15 significant digits, without trailing zeros, and
// in exponent form ("1e+15", "1e-7") when they are very large or small.
#include <string>

namespace calc {

enum class Key {
  Digit0,
  Digit1,
  Digit2,
  Digit3,
  Digit4,
  Digit5,
  Digit6,
  Digit7,
  Digit8,
  Digit9,
  Point,
  Add,
  Subtract,
  Multiply,
  Divide,
  Equals,
  Percent,
  Negate,
  Clear,
  ClearEntry,
  Backspace,
};

// The key a typed character stands for (digits, ". ,", "+ - * x /", "= Enter",
// "%", Esc, Backspace); false for any other character.
bool KeyForChar(char32_t ch, Key& key);

// The buttons of the window, in a grid of 4 columns and 6 rows.
struct Button {
  Key key;
  const char* caption;
  int row, column, columns;
};
extern const Button kButtons[];
extern const int kButtonCount;
constexpr int kGridRows = 6;
constexpr int kGridColumns = 4;

extern const char kDivideByZero[];  // "除数不能为零"
extern const char kOverflow[];      // "数值溢出"

// A number as the display shows it.
std::string FormatNumber(double value);

class Calculator {
 public:
  void Press(Key key);

  // The main line ("42", "12.50" while typing, or an error message) and the
  // line above it with the operation under way ("12 +", "12 + 30 =").
  const std::string& Display() const { return display_; }
  const std::string& Expression() const { return expression_; }
  bool Failed() const { return failed_; }

 private:
  enum class Op { None, Add, Subtract, Multiply, Divide };

  void Digit(char d);
  void Point();
  void Operator(Op op);
  void Equals();
  void Percent();
  void Negate();
  void Backspace();
  void ClearAll();
  void ClearEntry();

  double Value() const;
  void Show(double value);
  // The result of a op b; false (and the error shown) when there is none.
  bool Apply(double a, Op op, double b, double& result);
  void Fail(const char* message);
  // Starts typing a number: the display becomes "0".
  void BeginEntry();

  std::string display_ = "0";
  std::string expression_;
  double shown_ = 0;      // the exact value of a result on the display
  bool typing_ = false;   // digits append to the display
  bool operand_ = false;  // the display holds an operand for the pending operator
  bool failed_ = false;
  double first_ = 0;  // the left operand of the pending operator
  Op pending_ = Op::None;
  Op lastOp_ = Op::None;  // what "=" repeats
  double lastOperand_ = 0;
};

}  // namespace calc
