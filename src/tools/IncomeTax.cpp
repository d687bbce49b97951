#include "tools/IncomeTax.h"

#include <cmath>

namespace tools {

const TaxBracket IncomeTax::kBrackets[kBracketCount] = {
    {1500, 0.03, 0, "1", "不超过1500元的", "不超过1455元的", "3", "0"},
    {4500, 0.10, 105, "2", "超过1500元至4500元的部分", "超过1455元至4155元的部分", "10", "105"},
    {9000, 0.20, 555, "3", "超过4500元至9000元的部分", "超过4155元至7755元的部分", "20", "555"},
    {35000, 0.25, 1005, "4", "超过9000元至35000元的部分", "超过7755元至27255元的部分", "25",
     "1005"},
    {55000, 0.30, 2755, "5", "超过35000元至55000元的部分", "超过27255元至41255元的部分", "30",
     "2755"},
    {80000, 0.35, 5505, "6", "超过55000元至80000元的部分", "超过41255元至57505元的部分", "35",
     "5505"},
    {0, 0.45, 13505, "7", "超过80000元的部分", "超过57505元的部分", "45", "13505"},
};

IncomeTax::Result IncomeTax::Compute(double gross) {
  // Truncated in double precision: no integer type can overflow here.
  double taxable = std::trunc(gross - kAllowance);
  double tax = 0;
  if (taxable > 0) {
    const TaxBracket* b = &kBrackets[kBracketCount - 1];
    for (const TaxBracket& candidate : kBrackets)
      if (candidate.upTo > 0 && taxable <= candidate.upTo) {
        b = &candidate;
        break;
      }
    tax = taxable * b->rate - b->quickDeduction;
  }
  return Result{tax, gross - tax};
}

}  // namespace tools
