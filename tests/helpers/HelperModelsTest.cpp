// The calculator's arithmetic and the clock's texts and hands.
#include <gtest/gtest.h>

#include "calculator/CalcModel.h"
#include "clock/ClockModel.h"

namespace {

// Presses the keys a string spells: the typed characters of KeyForChar,
// and 'n' for ±, 'E' for CE, 'C' for C, '<' for backspace.
calc::Calculator Typed(const std::string& keys) {
  calc::Calculator c;
  for (char ch : keys) {
    calc::Key key;
    if (ch == 'n')
      key = calc::Key::Negate;
    else if (ch == 'E')
      key = calc::Key::ClearEntry;
    else if (ch == 'C')
      key = calc::Key::Clear;
    else if (ch == '<')
      key = calc::Key::Backspace;
    else if (!calc::KeyForChar(static_cast<unsigned char>(ch), key))
      ADD_FAILURE() << ch;
    c.Press(key);
  }
  return c;
}

std::string Shows(const std::string& keys) { return Typed(keys).Display(); }

TEST(CalcModel, OperatorChainsGoLeftToRight) {
  EXPECT_EQ(Shows("12+30="), "42");
  EXPECT_EQ(Shows("2+3*4="), "20");  // pocket calculator, not 14
  EXPECT_EQ(Shows("2+3*"), "5");     // each operator finishes the pending one
  EXPECT_EQ(Shows("10-4/3="), "2");
  EXPECT_EQ(Shows("5+*2="), "10");      // the second operator replaces the first
  EXPECT_EQ(Shows("5+="), "10");        // no second operand: the first again
  EXPECT_EQ(Shows("12+30=*2="), "84");  // a result goes on into the next operation
  EXPECT_EQ(Typed("12+").Expression(), "12 +");
  EXPECT_EQ(Typed("12+30=").Expression(), "12 + 30 =");
}

TEST(CalcModel, RepeatedEqualsRepeatsTheLastOperation) {
  EXPECT_EQ(Shows("2+3=="), "8");
  EXPECT_EQ(Shows("2+3==="), "11");
  EXPECT_EQ(Shows("2+3=7="), "7");   // a new number starts a new calculation
  EXPECT_EQ(Shows("2+3=n="), "-2");  // ± on the result, then + 3 again
}

TEST(CalcModel, PercentSignAndClearing) {
  EXPECT_EQ(Shows("200+10%"), "20");
  EXPECT_EQ(Shows("200+10%="), "220");
  EXPECT_EQ(Shows("200-10%="), "180");
  EXPECT_EQ(Shows("50*10%="), "5");
  EXPECT_EQ(Shows("50%"), "0.5");
  EXPECT_EQ(Shows("5n"), "-5");
  EXPECT_EQ(Shows("0n"), "0");  // never "-0"
  EXPECT_EQ(Shows("0.n"), "0.");
  EXPECT_EQ(Shows("3-3=n"), "0");
  EXPECT_EQ(Shows("12+n="), "0");     // ± on the shown first operand makes it the second
  EXPECT_EQ(Shows("12+5E3="), "15");  // CE clears only the entry
  EXPECT_EQ(Shows("12+E="), "12");
  EXPECT_EQ(Shows("12+5C3="), "3");  // C forgets the pending operation
  EXPECT_EQ(Shows("123<"), "12");
  EXPECT_EQ(Shows("5n<"), "0");     // "-" alone becomes 0, never "-0"
  EXPECT_EQ(Shows("0.5n<"), "0.");  // "-0." would show a negative zero
  EXPECT_EQ(Shows("2+3=<"), "5");   // a result is not edited
}

TEST(CalcModel, DivisionByZeroAndOverflowShowAMessageThenStartAfresh) {
  calc::Calculator c = Typed("5/0=");
  EXPECT_EQ(c.Display(), calc::kDivideByZero);
  EXPECT_TRUE(c.Failed());
  EXPECT_EQ(Shows("5/0=+%n="), calc::kDivideByZero);  // operators are ignored
  EXPECT_EQ(Shows("5/0=7"), "7");                     // the next digit starts afresh
  EXPECT_EQ(Shows("0/0="), calc::kDivideByZero);
  EXPECT_EQ(Shows("8/0*"), calc::kDivideByZero);  // a chain fails as soon as it divides
  EXPECT_EQ(Shows("5/0=<"), "0");
  std::string huge = "999999999999999*=";
  for (int i = 0; i < 21; ++i) huge += "=";
  EXPECT_EQ(Shows(huge), calc::kOverflow);
}

TEST(CalcModel, DisplayPrecision) {
  EXPECT_EQ(Shows("0.1+0.2="), "0.3");
  EXPECT_EQ(Shows("1/3="), "0.333333333333333");
  EXPECT_EQ(Shows("1/3*3="), "1");   // the exact value goes on, not the shown one
  EXPECT_EQ(Shows("2.50*2="), "5");  // no trailing zeros in a result
  EXPECT_EQ(Shows("2.50"), "2.50");  // ... but typing keeps what was typed
  EXPECT_EQ(Shows("12.+"), "12");
  EXPECT_EQ(Shows("1234567890123456789"), "123456789012345");  // 15 digits at most
  EXPECT_EQ(Shows("0.12345678901234567"), "0.123456789012345");
  EXPECT_EQ(Shows("1.2.3"), "1.23");
  EXPECT_EQ(Shows(".5"), "0.5");
  EXPECT_EQ(Shows("999999999999999+1="), "1e+15");
  EXPECT_EQ(Shows("1/10000000="), "1e-7");
  EXPECT_EQ(Shows("0.0001*0.5="), "5e-5");
  EXPECT_EQ(calc::FormatNumber(-0.0), "0");
  EXPECT_EQ(calc::FormatNumber(-1.5e-300), "-1.5e-300");
}

TEST(CalcModel, KeyboardAndButtons) {
  calc::Key k;
  EXPECT_TRUE(calc::KeyForChar(U'\r', k) && k == calc::Key::Equals);
  EXPECT_TRUE(calc::KeyForChar(U'\x1b', k) && k == calc::Key::Clear);
  EXPECT_TRUE(calc::KeyForChar(U'\b', k) && k == calc::Key::Backspace);
  EXPECT_TRUE(calc::KeyForChar(U'x', k) && k == calc::Key::Multiply);
  EXPECT_FALSE(calc::KeyForChar(U'a', k));
  // Every key has exactly one button and the buttons fill the grid.
  int cells = 0;
  bool seen[static_cast<int>(calc::Key::Backspace) + 1] = {};
  for (int i = 0; i < calc::kButtonCount; ++i) {
    const calc::Button& b = calc::kButtons[i];
    EXPECT_FALSE(seen[static_cast<int>(b.key)]) << b.caption;
    seen[static_cast<int>(b.key)] = true;
    EXPECT_LE(b.column + b.columns, calc::kGridColumns) << b.caption;
    cells += b.columns;
  }
  EXPECT_EQ(calc::kButtonCount, static_cast<int>(sizeof seen));
  EXPECT_EQ(cells, calc::kGridRows * calc::kGridColumns);
}

TEST(ClockModel, TextsAndHands) {
  using clockface::Moment;
  EXPECT_EQ(clockface::TimeText(Moment{2026, 12, 7, 9, 5, 3}), "09:05:03");
  EXPECT_EQ(clockface::DateText(Moment{2026, 12, 7, 0, 0, 0}), "2026年12月7日 星期一");
  EXPECT_EQ(clockface::DateText(Moment{2000, 2, 29, 0, 0, 0}), "2000年2月29日 星期二");
  EXPECT_EQ(clockface::DateText(Moment{2027, 1, 3, 0, 0, 0}), "2027年1月3日 星期日");
  EXPECT_EQ(clockface::Weekday(1900, 3, 1), 4);  // Thursday: 1900 was no leap year

  clockface::Hands h = clockface::HandAngles(Moment{2026, 1, 1, 15, 30, 0});
  EXPECT_DOUBLE_EQ(h.hour, 105);  // half way from 3 to 4
  EXPECT_DOUBLE_EQ(h.minute, 180);
  EXPECT_DOUBLE_EQ(h.second, 0);
  h = clockface::HandAngles(Moment{2026, 1, 1, 0, 0, 30});
  EXPECT_DOUBLE_EQ(h.hour, 0.25);
  EXPECT_DOUBLE_EQ(h.minute, 3);
  EXPECT_DOUBLE_EQ(h.second, 180);

  clockface::Point p = clockface::PointAt(100, 100, 0, 50);
  EXPECT_EQ(p.x, 100);
  EXPECT_EQ(p.y, 50);
  p = clockface::PointAt(100, 100, 90, 50);  // three o'clock is to the right
  EXPECT_EQ(p.x, 150);
  EXPECT_EQ(p.y, 100);
  p = clockface::PointAt(100, 100, 180, 50);
  EXPECT_EQ(p.x, 100);
  EXPECT_EQ(p.y, 150);
}

}  // namespace
