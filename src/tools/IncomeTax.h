#pragma once
// Monthly individual income tax: seven brackets over what the wage exceeds
// a 3,500 yuan allowance, counted in whole yuan.
namespace tools {

struct TaxBracket {
  double upTo;  // upper bound of the taxable amount; 0 for the last
  double rate;
  double quickDeduction;
  // The row of the reference table the tool shows.
  const char* level;
  const char* grossRange;
  const char* netRange;
  const char* ratePercent;
  const char* deduction;
};

class IncomeTax {
 public:
  static constexpr double kAllowance = 3500.0;
  static constexpr int kBracketCount = 7;
  static const TaxBracket kBrackets[kBracketCount];

  struct Result {
    double tax;
    double net;
  };
  // Tax and wage after tax for a gross monthly wage. The taxable amount
  // drops its fraction of a yuan; the net wage keeps the gross fractions.
  static Result Compute(double gross);
};

}  // namespace tools
