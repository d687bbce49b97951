#include "calculator/CalcModel.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace calc {

const char kDivideByZero[] = "除数不能为零";
const char kOverflow[] = "数值溢出";

const Button kButtons[] = {
    {Key::Percent, "%", 0, 0, 1}, {Key::ClearEntry, "CE", 0, 1, 1},
    {Key::Clear, "C", 0, 2, 1},   {Key::Backspace, "退格", 0, 3, 1},
    {Key::Digit7, "7", 1, 0, 1},  {Key::Digit8, "8", 1, 1, 1},
    {Key::Digit9, "9", 1, 2, 1},  {Key::Divide, "÷", 1, 3, 1},
    {Key::Digit4, "4", 2, 0, 1},  {Key::Digit5, "5", 2, 1, 1},
    {Key::Digit6, "6", 2, 2, 1},  {Key::Multiply, "×", 2, 3, 1},
    {Key::Digit1, "1", 3, 0, 1},  {Key::Digit2, "2", 3, 1, 1},
    {Key::Digit3, "3", 3, 2, 1},  {Key::Subtract, "−", 3, 3, 1},
    {Key::Negate, "±", 4, 0, 1},  {Key::Digit0, "0", 4, 1, 1},
    {Key::Point, ".", 4, 2, 1},   {Key::Add, "+", 4, 3, 1},
    {Key::Equals, "=", 5, 0, 4},
};
const int kButtonCount = static_cast<int>(sizeof kButtons / sizeof kButtons[0]);

namespace {

// Digits a typed number may hold, as many as a double keeps exactly.
constexpr int kMaxDigits = 15;

const char* Symbol(int op) {
  static const char* const symbols[] = {"", "+", "−", "×", "÷"};
  return symbols[op];
}

}  // namespace

bool KeyForChar(char32_t ch, Key& key) {
  if (ch >= U'0' && ch <= U'9') {
    key = static_cast<Key>(static_cast<int>(Key::Digit0) + static_cast<int>(ch - U'0'));
    return true;
  }
  switch (ch) {
    case U'.':
    case U',': key = Key::Point; return true;
    case U'+': key = Key::Add; return true;
    case U'-':
    case U'\u2212': key = Key::Subtract; return true;
    case U'*':
    case U'x':
    case U'X':
    case U'\u00d7': key = Key::Multiply; return true;
    case U'/':
    case U'\u00f7': key = Key::Divide; return true;
    case U'=':
    case U'\r':
    case U'\n': key = Key::Equals; return true;
    case U'%': key = Key::Percent; return true;
    case U'\x1b': key = Key::Clear; return true;
    case U'\b': key = Key::Backspace; return true;
    default: return false;
  }
}

std::string FormatNumber(double value) {
  if (value == 0) return "0";  // also -0
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  std::string s = buf;
  // Some C runtimes write three exponent digits ("1e+015").
  size_t e = s.find('e');
  if (e != std::string::npos) {
    size_t digits = e + 2;
    while (digits + 1 < s.size() && s[digits] == '0') s.erase(digits, 1);
  }
  return s;
}

void Calculator::Press(Key key) {
  switch (key) {
    case Key::Point: Point(); break;
    case Key::Add: Operator(Op::Add); break;
    case Key::Subtract: Operator(Op::Subtract); break;
    case Key::Multiply: Operator(Op::Multiply); break;
    case Key::Divide: Operator(Op::Divide); break;
    case Key::Equals: Equals(); break;
    case Key::Percent: Percent(); break;
    case Key::Negate: Negate(); break;
    case Key::Clear: ClearAll(); break;
    case Key::ClearEntry: ClearEntry(); break;
    case Key::Backspace: Backspace(); break;
    default:
      Digit(static_cast<char>('0' + (static_cast<int>(key) - static_cast<int>(Key::Digit0))));
  }
}

double Calculator::Value() const {
  return typing_ ? std::strtod(display_.c_str(), nullptr) : shown_;
}

void Calculator::Show(double value) {
  shown_ = value == 0 ? 0 : value;
  display_ = FormatNumber(value);
  typing_ = false;
}

void Calculator::Fail(const char* message) {
  ClearAll();
  display_ = message;
  failed_ = true;
}

bool Calculator::Apply(double a, Op op, double b, double& result) {
  switch (op) {
    case Op::Add: result = a + b; break;
    case Op::Subtract: result = a - b; break;
    case Op::Multiply: result = a * b; break;
    case Op::Divide:
      if (b == 0) {
        Fail(kDivideByZero);
        return false;
      }
      result = a / b;
      break;
    case Op::None: result = b; break;
  }
  if (!std::isfinite(result)) {
    Fail(kOverflow);
    return false;
  }
  return true;
}

void Calculator::BeginEntry() {
  if (failed_) ClearAll();
  if (typing_) return;
  if (pending_ == Op::None) {
    // A new number after "=" starts a new calculation.
    lastOp_ = Op::None;
    expression_.clear();
  }
  display_ = "0";
  typing_ = true;
  operand_ = true;
}

void Calculator::Digit(char d) {
  BeginEntry();
  size_t start = display_[0] == '-' ? 1 : 0;
  int digits = 0;
  for (char c : display_) digits += (c >= '0' && c <= '9');
  if (display_.compare(start, 2, "0.") == 0) --digits;  // the leading zero of "0.x"
  if (digits >= kMaxDigits) return;
  if (display_.compare(start, std::string::npos, "0") == 0)
    display_.back() = d;
  else
    display_.push_back(d);
}

void Calculator::Point() {
  BeginEntry();
  if (display_.find('.') == std::string::npos) display_.push_back('.');
}

void Calculator::Operator(Op op) {
  if (failed_) return;
  if (pending_ != Op::None && operand_) {
    double result;
    if (!Apply(first_, pending_, Value(), result)) return;
    first_ = result;
  } else if (pending_ == Op::None) {
    first_ = Value();
  }
  Show(first_);
  pending_ = op;
  operand_ = false;
  lastOp_ = Op::None;
  expression_ = FormatNumber(first_) + " " + Symbol(static_cast<int>(op));
}

void Calculator::Equals() {
  if (failed_) return;
  double a, b;
  Op op;
  if (pending_ != Op::None) {
    a = first_;
    b = operand_ ? Value() : first_;
    op = pending_;
  } else if (lastOp_ != Op::None) {
    a = Value();
    b = lastOperand_;
    op = lastOp_;
  } else {
    Show(Value());
    return;
  }
  double result;
  if (!Apply(a, op, b, result)) return;
  expression_ = FormatNumber(a) + " " + Symbol(static_cast<int>(op)) + " " + FormatNumber(b) + " =";
  Show(result);
  first_ = result;
  pending_ = Op::None;
  operand_ = false;
  lastOp_ = op;
  lastOperand_ = b;
}

void Calculator::Percent() {
  if (failed_) return;
  double v = Value();
  bool ofFirst = pending_ == Op::Add || pending_ == Op::Subtract;
  Show(ofFirst ? first_ * v / 100 : v / 100);
  operand_ = true;
}

void Calculator::Negate() {
  if (failed_) return;
  if (typing_) {
    if (std::strtod(display_.c_str(), nullptr) == 0) return;  // no "-0"
    if (display_[0] == '-')
      display_.erase(0, 1);
    else
      display_.insert(0, 1, '-');
  } else {
    Show(-shown_);
  }
  operand_ = true;
}

void Calculator::Backspace() {
  if (failed_) {
    ClearAll();
    return;
  }
  if (!typing_) return;
  display_.pop_back();
  if (display_.empty() || display_ == "-") display_ = "0";
  if (display_[0] == '-' && std::strtod(display_.c_str(), nullptr) == 0) display_.erase(0, 1);
}

void Calculator::ClearAll() { *this = Calculator(); }

void Calculator::ClearEntry() {
  if (failed_) {
    ClearAll();
    return;
  }
  Show(0);
  operand_ = pending_ != Op::None;
}

}  // namespace calc
