#include "tools/TaxDlg.h"

#include <commctrl.h>

#include <cmath>
#include <iterator>

#include "res/resource.h"
#include "tools/IncomeTax.h"
#include "tools/Tools.h"
#include "base/Text.h"

namespace {
constexpr controls::Place kLayout[] = {
    {IDC_TAX_TEXT1, 18, 14, 105, 18},
    {IDC_TAX_TEXT2, 18, 35, 735, 32},
    {IDC_TAX_TEXT3, 18, 70, 735, 18},
    {IDC_TAX_TEXT4, 18, 98, 735, 18},
    {IDC_TAX_TABLE, 18, 122, 735, 196},
    {IDC_TAX_TEXT5, 28, 340, 88, 18},
    {IDC_TAX_GROSS, 122, 336, 140, 23},
    {IDC_TAX_TEXT6, 270, 340, 18, 18},
    {IDC_TAX_COMPUTE, 315, 334, 98, 26},
    {IDC_TAX_TEXT7, 28, 374, 88, 18},
    {IDC_TAX_AMOUNT, 122, 371, 140, 23},
    {IDC_TAX_TEXT8, 270, 374, 18, 18},
    {IDC_TAX_TEXT9, 28, 410, 88, 18},
    {IDC_TAX_NET, 122, 406, 140, 23},
    {IDC_TAX_TEXT10, 270, 410, 18, 18},
};

// Widths in design pixels, like the window.
constexpr struct {
  const char* title;
  int width;
} kColumns[] = {{"级数", 40},
                {"含税级距", 200},
                {"不含税级距", 200},
                {"税率(%)", 60},
                {"速算扣除数（元）", 130}};
}  // namespace

void TaxDlg::OnDpiApplied() {
  controls::MirvenDialog::OnDpiApplied();
  for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c)
    ListView_SetColumnWidth(Item(IDC_TAX_TABLE), c, S(kColumns[c].width));
}

BOOL TaxDlg::OnInitDialog() {
  controls::MirvenDialog::OnInitDialog();
  SetLayout(controls::Layout(770, 458, kLayout));
  SetText("个税计算器");
  ShowValues();
  FillTable();
  return TRUE;
}

void TaxDlg::FillTable() {
  HWND list = Item(IDC_TAX_TABLE);
  ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  // No label can stand before the table's own header: it is named directly.
  SetWindowTextW(ListView_GetHeader(list), L"税率表表头");
  int c = 0;
  for (const auto& col : kColumns) {
    std::wstring title = base::Wide(col.title);
    LVCOLUMNW lc{};
    lc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    lc.fmt = LVCFMT_LEFT;
    lc.cx = S(col.width);
    lc.pszText = title.data();
    ListView_InsertColumn(list, c++, &lc);
  }
  int row = 0;
  for (const tools::TaxBracket& b : tools::IncomeTax::kBrackets) {
    const char* cells[] = {b.level, b.grossRange, b.netRange, b.ratePercent, b.deduction};
    for (int k = 0; k < 5; ++k) {
      std::wstring text = base::Wide(cells[k]);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = row;
      item.iSubItem = k;
      item.pszText = text.data();
      if (k == 0)
        ListView_InsertItem(list, &item);
      else
        ListView_SetItem(list, &item);
    }
    ++row;
  }
}

bool TaxDlg::OnCommand(int id, int, HWND) {
  if (id != IDC_TAX_COMPUTE) return false;
  Compute();
  return true;
}

void TaxDlg::Compute() {
  bool ok = false;
  double gross = ItemDouble(IDC_TAX_GROSS, &ok);
  // Not a number: say so, and go on with the wage held from before.
  if (ok && std::isfinite(gross))
    gross_ = gross;
  else
    tools::Tell(hwnd_, "请输入一个数字。");
  tools::IncomeTax::Result r = tools::IncomeTax::Compute(gross_);
  tax_ = r.tax;
  net_ = r.net;
  ShowValues();
}

void TaxDlg::ShowValues() {
  SetItemDouble(IDC_TAX_GROSS, gross_);
  SetItemDouble(IDC_TAX_NET, net_);
  SetItemDouble(IDC_TAX_AMOUNT, tax_);
}
