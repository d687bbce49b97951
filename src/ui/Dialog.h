#pragma once
// Dialogs from .rc templates, modal or modeless, on the Window layer.
#include <string>

#include "ui/Window.h"

namespace ui {

class Dialog : public Window {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}

  // Runs the dialog modally (the owner is disabled meanwhile) and returns
  // the code given to EndDialog.
  INT_PTR DoModal(HWND owner);
  // Creates the dialog modeless, hidden unless its template says WS_VISIBLE.
  bool Create(HWND parent);
  // Ends a modal dialog; destroys a modeless one.
  void EndDialog(INT_PTR code);

  // A modeless dialog that deletes itself once its window is destroyed.
  void SetAutoDelete(bool on) { autoDelete_ = on; }
  int TemplateId() const { return templateId_; }

  // Data exchange with the controls, UTF-8 text.
  std::string ItemText(int id) const;
  void SetItemText(int id, const std::string& text) const;
  int ItemInt(int id, bool* ok = nullptr) const;
  void SetItemInt(int id, int value) const;
  double ItemDouble(int id, bool* ok = nullptr) const;
  void SetItemDouble(int id, double value) const;  // "%.15g"
  bool IsChecked(int id) const;
  void SetChecked(int id, bool on) const;
  int ComboIndex(int id) const;
  void SetComboIndex(int id, int index) const;

  // Lets dialogs that are not modal to us still get Tab/Enter/Esc handling:
  // every message loop of the program passes its messages here first.
  static bool PreTranslate(MSG& msg);
  // A key message for this dialog or a control in it (this being the
  // top-level window), before the dialog manager sees it; true when used.
  virtual bool PreTranslateKey(const MSG&) { return false; }

 protected:
  virtual BOOL OnInitDialog() { return TRUE; }
  // IDOK and IDCANCEL end the dialog unless these are overridden.
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }

  void PostNcDestroy() override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
  HWND CreateWindowFromTemplate(HWND parent);

  int templateId_;
  bool modal_ = false;
  bool ended_ = false;
  bool autoDelete_ = false;
  INT_PTR result_ = 0;
};

}  // namespace ui
